// The notification area: icons added, changed and removed through Shell_NotifyIconW with
// tips and balloons cut to their fields, hidden states and versions, mouse actions posted to
// the icon's window (and a context menu tracked from one), a restarted shell, a missing
// shell, and the taskbar's place.
#include <gtest/gtest.h>

#include <string>

#include "errhandlingapi.h"
#include "shellnotify.h"
#include "user_testing.h"
#include "wininput.h"
#include "winmenu.h"
#include "zx/input.h"
#include "zx/menus.h"
#include "zx/modal.h"
#include "zx/tray.h"

namespace zx::test {
namespace {

constexpr UINT kCallback = 0xDD1;
constexpr DWORD kSystemRecordSize = 936;

class Tray : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    user::ClearTray();
    window_ = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 10, 10);
  }
  void TearDown() override {
    user::SetIdleHook(nullptr);
    user::ClearTray();
    UserTest::TearDown();
  }
  NOTIFYICONDATAW Record(UINT flags, DWORD size = sizeof(NOTIFYICONDATAW)) const {
    NOTIFYICONDATAW data{};
    data.cbSize = size;
    data.hWnd = window_;
    data.uID = 5021;
    data.uFlags = flags;
    data.uCallbackMessage = kCallback;
    return data;
  }
  user::TrayIcon Icon() const {
    user::TrayIcon icon;
    EXPECT_TRUE(user::FindTrayIcon(window_, 5021, &icon));
    return icon;
  }
  HWND window_ = nullptr;
};

void Fill(WCHAR* field, std::size_t count, char16_t c) {
  for (std::size_t i = 0; i < count; ++i) field[i] = c;
}

TEST_F(Tray, IconsAreAddedChangedAndRemovedOnce) {
  NOTIFYICONDATAW data = Record(NIF_MESSAGE | NIF_TIP);
  std::u16string(u"Zephrin").copy(data.szTip, 7);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &data));
  EXPECT_EQ(Icon().tip, u"Zephrin");
  EXPECT_EQ(Icon().callbackMessage, kCallback);
  NOTIFYICONDATAW change = Record(NIF_ICON);
  change.hIcon = reinterpret_cast<HICON>(0x1234);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &change));
  EXPECT_EQ(Icon().icon, reinterpret_cast<HICON>(0x1234));
  EXPECT_EQ(Icon().tip, u"Zephrin");  // untouched without NIF_TIP
  ASSERT_TRUE(Shell_NotifyIconW(NIM_SETFOCUS, &change));
  EXPECT_EQ(Icon().focusRequests, 1);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &change));
  EXPECT_TRUE(user::TrayIcons().empty());
  EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &change));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &change));
}

TEST_F(Tray, DamagedRecordsAndDeadWindowsAreRefused) {
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, nullptr));
  NOTIFYICONDATAW small = Record(NIF_TIP, 20);
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &small));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  NOTIFYICONDATAW big = Record(NIF_TIP, sizeof(NOTIFYICONDATAW) + 4);
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &big));
  NOTIFYICONDATAW unknown = Record(0);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &unknown));
  EXPECT_FALSE(Shell_NotifyIconW(9, &unknown));
  DestroyWindow(window_);
  EXPECT_TRUE(user::TrayIcons().empty());  // the icon went with its window
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &unknown));
}

TEST_F(Tray, TipsAreCutToTheirFieldAndTheFirstVersionsShorterOne) {
  NOTIFYICONDATAW data = Record(NIF_TIP, kSystemRecordSize);
  Fill(data.szTip, 128, u'a');  // no terminator at all
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
  EXPECT_EQ(Icon().tip.size(), 127u);
  NOTIFYICONDATAW old = Record(NIF_TIP | NIF_STATE, NOTIFYICONDATAW_V1_SIZE);
  Fill(old.szTip, 128, u'b');
  old.dwState = old.dwStateMask = NIS_HIDDEN;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &old));
  EXPECT_EQ(Icon().tip, std::u16string(63, u'b'));
  EXPECT_EQ(Icon().state, 0u);  // the first version has no state
}

TEST_F(Tray, BalloonsAreRecordedAndAnEmptyTextShowsNone) {
  NOTIFYICONDATAW data = Record(NIF_MESSAGE);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
  NOTIFYICONDATAW balloon = Record(NIF_INFO, kSystemRecordSize);
  Fill(balloon.szInfo, 256, u'x');
  std::u16string(u"Update").copy(balloon.szInfoTitle, 6);
  balloon.uTimeout = 10000;
  balloon.dwInfoFlags = NIIF_INFO;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &balloon));
  user::TrayIcon icon = Icon();
  EXPECT_EQ(icon.balloonText.size(), 255u);
  EXPECT_EQ(icon.balloonTitle, u"Update");
  EXPECT_EQ(icon.balloonTimeoutMs, 10000u);
  EXPECT_EQ(icon.balloonFlags, NIIF_INFO);
  EXPECT_EQ(icon.balloons, 1);
  NOTIFYICONDATAW empty = Record(NIF_INFO | NIF_TIP, kSystemRecordSize);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &empty));
  EXPECT_EQ(Icon().balloons, 1);
}

TEST_F(Tray, HiddenIconsKeepTheirPlaceAndGetNoMouse) {
  NOTIFYICONDATAW data = Record(NIF_MESSAGE);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
  NOTIFYICONDATAW hide = Record(NIF_STATE, kSystemRecordSize);
  hide.dwState = NIS_HIDDEN;
  hide.dwStateMask = NIS_HIDDEN;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &hide));
  EXPECT_EQ(Icon().state, NIS_HIDDEN);
  EXPECT_FALSE(user::InjectTrayMouse(window_, 5021, WM_LBUTTONDBLCLK));
  hide.dwState = 0;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &hide));
  EXPECT_TRUE(user::InjectTrayMouse(window_, 5021, WM_LBUTTONDBLCLK));
  EXPECT_FALSE(user::InjectTrayMouse(window_, 77, WM_LBUTTONDBLCLK));
}

