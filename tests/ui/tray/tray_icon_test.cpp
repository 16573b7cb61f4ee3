// The tray icon in the shell's table: created with its tip, icon and callback, tips and
// balloons cut to their fields, icons and tips changed, hidden in place or removed by the
// shell's version, put back after a shell restart or a work-area change when its add failed,
// animated through its frames; the module handle's version and the icon helpers.
#include <gtest/gtest.h>

#include <string>

#include "XTIconHandle.h"
#include "XTPModuleHandle.h"
#include "tray_support.h"

namespace zx::test {
namespace {

using Tray = TrayTest;

HICON LoadSmall(UINT id) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
}

TEST_F(Tray, CreateAddsTheIconWithItsTipIconAndCallback) {
  TestTrayIcon tray;
  EXPECT_TRUE(tray.IsRemoved());
  ASSERT_TRUE(CreateIcon(tray));
  const std::vector<user::TrayIcon> icons = user::TrayIcons();
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].window, tray.GetSafeHwnd());
  EXPECT_NE(icons[0].window, owner_);
  EXPECT_EQ(icons[0].id, kMenuId);
  EXPECT_EQ(icons[0].callbackMessage, 0xDD1u);
  EXPECT_EQ(icons[0].tip, u"Zephrin Tunevo");
  EXPECT_NE(icons[0].icon, nullptr);
  EXPECT_EQ(icons[0].icon, tray.GetIcon());
  EXPECT_EQ(tray.GetNotifyIconData().cbSize, 936u);
  EXPECT_FALSE(tray.IsHidden());
  EXPECT_FALSE(tray.IsRemoved());
  EXPECT_FALSE(IsWindowVisible(tray.GetSafeHwnd()));
  EXPECT_EQ(tray.GetNotificationWnd()->GetSafeHwnd(), tray.GetSafeHwnd());
}

TEST_F(Tray, CreateIsRefusedWithoutALiveOwner) {
  TestTrayIcon tray;
  EXPECT_FALSE(tray.Create(u"tip", nullptr, kIconId, kMenuId, 0, true));
  DestroyWindow(owner_);
  EXPECT_FALSE(CreateIcon(tray));
  EXPECT_TRUE(user::TrayIcons().empty());
  EXPECT_EQ(tray.GetSafeHwnd(), nullptr);
}

TEST_F(Tray, TheIconLeavesWithItsObject) {
  {
    TestTrayIcon tray;
    ASSERT_TRUE(CreateIcon(tray));
    ASSERT_EQ(user::TrayIcons().size(), 1u);
  }
  EXPECT_TRUE(user::TrayIcons().empty());
}

TEST_F(Tray, TipsAreCutToOneLessThanTheirLength) {
  TestTrayIcon tray;
  const std::u16string tip(200, u't');
  ASSERT_TRUE(tray.SetTooltipText(tip.c_str()));
  EXPECT_EQ(std::u16string(tray.GetTooltipText().GetString()), std::u16string(63, u't'));
  ASSERT_TRUE(CreateIcon(tray, tip.c_str()));
  EXPECT_EQ(std::u16string(tray.GetTooltipText().GetString()), std::u16string(126, u't'));
  EXPECT_EQ(ShellIcon(tray).tip, std::u16string(126, u't'));
}

TEST_F(Tray, TipsComeFromStringResourcesAndMissingOnesChangeNothing) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  ASSERT_TRUE(tray.SetTooltipText(kTipStringId));
  EXPECT_EQ(ShellIcon(tray).tip, u"Checking for Updates");
  EXPECT_FALSE(tray.SetTooltipText(7777u));
  EXPECT_EQ(ShellIcon(tray).tip, u"Checking for Updates");
}

TEST_F(Tray, IconsChangeInTheShellAndAMissingOneKeepsTheCurrent) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  const HICON first = ShellIcon(tray).icon;
  ASSERT_TRUE(tray.SetIcon(5031u));
  const HICON second = ShellIcon(tray).icon;
  EXPECT_NE(second, first);
  EXPECT_EQ(tray.GetIcon(), second);
  EXPECT_FALSE(tray.SetIcon(9999u));
  EXPECT_EQ(ShellIcon(tray).icon, second);
  EXPECT_TRUE(tray.SetIcon(second));  // the current icon: nothing to do
  CXTIconHandle other(LoadSmall(5032));
  ASSERT_TRUE(tray.SetIcon(static_cast<HICON>(other)));
  EXPECT_EQ(ShellIcon(tray).icon, static_cast<HICON>(other));
  ASSERT_TRUE(tray.SetIcon(kIconId));  // before `other` goes
}

