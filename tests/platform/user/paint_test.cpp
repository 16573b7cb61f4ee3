// Painting: update regions and WM_PAINT, BeginPaint's DC over the top-level window's
// surface, children clipped to their rectangles, WM_ERASEBKGND, the system colours and
// windows saved as PNG.
#include <gtest/gtest.h>

#include <vector>

#include "errhandlingapi.h"
#include "user_testing.h"
#include "windraw.h"
#include "wingdi.h"
#include "zx/gdi.h"
#include "zx/windowpaint.h"

namespace zx::test {
namespace {

using Painting = UserTest;
using SystemColours = UserTest;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

int Count(HWND window, UINT message) {
  int n = 0;
  for (UINT m : RecordedFor(window)) n += m == message;
  return n;
}

// Fills everything with a colour (the DC's clipping decides what is drawn).
void Flood(HDC dc, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  const RECT all{-1000, -1000, 1000, 1000};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
}

COLORREF PixelOf(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

// WM_PAINT handlers record what BeginPaint gave and flood the paint DC with a colour.
struct PaintLog {
  std::vector<PAINTSTRUCT> paints;
};

void FloodOnPaint(PaintLog& log, COLORREF colour) {
  OnMessage(WM_PAINT, [&log, colour](HWND window, UINT, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    if (!BeginPaint(window, &ps)) return 0;
    Flood(ps.hdc, colour);
    log.paints.push_back(ps);
    EndPaint(window, &ps);
    return 0;
  });
}

TEST_F(Painting, InvalidatedRectanglesGiveOnePaintWithTheirUnion) {
  const HWND top = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 100, 80);
  PumpWaiting();
  PaintLog log;
  FloodOnPaint(log, kRed);
  const RECT a{10, 10, 20, 20}, b{30, 5, 40, 15};
  ASSERT_TRUE(InvalidateRect(top, &a, FALSE));
  ASSERT_TRUE(InvalidateRect(top, &b, FALSE));
  RECT update;
  EXPECT_TRUE(GetUpdateRect(top, &update, FALSE));
  EXPECT_TRUE(Same(update, RECT{10, 5, 40, 20}));
  PumpWaiting();
  ASSERT_EQ(log.paints.size(), 1u);
  EXPECT_TRUE(Same(log.paints[0].rcPaint, RECT{10, 5, 40, 20}));
  EXPECT_FALSE(log.paints[0].fErase);
  EXPECT_FALSE(GetUpdateRect(top, &update, FALSE));
  EXPECT_TRUE(Same(update, RECT{}));
  PumpWaiting();
  EXPECT_EQ(log.paints.size(), 1u);
}

TEST_F(Painting, NullRectangleIsTheWholeClientAreaAndOutsideIsIgnored) {
  const HWND top = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"", 10, 20, 300, 200);
  PaintLog log;
  FloodOnPaint(log, kRed);
  const RECT outside{400, 400, 500, 500};
  ASSERT_TRUE(InvalidateRect(top, &outside, TRUE));
  EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE));
  ASSERT_TRUE(InvalidateRect(top, nullptr, FALSE));
  PumpWaiting();
  ASSERT_EQ(log.paints.size(), 1u);
  EXPECT_TRUE(Same(log.paints[0].rcPaint, RECT{0, 0, 284, 161}));
}

TEST_F(Painting, ValidatingRemovesThePaint) {
  const HWND top = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 100, 80);
  PumpWaiting();
  ClearRecorded();
  const RECT a{10, 10, 20, 20};
  InvalidateRect(top, nullptr, FALSE);
  ASSERT_TRUE(ValidateRect(top, &a));
  RECT update;
  EXPECT_TRUE(GetUpdateRect(top, &update, FALSE));
  EXPECT_TRUE(Same(update, RECT{0, 0, 100, 80}));
  ASSERT_TRUE(ValidateRect(top, nullptr));
  EXPECT_FALSE(GetUpdateRect(top, &update, FALSE));
  PumpWaiting();
  EXPECT_EQ(Count(top, WM_PAINT), 0);
}

