// BCMenu in a popup tracked by the window system: the owner window forwards WM_MEASUREITEM and
// WM_DRAWITEM to the menu, the items take the measured height, and a click on an item answers
// its command; a menu loaded with its toolbar pictures as the window system shows it.
#include <gtest/gtest.h>

#include <vector>

#include "BCMenu.h"
#include "machine_fixture.h"
#include "menu_bytes.h"
#include "snapshot_compare.h"
#include "zx/clock.h"
#include "zx/input.h"
#include "zx/menus.h"
#include "zx/modal.h"
#include "zx/windowpaint.h"

namespace zx::test {
namespace {

class MenuOwner : public CWnd {
 public:
  BCMenu* menu = nullptr;
  std::vector<UINT> measured, drawn;

 protected:
  afx_msg void OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMIS) {
    measured.push_back(lpMIS->itemID);
    menu->MeasureItem(lpMIS);
  }
  afx_msg void OnDrawItem(int, LPDRAWITEMSTRUCT lpDIS) {
    drawn.push_back(lpDIS->itemID);
    if (CMenu* target = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDIS->hwndItem)))
      target->DrawItem(lpDIS);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuOwner, CWnd)
  ON_WM_MEASUREITEM()
  ON_WM_DRAWITEM()
END_MESSAGE_MAP()

class BCMenuTrack : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    SetClock(&clock_);
  }
  void TearDown() override {
    user::SetIdleHook(nullptr);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    SetClock(nullptr);
    MachineTest::TearDown();
  }
  ManualClock clock_;
};

TEST_F(BCMenuTrack, OwnerForwardsMeasuringAndDrawingAndTheClickAnswersTheCommand) {
  MenuOwner owner;
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), u"Owner", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100,
                             nullptr, nullptr));
  BCMenu menu;
  owner.menu = &menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  ASSERT_TRUE(menu.AppendODMenu(u"Scan now", MF_OWNERDRAW, 40));
  ASSERT_TRUE(menu.AppendODMenu(u"Settings", MF_OWNERDRAW, 41));
  RECT first{}, second{};
  user::SetIdleHook([&] {
    if (!user::TrackedMenuItemRect(0, &first) || !user::TrackedMenuItemRect(1, &second)) return;
    user::InjectMouse(POINT{(second.left + second.right) / 2, (second.top + second.bottom) / 2}, WM_LBUTTONUP);
  });
  const BOOL command = menu.TrackPopupMenu(TPM_LEFTBUTTON | TPM_RETURNCMD, 30, 30, &owner);
  user::SetIdleHook(nullptr);
  EXPECT_EQ(command, 41);
  EXPECT_EQ(owner.measured, (std::vector<UINT>{40, 41}));
  EXPECT_FALSE(owner.drawn.empty());
  EXPECT_EQ(first.bottom - first.top, std::max(GetSystemMetrics(SM_CYMENU), 26));
  EXPECT_EQ(second.top, first.bottom);
}

TEST_F(BCMenuTrack, LoadedMenuShowsItsToolbarPictures) {
  constexpr WORD kTools = 5003;
  TempFolder folder;
  const HMODULE module = ModuleWithResources({Resource(4, kTools, ToolsMenu()), Resource(241, kTools, ToolsToolbar()),
                                              Resource(2, kTools, ToolsStrip(3))},
                                             folder.path());
  ASSERT_NE(module, nullptr);
  const HINSTANCE previous = AfxGetResourceHandle();
  AfxSetResourceHandle(module);
  MenuOwner owner;
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), u"Owner", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100,
                             nullptr, nullptr));
  BCMenu menu;
  owner.menu = &menu;
  ASSERT_TRUE(menu.LoadMenu(kTools));
  ASSERT_TRUE(menu.LoadToolbar(kTools));
  // "&File": Open with the first picture, a separator, Exit (grayed) with the second.
  BCMenu* file = menu.GetCreatedSubMenu(0);
  TempFolder temp;
  const std::string drawn = temp.path() + "/bcmenu_toolbar.png";
  bool saved = false, hovered = false;
  user::SetIdleHook([&] {
    RECT first{};
    if (saved || !user::TrackedMenuItemRect(0, &first)) return;
    if (!hovered) {  // Open highlighted under the mouse
      user::InjectMouse(POINT{(first.left + first.right) / 2, (first.top + first.bottom) / 2}, WM_MOUSEMOVE);
      hovered = true;
      return;
    }
    RECT area{};
    ::GetWindowRect(user::TrackedMenuWindow(), &area);
    saved = user::SaveScreenPng(drawn, &area);
    user::InjectKey(VK_ESCAPE, true);
    user::InjectKey(VK_ESCAPE, false);
  });
  const BOOL command = file->TrackPopupMenu(TPM_LEFTBUTTON | TPM_RETURNCMD, 30, 30, &owner);
  user::SetIdleHook(nullptr);
  EXPECT_EQ(command, 0);
  ASSERT_TRUE(saved);
  ExpectSameAsReference(drawn, std::string(ZX_UI_SNAPSHOTS) + "/bcmenu_toolbar.png", "bcmenu_toolbar");
  owner.DestroyWindow();
  AfxSetResourceHandle(previous);
  res::CloseResourceModule(module);
}

}  // namespace
}  // namespace zx::test
