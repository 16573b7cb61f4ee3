// Accounts: the host's users, the well-known SIDs and the built-in groups; LookupAccountName,
// LookupAccountSid and the domain-controller query.
#include "accounts.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "errhandlingapi.h"
#include "lmaccess.h"
#include "stringapiset.h"
#include "sysinfoapi.h"
#include "zx/casefold.h"
#include "zx/security.h"

namespace zx::security {
namespace {

constexpr BYTE kNtAuthority[6] = {0, 0, 0, 0, 0, 5};
constexpr BYTE kWorldAuthority[6] = {0, 0, 0, 0, 0, 1};
constexpr DWORD kFirstUserRid = 1000;

// The machine's name, as GetComputerNameW answers it.
std::u16string ComputerName() {
  WCHAR name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  return GetComputerNameW(name, &size) ? std::u16string(name, size) : std::u16string();
}

const std::vector<Account>& WellKnownAccounts() {
  static const std::vector<Account> accounts = {
      {u"Everyone", u"", EveryoneSid(), SidTypeWellKnownGroup},
      {u"SYSTEM", u"NT AUTHORITY", SystemSid(), SidTypeWellKnownGroup},
      {u"Administrators", u"BUILTIN", AdministratorsSid(), SidTypeAlias},
      {u"Users", u"BUILTIN", UsersSid(), SidTypeAlias},
  };
  return accounts;
}

std::optional<Account> HostUser(const passwd& entry) {
  return Account{FromUtf8(entry.pw_name), ComputerName(), UserSid(entry.pw_uid), SidTypeUser};
}

std::optional<Account> HostUserByName(const std::u16string& name) {
  passwd entry{};
  passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (::getpwnam_r(ToUtf8(name).c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
    return std::nullopt;
  return HostUser(entry);
}

std::optional<Account> HostUserById(uid_t uid) {
  passwd entry{};
  passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return std::nullopt;
  return HostUser(entry);
}

// The uid of a host account's SID.
std::optional<uid_t> UidOf(const Sid& sid) {
  const Sid prefix = UserSid(0);
  if (sid.size() != prefix.size() || std::memcmp(sid.data(), prefix.data(), sid.size() - 4) != 0)
    return std::nullopt;
  DWORD rid;
  std::memcpy(&rid, sid.data() + sid.size() - 4, 4);
  if (rid < kFirstUserRid) return std::nullopt;
  return static_cast<uid_t>(rid - kFirstUserRid);
}

bool CopyText(const std::u16string& text, LPWSTR buffer, LPDWORD size, bool& fits) {
  if (size == nullptr) return false;
  const DWORD needed = static_cast<DWORD>(text.size() + 1);
  fits = fits && buffer != nullptr && *size >= needed;
  if (buffer != nullptr && *size >= needed) {
    std::memcpy(buffer, text.c_str(), needed * sizeof(WCHAR));
    *size = needed - 1;
  } else {
    *size = needed;
  }
  return true;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

bool LocalSystem(LPCWSTR systemName) { return systemName == nullptr || *systemName == 0; }

}  // namespace

Sid EveryoneSid() { return MakeSid(kWorldAuthority, {SECURITY_WORLD_RID}); }
Sid SystemSid() { return MakeSid(kNtAuthority, {SECURITY_LOCAL_SYSTEM_RID}); }
Sid AdministratorsSid() {
  return MakeSid(kNtAuthority, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS});
}
Sid UsersSid() { return MakeSid(kNtAuthority, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS}); }
Sid UserSid(unsigned uid) { return MakeSid(kNtAuthority, {21, 0, 0, 0, kFirstUserRid + uid}); }
Sid CurrentUserSid() { return ProcessTokenSids().front(); }

bool FindAccount(std::u16string_view text, Account& account) {
  const std::size_t cut = text.find(u'\\');
  const std::u16string name(cut == std::u16string_view::npos ? text : text.substr(cut + 1));
  const std::optional<std::u16string> domain =
      cut == std::u16string_view::npos ? std::nullopt : std::optional<std::u16string>(text.substr(0, cut));
  if (name.empty()) return false;
  auto matches = [&](const Account& candidate) {
    return EqualNoCase(candidate.name.c_str(), name.c_str()) &&
           (!domain || EqualNoCase(candidate.domain.c_str(), domain->c_str()));
  };
  for (const Account& candidate : WellKnownAccounts()) {
    if (matches(candidate)) {
      account = candidate;
      return true;
    }
  }
  const std::optional<Account> user = HostUserByName(name);
  if (!user || !matches(*user)) return false;
  account = *user;
  return true;
}

bool FindAccount(const Sid& sid, Account& account) {
  for (const Account& candidate : WellKnownAccounts()) {
    if (candidate.sid == sid) {
      account = candidate;
      return true;
    }
  }
  const std::optional<uid_t> uid = UidOf(sid);
  const std::optional<Account> user = uid ? HostUserById(*uid) : std::nullopt;
  if (!user) return false;
  account = *user;
  return true;
}

std::vector<Sid> Memberships(const Sid& sid) {
  if (sid == CurrentUserSid()) return ProcessTokenSids();
  std::vector<Sid> sids = {sid, EveryoneSid()};
  const std::optional<uid_t> uid = UidOf(sid);
  if (uid) sids.push_back(UsersSid());
  if (uid && *uid == 0) sids.push_back(AdministratorsSid());
  return sids;
}

std::u16string FromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::u16string wide(text.size(), u'\0');
  wide.resize(
      static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), size)));
  return wide;
}

