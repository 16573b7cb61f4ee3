// The compositor: the screen built from the windows' surfaces in z-order with window
// regions, colour keys and constant alpha (one scene checked against a reference PNG pixel
// for pixel; ZX_UPDATE_SNAPSHOTS=1 writes the reference instead), regions clipping painting,
// layered attributes, and windows drawn again when shown.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "errhandlingapi.h"
#include "user_testing.h"
#include "windraw.h"
#include "wingdi.h"
#include "wininput.h"
#include "zx/gdi.h"
#include "zx/windowpaint.h"

namespace zx::test {
namespace {

using Compositor = UserTest;
using ShowPainting = UserTest;

constexpr COLORREF kBackColour = RGB(240, 236, 226);
constexpr COLORREF kRed = RGB(200, 30, 40);
constexpr COLORREF kGreen = RGB(20, 160, 60);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

std::string Reference(const char* name) { return std::string(ZX_USER_SNAPSHOTS) + "/" + name; }

// Each window's WM_PAINT floods it with its colour; the back window also gets a red block
// and a line of text.
struct Painter {
  std::map<HWND, COLORREF> colours;
  HWND back = nullptr;
};

void PaintWithColours(Painter& painter) {
  OnMessage(WM_PAINT, [&painter](HWND window, UINT, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (!dc) return 0;
    RECT client;
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(painter.colours[window]);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    if (window == painter.back) {
      HBRUSH red = CreateSolidBrush(kRed);
      const RECT block{20, 20, 70, 60};
      FillRect(dc, &block, red);
      DeleteObject(red);
      HFONT font = CreateFontW(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Segoe UI");
      HGDIOBJ old = SelectObject(dc, font);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(45, 54, 72));
      TextOutW(dc, 8, 2, u"Zephrin", 7);
      SelectObject(dc, old);
      DeleteObject(font);
    }
    EndPaint(window, &ps);
    return 0;
  });
}

std::vector<DWORD> PixelsOf(HBITMAP bitmap, SIZE* size) {
  std::vector<DWORD> pixels;
  SIZE s{};
  zx::gdi::CopyBitmapPixels(bitmap, pixels, s);
  if (size) *size = s;
  for (DWORD& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

DWORD Pixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

TEST_F(Compositor, RegionAndLayeredBackdropMatchTheReference) {
  Painter painter;
  PaintWithColours(painter);
  painter.back = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 160, 120);
  const HWND round = MakeWindow(WS_POPUP, nullptr, 0, u"", 90, 10, 60, 60);
  const HWND backdrop = CreateWindowExW(WS_EX_LAYERED, RecorderClass(), u"", WS_POPUP, 10, 70, 140,
                                        40, nullptr, nullptr, nullptr, nullptr);
  painter.colours = {{painter.back, kBackColour}, {round, kGreen}, {backdrop, RGB(0, 0, 0)}};
  ASSERT_NE(SetWindowRgn(round, CreateRoundRectRgn(0, 0, 61, 61, 40, 40), FALSE), 0);
  ASSERT_TRUE(SetLayeredWindowAttributes(backdrop, 0, 128, LWA_ALPHA));
  ShowWindow(painter.back, SW_SHOWNA);
  ShowWindow(round, SW_SHOWNA);
  ShowWindow(backdrop, SW_SHOWNA);
  PumpWaiting();

  const RECT area{0, 0, 160, 120};
  HBITMAP screen = user::ComposeScreen(&area);
  ASSERT_NE(screen, nullptr);
  const std::string reference = Reference("region_layered.png");
  if (const char* update = std::getenv("ZX_UPDATE_SNAPSHOTS"); update && *update == '1') {
    ASSERT_TRUE(zx::gdi::SaveBitmapPng(screen, reference));
    DeleteObject(screen);
    GTEST_SKIP() << "reference written to " << reference;
  }
  SIZE gotSize{}, wantSize{};
  const std::vector<DWORD> got = PixelsOf(screen, &gotSize);
  HBITMAP expected = zx::gdi::LoadPngBitmap(reference);
  ASSERT_NE(expected, nullptr) << "no reference picture " << reference;
  const std::vector<DWORD> want = PixelsOf(expected, &wantSize);
  DeleteObject(expected);
  ASSERT_EQ(gotSize.cx, wantSize.cx);
  ASSERT_EQ(gotSize.cy, wantSize.cy);
  int different = 0;
  for (std::size_t i = 0; i < got.size(); ++i) different += got[i] != want[i];
  if (different) {
    const std::string actual = ::testing::TempDir() + "region_layered_actual_" + std::to_string(::getpid()) + ".png";
    zx::gdi::SaveBitmapPng(screen, actual);
    ADD_FAILURE() << different << " pixels differ; the screen composed is " << actual;
  }
  // What the picture must show, whatever the reference: the region's corner shows the back
  // window, its middle the green; the backdrop halves the back window's colour.
  EXPECT_EQ(got[12 * 160 + 92], Pixel(kBackColour));
  EXPECT_EQ(got[40 * 160 + 120], Pixel(kGreen));
  const DWORD dimmed = got[100 * 160 + 140];
  EXPECT_EQ(dimmed, Pixel(RGB((240 * 127 + 127) / 255, (236 * 127 + 127) / 255, (226 * 127 + 127) / 255)));
  DeleteObject(screen);
}

TEST_F(Compositor, ColourKeyedPixelsShowWhatLiesBelow) {
  Painter painter;
  PaintWithColours(painter);
  const HWND back = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 40, 40);
  const HWND keyed = CreateWindowExW(WS_EX_LAYERED, RecorderClass(), u"", WS_POPUP, 0, 0, 40, 40,
                                     nullptr, nullptr, nullptr, nullptr);
  painter.colours = {{back, kGreen}, {keyed, kMagenta}};
  ASSERT_TRUE(SetLayeredWindowAttributes(keyed, kMagenta, 0, LWA_COLORKEY));
  ShowWindow(back, SW_SHOWNA);
  ShowWindow(keyed, SW_SHOWNA);
  PumpWaiting();
  const RECT area{0, 0, 40, 40};
  HBITMAP screen = user::ComposeScreen(&area);
  const std::vector<DWORD> got = PixelsOf(screen, nullptr);
  DeleteObject(screen);
  ASSERT_EQ(got.size(), 1600u);
  EXPECT_EQ(got[20 * 40 + 20], Pixel(kGreen));
}

TEST_F(Compositor, LayeredAttributesNeedTheLayeredStyle) {
  const HWND plain = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 40, 40);
  SetLastError(0);
  EXPECT_FALSE(SetLayeredWindowAttributes(plain, 0, 10, LWA_ALPHA));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  const HWND layered = CreateWindowExW(WS_EX_LAYERED, RecorderClass(), u"", WS_POPUP, 0, 0, 40, 40,
                                       nullptr, nullptr, nullptr, nullptr);
  BYTE alpha = 0;
  DWORD flags = 0;
  EXPECT_FALSE(GetLayeredWindowAttributes(layered, nullptr, &alpha, &flags));
  ASSERT_TRUE(SetLayeredWindowAttributes(layered, RGB(1, 2, 3), 77, LWA_ALPHA | LWA_COLORKEY));
  COLORREF key = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(layered, &key, &alpha, &flags));
  EXPECT_EQ(key, RGB(1, 2, 3));
  EXPECT_EQ(alpha, 77);
  EXPECT_EQ(flags, LWA_ALPHA | LWA_COLORKEY);
  EXPECT_FALSE(SetLayeredWindowAttributes(layered, 0, 0, 0x10));
}

