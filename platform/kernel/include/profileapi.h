// Private-profile (ini) files. Sections and keys are matched without regard to case; a file
// name without a path names a file in the Windows folder. Files are read as UTF-16LE or
// UTF-8 when they start with that byte-order mark, else as Windows-1252; writes keep the
// file's encoding (new files are Windows-1252), end lines in CR LF and replace the file
// atomically.
#pragma once
#include "wintypes.h"

// A null section lists the section names, a null key the keys of the section, each list
// double-zero-terminated. A buffer too small gets size-1 characters and a terminator and the
// call answers size-1 (size-2 for the lists).
DWORD GetPrivateProfileStringW(LPCWSTR appName, LPCWSTR keyName, LPCWSTR defaultValue,
                               LPWSTR returnedString, DWORD size, LPCWSTR fileName);
DWORD GetPrivateProfileStringA(LPCSTR appName, LPCSTR keyName, LPCSTR defaultValue,
                               LPSTR returnedString, DWORD size, LPCSTR fileName);
UINT GetPrivateProfileIntW(LPCWSTR appName, LPCWSTR keyName, INT defaultValue, LPCWSTR fileName);
UINT GetPrivateProfileIntA(LPCSTR appName, LPCSTR keyName, INT defaultValue, LPCSTR fileName);
// "key=value" strings of the section, double-zero-terminated.
DWORD GetPrivateProfileSectionW(LPCWSTR appName, LPWSTR returnedString, DWORD size,
                                LPCWSTR fileName);
DWORD GetPrivateProfileSectionNamesW(LPWSTR returnBuffer, DWORD size, LPCWSTR fileName);
// A null value deletes the key, a null key deletes the section.
BOOL WritePrivateProfileStringW(LPCWSTR appName, LPCWSTR keyName, LPCWSTR string, LPCWSTR fileName);
BOOL WritePrivateProfileStringA(LPCSTR appName, LPCSTR keyName, LPCSTR string, LPCSTR fileName);
// Replaces the section's lines by the double-zero-terminated "key=value" list (null deletes it).
BOOL WritePrivateProfileSectionW(LPCWSTR appName, LPCWSTR string, LPCWSTR fileName);

inline DWORD GetPrivateProfileString(LPCWSTR appName, LPCWSTR keyName, LPCWSTR defaultValue,
                                     LPWSTR returnedString, DWORD size, LPCWSTR fileName) {
  return GetPrivateProfileStringW(appName, keyName, defaultValue, returnedString, size, fileName);
}
inline UINT GetPrivateProfileInt(LPCWSTR appName, LPCWSTR keyName, INT defaultValue,
                                 LPCWSTR fileName) {
  return GetPrivateProfileIntW(appName, keyName, defaultValue, fileName);
}
inline DWORD GetPrivateProfileSection(LPCWSTR appName, LPWSTR returnedString, DWORD size,
                                      LPCWSTR fileName) {
  return GetPrivateProfileSectionW(appName, returnedString, size, fileName);
}
inline DWORD GetPrivateProfileSectionNames(LPWSTR returnBuffer, DWORD size, LPCWSTR fileName) {
  return GetPrivateProfileSectionNamesW(returnBuffer, size, fileName);
}
inline BOOL WritePrivateProfileString(LPCWSTR appName, LPCWSTR keyName, LPCWSTR string,
                                      LPCWSTR fileName) {
  return WritePrivateProfileStringW(appName, keyName, string, fileName);
}
inline BOOL WritePrivateProfileSection(LPCWSTR appName, LPCWSTR string, LPCWSTR fileName) {
  return WritePrivateProfileSectionW(appName, string, fileName);
}
