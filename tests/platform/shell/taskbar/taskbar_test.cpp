// The taskbar as programs find it: "Shell_TrayWnd" below the work area, its notification
// area with the icons' toolbar and the clock, the walks callers make into it, the taskbar's
// place from SHAppBarMessage and the shell's version through GetProcAddress.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "machine_fixture.h"
#include "shellapi.h"
#include "windows.h"

namespace {

constexpr int kIconCell = 24;
constexpr int kClockWidth = 72;

RECT WindowRect(HWND window) {
  RECT r{};
  EXPECT_TRUE(GetWindowRect(window, &r));
  return r;
}

RECT ClientRect(HWND window) {
  RECT r{};
  EXPECT_TRUE(GetClientRect(window, &r));
  return r;
}

void ExpectRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

class Taskbar : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"TaskbarTestOwner";
    RegisterClassExW(&wc);
    owner_ = CreateWindowExW(0, u"TaskbarTestOwner", u"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override { DestroyWindow(owner_); }

  // A screen of that size (machine.ini [Display]).
  void UseScreen(int width, int height) {
    WriteHostFile(root() + "/machine.ini",
                  "[Display]\nWidth=" + std::to_string(width) + "\nHeight=" + std::to_string(height) + "\n");
  }

  bool AddIcon(UINT id, DWORD state = 0) {
    NOTIFYICONDATAW data{};
    data.cbSize = 936;
    data.hWnd = owner_;
    data.uID = id;
    data.uFlags = NIF_MESSAGE | NIF_STATE;
    data.uCallbackMessage = 0xDD1;
    data.dwState = state;
    data.dwStateMask = NIS_HIDDEN;
    return Shell_NotifyIconW(NIM_ADD, &data);
  }

  HWND owner_ = nullptr;
};

HWND Tray() { return FindWindowW(u"Shell_TrayWnd", nullptr); }

TEST_F(Taskbar, FoundAlongTheBottomBelowTheWorkArea) {
  const HWND tray = Tray();
  ASSERT_NE(tray, nullptr);
  EXPECT_EQ(FindWindowW(u"shell_traywnd", nullptr), tray);
  EXPECT_EQ(FindWindowExW(nullptr, nullptr, u"Shell_TrayWnd", nullptr), tray);
  WCHAR name[64] = {};
  ASSERT_EQ(GetClassNameW(tray, name, 64), 13);
  EXPECT_EQ(std::u16string(name), u"Shell_TrayWnd");
  EXPECT_FALSE(IsWindowVisible(tray));
  EXPECT_EQ(GetParent(tray), nullptr);

  RECT work{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  ExpectRect(WindowRect(tray), 0, work.bottom, width, height);
  // What the main windows take off their tallest size: the taskbar's client height.
  ExpectRect(ClientRect(tray), 0, 0, width, height - work.bottom);
  EXPECT_GT(height - work.bottom, 0);
}

TEST_F(Taskbar, MadeAgainAfterItWasClosed) {
  const HWND first = Tray();
  ASSERT_NE(first, nullptr);
  SendMessageW(first, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(first));
  const HWND second = Tray();
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_NE(FindWindowExW(second, nullptr, u"TrayNotifyWnd", nullptr), nullptr);
}

TEST_F(Taskbar, FollowsTheScreenOfTheMachine) {
  UseScreen(1024, 768);
  ExpectRect(WindowRect(Tray()), 0, 728, 1024, 768);
  UseScreen(1600, 900);
  ExpectRect(WindowRect(Tray()), 0, 860, 1600, 900);
}

TEST_F(Taskbar, NotificationAreaHoldsTheIconsAndTheClock) {
  UseScreen(1920, 1080);
  ASSERT_TRUE(AddIcon(1));
  ASSERT_TRUE(AddIcon(2));
  const HWND tray = Tray();
  const HWND notify = FindWindowExW(tray, nullptr, u"TrayNotifyWnd", nullptr);
  ASSERT_NE(notify, nullptr);
  EXPECT_EQ(GetParent(notify), tray);
  const HWND toolbar = FindWindowExW(notify, nullptr, u"ToolbarWindow32", nullptr);
  const HWND clock = FindWindowExW(notify, nullptr, u"TrayClockWClass", nullptr);
  ASSERT_NE(toolbar, nullptr);
  ASSERT_NE(clock, nullptr);
  const int area = 2 * kIconCell + kClockWidth;
  ExpectRect(WindowRect(notify), 1920 - area, 1040, 1920, 1080);
  ExpectRect(WindowRect(toolbar), 1920 - area, 1040, 1920 - kClockWidth, 1080);
  ExpectRect(WindowRect(clock), 1920 - kClockWidth, 1040, 1920, 1080);
  // Not direct children of the taskbar itself.
  EXPECT_EQ(FindWindowExW(tray, nullptr, u"ToolbarWindow32", nullptr), nullptr);
}

TEST_F(Taskbar, IconsHiddenInPlaceTakeNoRoom) {
  UseScreen(1920, 1080);
  ASSERT_TRUE(AddIcon(1));
  ASSERT_TRUE(AddIcon(2, NIS_HIDDEN));
  const HWND toolbar =
      FindWindowExW(FindWindowExW(Tray(), nullptr, u"TrayNotifyWnd", nullptr), nullptr, u"ToolbarWindow32", nullptr);
  EXPECT_EQ(ClientRect(toolbar).right, kIconCell);
  NOTIFYICONDATAW data{};
  data.cbSize = 936;
  data.hWnd = owner_;
  data.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
  data.uID = 2;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
  Tray();
  EXPECT_EQ(ClientRect(toolbar).right, 0);
}

// The icon area a window is animated into: the taskbar's rectangle, narrowed to the
// notification area, the clock cut off at its left.
struct IconAreaWalk {
  RECT rect;
  int visited = 0;
};

BOOL CALLBACK NarrowToIcons(HWND child, LPARAM param) {
  auto* walk = reinterpret_cast<IconAreaWalk*>(param);
  ++walk->visited;
  WCHAR name[64] = {};
  GetClassNameW(child, name, 64);
  const std::u16string className = name;
  if (className == u"TrayNotifyWnd") GetWindowRect(child, &walk->rect);
  if (className != u"TrayClockWClass") return TRUE;
  RECT clock{};
  GetWindowRect(child, &clock);
  if (clock.bottom >= walk->rect.bottom - 5)
    walk->rect.right = clock.left;
  else
    walk->rect.top = clock.bottom;
  return FALSE;
}

TEST_F(Taskbar, WalkOfItsChildrenFindsTheIconArea) {
  UseScreen(1280, 1024);
  ASSERT_TRUE(AddIcon(7));
  const HWND tray = Tray();
  IconAreaWalk walk{WindowRect(tray)};
  EXPECT_FALSE(EnumChildWindows(tray, NarrowToIcons, reinterpret_cast<LPARAM>(&walk)));
  EXPECT_EQ(walk.visited, 3);  // the notification area, the toolbar, the clock
  ExpectRect(walk.rect, 1280 - kClockWidth - kIconCell, 984, 1280 - kClockWidth, 1024);
}

// The refresh of the notification area: a mouse move at every x of the toolbar.
TEST_F(Taskbar, ToolbarTakesTheRefreshMouseMoves) {
  ASSERT_TRUE(AddIcon(3));
  ASSERT_TRUE(AddIcon(4));
  const HWND notify = FindWindowExW(Tray(), nullptr, u"TrayNotifyWnd", nullptr);
  const HWND toolbar = FindWindowExW(notify, nullptr, u"ToolbarWindow32", nullptr);
  ASSERT_NE(toolbar, nullptr);
  const LONG width = ClientRect(toolbar).right;
  EXPECT_EQ(width, 2 * kIconCell);
  for (LONG x = 1; x <= width; ++x) EXPECT_EQ(SendMessageW(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(x, 1)), 0);
  // The icons of live windows stay.
  NOTIFYICONDATAW data{};
  data.cbSize = 936;
  data.hWnd = owner_;
  data.uID = 3;
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &data));
}