TEST_F(Tray, MouseActionsArePostedAsTheCallbackMessage) {
  NOTIFYICONDATAW data = Record(NIF_MESSAGE);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
  ASSERT_TRUE(user::InjectTrayMouse(window_, 5021, WM_RBUTTONUP));
  data.uVersion = NOTIFYICON_VERSION_4;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_SETVERSION, &data));
  ASSERT_TRUE(user::InjectTrayMouse(window_, 5021, NIN_SELECT));
  data.uVersion = 5;
  EXPECT_FALSE(Shell_NotifyIconW(NIM_SETVERSION, &data));
  PumpWaiting();
  std::vector<Delivered> calls;
  for (const Delivered& d : Recorded())
    if (d.window == window_ && d.message == kCallback) calls.push_back(d);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].wParam, 5021u);
  EXPECT_EQ(calls[0].lParam, static_cast<LPARAM>(WM_RBUTTONUP));
  EXPECT_EQ(LOWORD(calls[1].lParam), NIN_SELECT);
  EXPECT_EQ(HIWORD(calls[1].lParam), 5021u);
}

TEST_F(Tray, ARightClickOpensAContextMenuWhoseCommandReachesTheOwner) {
  const HWND owner = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 100, 100, 200, 100);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1001, u"&Open");
  AppendMenuW(menu, MF_STRING, 1002, u"E&xit");
  SetMenuDefaultItem(menu, 0, TRUE);
  OnMessage(kCallback, [&](HWND, UINT, WPARAM, LPARAM l) -> LRESULT {
    if (l == WM_RBUTTONUP) {
      POINT at{};
      GetCursorPos(&at);
      SetForegroundWindow(owner);
      TrackPopupMenu(menu, 0, at.x, at.y, 0, owner, nullptr);
      PostMessageW(owner, WM_NULL, 0, 0);
    }
    return 0;
  });
  NOTIFYICONDATAW data = Record(NIF_MESSAGE);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
  user::SetIdleHook([] {
    RECT exit{};
    if (!user::TrackedMenuItemRect(1, &exit)) return;
    const POINT p{(exit.left + exit.right) / 2, (exit.top + exit.bottom) / 2};
    user::InjectMouse(p, WM_LBUTTONUP);
  });
  user::InjectTrayMouse(window_, 5021, WM_RBUTTONUP);
  PumpWaiting();
  user::SetIdleHook(nullptr);
  PumpWaiting();
  WPARAM command = 0;
  for (const Delivered& d : Recorded())
    if (d.window == owner && d.message == WM_COMMAND) command = d.wParam;
  EXPECT_EQ(command, 1002u);
  DestroyMenu(menu);
}

TEST_F(Tray, ARestartedShellForgetsIconsAndTellsEveryWindow) {
  NOTIFYICONDATAW data = Record(NIF_MESSAGE);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
  const UINT created = user::RestartShell();
  EXPECT_EQ(created, RegisterWindowMessageW(u"TaskbarCreated"));
  EXPECT_TRUE(user::TrayIcons().empty());
  PumpWaiting();
  bool told = false;
  for (const Delivered& d : Recorded()) told = told || (d.window == window_ && d.message == created);
  EXPECT_TRUE(told);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
}

TEST_F(Tray, WithoutAShellEveryCallFails) {
  user::SetShellAvailable(false);
  NOTIFYICONDATAW data = Record(NIF_MESSAGE);
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &data));
  user::SetShellAvailable(true);
  EXPECT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
}

TEST_F(Tray, TheTaskbarLiesAlongTheBottomOfTheScreen) {
  APPBARDATA bar{};
  bar.cbSize = sizeof bar;
  ASSERT_TRUE(SHAppBarMessage(ABM_GETTASKBARPOS, &bar));
  EXPECT_EQ(bar.uEdge, static_cast<UINT>(ABE_BOTTOM));
  EXPECT_EQ(bar.rc.bottom, GetSystemMetrics(SM_CYSCREEN));
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(bar.rc.top, work.bottom);
  bar.cbSize = 3;
  EXPECT_FALSE(SHAppBarMessage(ABM_GETTASKBARPOS, &bar));
}

TEST_F(Tray, MinimisingIsNotAnimated) {
  ANIMATIONINFO info{sizeof info, 1};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETANIMATION, sizeof info, &info, 0));
  EXPECT_EQ(info.iMinAnimate, 0);
  info.cbSize = 3;
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETANIMATION, sizeof info, &info, 0));
  const RECT from{0, 0, 100, 100}, to{1800, 1040, 1820, 1060};
  EXPECT_TRUE(DrawAnimatedRects(window_, IDANI_CAPTION, &from, &to));
  EXPECT_FALSE(DrawAnimatedRects(window_, 9, &from, &to));
}

TEST_F(Tray, TheShellReportsANewerVersion) {
  DLLVERSIONINFO version{};
  EXPECT_EQ(DllGetVersion(&version), E_INVALIDARG);
  version.cbSize = 20;
  ASSERT_EQ(DllGetVersion(&version), S_OK);
  EXPECT_EQ(version.dwMajorVersion * 65536 + version.dwMinorVersion, 6u * 65536 + 1);
  EXPECT_EQ(DllGetVersion(nullptr), E_POINTER);
}

}  // namespace
}  // namespace zx::test
