// The settings store: where the values live, their stored form, the defaults of the switches
// and the edge cases of reading and writing (other types, missing values, unexpanded paths).
#include <gtest/gtest.h>

#include <vector>

#include "HalvoranApp.h"
#include "SettingsStore.h"
#include "machine_fixture.h"

namespace {

class SettingsStoreTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    g_strAppName = u"Zephrin Tunevo";
    path_ = BuildSettingsKeyPath();
  }
  void TearDown() override { g_strAppName.Empty(); }
  // The raw value: its type and bytes; type 0 when missing.
  std::pair<DWORD, std::vector<BYTE>> Raw(LPCTSTR name) const {
    HKEY key = nullptr;
    DWORD type = 0, size = 0;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path_, 0, KEY_READ, &key) != ERROR_SUCCESS) return {0, {}};
    std::vector<BYTE> bytes(256);
    size = static_cast<DWORD>(bytes.size());
    if (RegQueryValueExW(key, name, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS) type = 0;
    RegCloseKey(key);
    bytes.resize(type ? size : 0);
    return {type, bytes};
  }
  void Put(LPCTSTR name, DWORD type, const void* data, DWORD size) const {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path_, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
  CString path_;
};

TEST_F(SettingsStoreTest, SettingsLiveUnderTheProgramsKey) {
  EXPECT_EQ(path_, CString(u"Software\\Corvash Vozivuved\\Zephrin Tunevo\\Zephrin Tunevo\\Settings"));
}

TEST_F(SettingsStoreTest, SwitchesAreStoredAsDecimalTextWithTerminator) {
  ASSERT_TRUE(WriteSettingSwitch(path_, kSettingAutoScan, 1));
  const auto [type, bytes] = Raw(kSettingAutoScan);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(bytes, (std::vector<BYTE>{'1', 0, 0, 0}));
  ASSERT_TRUE(WriteSettingSwitch(path_, kSettingReboot, -12));
  EXPECT_EQ(Raw(kSettingReboot).second, (std::vector<BYTE>{'-', 0, '1', 0, '2', 0, 0, 0}));
  EXPECT_EQ(ReadSettingSwitch(path_, kSettingReboot), -12);
}

TEST_F(SettingsStoreTest, MissingSwitchesTakeTheirDefaultsAndKeepThem) {
  EXPECT_EQ(ReadSettingSwitch(path_, kSettingAutoScan), 0);
  EXPECT_EQ(Raw(kSettingAutoScan).first, 0u);  // a plain read writes nothing
  EXPECT_EQ(ReadSettingSwitchOrDefault(path_, kSettingAutoScan, 0), 0);
  EXPECT_EQ(ReadSettingSwitchOrDefault(path_, kSettingRunAtStartUp, 1), 1);
  EXPECT_EQ(Raw(kSettingAutoScan).second, (std::vector<BYTE>{'0', 0, 0, 0}));
  EXPECT_EQ(Raw(kSettingRunAtStartUp).second, (std::vector<BYTE>{'1', 0, 0, 0}));
  WriteSettingSwitch(path_, kSettingRunAtStartUp, 0);
  EXPECT_EQ(ReadSettingSwitchOrDefault(path_, kSettingRunAtStartUp, 1), 0);
}

TEST_F(SettingsStoreTest, SwitchTextsReadAsTheirLeadingDecimalNumber) {
  const struct {
    const char16_t* text;
    int value;
  } cases[] = {
      {u"0", 0},           {u"1", 1},   {u"12", 12},         {u" 7", 7},        {u"+3", 3},
      {u"-4x", -4},        {u"abc", 0}, {u"", 0},            {u"9z1", 9},       {u"2147483647", 2147483647},
      {u"99999999999", 2147483647},     {u"-99999999999", -2147483647 - 1}, {u"\uff11", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecimalValue(c.text), c.value) << CStringA(c.text).GetString();
    SetHkcuValue(path_, kSettingAutoScan, c.text, kSettingText, true);
    EXPECT_EQ(ReadSettingSwitch(path_, kSettingAutoScan), c.value);
  }
}

TEST_F(SettingsStoreTest, NumberWhereTextIsExpectedReadsAsEmptyAndAsZero) {
  const DWORD one = 1;
  Put(kSettingAutoScan, REG_DWORD, &one, sizeof one);
  CString text = u"";
  EXPECT_TRUE(GetHkcuValue(path_, kSettingAutoScan, text, kSettingText));
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(ReadSettingSwitch(path_, kSettingAutoScan), 0);
  EXPECT_EQ(ReadSettingSwitchOrDefault(path_, kSettingAutoScan, 1), 0);  // present, so no default
  DWORD number = 0;
  EXPECT_TRUE(ReadHkcuValue(path_, kSettingAutoScan, text, number, kSettingNumber));
  EXPECT_EQ(number, 1u);
}

TEST_F(SettingsStoreTest, MissingKeysAndValuesLeaveTheOutputsAlone) {
  CString text = u"kept";
  DWORD number = 77;
  EXPECT_TRUE(ReadHkcuValue(u"Software\\Nowhere", kSettingAutoScan, text, number, kSettingText));
  EXPECT_TRUE(ReadHkcuValue(path_, u"Missing", text, number, kSettingNumber));
  WriteSettingSwitch(path_, u"Text", 5);
  EXPECT_TRUE(ReadHkcuValue(path_, u"Text", text, number, kSettingNumber));  // text is no number
  EXPECT_EQ(text, CString(u"kept"));
  EXPECT_EQ(number, 77u);
}

TEST_F(SettingsStoreTest, WritingWithoutCreateChangesOnlyExistingValues) {
  EXPECT_TRUE(SetHkcuValue(path_, kSettingReboot, u"1", kSettingText, false));
  EXPECT_EQ(Raw(kSettingReboot).first, 0u);
  WriteSettingSwitch(path_, kSettingReboot, 0);
  EXPECT_TRUE(SetHkcuValue(path_, kSettingReboot, u"1", kSettingText, false));
  EXPECT_EQ(ReadSettingSwitch(path_, kSettingReboot), 1);
  EXPECT_TRUE(WriteHkcuValue(path_, kSettingReboot, u"", 9, kSettingNumber, false));
  const auto [type, bytes] = Raw(kSettingReboot);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(bytes, (std::vector<BYTE>{9, 0, 0, 0}));
}

TEST_F(SettingsStoreTest, FoldersComeBackUnexpandedOrAsTheirDefault) {
  EXPECT_EQ(ReadSettingFolder(path_, kSettingDownloadPath, u"C:\\Data\\Download\\"), CString(u"C:\\Data\\Download\\"));
  SetHkcuValue(path_, kSettingDownloadPath, u"", kSettingText, true);
  EXPECT_EQ(ReadSettingFolder(path_, kSettingDownloadPath, u"C:\\D\\"), CString(u"C:\\D\\"));
  const char16_t expandable[] = u"%USERPROFILE%\\Backup";
  Put(kSettingBackupPath, REG_EXPAND_SZ, expandable, sizeof expandable);
  EXPECT_EQ(ReadSettingFolder(path_, kSettingBackupPath, u"C:\\B\\"), CString(expandable));
}

}  // namespace
