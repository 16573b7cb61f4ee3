// ExitWindowsEx: the request checked against SeShutdownPrivilege and appended to the machine
// root's "shutdowns.log" (flags and reason in hex).
#include <cstdio>
#include <fstream>

#include "errhandlingapi.h"
#include "privileges.h"
#include "zx/machine.h"

namespace {

constexpr DWORD kShutdownPrivilege = 19;

bool Record(UINT flags, DWORD reason) {
  char line[40];
  std::snprintf(line, sizeof line, "%08X %08X\n", flags, reason);
  std::ofstream out(zx::machine::Root() + "/shutdowns.log", std::ios::app | std::ios::binary);
  out << line;
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace

BOOL ExitWindowsEx(UINT flags, DWORD reason) {
  const bool leavesWindows = (flags & (EWX_SHUTDOWN | EWX_REBOOT | EWX_POWEROFF)) != 0;
  if (leavesWindows && !zx::security::PrivilegeEnabled(kShutdownPrivilege)) {
    SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    return FALSE;
  }
  if (!Record(flags, reason)) {
    SetLastError(ERROR_WRITE_FAULT);
    return FALSE;
  }
  return TRUE;
}
