// The security of files, folders and registry keys, and building access-control lists from
// explicit entries.
//
// Files and folders (SE_FILE_OBJECT, Windows paths of the machine): an object keeps its own
// security descriptor (owner, group, and the access entries set on it, in self-relative form)
// in the user extended attribute "user.zx.security" of its host file; moving the file takes
// it along, copying does not (a copy has the security its new folder gives it). Registry
// keys (SE_REGISTRY_KEY, "CLASSES_ROOT\...", "CURRENT_USER\...", "MACHINE\...",
// "USERS\...") keep theirs in the hive with the key (zx/keysecurity.h).
//
// Reading gives the descriptor as Windows would: the object's own parts; an owner of its own
// or the default one (a file's host owner as S-1-5-21-0-0-0-<1000 + uid>; for keys the user
// in HKCU, Administrators elsewhere); and a DACL made of the object's explicit entries, then
// the entries its folders or parent keys pass down (OBJECT_INHERIT_ACE / CONTAINER_INHERIT_ACE,
// nearest first, marked INHERITED_ACE), then the entries every object inherits from the top:
// for files those of the host permission bits (owner, Everyone, and Administrators with full
// control), for keys Administrators and SYSTEM with full control and, in HKCU, the user, or
// in HKLM and HKU Users with KEY_READ. A protected DACL inherits nothing. Writing a DACL
// stores its explicit entries (inherited ones are dropped, generic rights become the
// object's own) and whether it is protected. The rights are recorded and reported; the file
// and registry functions do not enforce them.
#pragma once
#include "securitybaseapi.h"

using PULONG = ULONG*;

enum SE_OBJECT_TYPE {
  SE_UNKNOWN_OBJECT_TYPE = 0,
  SE_FILE_OBJECT,
  SE_SERVICE,
  SE_PRINTER,
  SE_REGISTRY_KEY,
  SE_LMSHARE,
  SE_KERNEL_OBJECT,
  SE_WINDOW_OBJECT
};

enum ACCESS_MODE {
  NOT_USED_ACCESS = 0,
  GRANT_ACCESS,
  SET_ACCESS,
  DENY_ACCESS,
  REVOKE_ACCESS,
  SET_AUDIT_SUCCESS,
  SET_AUDIT_FAILURE
};

enum MULTIPLE_TRUSTEE_OPERATION { NO_MULTIPLE_TRUSTEE, TRUSTEE_IS_IMPERSONATE };
enum TRUSTEE_FORM { TRUSTEE_IS_SID, TRUSTEE_IS_NAME, TRUSTEE_BAD_FORM };
enum TRUSTEE_TYPE {
  TRUSTEE_IS_UNKNOWN,
  TRUSTEE_IS_USER,
  TRUSTEE_IS_GROUP,
  TRUSTEE_IS_DOMAIN,
  TRUSTEE_IS_ALIAS,
  TRUSTEE_IS_WELL_KNOWN_GROUP,
  TRUSTEE_IS_DELETED,
  TRUSTEE_IS_INVALID,
  TRUSTEE_IS_COMPUTER
};

// The one an entry is about: a SID (ptstrName points at it) or an account name.
struct TRUSTEE_W {
  TRUSTEE_W* pMultipleTrustee;
  MULTIPLE_TRUSTEE_OPERATION MultipleTrusteeOperation;
  TRUSTEE_FORM TrusteeForm;
  TRUSTEE_TYPE TrusteeType;
  LPWSTR ptstrName;
};
using PTRUSTEE_W = TRUSTEE_W*;
using TRUSTEE = TRUSTEE_W;
using PTRUSTEE = PTRUSTEE_W;

struct EXPLICIT_ACCESS_W {
  DWORD grfAccessPermissions;
  ACCESS_MODE grfAccessMode;
  DWORD grfInheritance;
  TRUSTEE_W Trustee;
};
using PEXPLICIT_ACCESS_W = EXPLICIT_ACCESS_W*;
using EXPLICIT_ACCESS = EXPLICIT_ACCESS_W;
using PEXPLICIT_ACCESS = PEXPLICIT_ACCESS_W;

// grfInheritance values (the *_INHERIT_ACE flags of the entry made).
#define NO_INHERITANCE 0x0u
#define SUB_OBJECTS_ONLY_INHERIT 0x1u
#define SUB_CONTAINERS_ONLY_INHERIT 0x2u
#define SUB_CONTAINERS_AND_OBJECTS_INHERIT 0x3u
#define INHERIT_NO_PROPAGATE 0x4u
#define INHERIT_ONLY 0x8u

