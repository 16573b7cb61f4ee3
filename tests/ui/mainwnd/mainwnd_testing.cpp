// Helpers of the main-window tests.
#include "mainwnd_testing.h"

#include <afxpriv.h>

#include <filesystem>
#include <fstream>

#include "DlgBaseShared.h"
#include "zx/input.h"

namespace zx::test {

BEGIN_MESSAGE_MAP(TestMainDlg, CDlgBaseAppDlg)
  ON_WM_SYSCOMMAND()
  ON_WM_TIMER()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_GETMINMAXINFO()
  ON_MESSAGE(WM_KICKIDLE, &TestMainDlg::OnKickIdle)
  ON_COMMAND(CDlgMainWnd::kMinimizeCommand, &TestMainDlg::OnMinimizeButton)
  ON_COMMAND(CDlgMainWnd::kMaximizeCommand, &TestMainDlg::OnMaximizeButton)
  ON_COMMAND(CDlgMainWnd::kDemoCommand, &TestMainDlg::OnDemoButton)
END_MESSAGE_MAP()

namespace {

// Texts are read once per process: every test writes the same file. The web-site text is a
// damaged format (a write-back conversion) that must come out as it stands.
constexpr char kLanguageTexts[] =
    "[QVX]\r\n"
    "IDS_OK=OK\r\nIDS_CANCEL=Cancel\r\n"
    "IDD_DLG_ABOUT=About\r\nIDOK=OK\r\nID_OPENWEBSITE=Visit our web site\r\nIDC_BTN_SUPPORT=Mail support\r\n"
    "IDS_QVX_VERSION=Version %s\r\nIDS_VERSION=Version\r\n"
    "IDS_VERSION_FORMAT=%s version %s\r\n"
    "IDS_COMP_WEBSITE_URL=www.%s.example%n\r\n"
    "IDS_ONLINE_HELP=Online help\r\nIDS_CHECK_FOR_UPDATES=Check for updates\r\n"
    "IDS_REPORT_FEEDBACK=Report feedback\r\nIDS_ABOUT_STR=About\r\nIDS_BQNDEMO_STR=Demo\r\n"
    "IDS_STR_RESTORE=Restore\r\nIDS_STR_MINIMIZE=Minimize\r\nIDS_STR_MOVE=Move\r\nIDS_STR_CLOSE=Close\r\n"
    "IDS_HELP=Help\r\nIDS_BTN_DEMO=Demo\r\n"
    "IDS_DB_DATE=Database of %s\r\n"
    "[IDD_DLG_LEFTWINDOW_BASE]\r\nIDC_BTN_SCAN_NOW=Scan now\r\nIDC_BTN_CHECK_FOR_UPDATE=Updates\r\n";

std::filesystem::path LanguageFile() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvx.ini";
}

void AddAll(CStringArray& list, std::initializer_list<const char16_t*> texts) {
  for (const char16_t* text : texts) list.Add(text);
}

}  // namespace

std::vector<int> PageChangeLog::Codes() const {
  std::vector<int> codes;
  for (const auto& call : calls) codes.push_back(call.second);
  return codes;
}

PageChangeLog& PageChanges() {
  static PageChangeLog log;
  return log;
}

int RecordPageChange(CDlgBaseWnd* dialog, int code) {
  PageChangeLog& log = PageChanges();
  log.calls.emplace_back(dialog, code);
  for (int refused : log.refused)
    if (refused == code) return 0;
  return 1;
}

void FillThreeTabSettings(tagAppDlgSettings& settings) {
  settings.nLogoId = kLogoBitmap;
  settings.nTabCount = 3;
  AddAll(settings.tabCaptions, {u"Scan", u"Backup", u"Settings"});
  settings.strAppText = u"Tunevo";
  settings.strSysMenuItem = u"About Tunevo";
  settings.strCaption = u"Zephrin Tunevo";
  settings.tabs[0].nButtonCount = 3;
  AddAll(settings.tabs[0].buttonCaptions, {u"Scan", u"Results", u"Summary"});
  settings.tabs[1].nButtonCount = 4;
  AddAll(settings.tabs[1].buttonCaptions, {u"Backup", u"Restore", u"History"});
  settings.tabs[2].nButtonCount = 2;
  settings.tabs[2].nIcons = 1;
  AddAll(settings.tabs[2].buttonCaptions, {u"General", u"Schedule"});
  settings.pPageChange = &RecordPageChange;
}

void MainWindowTest::SetUp() {
  DialogTest::SetUp();
  std::ofstream(LanguageFile()) << kLanguageTexts;
  PageChanges() = PageChangeLog{};
  FillThreeTabSettings(settings_);
}

void MainWindowTest::TearDown() {
  if (dialog_.GetSafeHwnd()) dialog_.DestroyWindow();
  Pump();
  g_bShowHelpButton = FALSE;
  g_bShowDemoButton = FALSE;
  g_bShowTooltips = FALSE;
  g_nMainWindowLogoId = 0;
  DialogTest::TearDown();
}

void MainWindowTest::Open(const tagAppDlgSettings& settings) {
  dialog_.SetAppInfo(settings);
  ASSERT_TRUE(dialog_.Create(CDlgBaseAppDlg::kTemplateId, nullptr));
  dialog_.ShowWindow(SW_SHOW);
  Pump();
}

POINT MainWindowTest::Screen(int x, int y) const {
  CPoint point(x, y);
  dialog_.ClientToScreen(&point);
  return point;
}

void MainWindowTest::ClickClient(int x, int y) { ClickAt(Screen(x, y)); }

}  // namespace zx::test
