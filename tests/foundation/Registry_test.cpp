// CRegistry and the one-value helpers: typed values, archive values and their bytes.
#include <gtest/gtest.h>

#include <vector>

#include "Registry.h"
#include "machine_fixture.h"
#include "cstring_printer.h"

namespace {

const LPCTSTR kPath = _T("Software\\Corvash Vozivuved\\Zephrin Tunevo\\Test");

class RegistryTest : public zx::test::MachineTest {
 protected:
  static std::vector<BYTE> RawValue(LPCTSTR name, DWORD* type = nullptr) {
    HKEY key = nullptr;
    std::vector<BYTE> bytes(8192);
    DWORD size = static_cast<DWORD>(bytes.size());
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    if (RegQueryValueExW(key, name, nullptr, type, bytes.data(), &size) != ERROR_SUCCESS) size = 0;
    RegCloseKey(key);
    bytes.resize(size);
    return bytes;
  }
};

TEST_F(RegistryTest, TheProductPathIsBuiltFromItsWords) {
  CString path;
  GetProductRegistryKey(path);
  EXPECT_EQ(path, CString(_T("Software\\Corvash Vozivuved\\Zephrin Tunevo")));
  EXPECT_EQ(GetProductRegistryKeyText(), GetProductRegistryKeyText());
}

TEST_F(RegistryTest, AReadOnlyObjectDoesNotCreateTheKey) {
  CRegistry registry;
  registry.m_dwAccess = 0x20019;
  EXPECT_FALSE(registry.Open(HKEY_CURRENT_USER, kPath, TRUE));
  EXPECT_FALSE(RegExistsValue(HKEY_CURRENT_USER, kPath, _T("x")));
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kPath, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, StringsAndNumbersKeepTheirTypes) {
  CRegistry registry;
  ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, kPath, TRUE));
  EXPECT_TRUE(registry.WriteString(_T("Empty"), _T("")));
  DWORD type = 0;
  EXPECT_EQ(RawValue(_T("Empty"), &type).size(), 2u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_TRUE(registry.WriteString(_T("Path"), _T("%TEMP%\\x"), TRUE));
  CString text;
  BOOL expand = FALSE;
  EXPECT_TRUE(registry.ReadStringEx(_T("Path"), text, expand));
  EXPECT_TRUE(expand);
  EXPECT_EQ(text, CString(_T("%TEMP%\\x")));

  EXPECT_TRUE(registry.WriteByteValue(_T("Byte"), 0x1234));
  DWORD number = 7;
  EXPECT_TRUE(registry.ReadDWORD(_T("Byte"), number));
  EXPECT_EQ(number, 0x34u);
  // A number is not a string: the text is left as it was.
  text = _T("unchanged");
  EXPECT_FALSE(registry.ReadString(_T("Byte"), text));
  EXPECT_EQ(text, CString(_T("unchanged")));
  // A string is not a number: ReadDWORDKeep keeps the value.
  number = 99;
  EXPECT_FALSE(registry.ReadDWORDKeep(_T("Path"), number));
  EXPECT_EQ(number, 99u);
  BOOL flag = FALSE;
  EXPECT_TRUE(registry.ReadBool(_T("Byte"), flag));
  EXPECT_TRUE(flag);
}

TEST_F(RegistryTest, EnumerationListsSubKeysAndValues) {
  CRegistry registry;
  ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, kPath, TRUE));
  registry.WriteDWORDValue(_T("b"), 1);
  registry.WriteDWORDValue(_T("a"), 2);
  CRegistry child;
  ASSERT_TRUE(child.Open(HKEY_CURRENT_USER, CString(kPath) + _T("\\Zeta"), TRUE));
  ASSERT_TRUE(child.Open(HKEY_CURRENT_USER, CString(kPath) + _T("\\alpha"), TRUE));
  CStringArray names;
  names.Add(_T("stale"));
  ASSERT_TRUE(registry.EnumSubKeys(_T(""), names));
  ASSERT_EQ(names.GetSize(), 2);
  EXPECT_EQ(names[0], CString(_T("alpha")));
  EXPECT_EQ(names[1], CString(_T("Zeta")));
  ASSERT_TRUE(registry.EnumValueNames(_T(""), names));
  ASSERT_EQ(names.GetSize(), 2);
  EXPECT_EQ(names[0], CString(_T("b")));
  EXPECT_EQ(registry.GetSubKeyCount(), 2u);
  EXPECT_EQ(registry.GetValueCount(), 2u);
  EXPECT_EQ(registry.GetMaxSubKeyLength(), 5u);
  EXPECT_EQ(RegEnumValueNames(registry.m_hKey, names), 2);
}

