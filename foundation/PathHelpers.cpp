// Path and folder helpers of the shared library.
#include "PathHelpers.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <mutex>

#include "GlobalConstants.h"

void AppendPathComponent(CString& path, LPCTSTR name) {
  CString tail = name ? name : _T("");
  if (path.IsEmpty() || tail.IsEmpty()) {
    path += tail;
    return;
  }
  if (tail[0] == _T('\\')) tail.Delete(0, 1);
  if (path[path.GetLength() - 1] != _T('\\')) path += _T('\\');
  path += tail;
}

CString JoinPathComponents(LPCTSTR base, std::initializer_list<LPCTSTR> names) {
  CString path = base ? base : _T("");
  for (LPCTSTR name : names) AppendPathComponent(path, name);
  return path;
}

namespace {

// The attribute word of the entry FindFirstFile finds for the path, or INVALID_FILE_ATTRIBUTES.
DWORD FoundAttributes(const CString& path) {
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW(path, &data);
  if (find == INVALID_HANDLE_VALUE) return INVALID_FILE_ATTRIBUTES;
  FindClose(find);
  return data.dwFileAttributes;
}

bool IsPlainFolder(const CString& path) {
  const DWORD attributes = FoundAttributes(path);
  // Folders with further attribute bits (read-only, hidden, system) count as folders too.
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

int CreateDirectoryTree(LPCTSTR pathText) {
  CString path = pathText ? pathText : _T("");
  if (!path.IsEmpty() && path[path.GetLength() - 1] == _T('\\')) path.Delete(path.GetLength() - 1, 1);
  if (path.IsEmpty()) return 0;
  if (IsPlainFolder(path)) return 1;
  // Cumulative prefixes; the first is the drive.
  int start = 0;
  bool first = true;
  for (;;) {
    const int cut = path.Find(_T('\\'), start);
    const CString prefix = cut < 0 ? path : path.Left(cut);
    if (!first && CreateDirectoryW(prefix, nullptr))
      SetFileAttributesW(prefix, FILE_ATTRIBUTE_NORMAL);
    first = false;
    if (cut < 0) break;
    start = cut + 1;
  }
  return IsPlainFolder(path) ? 1 : 0;
}

int PathExists(LPCTSTR path) {
  if (!path || !*path) return -4;
  if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return 1;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return GetFileAttributesExW(path, GetFileExInfoStandard, &data) ? 1 : 0;
}

int GetPathKind(LPCTSTR path) {
  if (!path || !*path) return 0;
  const DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return -1;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
}

int IsFolder(LPCTSTR pathText) {
  CString path = pathText ? pathText : _T("");
  if (path.GetLength() < 3) return 0;
  if (path[path.GetLength() - 1] == _T('\\')) path.Delete(path.GetLength() - 1, 1);
  const DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return 0;
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

int TrimTrailingBackslash(CString& path, BOOL keepRoot) {
  if (keepRoot && path.GetLength() < 3) return 1;
  if (!path.IsEmpty() && path[path.GetLength() - 1] == _T('\\')) path.Delete(path.GetLength() - 1, 1);
  return 1;
}

void RemoveFileSpec(CString& path) {
  WCHAR* buffer = path.GetBuffer(path.GetLength() + 1);
  PathRemoveFileSpecW(buffer);
  path.ReleaseBuffer();
}

BOOL GetSpecialFolder(int csidl, CString& path) {
  WCHAR buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return FALSE;
  path = buffer;
  return TRUE;
}

CString GetModuleFolder(HMODULE module, CString& folder) {
  WCHAR buffer[1039] = {};
  GetModuleFileNameW(module, buffer, 1039);
  folder = buffer;
  if (PathExists(folder) != 1) {
    // The folder of the program's first command-line argument.
    const CString line = GetCommandLineW();
    if (line.Left(1) == _T("\"")) {
      const int close = line.Find(_T('"'), 1);
      folder = close < 0 ? line.Mid(1) : line.Mid(1, close - 1);
    } else {
      const int blank = line.Find(_T(' '));
      folder = blank < 0 ? line : line.Left(blank);
    }
  }
  RemoveFileSpec(folder);
  return folder;
}

int GetProgramFolder(CString& folder) {
  WCHAR buffer[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  folder = buffer;
  const int cut = folder.ReverseFind(_T('\\'));
  folder = cut >= 0 ? folder.Left(cut + 1) : CString();
  return 0;
}

CString GetProductSubPath() {
  CString path = g_strBrandWord;
  AppendPathComponent(path, g_strProductKeyWord);
  return path;
}

namespace {

BOOL GetDataSubFolder(int csidl, CString& path, LPCTSTR subFolder) {
  CString folder;
  if (!GetSpecialFolder(csidl, folder)) return FALSE;
  AppendPathComponent(folder, g_strBrandWord);
  AppendPathComponent(folder, g_strProductKeyWord);
  AppendPathComponent(folder, subFolder);
  folder.Trim();
  if (PathExists(folder) != 1) CreateDirectoryTree(folder);
  path = folder;
  return PathExists(folder) == 1;
}

}  // namespace

BOOL GetUserDataSubFolder(CString& path, LPCTSTR subFolder) {
  return GetDataSubFolder(CSIDL_APPDATA, path, subFolder);
}

BOOL GetCommonDataSubFolder(CString& path, LPCTSTR subFolder) {
  return GetDataSubFolder(CSIDL_COMMON_APPDATA, path, subFolder);
}

BOOL GetCommonDataFolder(CString& path) { return GetCommonDataSubFolder(path, _T("")); }

BOOL GetUserDataFolder(CString& path) {
  const CString subFolder = path.Find(_T('\\')) >= 0 ? CString() : path;
  return GetUserDataSubFolder(path, subFolder);
}

BOOL MatchFileSpec(LPCSTR pattern, LPCSTR fileName) { return PathMatchSpecA(fileName, pattern); }

namespace {

// The logical drive roots ("C:\", ...), read once for the process.
const CStringArray& DriveRoots() {
  static CStringArray roots;
  static std::once_flag once;
  std::call_once(once, [] {
    WCHAR buffer[4096] = {};
    const DWORD length = GetLogicalDriveStringsW(4095, buffer);
    for (DWORD i = 0; i < length && buffer[i];) {
      const CString root(buffer + i);
      roots.Add(root);
      i += static_cast<DWORD>(root.GetLength()) + 1;
    }
  });
  return roots;
}

bool HasForbiddenCharacter(const CString& text) {
  for (int i = 0; i < text.GetLength(); ++i) {
    const WCHAR c = text[i];
    if (c < 0x20 || c == _T('*') || c == _T('?') || c == _T('>') || c == _T('<') || c == _T(':') ||
        c == _T('|'))
      return true;
  }
  return false;
}

}  // namespace

BOOL FindFileInCommandText(LPCTSTR textIn) {
  if (!textIn || !*textIn) return FALSE;
  if (GetPathKind(textIn) == 1) return TRUE;
  CString text = textIn;
  text.MakeUpper();
  const CStringArray& roots = DriveRoots();
  for (INT_PTR r = 0; r < roots.GetSize(); ++r) {
    const int at = text.Find(roots[r]);
    if (at < 0) continue;
    const CString rest = text.Mid(at);
    const int kind = GetPathKind(rest);
    if (kind == 1) return TRUE;
    if (kind == 0) return FALSE;
    for (int length = rest.GetLength(); length > 0; --length)
      if (GetPathKind(rest.Left(length)) == 1) return TRUE;
    const int dot = rest.Find(_T('.'));
    if (dot < 0) return FALSE;
    if (dot > 3 && HasForbiddenCharacter(rest.Mid(3, dot - 3))) return FALSE;
  }
  return FALSE;
}
