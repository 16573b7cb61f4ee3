// Access-control lists from explicit entries, and what a list gives a trustee.
#include <algorithm>
#include <cstring>

#include "accounts.h"
#include "aclapi.h"
#include "heapapi.h"

namespace {

using zx::security::Ace;
using zx::security::Sid;

constexpr BYTE kInheritanceFlags =
    OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE | NO_PROPAGATE_INHERIT_ACE | INHERIT_ONLY_ACE;

DWORD TrusteeSid(const TRUSTEE_W& trustee, Sid& sid) {
  if (trustee.pMultipleTrustee != nullptr || trustee.MultipleTrusteeOperation != NO_MULTIPLE_TRUSTEE ||
      trustee.ptstrName == nullptr)
    return ERROR_INVALID_PARAMETER;
  if (trustee.TrusteeForm == TRUSTEE_IS_SID) {
    if (!IsValidSid(trustee.ptstrName)) return ERROR_INVALID_SID;
    const auto* bytes = reinterpret_cast<const BYTE*>(trustee.ptstrName);
    sid.assign(bytes, bytes + GetLengthSid(trustee.ptstrName));
    return ERROR_SUCCESS;
  }
  if (trustee.TrusteeForm != TRUSTEE_IS_NAME) return ERROR_INVALID_PARAMETER;
  zx::security::Account account;
  if (!zx::security::FindAccount(trustee.ptstrName, account)) return ERROR_NONE_MAPPED;
  sid = account.sid;
  return ERROR_SUCCESS;
}

bool ReadList(PACL acl, std::vector<Ace>& aces) {
  aces.clear();
  return acl == nullptr || zx::security::ReadAcl(acl, acl->AclSize, aces);
}

// Adds mask to the explicit entry of that kind, trustee and inheritance, or appends one.
void AddRights(std::vector<Ace>& aces, BYTE type, const Sid& sid, BYTE flags, DWORD mask) {
  for (Ace& ace : aces) {
    if (ace.type == type && ace.flags == flags && ace.sid == sid) {
      ace.mask |= mask;
      return;
    }
  }
  aces.push_back(Ace{type, flags, mask, sid});
}

void RemoveTrustee(std::vector<Ace>& aces, const Sid& sid) {
  std::erase_if(aces, [&](const Ace& ace) { return ace.sid == sid; });
}

}  // namespace

DWORD SetEntriesInAclW(ULONG count, PEXPLICIT_ACCESS_W entries, PACL oldAcl, PACL* newAcl) {
  if (newAcl == nullptr || (count != 0 && entries == nullptr)) return ERROR_INVALID_PARAMETER;
  std::vector<Ace> old;
  if (!ReadList(oldAcl, old)) return ERROR_INVALID_ACL;
  std::vector<Ace> explicitEntries, inherited;
  for (Ace& ace : old)
    ((ace.flags & INHERITED_ACE) != 0 ? inherited : explicitEntries).push_back(std::move(ace));
  for (ULONG i = 0; i < count; ++i) {
    const EXPLICIT_ACCESS_W& entry = entries[i];
    if (entry.grfAccessMode == NOT_USED_ACCESS) continue;
    Sid sid;
    if (const DWORD error = TrusteeSid(entry.Trustee, sid); error != ERROR_SUCCESS) return error;
    const BYTE flags = static_cast<BYTE>(entry.grfInheritance & kInheritanceFlags);
    switch (entry.grfAccessMode) {
      case GRANT_ACCESS:
        AddRights(explicitEntries, ACCESS_ALLOWED_ACE_TYPE, sid, flags, entry.grfAccessPermissions);
        break;
      case SET_ACCESS:
        RemoveTrustee(explicitEntries, sid);
        explicitEntries.push_back(Ace{ACCESS_ALLOWED_ACE_TYPE, flags, entry.grfAccessPermissions, sid});
        break;
      case DENY_ACCESS:
        AddRights(explicitEntries, ACCESS_DENIED_ACE_TYPE, sid, flags, entry.grfAccessPermissions);
        break;
      case REVOKE_ACCESS:
        RemoveTrustee(explicitEntries, sid);
        break;
      default:
        return ERROR_INVALID_PARAMETER;
    }
  }
  std::vector<Ace> result;
  for (BYTE type : {BYTE{ACCESS_DENIED_ACE_TYPE}, BYTE{ACCESS_ALLOWED_ACE_TYPE}})
    for (const Ace& ace : explicitEntries)
      if (ace.type == type) result.push_back(ace);
  result.insert(result.end(), inherited.begin(), inherited.end());
  const std::vector<BYTE> bytes = zx::security::AclBytes(result);
  if (bytes.size() > 0xFFFF) return ERROR_ALLOTTED_SPACE_EXCEEDED;
  *newAcl = static_cast<PACL>(zx::security::LocalCopy(bytes));
  return *newAcl != nullptr ? ERROR_SUCCESS : ERROR_NOT_ENOUGH_MEMORY;
}

