// Access lists built from explicit entries, effective rights, SIDs as text, accounts, token
// information and the self-relative descriptor form, with hand-written byte layouts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "aclapi.h"
#include "errhandlingapi.h"
#include "handleapi.h"
#include "heapapi.h"
#include "lmaccess.h"
#include "machine_fixture.h"
#include "processthreadsapi.h"
#include "sddl.h"

namespace {

std::vector<BYTE> Sid(const char16_t* text) {
  PSID sid = nullptr;
  EXPECT_TRUE(ConvertStringSidToSidW(text, &sid))
      << std::string(text, text + std::char_traits<char16_t>::length(text));
  std::vector<BYTE> bytes(static_cast<BYTE*>(sid), static_cast<BYTE*>(sid) + GetLengthSid(sid));
  LocalFree(sid);
  return bytes;
}

std::u16string Text(PSID sid) {
  LPWSTR text = nullptr;
  if (!ConvertSidToStringSidW(sid, &text)) return u"<bad>";
  std::u16string copy = text;
  LocalFree(text);
  return copy;
}

EXPLICIT_ACCESS_W Entry(std::vector<BYTE>& sid, DWORD mask, ACCESS_MODE mode, DWORD inheritance = 0) {
  EXPLICIT_ACCESS_W entry{};
  entry.grfAccessPermissions = mask;
  entry.grfAccessMode = mode;
  entry.grfInheritance = inheritance;
  BuildTrusteeWithSidW(&entry.Trustee, sid.data());
  return entry;
}

// The entries of a list as (type, flags, mask, SID text).
struct Seen {
  BYTE type;
  BYTE flags;
  DWORD mask;
  std::u16string sid;
  bool operator==(const Seen&) const = default;
};
std::vector<Seen> Entries(PACL acl) {
  std::vector<Seen> seen;
  for (DWORD i = 0; acl != nullptr && i < acl->AceCount; ++i) {
    void* ace = nullptr;
    EXPECT_TRUE(GetAce(acl, i, &ace));
    const auto* header = static_cast<ACE_HEADER*>(ace);
    DWORD mask;
    std::memcpy(&mask, static_cast<BYTE*>(ace) + 4, 4);
    seen.push_back({header->AceType, header->AceFlags, mask, Text(static_cast<BYTE*>(ace) + 8)});
  }
  return seen;
}

TEST(StringSids, TextAndBytes) {
  const std::vector<BYTE> admins = Sid(u"S-1-5-32-544");
  const std::vector<BYTE> expected = {1, 2, 0, 0, 0, 0, 0, 5, 0x20, 0, 0, 0, 0x20, 0x02, 0, 0};
  EXPECT_EQ(admins, expected);
  EXPECT_EQ(Sid(u"BA"), admins);
  EXPECT_EQ(Text(Sid(u"WD").data()), u"S-1-1-0");
  EXPECT_EQ(Text(Sid(u"SY").data()), u"S-1-5-18");
  EXPECT_EQ(Text(Sid(u"S-1-5-21-0-0-0-1001").data()), u"S-1-5-21-0-0-0-1001");
  std::vector<BYTE> wide = Sid(u"S-1-0x123456789ABC-7");
  EXPECT_EQ(Text(wide.data()), u"S-1-0x123456789ABC-7");
}

TEST(StringSids, BadTextIsRefused) {
  for (const char16_t* text : {u"", u"S-", u"S-2-5-32", u"S-1-5-", u"S-1-5-x", u"S-1-5-99999999999", u"X-1-5",
                               u"S-1-5-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15-16"}) {
    PSID sid = reinterpret_cast<PSID>(1);
    SetLastError(0);
    EXPECT_FALSE(ConvertStringSidToSidW(text, &sid));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SID));
  }
  BYTE bad[8] = {2, 0};
  LPWSTR text = nullptr;
  EXPECT_FALSE(ConvertSidToStringSidW(bad, &text));
}

