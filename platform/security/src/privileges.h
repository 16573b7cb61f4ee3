// The privileges of this process inside the security component: numbers by name, which the
// user holds, and which are enabled.
#pragma once
#include <vector>

#include "winshutdown.h"

namespace zx::security {

bool PrivilegeNumber(const char16_t* name, DWORD* number);
bool HoldsPrivilege(DWORD number);
bool PrivilegeEnabled(DWORD number);
// Answers whether it was enabled before.
bool SetPrivilegeEnabled(DWORD number, bool enable);
std::vector<DWORD> EnabledPrivileges();

}  // namespace zx::security