TEST_F(Tray, BalloonsAreCutAndShownOnce) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  const std::u16string text(300, u'b');
  const std::u16string title(100, u'T');
  ASSERT_TRUE(tray.ShowBalloonTip(text.c_str(), title.c_str(), NIIF_INFO, 10));
  user::TrayIcon icon = ShellIcon(tray);
  EXPECT_EQ(icon.balloonText, std::u16string(255, u'b'));
  EXPECT_EQ(icon.balloonTitle, std::u16string(63, u'T'));
  EXPECT_EQ(icon.balloonTimeoutMs, 10000u);
  EXPECT_EQ(icon.balloonFlags, NIIF_INFO);
  EXPECT_EQ(icon.balloons, 1);
  ASSERT_TRUE(tray.SetTooltipText(u"later"));
  ASSERT_TRUE(tray.SetIcon(5031u));
  EXPECT_EQ(ShellIcon(tray).balloons, 1);
  EXPECT_FALSE(tray.ShowBalloonTip(u""));
  EXPECT_FALSE(tray.ShowBalloonTip(nullptr));
  ASSERT_TRUE(tray.ShowBalloonTip(u"Updates are ready", nullptr, NIIF_WARNING, 5));
  icon = ShellIcon(tray);
  EXPECT_EQ(icon.balloons, 2);
  EXPECT_EQ(icon.balloonTitle, u"");
  EXPECT_EQ(icon.balloonTimeoutMs, 5000u);
}

TEST_F(Tray, AnOlderShellShowsNoBalloon) {
  TestTrayIcon tray;
  tray.UseOlderShell();
  ASSERT_TRUE(CreateIcon(tray));
  EXPECT_FALSE(tray.ShowBalloonTip(u"Updates are ready"));
  EXPECT_EQ(ShellIcon(tray).balloons, 0);
}

TEST_F(Tray, ANewerShellHidesInPlaceAndShowsWhatChangedMeanwhile) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  ASSERT_TRUE(tray.HideInPlace());
  EXPECT_TRUE(tray.IsHidden());
  EXPECT_FALSE(tray.IsRemoved());
  ASSERT_TRUE(InTray(tray));
  EXPECT_EQ(ShellIcon(tray).state, NIS_HIDDEN);
  EXPECT_TRUE(tray.HideInPlace());
  ASSERT_TRUE(tray.SetTooltipText(u"while hidden"));
  EXPECT_EQ(ShellIcon(tray).tip, u"Zephrin Tunevo");  // kept, not sent
  EXPECT_FALSE(user::InjectTrayMouse(tray.GetSafeHwnd(), kMenuId, WM_LBUTTONUP));
  ASSERT_TRUE(tray.ShowIcon());
  EXPECT_FALSE(tray.IsHidden());
  EXPECT_EQ(ShellIcon(tray).state, 0u);
  EXPECT_EQ(ShellIcon(tray).tip, u"while hidden");
  EXPECT_EQ(user::TrayIcons().size(), 1u);
  EXPECT_TRUE(tray.ShowIcon());
}

TEST_F(Tray, AnOlderShellHidesByRemovingAndShowsByAdding) {
  TestTrayIcon tray;
  tray.UseOlderShell();
  ASSERT_TRUE(CreateIcon(tray));
  ASSERT_TRUE(tray.HideInPlace());
  EXPECT_TRUE(tray.IsRemoved());
  EXPECT_FALSE(InTray(tray));
  ASSERT_TRUE(tray.ShowIcon());
  ASSERT_TRUE(InTray(tray));
  EXPECT_EQ(ShellIcon(tray).state, 0u);
}

TEST_F(Tray, RemovingTwiceIsFineAndShowingAddsAgain) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  ASSERT_TRUE(tray.HideIcon());
  EXPECT_FALSE(InTray(tray));
  EXPECT_TRUE(tray.IsRemoved());
  EXPECT_TRUE(tray.HideIcon());
  ASSERT_TRUE(tray.ShowIcon());
  EXPECT_TRUE(InTray(tray));
  EXPECT_EQ(ShellIcon(tray).tip, u"Zephrin Tunevo");
}

