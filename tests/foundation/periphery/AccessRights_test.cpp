// Rights of the current user on files, folders and keys, and granting them.
#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>

#include <filesystem>
#include <string>

#include "AccessRights.h"
#include "cstring_printer.h"
#include "machine_fixture.h"
#include "zx/machine.h"

namespace {

constexpr DWORD kOwnFile =
    kAccessWrite | kAccessRead | kAccessModify | kAccessDelete | kAccessWriteDac | kAccessWriteOwner;

CString SidText(PSID sid) {
  LPWSTR text = nullptr;
  if (!ConvertSidToStringSidW(sid, &text)) return CString();
  CString copy = text;
  LocalFree(text);
  return copy;
}

class AccessTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    WriteHostFile(root() + "/machine.ini", "[Machine]\nAdministrator=0\n");
    IsVirtualizationEnabled();  // clears the error list
  }
  static std::string Host(const std::string& name) { return zx::machine::DriveCFolder() + "/" + name; }
  static void Put(const std::string& name) { WriteHostFile(Host(name), "data"); }
  static bool ErrorListed(LPCTSTR text) {
    const CStringArray& errors = GetSecurityErrorList();
    for (INT_PTR i = 0; i < errors.GetSize(); ++i)
      if (errors[i] == text) return true;
    return false;
  }
  // Gives the path a DACL of its own that inherits nothing: one entry per trustee.
  static void SetOwnDacl(LPCTSTR path, std::initializer_list<std::pair<LPCTSTR, DWORD>> entries,
                         DWORD inherit) {
    std::vector<EXPLICIT_ACCESS_W> list;
    for (const auto& [name, mask] : entries) {
      EXPLICIT_ACCESS_W entry{};
      entry.grfAccessPermissions = mask;
      entry.grfAccessMode = SET_ACCESS;
      entry.grfInheritance = inherit;
      entry.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
      entry.Trustee.ptstrName = const_cast<LPWSTR>(name);
      list.push_back(entry);
    }
    PACL dacl = nullptr;
    ASSERT_EQ(SetEntriesInAclW(static_cast<ULONG>(list.size()), list.data(), nullptr, &dacl), 0u);
    ASSERT_EQ(SetNamedSecurityInfoW(const_cast<LPWSTR>(path), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                    nullptr, dacl, nullptr),
              0u);
    LocalFree(dacl);
  }
  static CString UserName() {
    PSID sid = nullptr;
    GetCurrentUserSid(&sid);
    WCHAR name[256], domain[256];
    DWORD nameSize = 256, domainSize = 256;
    SID_NAME_USE use;
    LookupAccountSidW(nullptr, sid, name, &nameSize, domain, &domainSize, &use);
    HeapFree(GetProcessHeap(), 0, sid);
    return name;
  }
  static ULONG ExplicitEntries(LPCTSTR path) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    GetNamedSecurityInfoW(path, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                          &descriptor);
    ULONG count = 0;
    EXPLICIT_ACCESS_W* entries = nullptr;
    GetExplicitEntriesFromAclW(dacl, &count, &entries);
    LocalFree(entries);
    LocalFree(descriptor);
    return count;
  }
};

TEST_F(AccessTest, TheMachineDrivesAreNtfs) {
  EXPECT_TRUE(IsNtfsVolume(_T("C:\\")));
  EXPECT_FALSE(IsNtfsVolume(_T("Q:\\")));  // no such drive
}

TEST_F(AccessTest, SidsOfTheUserAndOfAccounts) {
  PSID sid = nullptr;
  ASSERT_TRUE(GetCurrentUserSid(&sid));
  EXPECT_EQ(SidText(sid).Left(15), CString(_T("S-1-5-21-0-0-0-")));
  HeapFree(GetProcessHeap(), 0, sid);
  ASSERT_TRUE(GetAccountSid(_T("Administrators"), nullptr, &sid));
  EXPECT_EQ(SidText(sid), CString(_T("S-1-5-32-544")));
  HeapFree(GetProcessHeap(), 0, sid);
  ASSERT_TRUE(GetAccountSid(_T("Users"), _T("BUILTIN"), &sid));
  EXPECT_EQ(SidText(sid), CString(_T("S-1-5-32-545")));
  HeapFree(GetProcessHeap(), 0, sid);
}

