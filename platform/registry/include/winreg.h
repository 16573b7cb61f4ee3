// The registry API: predefined keys, access rights, value types and the Reg* functions.
// Hives live as files in the machine root (see zx/hive.h). Names of keys and values are
// case-insensitive and keep their case. The unsuffixed names call the W forms; the A forms
// convert through the ANSI code page (Windows-1252).
#pragma once
#include "wintypes.h"

// Predefined keys: sign-extended 32-bit values, as Windows builds them.
#define ZX_PREDEFINED_HKEY(v) (reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(v))))
#define HKEY_CLASSES_ROOT ZX_PREDEFINED_HKEY(0x80000000u)  // a view of HKLM\SOFTWARE\Classes
#define HKEY_CURRENT_USER ZX_PREDEFINED_HKEY(0x80000001u)
#define HKEY_LOCAL_MACHINE ZX_PREDEFINED_HKEY(0x80000002u)
#define HKEY_USERS ZX_PREDEFINED_HKEY(0x80000003u)

// Access rights of a key handle.
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_EXECUTE KEY_READ
#define KEY_ALL_ACCESS 0xF003F

// Value types.
#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_LITTLE_ENDIAN 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_MULTI_SZ 7
#define REG_QWORD 11
#define REG_QWORD_LITTLE_ENDIAN 11

// RegCreateKeyEx options and dispositions. Volatile keys are accepted and kept like others.
#define REG_OPTION_NON_VOLATILE 0x0000
#define REG_OPTION_VOLATILE 0x0001
#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2

// RegGetValue type restrictions and flags.
#define RRF_RT_REG_NONE 0x00000001
#define RRF_RT_REG_SZ 0x00000002
#define RRF_RT_REG_EXPAND_SZ 0x00000004
#define RRF_RT_REG_BINARY 0x00000008
#define RRF_RT_REG_DWORD 0x00000010
#define RRF_RT_REG_MULTI_SZ 0x00000020
#define RRF_RT_REG_QWORD 0x00000040
#define RRF_RT_DWORD (RRF_RT_REG_BINARY | RRF_RT_REG_DWORD)
#define RRF_RT_QWORD (RRF_RT_REG_BINARY | RRF_RT_REG_QWORD)
#define RRF_RT_ANY 0x0000FFFF
#define RRF_NOEXPAND 0x10000000
#define RRF_ZEROONFAILURE 0x20000000

#ifndef ERROR_DATATYPE_MISMATCH
#define ERROR_DATATYPE_MISMATCH 1629L
#endif
#ifndef ERROR_UNSUPPORTED_TYPE
#define ERROR_UNSUPPORTED_TYPE 1630L
#endif

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
// A null or empty sub-key answers hKey itself.
LONG RegOpenKeyW(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult);
LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, const SECURITY_ATTRIBUTES* lpSecurityAttributes,
                     PHKEY phkResult, LPDWORD lpdwDisposition);
LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, const SECURITY_ATTRIBUTES* lpSecurityAttributes,
                     PHKEY phkResult, LPDWORD lpdwDisposition);
// A null or empty sub-key answers hKey itself.
LONG RegCreateKeyW(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult);
LONG RegCloseKey(HKEY hKey);

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                      LPBYTE lpData, LPDWORD lpcbData);
// String types (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) come back in the ANSI code page, sizes
// counted in those bytes.
LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                      LPBYTE lpData, LPDWORD lpcbData);
LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType,
                    const BYTE* lpData, DWORD cbData);
LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType,
                    const BYTE* lpData, DWORD cbData);
// Reads a value of hKey or of its sub-key lpSubKey, restricted to the RRF_RT_* types asked.
// Strings always come back terminated. REG_EXPAND_SZ comes back unexpanded, as REG_EXPAND_SZ,
// when the restriction admits it (asking for RRF_RT_REG_EXPAND_SZ alone needs RRF_NOEXPAND).
LONG RegGetValueW(HKEY hkey, LPCWSTR lpSubKey, LPCWSTR lpValue, DWORD dwFlags, LPDWORD pdwType,
                  PVOID pvData, LPDWORD pcbData);
LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);
LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName);

// Deletes a key without sub-keys (a key that has some answers ERROR_ACCESS_DENIED).
LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);
LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey);
LONG RegDeleteKeyExW(HKEY hKey, LPCWSTR lpSubKey, REGSAM samDesired, DWORD Reserved);
// Deletes lpSubKey with everything below it; a null lpSubKey empties hKey (sub-keys and
// values) and keeps the key.
LONG RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey);

