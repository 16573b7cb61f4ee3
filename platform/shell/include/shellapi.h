// Shell file operations: copying, moving, renaming and deleting lists of files and folders
// (folders with their contents). There is no user interface: confirmations are answered yes.
// FOF_ALLOWUNDO on a delete moves the entries into the recycle bin C:\$Recycle.Bin (each in
// a folder of its own, $R<number>\<name>); entries on drive Z: have no recycle bin and are
// deleted as Windows deletes them from a drive without one.
#pragma once
#include "wintypes.h"

using FILEOP_FLAGS = WORD;
using PCZZWSTR = const WCHAR*;

#define FO_MOVE 0x0001
#define FO_COPY 0x0002
#define FO_DELETE 0x0003
#define FO_RENAME 0x0004

#define FOF_MULTIDESTFILES 0x0001
#define FOF_CONFIRMMOUSE 0x0002
#define FOF_SILENT 0x0004
#define FOF_RENAMEONCOLLISION 0x0008
#define FOF_NOCONFIRMATION 0x0010
#define FOF_WANTMAPPINGHANDLE 0x0020
#define FOF_ALLOWUNDO 0x0040
#define FOF_FILESONLY 0x0080
#define FOF_SIMPLEPROGRESS 0x0100
#define FOF_NOCONFIRMMKDIR 0x0200
#define FOF_NOERRORUI 0x0400
#define FOF_NOCOPYSECURITYATTRIBS 0x0800
#define FOF_NORECURSION 0x1000
#define FOF_NO_CONNECTED_ELEMENTS 0x2000
#define FOF_WANTNUKEWARNING 0x4000
#define FOF_NORECURSEREPARSE 0x8000
#define FOF_NO_UI (FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR)

struct SHFILEOPSTRUCTW {
  HWND hwnd;
  UINT wFunc;
  PCZZWSTR pFrom;  // double-zero-terminated list; the last component may hold * and ?
  PCZZWSTR pTo;    // double-zero-terminated: one target folder, or one per source with
                   // FOF_MULTIDESTFILES
  FILEOP_FLAGS fFlags;
  BOOL fAnyOperationsAborted;
  LPVOID hNameMappings;
  LPCWSTR lpszProgressTitle;
};
using LPSHFILEOPSTRUCTW = SHFILEOPSTRUCTW*;
using SHFILEOPSTRUCT = SHFILEOPSTRUCTW;
using LPSHFILEOPSTRUCT = LPSHFILEOPSTRUCTW;

// 0 on success, else a Win32 error code (ERROR_FILE_NOT_FOUND for a missing source,
// ERROR_ALREADY_EXISTS when a rename target exists, ERROR_INVALID_PARAMETER for a bad
// request, ...). fAnyOperationsAborted is TRUE when an operation was left undone.
// FOF_RENAMEONCOLLISION gives a colliding copy or move the name "<name> (2)<ext>", "(3)" ...
int SHFileOperationW(LPSHFILEOPSTRUCTW fileOp);

inline int SHFileOperation(LPSHFILEOPSTRUCTW fileOp) { return SHFileOperationW(fileOp); }

// The notification area lives with the window layer.
#if __has_include(<shellnotify.h>)
#include <shellnotify.h>
#endif