TEST_F(AccessTest, UnknownAndEmptyAccountsLeaveTheirReason) {
  PSID sid = reinterpret_cast<PSID>(1);
  EXPECT_FALSE(GetAccountSid(_T(""), nullptr, &sid));
  EXPECT_EQ(sid, nullptr);
  EXPECT_TRUE(ErrorListed(_T("Empty user name specified.")));
  EXPECT_FALSE(GetAccountSid(_T("Nobody"), _T("CORP"), &sid));
  EXPECT_TRUE(ErrorListed(_T("No mapping between account names and security IDs was done.")));
}

TEST_F(AccessTest, AnEmptyPathHasNoAccess) {
  BOOL group = TRUE;
  EXPECT_FALSE(GetFileAccessForUser(_T(""), &group));
  EXPECT_FALSE(group);
  EXPECT_TRUE(ErrorListed(_T("No file name specified.")));
  PACL dacl;
  PSECURITY_DESCRIPTOR descriptor;
  EXPECT_FALSE(GetFileDacl(_T(""), &dacl, &descriptor));
  EXPECT_TRUE(ErrorListed(_T("Empty file name specified.")));
  EXPECT_EQ(GetFileRightFlags(_T(""), 0), 0u);
}

TEST_F(AccessTest, AMissingFileHasNoAccess) {
  EXPECT_FALSE(GetFileAccessForUser(_T("C:\\missing.txt"), nullptr));
  EXPECT_TRUE(ErrorListed(_T("The system cannot find the file specified.")));
  EXPECT_TRUE(ErrorListed(_T("Failed to get file's DACL and SD.")));
  EXPECT_FALSE(CanDeletePath(_T("C:\\missing.txt")));
}

TEST_F(AccessTest, TheUsersOwnFile) {
  Put("own.txt");
  EXPECT_TRUE(GetFileAccessForUser(_T("C:\\own.txt"), nullptr));
  EXPECT_EQ(GetFileRightFlags(_T("C:\\own.txt"), 0), kOwnFile);
  EXPECT_TRUE(HasFileAccess(_T("C:\\own.txt")));
  EXPECT_TRUE(CanDeletePath(_T("C:\\own.txt")));
}

