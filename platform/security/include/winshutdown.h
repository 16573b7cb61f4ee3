// Privileges of the process token (LookupPrivilegeValueW, AdjustTokenPrivileges) and leaving
// Windows (ExitWindowsEx). Shutting down or restarting needs SeShutdownPrivilege enabled and is
// recorded in the machine root (one line per request in "shutdowns.log": the EWX_ flags and
// the reason in hex), never done to the host.
#pragma once
#include "securitybaseapi.h"

#define SE_SHUTDOWN_NAME u"SeShutdownPrivilege"
#define SE_PRIVILEGE_ENABLED_BY_DEFAULT 0x00000001u
#define SE_PRIVILEGE_ENABLED 0x00000002u
#define SE_PRIVILEGE_REMOVED 0x00000004u

#define EWX_LOGOFF 0x00000000u
#define EWX_SHUTDOWN 0x00000001u
#define EWX_REBOOT 0x00000002u
#define EWX_FORCE 0x00000004u
#define EWX_POWEROFF 0x00000008u
#define EWX_FORCEIFHUNG 0x00000010u

#ifndef ERROR_NOT_ALL_ASSIGNED
#define ERROR_NOT_ALL_ASSIGNED 1300L
#endif
#ifndef ERROR_NO_SUCH_PRIVILEGE
#define ERROR_NO_SUCH_PRIVILEGE 1313L
#endif
#ifndef ERROR_PRIVILEGE_NOT_HELD
#define ERROR_PRIVILEGE_NOT_HELD 1314L
#endif

struct TOKEN_PRIVILEGES {
  DWORD PrivilegeCount;
  LUID_AND_ATTRIBUTES Privileges[1];
};
using PTOKEN_PRIVILEGES = TOKEN_PRIVILEGES*;
using PLUID = LUID*;

// The privilege's number by its name (case-insensitive); only the local system (null or
// empty system name). ERROR_NO_SUCH_PRIVILEGE for an unknown name.
BOOL LookupPrivilegeValueW(LPCWSTR systemName, LPCWSTR name, PLUID luid);
// Enables or disables privileges of the process's tokens. Succeeds with ERROR_NOT_ALL_ASSIGNED
// as last error when the user does not hold one of them (administrators hold every privilege
// named here, other users SeShutdownPrivilege, SeChangeNotifyPrivilege, SeUndockPrivilege,
// SeIncreaseWorkingSetPrivilege and SeTimeZonePrivilege), else ERROR_SUCCESS. The previous
// state is answered for the privileges changed when a buffer is given.
BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState, DWORD bufferLength,
                           PTOKEN_PRIVILEGES previousState, PDWORD returnLength);
// Logging off always succeeds (and is recorded); shutting down, restarting and powering off
// need SeShutdownPrivilege enabled (ERROR_PRIVILEGE_NOT_HELD otherwise).
BOOL ExitWindowsEx(UINT flags, DWORD reason);
