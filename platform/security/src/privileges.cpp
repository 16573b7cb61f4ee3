// Privileges: their names and numbers, which ones the simulated user holds, and the enabled
// ones of this process's tokens (one state for the process, as its tokens share it here).
#include <algorithm>
#include <mutex>
#include <set>

#include "errhandlingapi.h"
#include "privileges.h"
#include "zx/security.h"

namespace zx::security {
namespace {

struct Privilege {
  const char16_t* name;
  DWORD number;
  bool everyone;  // held by users who are not administrators too
};

constexpr Privilege kPrivileges[] = {
    {u"SeIncreaseQuotaPrivilege", 5, false},      {u"SeSecurityPrivilege", 8, false},
    {u"SeTakeOwnershipPrivilege", 9, false},      {u"SeLoadDriverPrivilege", 10, false},
    {u"SeSystemtimePrivilege", 12, false},        {u"SeBackupPrivilege", 17, false},
    {u"SeRestorePrivilege", 18, false},           {u"SeShutdownPrivilege", 19, true},
    {u"SeDebugPrivilege", 20, false},             {u"SeSystemEnvironmentPrivilege", 22, false},
    {u"SeChangeNotifyPrivilege", 23, true},       {u"SeUndockPrivilege", 25, true},
    {u"SeImpersonatePrivilege", 29, false},       {u"SeIncreaseWorkingSetPrivilege", 33, true},
    {u"SeTimeZonePrivilege", 34, true}};

char16_t Folded(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool SameName(const char16_t* a, const char16_t* b) {
  for (; *a && *b; ++a, ++b)
    if (Folded(*a) != Folded(*b)) return false;
  return *a == *b;
}

struct Enabled {
  std::mutex lock;
  std::set<DWORD> numbers;
};

Enabled& TheEnabled() {
  static Enabled* enabled = new Enabled;
  return *enabled;
}

}  // namespace

bool PrivilegeNumber(const char16_t* name, DWORD* number) {
  for (const Privilege& p : kPrivileges)
    if (SameName(p.name, name)) {
      *number = p.number;
      return true;
    }
  return false;
}

bool HoldsPrivilege(DWORD number) {
  const auto found = std::find_if(std::begin(kPrivileges), std::end(kPrivileges),
                                  [number](const Privilege& p) { return p.number == number; });
  return found != std::end(kPrivileges) && (found->everyone || UserIsAdministrator());
}

bool PrivilegeEnabled(DWORD number) {
  Enabled& e = TheEnabled();
  std::lock_guard<std::mutex> guard(e.lock);
  return e.numbers.count(number) != 0;
}

bool SetPrivilegeEnabled(DWORD number, bool enable) {
  Enabled& e = TheEnabled();
  std::lock_guard<std::mutex> guard(e.lock);
  const bool was = e.numbers.count(number) != 0;
  if (enable) e.numbers.insert(number);
  else e.numbers.erase(number);
  return was;
}

std::vector<DWORD> EnabledPrivileges() {
  Enabled& e = TheEnabled();
  std::lock_guard<std::mutex> guard(e.lock);
  return std::vector<DWORD>(e.numbers.begin(), e.numbers.end());
}

}  // namespace zx::security

using namespace zx::security;

BOOL LookupPrivilegeValueW(LPCWSTR systemName, LPCWSTR name, PLUID luid) {
  if (!name || !luid) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (systemName && *systemName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD number = 0;
  if (!PrivilegeNumber(name, &number)) {
    SetLastError(ERROR_NO_SUCH_PRIVILEGE);
    return FALSE;
  }
  *luid = LUID{number, 0};
  return TRUE;
}

BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState, DWORD bufferLength,
                           PTOKEN_PRIVILEGES previousState, PDWORD returnLength) {
  std::vector<std::vector<BYTE>> sids;
  bool impersonation = false;
  if (!TokenSids(token, sids, impersonation)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!disableAll && !newState) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // The changes first, so that a short buffer for the previous state changes nothing.
  std::vector<std::pair<DWORD, bool>> changes;
  bool notAll = false;
  if (disableAll) {
    for (DWORD number : EnabledPrivileges()) changes.emplace_back(number, false);
  } else {
    for (DWORD i = 0; i < newState->PrivilegeCount; ++i) {
      const LUID_AND_ATTRIBUTES& p = newState->Privileges[i];
      if (p.Luid.HighPart != 0 || !HoldsPrivilege(p.Luid.LowPart)) {
        notAll = true;
        continue;
      }
      changes.emplace_back(p.Luid.LowPart, (p.Attributes & SE_PRIVILEGE_ENABLED) != 0);
    }
  }
  const DWORD needed = static_cast<DWORD>(offsetof(TOKEN_PRIVILEGES, Privileges) +
                                          std::max<std::size_t>(changes.size(), 1) * sizeof(LUID_AND_ATTRIBUTES));
  if (previousState) {
    if (returnLength) *returnLength = needed;
    if (bufferLength < needed) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return FALSE;
    }
    previousState->PrivilegeCount = 0;
  }
  for (const auto& [number, enable] : changes) {
    const bool was = SetPrivilegeEnabled(number, enable);
    if (previousState && was != enable)
      previousState->Privileges[previousState->PrivilegeCount++] =
          LUID_AND_ATTRIBUTES{LUID{number, 0}, was ? SE_PRIVILEGE_ENABLED : 0u};
  }
  SetLastError(notAll ? ERROR_NOT_ALL_ASSIGNED : ERROR_SUCCESS);
  return TRUE;
}
