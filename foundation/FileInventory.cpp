// CFileInfo and CFileInfoArray.
#include "FileInventory.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Crc32Kernel.h"
#include "PathParts.h"

IMPLEMENT_DYNAMIC(CFileInfoArray, CObject)

namespace {

constexpr DWORD kBlockBytes = 16384;
constexpr DWORD kCrcStart = 0xFFFFFFFFu;

const DWORD* CrcTables() {
  static const std::vector<DWORD> tables = [] {
    std::vector<DWORD> built(kCrc32SliceTables * kCrc32TableEntries);
    BuildCrc32Tables(built.data());
    return built;
  }();
  return tables.data();
}

bool Aborted(volatile LONG* abort) {
  return abort != nullptr && InterlockedCompareExchange(abort, 0, 0) != 0;
}

CString WithBackslash(const CString& folder) {
  if (folder.IsEmpty() || folder[folder.GetLength() - 1] == u'\\' || folder[folder.GetLength() - 1] == u'/')
    return folder;
  return folder + _T("\\");
}

bool Before(const CFileInfo& existing, const CFileInfo& added, int sortMode) {
  switch (sortMode) {
    case kFileInfoBySizeAscending:
      return existing.GetLength64() >= added.GetLength64();
    case kFileInfoBySizeDescending:
      return existing.GetLength64() <= added.GetLength64();
    case kFileInfoByPathAscending:
      return existing.GetFilePath().Compare(added.GetFilePath()) >= 0;
    default:
      return existing.GetFilePath().Compare(added.GetFilePath()) <= 0;
  }
}

}  // namespace

CFileInfo::CFileInfo()
    : m_dwUserValue(0),
      m_dwAttributes(INVALID_FILE_ATTRIBUTES),
      m_qwSize(0),
      m_dwChecksum(0),
      m_dwCrc(kCrcStart),
      m_qwCrcProgress(0),
      m_qwChecksumProgress(0),
      m_bCrcFinal(false) {}

