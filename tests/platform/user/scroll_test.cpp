// Scroll bars of windows: ranges, pages and positions (SetScrollInfo and friends), the bar
// shown and hidden with the frame following, its pixels in the non-client area, hit-testing
// and the WM_VSCROLL / WM_HSCROLL requests of clicks and thumb drags.
#include <gtest/gtest.h>

#include <vector>

#include "errhandlingapi.h"
#include "user_testing.h"
#include "windraw.h"
#include "wingdi.h"
#include "wininput.h"
#include "winscroll.h"
#include "zx/input.h"
#include "zx/modal.h"

namespace zx::test {
namespace {

class ScrollBars : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    user::ResetInput();
  }
  void TearDown() override {
    user::SetIdleHook(nullptr);
    UserTest::TearDown();
  }
  // A 200 x 100 borderless window at the screen's corner, so screen and window points agree.
  HWND Make(DWORD bars) { return MakeWindow(WS_POPUP | WS_VISIBLE | bars, nullptr, 0, u"", 0, 0, 200, 100); }
};

struct Requested {
  int request;
  int position;
};

std::vector<Requested> Requests(HWND window, UINT message) {
  std::vector<Requested> out;
  for (const Delivered& d : Recorded())
    if (d.window == window && d.message == message)
      out.push_back(Requested{LOWORD(d.wParam), static_cast<SHORT>(HIWORD(d.wParam))});
  return out;
}

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return SIZE{r.right, r.bottom};
}

COLORREF Pixel(HWND window, int x, int y) {
  HDC dc = GetWindowDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

void SetBar(HWND window, int bar, int minimum, int maximum, UINT page, int position) {
  SCROLLINFO info{sizeof info, SIF_ALL, minimum, maximum, page, position, 0};
  SetScrollInfo(window, bar, &info, TRUE);
}

TEST_F(ScrollBars, BarsTakeTheirWidthFromTheClientArea) {
  const SIZE both = ClientSize(Make(WS_VSCROLL | WS_HSCROLL));
  EXPECT_EQ(both.cx, 200 - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(both.cy, 100 - GetSystemMetrics(SM_CYHSCROLL));
  EXPECT_EQ(ClientSize(Make(0)).cx, 200);
}

TEST_F(ScrollBars, AWindowWithoutBarsHasNoScrollInfo) {
  const HWND window = Make(0);
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  SetLastError(0);
  EXPECT_FALSE(GetScrollInfo(window, SB_VERT, &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_SCROLLBARS));
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 0);
  int low = -1, high = -1;
  EXPECT_FALSE(GetScrollRange(window, SB_HORZ, &low, &high));
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 0);
}

TEST_F(ScrollBars, ABarOfTheStyleStartsAtZeroToAHundred) {
  const HWND window = Make(WS_VSCROLL);
  int low = -1, high = -1;
  ASSERT_TRUE(GetScrollRange(window, SB_VERT, &low, &high));
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 100);
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 0);
}

TEST_F(ScrollBars, ThePositionStaysWithinTheRangeLessThePage) {
  const HWND window = Make(WS_VSCROLL);
  SCROLLINFO in{sizeof in, SIF_ALL, 0, 99, 10, 500, 0};
  EXPECT_EQ(SetScrollInfo(window, SB_VERT, &in, FALSE), 90);
  in.fMask = SIF_POS;
  in.nPos = -7;
  EXPECT_EQ(SetScrollInfo(window, SB_VERT, &in, FALSE), 0);
  EXPECT_EQ(SetScrollPos(window, SB_VERT, 42, FALSE), 0);
  EXPECT_EQ(SetScrollPos(window, SB_VERT, 43, FALSE), 42);
  // A smaller range pulls the position back in; a page beyond the range is cut to it.
  in.fMask = SIF_RANGE | SIF_PAGE;
  in.nMin = 10;
  in.nMax = 20;
  in.nPage = 50;
  SetScrollInfo(window, SB_VERT, &in, FALSE);
  SCROLLINFO out{sizeof out, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(window, SB_VERT, &out));
  EXPECT_EQ(out.nMin, 10);
  EXPECT_EQ(out.nMax, 20);
  EXPECT_EQ(out.nPage, 11u);
  EXPECT_EQ(out.nPos, 10);
  EXPECT_EQ(out.nTrackPos, 10);
}

TEST_F(ScrollBars, OnlyTheAskedFieldsAreAnswered) {
  const HWND window = Make(WS_HSCROLL);
  SetBar(window, SB_HORZ, 5, 60, 7, 30);
  SCROLLINFO out{sizeof out, SIF_PAGE, -1, -1, 0, -1, -1};
  ASSERT_TRUE(GetScrollInfo(window, SB_HORZ, &out));
  EXPECT_EQ(out.nPage, 7u);
  EXPECT_EQ(out.nMin, -1);
  EXPECT_EQ(out.nPos, -1);
}

