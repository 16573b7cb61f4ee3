// The header tabs of the main dialog: one left panel per tab whose button count matches its
// captions, the page-change callback asked before each switch (a zero answer keeps the tab),
// the left panels' codes handed to the same callback, pages added beside a panel's buttons,
// tabs switched off, and the close button switched off holding Escape back.
#include "mainwnd_testing.h"

namespace zx::test {
namespace {

using MainWindowTabs = MainWindowTest;

POINT TabCentre(int tab) { return POINT{165 + 100 * (tab - 1) + 50, 46}; }

TEST_F(MainWindowTabs, PanelsAreMadeOnlyForTabsWhoseButtonsHaveCaptions) {
  Open(settings_);
  EXPECT_EQ(dialog_.GetTabCount(), 3);
  for (int tab = 1; tab <= 5; ++tab)
    EXPECT_EQ(dialog_.GetTabButton(tab) != nullptr, tab <= 3) << tab;
  CRect place;
  dialog_.GetTabButton(2)->GetWindowRect(&place);
  dialog_.ScreenToClient(&place);
  EXPECT_EQ(place, CRect(265, 35, 365, 57));

  CDlgLeftDlgBase* first = dialog_.GetLeftPanel(1);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(dialog_.GetLeftPanel(2), nullptr);  // four buttons, three captions
  ASSERT_NE(dialog_.GetLeftPanel(3), nullptr);
  EXPECT_EQ(dialog_.GetCurrentPanel(), first);
  EXPECT_TRUE(first->IsWindowVisible());
  EXPECT_FALSE(dialog_.GetLeftPanel(3)->IsWindowVisible());
  EXPECT_FALSE(dialog_.GetLeftPanel(3)->IsWindowEnabled());
  EXPECT_EQ(first->GetButtonCount(), 3);
  EXPECT_EQ(first->GetStyle(), CDlgLeftDlgBase::kStyleNoIcons);
  EXPECT_EQ(dialog_.GetLeftPanel(3)->GetStyle(), CDlgLeftDlgBase::kStyleIcons);
  first->GetWindowRect(&place);
  dialog_.ScreenToClient(&place);
  EXPECT_EQ(place, CRect(6, 77, 766, 556));
  EXPECT_TRUE(dialog_.GetTabButton(1)->m_bHighlighted);
  EXPECT_EQ(dialog_.GetSelectedTab(), dialog_.GetTabButton(1));
  // The first tab takes the focus without holding the mouse: the user's first click goes
  // where it is aimed.
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(::GetFocus(), dialog_.GetTabButton(1)->m_hWnd);
}

TEST_F(MainWindowTabs, ATabWithoutPanelIsSelectedAndTheCurrentPanelStays) {
  Open(settings_);
  ClickAt(Screen(TabCentre(2).x, TabCentre(2).y));
  Pump();
  EXPECT_EQ(PageChanges().Codes(), std::vector<int>({12}));
  EXPECT_EQ(PageChanges().calls[0].first, &dialog_);
  EXPECT_EQ(dialog_.GetSelectedTab(), dialog_.GetTabButton(2));
  EXPECT_TRUE(dialog_.GetTabButton(2)->m_bHighlighted);
  EXPECT_FALSE(dialog_.GetTabButton(1)->m_bHighlighted);
  EXPECT_EQ(dialog_.GetCurrentPanel(), dialog_.GetLeftPanel(1));
  EXPECT_TRUE(dialog_.GetLeftPanel(1)->IsWindowVisible());
}

TEST_F(MainWindowTabs, AZeroAnswerKeepsTheTabAndItsPanel) {
  PageChanges().refused = {12, 13};
  Open(settings_);
  for (int tab : {2, 3}) {
    ClickAt(Screen(TabCentre(tab).x, TabCentre(tab).y));
    Pump();
  }
  EXPECT_EQ(PageChanges().Codes(), std::vector<int>({12, 13}));
  EXPECT_EQ(dialog_.GetSelectedTab(), dialog_.GetTabButton(1));
  EXPECT_TRUE(dialog_.GetTabButton(1)->m_bHighlighted);
  EXPECT_FALSE(dialog_.GetTabButton(3)->m_bHighlighted);
  EXPECT_EQ(dialog_.GetCurrentPanel(), dialog_.GetLeftPanel(1));
  EXPECT_TRUE(dialog_.GetLeftPanel(1)->IsWindowVisible());
  EXPECT_FALSE(dialog_.GetLeftPanel(3)->IsWindowVisible());
}

TEST_F(MainWindowTabs, ANonZeroAnswerSwitchesPanelsBothWays) {
  Open(settings_);
  CDlgLeftDlgBase* first = dialog_.GetLeftPanel(1);
  CDlgLeftDlgBase* third = dialog_.GetLeftPanel(3);
  ClickAt(Screen(TabCentre(3).x, TabCentre(3).y));
  Pump();
  EXPECT_EQ(dialog_.GetCurrentPanel(), third);
  EXPECT_TRUE(third->IsWindowVisible());
  EXPECT_TRUE(third->IsWindowEnabled());
  EXPECT_FALSE(first->IsWindowVisible());
  EXPECT_FALSE(first->IsWindowEnabled());
  ClickAt(Screen(TabCentre(1).x, TabCentre(1).y));
  Pump();
  EXPECT_EQ(PageChanges().Codes(), std::vector<int>({13, 11}));
  EXPECT_EQ(dialog_.GetCurrentPanel(), first);
  EXPECT_TRUE(first->IsWindowVisible());
  EXPECT_FALSE(third->IsWindowVisible());
  EXPECT_TRUE(dialog_.GetTabButton(1)->m_bHighlighted);
  EXPECT_FALSE(dialog_.GetTabButton(3)->m_bHighlighted);
}

TEST_F(MainWindowTabs, LeftPanelButtonsTellTheCallbackWithThePanel) {
  Open(settings_);
  CDlgLeftDlgBase* panel = dialog_.GetLeftPanel(1);
  auto* results = new TestPage;
  ASSERT_TRUE(dialog_.AddPage(panel, results, kPageTemplate));
  panel->SetPage(2, results);
  CRect place;
  results->GetWindowRect(&place);
  panel->ScreenToClient(&place);
  CRect host;
  panel->GetClientRect(&host);
  EXPECT_EQ(place, CRect(168, 2, host.right, host.bottom));
  EXPECT_FALSE(results->IsWindowVisible());
  EXPECT_FALSE(results->IsWindowEnabled());

  Click(panel->GetLeftButton(2)->m_hWnd);
  Pump();
  ASSERT_EQ(PageChanges().Codes(), std::vector<int>({4}));
  EXPECT_EQ(PageChanges().calls[0].first, panel);
  EXPECT_TRUE(results->IsWindowVisible());
  Click(panel->GetCheckForUpdatesButton().m_hWnd);
  Pump();
  EXPECT_EQ(PageChanges().Codes(), std::vector<int>({4, 1}));
}

TEST_F(MainWindowTabs, SwitchedOffTabsAreNotAsked) {
  Open(settings_);
  dialog_.EnableTabs(TRUE, FALSE, FALSE, TRUE, TRUE);
  EXPECT_FALSE(dialog_.GetTabButton(3)->IsWindowEnabled());
  ClickAt(Screen(TabCentre(3).x, TabCentre(3).y));
  Pump();
  EXPECT_TRUE(PageChanges().calls.empty());
  EXPECT_EQ(dialog_.GetCurrentPanel(), dialog_.GetLeftPanel(1));
}

TEST_F(MainWindowTabs, EscapeIsHeldBackWhileTheCloseButtonIsOff) {
  Open(settings_);
  dialog_.DisableClose();
  dialog_.SetActiveWindow();
  dialog_.SendMessage(WM_COMMAND, IDCANCEL, 0);
  Pump();
  EXPECT_TRUE(dialog_.IsWindowVisible());
  dialog_.EnableClose();
  dialog_.SendMessage(WM_COMMAND, IDCANCEL, 0);
  Pump();
  EXPECT_FALSE(dialog_.GetSafeHwnd() && dialog_.IsWindowVisible());
}

TEST_F(MainWindowTabs, ATabCountAboveFiveMakesFiveTabs) {
  settings_.nTabCount = 7;
  for (const char16_t* caption : {u"Four", u"Five", u"Six", u"Seven"}) settings_.tabCaptions.Add(caption);
  Open(settings_);
  EXPECT_EQ(dialog_.GetTabCount(), 5);
  EXPECT_NE(dialog_.GetTabButton(5), nullptr);
  EXPECT_EQ(dialog_.GetLeftPanel(4), nullptr);  // no buttons
}

}  // namespace
}  // namespace zx::test