TEST_F(Painting, RedrawingAllChildrenLeavesHiddenOnesUnpainted) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 80);
  const HWND shown = MakeWindow(WS_CHILD | WS_VISIBLE, top, 1, u"", 0, 0, 20, 20);
  const HWND hidden = MakeWindow(WS_CHILD, top, 2, u"", 30, 0, 20, 20);
  PumpWaiting();
  ClearRecorded();
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  PumpWaiting();
  EXPECT_EQ(Count(shown, WM_PAINT), 1);
  EXPECT_EQ(Count(hidden, WM_PAINT), 0);
  ShowWindow(hidden, SW_SHOW);
  PumpWaiting();
  EXPECT_EQ(Count(hidden, WM_PAINT), 1);
}

// A hidden child, and a shown child of a hidden one, have nothing on the screen: what is
// drawn through their DCs never reaches the window's surface.
TEST_F(Painting, DrawingOfHiddenChildrenLeavesTheSurfaceAlone) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 80);
  const HWND panel = MakeWindow(WS_CHILD, top, 1, u"", 0, 0, 60, 60);
  const HWND page = MakeWindow(WS_CHILD | WS_VISIBLE, panel, 2, u"", 10, 10, 20, 20);
  PumpWaiting();
  const COLORREF before = PixelOf(top, 15, 15);
  ASSERT_NE(before, kRed);
  for (HWND hidden : {panel, page}) {
    HDC dc = GetDC(hidden);
    ASSERT_NE(dc, nullptr);
    Flood(dc, kRed);
    ReleaseDC(hidden, dc);
    EXPECT_EQ(PixelOf(top, 15, 15), before);
  }
  ShowWindow(panel, SW_SHOW);
  PumpWaiting();
  HDC dc = GetDC(page);
  Flood(dc, kRed);
  ReleaseDC(page, dc);
  EXPECT_EQ(PixelOf(top, 15, 15), kRed);
}

TEST_F(Painting, UpdateWindowPaintsAtOnceOnlyWhenDue) {
  const HWND top = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 100, 80);
  PumpWaiting();
  ClearRecorded();
  ASSERT_TRUE(UpdateWindow(top));
  EXPECT_EQ(Count(top, WM_PAINT), 0);
  InvalidateRect(top, nullptr, FALSE);
  ASSERT_TRUE(UpdateWindow(top));
  EXPECT_EQ(Count(top, WM_PAINT), 1);  // DefWindowProc's BeginPaint validates
  PumpWaiting();
  EXPECT_EQ(Count(top, WM_PAINT), 1);
  EXPECT_FALSE(UpdateWindow(reinterpret_cast<HWND>(0x7123)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(Painting, PaintDcDrawsOnlyTheUpdateRegionAtTheClientPlace) {
  const HWND top = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"", 10, 20, 300, 200);
  PaintLog log;
  FloodOnPaint(log, kRed);
  const RECT a{5, 5, 15, 15};
  InvalidateRect(top, &a, FALSE);
  PumpWaiting();
  ASSERT_EQ(log.paints.size(), 1u);
  EXPECT_EQ(WindowFromDC(log.paints[0].hdc), nullptr);  // released by EndPaint
  EXPECT_EQ(PixelOf(top, 5, 5), kRed);
  EXPECT_EQ(PixelOf(top, 14, 14), kRed);
  EXPECT_NE(PixelOf(top, 4, 4), kRed);
  EXPECT_NE(PixelOf(top, 15, 15), kRed);
  // The client area starts 8, 31 into the window.
  HDC whole = GetWindowDC(top);
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(WindowFromDC(whole), top);
  EXPECT_EQ(GetPixel(whole, 13, 36), kRed);
  EXPECT_NE(GetPixel(whole, 12, 35), kRed);
  EXPECT_EQ(ReleaseDC(top, whole), 1);
  EXPECT_EQ(ReleaseDC(top, whole), 0);
}

TEST_F(Painting, ChildPaintsOnlyInsideItsRectangle) {
  const HWND top = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 100, 100);
  const HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, top, 1, u"", 20, 30, 10, 10);
  PaintLog log;
  FloodOnPaint(log, kBlue);
  InvalidateRect(child, nullptr, FALSE);
  PumpWaiting();
  ASSERT_EQ(log.paints.size(), 1u);
  EXPECT_TRUE(Same(log.paints[0].rcPaint, RECT{0, 0, 10, 10}));
  EXPECT_EQ(PixelOf(top, 20, 30), kBlue);
  EXPECT_EQ(PixelOf(top, 29, 39), kBlue);
  EXPECT_NE(PixelOf(top, 30, 39), kBlue);
  EXPECT_NE(PixelOf(top, 29, 40), kBlue);
  EXPECT_NE(PixelOf(top, 19, 30), kBlue);
  // A grandchild reaching out of its parent is cut at the parent's edge.
  const HWND grandchild = MakeWindow(WS_CHILD | WS_VISIBLE, child, 2, u"", 5, 5, 50, 50);
  HDC dc = GetDC(grandchild);
  Flood(dc, kRed);
  ReleaseDC(grandchild, dc);
  EXPECT_EQ(PixelOf(top, 29, 39), kRed);
  EXPECT_NE(PixelOf(top, 30, 40), kRed);
  EXPECT_EQ(PixelOf(top, 24, 34), kBlue);
}

