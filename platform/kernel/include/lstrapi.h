// The kernel's small string functions (lstrlen, lstrcmp, lstrcmpi, lstrcpyn). The narrow
// forms read Windows-1252 text.
#pragma once
#include "wintypes.h"

int lstrlenW(LPCWSTR text);
int lstrlenA(LPCSTR text);
int lstrcmpW(LPCWSTR a, LPCWSTR b);
int lstrcmpA(LPCSTR a, LPCSTR b);
int lstrcmpiW(LPCWSTR a, LPCWSTR b);
int lstrcmpiA(LPCSTR a, LPCSTR b);
// Copies at most maxLength-1 characters and always terminates (maxLength > 0).
LPWSTR lstrcpynW(LPWSTR target, LPCWSTR source, int maxLength);
LPSTR lstrcpynA(LPSTR target, LPCSTR source, int maxLength);

inline int lstrlen(LPCWSTR text) { return lstrlenW(text); }
inline int lstrcmp(LPCWSTR a, LPCWSTR b) { return lstrcmpW(a, b); }
inline int lstrcmpi(LPCWSTR a, LPCWSTR b) { return lstrcmpiW(a, b); }
inline LPWSTR lstrcpyn(LPWSTR target, LPCWSTR source, int maxLength) {
  return lstrcpynW(target, source, maxLength);
}
