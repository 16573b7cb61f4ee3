// The security of the machine's files, folders and registry keys: what is stored, what
// readers see (defaults, inheritance), and damaged or refused input.
#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "aclapi.h"
#include "errhandlingapi.h"
#include "fileapi.h"
#include "handleapi.h"
#include "heapapi.h"
#include "machine_fixture.h"
#include "sddl.h"
#include "winreg.h"
#include "zx/hive.h"
#include "zx/machine.h"

namespace {

std::u16string Text(PSID sid) {
  LPWSTR text = nullptr;
  if (!ConvertSidToStringSidW(sid, &text)) return u"<bad>";
  std::u16string copy = text;
  LocalFree(text);
  return copy;
}

std::vector<BYTE> Sid(const char16_t* text) {
  PSID sid = nullptr;
  EXPECT_TRUE(ConvertStringSidToSidW(text, &sid));
  std::vector<BYTE> bytes(static_cast<BYTE*>(sid), static_cast<BYTE*>(sid) + GetLengthSid(sid));
  LocalFree(sid);
  return bytes;
}

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
    DWORD mask;
    std::memcpy(&mask, static_cast<BYTE*>(ace) + 4, 4);
    seen.push_back({static_cast<ACE_HEADER*>(ace)->AceType, static_cast<ACE_HEADER*>(ace)->AceFlags, mask,
                    Text(static_cast<BYTE*>(ace) + 8)});
  }
  return seen;
}

class ObjectSecurityTest : public zx::test::MachineTest {
 protected:
  static std::string Host(const std::string& name) { return zx::machine::DriveCFolder() + "/" + name; }

  // The DACL a reader sees, as entries; error when it cannot be read.
  static DWORD Dacl(LPCWSTR name, SE_OBJECT_TYPE type, std::vector<Seen>& seen, bool* isNull = nullptr) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error = GetNamedSecurityInfoW(name, type, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                              nullptr, &descriptor);
    seen = Entries(dacl);
    if (isNull != nullptr) *isNull = error == 0 && dacl == nullptr;
    LocalFree(descriptor);
    return error;
  }
  static std::u16string Owner(LPCWSTR name, SE_OBJECT_TYPE type) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(name, type, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                              &descriptor) != 0)
      return u"<error>";
    std::u16string text = Text(owner);
    LocalFree(descriptor);
    return text;
  }
  // Writes a DACL of the given entries (made with SetEntriesInAcl from nothing).
  static DWORD SetDacl(LPCWSTR name, SE_OBJECT_TYPE type, std::vector<EXPLICIT_ACCESS_W> entries,
                       SECURITY_INFORMATION extra = 0) {
    PACL dacl = nullptr;
    EXPECT_EQ(SetEntriesInAclW(static_cast<ULONG>(entries.size()), entries.data(), nullptr, &dacl), 0u);
    const DWORD error = SetNamedSecurityInfoW(
        const_cast<LPWSTR>(name), type, DACL_SECURITY_INFORMATION | extra, nullptr, nullptr, dacl, nullptr);
    LocalFree(dacl);
    return error;
  }
  static EXPLICIT_ACCESS_W Allow(std::vector<BYTE>& sid, DWORD mask, DWORD inheritance = NO_INHERITANCE) {
    EXPLICIT_ACCESS_W entry{};
    entry.grfAccessPermissions = mask;
    entry.grfAccessMode = SET_ACCESS;
    entry.grfInheritance = inheritance;
    BuildTrusteeWithSidW(&entry.Trustee, sid.data());
    return entry;
  }
  std::vector<BYTE> users_ = Sid(u"BU");
  std::vector<BYTE> world_ = Sid(u"WD");
};

