// What the page tests share: a host window for a page, the main program's texts in the
// language file, clicks on a page's buttons and answers to the message boxes they raise.
#pragma once
#include <filesystem>
#include <fstream>
#include <string>

#include "DlgBaseMessageBoxWndBase.h"
#include "SettingsStore.h"
#include "dialogs_testing.h"

namespace zx::test {

class PageTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    std::ofstream(LanguageFile()) << kTexts;
    ASSERT_TRUE(host_.CreateEx(0, _T("Static"), _T(""), WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 480), nullptr, 0));
  }
  void TearDown() override {
    host_.DestroyWindow();
    std::filesystem::remove(LanguageFile());
    DialogTest::TearDown();
  }
  static std::filesystem::path LanguageFile() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvx.ini";
  }
  // Clicks a control of the page and lets the page act on it.
  static void Press(CWnd& page, UINT id) {
    Click(page.GetDlgItem(id)->m_hWnd);
    Pump();
  }
  static bool Enabled(CWnd& page, UINT id) { return page.GetDlgItem(id)->IsWindowEnabled() != FALSE; }
  // A settings value as stored under the program's Settings key, and one stored there.
  static CString Stored(LPCTSTR name) {
    CString text;
    GetHkcuValue(BuildSettingsKeyPath(), name, text, kSettingText);
    return text;
  }
  static void Store(LPCTSTR name, LPCTSTR text) {
    ASSERT_TRUE(SetHkcuValue(BuildSettingsKeyPath(), name, text, kSettingText, true));
  }
  CWnd host_;

 private:
  static constexpr char kTexts[] =
      "[Tunevo]\r\nSETTINGDLG1=General\r\nSETTINGDLG4=Excluded drivers\r\nIDS_REMOVE_ALL_ITEM=Remove all\r\n"
      "IDS_REMOVE_ITEMS=Remove\r\nIDS_DRIVER_NAME=Driver name\r\n"
      "IDS_MENU_REMOVEALL_EXCLUSION_TXT=Remove every exclusion\r\nIDS_MENU_REMOVE_EXCLUSION_TXT=Remove this exclusion\r\n"
      "IDS_DRIVER_EXCLU_DESC=These drivers are left out of every update.\r\n"
      "IDS_DRIVER_EXCLU_DESC2=Remove from the list?\r\nIDS_NOSELC_EXCLU_ITEM=Select a driver first.\r\n"
      "SETTINGTABDESC=Choose how the program starts and scans.\r\nSETTINGTAB1DESC1=Scan when the program starts\r\n"
      "SETTINGTAB1DESC2=The scan looks for newer drivers of every device.\r\n"
      "IDS_RUNON_STARTUP=Start when I log on\r\nIDS_SETT_APPLY_SUCCES=Settings saved.\r\n"
      "IDS_DEFSETTING_APPLSUCC=Default settings saved.\r\nIDS_UNABLE_SAVE_SETTING=The settings could not be saved.\r\n"
      "SETTINGDLG3=Folders\r\nIDS_SELC_DOWN_LOCATION=Where the program keeps its files.\r\n"
      "SETTINGTAB3DESC1=Downloaded drivers\r\nSETTINGTAB3DESC2=Driver packages are saved here.\r\n"
      "SETTINGTAB3DESC3=Driver backups\r\nSETTINGTAB3DESC4=Backups of your drivers are saved here.\r\n"
      "[IDD_SETTING3_LOCATION]\r\nIDD_SETTINGTAB3_APPLY=Apply\r\nIDD_SETTINGTAB3_DEFAULT=Defaults\r\n"
      "IDC_BTN_BROWSE_DOWNLOAD=Browse\r\nIDC_BTN_BROWSE_BACKUP=Browse\r\n"
      "[IDD_SETTING1_GENERAL]\r\nIDD_SETTINGTAB1_APPLY=Apply\r\nIDD_SETTINGTAB1_DEFAULT=Defaults\r\n";
};

}  // namespace zx::test
