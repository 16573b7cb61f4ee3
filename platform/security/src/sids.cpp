// Security identifiers.
#include <cstdlib>
#include <cstring>

#include "errhandlingapi.h"
#include "securitybaseapi.h"
#include "zx/security.h"

namespace zx::security {

DWORD SidLength(BYTE subAuthorities) { return 8 + 4u * subAuthorities; }

std::vector<BYTE> MakeSid(const BYTE (&authority)[6], std::initializer_list<DWORD> subAuthorities) {
  std::vector<BYTE> bytes(SidLength(static_cast<BYTE>(subAuthorities.size())), 0);
  bytes[0] = 1;
  bytes[1] = static_cast<BYTE>(subAuthorities.size());
  std::memcpy(&bytes[2], authority, 6);
  std::size_t at = 8;
  for (DWORD value : subAuthorities) {
    std::memcpy(&bytes[at], &value, 4);
    at += 4;
  }
  return bytes;
}

}  // namespace zx::security

BOOL AllocateAndInitializeSid(PSID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD s0, DWORD s1,
                              DWORD s2, DWORD s3, DWORD s4, DWORD s5, DWORD s6, DWORD s7, PSID* sid) {
  if (!authority || !sid || count > 8) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD values[8] = {s0, s1, s2, s3, s4, s5, s6, s7};
  auto* bytes = static_cast<BYTE*>(std::calloc(1, zx::security::SidLength(count)));
  if (!bytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  bytes[0] = 1;
  bytes[1] = count;
  std::memcpy(bytes + 2, authority->Value, 6);
  std::memcpy(bytes + 8, values, 4u * count);
  *sid = bytes;
  return TRUE;
}

PVOID FreeSid(PSID sid) {
  std::free(sid);
  return nullptr;
}

BOOL IsValidSid(PSID sid) {
  const auto* bytes = static_cast<const BYTE*>(sid);
  return bytes && bytes[0] == 1 && bytes[1] <= 15;
}

DWORD GetLengthSid(PSID sid) {
  return IsValidSid(sid) ? zx::security::SidLength(static_cast<const BYTE*>(sid)[1]) : 0;
}

BOOL EqualSid(PSID a, PSID b) {
  if (!IsValidSid(a) || !IsValidSid(b)) return FALSE;
  const DWORD length = GetLengthSid(a);
  return length == GetLengthSid(b) && std::memcmp(a, b, length) == 0;
}

BOOL CopySid(DWORD destinationLength, PSID destination, PSID source) {
  if (!IsValidSid(source) || destination == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD length = GetLengthSid(source);
  if (destinationLength < length) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(destination, source, length);
  return TRUE;
}