TEST_F(Taskbar, AppBarAnswersTheTaskbarsRectangleAndEdge) {
  UseScreen(1366, 768);
  const RECT tray = WindowRect(Tray());
  for (const DWORD size : {36u, static_cast<DWORD>(sizeof(APPBARDATA))}) {
    APPBARDATA bar{};
    bar.cbSize = size;
    ASSERT_EQ(SHAppBarMessage(ABM_GETTASKBARPOS, &bar), TRUE) << size;
    EXPECT_EQ(bar.uEdge, static_cast<UINT>(ABE_BOTTOM));
    ExpectRect(bar.rc, tray.left, tray.top, tray.right, tray.bottom);
  }
}

TEST(TaskbarRecords, LayoutsOfThisPlatform) {
  EXPECT_EQ(sizeof(APPBARDATA), 48u);
  EXPECT_EQ(offsetof(APPBARDATA, hWnd), 8u);
  EXPECT_EQ(offsetof(APPBARDATA, uCallbackMessage), 16u);
  EXPECT_EQ(offsetof(APPBARDATA, uEdge), 20u);
  EXPECT_EQ(offsetof(APPBARDATA, rc), 24u);
  EXPECT_EQ(offsetof(APPBARDATA, lParam), 40u);
  EXPECT_EQ(sizeof(DLLVERSIONINFO), 20u);
  EXPECT_EQ(ABM_GETTASKBARPOS, 5u);
  EXPECT_EQ(ABE_BOTTOM, 3);
}

TEST_F(Taskbar, AppBarRefusesOtherRecords) {
  APPBARDATA bar{};
  bar.uEdge = 77;
  for (const DWORD size : {0u, 35u, 40u, 49u}) {
    bar.cbSize = size;
    EXPECT_EQ(SHAppBarMessage(ABM_GETTASKBARPOS, &bar), FALSE) << size;
  }
  EXPECT_EQ(bar.uEdge, 77u);
  EXPECT_EQ(SHAppBarMessage(ABM_GETTASKBARPOS, nullptr), FALSE);
}

using VersionCall = HRESULT (*)(DLLVERSIONINFO*);

TEST_F(Taskbar, ShellVersionThroughItsExport) {
  const HMODULE shell = GetModuleHandleW(u"shell32.dll");
  ASSERT_NE(shell, nullptr);
  const auto call = reinterpret_cast<VersionCall>(GetProcAddress(shell, "DllGetVersion"));
  ASSERT_NE(call, nullptr);
  DLLVERSIONINFO info{};
  info.cbSize = 20;
  ASSERT_EQ(call(&info), S_OK);
  EXPECT_EQ(info.dwMajorVersion, 6u);
  EXPECT_EQ(info.dwMinorVersion, 1u);
  EXPECT_EQ(info.dwBuildNumber, 7601u);
  EXPECT_EQ(info.dwPlatformID, DLLVER_PLATFORM_NT);
  // The "newer shell" test of the icon's code: major * 65536 + minor from version 5 on.
  EXPECT_GE(info.dwMajorVersion * 65536 + info.dwMinorVersion, 5u * 65536);
  info.cbSize = 19;
  EXPECT_EQ(call(&info), E_INVALIDARG);
}

}  // namespace
