// The settings store: typed values of a program's key, the text rings, the 64-bit values and
// the launcher status values.
#include <gtest/gtest.h>

#include "ConfigurationManager.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "Registry.h"
#include "machine_fixture.h"

namespace zx::test {
namespace {

constexpr LPCTSTR kKeyPath = _T("Software\\Corvash Vozivuved\\Zephrin Tunevo\\Probe");

class SettingsStore : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    app_.m_pSettings = CConfigurationManager::Create(_T("  Probe "));
  }
  void TearDown() override {
    if (g_pLangIniReader == &language_) g_pLangIniReader = nullptr;
  }
  // A language table holding the one text the launcher status falls back to.
  void UseLanguageTable() {
    WriteHostFile(root() + "/drive_c/lang/qvx.ini", "[QVX]\r\nIDS_SCAN_YET_NOT_PERF=Scan not yet performed\r\n");
    language_.SetFileName(_T("C:\\lang\\qvx.ini"));
    g_pLangIniReader = &language_;
  }
  CHalvoranApp app_;
  CIniReader language_;
};

TEST_F(SettingsStore, TheKeyPathJoinsTheProductPathWithTheTrimmedName) {
  EXPECT_EQ(app_.GetSettingsKeyPath(), CString(kKeyPath));
}

TEST_F(SettingsStore, TextsNumbersAndSixtyFourBitValuesRoundTrip) {
  EXPECT_TRUE(app_.WriteSettingString(_T("Folder"), _T("C:\\Downloads")));
  EXPECT_TRUE(app_.WriteSettingDWORD(_T("Count"), 4000000000u));
  EXPECT_TRUE(app_.WriteSettingInt(_T("Days"), -7));
  EXPECT_TRUE(app_.WriteSettingQword(_T("Big"), 0x123456789ABCDEF0ull));
  CString text;
  EXPECT_TRUE(app_.ReadSettingString(_T("Folder"), text));
  EXPECT_EQ(text, _T("C:\\Downloads"));
  EXPECT_EQ(app_.ReadSettingDWORD(_T("Count")), 4000000000u);
  EXPECT_EQ(CString(app_.ReadSettingDWORDText(_T("Count"))), _T("4000000000"));
  EXPECT_EQ(app_.ReadSettingInt(_T("Days")), -7);
  EXPECT_EQ(app_.ReadSettingQword(_T("Big")), 0x123456789ABCDEF0ull);
  EXPECT_TRUE(app_.SettingExists(_T("Days")));
  EXPECT_FALSE(app_.SettingExists(_T("Missing")));
}

TEST_F(SettingsStore, ALongTextIsReadWhole) {
  const CString longText(_T('x'), 700);
  ASSERT_TRUE(app_.WriteSettingString(_T("Long"), longText));
  CString text = _T("short");
  EXPECT_TRUE(app_.ReadSettingString(_T("Long"), text));
  EXPECT_EQ(text, longText);
}

TEST_F(SettingsStore, IntegersReadTheLeadingDigitsOnly) {
  app_.WriteSettingString(_T("Mixed"), _T("12abc"));
  app_.WriteSettingString(_T("Empty"), _T(""));
  EXPECT_EQ(app_.ReadSettingInt(_T("Mixed")), 12);
  EXPECT_EQ(app_.ReadSettingInt(_T("Empty")), 0);
  EXPECT_EQ(app_.ReadSettingInt(_T("Missing")), 0);
}

TEST_F(SettingsStore, ASixtyFourBitReadOfAThirtyTwoBitValueAnswersZero) {
  app_.WriteSettingDWORD(_T("Small"), 5);
  EXPECT_EQ(app_.m_pSettings->ReadQword(_T("Small")), 0u);
}

TEST_F(SettingsStore, ASixtyFourBitWriteNeverCreatesTheKey) {
  EXPECT_FALSE(app_.m_pSettings->WriteQword(_T("Big"), 1));
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(SettingsStore, TheNinthRingReadReusesTheFirstSlot) {
  app_.WriteSettingString(_T("A"), _T("first"));
  app_.WriteSettingString(_T("B"), _T("second"));
  const LPCTSTR first = app_.ReadSettingStringRing(_T("A"));
  EXPECT_EQ(CString(first), _T("first"));
  for (int call = 0; call < 7; ++call) EXPECT_NE(app_.ReadSettingStringRing(_T("A")), first);
  EXPECT_EQ(app_.ReadSettingStringRing(_T("B")), first);
  EXPECT_EQ(CString(first), _T("second"));
  EXPECT_EQ(CString(app_.ReadSettingStringRing(_T("Missing"))), _T(""));
}

TEST_F(SettingsStore, TheLauncherStatusRoundTrips) {
  const CTime scan(2026, 3, 7, 14, 5, 9);
  ASSERT_TRUE(app_.WriteLauncherStatus(3, kLauncherToolIndex, 2, _T("3 problems"), _T("Home text"), scan));
  EXPECT_EQ(app_.ReadLauncherErrorCount(kLauncherToolIndex), 3u);
  CString text;
  DWORD icon = 0;
  EXPECT_EQ(app_.ReadLauncherStatus(text, kLauncherToolIndex, icon, FALSE, FALSE), _T("3 problems"));
  EXPECT_EQ(icon, 2u);
  EXPECT_EQ(app_.ReadLauncherStatus(text, kLauncherToolIndex, icon, TRUE, FALSE), _T("Home text"));
  EXPECT_EQ(app_.ReadLauncherStatus(text, kLauncherToolIndex, icon, FALSE, TRUE), _T("03/07/2026 02:05:09 PM"));
}

TEST_F(SettingsStore, AZeroScanTimeLeavesTheStoredDate) {
  app_.WriteLauncherStatus(1, kLauncherToolIndex, 0, _T("a"), _T("b"), CTime(2026, 1, 2, 3, 4, 5));
  app_.WriteLauncherStatus(0, kLauncherToolIndex, 0, _T("c"), _T("d"), CTime());
  CString text;
  DWORD icon = 0;
  EXPECT_EQ(app_.ReadLauncherStatus(text, kLauncherToolIndex, icon, FALSE, TRUE), _T("01/02/2026 03:04:05 AM"));
  EXPECT_EQ(text, _T("c"));
}

TEST_F(SettingsStore, AMissingToolKeyReadsTheNotYetScannedText) {
  UseLanguageTable();
  CString text;
  DWORD icon = 9;
  EXPECT_EQ(app_.ReadLauncherStatus(text, kLauncherToolIndex, icon, FALSE, FALSE), _T("Scan not yet performed"));
  EXPECT_EQ(icon, 9u);
  EXPECT_EQ(app_.ReadLauncherStatus(text, kLauncherToolIndex, icon, TRUE, FALSE), _T(""));
}

TEST_F(SettingsStore, AnotherToolsIndexIsRefused) {
  EXPECT_FALSE(app_.WriteLauncherStatus(1, 3, 0, _T("a"), _T("b"), CTime()));
  EXPECT_EQ(app_.ReadLauncherErrorCount(3), 0u);
}

}  // namespace
}  // namespace zx::test
