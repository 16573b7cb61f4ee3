// Security stand-in: access tokens, security identifiers, access-control lists, security
// descriptors and the access check. A process's token holds the user and its groups; the
// Administrators group (S-1-5-32-544) is in it when the machine says the user is an
// administrator: effective uid 0, or "Administrator=1" in [Machine] of the machine root's
// machine.ini ("Administrator=0" there takes the group away even from root).
#pragma once
#include "wintypes.h"

struct SID_IDENTIFIER_AUTHORITY {
  BYTE Value[6];
};
using PSID_IDENTIFIER_AUTHORITY = SID_IDENTIFIER_AUTHORITY*;

// A security identifier: revision, count, authority, then the sub-authorities.
struct SID {
  BYTE Revision;
  BYTE SubAuthorityCount;
  SID_IDENTIFIER_AUTHORITY IdentifierAuthority;
  DWORD SubAuthority[1];
};
using PSID = void*;

struct ACL {
  BYTE AclRevision;
  BYTE Sbz1;
  WORD AclSize;
  WORD AceCount;
  WORD Sbz2;
};
using PACL = ACL*;

struct ACE_HEADER {
  BYTE AceType;
  BYTE AceFlags;
  WORD AceSize;
};
struct ACCESS_ALLOWED_ACE {
  ACE_HEADER Header;
  DWORD Mask;
  DWORD SidStart;
};
struct ACCESS_DENIED_ACE {
  ACE_HEADER Header;
  DWORD Mask;
  DWORD SidStart;
};

using SECURITY_DESCRIPTOR_CONTROL = WORD;
// The absolute form of a security descriptor.
struct SECURITY_DESCRIPTOR {
  BYTE Revision;
  BYTE Sbz1;
  SECURITY_DESCRIPTOR_CONTROL Control;
  PSID Owner;
  PSID Group;
  PACL Sacl;
  PACL Dacl;
};
using PSECURITY_DESCRIPTOR = void*;

struct GENERIC_MAPPING {
  DWORD GenericRead;
  DWORD GenericWrite;
  DWORD GenericExecute;
  DWORD GenericAll;
};
using PGENERIC_MAPPING = GENERIC_MAPPING*;

struct LUID {
  DWORD LowPart;
  LONG HighPart;
};
struct LUID_AND_ATTRIBUTES {
  LUID Luid;
  DWORD Attributes;
};
struct PRIVILEGE_SET {
  DWORD PrivilegeCount;
  DWORD Control;
  LUID_AND_ATTRIBUTES Privilege[1];
};
using PPRIVILEGE_SET = PRIVILEGE_SET*;

enum SECURITY_IMPERSONATION_LEVEL {
  SecurityAnonymous,
  SecurityIdentification,
  SecurityImpersonation,
  SecurityDelegation
};

#define SECURITY_NT_AUTHORITY {{0, 0, 0, 0, 0, 5}}
#define SECURITY_WORLD_SID_AUTHORITY {{0, 0, 0, 0, 0, 1}}
#define SECURITY_BUILTIN_DOMAIN_RID 0x00000020u
#define DOMAIN_ALIAS_RID_ADMINS 0x00000220u
#define DOMAIN_ALIAS_RID_USERS 0x00000221u
#define SECURITY_WORLD_RID 0x00000000u

#define ACL_REVISION 2
#define SECURITY_DESCRIPTOR_REVISION 1
#define SECURITY_DESCRIPTOR_MIN_LENGTH 40
#define ACCESS_ALLOWED_ACE_TYPE 0
#define ACCESS_DENIED_ACE_TYPE 1
#define SE_DACL_PRESENT 0x0004

#define TOKEN_ASSIGN_PRIMARY 0x0001
#define TOKEN_DUPLICATE 0x0002
#define TOKEN_IMPERSONATE 0x0004
#define TOKEN_QUERY 0x0008
#define TOKEN_ADJUST_PRIVILEGES 0x0020
#define TOKEN_ALL_ACCESS 0xF01FF

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define GENERIC_EXECUTE 0x20000000u
#define GENERIC_ALL 0x10000000u

BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, PHANDLE token);
BOOL OpenThreadToken(HANDLE thread, DWORD desiredAccess, BOOL openAsSelf, PHANDLE token);
BOOL DuplicateToken(HANDLE existing, SECURITY_IMPERSONATION_LEVEL level, PHANDLE duplicate);
BOOL CheckTokenMembership(HANDLE token, PSID sid, PBOOL isMember);

BOOL AllocateAndInitializeSid(PSID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD s0, DWORD s1,
                              DWORD s2, DWORD s3, DWORD s4, DWORD s5, DWORD s6, DWORD s7, PSID* sid);
PVOID FreeSid(PSID sid);
BOOL IsValidSid(PSID sid);
DWORD GetLengthSid(PSID sid);
BOOL EqualSid(PSID a, PSID b);

BOOL InitializeAcl(PACL acl, DWORD length, DWORD revision);
BOOL AddAccessAllowedAce(PACL acl, DWORD revision, DWORD mask, PSID sid);
BOOL AddAccessDeniedAce(PACL acl, DWORD revision, DWORD mask, PSID sid);

BOOL InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision);
BOOL SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL present, PACL dacl, BOOL defaulted);
BOOL SetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID owner, BOOL defaulted);
BOOL SetSecurityDescriptorGroup(PSECURITY_DESCRIPTOR descriptor, PSID group, BOOL defaulted);
BOOL IsValidSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor);

void MapGenericMask(PDWORD accessMask, PGENERIC_MAPPING mapping);
BOOL AccessCheck(PSECURITY_DESCRIPTOR descriptor, HANDLE clientToken, DWORD desiredAccess,
                 PGENERIC_MAPPING mapping, PPRIVILEGE_SET privileges, LPDWORD privilegesLength,
                 LPDWORD grantedAccess, LPBOOL accessStatus);