DWORD GetExplicitEntriesFromAclW(PACL acl, PULONG count, PEXPLICIT_ACCESS_W* entries) {
  if (count == nullptr || entries == nullptr) return ERROR_INVALID_PARAMETER;
  std::vector<Ace> aces;
  if (!ReadList(acl, aces)) return ERROR_INVALID_ACL;
  std::erase_if(aces, [](const Ace& ace) { return (ace.flags & INHERITED_ACE) != 0; });
  *count = 0;
  *entries = nullptr;
  if (aces.empty()) return ERROR_SUCCESS;
  // One block: the entries, then the SIDs their trustees point at.
  std::size_t size = aces.size() * sizeof(EXPLICIT_ACCESS_W);
  for (const Ace& ace : aces) size += ace.sid.size();
  auto* block = static_cast<BYTE*>(LocalAlloc(LPTR, size));
  if (block == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
  auto* out = reinterpret_cast<EXPLICIT_ACCESS_W*>(block);
  BYTE* sids = block + aces.size() * sizeof(EXPLICIT_ACCESS_W);
  for (const Ace& ace : aces) {
    std::memcpy(sids, ace.sid.data(), ace.sid.size());
    out->grfAccessPermissions = ace.mask;
    out->grfAccessMode = ace.type == ACCESS_DENIED_ACE_TYPE ? DENY_ACCESS : GRANT_ACCESS;
    out->grfInheritance = ace.flags & kInheritanceFlags;
    BuildTrusteeWithSidW(&out->Trustee, sids);
    sids += ace.sid.size();
    ++out;
  }
  *count = static_cast<ULONG>(aces.size());
  *entries = reinterpret_cast<EXPLICIT_ACCESS_W*>(block);
  return ERROR_SUCCESS;
}

DWORD GetEffectiveRightsFromAclW(PACL acl, PTRUSTEE_W trustee, LPDWORD accessRights) {
  if (trustee == nullptr || accessRights == nullptr) return ERROR_INVALID_PARAMETER;
  Sid sid;
  if (const DWORD error = TrusteeSid(*trustee, sid); error != ERROR_SUCCESS) return error;
  if (acl == nullptr) {
    *accessRights = STANDARD_RIGHTS_ALL | SPECIFIC_RIGHTS_ALL;
    return ERROR_SUCCESS;
  }
  std::vector<Ace> aces;
  if (!ReadList(acl, aces)) return ERROR_INVALID_ACL;
  const std::vector<Sid> held = zx::security::Memberships(sid);
  DWORD granted = 0, denied = 0;
  for (const Ace& ace : aces) {
    if ((ace.flags & INHERIT_ONLY_ACE) != 0 || std::find(held.begin(), held.end(), ace.sid) == held.end())
      continue;
    if (ace.type == ACCESS_DENIED_ACE_TYPE)
      denied |= ace.mask & ~granted;
    else
      granted |= ace.mask & ~denied;
  }
  *accessRights = granted;
  return ERROR_SUCCESS;
}

void BuildTrusteeWithSidW(PTRUSTEE_W trustee, PSID sid) {
  if (trustee == nullptr) return;
  *trustee =
      TRUSTEE_W{nullptr, NO_MULTIPLE_TRUSTEE, TRUSTEE_IS_SID, TRUSTEE_IS_UNKNOWN, static_cast<LPWSTR>(sid)};
}
