// CWnd::CenterWindow: over the parent's client area, the owner, another window or the work
// area, and kept inside the work area.
#include <gtest/gtest.h>

#include "afxwin.h"
#include "user_testing.h"

namespace zx::test {
namespace {

using CenterWindow = UserTest;

RECT WorkArea() {
  RECT work{};
  EXPECT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  return work;
}

POINT TopLeftOf(HWND window) {
  RECT r{};
  EXPECT_TRUE(GetWindowRect(window, &r));
  return POINT{r.left, r.top};
}

// Centres the window through a temporary CWnd on its handle.
void Centre(HWND window, HWND alternate = nullptr) {
  CWnd wnd;
  CWnd other;
  wnd.m_hWnd = window;
  other.m_hWnd = alternate;
  wnd.CenterWindow(alternate ? &other : nullptr);
  wnd.m_hWnd = nullptr;
  other.m_hWnd = nullptr;
}

TEST_F(CenterWindow, ChildInItsParentsClientArea) {
  const HWND parent = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"", 10, 20, 300, 200);
  const HWND child = MakeWindow(WS_CHILD, parent, 1, u"", 0, 0, 100, 50);
  Centre(child);
  RECT client{};
  ASSERT_TRUE(GetClientRect(parent, &client));
  POINT at = TopLeftOf(child);
  ASSERT_TRUE(ScreenToClient(parent, &at));
  EXPECT_EQ(at.x, (client.right - 100) / 2);
  EXPECT_EQ(at.y, (client.bottom - 50) / 2);
}

TEST_F(CenterWindow, OverAShownOwnerOrElseTheWorkArea) {
  const HWND owner = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"", 100, 100, 400, 300);
  const HWND popup = MakeWindow(WS_POPUP, owner, 0, u"", 0, 0, 200, 100);
  Centre(popup);  // the owner is hidden: the work area
  const RECT work = WorkArea();
  EXPECT_EQ(TopLeftOf(popup).x, work.left + (work.right - work.left - 200) / 2);
  EXPECT_EQ(TopLeftOf(popup).y, work.top + (work.bottom - work.top - 100) / 2);
  ShowWindow(owner, SW_SHOWNA);
  Centre(popup);
  EXPECT_EQ(TopLeftOf(popup).x, 200);
  EXPECT_EQ(TopLeftOf(popup).y, 200);
}

TEST_F(CenterWindow, OverAnAlternateOwner) {
  const HWND owner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, u"", 100, 100, 400, 300);
  const HWND other = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, u"", 300, 250, 200, 200);
  const HWND popup = MakeWindow(WS_POPUP, owner, 0, u"", 0, 0, 100, 100);
  Centre(popup, other);
  EXPECT_EQ(TopLeftOf(popup).x, 350);
  EXPECT_EQ(TopLeftOf(popup).y, 300);
}

TEST_F(CenterWindow, KeptInsideTheWorkArea) {
  const RECT work = WorkArea();
  const HWND owner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, u"", work.left,
                                work.top, 150, 150);
  const HWND popup = MakeWindow(WS_POPUP, owner, 0, u"", 500, 500, 300, 200);
  Centre(popup);  // centred it would start above and left of the work area
  EXPECT_EQ(TopLeftOf(popup).x, work.left);
  EXPECT_EQ(TopLeftOf(popup).y, work.top);
  const HWND corner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, u"",
                                 work.right - 150, work.bottom - 150, 150, 150);
  const HWND low = MakeWindow(WS_POPUP, corner, 0, u"", 0, 0, 300, 200);
  Centre(low);
  EXPECT_EQ(TopLeftOf(low).x, work.right - 300);
  EXPECT_EQ(TopLeftOf(low).y, work.bottom - 200);
  // Larger than the work area: its top-left corner stays visible.
  const HWND huge = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, work.right - work.left + 400,
                               work.bottom - work.top + 400);
  Centre(huge);
  EXPECT_EQ(TopLeftOf(huge).x, work.left);
  EXPECT_EQ(TopLeftOf(huge).y, work.top);
}

}  // namespace
}  // namespace zx::test
