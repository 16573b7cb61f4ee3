// Size limits of top-level windows: WM_GETMINMAXINFO at creation, on sizing and on maximising.
#include <gtest/gtest.h>

#include <algorithm>

#include "user_testing.h"
#include "winmetrics.h"

namespace zx::test {
namespace {

using SizeLimits = UserTest;

// Answers WM_GETMINMAXINFO with tracking limits of 400x300 .. 500x400.
void LimitTracking() {
  OnMessage(WM_GETMINMAXINFO, [](HWND, UINT, WPARAM, LPARAM l) -> LRESULT {
    auto* info = reinterpret_cast<MINMAXINFO*>(l);
    info->ptMinTrackSize = POINT{400, 300};
    info->ptMaxTrackSize = POINT{500, 400};
    return 0;
  });
}

SIZE SizeOf(HWND window) {
  RECT r{};
  EXPECT_TRUE(GetWindowRect(window, &r));
  return SIZE{r.right - r.left, r.bottom - r.top};
}

TEST_F(SizeLimits, AskedBeforeNonClientCreation) {
  const HWND top = MakeWindow(WS_OVERLAPPEDWINDOW);
  const std::vector<UINT> got = RecordedFor(top);
  const auto asked = std::find(got.begin(), got.end(), WM_GETMINMAXINFO);
  const auto created = std::find(got.begin(), got.end(), WM_NCCREATE);
  ASSERT_NE(asked, got.end());
  ASSERT_NE(created, got.end());
  EXPECT_LT(asked, created);
}

TEST_F(SizeLimits, DefaultsComeFromTheSystemMetrics) {
  MINMAXINFO seen{};
  OnMessage(WM_GETMINMAXINFO, [&seen](HWND, UINT, WPARAM, LPARAM l) -> LRESULT {
    seen = *reinterpret_cast<MINMAXINFO*>(l);
    return 0;
  });
  MakeWindow(WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(seen.ptMinTrackSize.x, GetSystemMetrics(SM_CXMIN));
  EXPECT_EQ(seen.ptMinTrackSize.y, GetSystemMetrics(SM_CYMIN));
  EXPECT_EQ(seen.ptMaxTrackSize.x, GetSystemMetrics(SM_CXMAXTRACK));
  EXPECT_EQ(seen.ptMaxTrackSize.y, GetSystemMetrics(SM_CYMAXTRACK));
  EXPECT_EQ(seen.ptMaxSize.x, GetSystemMetrics(SM_CXMAXIMIZED));
  EXPECT_EQ(seen.ptMaxSize.y, GetSystemMetrics(SM_CYMAXIMIZED));
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(seen.ptMaxPosition.x, work.left - (seen.ptMaxSize.x - (work.right - work.left)) / 2);
}

TEST_F(SizeLimits, CreationSizeIsClamped) {
  LimitTracking();
  const HWND small = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"", 10, 20, 100, 50);
  EXPECT_EQ(SizeOf(small).cx, 400);
  EXPECT_EQ(SizeOf(small).cy, 300);
  const HWND large = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"", 10, 20, 900, 800);
  EXPECT_EQ(SizeOf(large).cx, 500);
  EXPECT_EQ(SizeOf(large).cy, 400);
}

TEST_F(SizeLimits, SizingIsClampedButMovingDoesNotAsk) {
  LimitTracking();
  const HWND top = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"", 10, 20, 450, 350);
  ClearRecorded();
  ASSERT_TRUE(SetWindowPos(top, nullptr, 0, 0, 2000, 10, SWP_NOMOVE | SWP_NOZORDER));
  EXPECT_EQ(SizeOf(top).cx, 500);
  EXPECT_EQ(SizeOf(top).cy, 300);
  ASSERT_TRUE(MoveWindow(top, 5, 5, 420, 5000, FALSE));
  EXPECT_EQ(SizeOf(top).cx, 420);
  EXPECT_EQ(SizeOf(top).cy, 400);
  ClearRecorded();
  ASSERT_TRUE(SetWindowPos(top, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
  const std::vector<UINT> got = RecordedFor(top);
  EXPECT_EQ(std::count(got.begin(), got.end(), WM_GETMINMAXINFO), 0);
}

TEST_F(SizeLimits, ChildrenAndPopupsAreNotLimited) {
  LimitTracking();
  const HWND top = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"", 10, 20, 450, 350);
  const HWND child = MakeWindow(WS_CHILD, top, 1, u"", 0, 0, 20, 10);
  const HWND popup = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 20, 10);
  for (const HWND w : {child, popup}) {
    EXPECT_EQ(SizeOf(w).cx, 20);
    ASSERT_TRUE(SetWindowPos(w, nullptr, 0, 0, 900, 900, SWP_NOMOVE | SWP_NOZORDER));
    EXPECT_EQ(SizeOf(w).cx, 900);
    const std::vector<UINT> got = RecordedFor(w);
    EXPECT_EQ(std::count(got.begin(), got.end(), WM_GETMINMAXINFO), 0);
  }
}

TEST_F(SizeLimits, MaximiseTakesTheAnsweredPlaceAndSize) {
  OnMessage(WM_GETMINMAXINFO, [](HWND, UINT, WPARAM, LPARAM l) -> LRESULT {
    auto* info = reinterpret_cast<MINMAXINFO*>(l);
    info->ptMaxSize = POINT{640, 480};
    info->ptMaxPosition = POINT{5, 6};
    return 0;
  });
  const HWND top = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"", 10, 20, 300, 200);
  ShowWindow(top, SW_MAXIMIZE);
  RECT r{};
  ASSERT_TRUE(GetWindowRect(top, &r));
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.top, 6);
  EXPECT_EQ(r.right, 645);
  EXPECT_EQ(r.bottom, 486);
  ShowWindow(top, SW_RESTORE);
  ASSERT_TRUE(GetWindowRect(top, &r));
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.right, 310);
}

}  // namespace
}  // namespace zx::test
