// Toolhelp snapshots: a copy of the process list or of one process's modules, taken at once
// and walked with first/next. The snapshot is a handle (CloseHandle frees it). These are found
// by name at run time (GetProcAddress of "kernel32"), so they have C linkage.
//
// A process's name is the base name of its executable; a program of the program folder (a
// file without extension there) is named "X.exe" as on Windows. Its modules are the
// executable and the shared objects mapped into it, paths as Windows paths.
#pragma once
#include "wintypes.h"

#define TH32CS_SNAPHEAPLIST 0x00000001
#define TH32CS_SNAPPROCESS 0x00000002
#define TH32CS_SNAPTHREAD 0x00000004
#define TH32CS_SNAPMODULE 0x00000008
#define TH32CS_SNAPMODULE32 0x00000010
#define MAX_MODULE_NAME32 255

struct PROCESSENTRY32W {
  DWORD dwSize;  // set by the caller to sizeof(PROCESSENTRY32W)
  DWORD cntUsage;
  DWORD th32ProcessID;
  ULONG_PTR th32DefaultHeapID;
  DWORD th32ModuleID;
  DWORD cntThreads;
  DWORD th32ParentProcessID;
  LONG pcPriClassBase;
  DWORD dwFlags;
  WCHAR szExeFile[MAX_PATH];
};
using LPPROCESSENTRY32W = PROCESSENTRY32W*;

struct MODULEENTRY32W {
  DWORD dwSize;  // set by the caller to sizeof(MODULEENTRY32W)
  DWORD th32ModuleID;
  DWORD th32ProcessID;
  DWORD GlblcntUsage;
  DWORD ProccntUsage;
  BYTE* modBaseAddr;
  DWORD modBaseSize;
  HMODULE hModule;
  WCHAR szModule[MAX_MODULE_NAME32 + 1];
  WCHAR szExePath[MAX_PATH];
};
using LPMODULEENTRY32W = MODULEENTRY32W*;

extern "C" {
// TH32CS_SNAPPROCESS lists every process (processId ignored); TH32CS_SNAPMODULE lists the
// modules of processId (0: this process). A snapshot of threads or heaps holds no entries.
// INVALID_HANDLE_VALUE on failure (ERROR_INVALID_PARAMETER for a process that does not exist,
// ERROR_ACCESS_DENIED for modules of another user's process).
HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId);
// FALSE with ERROR_NO_MORE_FILES at the end, ERROR_BAD_LENGTH when dwSize is too small.
BOOL Process32FirstW(HANDLE snapshot, LPPROCESSENTRY32W entry);
BOOL Process32NextW(HANDLE snapshot, LPPROCESSENTRY32W entry);
BOOL Module32FirstW(HANDLE snapshot, LPMODULEENTRY32W entry);
BOOL Module32NextW(HANDLE snapshot, LPMODULEENTRY32W entry);
}
