// The application base: switches of a second start, identity texts, the hand-off text a
// running instance accepts, text lookup through its tables, and the shared font table.
#include <gtest/gtest.h>

#include <afxdisp.h>
#include <objbase.h>
#include <qhtm.h>
#include <zx/qhtm.h>

#include <thread>

#include "DlgMainWnd.h"
#include "HalvoranApp.h"
#include "HelperModule.h"
#include "IniReader.h"
#include "LogFile.h"
#include "machine_fixture.h"

namespace zx::test {
namespace {

class AppBase : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    g_bScheduleSwitch = g_bAutoFixSwitch = g_bShutdownSwitch = FALSE;
  }
  void Parse(LPCTSTR line) {
    g_bScheduleSwitch = g_bAutoFixSwitch = g_bShutdownSwitch = FALSE;
    app_.ParseInstanceSwitches(line);
  }
  CHalvoranApp app_;
};

TEST_F(AppBase, TheScheduleSwitchIsAWordAfterABlankSlashOrDashInAnyCase) {
  for (LPCTSTR line : {_T("prog.exe /Schedule"), _T("prog.exe -SCHEDULE"), _T("prog.exe schedule"),
                       _T("schedule"), _T("  Schedule  "), _T("-schedule"), _T("/schedule -log")}) {
    Parse(line);
    EXPECT_TRUE(g_bScheduleSwitch) << CStringA(line).GetString();
    EXPECT_FALSE(g_bAutoFixSwitch);
  }
  for (LPCTSTR line : {_T("prog.exe -reschedule"), _T("reschedule"), _T("")}) {
    Parse(line);
    EXPECT_FALSE(g_bScheduleSwitch) << CStringA(line).GetString();
  }
  Parse(_T("autofix"));
  EXPECT_TRUE(g_bScheduleSwitch && g_bAutoFixSwitch && !g_bShutdownSwitch);
  Parse(_T("shutdown"));
  EXPECT_TRUE(g_bShutdownSwitch);
}

TEST_F(AppBase, AutoFixImpliesScheduleAndShutdownImpliesBoth) {
  Parse(_T("prog.exe -autofix"));
  EXPECT_TRUE(g_bScheduleSwitch && g_bAutoFixSwitch && !g_bShutdownSwitch);
  Parse(_T("prog.exe -autofix -shutdown"));
  EXPECT_TRUE(g_bScheduleSwitch && g_bAutoFixSwitch && g_bShutdownSwitch);
}

TEST_F(AppBase, OnlyTheWholeLogSwitchTurnsLoggingOn) {
  for (LPCTSTR line : {_T("prog.exe -logfile"), _T("prog.exe -schedule"), _T("prog.exe blog")}) {
    g_bLogging = FALSE;
    app_.m_lpCmdLine = const_cast<LPTSTR>(line);
    app_.OnCommandLine();
    EXPECT_FALSE(g_bLogging) << CStringA(line).GetString();
  }
  for (LPCTSTR line : {_T("prog.exe /LOG"), _T("prog.exe -log -schedule")}) {
    g_bLogging = FALSE;
    app_.m_lpCmdLine = const_cast<LPTSTR>(line);
    app_.OnCommandLine();
    EXPECT_TRUE(g_bLogging) << CStringA(line).GetString();
  }
  g_bLogging = FALSE;
  app_.m_lpCmdLine = nullptr;
}

// The OLE hook: control containment on, OLE started on the thread with its message filter
// waiting 8192 ms and showing neither dialog; the window-message filter is found in user32.
TEST_F(AppBase, StartsOleWithAQuietMessageFilter) {
  using FilterFn = BOOL (*)(UINT, DWORD);
  EXPECT_NE(reinterpret_cast<FilterFn>(GetProcAddress(GetModuleHandleW(_T("user32.dll")), "ChangeWindowMessageFilter")),
            nullptr);
  std::thread([this] {
    app_.InitCommonControlsAndOle();
    EXPECT_TRUE(zx::afx::IsControlContainerEnabled());
    const COleMessageFilter* filter = AfxOleGetMessageFilter();
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(filter->GetMessagePendingDelay(), 8192u);
    EXPECT_FALSE(filter->IsBusyDialogEnabled());
    EXPECT_FALSE(filter->IsNotRespondingDialogEnabled());
    CoUninitialize();
  }).join();
}

