// The scheduler's header with the help switch on, as the application base leaves it: the help
// button at the right edge, its menu of the shared texts opened 181 pixels left of it and 22
// below its top, the About box from that menu, and the program's command id the left pane hands
// to the main window.
#include <gtest/gtest.h>
#include <winuser.h>

#include "DlgAbout.h"
#include "DlgMainWnd.h"
#include "NewSchedulerApp.h"
#include "ProductValues.h"
#include "cstring_printer.h"
#include "scheduler_fixture.h"
#include "zx/menus.h"

namespace zx::test {
namespace {

class SchedulerHelp : public SchedulerFixture {
 protected:
  void SetUp() override {
    SchedulerFixture::SetUp();
    g_bShowHelpButton = TRUE;
    OpenMainWindow();
  }
  void TearDown() override {
    g_bShowHelpButton = FALSE;
    SchedulerFixture::TearDown();
  }
  CWnd* HelpButton() { return dialog_.GetDlgItem(CDlgMainWnd::kHelpCommand); }
};

TEST_F(SchedulerHelp, ItsMenuOpensBesideTheButtonWithTheSharedTexts) {
  ASSERT_NE(HelpButton(), nullptr);
  CRect client, button;
  dialog_.GetClientRect(&client);
  HelpButton()->GetWindowRect(&button);
  dialog_.ScreenToClient(&button);
  EXPECT_EQ(button, CRect(client.Width() - 55, 35, client.Width() - 8, 58));
  EXPECT_EQ(dialog_.GetLogoId(), static_cast<UINT>(GetModuleId(CNewSchedulerApp::kModuleIndex)));
  const struct {
    BOOL demo;  // the demo button's switch
    size_t items;
  } kCases[] = {{FALSE, 5}, {TRUE, 6}};
  for (const auto& c : kCases) {
    g_bShowDemoButton = c.demo;
    std::vector<std::pair<UINT, CString>> items;
    CRect shown;
    WhileModal({[&] {
      items = TrackedMenuItems();
      if (items.empty()) return false;
      ::GetWindowRect(user::TrackedMenuWindow(), &shown);
      Tap(VK_ESCAPE);
      return true;
    }});
    Click(HelpButton()->GetSafeHwnd());
    Pump();
    ExpectAllStepsRan();
    g_bShowDemoButton = FALSE;
    HelpButton()->GetWindowRect(&button);
    EXPECT_EQ(shown.TopLeft(), CPoint(button.left - 181, button.top + 22)) << c.demo;
    ASSERT_EQ(items.size(), c.items) << c.demo;
    for (size_t item = 0; item < items.size(); ++item) {
      EXPECT_EQ(items[item].first, CDlgMainWnd::kFirstHelpMenuCommand + item) << item;
      EXPECT_EQ(items[item].second, dialog_.GetMenuText(static_cast<int>(item))) << item;
    }
  }
}

TEST_F(SchedulerHelp, ItsAboutItemShowsTheAboutBox) {
  constexpr UINT kAboutItem = 4;
  bool seen = false;
  WhileModal({[&] {
                RECT item{};
                if (!user::TrackedMenuItemRect(kAboutItem, &item)) return false;
                ClickAt(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
                return true;
              },
              [&] {
                if (dynamic_cast<CDlgAbout*>(CWnd::FromHandlePermanent(ActiveWindow())) == nullptr) return false;
                seen = true;
                Tap(VK_ESCAPE);
                return true;
              }});
  Click(HelpButton()->GetSafeHwnd());
  Pump();
  ExpectAllStepsRan();
  EXPECT_TRUE(seen);
  EXPECT_TRUE(dialog_.IsWindowEnabled());
}

}  // namespace
}  // namespace zx::test
