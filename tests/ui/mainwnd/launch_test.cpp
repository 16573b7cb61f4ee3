// The launchers of the main-window base: the demo program started from the library folder
// with the dialog's argument word, at most once per 8192 ms and not held back when the clock
// starts at 0; the demo button off while it starts and back 512 ms later on the test clock;
// the version line and the menu texts made from the language texts through the checked
// format; the thread's OLE message filter quieted by a main window.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <afxdisp.h>
#include <objbase.h>

#include "launch_log.h"
#include "mainwnd_testing.h"

namespace zx::test {
namespace {

using MainWindowLaunch = MainWindowTest;

TEST_F(MainWindowLaunch, TheDemoStartsOncePerGuardTimeFromAClockAtZero) {
  std::filesystem::remove(LaunchLog());
  g_bShowDemoButton = TRUE;
  Open(settings_);
  CHoverButtonWithText& demo = dialog_.GetDemoButton();
  ASSERT_NE(demo.GetSafeHwnd(), nullptr);
  CRect place;
  demo.GetWindowRect(&place);
  dialog_.ScreenToClient(&place);
  EXPECT_EQ(place, CRect(660, 37, 712, 54));

  Click(demo.m_hWnd);  // the clock stands at 0: the first start still goes
  Pump();
  EXPECT_EQ(WaitForLaunches(1), std::vector<std::string>{"TUN"});
  EXPECT_FALSE(demo.IsWindowEnabled());
  clock_.Advance(511);
  Pump();
  EXPECT_FALSE(demo.IsWindowEnabled());
  clock_.Advance(1);
  Pump();
  EXPECT_TRUE(demo.IsWindowEnabled());

  clock_.Advance(8192 - 512 - 1);
  EXPECT_EQ(dialog_.RunDemoProgram(), 1);
  clock_.Advance(1);
  EXPECT_GT(dialog_.RunDemoProgram(), 32);
  EXPECT_EQ(WaitForLaunches(2), (std::vector<std::string>{"TUN", "TUN"}));
  std::filesystem::remove(LaunchLog());
}

TEST_F(MainWindowLaunch, LanguageTextsAreFormatsOnlyWhenTheirConversionsFit) {
  g_bShowHelpButton = TRUE;
  Open(settings_);
  // A write-back conversion: the text stays as it is.
  EXPECT_EQ(dialog_.GetMenuText(0), CString(u"www.%s.example%n"));
  EXPECT_EQ(dialog_.GetMenuText(2), CString(u"Check for updates"));
  EXPECT_EQ(dialog_.GetMenuText(5), CString(u"Demo"));
  EXPECT_EQ(dialog_.GetMenuText(6), CString());
  EXPECT_EQ(g_strVersionText.Find(u" version "), static_cast<int>(std::char_traits<char16_t>::length(u"Zephrin Tunevo")));
  CString help;
  dialog_.GetHelpButton().GetWindowText(help);
  EXPECT_EQ(help, CString(u"Help"));
  EXPECT_EQ(g_strSharedAppText, CString(u"Tunevo"));
}

// A main window built on a thread with OLE started quiets the thread's message filter: no busy
// or not-responding dialog, and a pending call waits 65536 ms.
TEST_F(MainWindowLaunch, AMainWindowQuietsTheThreadsOleMessageFilter) {
  std::thread([] {
    ASSERT_TRUE(AfxOleInit());
    {
      CDlgMainWnd window;
      const COleMessageFilter* filter = AfxOleGetMessageFilter();
      ASSERT_NE(filter, nullptr);
      EXPECT_EQ(filter->GetMessagePendingDelay(), 65536u);
      EXPECT_FALSE(filter->IsBusyDialogEnabled());
      EXPECT_FALSE(filter->IsNotRespondingDialogEnabled());
    }
    CoUninitialize();
  }).join();
}

}  // namespace
}  // namespace zx::test