void CFileInfo::Create(const WIN32_FIND_DATAW& entry, const CString& folder, DWORD userValue) {
  m_dwUserValue = userValue;
  m_strFilePath = folder + entry.cFileName;
  m_dwAttributes = entry.dwFileAttributes;
  m_qwSize = (static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
  m_timCreation = CTime(entry.ftCreationTime);
  m_timLastAccess = CTime(entry.ftLastAccessTime);
  m_timLastWrite = CTime(entry.ftLastWriteTime);
  m_qwCrcProgress = 0;
  m_qwChecksumProgress = 0;
  m_bCrcFinal = false;
}

void CFileInfo::Create(const CString& path, DWORD userValue) {
  WIN32_FIND_DATAW entry{};
  HANDLE find = FindFirstFileW(path, &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  FindClose(find);
  const int cut = std::max(path.ReverseFind(u'\\'), path.ReverseFind(u'/'));
  Create(entry, path.Left(cut + 1), userValue);
}

CString CFileInfo::GetFileName() const {
  const PathParts parts = SplitPathParts(m_strFilePath);
  return parts.name + parts.extension;
}

CString CFileInfo::GetFileTitle() const { return SplitPathParts(m_strFilePath).name; }

CString CFileInfo::GetFileExt() const { return SplitPathParts(m_strFilePath).extension; }

CString CFileInfo::GetFileDir() const {
  const PathParts parts = SplitPathParts(m_strFilePath);
  return parts.drive + parts.folder;
}

CString CFileInfo::GetFileDrive() const { return SplitPathParts(m_strFilePath).drive; }

CString CFileInfo::GetFileRoot() const {
  const CString drive = GetFileDrive();
  return drive.IsEmpty() ? drive : drive + _T("\\");
}

ULONGLONG CFileInfo::Target(ULONGLONG maximum) const {
  return maximum == 0 || maximum > m_qwSize ? m_qwSize : (maximum + 3) / 4 * 4;
}

template <class Feed>
void CFileInfo::TakeIn(ULONGLONG target, ULONGLONG& done, volatile LONG* abort, volatile LONGLONG* progress,
                       Feed feed) {
  if (done >= target) return;
  HANDLE file = CreateFileW(m_strFilePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER start{};
  start.QuadPart = static_cast<LONGLONG>(done);
  std::vector<BYTE> block(kBlockBytes);
  if (SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
    while (done < target) {
      // The last block is cut to the target.
      const DWORD wanted = static_cast<DWORD>(std::min<ULONGLONG>(kBlockBytes, target - done));
      DWORD read = 0;
      if (!ReadFile(file, block.data(), wanted, &read, nullptr) || read == 0) break;
      if (Aborted(abort)) break;  // the block is not counted; a later call reads it again
      feed(block.data(), read);
      if (progress != nullptr) InterlockedExchangeAdd64(progress, read);
      done += read;
    }
  }
  CloseHandle(file);
}

DWORD CFileInfo::ComputeWordSum(ULONGLONG maximum, BOOL reset, volatile LONG* abort,
                                volatile LONGLONG* progress) {
  if (reset) {
    m_qwChecksumProgress = 0;
    m_dwChecksum = 0;
  }
  TakeIn(Target(maximum), m_qwChecksumProgress, abort, progress, [this](const BYTE* bytes, DWORD count) {
    for (DWORD at = 0; at < count; at += 4) {
      DWORD word = 0;
      std::memcpy(&word, bytes + at, std::min<DWORD>(4, count - at));  // zero high bytes at the end
      m_dwChecksum += word;
    }
  });
  return m_dwChecksum;
}

DWORD CFileInfo::ComputeCrc32(ULONGLONG maximum, BOOL reset, volatile LONG* abort,
                              volatile LONGLONG* progress) {
  if (reset) {
    m_qwCrcProgress = 0;
    m_dwCrc = kCrcStart;
    m_bCrcFinal = false;
  }
  if (m_bCrcFinal) return m_dwCrc;
  TakeIn(Target(maximum), m_qwCrcProgress, abort, progress, [this](const BYTE* bytes, DWORD count) {
    m_dwCrc = AdvanceCrc32(CrcTables(), m_dwCrc, bytes, count);
  });
  if (m_qwCrcProgress >= m_qwSize) {
    m_dwCrc = ~m_dwCrc;
    m_bCrcFinal = true;
  }
  return m_dwCrc;
}

CFileInfoArray::CFileInfoArray() { SetSize(0, 50); }

INT_PTR CFileInfoArray::AddFileInfo(CFileInfo& record, int sortMode) {
  const INT_PTR count = GetSize();
  const bool sorted = sortMode >= kFileInfoBySizeAscending && sortMode <= kFileInfoByPathDescending;
  INT_PTR at = sorted ? 0 : count;
  while (at < count && !Before(GetAt(at), record, sortMode)) ++at;
  InsertAt(at, record);
  return at;
}

INT_PTR CFileInfoArray::AddPath(const CString& path, int sortMode) {
  CFileInfo record;
  record.Create(path, 0);
  return AddFileInfo(record, sortMode);
}

INT_PTR CFileInfoArray::ScanFolder(const CString& folder, const CString& mask, BOOL recurse, int sortMode,
                                   BOOL includeFolders, volatile LONG* abort, volatile LONGLONG* counter) {
  const CString base = WithBackslash(folder);
  INT_PTR added = 0;
  CFileInfo record;
  auto add = [&](const WIN32_FIND_DATAW& entry) {
    record.Create(entry, base, 0);
    AddFileInfo(record, sortMode);
    ++added;
    if (counter != nullptr) InterlockedIncrement64(counter);
  };
  WIN32_FIND_DATAW entry{};
  HANDLE find = FindFirstFileW(base + _T("*"), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const CString name = entry.cFileName;
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || name == _T(".") || name == _T(".."))
        continue;
      if (includeFolders) add(entry);
      if (recurse)
        added += ScanFolder(base + name + _T("\\"), mask, recurse, sortMode, includeFolders, abort, counter);
    } while (!Aborted(abort) && FindNextFileW(find, &entry));
    FindClose(find);
  }
  if (Aborted(abort)) return added;
  find = FindFirstFileW(base + mask, &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) add(entry);
    } while (!Aborted(abort) && FindNextFileW(find, &entry));
    FindClose(find);
  }
  return added;
}
