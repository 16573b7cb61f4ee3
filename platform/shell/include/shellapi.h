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

// Starting programs and opening documents and web addresses. The verbs are "open" (also a
// null verb) and "runas"; "runas" starts the program as "open" does (there is no elevation
// here) and says so on stderr. A program ("X.exe" in the program folder, or any file that the
// host can run) starts with the parameters split as Windows splits a command line; a web
// address (http:, https:, mailto:) or a document is handed to the desktop's opener
// (xdg-open) when the host has one, else the call fails with ERROR_NO_ASSOCIATION.
#define SEE_MASK_DEFAULT 0x00000000
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_NOASYNC 0x00000100
#define SEE_MASK_FLAG_DDEWAIT SEE_MASK_NOASYNC
#define SEE_MASK_FLAG_NO_UI 0x00000400
#define SEE_MASK_NOZONECHECKS 0x00800000  // no zone check of the file (nothing to check here)

#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31
#ifndef ERROR_NO_ASSOCIATION
#define ERROR_NO_ASSOCIATION 1155L
#endif

struct SHELLEXECUTEINFOW {
  DWORD cbSize;
  ULONG fMask;
  HWND hwnd;
  LPCWSTR lpVerb;
  LPCWSTR lpFile;
  LPCWSTR lpParameters;
  LPCWSTR lpDirectory;
  int nShow;
  HINSTANCE hInstApp;  // above 32 on success, else an SE_ERR_ code
  void* lpIDList;
  LPCWSTR lpClass;
  HKEY hkeyClass;
  DWORD dwHotKey;
  HANDLE hIconOrMonitor;
  HANDLE hProcess;  // with SEE_MASK_NOCLOSEPROCESS: the started program's process
};
using LPSHELLEXECUTEINFOW = SHELLEXECUTEINFOW*;
using SHELLEXECUTEINFO = SHELLEXECUTEINFOW;

// FALSE with the last error (ERROR_FILE_NOT_FOUND, ERROR_NO_ASSOCIATION, ...) on failure.
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info);
// Above 32 on success, else an SE_ERR_ code.
HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        int showCommand);
inline BOOL ShellExecuteEx(SHELLEXECUTEINFOW* info) { return ShellExecuteExW(info); }
inline HINSTANCE ShellExecute(HWND hwnd, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                              LPCWSTR directory, int showCommand) {
  return ShellExecuteW(hwnd, verb, file, parameters, directory, showCommand);
}

// The notification area lives with the window layer.
#if __has_include(<shellnotify.h>)
#include <shellnotify.h>
#endif
