// CMenu: menus loaded from the resource handle, the objects of handles (owning, attached and
// temporary), item helpers, and a popup tracked for a CWnd whose message map gets
// WM_INITMENUPOPUP with the menu's object and the chosen command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxwin.h"
#include "cstring_printer.h"
#include "menu_resources.h"
#include "user_testing.h"
#include "wininput.h"
#include "zx/input.h"
#include "zx/menus.h"
#include "zx/modal.h"

namespace zx::test {
namespace {

class AfxMenus : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    module_ = ModuleWithMenu(MenuTemplate(), folder_.path());
    ASSERT_NE(module_, nullptr);
    previous_ = AfxGetResourceHandle();
    AfxSetResourceHandle(module_);
  }
  void TearDown() override {
    user::SetIdleHook(nullptr);
    AfxSetResourceHandle(previous_);
    res::CloseResourceModule(module_);
    UserTest::TearDown();
  }
  TempFolder folder_;
  HMODULE module_ = nullptr;
  HINSTANCE previous_ = nullptr;
};

class CMenuOwner : public CWnd {
 public:
  std::vector<std::string> calls;
  HMENU initialised = nullptr;

 protected:
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
    initialised = pPopupMenu->GetSafeHmenu();
    calls.push_back("init " + std::to_string(nIndex) + (bSysMenu ? " system" : ""));
    pPopupMenu->EnableMenuItem(2, MF_BYCOMMAND | MF_ENABLED);
  }
  afx_msg void OnExit() { calls.push_back("exit"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuOwner, CWnd)
  ON_WM_INITMENUPOPUP()
  ON_COMMAND(2, &CMenuOwner::OnExit)
END_MESSAGE_MAP()

TEST_F(AfxMenus, LoadMenuTakesTheResourceHandlesMenuAndOwnsIt) {
  HMENU handle = nullptr;
  {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(5003));
    handle = menu.GetSafeHmenu();
    EXPECT_EQ(CMenu::FromHandlePermanent(handle), &menu);
    EXPECT_EQ(CMenu::FromHandle(handle), &menu);
    CMenu* file = menu.GetSubMenu(0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetMenuItemCount(), 3u);
    EXPECT_EQ(menu.GetSubMenu(0), file);  // the same temporary object for the same handle
    EXPECT_EQ(CMenu::FromHandlePermanent(file->GetSafeHmenu()), nullptr);
    EXPECT_EQ(menu.GetSubMenu(7), nullptr);
    CString text;
    EXPECT_EQ(menu.GetMenuString(3, text, MF_BYCOMMAND), 6);
    EXPECT_EQ(text, CString(u"&About"));
    EXPECT_FALSE(menu.LoadMenu(5003));  // already holds one
  }
  EXPECT_FALSE(IsMenu(handle));
  CMenu missing;
  EXPECT_FALSE(missing.LoadMenu(4242));
}

TEST_F(AfxMenus, DetachedMenusOutliveTheirObject) {
  HMENU handle = nullptr;
  {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, 10, u"&Ten"));
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, 11, u"&Eleven"));
    EXPECT_EQ(menu.CheckMenuItem(10, MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(menu.GetMenuState(10, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(menu.EnableMenuItem(11, MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(menu.CheckMenuItem(99, MF_CHECKED), 0xFFFFFFFFu);
    ASSERT_TRUE(menu.SetDefaultItem(0, TRUE));
    EXPECT_EQ(menu.GetDefaultItem(0, FALSE), 10u);
    handle = menu.Detach();
    EXPECT_EQ(CMenu::FromHandlePermanent(handle), nullptr);
  }
  EXPECT_TRUE(IsMenu(handle));
  CMenu again;
  ASSERT_TRUE(again.Attach(handle));
  EXPECT_FALSE(again.Attach(handle));
  EXPECT_EQ(again.GetMenuItemID(1), 11u);
  EXPECT_TRUE(again.DestroyMenu());
  EXPECT_FALSE(IsMenu(handle));
  EXPECT_FALSE(again.DestroyMenu());
}

TEST_F(AfxMenus, APopupTrackedForAWindowRunsItsMessageMap) {
  CMenuOwner owner;
  ASSERT_TRUE(owner.CreateEx(0, nullptr, u"owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(5003));
  CMenu* file = menu.GetSubMenu(0);
  user::SetIdleHook([] {
    RECT exit{};
    if (!user::TrackedMenuItemRect(2, &exit)) return;
    user::InjectMouse(POINT{(exit.left + exit.right) / 2, (exit.top + exit.bottom) / 2}, WM_LBUTTONUP);
  });
  EXPECT_TRUE(file->TrackPopupMenu(TPM_LEFTBUTTON, 20, 20, &owner));
  user::SetIdleHook(nullptr);
  PumpWaiting();
  EXPECT_EQ(owner.initialised, file->GetSafeHmenu());
  EXPECT_EQ(owner.calls, (std::vector<std::string>{"init 0", "exit"}));  // enabled in time
  owner.DestroyWindow();
}

}  // namespace
}  // namespace zx::test