TEST_F(Compositor, RegionsClipWhatTheWindowPaints) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 50, 50);
  PumpWaiting();
  ASSERT_NE(SetWindowRgn(top, CreateRectRgn(0, 0, 25, 50), FALSE), 0);
  RECT box{};
  EXPECT_EQ(GetWindowRgnBox(top, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 25);
  HDC dc = GetDC(top);
  HBRUSH red = CreateSolidBrush(kRed);
  const RECT all{0, 0, 50, 50};
  FillRect(dc, &all, red);
  DeleteObject(red);
  ReleaseDC(top, dc);
  // The window's own surface (unclipped copy) shows where paint reached.
  const std::string path = ::testing::TempDir() + "region_clip_" + std::to_string(::getpid()) + ".png";
  ASSERT_TRUE(user::SaveWindowPng(top, path));
  HBITMAP saved = zx::gdi::LoadPngBitmap(path);
  std::remove(path.c_str());
  const std::vector<DWORD> pixels = PixelsOf(saved, nullptr);
  DeleteObject(saved);
  ASSERT_EQ(pixels.size(), 2500u);
  EXPECT_EQ(pixels[10 * 50 + 10], Pixel(kRed));
  EXPECT_NE(pixels[10 * 50 + 40], Pixel(kRed));
  EXPECT_NE(SetWindowRgn(top, nullptr, FALSE), 0);
  EXPECT_EQ(GetWindowRgnBox(top, &box), ERROR);
}

