// Access tokens: the process's user and groups.
#include <unistd.h>

#include <cstddef>
#include <cstring>

#include "errhandlingapi.h"
#include "securitybaseapi.h"
#include "zx/handles.h"
#include "zx/machine.h"
#include "zx/security.h"

namespace zx::security {
namespace {

constexpr BYTE kNtAuthority[6] = {0, 0, 0, 0, 0, 5};
constexpr BYTE kWorldAuthority[6] = {0, 0, 0, 0, 0, 1};

struct Token : KernelObject {
  std::vector<std::vector<BYTE>> sids;
  bool impersonation = false;
};

}  // namespace

bool UserIsAdministrator() {
  const std::string value = machine::ProfileValue("Machine", "Administrator", "");
  if (value == "1") return true;
  if (value == "0") return false;
  return ::geteuid() == 0;
}

std::vector<std::vector<BYTE>> ProcessTokenSids() {
  std::vector<std::vector<BYTE>> sids;
  // The user: S-1-5-21-0-0-0-<1000 + uid>.
  sids.push_back(MakeSid(kNtAuthority, {21, 0, 0, 0, 1000 + static_cast<DWORD>(::getuid())}));
  sids.push_back(MakeSid(kWorldAuthority, {SECURITY_WORLD_RID}));
  sids.push_back(MakeSid(kNtAuthority, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS}));
  if (UserIsAdministrator())
    sids.push_back(MakeSid(kNtAuthority, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS}));
  return sids;
}

std::shared_ptr<Token> TokenOf(HANDLE handle) { return ReferenceHandleAs<Token>(handle); }

bool TokenSids(HANDLE handle, std::vector<std::vector<BYTE>>& sids, bool& impersonation) {
  auto token = TokenOf(handle);
  if (!token) return false;
  sids = token->sids;
  impersonation = token->impersonation;
  return true;
}

}  // namespace zx::security

using zx::security::Token;

BOOL OpenProcessToken(HANDLE, DWORD, PHANDLE token) {
  if (!token) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto object = std::make_shared<Token>();
  object->sids = zx::security::ProcessTokenSids();
  *token = zx::InsertHandle(object);
  return TRUE;
}

BOOL OpenThreadToken(HANDLE, DWORD, BOOL, PHANDLE) {
  // Threads never impersonate here.
  SetLastError(ERROR_NO_TOKEN);
  return FALSE;
}

BOOL DuplicateToken(HANDLE existing, SECURITY_IMPERSONATION_LEVEL level, PHANDLE duplicate) {
  auto source = zx::security::TokenOf(existing);
  if (!source || !duplicate) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  auto copy = std::make_shared<Token>(*source);
  copy->impersonation = level >= SecurityIdentification;
  *duplicate = zx::InsertHandle(copy);
  return TRUE;
}

BOOL CheckTokenMembership(HANDLE token, PSID sid, PBOOL isMember) {
  if (!IsValidSid(sid) || !isMember) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // A null token means the calling thread's, which is the process's here.
  std::vector<std::vector<BYTE>> sids = zx::security::ProcessTokenSids();
  bool impersonation = false;
  if (token && !zx::security::TokenSids(token, sids, impersonation)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *isMember = FALSE;
  for (std::size_t i = 1; i < sids.size(); ++i)
    if (sids[i].size() == GetLengthSid(sid) && std::memcmp(sids[i].data(), sid, sids[i].size()) == 0)
      *isMember = TRUE;
  return TRUE;
}

BOOL GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS informationClass, LPVOID information,
                         DWORD informationLength, PDWORD returnLength) {
  std::vector<std::vector<BYTE>> sids;
  bool impersonation = false;
  if (!zx::security::TokenSids(token, sids, impersonation)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if ((informationClass != TokenUser && informationClass != TokenGroups) || returnLength == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // The user is the first SID, the groups the others; the SIDs follow the entries.
  const std::size_t first = informationClass == TokenUser ? 0 : 1;
  const std::size_t count = informationClass == TokenUser ? 1 : sids.size() - 1;
  const std::size_t entries = informationClass == TokenUser
                                  ? sizeof(TOKEN_USER)
                                  : offsetof(TOKEN_GROUPS, Groups) + count * sizeof(SID_AND_ATTRIBUTES);
  std::size_t needed = entries;
  for (std::size_t i = first; i < first + count; ++i) needed += sids[i].size();
  *returnLength = static_cast<DWORD>(needed);
  if (information == nullptr || informationLength < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  auto* base = static_cast<BYTE*>(information);
  auto* slots = reinterpret_cast<SID_AND_ATTRIBUTES*>(
      base + (informationClass == TokenUser ? offsetof(TOKEN_USER, User) : offsetof(TOKEN_GROUPS, Groups)));
  if (informationClass == TokenGroups)
    static_cast<TOKEN_GROUPS*>(information)->GroupCount = static_cast<DWORD>(count);
  std::size_t at = entries;
  for (std::size_t i = 0; i < count; ++i) {
    const std::vector<BYTE>& sid = sids[first + i];
    std::memcpy(base + at, sid.data(), sid.size());
    slots[i].Sid = base + at;
    const DWORD groupAttributes = SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED;
    slots[i].Attributes = informationClass == TokenUser ? 0 : groupAttributes;
    at += sid.size();
  }
  return TRUE;
}
