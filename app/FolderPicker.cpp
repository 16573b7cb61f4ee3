// The folder picker of the main program's settings.
#include "FolderPicker.h"

#include <fileapi.h>
#include <objbase.h>
#include <shlobj.h>
#include <winuser.h>

#include "PathHelpers.h"

BOOL IsValidTargetFolder(LPCTSTR path) {
  CString lower = path ? path : _T("");
  if (lower.GetLength() < 3) return FALSE;
  const CString root = lower.Left(3);
  if (lower.Left(2) == _T("\\\\") || lower.Left(2) == _T("//") || GetDriveTypeW(root) == DRIVE_REMOTE) return FALSE;
  lower.MakeLower();
  // "recycle" covers "$recycle.bin" and "recycler" alike.
  if (lower.Find(_T("recycle")) >= 0 || lower.Find(_T("system volume information")) >= 0) return FALSE;
  WCHAR fileSystem[MAX_PATH] = {};
  return GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, fileSystem, MAX_PATH) &&
         fileSystem[0] != 0;
}

namespace {

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
  if (message == BFFM_INITIALIZED) {
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
  } else if (message == BFFM_SELCHANGED) {
    WCHAR path[MAX_PATH] = {};
    const BOOL named = SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path);
    SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
    SendMessageW(dialog, BFFM_ENABLEOK, 0, named && IsValidTargetFolder(path));
  }
  return 0;
}

}  // namespace

CString BrowseForFolder(HWND owner, LPCTSTR startFolder) {
  const CString start = startFolder ? startFolder : _T("");
  if (!start.IsEmpty() && IsFolder(start) != 1) CreateDirectoryTree(start);
  WCHAR name[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pszDisplayName = name;
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(start.GetString());
  const PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (!chosen) return CString();
  WCHAR path[MAX_PATH] = {};
  const BOOL named = SHGetPathFromIDListW(chosen, path);
  ILFree(chosen);
  return named ? CString(path) : CString();
}