TEST_F(ScrollBars, BadRecordsBarsAndRangesAreRefused) {
  const HWND window = Make(WS_VSCROLL);
  SCROLLINFO bad{7, SIF_ALL, 0, 10, 0, 5, 0};
  SetLastError(0);
  EXPECT_EQ(SetScrollInfo(window, SB_VERT, &bad, FALSE), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(SetScrollInfo(window, SB_VERT, nullptr, FALSE), 0);
  SCROLLINFO good{sizeof good, SIF_POS, 0, 0, 0, 5, 0};
  EXPECT_EQ(SetScrollInfo(window, 9, &good, FALSE), 0);
  EXPECT_FALSE(SetScrollRange(window, SB_VERT, -2, 0x7FFFFFFF, FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SCROLLBAR_RANGE));
  EXPECT_FALSE(GetScrollRange(window, SB_VERT, nullptr, nullptr));
  EXPECT_EQ(SetScrollInfo(reinterpret_cast<HWND>(0x7777), SB_VERT, &good, FALSE), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(ScrollBars, ARangeWorthScrollingShowsTheBarAndOneWithoutHidesIt) {
  const HWND window = Make(0);
  ClearRecorded();
  ASSERT_TRUE(SetScrollRange(window, SB_VERT, 0, 50, TRUE));
  EXPECT_NE(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL, 0);
  EXPECT_EQ(ClientSize(window).cx, 200 - GetSystemMetrics(SM_CXVSCROLL));
  int sized = 0;
  for (UINT m : RecordedFor(window)) sized += m == WM_SIZE;
  EXPECT_EQ(sized, 1);
  SetBar(window, SB_VERT, 0, 9, 10, 0);  // one page holds everything
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL, 0);
  EXPECT_EQ(ClientSize(window).cx, 200);
  // The bar's values stay for the next time.
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 0);
  SCROLLINFO keep{sizeof keep, SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 9, 10, 0, 0};
  SetScrollInfo(window, SB_VERT, &keep, TRUE);
  EXPECT_NE(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL, 0);
  EXPECT_FALSE(EnableScrollBar(window, SB_VERT, ESB_DISABLE_BOTH));  // disabled already
  EXPECT_TRUE(EnableScrollBar(window, SB_VERT, ESB_ENABLE_BOTH));
}

TEST_F(ScrollBars, ShowScrollBarChangesTheFrame) {
  const HWND window = Make(0);
  ASSERT_TRUE(ShowScrollBar(window, SB_BOTH, TRUE));
  EXPECT_EQ(ClientSize(window).cy, 100 - GetSystemMetrics(SM_CYHSCROLL));
  ASSERT_TRUE(ShowScrollBar(window, SB_HORZ, FALSE));
  EXPECT_EQ(ClientSize(window).cy, 100);
  EXPECT_EQ(ClientSize(window).cx, 200 - GetSystemMetrics(SM_CXVSCROLL));
}

// The vertical bar of Make(): x 183..199; arrows at y 0..16 and 83..99; the track between.
TEST_F(ScrollBars, TheBarIsPaintedWithArrowsTrackAndThumb) {
  const HWND window = Make(WS_VSCROLL);
  SetBar(window, SB_VERT, 0, 99, 10, 0);
  const COLORREF face = GetSysColor(COLOR_3DFACE);
  const COLORREF track = GetSysColor(COLOR_SCROLLBAR);
  EXPECT_EQ(Pixel(window, 191, 9), GetSysColor(COLOR_BTNTEXT));  // the up arrow's glyph
  EXPECT_EQ(Pixel(window, 186, 14), face);
  EXPECT_EQ(Pixel(window, 191, 91), GetSysColor(COLOR_BTNTEXT));  // the down arrow's glyph
  EXPECT_EQ(Pixel(window, 191, 21), face);                        // thumb (8 high) at the top
  EXPECT_EQ(Pixel(window, 191, 40), track);
  SetScrollPos(window, SB_VERT, 45, TRUE);  // thumb at (66 - 8) * 45 / 90 = 29 into the track
  EXPECT_EQ(Pixel(window, 191, 21), track);
  EXPECT_EQ(Pixel(window, 191, 50), face);
  EnableScrollBar(window, SB_VERT, ESB_DISABLE_BOTH);
  EXPECT_EQ(Pixel(window, 191, 9), GetSysColor(COLOR_GRAYTEXT));
  EXPECT_EQ(Pixel(window, 191, 50), track);  // no thumb on a disabled bar
}

TEST_F(ScrollBars, RepaintingTheWindowRepaintsItsBars) {
  const HWND window = Make(WS_VSCROLL | WS_HSCROLL);
  SetBar(window, SB_HORZ, 0, 9, 0, 0);
  HDC dc = GetWindowDC(window);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  const RECT all{0, 0, 200, 100};
  FillRect(dc, &all, red);
  DeleteObject(red);
  ReleaseDC(window, dc);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(Pixel(window, 190, 90), GetSysColor(COLOR_3DFACE));     // the corner
  EXPECT_EQ(Pixel(window, 9, 91), GetSysColor(COLOR_BTNTEXT));      // the left arrow's glyph
  EXPECT_EQ(Pixel(window, 191, 40), GetSysColor(COLOR_SCROLLBAR));  // vertical track
}

TEST_F(ScrollBars, HitTestingFindsTheBars) {
  const HWND window = Make(WS_VSCROLL | WS_HSCROLL);
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(190, 40)), HTVSCROLL);
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(40, 90)), HTHSCROLL);
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(40, 40)), HTCLIENT);
}

