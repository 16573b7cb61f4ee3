// The extraction bound: the packed size's allowance capped by the destination drive's free
// space.
#include "ExtractionBound.h"

#include <algorithm>

namespace {

// The drive root of a path ("C:\"), or the path itself when it names no drive.
CString DriveRootOf(const CString& folder) {
  if (folder.GetLength() >= 2 && folder[1] == _T(':')) return folder.Left(2) + _T("\\");
  return folder;
}

}  // namespace

ULONGLONG ExtractionBound(ULONGLONG packedSize, const CString& folder) {
  const ULONGLONG byRatio =
      packedSize > ~0ULL / kExtractionRatio ? ~0ULL : packedSize * kExtractionRatio;
  ULONGLONG bound = std::max(byRatio, kExtractionCeiling);
  ULARGE_INTEGER freeToCaller{};
  if (GetDiskFreeSpaceExW(DriveRootOf(folder), &freeToCaller, nullptr, nullptr)) {
    const ULONGLONG usable =
        freeToCaller.QuadPart > kExtractionFreeMargin ? freeToCaller.QuadPart - kExtractionFreeMargin : 0;
    bound = std::min(bound, usable);
  }
  return bound;
}

ULONGLONG ArchiveFileSize(const CString& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return 0;
  return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

ULONGLONG FolderContentSize(const CString& folder) {
  CString base = folder;
  base.TrimRight(_T('\\'));
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(base + _T("\\*"), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  ULONGLONG total = 0;
  do {
    const CString name = found.cFileName;
    if (name == _T(".") || name == _T("..")) continue;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) total += FolderContentSize(base + _T("\\") + name);
    } else {
      total += (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return total;
}