std::string ToUtf8(std::u16string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::string narrow(text.size() * 3, '\0');
  narrow.resize(static_cast<std::size_t>(
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), size * 3, nullptr, nullptr)));
  return narrow;
}

}  // namespace zx::security

using zx::security::Account;
using zx::security::CopyText;
using zx::security::Fail;
using zx::security::LocalSystem;

BOOL LookupAccountNameW(LPCWSTR systemName, LPCWSTR accountName, PSID sid, LPDWORD sidSize, LPWSTR domainName,
                        LPDWORD domainSize, PSID_NAME_USE use) {
  if (accountName == nullptr || sidSize == nullptr || domainSize == nullptr || use == nullptr)
    return Fail(ERROR_INVALID_PARAMETER);
  if (!LocalSystem(systemName)) return Fail(RPC_S_SERVER_UNAVAILABLE);
  Account account;
  if (!zx::security::FindAccount(accountName, account)) return Fail(ERROR_NONE_MAPPED);
  const DWORD needed = static_cast<DWORD>(account.sid.size());
  bool fits = sid != nullptr && *sidSize >= needed;
  if (fits) std::memcpy(sid, account.sid.data(), needed);
  *sidSize = needed;
  CopyText(account.domain, domainName, domainSize, fits);
  if (!fits) return Fail(ERROR_INSUFFICIENT_BUFFER);
  *use = account.use;
  return TRUE;
}

BOOL LookupAccountSidW(LPCWSTR systemName, PSID sid, LPWSTR name, LPDWORD nameSize, LPWSTR domainName,
                       LPDWORD domainSize, PSID_NAME_USE use) {
  if (!IsValidSid(sid) || nameSize == nullptr || domainSize == nullptr || use == nullptr)
    return Fail(ERROR_INVALID_PARAMETER);
  if (!LocalSystem(systemName)) return Fail(RPC_S_SERVER_UNAVAILABLE);
  Account account;
  const auto* bytes = static_cast<const BYTE*>(sid);
  if (!zx::security::FindAccount(zx::security::Sid(bytes, bytes + GetLengthSid(sid)), account))
    return Fail(ERROR_NONE_MAPPED);
  bool fits = true;
  CopyText(account.name, name, nameSize, fits);
  CopyText(account.domain, domainName, domainSize, fits);
  if (!fits) return Fail(ERROR_INSUFFICIENT_BUFFER);
  *use = account.use;
  return TRUE;
}

NET_API_STATUS NetGetDCName(LPCWSTR, LPCWSTR, LPBYTE* buffer) {
  if (buffer != nullptr) *buffer = nullptr;
  return NERR_DCNotFound;
}