TEST_F(Tray, AFailedAddIsRetriedWhenTheShellStarts) {
  TestTrayIcon tray;
  user::SetShellAvailable(false);
  EXPECT_FALSE(CreateIcon(tray));
  EXPECT_TRUE(tray.AddFailed());
  EXPECT_TRUE(user::TrayIcons().empty());
  user::RestartShell();
  PumpWaiting();
  ASSERT_TRUE(InTray(tray));
  EXPECT_FALSE(tray.AddFailed());
  EXPECT_FALSE(tray.IsRemoved());
  EXPECT_EQ(ShellIcon(tray).tip, u"Zephrin Tunevo");
  EXPECT_EQ(ShellIcon(tray).callbackMessage, 0xDD1u);
}

TEST_F(Tray, AShownIconComesBackAfterARestartAndARemovedOneDoesNot) {
  TestTrayIcon shown, removed;
  ASSERT_TRUE(CreateIcon(shown));
  ASSERT_TRUE(removed.Create(u"other", ownerWnd_, kIconId, kMenuId, 0, true));
  ASSERT_TRUE(removed.HideIcon());
  user::RestartShell();
  EXPECT_TRUE(user::TrayIcons().empty());
  PumpWaiting();
  EXPECT_TRUE(InTray(shown));
  EXPECT_FALSE(InTray(removed));
}

TEST_F(Tray, AnIconHiddenInPlaceWhileTheShellRestartedIsShownAnew) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  ASSERT_TRUE(tray.HideInPlace());
  user::RestartShell();
  PumpWaiting();
  EXPECT_FALSE(InTray(tray));
  ASSERT_TRUE(tray.ShowIcon());
  ASSERT_TRUE(InTray(tray));
  EXPECT_EQ(ShellIcon(tray).state, 0u);
}

TEST_F(Tray, AWorkAreaChangeRetriesOnlyAFailedAdd) {
  TestTrayIcon tray;
  user::SetShellAvailable(false);
  EXPECT_FALSE(CreateIcon(tray));
  user::SetShellAvailable(true);
  SendMessageW(tray.GetSafeHwnd(), WM_SETTINGCHANGE, SPI_GETANIMATION, 0);
  EXPECT_FALSE(InTray(tray));
  SendMessageW(tray.GetSafeHwnd(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  EXPECT_TRUE(InTray(tray));
  EXPECT_FALSE(tray.AddFailed());
}

TEST_F(Tray, NotificationWindowAndCallbackMessageChangeInTheShell) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  ASSERT_TRUE(tray.SetCallbackMessage(WM_APP + 7));
  EXPECT_EQ(tray.GetCallbackMessage(), static_cast<UINT>(WM_APP + 7));
  EXPECT_EQ(ShellIcon(tray).callbackMessage, static_cast<UINT>(WM_APP + 7));
  EXPECT_FALSE(tray.SetNotificationWnd(nullptr));
  HWND dead = CreateWindowExW(0, u"Static", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  CWnd* deadWnd = CWnd::FromHandle(dead);
  DestroyWindow(dead);
  EXPECT_FALSE(tray.SetNotificationWnd(deadWnd));
  // The shell knows the icon by (window, id): another window names no icon it has.
  EXPECT_FALSE(tray.SetNotificationWnd(ownerWnd_));
}

TEST_F(Tray, AnimationStepsThroughTheFramesAndStopsOnTheTipAndIcon) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  const UINT ids[] = {5031, 5032, 5033};
  const CString tips[] = {CString(u"one"), CString(), CString(u"three")};
  ASSERT_TRUE(tray.SetAnimationIcons(ids, tips, 3));
  tray.Animate(1001, 250);
  const HWND window = tray.GetSafeHwnd();
  SendMessageW(window, WM_TIMER, 1001, 0);
  const user::TrayIcon first = ShellIcon(tray);
  EXPECT_EQ(first.tip, u"one");
  SendMessageW(window, WM_TIMER, 1001, 0);
  const user::TrayIcon second = ShellIcon(tray);
  EXPECT_EQ(second.tip, u"Zephrin Tunevo");  // a frame without a tip shows the tip text
  EXPECT_NE(second.icon, first.icon);
  SendMessageW(window, WM_TIMER, 1001, 0);
  EXPECT_EQ(ShellIcon(tray).tip, u"three");
  SendMessageW(window, WM_TIMER, 1001, 0);
  EXPECT_EQ(ShellIcon(tray).icon, first.icon);  // round again
  SendMessageW(window, WM_TIMER, 77, 0);         // another timer: no step
  EXPECT_EQ(ShellIcon(tray).tip, u"one");
  tray.StopAnimation();
  EXPECT_EQ(ShellIcon(tray).tip, u"Zephrin Tunevo");
  EXPECT_EQ(std::u16string(tray.GetTooltipText().GetString()), u"Zephrin Tunevo");
  EXPECT_EQ(ShellIcon(tray).icon, tray.GetIcon());
  EXPECT_NE(ShellIcon(tray).icon, first.icon);
}

TEST_F(Tray, AnimationFramesStopAtTheFirstMissingIcon) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  const UINT ids[] = {5031, 9999, 5033};
  EXPECT_FALSE(tray.SetAnimationIcons(ids, 3));
  EXPECT_TRUE(tray.SetAnimationIcons(ids, 0));
  EXPECT_FALSE(tray.SetAnimationIcons(nullptr, 2));
  // No frames: a timer tick changes nothing.
  tray.StartAnimation(100);
  SendMessageW(tray.GetSafeHwnd(), WM_TIMER, 1001, 0);
  EXPECT_EQ(ShellIcon(tray).tip, u"Zephrin Tunevo");
  tray.KillAnimation();
}