TEST_F(Compositor, BadHandlesAreRefused) {
  const HWND gone = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 10, 10);
  DestroyWindow(gone);
  HRGN region = CreateRectRgn(0, 0, 5, 5);
  EXPECT_EQ(SetWindowRgn(gone, region, FALSE), 0);
  DeleteObject(region);
  EXPECT_EQ(GetWindowRgn(gone, nullptr), ERROR);
  EXPECT_FALSE(SetLayeredWindowAttributes(gone, 0, 0, LWA_ALPHA));
  const RECT empty{5, 5, 5, 5};
  EXPECT_EQ(user::ComposeScreen(&empty), nullptr);
  EXPECT_FALSE(user::SaveScreenPng(::testing::TempDir() + "no-such-folder/screen.png"));
}

TEST_F(Compositor, TheScreenIsSavedAsAPictureOfItsSize) {
  const std::string path = ::testing::TempDir() + "screen_" + std::to_string(::getpid()) + ".png";
  ASSERT_TRUE(user::SaveScreenPng(path));
  HBITMAP saved = zx::gdi::LoadPngBitmap(path);
  std::remove(path.c_str());
  SIZE size{};
  const std::vector<DWORD> pixels = PixelsOf(saved, &size);
  DeleteObject(saved);
  EXPECT_EQ(size.cx, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(size.cy, GetSystemMetrics(SM_CYSCREEN));
  ASSERT_FALSE(pixels.empty());
  EXPECT_EQ(pixels[0], Pixel(GetSysColor(COLOR_DESKTOP)));  // no window: the desktop
}

TEST_F(ShowPainting, AWindowShownIsInvalidAndGetsPainted) {
  const HWND top = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 60, 40);
  PumpWaiting();
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(top, &update, FALSE));
  ShowWindow(top, SW_SHOW);
  EXPECT_TRUE(GetUpdateRect(top, &update, FALSE));
  EXPECT_EQ(update.right, 60);
  PumpWaiting();
  int paints = 0;
  for (UINT m : RecordedFor(top)) paints += m == WM_PAINT;
  EXPECT_EQ(paints, 1);
}

TEST_F(ShowPainting, AChildHiddenUncoversItsParent) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 100);
  const HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, top, 1, u"", 10, 20, 30, 30);
  PumpWaiting();
  ShowWindow(child, SW_HIDE);
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(top, &update, FALSE));
  EXPECT_EQ(update.left, 10);
  EXPECT_EQ(update.top, 20);
  EXPECT_EQ(update.right, 40);
}

}  // namespace
}  // namespace zx::test