TEST_F(ScrollBars, ClicksOnArrowsAndTrackSendLineAndPageRequests) {
  const HWND window = Make(WS_VSCROLL | WS_HSCROLL);
  SetBar(window, SB_VERT, 0, 99, 10, 0);
  SetBar(window, SB_HORZ, 0, 99, 10, 0);
  const POINT clicks[] = {{191, 75}, {191, 5}, {191, 60}, {175, 91}, {5, 91}};
  for (const POINT p : clicks) {
    user::InjectMouse(p, WM_LBUTTONDOWN);
    user::InjectMouse(p, WM_LBUTTONUP);
  }
  PumpWaiting();
  const std::vector<Requested> v = Requests(window, WM_VSCROLL);
  ASSERT_EQ(v.size(), 6u);
  EXPECT_EQ(v[0].request, SB_LINEDOWN);
  EXPECT_EQ(v[1].request, SB_ENDSCROLL);
  EXPECT_EQ(v[2].request, SB_LINEUP);
  EXPECT_EQ(v[4].request, SB_PAGEDOWN);
  const std::vector<Requested> h = Requests(window, WM_HSCROLL);
  ASSERT_EQ(h.size(), 4u);
  EXPECT_EQ(h[0].request, SB_LINERIGHT);
  EXPECT_EQ(h[2].request, SB_LINELEFT);
}

TEST_F(ScrollBars, ADisabledArrowSendsNothing) {
  const HWND window = Make(WS_VSCROLL);
  SetBar(window, SB_VERT, 0, 99, 10, 0);
  EnableScrollBar(window, SB_VERT, ESB_DISABLE_UP);
  user::InjectMouse(POINT{191, 5}, WM_LBUTTONDOWN);
  user::InjectMouse(POINT{191, 5}, WM_LBUTTONUP);
  PumpWaiting();
  EXPECT_TRUE(Requests(window, WM_VSCROLL).empty());
}

TEST_F(ScrollBars, DraggingTheThumbTracksAndLetsGoAtItsPosition) {
  const HWND window = Make(WS_VSCROLL);
  SetBar(window, SB_VERT, 0, 99, 10, 0);
  std::vector<int> trackPositions;
  OnMessage(WM_VSCROLL, [&](HWND w, UINT, WPARAM wParam, LPARAM) {
    SCROLLINFO info{sizeof info, SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(w, SB_VERT, &info);
    if (LOWORD(wParam) == SB_THUMBTRACK) trackPositions.push_back(info.nTrackPos);
    if (LOWORD(wParam) == SB_THUMBPOSITION) SetScrollPos(w, SB_VERT, static_cast<SHORT>(HIWORD(wParam)), TRUE);
    return 0;
  });
  int step = 0;
  user::SetIdleHook([&step] {
    if (step == 0) user::InjectMouse(POINT{191, 50}, WM_MOUSEMOVE);
    if (step == 1) user::InjectMouse(POINT{191, 60}, WM_MOUSEMOVE);
    if (step == 2) user::InjectMouse(POINT{191, 60}, WM_LBUTTONUP);
    ++step;
  });
  user::InjectMouse(POINT{191, 21}, WM_LBUTTONDOWN);  // 4 pixels into the thumb
  PumpWaiting();
  const std::vector<Requested> v = Requests(window, WM_VSCROLL);
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[0].request, SB_THUMBTRACK);
  EXPECT_EQ(v[0].position, 45);  // thumb 29 pixels into a 58-pixel run over 90 positions
  EXPECT_EQ(v[1].position, 61);
  EXPECT_EQ(v[2].request, SB_THUMBPOSITION);
  EXPECT_EQ(v[2].position, 61);
  EXPECT_EQ(v[3].request, SB_ENDSCROLL);
  EXPECT_EQ(trackPositions, (std::vector<int>{45, 61}));
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 61);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Pixel(window, 191, 21), GetSysColor(COLOR_SCROLLBAR));
}

TEST_F(ScrollBars, ADestroyedWindowHasNoBars) {
  const HWND window = Make(WS_VSCROLL);
  SetBar(window, SB_VERT, 0, 99, 10, 30);
  DestroyWindow(window);
  SCROLLINFO out{sizeof out, SIF_ALL, 0, 0, 0, 0, 0};
  EXPECT_FALSE(GetScrollInfo(window, SB_VERT, &out));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(190, 40)), 0);
}

}  // namespace
}  // namespace zx::test
