// Values through the Reg* API: sizes and short buffers, types, names without regard to case,
// enumeration order, deletion, RegGetValue and the ANSI forms.
#include <gtest/gtest.h>

#include <cstring>

#include "registry_fixture.h"
#include "zx_shreg.h"

namespace {

class Values : public zx::test::RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    key_ = Create(HKEY_CURRENT_USER, u"Software\\Values");
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegistryTest::TearDown();
  }
  HKEY key_ = nullptr;
};

TEST_F(Values, SizeQueryThenShortBufferThenRead) {
  ASSERT_EQ(SetText(key_, u"Path", u"C:\\Zephrin"), ERROR_SUCCESS);
  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueExW(key_, u"Path", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, DWORD{REG_SZ});
  EXPECT_EQ(size, 22u);
  char16_t buffer[16] = {};
  size = 20;
  EXPECT_EQ(RegQueryValueExW(key_, u"Path", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 22u);
  size = sizeof buffer;
  EXPECT_EQ(RegQueryValueExW(key_, u"path", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 22u);
  EXPECT_EQ(std::u16string(buffer), u"C:\\Zephrin");
  EXPECT_EQ(RegQueryValueExW(key_, u"Path", nullptr, &type, reinterpret_cast<BYTE*>(buffer), nullptr),
            ERROR_INVALID_PARAMETER);
}

TEST_F(Values, MissingValueIsFileNotFound) {
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key_, u"Nope", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValueW(key_, u"Nope"), ERROR_FILE_NOT_FOUND);
}

TEST_F(Values, EmptyStringStoresItsTerminator) {
  ASSERT_EQ(SetText(key_, u"Empty", u""), ERROR_SUCCESS);
  DWORD size = 99;
  EXPECT_EQ(RegQueryValueExW(key_, u"Empty", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 2u);
  ASSERT_EQ(RegSetValueExW(key_, u"Nothing", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(key_, u"Nothing", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(RegSetValueExW(key_, u"Bad", 0, REG_BINARY, nullptr, 4), ERROR_NOACCESS);
}

TEST_F(Values, ADwordReadIntoATextBufferStaysADword) {
  ASSERT_EQ(SetDword(key_, u"Number", 0x00410042), ERROR_SUCCESS);
  char16_t text[8] = {u'x', u'x', u'x', u'x'};
  DWORD type = 0, size = sizeof text;
  EXPECT_EQ(RegQueryValueExW(key_, u"Number", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, DWORD{REG_DWORD});
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(text[0], u'B');
  EXPECT_EQ(text[1], u'A');
  EXPECT_EQ(text[2], u'x');
}

TEST_F(Values, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  SetDword(key_, u"MixedCase", 1);
  SetDword(key_, u"MIXEDCASE", 2);
  EXPECT_EQ(GetDword(key_, u"mixedcase"), 2u);
  char16_t name[16];
  DWORD length = 16;
  ASSERT_EQ(RegEnumValueW(key_, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(name), u"MixedCase");
  EXPECT_EQ(RegEnumValueW(key_, 1, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
}

TEST_F(Values, EnumerationFollowsCreationOrder) {
  for (const char16_t* name : {u"zeta", u"Alpha", u"", u"mid"}) SetDword(key_, name, 1);
  RegDeleteValueW(key_, u"ALPHA");
  SetDword(key_, u"alpha", 2);
  std::vector<std::u16string> names;
  for (DWORD i = 0;; ++i) {
    char16_t name[16];
    DWORD length = 16, type = 0, value = 0, size = 4;
    const LONG result = RegEnumValueW(key_, i, name, &length, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (result == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(result, ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD{REG_DWORD});
    names.push_back(name);
  }
  EXPECT_EQ(names, (std::vector<std::u16string>{u"zeta", u"", u"mid", u"alpha"}));
}

TEST_F(Values, EnumerationAsksForMoreWhenBuffersAreShort) {
  SetText(key_, u"Named", u"0123456789");
  char16_t name[16];
  DWORD length = 5, size = 4;
  BYTE data[32];
  EXPECT_EQ(RegEnumValueW(key_, 0, name, &length, nullptr, nullptr, data, &size), ERROR_MORE_DATA);
  length = 6;
  EXPECT_EQ(RegEnumValueW(key_, 0, name, &length, nullptr, nullptr, data, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 22u);
  EXPECT_EQ(length, 5u);
}

TEST_F(Values, ValueNamesUpTo16383Units) {
  const std::u16string longest(16383, u'n');
  EXPECT_EQ(SetDword(key_, longest.c_str(), 1), ERROR_SUCCESS);
  EXPECT_EQ(GetDword(key_, longest.c_str()), 1u);
  const std::u16string tooLong(16384, u'n');
  EXPECT_EQ(SetDword(key_, tooLong.c_str(), 1), ERROR_INVALID_PARAMETER);
}

TEST_F(Values, EveryTypeKeepsItsBytes) {
  const BYTE odd[] = {0x41, 0x00, 0x42};
  const std::uint64_t qword = 0x0102030405060708ull;
  ASSERT_EQ(RegSetValueExW(key_, u"odd", 0, REG_SZ, odd, 3), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key_, u"q", 0, REG_QWORD, reinterpret_cast<const BYTE*>(&qword), 8), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key_, u"custom", 0, 0x12345, odd, 2), ERROR_SUCCESS);
  zx::registry::ForgetCachedHives();
  BYTE data[16];
  DWORD type = 0, size = sizeof data;
  ASSERT_EQ(RegQueryValueExW(key_, u"odd", nullptr, &type, data, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(std::memcmp(data, odd, 3), 0);
  size = sizeof data;
  ASSERT_EQ(RegQueryValueExW(key_, u"q", nullptr, &type, data, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, DWORD{REG_QWORD});
  EXPECT_EQ(std::memcmp(data, &qword, 8), 0);
  size = sizeof data;
  ASSERT_EQ(RegQueryValueExW(key_, u"custom", nullptr, &type, data, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, 0x12345u);
  EXPECT_EQ(size, 2u);
}

TEST_F(Values, ShellDeleteValueReachesASubkey) {
  HKEY sub = Create(key_, u"Sub");
  SetDword(sub, u"v", 1);
  EXPECT_EQ(SHDeleteValueW(key_, u"SUB", u"V"), ERROR_SUCCESS);
  EXPECT_EQ(SHDeleteValueW(key_, u"Sub", u"v"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(SHDeleteValueW(key_, u"Missing", u"v"), ERROR_FILE_NOT_FOUND);
  RegCloseKey(sub);
}

using GetValue = Values;

TEST_F(GetValue, RestrictsTypesAndTerminatesStrings) {
  const BYTE unterminated[] = {'a', 0, 'b', 0};
  RegSetValueExW(key_, u"raw", 0, REG_SZ, unterminated, 4);
  SetDword(key_, u"n", 7);
  char16_t text[8] = {};
  DWORD type = 0, size = sizeof text;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, u"Software\\Values", u"raw", RRF_RT_REG_SZ, &type, text, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(std::u16string(text), u"ab");
  DWORD number = 0;
  size = 4;
  EXPECT_EQ(RegGetValueW(key_, nullptr, u"n", RRF_RT_DWORD, &type, &number, &size), ERROR_SUCCESS);
  EXPECT_EQ(number, 7u);
  size = sizeof text;
  EXPECT_EQ(RegGetValueW(key_, nullptr, u"n", RRF_RT_REG_SZ | RRF_ZEROONFAILURE, &type, text, &size),
            ERROR_UNSUPPORTED_TYPE);
  EXPECT_EQ(text[0], 0);
  EXPECT_EQ(RegGetValueW(key_, nullptr, u"n", RRF_RT_REG_EXPAND_SZ, &type, text, &size), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegGetValueW(key_, u"Missing", u"n", RRF_RT_ANY, &type, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
  SetText(key_, u"exp", u"%TEMP%", REG_EXPAND_SZ);
  size = sizeof text;
  EXPECT_EQ(RegGetValueW(key_, nullptr, u"exp", RRF_RT_ANY, &type, text, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, DWORD{REG_EXPAND_SZ});
  EXPECT_EQ(std::u16string(text), u"%TEMP%");
  EXPECT_EQ(RegGetValueW(key_, nullptr, u"exp", RRF_RT_REG_SZ, &type, text, &size), ERROR_UNSUPPORTED_TYPE);
  const BYTE three[] = {1, 2, 3};
  RegSetValueExW(key_, u"short", 0, REG_BINARY, three, 3);
  size = 4;
  EXPECT_EQ(RegGetValueW(key_, nullptr, u"short", RRF_RT_DWORD, &type, &number, &size), ERROR_DATATYPE_MISMATCH);
}

using AnsiValues = Values;

TEST_F(AnsiValues, TextComesBackInWindows1252) {
  SetText(key_, u"Price", u"5\u20ac caf\u00e9");
  DWORD type = 0, size = 0;
  ASSERT_EQ(RegQueryValueExA(key_, "PRICE", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 8u);
  char text[16] = {};
  size = 7;
  EXPECT_EQ(RegQueryValueExA(key_, "Price", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_MORE_DATA);
  size = sizeof text;
  ASSERT_EQ(RegQueryValueExA(key_, "Price", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, "5\x80 caf\xe9");
}

TEST_F(AnsiValues, TextIsStoredAsUtf16AndOtherTypesAsGiven) {
  ASSERT_EQ(RegSetValueExA(key_, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>("\xc9t\xe9"), 4), ERROR_SUCCESS);
  EXPECT_EQ(GetText(key_, u"name"), u"\u00c9t\u00e9");
  ASSERT_EQ(RegSetValueExA(key_, "List", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>("a\0b\0"), 5), ERROR_SUCCESS);
  DWORD size = 0;
  RegQueryValueExW(key_, u"List", nullptr, nullptr, nullptr, &size);
  EXPECT_EQ(size, 10u);
  const DWORD number = 42;
  ASSERT_EQ(RegSetValueExA(key_, "N", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4), ERROR_SUCCESS);
  EXPECT_EQ(GetDword(key_, u"n"), 42u);
  DWORD read = 0;
  size = 4;
  EXPECT_EQ(RegQueryValueExA(key_, "n", nullptr, nullptr, reinterpret_cast<BYTE*>(&read), &size), ERROR_SUCCESS);
  EXPECT_EQ(read, 42u);
  EXPECT_EQ(RegDeleteValueA(key_, "N"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueA(key_, "N"), ERROR_FILE_NOT_FOUND);
}

}  // namespace
