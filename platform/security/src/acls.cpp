// Access-control lists, security descriptors and the access check.
#include <cstring>

#include "descriptorform.h"
#include "errhandlingapi.h"
#include "securitybaseapi.h"
#include "zx/security.h"

namespace {

constexpr DWORD kMaximumAllowed = 0x02000000;

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

BOOL AddAce(PACL acl, BYTE type, DWORD flags, DWORD mask, PSID sid) {
  if ((flags & ~VALID_INHERIT_FLAGS) != 0) return Fail(ERROR_INVALID_FLAGS);
  if (!acl || !IsValidSid(sid)) return Fail(ERROR_INVALID_PARAMETER);
  // Walk to the end of the entries already there.
  auto* base = reinterpret_cast<BYTE*>(acl);
  DWORD used = sizeof(ACL);
  for (WORD i = 0; i < acl->AceCount; ++i) {
    const auto* header = reinterpret_cast<const ACE_HEADER*>(base + used);
    if (header->AceSize < sizeof(ACE_HEADER) || used + header->AceSize > acl->AclSize)
      return Fail(ERROR_INVALID_ACL);
    used += header->AceSize;
  }
  const DWORD sidLength = GetLengthSid(sid);
  const DWORD aceSize = sizeof(ACE_HEADER) + sizeof(DWORD) + sidLength;
  if (used + aceSize > acl->AclSize) return Fail(ERROR_ALLOTTED_SPACE_EXCEEDED);
  ACE_HEADER header{type, static_cast<BYTE>(flags), static_cast<WORD>(aceSize)};
  std::memcpy(base + used, &header, sizeof(header));
  std::memcpy(base + used + sizeof(header), &mask, sizeof(mask));
  std::memcpy(base + used + sizeof(header) + sizeof(mask), sid, sidLength);
  ++acl->AceCount;
  return TRUE;
}

SECURITY_DESCRIPTOR* Descriptor(PSECURITY_DESCRIPTOR descriptor) {
  auto* sd = static_cast<SECURITY_DESCRIPTOR*>(descriptor);
  // The setters take the absolute form only.
  const bool absolute = sd && sd->Revision == SECURITY_DESCRIPTOR_REVISION && (sd->Control & SE_SELF_RELATIVE) == 0;
  return absolute ? sd : nullptr;
}

bool TokenHolds(const std::vector<std::vector<BYTE>>& sids, const BYTE* sid, DWORD length) {
  for (const auto& held : sids)
    if (held.size() == length && std::memcmp(held.data(), sid, length) == 0) return true;
  return false;
}

}  // namespace

BOOL InitializeAcl(PACL acl, DWORD length, DWORD revision) {
  if (!acl || length < sizeof(ACL) || length > 0xFFFF || revision != ACL_REVISION)
    return Fail(ERROR_INVALID_PARAMETER);
  std::memset(acl, 0, sizeof(ACL));
  acl->AclRevision = static_cast<BYTE>(revision);
  acl->AclSize = static_cast<WORD>(length);
  return TRUE;
}

BOOL AddAccessAllowedAce(PACL acl, DWORD, DWORD mask, PSID sid) {
  return AddAce(acl, ACCESS_ALLOWED_ACE_TYPE, 0, mask, sid);
}

BOOL AddAccessDeniedAce(PACL acl, DWORD, DWORD mask, PSID sid) {
  return AddAce(acl, ACCESS_DENIED_ACE_TYPE, 0, mask, sid);
}

BOOL AddAccessAllowedAceEx(PACL acl, DWORD, DWORD flags, DWORD mask, PSID sid) {
  return AddAce(acl, ACCESS_ALLOWED_ACE_TYPE, flags, mask, sid);
}

BOOL AddAccessDeniedAceEx(PACL acl, DWORD, DWORD flags, DWORD mask, PSID sid) {
  return AddAce(acl, ACCESS_DENIED_ACE_TYPE, flags, mask, sid);
}

BOOL IsValidAcl(PACL acl) {
  std::vector<zx::security::Ace> aces;
  return acl != nullptr && zx::security::ReadAcl(acl, acl->AclSize, aces);
}

BOOL GetAce(PACL acl, DWORD index, LPVOID* ace) {
  if (!IsValidAcl(acl) || ace == nullptr || index >= acl->AceCount) return Fail(ERROR_INVALID_PARAMETER);
  auto* at = reinterpret_cast<BYTE*>(acl) + sizeof(ACL);
  for (DWORD i = 0; i < index; ++i) at += reinterpret_cast<ACE_HEADER*>(at)->AceSize;
  *ace = at;
  return TRUE;
}