TEST_F(Painting, ParentInvalidationReachesChildrenUnlessItClipsThem) {
  const HWND plain = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 100, 100);
  const HWND plainChild = MakeWindow(WS_CHILD | WS_VISIBLE, plain, 1, u"", 20, 30, 10, 10);
  const HWND clipping = MakeWindow(WS_POPUP | WS_CLIPCHILDREN, nullptr, 0, u"", 0, 0, 100, 100);
  const HWND clippedChild = MakeWindow(WS_CHILD | WS_VISIBLE, clipping, 1, u"", 20, 30, 10, 10);
  PumpWaiting();
  const RECT part{25, 35, 60, 60};
  InvalidateRect(plain, &part, FALSE);
  InvalidateRect(clipping, &part, FALSE);
  RECT update;
  ASSERT_TRUE(GetUpdateRect(plainChild, &update, FALSE));
  EXPECT_TRUE(Same(update, RECT{5, 5, 10, 10}));
  EXPECT_FALSE(GetUpdateRect(clippedChild, &update, FALSE));
  ASSERT_TRUE(RedrawWindow(clipping, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW));
  EXPECT_EQ(Count(clippedChild, WM_PAINT), 1);
  EXPECT_EQ(Count(clipping, WM_PAINT), 1);
  // The clipping parent's own DC leaves the child's pixels alone.
  HDC dc = GetDC(clipping);
  Flood(dc, kRed);
  ReleaseDC(clipping, dc);
  EXPECT_EQ(PixelOf(clipping, 19, 29), kRed);
  EXPECT_NE(PixelOf(clipping, 20, 30), kRed);
}

// A list invalidated while its page was hidden paints after the page once the page shows:
// the page's picture never covers the list's.
TEST_F(Painting, AWindowPaintsBeforeTheWindowsInsideIt) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 100);
  const HWND page = MakeWindow(WS_CHILD, top, 1, u"", 0, 0, 100, 100);
  const HWND list = MakeWindow(WS_CHILD | WS_VISIBLE, page, 2, u"", 20, 30, 40, 40);
  PumpWaiting();
  std::vector<HWND> order;
  OnMessage(WM_PAINT, [&order, list](HWND window, UINT, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    if (!BeginPaint(window, &ps)) return 0;
    Flood(ps.hdc, window == list ? kBlue : kRed);
    order.push_back(window);
    EndPaint(window, &ps);
    return 0;
  });
  InvalidateRect(list, nullptr, FALSE);
  ShowWindow(page, SW_SHOW);
  PumpWaiting();
  EXPECT_EQ(order, (std::vector<HWND>{page, list}));
  EXPECT_EQ(PixelOf(top, 30, 40), kBlue);
  EXPECT_EQ(PixelOf(top, 10, 10), kRed);
}

