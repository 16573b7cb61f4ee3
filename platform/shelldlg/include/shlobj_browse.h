// The folder browser (SHBrowseForFolderW): a modal dialog with a tree of the folders under
// C:\ whose chosen folder comes back as an item list (free it with CoTaskMemFree or ILFree;
// SHGetPathFromIDListW gives its path). The caller's callback hears BFFM_INITIALIZED and
// BFFM_SELCHANGED and may send the dialog BFFM_SETSELECTIONW, BFFM_SETSTATUSTEXTW and
// BFFM_ENABLEOK. Item lists of this layer carry the folder's path.
#pragma once
#include "objbase.h"
#include "winuser.h"

struct SHITEMID {
  USHORT cb;  // bytes of this item, cb included; 0 ends the list
  BYTE abID[1];
};
struct ITEMIDLIST {
  SHITEMID mkid;
};
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;

using BFFCALLBACK = int(CALLBACK*)(HWND dialog, UINT message, LPARAM lParam, LPARAM data);

struct BROWSEINFOW {
  HWND hwndOwner;
  PCIDLIST_ABSOLUTE pidlRoot;  // null: the whole tree
  LPWSTR pszDisplayName;       // MAX_PATH characters: the chosen folder's name
  LPCWSTR lpszTitle;
  UINT ulFlags;
  BFFCALLBACK lpfn;
  LPARAM lParam;
  int iImage;
};
using LPBROWSEINFOW = BROWSEINFOW*;

#define BIF_RETURNONLYFSDIRS 0x00000001u
#define BIF_DONTGOBELOWDOMAIN 0x00000002u
#define BIF_STATUSTEXT 0x00000004u
#define BIF_EDITBOX 0x00000010u
#define BIF_VALIDATE 0x00000020u
#define BIF_NEWDIALOGSTYLE 0x00000040u
#define BIF_USENEWUI (BIF_NEWDIALOGSTYLE | BIF_EDITBOX)

// Callback messages.
#define BFFM_INITIALIZED 1
#define BFFM_SELCHANGED 2
// Messages to the dialog.
#define BFFM_ENABLEOK (WM_USER + 101)
#define BFFM_SETSELECTIONW (WM_USER + 103)
#define BFFM_SETSTATUSTEXTW (WM_USER + 104)

// Null when cancelled.
PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info);
// The item list's path (MAX_PATH characters); FALSE for an empty or foreign list.
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path);
// A new item list of a folder path (null for a bad path); and its release.
PIDLIST_ABSOLUTE ILCreateFromPathW(LPCWSTR path);
void ILFree(PIDLIST_ABSOLUTE list);
