// File helpers of the shared library: shell delete and move, the lock test, buffer copies.
#pragma once
#include <afx.h>
#include <windows.h>
#include <shellapi.h>

#include "HelperApi.h"

// Longest path the shell operations take (the double-zero-terminated copy holds 520).
constexpr int kShellPathLimit = 520;

// 1 deleted, 0 failed (also for a path that does not fit, or a length shorter than the text,
// which would name a parent folder).
ZXHELPER_API int ShellDeletePath(LPCTSTR path, int length, BOOL toRecycleBin);
// The shell's delete with the caller's flags; 1 deleted, 0 failed.
ZXHELPER_API int ShellDeleteWithFlags(LPCTSTR path, FILEOP_FLAGS flags);
ZXHELPER_API int MoveWithShell(LPCTSTR source, LPCTSTR target);
ZXHELPER_API int MoveIntoFolder(LPCTSTR sourceFile, LPCTSTR targetFolder);
// -1 not a file or attributes unusable, 0 free, 1 locked by someone else.
ZXHELPER_API int IsFileLocked(LPCTSTR path);
// A new buffer of length+2 characters holding a copy; free it with delete[].
ZXHELPER_API BOOL CopyToNewBuffer(LPCTSTR text, LPTSTR* copy);

// A shell file-operation record with the library's quiet flags.
class ZXHELPER_API CShellFileOperation {
 public:
  CShellFileOperation();
  // The shell's result code (0 success); a path longer than 260 characters is refused with
  // ERROR_FILENAME_EXCED_RANGE and an empty one with ERROR_INVALID_PARAMETER, nothing deleted.
  int Delete(LPCTSTR path, int length);

  SHFILEOPSTRUCTW m_op;
};