// A button pushed in the moment between its page being shown and the page's paint waits
// for the page: drawn at once, the page (which does not clip its children) would cover it.
TEST_F(Painting, AButtonChangedBeforeItsPagePaintsIsDrawnAfterThePage) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 100);
  const HWND page = MakeWindow(WS_CHILD, top, 1, u"", 0, 0, 100, 100);
  const HWND button = CreateWindowExW(0, WC_BUTTONW, u"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 20, 30, 40, 20,
                                      page, reinterpret_cast<HMENU>(2), nullptr, nullptr);
  ASSERT_NE(button, nullptr);
  PumpWaiting();
  PaintLog log;
  FloodOnPaint(log, kRed);
  OnMessage(WM_DRAWITEM, [](HWND, UINT, WPARAM, LPARAM l) -> LRESULT {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
    HBRUSH brush = CreateSolidBrush(kBlue);
    FillRect(item->hDC, &item->rcItem, brush);
    DeleteObject(brush);
    return TRUE;
  });
  ShowWindow(page, SW_SHOW);
  SendMessageW(button, BM_SETSTATE, TRUE, 0);
  PumpWaiting();
  EXPECT_EQ(PixelOf(top, 30, 40), kBlue);
  EXPECT_EQ(PixelOf(top, 10, 10), kRed);
  // With nothing due above it, a change is drawn at once.
  SendMessageW(button, BM_SETSTATE, FALSE, 0);
  EXPECT_FALSE(GetUpdateRect(button, nullptr, FALSE));
}

TEST_F(Painting, EraseBackgroundGetsThePaintDc) {
  const HWND top = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 100, 80);
  PumpWaiting();
  std::vector<WPARAM> erased;
  LRESULT answer = 1;
  OnMessage(WM_ERASEBKGND, [&](HWND, UINT, WPARAM wParam, LPARAM) -> LRESULT {
    erased.push_back(wParam);
    return answer;
  });
  PaintLog log;
  FloodOnPaint(log, kRed);
  InvalidateRect(top, nullptr, TRUE);
  PumpWaiting();
  ASSERT_EQ(erased.size(), 1u);
  ASSERT_EQ(log.paints.size(), 1u);
  EXPECT_EQ(erased[0], reinterpret_cast<WPARAM>(log.paints[0].hdc));
  EXPECT_FALSE(log.paints[0].fErase);
  answer = 0;  // not erased: BeginPaint says so
  InvalidateRect(top, nullptr, TRUE);
  PumpWaiting();
  ASSERT_EQ(log.paints.size(), 2u);
  EXPECT_TRUE(log.paints[1].fErase);
  InvalidateRect(top, nullptr, FALSE);  // no erase asked
  PumpWaiting();
  EXPECT_EQ(erased.size(), 2u);
}

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(Painting, DefaultEraseFillsWithTheClassBackground) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = PlainProc;
  wc.lpszClassName = u"ZxPaintBackground";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
  RegisterClassExW(&wc);
  const HWND top = CreateWindowExW(0, u"ZxPaintBackground", u"", WS_POPUP, 0, 0, 50, 40, nullptr,
                                   nullptr, nullptr, nullptr);
  ASSERT_NE(top, nullptr);
  EXPECT_NE(PixelOf(top, 10, 10), RGB(255, 255, 225));
  InvalidateRect(top, nullptr, TRUE);
  ASSERT_TRUE(UpdateWindow(top));
  EXPECT_EQ(PixelOf(top, 0, 0), RGB(255, 255, 225));
  EXPECT_EQ(PixelOf(top, 49, 39), RGB(255, 255, 225));
  EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE));
  DestroyWindow(top);
}

