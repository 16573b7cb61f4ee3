// The machine's accounts and well-known SIDs, and the groups an account is in.
// Component-internal.
#pragma once
#include <string>
#include <string_view>

#include "descriptorform.h"

namespace zx::security {

struct Account {
  std::u16string name;
  std::u16string domain;
  Sid sid;
  SID_NAME_USE use = SidTypeUser;
};

Sid EveryoneSid();
Sid SystemSid();
Sid AdministratorsSid();
Sid UsersSid();
// A host account's SID: S-1-5-21-0-0-0-<1000 + uid>.
Sid UserSid(unsigned uid);
// The process's user.
Sid CurrentUserSid();

// "name" or "DOMAIN\name", without regard to case.
bool FindAccount(std::u16string_view text, Account& account);
bool FindAccount(const Sid& sid, Account& account);
// The SID itself and the groups it belongs to.
std::vector<Sid> Memberships(const Sid& sid);

// UTF-16 <-> UTF-8 at the host's edges.
std::u16string FromUtf8(std::string_view text);
std::string ToUtf8(std::u16string_view text);

}  // namespace zx::security
