// CDriverInstallEngine::RebootSystem: the restart after driver installs, with the shut-down
// privilege enabled in the process token first.
#include <winshutdown.h>

#include "DriverInstallEngine.h"

namespace {

// The reason the restart is given: planned, hardware maintenance.
constexpr DWORD kRebootReason = 0x80000001u;

// Enables SeShutdownPrivilege in the process token, when the token can be opened and the
// user holds it; ExitWindowsEx tells whether it took.
void EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  TOKEN_PRIVILEGES privileges{1, {{LUID{}, SE_PRIVILEGE_ENABLED}}};
  if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  CloseHandle(token);
}

}  // namespace

BOOL CDriverInstallEngine::RebootSystem() {
  EnableShutdownPrivilege();
  return ExitWindowsEx(EWX_REBOOT | EWX_FORCE, kRebootReason);
}