TEST_F(Painting, SurfaceKeepsItsPixelsWhenTheWindowGrows) {
  const HWND top = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 40, 40);
  HDC dc = GetDC(top);
  Flood(dc, kBlue);
  ReleaseDC(top, dc);
  ASSERT_TRUE(SetWindowPos(top, nullptr, 0, 0, 80, 60, SWP_NOMOVE | SWP_NOZORDER));
  EXPECT_EQ(PixelOf(top, 39, 39), kBlue);
  EXPECT_EQ(PixelOf(top, 79, 59), RGB(0, 0, 0));
}

TEST_F(Painting, WindowSavedAsPng) {
  const HWND top = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 60, 50);
  const HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, top, 1, u"", 20, 10, 8, 6);
  HDC dc = GetDC(child);
  Flood(dc, kRed);
  ReleaseDC(child, dc);
  TempFolder folder;
  const std::string whole = folder.path() + "/top.png";
  const std::string part = folder.path() + "/child.png";
  ASSERT_TRUE(zx::user::SaveWindowPng(top, whole));
  ASSERT_TRUE(zx::user::SaveWindowPng(child, part));
  std::vector<DWORD> pixels;
  SIZE size{};
  HBITMAP image = zx::gdi::LoadPngBitmap(whole);
  ASSERT_NE(image, nullptr);
  ASSERT_TRUE(zx::gdi::CopyBitmapPixels(image, pixels, size));
  DeleteObject(image);
  ASSERT_EQ(size.cx, 60);
  ASSERT_EQ(size.cy, 50);
  EXPECT_EQ(pixels[10 * 60 + 20], 0xFFFF0000u);  // B, G, R, A
  EXPECT_EQ(pixels[15 * 60 + 27], 0xFFFF0000u);
  EXPECT_EQ(pixels[16 * 60 + 27], 0xFF000000u);
  EXPECT_EQ(pixels[15 * 60 + 28], 0xFF000000u);
  image = zx::gdi::LoadPngBitmap(part);
  ASSERT_NE(image, nullptr);
  ASSERT_TRUE(zx::gdi::CopyBitmapPixels(image, pixels, size));
  DeleteObject(image);
  EXPECT_EQ(size.cx, 8);
  EXPECT_EQ(size.cy, 6);
  EXPECT_EQ(pixels, std::vector<DWORD>(48, 0xFFFF0000u));
  EXPECT_FALSE(zx::user::SaveWindowPng(reinterpret_cast<HWND>(0x7123), folder.path() + "/none.png"));
  EXPECT_FALSE(zx::user::SaveWindowPng(top, folder.path() + "/missing/top.png"));
}

TEST_F(Painting, UnknownWindowsGetNoDc) {
  PAINTSTRUCT ps;
  EXPECT_EQ(GetDC(reinterpret_cast<HWND>(0x7123)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_EQ(BeginPaint(reinterpret_cast<HWND>(0x7123), &ps), nullptr);
  EXPECT_FALSE(InvalidateRect(reinterpret_cast<HWND>(0x7123), nullptr, TRUE));
  const HWND top = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 10, 10);
  EXPECT_EQ(BeginPaint(top, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(SystemColours, DefaultSchemeValues) {
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), 0x00FFFFFFu);
  EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), 0x00000000u);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), 0x00F0F0F0u);
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), 0x00FF9933u);
  EXPECT_EQ(GetSysColor(COLOR_INFOBK), 0x00E1FFFFu);
  EXPECT_EQ(GetSysColor(-1), 0u);
  EXPECT_EQ(GetSysColor(31), 0u);
}

TEST_F(SystemColours, BrushesAreSharedAndPaintTheirColour) {
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(GetSysColorBrush(COLOR_3DFACE), face);
  EXPECT_EQ(GetSysColorBrush(31), nullptr);
  EXPECT_EQ(GetSysColorBrush(-1), nullptr);
  const HWND top = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 10, 10);
  HDC dc = GetDC(top);
  const RECT all{0, 0, 10, 10};
  FillRect(dc, &all, face);
  EXPECT_EQ(GetPixel(dc, 5, 5), GetSysColor(COLOR_BTNFACE));
  ReleaseDC(top, dc);
}

}  // namespace
}  // namespace zx::test