TEST_F(Tray, RemovedFramesLeaveTheShellTheIconOfItsId) {
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  const UINT ids[] = {5031, 5032};
  ASSERT_TRUE(tray.SetAnimationIcons(ids, 2));
  SendMessageW(tray.GetSafeHwnd(), WM_TIMER, 1001, 0);
  tray.RemoveAnimationIcons();
  EXPECT_EQ(ShellIcon(tray).icon, tray.GetIcon());
}

TEST(TrayModule, ALoadedModuleIsBorrowedAndAnotherIsLoaded) {
  CXTPModuleHandle shell(u"shell32.dll");
  ASSERT_NE(shell.GetHandle(), nullptr);
  EXPECT_FALSE(shell.IsLoaded());
  EXPECT_EQ(shell.GetModuleVersion(), 6u * 65536 + 1);
  EXPECT_TRUE(CXTTrayIcon::IsNewerShell());

  CXTPModuleHandle older(u"trayoldshell.dll");
  ASSERT_NE(older.GetHandle(), nullptr);
  EXPECT_TRUE(older.IsLoaded());
  EXPECT_EQ(older.GetModuleVersion(), 4u * 65536 + 71);
  EXPECT_EQ(std::u16string(older.GetName().GetString()), u"trayoldshell.dll");

  CXTPModuleHandle none(u"nosuchmodule.dll");
  EXPECT_EQ(none.GetHandle(), nullptr);
  EXPECT_EQ(none.GetModuleVersion(), 0u);
  EXPECT_FALSE(older.Init(u""));
  EXPECT_EQ(older.GetHandle(), nullptr);
  EXPECT_EQ(older.GetModuleVersion(), 0u);
}

TEST(TrayIconImages, SizesAndResizedCopiesKeepTheRatio) {
  CXTIconHandle big(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconId), IMAGE_ICON, 32, 32, 0)));
  ASSERT_NE(static_cast<HICON>(big), nullptr);
  EXPECT_EQ(CXTTrayIcon::GetIconSize(big), CSize(32, 32));
  CXTIconHandle wide(CXTTrayIcon::ResizeIcon(big, CSize(20, 10)));
  ASSERT_NE(static_cast<HICON>(wide), nullptr);
  EXPECT_EQ(CXTTrayIcon::GetIconSize(wide), CSize(10, 10));
  CXTIconHandle tall(CXTTrayIcon::ResizeIcon(big, CSize(8, 40)));
  EXPECT_EQ(CXTTrayIcon::GetIconSize(tall), CSize(8, 8));
  EXPECT_EQ(CXTTrayIcon::ResizeIcon(nullptr, CSize(16, 16)), nullptr);
  EXPECT_EQ(CXTTrayIcon::ResizeIcon(big, CSize(0, 16)), nullptr);
  EXPECT_EQ(CXTTrayIcon::GetIconSize(nullptr), CSize(0, 0));
}

}  // namespace
}  // namespace zx::test