// Sub-keys in case-insensitive alphabetical order; values in creation order.
LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                   LPWSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime);
LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName,
                   LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                      LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                      LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                      LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime);
// The security of a key (see aclapi.h; the security component implements these two).
// Reading needs READ_CONTROL on the handle and answers a self-relative descriptor of the
// parts asked (ERROR_INSUFFICIENT_BUFFER with the size needed when it does not fit).
// Writing the DACL needs WRITE_DAC, the owner or group WRITE_OWNER; the descriptor may be in
// either form.
using SECURITY_INFORMATION = DWORD;
using PSECURITY_DESCRIPTOR = void*;
LONG RegGetKeySecurity(HKEY hKey, SECURITY_INFORMATION SecurityInformation,
                       PSECURITY_DESCRIPTOR pSecurityDescriptor, LPDWORD lpcbSecurityDescriptor);
LONG RegSetKeySecurity(HKEY hKey, SECURITY_INFORMATION SecurityInformation,
                       PSECURITY_DESCRIPTOR pSecurityDescriptor);
// Makes the hive's changes durable on disk (every completed change already survives the
// death of its process).
LONG RegFlushKey(HKEY hKey);

inline LONG RegOpenKeyEx(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                         PHKEY phkResult) {
  return RegOpenKeyExW(hKey, lpSubKey, ulOptions, samDesired, phkResult);
}
inline LONG RegOpenKey(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult) {
  return RegOpenKeyW(hKey, lpSubKey, phkResult);
}
inline LONG RegCreateKeyEx(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass,
                           DWORD dwOptions, REGSAM samDesired,
                           const SECURITY_ATTRIBUTES* lpSecurityAttributes, PHKEY phkResult,
                           LPDWORD lpdwDisposition) {
  return RegCreateKeyExW(hKey, lpSubKey, Reserved, lpClass, dwOptions, samDesired,
                         lpSecurityAttributes, phkResult, lpdwDisposition);
}
inline LONG RegCreateKey(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult) {
  return RegCreateKeyW(hKey, lpSubKey, phkResult);
}
inline LONG RegQueryValueEx(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                            LPBYTE lpData, LPDWORD lpcbData) {
  return RegQueryValueExW(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData);
}
inline LONG RegSetValueEx(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType,
                          const BYTE* lpData, DWORD cbData) {
  return RegSetValueExW(hKey, lpValueName, Reserved, dwType, lpData, cbData);
}
inline LONG RegGetValue(HKEY hkey, LPCWSTR lpSubKey, LPCWSTR lpValue, DWORD dwFlags,
                        LPDWORD pdwType, PVOID pvData, LPDWORD pcbData) {
  return RegGetValueW(hkey, lpSubKey, lpValue, dwFlags, pdwType, pvData, pcbData);
}
inline LONG RegDeleteValue(HKEY hKey, LPCWSTR lpValueName) {
  return RegDeleteValueW(hKey, lpValueName);
}
inline LONG RegDeleteKey(HKEY hKey, LPCWSTR lpSubKey) { return RegDeleteKeyW(hKey, lpSubKey); }
inline LONG RegDeleteKeyEx(HKEY hKey, LPCWSTR lpSubKey, REGSAM samDesired, DWORD Reserved) {
  return RegDeleteKeyExW(hKey, lpSubKey, samDesired, Reserved);
}
inline LONG RegDeleteTree(HKEY hKey, LPCWSTR lpSubKey) { return RegDeleteTreeW(hKey, lpSubKey); }
inline LONG RegEnumKeyEx(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName,
                         LPDWORD lpReserved, LPWSTR lpClass, LPDWORD lpcchClass,
                         PFILETIME lpftLastWriteTime) {
  return RegEnumKeyExW(hKey, dwIndex, lpName, lpcchName, lpReserved, lpClass, lpcchClass,
                       lpftLastWriteTime);
}
inline LONG RegEnumValue(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName,
                         LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  return RegEnumValueW(hKey, dwIndex, lpValueName, lpcchValueName, lpReserved, lpType, lpData,
                       lpcbData);
}
inline LONG RegQueryInfoKey(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                            LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                            LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
                            LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                            PFILETIME lpftLastWriteTime) {
  return RegQueryInfoKeyW(hKey, lpClass, lpcchClass, lpReserved, lpcSubKeys, lpcbMaxSubKeyLen,
                          lpcbMaxClassLen, lpcValues, lpcbMaxValueNameLen, lpcbMaxValueLen,
                          lpcbSecurityDescriptor, lpftLastWriteTime);
}