BOOL InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision) {
  if (!descriptor || revision != SECURITY_DESCRIPTOR_REVISION) return Fail(ERROR_INVALID_PARAMETER);
  auto* sd = static_cast<SECURITY_DESCRIPTOR*>(descriptor);
  *sd = SECURITY_DESCRIPTOR{};
  sd->Revision = SECURITY_DESCRIPTOR_REVISION;
  return TRUE;
}

BOOL SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL present, PACL dacl, BOOL) {
  SECURITY_DESCRIPTOR* sd = Descriptor(descriptor);
  if (!sd) return Fail(ERROR_INVALID_SECURITY_DESCR);
  sd->Control = present ? (sd->Control | SE_DACL_PRESENT) : (sd->Control & ~SE_DACL_PRESENT);
  sd->Dacl = present ? dacl : nullptr;
  return TRUE;
}

BOOL SetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID owner, BOOL) {
  SECURITY_DESCRIPTOR* sd = Descriptor(descriptor);
  if (!sd) return Fail(ERROR_INVALID_SECURITY_DESCR);
  sd->Owner = owner;
  return TRUE;
}

BOOL SetSecurityDescriptorGroup(PSECURITY_DESCRIPTOR descriptor, PSID group, BOOL) {
  SECURITY_DESCRIPTOR* sd = Descriptor(descriptor);
  if (!sd) return Fail(ERROR_INVALID_SECURITY_DESCR);
  sd->Group = group;
  return TRUE;
}

BOOL IsValidSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor) {
  zx::security::DescriptorView view;
  if (!zx::security::ViewDescriptor(descriptor, view)) return FALSE;
  if (view.owner && !IsValidSid(view.owner)) return FALSE;
  if (view.group && !IsValidSid(view.group)) return FALSE;
  return !view.dacl || IsValidAcl(view.dacl);
}

void MapGenericMask(PDWORD accessMask, PGENERIC_MAPPING mapping) {
  if (!accessMask || !mapping) return;
  DWORD mask = *accessMask;
  if (mask & GENERIC_READ) mask |= mapping->GenericRead;
  if (mask & GENERIC_WRITE) mask |= mapping->GenericWrite;
  if (mask & GENERIC_EXECUTE) mask |= mapping->GenericExecute;
  if (mask & GENERIC_ALL) mask |= mapping->GenericAll;
  *accessMask = mask & ~(GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE | GENERIC_ALL);
}

BOOL AccessCheck(PSECURITY_DESCRIPTOR descriptor, HANDLE clientToken, DWORD desiredAccess,
                 PGENERIC_MAPPING mapping, PPRIVILEGE_SET, LPDWORD, LPDWORD grantedAccess,
                 LPBOOL accessStatus) {
  if (!IsValidSecurityDescriptor(descriptor) || !grantedAccess || !accessStatus)
    return Fail(ERROR_INVALID_SECURITY_DESCR);
  std::vector<std::vector<BYTE>> sids;
  bool impersonation = false;
  if (!zx::security::TokenSids(clientToken, sids, impersonation)) return Fail(ERROR_INVALID_HANDLE);
  if (!impersonation) return Fail(ERROR_NO_IMPERSONATION_TOKEN);
  DWORD desired = desiredAccess;
  MapGenericMask(&desired, mapping);
  const bool maximum = (desired & kMaximumAllowed) != 0;
  desired &= ~kMaximumAllowed;

  zx::security::DescriptorView view;
  zx::security::ViewDescriptor(descriptor, view);
  DWORD granted = 0, denied = 0;
  if (!view.dacl) {
    granted = maximum ? 0xFFFFFFFFu : desired;  // no list: everything is allowed
  } else {
    std::vector<zx::security::Ace> aces;
    zx::security::ReadAcl(view.dacl, view.dacl->AclSize, aces);
    for (const auto& ace : aces) {
      // An inherit-only entry is for the object's children, not for the object.
      if ((ace.flags & INHERIT_ONLY_ACE) != 0 ||
          !TokenHolds(sids, ace.sid.data(), static_cast<DWORD>(ace.sid.size())))
        continue;
      if (ace.type == ACCESS_DENIED_ACE_TYPE) denied |= ace.mask & ~granted;
      if (ace.type == ACCESS_ALLOWED_ACE_TYPE) granted |= ace.mask & ~denied;
    }
  }
  *grantedAccess = maximum ? granted : (granted & desired);
  *accessStatus = maximum ? (granted != 0 && (granted & desired) == desired)
                          : ((granted & desired) == desired && (denied & desired) == 0);
  if (!*accessStatus) {
    *grantedAccess = 0;
    SetLastError(ERROR_ACCESS_DENIED);
  }
  return TRUE;
}
