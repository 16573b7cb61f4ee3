// The general settings page: the boxes against the stored switches, Apply enabled only by real
// changes, Apply and Defaults writing the settings key, and the look of a fresh installation.
#include <string>

#include "DlgSetting1General.h"
#include "HalvoranApp.h"
#include "RunAtStartup.h"
#include "SettingsStore.h"
#include "objbase.h"
#include "cstring_printer.h"
#include "pages_testing.h"

namespace zx::test {
namespace {

class GeneralPage : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    g_strAppName = u"Zephrin Tunevo";
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  }
  void TearDown() override {
    page_.DestroyWindow();
    CoUninitialize();
    g_strAppName.Empty();
    PageTest::TearDown();
  }
  // Whether the log-on task of the program is registered.
  static bool StartsAtLogOn() {
    const CString task = _T("C:\\Windows\\System32\\Tasks\\") + BuildStartupTaskName(g_strAppName);
    return GetFileAttributesW(task) != INVALID_FILE_ATTRIBUTES;
  }
  void Open() {
    ASSERT_TRUE(page_.Create(CDlgSetting1General::kTemplateId, &host_));
    page_.ShowWindow(SW_SHOW);
    Pump();
  }
  bool Checked(UINT id) { return page_.IsDlgButtonChecked(id) == BST_CHECKED; }
  bool Enabled(UINT id) { return PageTest::Enabled(page_, id); }
  void Press(UINT id) { PageTest::Press(page_, id); }

  CDlgSetting1General page_;
};

TEST_F(GeneralPage, AFreshInstallationShowsTheDefaults) {
  Open();
  EXPECT_FALSE(Checked(CDlgSetting1General::kAutoScanId));
  EXPECT_TRUE(Checked(CDlgSetting1General::kRunAtStartUpId));
  EXPECT_FALSE(Enabled(CDlgSetting1General::kApplyId));
  EXPECT_FALSE(Enabled(CDlgSetting1General::kDefaultsId));
  ExpectWindowMatches(page_.m_hWnd, "general_fresh.png");
}

// Empty stored values read as their defaults too.
TEST_F(GeneralPage, EmptyValuesReadAsTheDefaults) {
  Store(kSettingAutoScan, _T(""));
  Store(kSettingRunAtStartUp, _T(""));
  Open();
  EXPECT_FALSE(Checked(CDlgSetting1General::kAutoScanId));
  EXPECT_TRUE(Checked(CDlgSetting1General::kRunAtStartUpId));
  EXPECT_FALSE(Enabled(CDlgSetting1General::kDefaultsId));
}

TEST_F(GeneralPage, ChangingABoxAndBackDisablesApplyAgain) {
  Open();
  const UINT boxes[] = {CDlgSetting1General::kAutoScanId, CDlgSetting1General::kRunAtStartUpId};
  for (UINT box : boxes) {
    Press(box);
    EXPECT_TRUE(Enabled(CDlgSetting1General::kApplyId)) << box;
    EXPECT_TRUE(Enabled(CDlgSetting1General::kDefaultsId)) << box;
    Press(box);
    EXPECT_FALSE(Enabled(CDlgSetting1General::kApplyId)) << box;
    EXPECT_FALSE(Enabled(CDlgSetting1General::kDefaultsId)) << box;
  }
}

TEST_F(GeneralPage, ApplyStoresTheBoxes) {
  Open();
  Press(CDlgSetting1General::kAutoScanId);
  Press(CDlgSetting1General::kRunAtStartUpId);
  AnswerBox(0);
  Press(CDlgSetting1General::kApplyId);
  ExpectAllStepsRan();
  EXPECT_EQ(Stored(kSettingAutoScan), CString(_T("1")));
  EXPECT_EQ(Stored(kSettingRunAtStartUp), CString(_T("0")));
  EXPECT_FALSE(Enabled(CDlgSetting1General::kApplyId));
  EXPECT_TRUE(Enabled(CDlgSetting1General::kDefaultsId));
  EXPECT_FALSE(StartsAtLogOn());
}

TEST_F(GeneralPage, OpeningWithStartAtLogOnRegistersItAgain) {
  Open();
  EXPECT_TRUE(StartsAtLogOn());
}

TEST_F(GeneralPage, DefaultsStoresAndShowsTheDefaults) {
  Store(kSettingAutoScan, _T("1"));
  Store(kSettingRunAtStartUp, _T("0"));
  Open();
  EXPECT_FALSE(StartsAtLogOn());
  EXPECT_TRUE(Checked(CDlgSetting1General::kAutoScanId));
  EXPECT_FALSE(Checked(CDlgSetting1General::kRunAtStartUpId));
  EXPECT_TRUE(Enabled(CDlgSetting1General::kDefaultsId));
  AnswerBox(0);
  Press(CDlgSetting1General::kDefaultsId);
  ExpectAllStepsRan();
  EXPECT_EQ(Stored(kSettingAutoScan), CString(_T("0")));
  EXPECT_EQ(Stored(kSettingRunAtStartUp), CString(_T("1")));
  EXPECT_FALSE(Checked(CDlgSetting1General::kAutoScanId));
  EXPECT_TRUE(Checked(CDlgSetting1General::kRunAtStartUpId));
  EXPECT_FALSE(Enabled(CDlgSetting1General::kApplyId));
  EXPECT_FALSE(Enabled(CDlgSetting1General::kDefaultsId));
  EXPECT_TRUE(StartsAtLogOn());
}

}  // namespace
}  // namespace zx::test
