// Tokens, SIDs, ACLs and the access check, as the administrator test of the system uses them.
#include <gtest/gtest.h>

#include <vector>

#include "errhandlingapi.h"
#include "handleapi.h"
#include "machine_fixture.h"
#include "processthreadsapi.h"
#include "securitybaseapi.h"

namespace {

class SecurityTest : public zx::test::MachineTest {
 protected:
  void SetAdministrator(bool admin) {
    WriteHostFile(root() + "/machine.ini", std::string("[Machine]\nAdministrator=") + (admin ? "1" : "0") + "\n");
  }

  // Builds a descriptor whose DACL allows only the given group, and checks read access.
  BOOL CheckAgainstGroup(DWORD rid, BOOL* status) {
    HANDLE process = nullptr, token = nullptr;
    EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, &process));
    EXPECT_TRUE(DuplicateToken(process, SecurityImpersonation, &token));
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    EXPECT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, rid, 0, 0, 0, 0, 0, 0, &sid));
    std::vector<BYTE> aclBytes(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid));
    auto* acl = reinterpret_cast<PACL>(aclBytes.data());
    EXPECT_TRUE(InitializeAcl(acl, static_cast<DWORD>(aclBytes.size()), ACL_REVISION));
    EXPECT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, 3, sid));
    SECURITY_DESCRIPTOR sd;
    EXPECT_TRUE(InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
    EXPECT_TRUE(SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE));
    EXPECT_TRUE(SetSecurityDescriptorOwner(&sd, sid, FALSE));
    EXPECT_TRUE(SetSecurityDescriptorGroup(&sd, sid, FALSE));
    EXPECT_TRUE(IsValidSecurityDescriptor(&sd));
    GENERIC_MAPPING mapping{1, 2, 0, 3};
    PRIVILEGE_SET privileges{};
    DWORD privilegesLength = sizeof(privileges), granted = 0;
    const BOOL ok = AccessCheck(&sd, token, 1, &mapping, &privileges, &privilegesLength, &granted, status);
    FreeSid(sid);
    CloseHandle(token);
    CloseHandle(process);
    return ok;
  }
};

TEST_F(SecurityTest, AdministratorsPassTheAdministratorsOnlyCheck) {
  SetAdministrator(true);
  BOOL status = FALSE;
  ASSERT_TRUE(CheckAgainstGroup(DOMAIN_ALIAS_RID_ADMINS, &status));
  EXPECT_TRUE(status);
}

TEST_F(SecurityTest, OrdinaryUsersFailItButPassTheUsersCheck) {
  SetAdministrator(false);
  BOOL status = TRUE;
  ASSERT_TRUE(CheckAgainstGroup(DOMAIN_ALIAS_RID_ADMINS, &status));
  EXPECT_FALSE(status);
  ASSERT_TRUE(CheckAgainstGroup(DOMAIN_ALIAS_RID_USERS, &status));
  EXPECT_TRUE(status);
}

TEST_F(SecurityTest, TheCheckNeedsAnImpersonationToken) {
  HANDLE process = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &process));
  SECURITY_DESCRIPTOR sd;
  InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  GENERIC_MAPPING mapping{1, 2, 0, 3};
  DWORD granted = 0;
  BOOL status = FALSE;
  EXPECT_FALSE(AccessCheck(&sd, process, 1, &mapping, nullptr, nullptr, &granted, &status));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_IMPERSONATION_TOKEN));
  HANDLE thread = nullptr;
  EXPECT_FALSE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &thread));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_TOKEN));
  CloseHandle(process);
}

TEST_F(SecurityTest, DenyEntriesBeforeAllowEntriesWin) {
  HANDLE process = nullptr, token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE, &process));
  ASSERT_TRUE(DuplicateToken(process, SecurityImpersonation, &token));
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
  std::vector<BYTE> aclBytes(256);
  auto* acl = reinterpret_cast<PACL>(aclBytes.data());
  ASSERT_TRUE(InitializeAcl(acl, 256, ACL_REVISION));
  ASSERT_TRUE(AddAccessDeniedAce(acl, ACL_REVISION, 2, everyone));
  ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, 3, everyone));
  SECURITY_DESCRIPTOR sd;
  InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
  GENERIC_MAPPING mapping{1, 2, 0, 3};
  DWORD granted = 0;
  BOOL status = FALSE;
  ASSERT_TRUE(AccessCheck(&sd, token, 1, &mapping, nullptr, nullptr, &granted, &status));
  EXPECT_TRUE(status);
  EXPECT_EQ(granted, 1u);
  ASSERT_TRUE(AccessCheck(&sd, token, 3, &mapping, nullptr, nullptr, &granted, &status));
  EXPECT_FALSE(status);
  EXPECT_EQ(granted, 0u);
  FreeSid(everyone);
  CloseHandle(token);
  CloseHandle(process);
}

TEST(SecurityLists, AnEntryThatDoesNotFitIsRefused) {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID sid = nullptr;
  ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, 32, 544, 0, 0, 0, 0, 0, 0, &sid));
  EXPECT_EQ(GetLengthSid(sid), 16u);
  std::vector<BYTE> aclBytes(sizeof(ACL) + 8);
  auto* acl = reinterpret_cast<PACL>(aclBytes.data());
  ASSERT_TRUE(InitializeAcl(acl, static_cast<DWORD>(aclBytes.size()), ACL_REVISION));
  EXPECT_FALSE(AddAccessAllowedAce(acl, ACL_REVISION, 1, sid));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALLOTTED_SPACE_EXCEEDED));
  EXPECT_EQ(acl->AceCount, 0);
  FreeSid(sid);
}

}  // namespace