TEST_F(ObjectSecurityTest, AFileWithoutSecurityOfItsOwnShowsItsPermissionBits) {
  WriteHostFile(Host("plain.txt"), "x");
  std::filesystem::permissions(Host("plain.txt"), std::filesystem::perms(0640));
  EXPECT_EQ(Owner(u"C:\\plain.txt", SE_FILE_OBJECT).substr(0, 15), u"S-1-5-21-0-0-0-");
  std::vector<Seen> seen;
  ASSERT_EQ(Dacl(u"C:\\plain.txt", SE_FILE_OBJECT, seen), 0u);
  ASSERT_EQ(seen.size(), 2u);  // no one else may do anything
  EXPECT_EQ(seen[0].flags, INHERITED_ACE);
  EXPECT_EQ(seen[0].mask, FILE_GENERIC_READ | FILE_GENERIC_WRITE | DELETE | READ_CONTROL | WRITE_DAC |
                              WRITE_OWNER | SYNCHRONIZE);
  EXPECT_EQ(seen[1], (Seen{ACCESS_ALLOWED_ACE_TYPE, INHERITED_ACE, FILE_ALL_ACCESS, u"S-1-5-32-544"}));
  std::filesystem::permissions(Host("plain.txt"), std::filesystem::perms(0645));
  ASSERT_EQ(Dacl(u"C:\\plain.txt", SE_FILE_OBJECT, seen), 0u);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[2], (Seen{ACCESS_ALLOWED_ACE_TYPE, INHERITED_ACE, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE,
                           u"S-1-1-0"}));
}

