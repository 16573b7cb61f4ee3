// Classifiers of protected places and file types: whether a path lies in a place the system
// or other programs guard (system folders, boot and hive files, installer caches, mail and
// browser profiles, security software, recycle and restore folders), and whether a file's
// type is a protected or sensitive one. Paths are matched without regard to case; a pattern
// matches anywhere in the path.
#pragma once
#include <afx.h>

#include "HelperApi.h"

// Appends the protected folder patterns, in order, to the array.
ZXHELPER_API void AddProtectedFolderPatterns(CStringArray& patterns);
// True when no protected pattern occurs in the path.
ZXHELPER_API BOOL IsUnprotectedPath(const CString& path);
// True when the path is unprotected and the file's type is not a protected one: no system
// program type (exe, sys, dll, ...), and a file the system's file protection does not guard.
// When that service gives no answer the file counts as protected.
ZXHELPER_API BOOL IsUnprotectedFile(const CString& path);
// True when the path's extension is one of the sensitive types (programs, scripts, help,
// installer, shortcut and registry files and the like).
ZXHELPER_API BOOL IsSensitiveFileType(const CString& path);
