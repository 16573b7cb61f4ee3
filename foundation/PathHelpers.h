// Path and folder helpers of the shared library: joining, creating and testing paths, the
// product's data folders, special folders and wildcard matching.
#pragma once
#include <afx.h>
#include <windows.h>

#include <initializer_list>

#include "HelperApi.h"

// Joins in place with exactly one backslash; with either text empty they are concatenated.
ZXHELPER_API void AppendPathComponent(CString& path, LPCTSTR name);
// base joined with each name in turn.
ZXHELPER_API CString JoinPathComponents(LPCTSTR base, std::initializer_list<LPCTSTR> names);

// 1 when the folder exists at the end, 0 when not, -1 when an error was caught.
ZXHELPER_API int CreateDirectoryTree(LPCTSTR path);
// 1 exists, 0 not, -4 empty text, -1 error caught.
ZXHELPER_API int PathExists(LPCTSTR path);
// 1 existing file, 0 folder (or empty text), -1 nothing there.
ZXHELPER_API int GetPathKind(LPCTSTR path);
// 1 existing folder, 0 not (or shorter than 3 characters), -1 error caught.
ZXHELPER_API int IsFolder(LPCTSTR path);
ZXHELPER_API int TrimTrailingBackslash(CString& path, BOOL keepRoot);
ZXHELPER_API void RemoveFileSpec(CString& path);

ZXHELPER_API BOOL GetSpecialFolder(int csidl, CString& path);
ZXHELPER_API CString GetModuleFolder(HMODULE module, CString& folder);
ZXHELPER_API int GetProgramFolder(CString& folder);
ZXHELPER_API BOOL GetUserDataSubFolder(CString& path, LPCTSTR subFolder);
ZXHELPER_API BOOL GetCommonDataSubFolder(CString& path, LPCTSTR subFolder);
ZXHELPER_API BOOL GetCommonDataFolder(CString& path);
ZXHELPER_API BOOL GetUserDataFolder(CString& path);
ZXHELPER_API CString GetProductSubPath();

ZXHELPER_API BOOL MatchFileSpec(LPCSTR pattern, LPCSTR fileName);
ZXHELPER_API BOOL FindFileInCommandText(LPCTSTR text);
