// GetUserNameW from the account of the process's user.
#include <algorithm>

#include "accounts.h"
#include "errhandlingapi.h"
#include "winusername.h"

BOOL GetUserNameW(LPWSTR buffer, LPDWORD size) {
  if (!size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  zx::security::Account account;
  if (!zx::security::FindAccount(zx::security::CurrentUserSid(), account)) {
    SetLastError(ERROR_NONE_MAPPED);
    return FALSE;
  }
  const auto needed = static_cast<DWORD>(account.name.size() + 1);
  if (!buffer || *size < needed) {
    *size = needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::copy(account.name.begin(), account.name.end(), buffer);
  buffer[account.name.size()] = 0;
  *size = needed;
  return TRUE;
}
