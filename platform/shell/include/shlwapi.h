// The light-weight shell library's path and string helpers. Paths are Windows paths in
// caller buffers of MAX_PATH characters.
#pragma once
#include "wintypes.h"

// Matches the whole of file against each of the ;-separated patterns (blanks
// before a pattern are skipped), without regard to case, with FindFirstFile's wildcards.
BOOL PathMatchSpecW(LPCWSTR file, LPCWSTR patterns);
BOOL PathMatchSpecA(LPCSTR file, LPCSTR patterns);
// Cuts the last component and its separator ("C:\dir\file" -> "C:\dir", "C:\file" -> "C:\");
// FALSE when nothing was cut.
BOOL PathRemoveFileSpecW(LPWSTR path);
BOOL PathFileExistsW(LPCWSTR path);
// The last component (a trailing backslash stays with it), or the whole path.
LPWSTR PathFindFileNameW(LPCWSTR path);
// The '.' starting the last component's extension, or the terminating zero when it has none.
LPWSTR PathFindExtensionW(LPCWSTR path);
// Adds a backslash unless the path ends in one; answers the terminating zero, or null when
// the result would not fit MAX_PATH.
LPWSTR PathAddBackslashW(LPWSTR path);
// Removes one trailing backslash unless it is the root's ("C:\", "\", "\\"); answers the
// terminating zero that took its place, else the last character (the path itself when empty),
// null for a null path.
LPWSTR PathRemoveBackslashW(LPWSTR path);
// Joins with one backslash and resolves "." and ".."; FALSE (path unchanged) when the result
// would not fit MAX_PATH.
BOOL PathAppendW(LPWSTR path, LPCWSTR more);
// FALSE for paths starting with a backslash or a drive ("C:").
BOOL PathIsRelativeW(LPCWSTR path);
// <0, 0 or >0, without regard to case.
int StrCmpIW(LPCWSTR a, LPCWSTR b);

inline BOOL PathMatchSpec(LPCWSTR file, LPCWSTR patterns) { return PathMatchSpecW(file, patterns); }
inline BOOL PathRemoveFileSpec(LPWSTR path) { return PathRemoveFileSpecW(path); }
inline BOOL PathFileExists(LPCWSTR path) { return PathFileExistsW(path); }
inline LPWSTR PathFindFileName(LPCWSTR path) { return PathFindFileNameW(path); }
inline LPWSTR PathFindExtension(LPCWSTR path) { return PathFindExtensionW(path); }
inline LPWSTR PathAddBackslash(LPWSTR path) { return PathAddBackslashW(path); }
inline LPWSTR PathRemoveBackslash(LPWSTR path) { return PathRemoveBackslashW(path); }
inline BOOL PathAppend(LPWSTR path, LPCWSTR more) { return PathAppendW(path, more); }
inline BOOL PathIsRelative(LPCWSTR path) { return PathIsRelativeW(path); }
inline int StrCmpI(LPCWSTR a, LPCWSTR b) { return StrCmpIW(a, b); }
