// The look of a main window made from the bases: the painted frame and title from the
// resource library's pieces, the logo, caption, version and database lines, the title and
// header buttons, the header tabs and the first tab's left panel with a page; and the same
// window after its third tab was chosen.
#include "mainwnd_testing.h"

namespace zx::test {
namespace {

class MainWindowLook : public MainWindowTest {
 protected:
  void RedrawAll() {
    dialog_.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
  }
};

TEST_F(MainWindowLook, FrameTitleTabsAndFirstPanel) {
  g_bShowHelpButton = TRUE;
  g_bShowDemoButton = TRUE;
  settings_.bResizable = TRUE;
  dialog_.SetDatabaseDateLine(TRUE, u"12/08/2026");
  Open(settings_);
  auto* page = new TestPage;
  CDlgLeftDlgBase* panel = dialog_.GetLeftPanel(1);
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(dialog_.AddPage(panel, page, kPageTemplate));
  panel->SetPage(1, page);
  page->ShowWindow(SW_SHOW);
  page->EnableWindow(TRUE);
  RedrawAll();

  CRect window;
  dialog_.GetWindowRect(&window);
  EXPECT_EQ(window.Size(), CSize(772, 583));
  EXPECT_EQ(window.TopLeft(), CPoint(0, 0));
  ExpectWindowMatches(dialog_.m_hWnd, "mainwnd_first_tab.png");
}

TEST_F(MainWindowLook, ThirdTabWithItsIconButtons) {
  Open(settings_);
  ClickAt(Screen(165 + 200 + 50, 46));
  Pump();
  ASSERT_EQ(dialog_.GetCurrentPanel(), dialog_.GetLeftPanel(3));
  RedrawAll();
  ExpectWindowMatches(dialog_.m_hWnd, "mainwnd_third_tab.png");
}

}  // namespace
}  // namespace zx::test