TEST(AclEntries, GrantAddsToTheTrusteesEntrySetReplacesRevokeRemoves) {
  std::vector<BYTE> users = Sid(u"BU"), world = Sid(u"WD");
  EXPLICIT_ACCESS_W first[] = {Entry(users, 0x1, GRANT_ACCESS), Entry(world, 0x10, GRANT_ACCESS)};
  PACL acl = nullptr;
  ASSERT_EQ(SetEntriesInAclW(2, first, nullptr, &acl), 0u);
  EXPLICIT_ACCESS_W more[] = {Entry(users, 0x2, GRANT_ACCESS), Entry(world, 0x4, DENY_ACCESS)};
  PACL merged = nullptr;
  ASSERT_EQ(SetEntriesInAclW(2, more, acl, &merged), 0u);
  // Canonical order: the denial first.
  EXPECT_EQ(Entries(merged), (std::vector<Seen>{{ACCESS_DENIED_ACE_TYPE, 0, 0x4, u"S-1-1-0"},
                                                {ACCESS_ALLOWED_ACE_TYPE, 0, 0x3, u"S-1-5-32-545"},
                                                {ACCESS_ALLOWED_ACE_TYPE, 0, 0x10, u"S-1-1-0"}}));
  EXPLICIT_ACCESS_W set[] = {Entry(world, 0x8, SET_ACCESS, SUB_CONTAINERS_AND_OBJECTS_INHERIT)};
  PACL replaced = nullptr;
  ASSERT_EQ(SetEntriesInAclW(1, set, merged, &replaced), 0u);
  EXPECT_EQ(Entries(replaced), (std::vector<Seen>{{ACCESS_ALLOWED_ACE_TYPE, 0, 0x3, u"S-1-5-32-545"},
                                                  {ACCESS_ALLOWED_ACE_TYPE, 3, 0x8, u"S-1-1-0"}}));
  EXPLICIT_ACCESS_W revoke[] = {Entry(users, 0, REVOKE_ACCESS)};
  PACL revoked = nullptr;
  ASSERT_EQ(SetEntriesInAclW(1, revoke, replaced, &revoked), 0u);
  EXPECT_EQ(Entries(revoked), (std::vector<Seen>{{ACCESS_ALLOWED_ACE_TYPE, 3, 0x8, u"S-1-1-0"}}));
  for (PACL a : {acl, merged, replaced, revoked}) LocalFree(a);
}

TEST(AclEntries, InheritedEntriesStayBehindTheExplicitOnes) {
  std::vector<BYTE> users = Sid(u"BU"), world = Sid(u"WD");
  std::vector<BYTE> bytes(256);
  auto* acl = reinterpret_cast<PACL>(bytes.data());
  ASSERT_TRUE(InitializeAcl(acl, 256, ACL_REVISION));
  ASSERT_TRUE(AddAccessAllowedAceEx(acl, ACL_REVISION, INHERITED_ACE, 0x1, world.data()));
  EXPLICIT_ACCESS_W entries[] = {Entry(users, 0x2, GRANT_ACCESS)};
  PACL merged = nullptr;
  ASSERT_EQ(SetEntriesInAclW(1, entries, acl, &merged), 0u);
  EXPECT_EQ(Entries(merged), (std::vector<Seen>{{ACCESS_ALLOWED_ACE_TYPE, 0, 0x2, u"S-1-5-32-545"},
                                                {ACCESS_ALLOWED_ACE_TYPE, INHERITED_ACE, 0x1, u"S-1-1-0"}}));
  ULONG count = 0;
  EXPLICIT_ACCESS_W* found = nullptr;
  ASSERT_EQ(GetExplicitEntriesFromAclW(merged, &count, &found), 0u);
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(found[0].grfAccessMode, GRANT_ACCESS);
  EXPECT_EQ(found[0].grfAccessPermissions, 0x2u);
  EXPECT_EQ(Text(found[0].Trustee.ptstrName), u"S-1-5-32-545");
  LocalFree(found);
  LocalFree(merged);
}

