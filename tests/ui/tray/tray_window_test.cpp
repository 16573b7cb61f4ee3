// Windows animated into and out of the notification area: the area's rectangle found by
// walking the taskbar's windows, the rectangles given a taskbar's place or the work area,
// and a window minimised to the tray (taken off the taskbar and hidden) and restored.
#include <gtest/gtest.h>

#include "tray_support.h"

namespace zx::test {
namespace {

using TrayWindow = TrayTest;

void ExpectRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

TEST_F(TrayWindow, TheAreaIsTheTaskbarsIconsLeftOfTheClock) {
  UseMachine(1280, 1024, false);
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  RECT area{};
  ASSERT_TRUE(CXTTrayIcon::GetTrayWindowRect(&area));
  // One icon of 24 pixels, then the clock of 72, along the bottom 40 pixels.
  ExpectRect(area, 1280 - 72 - 24, 984, 1280 - 72, 1024);
  ASSERT_TRUE(tray.HideIcon());
  ASSERT_TRUE(CXTTrayIcon::GetTrayWindowRect(&area));
  ExpectRect(area, 1280 - 72, 984, 1280 - 72, 1024);
  EXPECT_FALSE(CXTTrayIcon::GetTrayWindowRect(nullptr));
}

TEST_F(TrayWindow, TheTaskbarsPlaceGivesTheAreaNearItsEnd) {
  APPBARDATA bar{};
  bar.uEdge = ABE_BOTTOM;
  bar.rc = RECT{0, 1040, 1920, 1080};
  ExpectRect(CXTTrayIcon::TrayRectFromTaskbar(bar), 1820, 1040, 1904, 1080);
  bar.uEdge = ABE_TOP;
  bar.rc = RECT{0, 0, 1024, 30};
  ExpectRect(CXTTrayIcon::TrayRectFromTaskbar(bar), 924, 0, 1008, 30);
  bar.uEdge = ABE_LEFT;
  bar.rc = RECT{0, 0, 60, 768};
  ExpectRect(CXTTrayIcon::TrayRectFromTaskbar(bar), 0, 668, 60, 752);
  bar.uEdge = ABE_RIGHT;
  bar.rc = RECT{964, 0, 1024, 768};
  ExpectRect(CXTTrayIcon::TrayRectFromTaskbar(bar), 964, 668, 1024, 752);
  ExpectRect(CXTTrayIcon::TrayRectFromWorkArea(RECT{0, 0, 1600, 860}), 1450, 830, 1600, 860);
}

void ExpectMinimisedAndRestored(HWND owner, CWnd* ownerWnd, TestTrayIcon& tray) {
  tray.MinimizeToTray(ownerWnd);
  EXPECT_FALSE(IsWindowVisible(owner));
  ASSERT_NE(tray.MinimizeParent(), nullptr);
  EXPECT_EQ(GetAncestor(owner, GA_PARENT), tray.MinimizeParent());
  EXPECT_FALSE(IsWindowVisible(tray.MinimizeParent()));
  tray.MaximizeFromTray(ownerWnd);
  EXPECT_TRUE(IsWindowVisible(owner));
  EXPECT_EQ(GetAncestor(owner, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetForegroundWindow(), owner);
  RECT r{};
  GetWindowRect(owner, &r);
  EXPECT_EQ(r.left, 100);  // neither moved nor sized
  EXPECT_EQ(r.right, 500);
}

TEST_F(TrayWindow, MinimisingWithoutAnimationHidesAndRestoringShows) {
  UseMachine(1280, 1024, false);
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  ExpectMinimisedAndRestored(owner_, ownerWnd_, tray);
  EXPECT_TRUE(InTray(tray));  // the icon stays
}

TEST_F(TrayWindow, MinimisingWithAnimationHidesAndRestoringShows) {
  UseMachine(1280, 1024, true);
  TestTrayIcon tray;
  ASSERT_TRUE(CreateIcon(tray));
  ExpectMinimisedAndRestored(owner_, ownerWnd_, tray);
  // A second round uses the same hidden parent.
  tray.MinimizeToTray(ownerWnd_);
  const HWND parent = tray.MinimizeParent();
  tray.MaximizeFromTray(ownerWnd_);
  tray.MinimizeToTray(ownerWnd_);
  EXPECT_EQ(tray.MinimizeParent(), parent);
  EXPECT_FALSE(tray.RemoveFromTaskbar(nullptr));
}

}  // namespace
}  // namespace zx::test
