// Safe names of archive entries and the test that a target path stays inside its folder.
#include "ArchivePaths.h"

#include <windows.h>

#include <vector>

namespace {

bool IsSeparator(WCHAR ch) { return ch == '\\' || ch == '/'; }

// The steps of a path with "." dropped and ".." resolved; ".." above the start is dropped.
std::vector<CString> Steps(const CString& path) {
  std::vector<CString> steps;
  int start = 0;
  const int length = path.GetLength();
  for (int i = 0; i <= length; ++i) {
    if (i < length && !IsSeparator(path[i])) continue;
    CString step = path.Mid(start, i - start);
    start = i + 1;
    // Trailing dots and blanks name the same file on Windows: "..." and ".. " are "..".
    CString bare = step;
    bare.TrimRight(_T(" ."));
    if (step.IsEmpty() || bare.IsEmpty()) {
      if (step.GetLength() >= 2 && !steps.empty()) steps.pop_back();
      continue;
    }
    steps.push_back(step);
  }
  return steps;
}

}  // namespace

CString MakeSafeEntryName(LPCWSTR name) {
  CString text(name);
  // Drive prefixes ("C:", also repeated) and stream names never reach the file system.
  for (int colon; (colon = text.Find(_T(':'))) >= 0;) text = text.Mid(colon + 1);
  CString safe;
  for (const CString& step : Steps(text)) {
    if (!safe.IsEmpty()) safe += _T('\\');
    safe += step;
  }
  return safe;
}

CString WithTrailingBackslash(const CString& folder) {
  CString path = folder;
  if (path.IsEmpty() || !IsSeparator(path[path.GetLength() - 1])) path += _T('\\');
  return path;
}

bool IsPathInsideFolder(const CString& folder, const CString& path) {
  const std::vector<CString> base = Steps(folder);
  const std::vector<CString> target = Steps(path);
  if (target.size() <= base.size()) return false;
  for (std::size_t i = 0; i < base.size(); ++i) {
    if (base[i].CompareNoCase(target[i]) != 0) return false;
  }
  return true;
}

bool RemoveExtractedLinks(const CString& folder) {
  const CString base = WithTrailingBackslash(folder);
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(base + _T("*"), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool safe = true;
  do {
    const CString name = found.cFileName;
    if (name == _T(".") || name == _T("..")) continue;
    if (MakeSafeEntryName(name) != name) {
      // A name that would step elsewhere ("...") is never used as a path.
      safe = false;
    } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      safe = false;
      if (!RemoveDirectoryW(base + name)) DeleteFileW(base + name);
    } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      safe = RemoveExtractedLinks(base + name) && safe;
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return safe;
}

bool CreateFolderPath(const CString& folder) {
  const CString path = WithTrailingBackslash(folder);
  for (int i = 3; i < path.GetLength(); ++i) {
    if (!IsSeparator(path[i])) continue;
    const CString part = path.Left(i);
    const DWORD attributes = GetFileAttributesW(part);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
      continue;
    }
    if (!CreateDirectoryW(part, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return true;
}

bool DosTimeToFileTime(WORD dosDate, WORD dosTime, FILETIME& time) {
  SYSTEMTIME value{};
  value.wYear = static_cast<WORD>(1980 + (dosDate >> 9));
  value.wMonth = static_cast<WORD>((dosDate >> 5) & 0x0F);
  value.wDay = static_cast<WORD>(dosDate & 0x1F);
  value.wHour = static_cast<WORD>(dosTime >> 11);
  value.wMinute = static_cast<WORD>((dosTime >> 5) & 0x3F);
  value.wSecond = static_cast<WORD>((dosTime & 0x1F) * 2);
  return SystemTimeToFileTime(&value, &time) != FALSE;
}
