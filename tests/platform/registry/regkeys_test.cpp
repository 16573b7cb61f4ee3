// Keys through the Reg* API: open and create, names without regard to case, enumeration,
// deletion, access rights, handles and predefined keys.
#include <gtest/gtest.h>

#include "registry_fixture.h"
#include "zx_shreg.h"

namespace {

using KeyNames = zx::test::RegistryTest;

TEST_F(KeyNames, CreateThenOpenWithoutRegardToCase) {
  DWORD disposition = 0;
  HKEY created;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Zephrin\\Tunevo", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &created, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, DWORD{REG_CREATED_NEW_KEY});
  HKEY again;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\zephrin\\TUNEVO\\", 0, nullptr, 0,
                            KEY_READ, nullptr, &again, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, DWORD{REG_OPENED_EXISTING_KEY});
  HKEY opened;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"software\\ZEPHRIN\\tunevo", 0, KEY_READ, &opened), ERROR_SUCCESS);
  EXPECT_EQ(SetDword(created, u"Shared", 5), ERROR_SUCCESS);
  EXPECT_EQ(GetDword(opened, u"SHARED"), 5u);
  for (HKEY k : {created, again, opened}) EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
}

TEST_F(KeyNames, MissingKeysAndBadPaths) {
  HKEY key = reinterpret_cast<HKEY>(1);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Nowhere", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"\\Software", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"A\\\\B", 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr),
            ERROR_BAD_PATHNAME);
  const std::u16string tooLong(256, u'x');
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, tooLong.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr),
            ERROR_INVALID_PARAMETER);
  HKEY longest = Create(HKEY_CURRENT_USER, std::u16string(255, u'y').c_str());
  RegCloseKey(longest);
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, nullptr, 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"x", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(KeyNames, DepthIsLimitedTo512Levels) {
  std::u16string path = u"K";
  for (int i = 1; i < 512; ++i) path += u"\\K";
  HKEY deepest = Create(HKEY_CURRENT_USER, path.c_str());
  ASSERT_NE(deepest, nullptr);
  HKEY tooDeep;
  EXPECT_EQ(RegCreateKeyExW(deepest, u"K", 0, nullptr, 0, KEY_READ, nullptr, &tooDeep, nullptr),
            ERROR_INVALID_PARAMETER);
  RegCloseKey(deepest);
  zx::registry::ForgetCachedHives();
  HKEY reread;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &reread), ERROR_SUCCESS);
  RegCloseKey(reread);
}

using KeyEnumeration = zx::test::RegistryTest;