TEST_F(ObjectSecurityTest, AWrittenDaclIsStoredSelfRelativeWithTheFile) {
  WriteHostFile(Host("own.txt"), "x");
  ASSERT_EQ(SetDacl(u"C:\\own.txt", SE_FILE_OBJECT, {Allow(world_, GENERIC_READ)},
                    PROTECTED_DACL_SECURITY_INFORMATION),
            0u);
  std::vector<BYTE> stored(256);
  const ssize_t size = ::getxattr(Host("own.txt").c_str(), "user.zx.security", stored.data(), stored.size());
  ASSERT_GT(size, 0);
  stored.resize(static_cast<std::size_t>(size));
  // Header (control SE_SELF_RELATIVE|SE_DACL_PROTECTED|SE_DACL_PRESENT, only a DACL, at 20),
  // then the list: Everyone with GENERIC_READ mapped to the file's read rights.
  const std::vector<BYTE> expected = {
      0x01, 0x00, 0x04, 0x90,                          // SE_SELF_RELATIVE, SE_DACL_PROTECTED, SE_DACL_PRESENT
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // no owner, no group
      0x00, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00,  // no SACL, DACL at 20
      0x02, 0x00, 0x1C, 0x00, 0x01, 0x00, 0x00, 0x00,  // ACL revision 2, size 28, one entry
      0x00, 0x00, 0x14, 0x00, 0x89, 0x00, 0x12, 0x00,  // allowed, size 20, FILE_GENERIC_READ
      0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,  // S-1-1-0
      0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(stored, expected);
  std::vector<Seen> seen;
  ASSERT_EQ(Dacl(u"C:\\own.txt", SE_FILE_OBJECT, seen), 0u);
  EXPECT_EQ(seen, (std::vector<Seen>{{ACCESS_ALLOWED_ACE_TYPE, 0, FILE_GENERIC_READ, u"S-1-1-0"}}));
}

TEST_F(ObjectSecurityTest, ADamagedStoredDescriptorIsAnErrorUntilRewritten) {
  WriteHostFile(Host("bad.txt"), "x");
  const BYTE garbage[] = {0x01, 0x00, 0x04, 0x80, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0, 0};
  ASSERT_EQ(::setxattr(Host("bad.txt").c_str(), "user.zx.security", garbage, sizeof garbage, 0), 0);
  std::vector<Seen> seen;
  EXPECT_EQ(Dacl(u"C:\\bad.txt", SE_FILE_OBJECT, seen), static_cast<DWORD>(ERROR_INVALID_SECURITY_DESCR));
  ASSERT_EQ(SetDacl(u"C:\\bad.txt", SE_FILE_OBJECT, {Allow(users_, GENERIC_ALL)}), 0u);
  EXPECT_EQ(Dacl(u"C:\\bad.txt", SE_FILE_OBJECT, seen), 0u);
  EXPECT_EQ(seen.front(), (Seen{ACCESS_ALLOWED_ACE_TYPE, 0, FILE_ALL_ACCESS, u"S-1-5-32-545"}));
}

TEST_F(ObjectSecurityTest, FoldersPassInheritableEntriesDown) {
  std::filesystem::create_directories(Host("Top/Mid/Low"));
  WriteHostFile(Host("Top/file.txt"), "x");
  WriteHostFile(Host("Top/Mid/deep.txt"), "x");
  ASSERT_EQ(SetDacl(u"C:\\Top", SE_FILE_OBJECT,
                    {Allow(users_, 0x1, OBJECT_INHERIT_ACE), Allow(world_, 0x2, CONTAINER_INHERIT_ACE)},
                    PROTECTED_DACL_SECURITY_INFORMATION),
            0u);
  std::vector<Seen> seen;
  ASSERT_EQ(Dacl(u"C:\\Top\\file.txt", SE_FILE_OBJECT, seen), 0u);
  EXPECT_EQ(seen, (std::vector<Seen>{{ACCESS_ALLOWED_ACE_TYPE, INHERITED_ACE, 0x1, u"S-1-5-32-545"}}));
  ASSERT_EQ(Dacl(u"C:\\Top\\Mid", SE_FILE_OBJECT, seen), 0u);
  EXPECT_EQ(seen, (std::vector<Seen>{
                      {ACCESS_ALLOWED_ACE_TYPE, INHERITED_ACE | OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE, 0x1,
                       u"S-1-5-32-545"},
                      {ACCESS_ALLOWED_ACE_TYPE, INHERITED_ACE | CONTAINER_INHERIT_ACE, 0x2, u"S-1-1-0"}}));
  ASSERT_EQ(Dacl(u"C:\\Top\\Mid\\deep.txt", SE_FILE_OBJECT, seen), 0u);
  EXPECT_EQ(seen, (std::vector<Seen>{{ACCESS_ALLOWED_ACE_TYPE, INHERITED_ACE, 0x1, u"S-1-5-32-545"}}));
  // Not past the first level with NO_PROPAGATE_INHERIT_ACE.
  ASSERT_EQ(
      SetDacl(u"C:\\Top", SE_FILE_OBJECT, {Allow(users_, 0x4, OBJECT_INHERIT_ACE | NO_PROPAGATE_INHERIT_ACE)},
              PROTECTED_DACL_SECURITY_INFORMATION),
      0u);
  ASSERT_EQ(Dacl(u"C:\\Top\\file.txt", SE_FILE_OBJECT, seen), 0u);
  EXPECT_EQ(seen.size(), 1u);
  ASSERT_EQ(Dacl(u"C:\\Top\\Mid\\deep.txt", SE_FILE_OBJECT, seen), 0u);
  EXPECT_TRUE(seen.empty());
}

TEST_F(ObjectSecurityTest, AnObjectsOwnEntriesComeFirstAndAProtectedOneInheritsNothing) {
  WriteHostFile(Host("Dir/f.txt"), "x");
  ASSERT_EQ(SetDacl(u"C:\\Dir", SE_FILE_OBJECT, {Allow(users_, 0x1, SUB_CONTAINERS_AND_OBJECTS_INHERIT)}),
            0u);
  ASSERT_EQ(SetDacl(u"C:\\Dir\\f.txt", SE_FILE_OBJECT, {Allow(world_, 0x2)}), 0u);
  std::vector<Seen> seen;
  ASSERT_EQ(Dacl(u"C:\\Dir\\f.txt", SE_FILE_OBJECT, seen), 0u);
  ASSERT_GE(seen.size(), 3u);  // own, the folder's, then the top's
  EXPECT_EQ(seen[0], (Seen{ACCESS_ALLOWED_ACE_TYPE, 0, 0x2, u"S-1-1-0"}));
  EXPECT_EQ(seen[1], (Seen{ACCESS_ALLOWED_ACE_TYPE, INHERITED_ACE, 0x1, u"S-1-5-32-545"}));
  EXPECT_EQ(seen[2].flags, INHERITED_ACE);
  // Writing the list back as read keeps only the object's own entry.
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(GetNamedSecurityInfoW(u"C:\\Dir\\f.txt", SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                  nullptr, &dacl, nullptr, &descriptor),
            0u);
  ASSERT_EQ(SetNamedSecurityInfoW(const_cast<LPWSTR>(u"C:\\Dir\\f.txt"), SE_FILE_OBJECT,
                                  DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                  nullptr, dacl, nullptr),
            0u);
  LocalFree(descriptor);
  ASSERT_EQ(Dacl(u"C:\\Dir\\f.txt", SE_FILE_OBJECT, seen), 0u);
  EXPECT_EQ(seen, (std::vector<Seen>{{ACCESS_ALLOWED_ACE_TYPE, 0, 0x2, u"S-1-1-0"}}));
  // A later write without a protection flag leaves the list protected.
  ASSERT_EQ(SetDacl(u"C:\\Dir\\f.txt", SE_FILE_OBJECT, {Allow(world_, 0x8)}), 0u);
  ASSERT_EQ(Dacl(u"C:\\Dir\\f.txt", SE_FILE_OBJECT, seen), 0u);
  EXPECT_EQ(seen.size(), 1u);
}

TEST_F(ObjectSecurityTest, ANullDaclAndTheOwner) {
  WriteHostFile(Host("n.txt"), "x");
  ASSERT_EQ(SetNamedSecurityInfoW(const_cast<LPWSTR>(u"C:\\n.txt"), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                  nullptr, nullptr, nullptr, nullptr),
            0u);
  std::vector<Seen> seen;
  bool isNull = false;
  ASSERT_EQ(Dacl(u"C:\\n.txt", SE_FILE_OBJECT, seen, &isNull), 0u);
  EXPECT_TRUE(isNull);
  std::vector<BYTE> admins = Sid(u"BA");
  ASSERT_EQ(SetNamedSecurityInfoW(const_cast<LPWSTR>(u"C:\\n.txt"), SE_FILE_OBJECT,
                                  OWNER_SECURITY_INFORMATION, admins.data(), nullptr, nullptr, nullptr),
            0u);
  EXPECT_EQ(Owner(u"C:\\n.txt", SE_FILE_OBJECT), u"S-1-5-32-544");
  ASSERT_EQ(Dacl(u"C:\\n.txt", SE_FILE_OBJECT, seen, &isNull), 0u);
  EXPECT_TRUE(isNull);  // the owner's write left the DACL alone
  EXPECT_EQ(SetNamedSecurityInfoW(const_cast<LPWSTR>(u"C:\\n.txt"), SE_FILE_OBJECT,
                                  OWNER_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr),
            static_cast<DWORD>(ERROR_INVALID_OWNER));
}

TEST_F(ObjectSecurityTest, MovingKeepsTheSecurityCopyingDoesNot) {
  WriteHostFile(Host("a.txt"), "x");
  ASSERT_EQ(SetDacl(u"C:\\a.txt", SE_FILE_OBJECT, {Allow(world_, 0x1)}, PROTECTED_DACL_SECURITY_INFORMATION),
            0u);
  ASSERT_TRUE(CopyFileW(u"C:\\a.txt", u"C:\\copy.txt", FALSE));
  ASSERT_TRUE(MoveFileW(u"C:\\a.txt", u"C:\\moved.txt"));
  std::vector<Seen> seen;
  ASSERT_EQ(Dacl(u"C:\\moved.txt", SE_FILE_OBJECT, seen), 0u);
  EXPECT_EQ(seen.size(), 1u);
  ASSERT_EQ(Dacl(u"C:\\copy.txt", SE_FILE_OBJECT, seen), 0u);
  EXPECT_EQ(seen.front().flags, INHERITED_ACE);
}

TEST_F(ObjectSecurityTest, AReadOnlyFileStillTakesNewSecurity) {
  WriteHostFile(Host("ro.txt"), "x");
  ASSERT_TRUE(SetFileAttributesW(u"C:\\ro.txt", FILE_ATTRIBUTE_READONLY));
  ASSERT_EQ(SetDacl(u"C:\\ro.txt", SE_FILE_OBJECT, {Allow(world_, 0x1)}), 0u);
  EXPECT_EQ(GetFileAttributesW(u"C:\\ro.txt") & FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_READONLY);
}

TEST_F(ObjectSecurityTest, RefusedRequests) {
  std::vector<Seen> seen;
  EXPECT_EQ(Dacl(u"C:\\missing.txt", SE_FILE_OBJECT, seen), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(Dacl(u"C:\\a<b", SE_FILE_OBJECT, seen), static_cast<DWORD>(ERROR_INVALID_NAME));
  EXPECT_EQ(Dacl(u"C:\\x", SE_SERVICE, seen), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  EXPECT_EQ(SetDacl(u"C:\\missing.txt", SE_FILE_OBJECT, {Allow(world_, 1)}),
            static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  PACL sacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  EXPECT_EQ(GetNamedSecurityInfoW(u"C:\\", SE_FILE_OBJECT, SACL_SECURITY_INFORMATION, nullptr, nullptr,
                                  nullptr, &sacl, &descriptor),
            static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  EXPECT_EQ(GetNamedSecurityInfoW(u"C:\\", SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                  nullptr, nullptr, nullptr),
            static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ObjectSecurityTest, AnOpenHandleReadsTheSameSecurity) {
  std::filesystem::create_directories(Host("Folder"));
  ASSERT_EQ(SetDacl(u"C:\\Folder", SE_FILE_OBJECT, {Allow(users_, 0x7)}, PROTECTED_DACL_SECURITY_INFORMATION),
            0u);
  HANDLE folder = CreateFileW(u"C:\\Folder", READ_CONTROL, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(folder, INVALID_HANDLE_VALUE);
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(GetSecurityInfo(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                            nullptr, &descriptor),
            0u);
  EXPECT_EQ(Entries(dacl), (std::vector<Seen>{{ACCESS_ALLOWED_ACE_TYPE, 0, 0x7, u"S-1-5-32-545"}}));
  LocalFree(descriptor);
  CloseHandle(folder);
  EXPECT_EQ(GetSecurityInfo(reinterpret_cast<HANDLE>(0x1234), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                            nullptr, nullptr, &dacl, nullptr, &descriptor),
            static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// ---- registry keys ----------------------------------------------------------------------

class KeySecurityTest : public ObjectSecurityTest {
 protected:
  void SetUp() override {
    ObjectSecurityTest::SetUp();
    WriteHostFile(root() + "/machine.ini", "[Machine]\nAdministrator=0\n");
  }
  static HKEY Create(HKEY root, LPCWSTR path, REGSAM access = KEY_ALL_ACCESS) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, access, nullptr, &key, nullptr), ERROR_SUCCESS);
    return key;
  }
};

TEST_F(KeySecurityTest, HivesGiveTheirDefaults) {
  RegCloseKey(Create(HKEY_LOCAL_MACHINE, u"Software\\Zx"));
  RegCloseKey(Create(HKEY_CURRENT_USER, u"Software\\Zx"));
  std::vector<Seen> seen;
  ASSERT_EQ(Dacl(u"MACHINE\\Software\\Zx", SE_REGISTRY_KEY, seen), 0u);
  const BYTE inherited = INHERITED_ACE | CONTAINER_INHERIT_ACE;
  EXPECT_EQ(seen, (std::vector<Seen>{{ACCESS_ALLOWED_ACE_TYPE, inherited, KEY_ALL_ACCESS, u"S-1-5-32-544"},
                                     {ACCESS_ALLOWED_ACE_TYPE, inherited, KEY_ALL_ACCESS, u"S-1-5-18"},
                                     {ACCESS_ALLOWED_ACE_TYPE, inherited, KEY_READ, u"S-1-5-32-545"}}));
  EXPECT_EQ(Owner(u"machine\\software\\zx", SE_REGISTRY_KEY), u"S-1-5-32-544");
  ASSERT_EQ(Dacl(u"CURRENT_USER\\Software\\Zx", SE_REGISTRY_KEY, seen), 0u);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[2].sid.substr(0, 15), u"S-1-5-21-0-0-0-");
  EXPECT_EQ(Owner(u"CURRENT_USER\\Software\\Zx", SE_REGISTRY_KEY).substr(0, 15), u"S-1-5-21-0-0-0-");
  EXPECT_EQ(Dacl(u"SOMEWHERE\\Software", SE_REGISTRY_KEY, seen), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(Dacl(u"MACHINE\\Software\\Missing", SE_REGISTRY_KEY, seen),
            static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(KeySecurityTest, KeySecurityRoundTripsAndOutlivesTheProcessesCache) {
  HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Zx\\Child");
  RegCloseKey(key);
  ASSERT_EQ(
      SetDacl(u"CURRENT_USER\\Software\\Zx", SE_REGISTRY_KEY,
              {Allow(users_, GENERIC_READ, CONTAINER_INHERIT_ACE)}, PROTECTED_DACL_SECURITY_INFORMATION),
      0u);
  zx::registry::ForgetCachedHives();  // read again from the hive's files
  std::vector<Seen> seen;
  ASSERT_EQ(Dacl(u"CURRENT_USER\\Software\\Zx", SE_REGISTRY_KEY, seen), 0u);
  EXPECT_EQ(seen,
            (std::vector<Seen>{{ACCESS_ALLOWED_ACE_TYPE, CONTAINER_INHERIT_ACE, KEY_READ, u"S-1-5-32-545"}}));
  ASSERT_EQ(Dacl(u"CURRENT_USER\\Software\\Zx\\Child", SE_REGISTRY_KEY, seen), 0u);
  EXPECT_EQ(seen, (std::vector<Seen>{{ACCESS_ALLOWED_ACE_TYPE, INHERITED_ACE | CONTAINER_INHERIT_ACE,
                                      KEY_READ, u"S-1-5-32-545"}}));
}

TEST_F(KeySecurityTest, RegGetAndSetKeySecurity) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Software\\Zx");
  std::vector<BYTE> acl(64);
  ASSERT_TRUE(InitializeAcl(reinterpret_cast<PACL>(acl.data()), 64, ACL_REVISION));
  ASSERT_TRUE(
      AddAccessAllowedAce(reinterpret_cast<PACL>(acl.data()), ACL_REVISION, KEY_QUERY_VALUE, world_.data()));
  SECURITY_DESCRIPTOR absolute;
  ASSERT_TRUE(InitializeSecurityDescriptor(&absolute, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&absolute, TRUE, reinterpret_cast<PACL>(acl.data()), FALSE));
  ASSERT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &absolute), ERROR_SUCCESS);
  DWORD size = 8;
  std::vector<BYTE> buffer(8);
  EXPECT_EQ(RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, buffer.data(), &size),
            ERROR_INSUFFICIENT_BUFFER);
  ASSERT_GT(size, 8u);
  buffer.resize(size);
  ASSERT_EQ(RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, buffer.data(), &size), ERROR_SUCCESS);
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(buffer.data(), &present, &dacl, &defaulted));
  const std::vector<Seen> seen = Entries(dacl);
  ASSERT_EQ(seen.size(), 4u);  // its own, then the hive's
  EXPECT_EQ(seen[0], (Seen{ACCESS_ALLOWED_ACE_TYPE, 0, KEY_QUERY_VALUE, u"S-1-1-0"}));
  RegCloseKey(key);
  // The base file of the hive carries it as a line of the key's section.
  HKEY flushed = Create(HKEY_LOCAL_MACHINE, u"Software\\Zx");
  zx::registry::SetCompactionFloor(0);
  RegSetValueExW(flushed, u"v", 0, REG_DWORD, buffer.data(), 4);  // makes the hive write its base
  RegCloseKey(flushed);
  zx::registry::SetCompactionFloor(1 << 20);
  EXPECT_NE(ReadHostFile(zx::machine::RegistryFolder() + "/HKLM.reg")
                .find("[Software\\Zx]\n!security=hex:01000480"),
            std::string::npos);
}

TEST_F(KeySecurityTest, HandlesNeedTheRightsForSecurity) {
  RegCloseKey(Create(HKEY_CURRENT_USER, u"Software\\Zx"));
  HKEY readOnly = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Zx", 0, KEY_QUERY_VALUE, &readOnly), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegGetKeySecurity(readOnly, DACL_SECURITY_INFORMATION, nullptr, &size), ERROR_ACCESS_DENIED);
  SECURITY_DESCRIPTOR absolute;
  InitializeSecurityDescriptor(&absolute, SECURITY_DESCRIPTOR_REVISION);
  EXPECT_EQ(RegSetKeySecurity(readOnly, DACL_SECURITY_INFORMATION, &absolute), ERROR_ACCESS_DENIED);
  RegCloseKey(readOnly);
  HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Zx\\Gone");
  ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"Software\\Zx\\Gone"), ERROR_SUCCESS);
  EXPECT_EQ(RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size), ERROR_KEY_DELETED);
  RegCloseKey(key);
}

TEST_F(KeySecurityTest, ADamagedKeyDescriptorInTheHiveIsAnError) {
  std::filesystem::create_directories(zx::machine::RegistryFolder());
  WriteHostFile(zx::machine::RegistryFolder() + "/HKCU.reg",
                "ZXHIVE 1 generation 1\n[]\n[Software]\n!security=hex:0100\nEND\n");
  zx::registry::ForgetCachedHives();
  std::vector<Seen> seen;
  EXPECT_EQ(Dacl(u"CURRENT_USER\\Software", SE_REGISTRY_KEY, seen),
            static_cast<DWORD>(ERROR_INVALID_SECURITY_DESCR));
  ASSERT_EQ(SetDacl(u"CURRENT_USER\\Software", SE_REGISTRY_KEY, {Allow(users_, KEY_READ)}), 0u);
  EXPECT_EQ(Dacl(u"CURRENT_USER\\Software", SE_REGISTRY_KEY, seen), 0u);
}

}  // namespace
