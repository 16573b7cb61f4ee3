// Mouse actions on the tray icon: every one reaches the owner first as the callback message;
// a double click sends the owner the default item's command; a right click, a context-menu
// key or a selection opens the tray menu whose command reaches the owner; an owner that
// handles the callback itself gets neither; another icon's or a missing menu's actions are
// left alone.
#include <gtest/gtest.h>

#include "tray_support.h"
#include "zx/input.h"
#include "zx/menus.h"
#include "zx/modal.h"

namespace zx::test {
namespace {

using TrayMouse = TrayTest;

// While the tray menu is open, clicks the item at that position.
void ClickMenuItemWhenOpen(UINT position) {
  user::SetIdleHook([position] {
    RECT item{};
    if (!user::TrackedMenuItemRect(position, &item)) return;
    user::InjectMouse(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2}, WM_LBUTTONUP);
  });
}

TEST_F(TrayMouse, EveryMouseActionReachesTheOwnerFirst) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  ASSERT_TRUE(user::InjectTrayMouse(tray.GetSafeHwnd(), kMenuId, WM_LBUTTONUP));
  ASSERT_TRUE(user::InjectTrayMouse(tray.GetSafeHwnd(), kMenuId, WM_MOUSEMOVE));
  PumpWaiting();
  const std::vector<OwnerMessage> got = OwnerGot(0xDD1);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].wParam, kMenuId);
  EXPECT_EQ(got[0].lParam, static_cast<LPARAM>(WM_LBUTTONUP));
  EXPECT_EQ(got[1].lParam, static_cast<LPARAM>(WM_MOUSEMOVE));
  EXPECT_TRUE(OwnerGot(WM_COMMAND).empty());
}

TEST_F(TrayMouse, ADoubleClickSendsTheDefaultItemsCommand) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray, u"tip", 4));  // "Exit", by position
  ASSERT_TRUE(user::InjectTrayMouse(tray.GetSafeHwnd(), kMenuId, WM_LBUTTONDBLCLK));
  PumpWaiting();
  std::vector<OwnerMessage> commands = OwnerGot(WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wParam, kExitCommand);
  EXPECT_EQ(GetForegroundWindow(), owner_);

  ASSERT_TRUE(tray.SetDefaultMenuItem(kRestoreCommand, false));
  UINT item = 0;
  bool byPos = true;
  tray.GetDefaultMenuItem(item, byPos);
  EXPECT_EQ(item, kRestoreCommand);
  EXPECT_FALSE(byPos);
  EXPECT_TRUE(tray.SetDefaultMenuItem(kRestoreCommand, false));  // unchanged
  EXPECT_EQ(tray.OnTrayNotification(kMenuId, WM_LBUTTONDBLCLK), 1);
  commands = OwnerGot(WM_COMMAND);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[1].wParam, kRestoreCommand);
}

TEST_F(TrayMouse, AnOwnerThatHandlesTheCallbackGetsNoCommandAndNoMenu) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  SetOwnerCallbackAnswer(1);
  EXPECT_EQ(tray.OnTrayNotification(kMenuId, WM_LBUTTONDBLCLK), 1);
  EXPECT_EQ(tray.OnTrayNotification(kMenuId, WM_RBUTTONUP), 1);  // no menu loop runs
  EXPECT_EQ(OwnerGot(0xDD1).size(), 2u);
  EXPECT_TRUE(OwnerGot(WM_COMMAND).empty());
  EXPECT_EQ(ShellIcon(tray).focusRequests, 0);
}

TEST_F(TrayMouse, AnotherIconsActionsAreIgnored) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  EXPECT_EQ(SendMessageW(tray.GetSafeHwnd(), 0xDD1, 77, WM_LBUTTONDBLCLK), 0);
  EXPECT_TRUE(OwnerGot(0xDD1).empty());
  EXPECT_TRUE(OwnerGot(WM_COMMAND).empty());
}

TEST_F(TrayMouse, ARightClickOpensTheMenuAndItsCommandReachesTheOwner) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  ClickMenuItemWhenOpen(2);  // "Restore"
  ASSERT_TRUE(user::InjectTrayMouse(tray.GetSafeHwnd(), kMenuId, WM_RBUTTONUP));
  PumpWaiting();
  user::SetIdleHook(nullptr);
  PumpWaiting();
  const std::vector<OwnerMessage> commands = OwnerGot(WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(LOWORD(commands[0].wParam), kRestoreCommand);
  EXPECT_FALSE(OwnerGot(WM_NULL).empty());
  EXPECT_EQ(ShellIcon(tray).focusRequests, 1);
}

TEST_F(TrayMouse, TheKeyboardsSelectionOpensTheMenuToo) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  ClickMenuItemWhenOpen(4);  // "Exit"
  EXPECT_EQ(tray.OnTrayNotification(kMenuId, NIN_KEYSELECT), 1);
  user::SetIdleHook(nullptr);
  PumpWaiting();
  const std::vector<OwnerMessage> commands = OwnerGot(WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(LOWORD(commands[0].wParam), kExitCommand);
}

TEST_F(TrayMouse, AMissingMenuAnswersUnhandledAndSendsNothing) {
  TestTrayIcon tray;
  ASSERT_TRUE(tray.Create(u"tip", ownerWnd_, kIconId, 6000, 0, true));
  EXPECT_EQ(tray.OnTrayNotification(6000, WM_LBUTTONDBLCLK), 0);
  EXPECT_EQ(tray.OnTrayNotification(6000, WM_CONTEXTMENU), 0);
  EXPECT_TRUE(OwnerGot(WM_COMMAND).empty());
  EXPECT_FALSE(tray.SetDefaultMenuItem(3, true));
  // A default item given by id needs no menu.
  EXPECT_FALSE(tray.SetDefaultMenuItem(kRestoreCommand, false));
  EXPECT_EQ(tray.OnTrayNotification(6000, WM_LBUTTONDBLCLK), 1);
  ASSERT_EQ(OwnerGot(WM_COMMAND).size(), 1u);
  EXPECT_EQ(OwnerGot(WM_COMMAND)[0].wParam, kRestoreCommand);
}

}  // namespace
}  // namespace zx::test