TEST_F(KeyEnumeration, SubkeysComeInAlphabeticalOrderWithoutRegardToCase) {
  HKEY parent = Create(HKEY_CURRENT_USER, u"List");
  for (const char16_t* name : {u"beta", u"Alpha", u"_under", u"GAMMA", u"alpha2"}) RegCloseKey(Create(parent, name));
  std::vector<std::u16string> names;
  char16_t name[32];
  for (DWORD i = 0;; ++i) {
    DWORD length = 32;
    const LONG result = RegEnumKeyExW(parent, i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(result, ERROR_SUCCESS);
    EXPECT_EQ(length, std::char_traits<char16_t>::length(name));
    names.push_back(name);
  }
  EXPECT_EQ(names, (std::vector<std::u16string>{u"_under", u"Alpha", u"alpha2", u"beta", u"GAMMA"}));
  RegCloseKey(parent);
}

// An enumeration that the list changes under reads the list as it is at each index.
TEST_F(KeyEnumeration, EachIndexReadsTheListAsItIsThen) {
  HKEY parent = Create(HKEY_CURRENT_USER, u"Changing");
  for (const char16_t* name : {u"b", u"d", u"f"}) RegCloseKey(Create(parent, name));
  const auto at = [&](DWORD index) {
    char16_t name[8] = {};
    DWORD length = 8;
    return RegEnumKeyExW(parent, index, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS
               ? std::u16string(name)
               : std::u16string(u"-");
  };
  EXPECT_EQ(at(0), u"b");
  EXPECT_EQ(at(1), u"d");
  RegCloseKey(Create(parent, u"a"));
  EXPECT_EQ(at(2), u"d");
  ASSERT_EQ(RegDeleteKeyW(parent, u"a"), ERROR_SUCCESS);
  EXPECT_EQ(at(2), u"f");
  EXPECT_EQ(at(1), u"d");
  ASSERT_EQ(RegDeleteKeyW(parent, u"f"), ERROR_SUCCESS);
  EXPECT_EQ(at(2), u"-");
  RegCloseKey(parent);
}

TEST_F(KeyEnumeration, AShortNameBufferAsksForMore) {
  HKEY parent = Create(HKEY_CURRENT_USER, u"List");
  RegCloseKey(Create(parent, u"Five5"));
  char16_t name[8] = {u'?'};
  DWORD length = 5;  // no room for the terminator
  EXPECT_EQ(RegEnumKeyExW(parent, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  length = 6;
  EXPECT_EQ(RegEnumKeyExW(parent, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(length, 5u);
  EXPECT_EQ(std::u16string(name), u"Five5");
  RegCloseKey(parent);
}

TEST_F(KeyEnumeration, QueryInfoCountsAndMeasures) {
  HKEY key = Create(HKEY_CURRENT_USER, u"Info");
  RegCloseKey(Create(key, u"short"));
  RegCloseKey(Create(key, u"a-longer-name"));
  SetText(key, u"v", u"0123456789");     // 22 bytes
  SetDword(key, u"longest-value-name", 1);
  DWORD subkeys = 0, maxSubkey = 0, values = 0, maxName = 0, maxData = 0;
  ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &maxSubkey, nullptr, &values,
                             &maxName, &maxData, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subkeys, 2u);
  EXPECT_EQ(maxSubkey, 13u);
  EXPECT_EQ(values, 2u);
  EXPECT_EQ(maxName, 18u);
  EXPECT_EQ(maxData, 22u);
  RegCloseKey(key);
}

using KeyDeletion = zx::test::RegistryTest;

TEST_F(KeyDeletion, AKeyWithSubkeysIsRefusedButATreeGoes) {
  HKEY app = Create(HKEY_CURRENT_USER, u"App\\Child\\Grandchild");
  RegCloseKey(app);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"App"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"app\\child\\GRANDCHILD"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"App\\Child\\Grandchild"), ERROR_FILE_NOT_FOUND);
  RegCloseKey(Create(HKEY_CURRENT_USER, u"App\\Child\\Again"));
  EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, u"App"), ERROR_SUCCESS);
  HKEY gone;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"App", 0, KEY_READ, &gone), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u""), ERROR_ACCESS_DENIED);
}

TEST_F(KeyDeletion, DeleteTreeWithoutSubkeyEmptiesTheKey) {
  HKEY key = Create(HKEY_CURRENT_USER, u"Box");
  RegCloseKey(Create(key, u"Inner"));
  SetDword(key, u"v", 1);
  EXPECT_EQ(RegDeleteTreeW(key, nullptr), ERROR_SUCCESS);
  DWORD subkeys = 9, values = 9;
  EXPECT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                             nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subkeys, 0u);
  EXPECT_EQ(values, 0u);
  RegCloseKey(key);
}

TEST_F(KeyDeletion, HandlesOnADeletedKeyAnswerKeyDeleted) {
  HKEY inner = Create(HKEY_CURRENT_USER, u"Doomed\\Inner");
  EXPECT_EQ(SHDeleteKeyW(HKEY_CURRENT_USER, u"DOOMED"), ERROR_SUCCESS);
  EXPECT_EQ(GetDword(inner, u"v"), ~DWORD{0});
  EXPECT_EQ(SetDword(inner, u"v", 1), ERROR_KEY_DELETED);
  DWORD values;
  EXPECT_EQ(RegQueryInfoKeyW(inner, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                             nullptr, nullptr, nullptr),
            ERROR_KEY_DELETED);
  // A new key of the same name is another key.
  RegCloseKey(Create(HKEY_CURRENT_USER, u"Doomed\\Inner"));
  EXPECT_EQ(SetDword(inner, u"v", 1), ERROR_KEY_DELETED);
  EXPECT_EQ(RegCloseKey(inner), ERROR_SUCCESS);
}

TEST_F(KeyDeletion, AKeyDeletesItselfThroughAnEmptySubkey) {
  HKEY key = Create(HKEY_CURRENT_USER, u"Self");
  EXPECT_EQ(RegDeleteKeyW(key, u""), ERROR_SUCCESS);
  EXPECT_EQ(SetDword(key, u"v", 1), ERROR_KEY_DELETED);
  RegCloseKey(key);
}

using KeyRights = zx::test::RegistryTest;

