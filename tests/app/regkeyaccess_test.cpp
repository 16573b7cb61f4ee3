// CRegKeyAccess: opening with and without creating, typed reads and what they answer for
// other types, multi-strings with their default, and value deletion.
#include <gtest/gtest.h>

#include "RegKeyAccess.h"
#include "machine_fixture.h"

namespace {

using RegKeyAccess = zx::test::MachineTest;

constexpr LPCTSTR kKey = u"Software\\Zephrin\\Test";

void Put(DWORD type, LPCTSTR name, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
  RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

TEST_F(RegKeyAccess, OpensOrCreatesWithTheStoredAccess) {
  CRegKeyAccess key(HKEY_CURRENT_USER);
  EXPECT_EQ(key.GetAccess(), CRegKeyAccess::kReadWrite);
  EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, kKey));
  EXPECT_TRUE(key.Open(HKEY_CURRENT_USER, kKey, true));
  EXPECT_EQ(key.GetSubKey(), CString(kKey));
  EXPECT_TRUE(key.WriteString(u"Name", u"Zephrin"));
  CString text;
  EXPECT_TRUE(key.ReadString(u"Name", text));
  EXPECT_EQ(text, CString(u"Zephrin"));
  EXPECT_TRUE(key.ValueExists(u"Name"));
  EXPECT_TRUE(key.DeleteValue(u"Name"));
  EXPECT_FALSE(key.ValueExists(u"Name"));
  EXPECT_FALSE(key.DeleteValue(u"Name"));
}

TEST_F(RegKeyAccess, ReadOnlyNeverCreates) {
  CRegKeyAccess key(HKEY_CURRENT_USER, CRegKeyAccess::kReadOnly);
  EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, u"Software\\Missing", true));
  EXPECT_FALSE(key.IsOpen());
  key.SetAccess(CRegKeyAccess::kReadWrite);
  EXPECT_TRUE(key.Open(HKEY_CURRENT_USER, u"Software\\Missing", true));
  CRegKeyAccess reader(HKEY_CURRENT_USER, CRegKeyAccess::kReadOnly);
  ASSERT_TRUE(reader.Open(u"Software\\Missing"));
  EXPECT_FALSE(reader.WriteString(u"x", u"y"));
}

TEST_F(RegKeyAccess, ReadsOnlyTheirOwnTypes) {
  const DWORD number = 42;
  const char16_t text[] = u"%TEMP%\\x";
  Put(REG_DWORD, u"Number", &number, 4);
  Put(REG_EXPAND_SZ, u"Folder", text, sizeof text);
  Put(REG_BINARY, u"Short", &number, 2);
  CRegKeyAccess key(HKEY_CURRENT_USER, CRegKeyAccess::kReadOnly);
  ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kKey));
  DWORD read = 0;
  EXPECT_TRUE(key.ReadDword(u"Number", read));
  EXPECT_EQ(read, 42u);
  CString string;
  EXPECT_FALSE(key.ReadString(u"Number", string));
  EXPECT_TRUE(key.ReadString(u"Folder", string));
  EXPECT_EQ(string, CString(u"%TEMP%\\x"));  // not expanded
  EXPECT_FALSE(key.ReadDword(u"Folder", read));
  EXPECT_FALSE(key.ReadDword(u"Short", read));
  EXPECT_FALSE(key.ReadDword(u"Missing", read));
  EXPECT_EQ(read, 42u);
}

TEST_F(RegKeyAccess, LongTextsAndUnterminatedOnesReadWhole) {
  std::u16string longText(3000, u'x');
  Put(REG_SZ, u"Long", longText.c_str(), static_cast<DWORD>((longText.size() + 1) * 2));
  Put(REG_SZ, u"Bare", u"abc", 6);  // no terminator
  CRegKeyAccess key(HKEY_CURRENT_USER, CRegKeyAccess::kReadOnly);
  ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kKey));
  CString text;
  EXPECT_TRUE(key.ReadString(u"Long", text));
  EXPECT_EQ(text.GetLength(), 3000);
  EXPECT_TRUE(key.ReadString(u"Bare", text));
  EXPECT_EQ(text, CString(u"abc"));
}

TEST_F(RegKeyAccess, MultiStringsStopAtTheFirstEmptyOne) {
  const char16_t list[] = u"one\0two\0\0three\0";
  Put(REG_MULTI_SZ, u"List", list, sizeof list);
  const DWORD number = 1;
  Put(REG_DWORD, u"Number", &number, 4);
  CRegKeyAccess key(HKEY_CURRENT_USER, CRegKeyAccess::kReadOnly);
  ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kKey));
  CStringArray items;
  items.Add(u"stale");
  EXPECT_TRUE(key.ReadMultiString(u"List", items));
  ASSERT_EQ(items.GetSize(), 2);
  EXPECT_EQ(items[1], CString(u"two"));
  EXPECT_FALSE(key.ReadMultiString(u"Number", items, u"fallback"));
  ASSERT_EQ(items.GetSize(), 3);
  EXPECT_EQ(items[2], CString(u"fallback"));
}

}  // namespace