TEST_F(RegistryTest, AStringListIsStoredInTheArchiveLayout) {
  CRegistry registry;
  ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, kPath, TRUE));
  CStringArray list;
  list.Add(_T("ab"));
  list.Add(_T(""));
  ASSERT_TRUE(registry.WriteList(_T("List"), list));
  DWORD type = 0;
  const std::vector<BYTE> expected = {0x02, 0x00,                                            // count
                                      0xFF, 0xFE, 0xFF, 0x02, 'a', 0x00, 'b', 0x00,          // "ab"
                                      0xFF, 0xFE, 0xFF, 0x00};                               // ""
  EXPECT_EQ(RawValue(_T("List"), &type), expected);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(registry.m_dwLastType, 3u);
  EXPECT_EQ(registry.m_dwLastLength, expected.size());

  // The reader keeps the number of elements the array had before the call.
  CStringArray three;
  three.SetSize(3);
  ASSERT_TRUE(registry.ReadStringArray(_T("List"), three));
  ASSERT_EQ(three.GetSize(), 3);
  EXPECT_EQ(three[0], CString(_T("ab")));
  EXPECT_TRUE(three[2].IsEmpty());
  CStringArray one;
  one.SetSize(1);
  ASSERT_TRUE(registry.ReadStringArray(_T("List"), one));
  ASSERT_EQ(one.GetSize(), 1);
  EXPECT_EQ(one[0], CString(_T("ab")));
}

TEST_F(RegistryTest, RectanglesAndPointsAreFiveNumbers) {
  CRegistry registry;
  ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, kPath, TRUE));
  const RECT rect{10, 20, 30, -40};
  ASSERT_TRUE(registry.WriteRect(_T("Rect"), rect));
  EXPECT_EQ(registry.m_dwLastType, 1u);
  const std::vector<BYTE> expected = {0x05, 0x00, 20, 0, 0, 0, 0xD8, 0xFF, 0xFF, 0xFF,
                                      10,   0,    0,  0, 30, 0, 0,    0,    0,    0,    0, 0};
  EXPECT_EQ(RawValue(_T("Rect")), expected);
  RECT back{};
  ASSERT_TRUE(registry.ReadRect(_T("Rect"), back));
  EXPECT_EQ(back.left, 10);
  EXPECT_EQ(back.top, 20);
  EXPECT_EQ(back.right, 30);
  EXPECT_EQ(back.bottom, -40);
  ASSERT_TRUE(registry.WritePoint(_T("Point"), POINT{-3, 4}));
  EXPECT_EQ(registry.m_dwLastType, 2u);
  POINT point{};
  ASSERT_TRUE(registry.ReadPoint(_T("Point"), point));
  EXPECT_EQ(point.x, -3);
  EXPECT_EQ(point.y, 4);
}

TEST_F(RegistryTest, DamagedOrForeignArchiveValuesFailCleanly) {
  CRegistry registry;
  ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, kPath, TRUE));
  const BYTE truncated[] = {0x05, 0x00, 0x01};
  ASSERT_TRUE(registry.WriteBinary(_T("Bad"), truncated, sizeof(truncated)));
  CDWordArray numbers;
  numbers.SetSize(5);
  EXPECT_FALSE(registry.ReadDWordArray(_T("Bad"), numbers));
  EXPECT_EQ(registry.m_dwLastError, static_cast<DWORD>(ERROR_INVALID_DATA));
  registry.WriteString(_T("Text"), _T("not binary"));
  EXPECT_FALSE(registry.ReadDWordArray(_T("Text"), numbers));
  // Larger than the 4096-character read buffer.
  std::vector<BYTE> huge(9000, 0);
  ASSERT_TRUE(registry.WriteBinary(_T("Huge"), huge.data(), static_cast<DWORD>(huge.size())));
  EXPECT_FALSE(registry.ReadDWordArray(_T("Huge"), numbers));
  EXPECT_EQ(numbers.GetSize(), 5);
}

TEST_F(RegistryTest, OneValueHelpers) {
  EXPECT_EQ(RegReadDWORD(HKEY_CURRENT_USER, kPath, _T("Missing")), 0u);
  // Reading created the key.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kPath, 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_TRUE(RegWriteDWORD(HKEY_CURRENT_USER, kPath, _T("N"), 42));
  EXPECT_EQ(RegReadDWORD(HKEY_CURRENT_USER, kPath, _T("N")), 42u);
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, kPath, _T("S"), _T("abcd")));
  EXPECT_TRUE(RegExistsValue(HKEY_CURRENT_USER, kPath, _T("S")));
  WCHAR buffer[5];
  EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, kPath, _T("S"), buffer, 5));
  EXPECT_EQ(CString(buffer), CString(_T("abcd")));
  // A value exactly as long as the buffer leaves no room for the terminator.
  EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, kPath, _T("S"), buffer, 4));
}

TEST_F(RegistryTest, OpenOrCreateUsesTheRootGivenToTheConstructor) {
  CRegistry machine(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(machine.OpenOrCreate(kPath));
  ASSERT_TRUE(machine.WriteDWORDValue(_T("Where"), 1));
  EXPECT_EQ(RegReadDWORD(HKEY_LOCAL_MACHINE, kPath, _T("Where")), 1u);
  EXPECT_FALSE(RegExistsValue(HKEY_CURRENT_USER, kPath, _T("Where")));
  CRegistry user;
  ASSERT_TRUE(user.OpenOrCreate(kPath));
  EXPECT_FALSE(user.ValueExists(_T("Where")));
}

}  // namespace
