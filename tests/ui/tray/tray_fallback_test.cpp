// The notification area's rectangle on a machine without the taskbar's windows: taken from
// the taskbar's place that the shell answers; a window still minimises to the tray and back.
#include <gtest/gtest.h>

#include "XTTrayIcon.h"
#include "machine_fixture.h"
#include "zx/shellwindows.h"
#include "zx/tray.h"

namespace zx::test {
namespace {

class TrayFallback : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    // No shell makes "Shell_TrayWnd" in this program.
    user::SetShellWindowsMaker(nullptr);
    user::ClearTray();
    WriteHostFile(root() + "/machine.ini", "[Display]\nWidth=1024\nHeight=768\n[Desktop]\nMinAnimate=1\n");
  }
};

TEST_F(TrayFallback, WithoutTheTaskbarsWindowsTheTaskbarsPlaceGivesTheArea) {
  ASSERT_EQ(FindWindowW(u"Shell_TrayWnd", nullptr), nullptr);
  RECT area{};
  ASSERT_TRUE(CXTTrayIcon::GetTrayWindowRect(&area));
  // The taskbar along the bottom 40 pixels of 1024 x 768.
  EXPECT_EQ(area.left, 1024 - 100);
  EXPECT_EQ(area.top, 728);
  EXPECT_EQ(area.right, 1024 - 16);
  EXPECT_EQ(area.bottom, 768);
}

TEST_F(TrayFallback, AWindowStillMinimisesToTheTrayAndBack) {
  HWND owner = CreateWindowExW(0, u"Static", u"owner", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  {
    CXTTrayIcon tray;
    ASSERT_TRUE(tray.Create(u"tip", CWnd::FromHandle(owner), 0));
    tray.MinimizeToTray(CWnd::FromHandle(owner));
    EXPECT_FALSE(IsWindowVisible(owner));
    tray.MaximizeFromTray(CWnd::FromHandle(owner));
    EXPECT_TRUE(IsWindowVisible(owner));
    EXPECT_EQ(GetAncestor(owner, GA_PARENT), GetDesktopWindow());
  }
  DestroyWindow(owner);
  user::ClearTray();
}

}  // namespace
}  // namespace zx::test