// Reads the parts asked of a named object. *descriptor receives a self-relative descriptor
// from LocalAlloc (free it with LocalFree); owner, group and dacl point into it (a null
// *dacl means the object has no DACL: everyone may do everything). Answers ERROR_SUCCESS or
// a Win32 error code (the path's, ERROR_INVALID_SECURITY_DESCR for a damaged stored
// descriptor, ERROR_NOT_SUPPORTED for SACLs and other object types).
DWORD GetNamedSecurityInfoW(LPCWSTR objectName, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION info,
                            PSID* owner, PSID* group, PACL* dacl, PACL* sacl,
                            PSECURITY_DESCRIPTOR* descriptor);
// The same for an open file or folder handle (SE_FILE_OBJECT) or key handle (SE_REGISTRY_KEY).
DWORD GetSecurityInfo(HANDLE handle, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION info, PSID* owner,
                      PSID* group, PACL* dacl, PACL* sacl, PSECURITY_DESCRIPTOR* descriptor);
// Writes the parts named by info (DACL_SECURITY_INFORMATION with a null dacl: no DACL).
// PROTECTED_ / UNPROTECTED_DACL_SECURITY_INFORMATION set whether the DACL inherits.
DWORD SetNamedSecurityInfoW(LPWSTR objectName, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION info,
                            PSID owner, PSID group, PACL dacl, PACL sacl);

// Merges the entries into oldAcl (may be null) into a new list from LocalAlloc: GRANT_ACCESS
// adds rights to the trustee's explicit allow entry of the same inheritance (or makes one),
// SET_ACCESS replaces the trustee's explicit entries by one allow entry, DENY_ACCESS adds a
// deny entry, REVOKE_ACCESS removes the trustee's explicit entries. The list comes out in
// canonical order: explicit deny entries, explicit allow entries, then the inherited ones as
// they were.
DWORD SetEntriesInAclW(ULONG count, PEXPLICIT_ACCESS_W entries, PACL oldAcl, PACL* newAcl);
// The explicit (not inherited) entries as one LocalAlloc block (the SIDs live in it).
DWORD GetExplicitEntriesFromAclW(PACL acl, PULONG count, PEXPLICIT_ACCESS_W* entries);
// The rights the list gives the trustee with the groups it belongs to (the current user's
// groups are those of its token; any other account is in Everyone and, for users, in Users),
// entries taken in order with a denial holding against later grants. A null list gives
// every right.
DWORD GetEffectiveRightsFromAclW(PACL acl, PTRUSTEE_W trustee, LPDWORD accessRights);
void BuildTrusteeWithSidW(PTRUSTEE_W trustee, PSID sid);

inline DWORD GetNamedSecurityInfo(LPCWSTR objectName, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION info,
                                  PSID* owner, PSID* group, PACL* dacl, PACL* sacl,
                                  PSECURITY_DESCRIPTOR* descriptor) {
  return GetNamedSecurityInfoW(objectName, objectType, info, owner, group, dacl, sacl, descriptor);
}
inline DWORD SetNamedSecurityInfo(LPWSTR objectName, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION info,
                                  PSID owner, PSID group, PACL dacl, PACL sacl) {
  return SetNamedSecurityInfoW(objectName, objectType, info, owner, group, dacl, sacl);
}
inline DWORD SetEntriesInAcl(ULONG count, PEXPLICIT_ACCESS_W entries, PACL oldAcl, PACL* newAcl) {
  return SetEntriesInAclW(count, entries, oldAcl, newAcl);
}
inline DWORD GetExplicitEntriesFromAcl(PACL acl, PULONG count, PEXPLICIT_ACCESS_W* entries) {
  return GetExplicitEntriesFromAclW(acl, count, entries);
}
inline DWORD GetEffectiveRightsFromAcl(PACL acl, PTRUSTEE_W trustee, LPDWORD accessRights) {
  return GetEffectiveRightsFromAclW(acl, trustee, accessRights);
}
inline void BuildTrusteeWithSid(PTRUSTEE_W trustee, PSID sid) { BuildTrusteeWithSidW(trustee, sid); }