TEST_F(KeyRights, AReadHandleCannotWrite) {
  RegCloseKey(Create(HKEY_CURRENT_USER, u"Locked"));
  HKEY readOnly;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Locked", 0, KEY_READ, &readOnly), ERROR_SUCCESS);
  EXPECT_EQ(SetDword(readOnly, u"v", 1), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValueW(readOnly, u"v"), ERROR_ACCESS_DENIED);
  HKEY child;
  EXPECT_EQ(RegCreateKeyExW(readOnly, u"Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
            ERROR_ACCESS_DENIED);
  RegCloseKey(readOnly);
}

TEST_F(KeyRights, AWriteHandleCannotRead) {
  HKEY writeOnly = Create(HKEY_CURRENT_USER, u"Drop", KEY_SET_VALUE);
  EXPECT_EQ(SetDword(writeOnly, u"v", 1), ERROR_SUCCESS);
  DWORD size = 4;
  EXPECT_EQ(RegQueryValueExW(writeOnly, u"v", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
  char16_t name[8];
  DWORD length = 8;
  EXPECT_EQ(RegEnumKeyExW(writeOnly, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
  RegCloseKey(writeOnly);
}

using KeyHandles = zx::test::RegistryTest;

TEST_F(KeyHandles, BadHandlesAreRefused) {
  const HKEY bogus = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7FFF0));
  EXPECT_EQ(RegCloseKey(bogus), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SetDword(bogus, u"v", 1), ERROR_INVALID_HANDLE);
  HKEY key;
  EXPECT_EQ(RegOpenKeyExW(bogus, u"x", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
  HKEY closed = Create(HKEY_CURRENT_USER, u"Once");
  EXPECT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(closed), ERROR_INVALID_HANDLE);
}

TEST_F(KeyHandles, PredefinedKeysAreSignExtendedAndNeverClose) {
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(HKEY_LOCAL_MACHINE), static_cast<ULONG_PTR>(0xFFFFFFFF80000002ull));
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
  EXPECT_EQ(SetDword(HKEY_CURRENT_USER, u"AtRoot", 3), ERROR_SUCCESS);
  EXPECT_EQ(GetDword(HKEY_CURRENT_USER, u"atroot"), 3u);
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, u"atroot"), ~DWORD{0});
  EXPECT_EQ(SetDword(HKEY_USERS, u"AtRoot", 4), ERROR_SUCCESS);
  EXPECT_EQ(GetDword(HKEY_CURRENT_USER, u"atroot"), 3u);
}

TEST_F(KeyHandles, OpenAndCreateWithoutSubkeyAnswerTheSameKey) {
  HKEY same = nullptr;
  EXPECT_EQ(RegOpenKeyW(HKEY_CURRENT_USER, nullptr, &same), ERROR_SUCCESS);
  EXPECT_EQ(same, HKEY_CURRENT_USER);
  EXPECT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, u"", &same), ERROR_SUCCESS);
  EXPECT_EQ(same, HKEY_CURRENT_USER);
  HKEY fresh;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &fresh), ERROR_SUCCESS);
  EXPECT_NE(fresh, HKEY_CURRENT_USER);
  RegCloseKey(fresh);
}

TEST_F(KeyHandles, ClassesRootIsTheMachinesSoftwareClasses) {
  HKEY ext = Create(HKEY_CLASSES_ROOT, u".zxp");
  EXPECT_EQ(SetText(ext, nullptr, u"Zephrin.Package"), ERROR_SUCCESS);
  RegCloseKey(ext);
  HKEY machine;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Classes\\.ZXP", 0, KEY_READ, &machine), ERROR_SUCCESS);
  EXPECT_EQ(GetText(machine, u""), u"Zephrin.Package");
  RegCloseKey(machine);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, u""), ERROR_ACCESS_DENIED);
}

TEST_F(KeyHandles, ClassesRootWithoutItsKeyReadsAsMissing) {
  EXPECT_EQ(GetDword(HKEY_CLASSES_ROOT, u"v"), ~DWORD{0});
  HKEY key;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"x", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(SetDword(HKEY_CLASSES_ROOT, u"v", 7), ERROR_SUCCESS);
  EXPECT_EQ(GetDword(HKEY_CLASSES_ROOT, u"V"), 7u);
}

TEST_F(KeyHandles, NarrowNamesGoThroughTheAnsiCodePage) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Caf\xe9\\\x80uro", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"CAF\u00c9\\\u20acURO", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "caf\xe9", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Caf\xc9\\\x80URO"), ERROR_SUCCESS);
}

TEST_F(KeyHandles, FlushSucceedsOnAnOpenKey) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Flushed");
  SetDword(key, u"v", 1);
  EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegFlushKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
  RegCloseKey(key);
}

}  // namespace
