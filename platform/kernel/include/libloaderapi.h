// Run-time binding of modules: LoadLibrary, GetProcAddress, GetModuleHandle,
// GetModuleFileName.
//
// Module names: the Windows system libraries (kernel32, user32, advapi32, shell32, ...) are
// all the platform library zxplatform.so; "X.dll" (any case) is the shared library "X.so", "X.exe" the program "X", and a
// name without extension gets ".dll" first, as Windows does. A bare name is looked for in the
// program folder, then in the folder of the main program, then where the host's loader
// looks; a Windows path goes through the machine's path mapping. Module file names are
// answered as Windows paths. GetProcAddress by ordinal n looks up the symbol "zx_ordinal_<n>".
#pragma once
#include "wintypes.h"

#define DONT_RESOLVE_DLL_REFERENCES 0x00000001
#define LOAD_LIBRARY_AS_DATAFILE 0x00000002
#define LOAD_WITH_ALTERED_SEARCH_PATH 0x00000008

HMODULE LoadLibraryW(LPCWSTR fileName);
HMODULE LoadLibraryA(LPCSTR fileName);
// Every flag is accepted and the module is loaded in full; file must be null.
HMODULE LoadLibraryExW(LPCWSTR fileName, HANDLE file, DWORD flags);
BOOL FreeLibrary(HMODULE module);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);

// Null names the main program; otherwise a module already loaded, by its file name.
HMODULE GetModuleHandleW(LPCWSTR moduleName);
HMODULE GetModuleHandleA(LPCSTR moduleName);
#define GET_MODULE_HANDLE_EX_FLAG_PIN 0x00000001
#define GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT 0x00000002
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS 0x00000004
// With FROM_ADDRESS, moduleName is an address inside the module wanted. The module's
// reference count is never changed here, whatever the flags say.
BOOL GetModuleHandleExW(DWORD flags, LPCWSTR moduleName, HMODULE* module);
BOOL GetModuleHandleExA(DWORD flags, LPCSTR moduleName, HMODULE* module);
// A buffer too small gets the name truncated and terminated: answers size with
// ERROR_INSUFFICIENT_BUFFER. Otherwise answers the length without the terminator.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);

inline HMODULE LoadLibrary(LPCWSTR fileName) { return LoadLibraryW(fileName); }
inline HMODULE LoadLibraryEx(LPCWSTR fileName, HANDLE file, DWORD flags) {
  return LoadLibraryExW(fileName, file, flags);
}
inline HMODULE GetModuleHandle(LPCWSTR moduleName) { return GetModuleHandleW(moduleName); }
inline DWORD GetModuleFileName(HMODULE module, LPWSTR fileName, DWORD size) {
  return GetModuleFileNameW(module, fileName, size);
}