// The settings hook offers the main windows' help button.
TEST_F(AppBase, TheSettingsHookSwitchesTheHelpButtonOn) {
  g_bShowHelpButton = FALSE;
  app_.InitAppSettings();
  EXPECT_TRUE(g_bShowHelpButton);
  g_bShowHelpButton = FALSE;
}

// The rich controls' hook: the rich edit class is there, the extended application's managers
// run (a second start of each answers FALSE), and the HTML text control is started for the
// program, this library and the resource library.
TEST_F(AppBase, StartsTheRichEditManagersAndTheHtmlControlForEachModule) {
  EXPECT_TRUE(AfxInitRichEdit2());
  app_.InitRichControls();
  EXPECT_FALSE(app_.InitContextMenuManager());
  EXPECT_FALSE(app_.InitKeyboardManager());
  EXPECT_FALSE(app_.InitTooltipManager());
  EXPECT_TRUE(app_.InitMouseManager()) << "a manager the hook leaves alone";
  for (HINSTANCE module : {AfxGetInstanceHandle(), GetHelperModuleHandle(), GetResourceModule()}) {
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(zx::html::IsControlStartedFor(module));
  }
  EXPECT_FALSE(QHTM_Initialize(nullptr));
  EXPECT_FALSE(zx::html::IsControlStartedFor(nullptr));
}

TEST_F(AppBase, IdentityTexts) {
  EXPECT_EQ(CHalvoranApp::GetAppIdentifierUniqueKey(), _T("ZephrinZephrinKXZephrinTunevo"));
  CHalvoranApp named(_T("Probe Title"), _T("qvx.ini"));
  EXPECT_EQ(named.GetUniqueKey(), _T("ZEPHRINKX_Probe Title_24BF8EAB-03C7-4e3c-B10F-1D1F7C0297CB"));
  EXPECT_EQ(named.GetLangSection(), _T("QVX"));
  EXPECT_EQ(GetAppName(), _T("Probe Title"));
}

TEST_F(AppBase, ARunningInstanceAcceptsOnlyTheHandOffText) {
  const WCHAR word[] = u"autofix";
  COPYDATASTRUCT copy{GetRunningInstanceMessage(), sizeof word, const_cast<WCHAR*>(word)};
  CString text;
  ASSERT_TRUE(ReadRunningInstanceText(reinterpret_cast<LPARAM>(&copy), text));
  EXPECT_EQ(text, _T("autofix"));

  CString untouched = _T("kept");
  COPYDATASTRUCT launcher{10, sizeof word, const_cast<WCHAR*>(word)};
  EXPECT_FALSE(ReadRunningInstanceText(reinterpret_cast<LPARAM>(&launcher), untouched));
  COPYDATASTRUCT odd{GetRunningInstanceMessage(), 3, const_cast<WCHAR*>(word)};
  EXPECT_FALSE(ReadRunningInstanceText(reinterpret_cast<LPARAM>(&odd), untouched));
  const CString longText(_T('a'), 200);
  COPYDATASTRUCT tooLong{GetRunningInstanceMessage(), 402, const_cast<LPTSTR>(static_cast<LPCTSTR>(longText))};
  EXPECT_FALSE(ReadRunningInstanceText(reinterpret_cast<LPARAM>(&tooLong), untouched));
  EXPECT_FALSE(ReadRunningInstanceText(0, untouched));
  EXPECT_EQ(untouched, _T("kept"));

  // Without a terminator the text ends with the bytes.
  COPYDATASTRUCT unterminated{GetRunningInstanceMessage(), 6, const_cast<WCHAR*>(word)};
  ASSERT_TRUE(ReadRunningInstanceText(reinterpret_cast<LPARAM>(&unterminated), text));
  EXPECT_EQ(text, _T("aut"));
}