TEST_F(AccessTest, AReadOnlyFileMayBeReadButNotWrittenOrDeleted) {
  Put("ro.txt");
  ASSERT_TRUE(SetFileAttributesW(_T("C:\\ro.txt"), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(GetFileRightFlags(_T("C:\\ro.txt"), 0),
            static_cast<DWORD>(kAccessRead | kAccessNoWriteNoDelete | kAccessWriteDac | kAccessWriteOwner));
  EXPECT_FALSE(HasFileAccess(_T("C:\\ro.txt")));
  EXPECT_FALSE(CanDeletePath(_T("C:\\ro.txt")));
}

TEST_F(AccessTest, AnObjectWithoutADaclIsOpenToAll) {
  Put("open.txt");
  ASSERT_EQ(SetNamedSecurityInfoW(const_cast<LPWSTR>(_T("C:\\open.txt")), SE_FILE_OBJECT,
                                  DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr),
            0u);
  PACL dacl = reinterpret_cast<PACL>(1);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(GetFileDacl(_T("C:\\open.txt"), &dacl, &descriptor));
  EXPECT_EQ(dacl, nullptr);
  LocalFree(descriptor);
  EXPECT_TRUE(GetFileAccessForUser(_T("C:\\open.txt"), nullptr));
  EXPECT_EQ(GetFileRightFlags(_T("C:\\open.txt"), 0), kOwnFile | kAccessDeleteChild | kAccessExecute);
}

TEST_F(AccessTest, ModifyGrantsReadAndWriteWhateverTheOtherBitsSay) {
  Put("g.txt");
  SetOwnDacl(_T("C:\\g.txt"), {{UserName(), FILE_GENERIC_READ}}, NO_INHERITANCE);
  EXPECT_FALSE(HasFileAccess(_T("C:\\g.txt")));
  ASSERT_TRUE(GrantFileAccess(kAccessModify | kAccessWrite, _T("C:\\g.txt"), 0));
  const DWORD flags = GetFileRightFlags(_T("C:\\g.txt"), 0);
  EXPECT_EQ(flags & (kAccessRead | kAccessWrite | kAccessModify),
            static_cast<DWORD>(kAccessRead | kAccessWrite | kAccessModify));
  EXPECT_EQ(flags & kAccessDelete, 0u);  // not asked for
}

TEST_F(AccessTest, AGrantKeepsEveryoneElsesEntries) {
  Put("m.txt");
  SetOwnDacl(_T("C:\\m.txt"), {{_T("Everyone"), FILE_GENERIC_READ}, {UserName(), FILE_GENERIC_READ}},
             NO_INHERITANCE);
  ASSERT_EQ(ExplicitEntries(_T("C:\\m.txt")), 2u);
  ASSERT_TRUE(GrantFileAccess(kAccessWrite | kAccessRead | kAccessDelete, _T("C:\\m.txt"), 0));
  EXPECT_EQ(ExplicitEntries(_T("C:\\m.txt")), 2u);  // the user's entry replaced, Everyone's kept
  EXPECT_TRUE(HasFileAccess(_T("C:\\m.txt")));
  EXPECT_TRUE(CanDeletePath(_T("C:\\m.txt")));
}

TEST_F(AccessTest, AGrantWithInheritanceReachesTheFilesBelow) {
  Put("Shared/inside.txt");
  SetOwnDacl(_T("C:\\Shared"), {{UserName(), FILE_GENERIC_READ}}, SUB_CONTAINERS_AND_OBJECTS_INHERIT);
  EXPECT_FALSE(HasFileAccess(_T("C:\\Shared\\inside.txt")));
  ASSERT_TRUE(GrantFileAccess(kAccessModify, _T("C:\\Shared"), 0));
  EXPECT_FALSE(HasFileAccess(_T("C:\\Shared\\inside.txt")));
  ASSERT_TRUE(GrantFileAccess(kAccessModify, _T("C:\\Shared"), 1));
  EXPECT_TRUE(HasFileAccess(_T("C:\\Shared\\inside.txt")));
}

TEST_F(AccessTest, AnExplicitEntryForOneOfTheUsersGroupsIsReported) {
  Put("grp.txt");
  BOOL group = FALSE;
  EXPECT_TRUE(GetFileAccessForUser(_T("C:\\grp.txt"), &group));
  EXPECT_FALSE(group);  // inherited entries do not count
  SetOwnDacl(_T("C:\\grp.txt"), {{_T("BUILTIN\\Users"), FILE_GENERIC_READ}}, NO_INHERITANCE);
  EXPECT_TRUE(GetFileAccessForUser(_T("C:\\grp.txt"), &group));
  EXPECT_TRUE(group);
  EXPECT_EQ(GetFileRightFlags(_T("C:\\grp.txt"), 0) & kAccessExplicitGroupEntry, kAccessExplicitGroupEntry);
}

TEST_F(AccessTest, AFolderWalkTakesTheRightsAllFilesGive) {
  Put("W/a.txt");
  Put("W/b.txt");
  ASSERT_TRUE(SetFileAttributesW(_T("C:\\W\\b.txt"), FILE_ATTRIBUTE_READONLY));
  const DWORD plain = GetFileRightFlags(_T("C:\\W"), 0);
  EXPECT_EQ(plain & (kAccessWrite | kAccessDelete | kAccessDeleteChild),
            static_cast<DWORD>(kAccessWrite | kAccessDelete | kAccessDeleteChild));
  const DWORD first = GetFileRightFlags(_T("C:\\W"), kAccessWalkFolder);
  EXPECT_EQ(first & kAccessWrite, kAccessWrite);  // a.txt only
  EXPECT_EQ(first & (kAccessDelete | kAccessDeleteChild), 0u);
  const DWORD every = GetFileRightFlags(_T("C:\\W"), kAccessWalkFolder | kAccessWalkEvery);
  EXPECT_EQ(every & kAccessWrite, 0u);
  EXPECT_EQ(every & kAccessRead, kAccessRead);
}

TEST_F(AccessTest, RightsOnKeysByAccount) {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyW(root, _T("Software"), &key), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  EXPECT_EQ(GetRegistryKeyRightFlags(HKEY_LOCAL_MACHINE, _T("Software"), _T("Administrators")), kOwnFile);
  EXPECT_EQ(GetRegistryKeyRightFlags(HKEY_LOCAL_MACHINE, _T("Software"), _T("Users")),
            static_cast<DWORD>(kAccessRead | kAccessNoWriteNoDelete));
  EXPECT_EQ(GetRegistryKeyRightFlags(HKEY_CURRENT_USER, _T("Software"), UserName()), kOwnFile);
  EXPECT_EQ(GetRegistryKeyRightFlags(HKEY_CURRENT_USER, _T("Software\\Missing"), UserName()), 0u);
  EXPECT_EQ(GetRegistryKeyRightFlags(HKEY_CURRENT_USER, _T("Software"), _T("Nobody")), 0u);
}

TEST_F(AccessTest, AKeyGrantIsMergedIntoTheKeysList) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, _T("Software\\ZxGrant"), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_TRUE(
      GrantRegistryKeyAccess(HKEY_CURRENT_USER, _T("Software\\ZxGrant"), _T("Users"), kAccessRead, 0));
  ASSERT_TRUE(
      GrantRegistryKeyAccess(HKEY_CURRENT_USER, _T("Software\\ZxGrant"), _T("Everyone"), kAccessWrite, 0));
  // The second grant left the first one and the key's inherited entries in place.
  EXPECT_EQ(GetRegistryKeyRightFlags(HKEY_CURRENT_USER, _T("Software\\ZxGrant"), _T("Users")) & kAccessRead,
            kAccessRead);
  // Users and Everyone are groups of the user, and now have explicit entries.
  const DWORD full = kOwnFile | kAccessExplicitGroupEntry;
  EXPECT_EQ(GetRegistryKeyRightFlags(HKEY_CURRENT_USER, _T("Software\\ZxGrant"), UserName()), full);
  EXPECT_EQ(GetRegistryKeyRightFlags(HKEY_CURRENT_USER, _T("Software\\ZxGrant"), _T("SYSTEM")), full);
  EXPECT_EQ(
      GetRegistryKeyRightFlags(HKEY_CURRENT_USER, _T("Software\\ZxGrant"), _T("Everyone")) & kAccessWrite,
      kAccessWrite);
}

TEST_F(AccessTest, AKeyGrantOnAMissingKeyFails) {
  EXPECT_FALSE(
      GrantRegistryKeyAccess(HKEY_CURRENT_USER, _T("Software\\Missing"), _T("Users"), kAccessRead, 0));
  EXPECT_TRUE(ErrorListed(_T("Could not set permissions")));
  EXPECT_FALSE(GrantRegistryKeyAccess(HKEY_CURRENT_USER, _T("Software"), _T("Nobody"), kAccessRead, 0));
}

TEST_F(AccessTest, TheErrorListKeepsTheNewestTexts) {
  for (int i = 0; i < 150; ++i) GetFileAccessForUser(_T(""), nullptr);
  EXPECT_EQ(GetSecurityErrorList().GetSize(), 100);
  EXPECT_EQ(IsVirtualizationEnabled(), -1);
  EXPECT_EQ(GetSecurityErrorList().GetSize(), 0);
}

}  // namespace
