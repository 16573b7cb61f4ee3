// The shell's light-weight registry helpers (shlwapi's SH* functions) that the registry
// component carries. A shlwapi.h of the shell component includes this header.
#pragma once
#include "winreg.h"

// Deletes pszSubKey and everything below it.
LONG SHDeleteKeyW(HKEY hkey, LPCWSTR pszSubKey);
// Deletes the value pszValue of hkey's sub-key pszSubKey (null or empty: hkey itself).
LONG SHDeleteValueW(HKEY hkey, LPCWSTR pszSubKey, LPCWSTR pszValue);

inline LONG SHDeleteKey(HKEY hkey, LPCWSTR pszSubKey) { return SHDeleteKeyW(hkey, pszSubKey); }
inline LONG SHDeleteValue(HKEY hkey, LPCWSTR pszSubKey, LPCWSTR pszValue) {
  return SHDeleteValueW(hkey, pszSubKey, pszValue);
}