TEST_F(AppBase, LanguageTextsComeFromTheDefaultOrTheGivenSection) {
  WriteHostFile(root() + "/drive_c/lang/probe.ini", "[QVX]\r\nIDS_A=default text\r\n[OTHER]\r\nIDS_A=other text\r\n");
  CIniReader reader(_T("C:\\lang\\probe.ini"));
  CIniReader* const saved = g_pLangIniReader;
  g_pLangIniReader = &reader;
  CString text;
  EXPECT_EQ(app_.GetLangText(text, _T("IDS_A"), _T("")), _T("default text"));
  EXPECT_EQ(app_.GetLangText(text, _T("IDS_A"), _T("OTHER")), _T("other text"));
  EXPECT_EQ(app_.GetLangTextA(text, "IDS_A"), _T("default text"));
  app_.SetLangSection(_T("OTHER"));
  EXPECT_EQ(app_.GetLangTextA(text, "IDS_A"), _T("other text"));
  g_pLangIniReader = saved;
}

TEST_F(AppBase, TheSharedFontTableFromWindows61On) {
  LOGFONTW base{};
  base.lfHeight = -12;
  lstrcpynW(base.lfFaceName, _T("SEGOE UI"), LF_FACESIZE);
  LOGFONTW rows[kSharedFontCount];
  BuildSharedFontRecords(base, 6, 1, rows);
  const LONG heights[kSharedFontCount] = {-12, -12, -12, -12, -13, -13, -13, -13, -11, -11, -10, -18,
                                          -18, -21, -18, -16, -16, -16, -13, -20, -20, -21, -15, -15};
  const LONG weights[kSharedFontCount] = {400, 400, 700, 700, 700, 500, 400, 400, 400, 700, 400, 700,
                                          700, 400, 400, 400, 700, 700, 400, 400, 700, 400, 400, 700};
  for (int row = 0; row < kSharedFontCount; ++row) {
    EXPECT_EQ(rows[row].lfHeight, heights[row]) << "row " << row + 1;
    EXPECT_EQ(rows[row].lfWeight, weights[row]) << "row " << row + 1;
    EXPECT_EQ(rows[row].lfQuality, 6) << "row " << row + 1;
  }
  EXPECT_TRUE(rows[1].lfUnderline && rows[2].lfUnderline && rows[7].lfUnderline && rows[15].lfUnderline);
  EXPECT_FALSE(rows[0].lfUnderline || rows[16].lfUnderline);
  EXPECT_TRUE(rows[12].lfItalic);
  EXPECT_EQ(CString(rows[21].lfFaceName), _T("Arial"));
  EXPECT_EQ(CString(rows[22].lfFaceName), _T("SEGOE UI"));
}

TEST_F(AppBase, BeforeWindows6ANonSegoeFaceBecomesArialAndRow17IsNotBold) {
  LOGFONTW base{};
  base.lfHeight = -11;
  lstrcpynW(base.lfFaceName, _T("tahoma"), LF_FACESIZE);
  LOGFONTW rows[kSharedFontCount];
  BuildSharedFontRecords(base, 5, 1, rows);
  EXPECT_EQ(CString(rows[0].lfFaceName), _T("Arial"));
  EXPECT_EQ(rows[0].lfQuality, 5);
  EXPECT_EQ(rows[16].lfWeight, 400);
  EXPECT_EQ(rows[4].lfHeight, -12);
  BuildSharedFontRecords(base, 6, 0, rows);
  EXPECT_EQ(rows[0].lfQuality, 5);  // Windows 6.0 still gets plain ClearType
  EXPECT_EQ(CString(rows[0].lfFaceName), _T("tahoma"));
}

TEST_F(AppBase, TheBaseRecordCarriesTheSharedValues) {
  SetSharedFontHeight(-14);
  SetSharedCharSet(0);
  LOGFONTW font;
  GetBaseLogFont(font);
  EXPECT_EQ(font.lfHeight, -14);
  EXPECT_EQ(font.lfCharSet, 0);
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_EQ(font.lfQuality, 5);
  EXPECT_EQ(CString(font.lfFaceName), GetFontFaceName());
  SetSharedFontHeight(-12);
  SetSharedCharSet(1);
}

}  // namespace
}  // namespace zx::test
