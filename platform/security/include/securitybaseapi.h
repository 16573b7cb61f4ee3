// Security stand-in: access tokens, security identifiers, access-control lists, security
// descriptors, accounts and the access check (the security of files and keys is in
// aclapi.h). A process's token holds the user and its groups; the Administrators group
// (S-1-5-32-544) is in it when the machine says the user is an administrator: effective uid
// 0, or "Administrator=1" in [Machine] of the machine root's machine.ini ("Administrator=0"
// there takes the group away even from root).
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
using PSECURITY_DESCRIPTOR_CONTROL = SECURITY_DESCRIPTOR_CONTROL*;
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
// The self-relative form (SE_SELF_RELATIVE): the parts follow the header in one block and
// the fields give their offsets from its start (0: the part is absent).
struct SECURITY_DESCRIPTOR_RELATIVE {
  BYTE Revision;
  BYTE Sbz1;
  SECURITY_DESCRIPTOR_CONTROL Control;
  DWORD Owner;
  DWORD Group;
  DWORD Sacl;
  DWORD Dacl;
};
using PSECURITY_DESCRIPTOR = void*;

// Which parts of a descriptor a call reads or writes.
using SECURITY_INFORMATION = DWORD;
using PSECURITY_INFORMATION = SECURITY_INFORMATION*;
#define OWNER_SECURITY_INFORMATION 0x00000001u
#define GROUP_SECURITY_INFORMATION 0x00000002u
#define DACL_SECURITY_INFORMATION 0x00000004u
#define SACL_SECURITY_INFORMATION 0x00000008u
#define UNPROTECTED_DACL_SECURITY_INFORMATION 0x20000000u
#define PROTECTED_DACL_SECURITY_INFORMATION 0x80000000u

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

#define SECURITY_LOCAL_SYSTEM_RID 0x00000012u

#define ACL_REVISION 2
#define SECURITY_DESCRIPTOR_REVISION 1
#define SECURITY_DESCRIPTOR_MIN_LENGTH 40
#define ACCESS_ALLOWED_ACE_TYPE 0
#define ACCESS_DENIED_ACE_TYPE 1
#define SE_OWNER_DEFAULTED 0x0001
#define SE_GROUP_DEFAULTED 0x0002
#define SE_DACL_PRESENT 0x0004
#define SE_DACL_DEFAULTED 0x0008
#define SE_DACL_PROTECTED 0x1000
#define SE_SELF_RELATIVE 0x8000

// Inheritance flags of an access entry.
#define OBJECT_INHERIT_ACE 0x01
#define CONTAINER_INHERIT_ACE 0x02
#define NO_PROPAGATE_INHERIT_ACE 0x04
#define INHERIT_ONLY_ACE 0x08
#define INHERITED_ACE 0x10
#define VALID_INHERIT_FLAGS 0x1F

// Standard rights, and the file rights fileapi.h does not name.
#define DELETE 0x00010000u
#define READ_CONTROL 0x00020000u
#define WRITE_DAC 0x00040000u
#define WRITE_OWNER 0x00080000u
#define SYNCHRONIZE 0x00100000L
#define STANDARD_RIGHTS_REQUIRED 0x000F0000u
#define STANDARD_RIGHTS_ALL 0x001F0000u
#define SPECIFIC_RIGHTS_ALL 0x0000FFFFu
#define MAXIMUM_ALLOWED 0x02000000u
#define FILE_READ_EA 0x0008u
#define FILE_WRITE_EA 0x0010u
#define FILE_EXECUTE 0x0020u
#define FILE_DELETE_CHILD 0x0040u
#define FILE_GENERIC_EXECUTE 0x001200A0u
#define FILE_ALL_ACCESS 0x001F01FFu

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

// What GetTokenInformation answers: the user, or the groups (the user's SID is not among them).
enum TOKEN_INFORMATION_CLASS { TokenUser = 1, TokenGroups = 2 };
struct SID_AND_ATTRIBUTES {
  PSID Sid;
  DWORD Attributes;
};
struct TOKEN_USER {
  SID_AND_ATTRIBUTES User;
};
struct TOKEN_GROUPS {
  DWORD GroupCount;
  SID_AND_ATTRIBUTES Groups[1];
};
using PTOKEN_USER = TOKEN_USER*;
using PTOKEN_GROUPS = TOKEN_GROUPS*;
#define SE_GROUP_MANDATORY 0x00000001u
#define SE_GROUP_ENABLED_BY_DEFAULT 0x00000002u
#define SE_GROUP_ENABLED 0x00000004u

// How an account name or SID is used.
enum SID_NAME_USE {
  SidTypeUser = 1,
  SidTypeGroup,
  SidTypeDomain,
  SidTypeAlias,
  SidTypeWellKnownGroup,
  SidTypeDeletedAccount,
  SidTypeInvalid,
  SidTypeUnknown,
  SidTypeComputer
};
using PSID_NAME_USE = SID_NAME_USE*;

BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, PHANDLE token);
BOOL OpenThreadToken(HANDLE thread, DWORD desiredAccess, BOOL openAsSelf, PHANDLE token);
BOOL DuplicateToken(HANDLE existing, SECURITY_IMPERSONATION_LEVEL level, PHANDLE duplicate);
BOOL CheckTokenMembership(HANDLE token, PSID sid, PBOOL isMember);
// The SIDs live in the caller's buffer after the structure. A buffer too small answers
// FALSE with ERROR_INSUFFICIENT_BUFFER and the size needed in *returnLength.
BOOL GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS informationClass, LPVOID information,
                         DWORD informationLength, PDWORD returnLength);

BOOL AllocateAndInitializeSid(PSID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD s0, DWORD s1,
                              DWORD s2, DWORD s3, DWORD s4, DWORD s5, DWORD s6, DWORD s7, PSID* sid);
PVOID FreeSid(PSID sid);
BOOL IsValidSid(PSID sid);
DWORD GetLengthSid(PSID sid);
BOOL EqualSid(PSID a, PSID b);
BOOL CopySid(DWORD destinationLength, PSID destination, PSID source);

BOOL InitializeAcl(PACL acl, DWORD length, DWORD revision);
BOOL AddAccessAllowedAce(PACL acl, DWORD revision, DWORD mask, PSID sid);
BOOL AddAccessDeniedAce(PACL acl, DWORD revision, DWORD mask, PSID sid);
// The same with inheritance flags (the *_INHERIT_ACE bits).
BOOL AddAccessAllowedAceEx(PACL acl, DWORD revision, DWORD flags, DWORD mask, PSID sid);
BOOL AddAccessDeniedAceEx(PACL acl, DWORD revision, DWORD flags, DWORD mask, PSID sid);
BOOL IsValidAcl(PACL acl);
// The address of entry `index` of the list.
BOOL GetAce(PACL acl, DWORD index, LPVOID* ace);

BOOL InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision);
BOOL SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL present, PACL dacl, BOOL defaulted);
BOOL SetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID owner, BOOL defaulted);
BOOL SetSecurityDescriptorGroup(PSECURITY_DESCRIPTOR descriptor, PSID group, BOOL defaulted);
// The getters read both forms; the pointers they give point into the descriptor.
BOOL IsValidSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor);
BOOL GetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, LPBOOL present, PACL* dacl, LPBOOL defaulted);
BOOL GetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID* owner, LPBOOL defaulted);
BOOL GetSecurityDescriptorGroup(PSECURITY_DESCRIPTOR descriptor, PSID* group, LPBOOL defaulted);
BOOL GetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor, PSECURITY_DESCRIPTOR_CONTROL control,
                                  LPDWORD revision);
// The bytes of the self-relative form of the descriptor (whichever form it is in).
DWORD GetSecurityDescriptorLength(PSECURITY_DESCRIPTOR descriptor);

// Accounts: the machine's users (each host account, SID S-1-5-21-0-0-0-<1000 + uid>, in the
// domain named by the computer name), "Everyone", "NT AUTHORITY\SYSTEM" and the groups
// "BUILTIN\Administrators" and "BUILTIN\Users". A name may carry its domain ("DOMAIN\name").
// Only the local system answers (a system name other than null or empty answers
// RPC_S_SERVER_UNAVAILABLE). Unknown names and SIDs answer ERROR_NONE_MAPPED; buffers too
// small answer ERROR_INSUFFICIENT_BUFFER with the sizes needed (SID bytes, and characters
// with the terminator).
BOOL LookupAccountNameW(LPCWSTR systemName, LPCWSTR accountName, PSID sid, LPDWORD sidSize,
                        LPWSTR domainName, LPDWORD domainSize, PSID_NAME_USE use);
BOOL LookupAccountSidW(LPCWSTR systemName, PSID sid, LPWSTR name, LPDWORD nameSize,
                       LPWSTR domainName, LPDWORD domainSize, PSID_NAME_USE use);
inline BOOL LookupAccountName(LPCWSTR systemName, LPCWSTR accountName, PSID sid, LPDWORD sidSize,
                              LPWSTR domainName, LPDWORD domainSize, PSID_NAME_USE use) {
  return LookupAccountNameW(systemName, accountName, sid, sidSize, domainName, domainSize, use);
}

void MapGenericMask(PDWORD accessMask, PGENERIC_MAPPING mapping);
BOOL AccessCheck(PSECURITY_DESCRIPTOR descriptor, HANDLE clientToken, DWORD desiredAccess,
                 PGENERIC_MAPPING mapping, PPRIVILEGE_SET privileges, LPDWORD privilegesLength,
                 LPDWORD grantedAccess, LPBOOL accessStatus);