TEST(AclEntries, BadEntriesAndListsAreRefused) {
  std::vector<BYTE> users = Sid(u"BU");
  PACL acl = nullptr;
  EXPLICIT_ACCESS_W audit[] = {Entry(users, 1, SET_AUDIT_SUCCESS)};
  EXPECT_EQ(SetEntriesInAclW(1, audit, nullptr, &acl), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPLICIT_ACCESS_W named[] = {Entry(users, 1, GRANT_ACCESS)};
  named[0].Trustee.TrusteeForm = TRUSTEE_IS_NAME;
  named[0].Trustee.ptstrName = const_cast<LPWSTR>(u"Nobody Here");
  EXPECT_EQ(SetEntriesInAclW(1, named, nullptr, &acl), static_cast<DWORD>(ERROR_NONE_MAPPED));
  named[0].Trustee.ptstrName = const_cast<LPWSTR>(u"BUILTIN\\Administrators");
  ASSERT_EQ(SetEntriesInAclW(1, named, nullptr, &acl), 0u);
  EXPECT_EQ(Entries(acl), (std::vector<Seen>{{ACCESS_ALLOWED_ACE_TYPE, 0, 1, u"S-1-5-32-544"}}));
  // A list whose only entry claims more bytes than the list has.
  std::vector<BYTE> damaged(reinterpret_cast<BYTE*>(acl), reinterpret_cast<BYTE*>(acl) + acl->AclSize);
  damaged[10] = 0xFF;
  EXPECT_FALSE(IsValidAcl(reinterpret_cast<PACL>(damaged.data())));
  PACL merged = nullptr;
  EXPECT_EQ(SetEntriesInAclW(0, nullptr, reinterpret_cast<PACL>(damaged.data()), &merged),
            static_cast<DWORD>(ERROR_INVALID_ACL));
  LocalFree(acl);
}

TEST(EffectiveRights, DenialsHoldAndInheritOnlyEntriesDoNotApply) {
  std::vector<BYTE> world = Sid(u"WD"), admins = Sid(u"BA");
  std::vector<BYTE> bytes(256);
  auto* acl = reinterpret_cast<PACL>(bytes.data());
  ASSERT_TRUE(InitializeAcl(acl, 256, ACL_REVISION));
  ASSERT_TRUE(AddAccessDeniedAce(acl, ACL_REVISION, 0x2, world.data()));
  ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, 0x3, world.data()));
  ASSERT_TRUE(
      AddAccessAllowedAceEx(acl, ACL_REVISION, INHERIT_ONLY_ACE | OBJECT_INHERIT_ACE, 0x8, world.data()));
  ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, 0x10, admins.data()));
  EXPECT_FALSE(AddAccessAllowedAceEx(acl, ACL_REVISION, 0x40, 0x1, world.data()));  // not an inheritance flag
  std::vector<BYTE> user = Sid(u"S-1-5-21-0-0-0-54321");  // an account that is not the user
  TRUSTEE_W trustee;
  BuildTrusteeWithSidW(&trustee, user.data());
  DWORD rights = 0;
  ASSERT_EQ(GetEffectiveRightsFromAclW(acl, &trustee, &rights), 0u);
  EXPECT_EQ(rights, 0x1u);
  BuildTrusteeWithSidW(&trustee, admins.data());
  ASSERT_EQ(GetEffectiveRightsFromAclW(acl, &trustee, &rights), 0u);
  EXPECT_EQ(rights, 0x11u);  // Everyone's too
  ASSERT_EQ(GetEffectiveRightsFromAclW(nullptr, &trustee, &rights), 0u);
  EXPECT_EQ(rights, static_cast<DWORD>(STANDARD_RIGHTS_ALL | SPECIFIC_RIGHTS_ALL));
}

class AccountTest : public zx::test::MachineTest {};

TEST_F(AccountTest, WellKnownNamesAndTheSizesProtocol) {
  DWORD sidSize = 0, domainSize = 0;
  SID_NAME_USE use;
  EXPECT_FALSE(LookupAccountNameW(nullptr, u"administrators", nullptr, &sidSize, nullptr, &domainSize, &use));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(sidSize, 16u);
  EXPECT_EQ(domainSize, 8u);  // "BUILTIN" and its terminator
  std::vector<BYTE> sid(sidSize);
  std::u16string domain(domainSize, u'\0');
  ASSERT_TRUE(
      LookupAccountNameW(nullptr, u"administrators", sid.data(), &sidSize, domain.data(), &domainSize, &use));
  EXPECT_EQ(domainSize, 7u);
  EXPECT_EQ(std::u16string(domain.c_str()), u"BUILTIN");
  EXPECT_EQ(use, SidTypeAlias);
  EXPECT_EQ(Text(sid.data()), u"S-1-5-32-544");
  WCHAR name[32], dom[32];
  DWORD nameSize = 32, domSize = 32;
  ASSERT_TRUE(LookupAccountSidW(nullptr, Sid(u"SY").data(), name, &nameSize, dom, &domSize, &use));
  EXPECT_EQ(std::u16string(name), u"SYSTEM");
  EXPECT_EQ(std::u16string(dom), u"NT AUTHORITY");
}

TEST_F(AccountTest, TheUserIsAnAccountOfTheMachine) {
  WriteHostFile(root() + "/machine.ini", "[Machine]\nComputerName=workstation.example\n");
  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  std::vector<BYTE> buffer(256);
  DWORD size = 0;
  ASSERT_TRUE(GetTokenInformation(token, TokenUser, buffer.data(), 256, &size));
  PSID user = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
  WCHAR name[256], domain[32];
  DWORD nameSize = 256, domainSize = 32;
  SID_NAME_USE use;
  ASSERT_TRUE(LookupAccountSidW(nullptr, user, name, &nameSize, domain, &domainSize, &use));
  EXPECT_EQ(std::u16string(domain), u"WORKSTATION");
  EXPECT_EQ(use, SidTypeUser);
  const std::u16string qualified = std::u16string(domain) + u"\\" + name;
  std::vector<BYTE> sid(64);
  DWORD sidSize = 64;
  domainSize = 32;
  ASSERT_TRUE(LookupAccountNameW(u"", qualified.c_str(), sid.data(), &sidSize, domain, &domainSize, &use));
  EXPECT_TRUE(EqualSid(sid.data(), user));
  CloseHandle(token);
}

