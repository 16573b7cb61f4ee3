// WOW64 queries and processor times. These are found by name at run time by the system
// (GetProcAddress of "kernel32"), so they have C linkage.
//
// Our programs play the part of 32-bit programs: on a 64-bit Windows (the machine profile's
// [Windows] Architecture, "x64" unless it says "x86") they run under WOW64.
#pragma once
#include "wintypes.h"

extern "C" {
BOOL IsWow64Process(HANDLE process, PBOOL wow64);
// There is no file-system redirection here; the calls only keep the caller's old value slot.
BOOL Wow64DisableWow64FsRedirection(PVOID* oldValue);
BOOL Wow64RevertWow64FsRedirection(PVOID oldValue);
// Idle, kernel and user time of all processors since boot, in 100 ns units.
BOOL GetSystemTimes(PFILETIME idleTime, PFILETIME kernelTime, PFILETIME userTime);
// Creation, exit, kernel and user time of a process (this process only).
BOOL GetProcessTimes(HANDLE process, PFILETIME creationTime, PFILETIME exitTime,
                     PFILETIME kernelTime, PFILETIME userTime);
}
