// The process-status interface: ids of all processes, a process's modules, their file names
// and extents. Found by name at run time (GetProcAddress of "psapi"), so they have C linkage.
// A module handle of another process is the load address of the module there; the first
// module is the executable. Only the wide form of the file-name query exists.
#pragma once
#include "wintypes.h"

struct MODULEINFO {
  LPVOID lpBaseOfDll;
  DWORD SizeOfImage;
  LPVOID EntryPoint;
};
using LPMODULEINFO = MODULEINFO*;

extern "C" {
// bytesReturned is the size of the ids written; a full buffer means there may be more.
BOOL EnumProcesses(DWORD* processIds, DWORD bytes, LPDWORD bytesReturned);
// bytesNeeded is the size the whole list needs (as on Windows).
BOOL EnumProcessModules(HANDLE process, HMODULE* modules, DWORD bytes, LPDWORD bytesNeeded);
// Null module names the executable. Answers the characters copied (truncated, terminated).
DWORD GetModuleFileNameExW(HANDLE process, HMODULE module, LPWSTR fileName, DWORD size);
BOOL GetModuleInformation(HANDLE process, HMODULE module, LPMODULEINFO info, DWORD bytes);
}