TEST_F(AccountTest, UnknownNamesOtherSystemsAndDomainControllers) {
  DWORD sidSize = 0, domainSize = 0;
  SID_NAME_USE use;
  EXPECT_FALSE(
      LookupAccountNameW(nullptr, u"no-such-account-here", nullptr, &sidSize, nullptr, &domainSize, &use));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NONE_MAPPED));
  EXPECT_FALSE(
      LookupAccountNameW(nullptr, u"OTHER\\Administrators", nullptr, &sidSize, nullptr, &domainSize, &use));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NONE_MAPPED));
  EXPECT_FALSE(LookupAccountNameW(u"SERVER", u"Users", nullptr, &sidSize, nullptr, &domainSize, &use));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(RPC_S_SERVER_UNAVAILABLE));
  LPBYTE controller = reinterpret_cast<LPBYTE>(1);
  EXPECT_EQ(NetGetDCName(nullptr, u"CORP", &controller), NERR_DCNotFound);
  EXPECT_EQ(controller, nullptr);
}

TEST_F(AccountTest, TokenGroupsFollowTheUser) {
  WriteHostFile(root() + "/machine.ini", "[Machine]\nAdministrator=1\n");
  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  DWORD size = 0;
  EXPECT_FALSE(GetTokenInformation(token, TokenGroups, nullptr, 0, &size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  std::vector<BYTE> buffer(size);
  ASSERT_TRUE(GetTokenInformation(token, TokenGroups, buffer.data(), size, &size));
  const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
  ASSERT_EQ(groups->GroupCount, 3u);
  const auto* entries =
      reinterpret_cast<const SID_AND_ATTRIBUTES*>(buffer.data() + offsetof(TOKEN_GROUPS, Groups));
  EXPECT_EQ(Text(entries[0].Sid), u"S-1-1-0");
  EXPECT_EQ(Text(entries[1].Sid), u"S-1-5-32-545");
  EXPECT_EQ(Text(entries[2].Sid), u"S-1-5-32-544");
  EXPECT_EQ(entries[2].Attributes, SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED);
  // The SIDs lie inside the caller's buffer.
  EXPECT_GE(static_cast<BYTE*>(entries[2].Sid), buffer.data());
  EXPECT_LT(static_cast<BYTE*>(entries[2].Sid), buffer.data() + size);
  CloseHandle(token);
}

TEST(SelfRelativeDescriptors, TheGettersReadTheBytes) {
  // Owner S-1-5-32-544, no group, a protected DACL of one entry allowing Everyone 0x1F01FF.
  const BYTE bytes[] = {
      0x01, 0x00, 0x04, 0x90,  // revision 1; SE_SELF_RELATIVE, SE_DACL_PROTECTED, SE_DACL_PRESENT
      0x14, 0x00, 0x00, 0x00,  // owner at 20
      0x00, 0x00, 0x00, 0x00,  // no group
      0x00, 0x00, 0x00, 0x00,  // no SACL
      0x24, 0x00, 0x00, 0x00,  // DACL at 36
      0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05,  // owner: S-1-5-, two parts:
      0x20, 0x00, 0x00, 0x00, 0x20, 0x02, 0x00, 0x00,  // 32-544
      0x02, 0x00, 0x1C, 0x00, 0x01, 0x00, 0x00, 0x00,  // ACL revision 2, size 28, one entry
      0x00, 0x00, 0x14, 0x00, 0xFF, 0x01, 0x1F, 0x00,  // allowed, size 20, mask 0x1F01FF
      0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00,  // S-1-1-0
  };

  auto* descriptor = const_cast<BYTE*>(bytes);
  EXPECT_TRUE(IsValidSecurityDescriptor(descriptor));
  EXPECT_EQ(GetSecurityDescriptorLength(descriptor), sizeof bytes);
  BOOL present = FALSE, defaulted = TRUE;
  PACL dacl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted));
  EXPECT_TRUE(present);
  EXPECT_FALSE(defaulted);
  EXPECT_EQ(Entries(dacl), (std::vector<Seen>{{ACCESS_ALLOWED_ACE_TYPE, 0, 0x1F01FF, u"S-1-1-0"}}));
  PSID owner = nullptr, group = reinterpret_cast<PSID>(1);
  ASSERT_TRUE(GetSecurityDescriptorOwner(descriptor, &owner, &defaulted));
  EXPECT_EQ(Text(owner), u"S-1-5-32-544");
  ASSERT_TRUE(GetSecurityDescriptorGroup(descriptor, &group, &defaulted));
  EXPECT_EQ(group, nullptr);
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
  EXPECT_EQ(control, SE_SELF_RELATIVE | SE_DACL_PROTECTED | SE_DACL_PRESENT);
  // The setters take the absolute form only.
  EXPECT_FALSE(SetSecurityDescriptorDacl(descriptor, TRUE, nullptr, FALSE));
}

}  // namespace
