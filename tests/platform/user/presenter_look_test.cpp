// What the presenter reads of a top-level window, headless: WM_SETICON/WM_GETICON, the look
// (caption in UTF-8 and Latin-1, region rectangles, constant alpha, icons with the class's as
// fallback), icon pixels without premultiplication, oversized icons and captions, and region
// rectangles cut to the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "presenter_look.h"
#include "user_testing.h"
#include "windraw.h"
#include "wingdi.h"
#include "wininput.h"
#include "zx/gdi.h"

namespace zx::test {
namespace {

using PresenterLookOf = UserTest;

// An icon of `pixels` (B, G, R, A premultiplied in one DWORD), one row.
HICON RowIcon(const std::vector<DWORD>& pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = static_cast<LONG>(pixels.size());
  info.bmiHeader.biHeight = -1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP image = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!image) return nullptr;
  std::copy(pixels.begin(), pixels.end(), static_cast<DWORD*>(bits));
  HICON icon = gdi::CreateIconFromBitmap(image, true, POINT{0, 0});
  DeleteObject(image);
  return icon;
}

TEST_F(PresenterLookOf, SetIconAnswersThePreviousIconAndGetIconTheCurrentOne) {
  const HWND window = MakeWindow();
  HICON first = RowIcon({0xFF102030});
  HICON second = RowIcon({0xFF405060});
  const auto set = [&](WPARAM which, HICON icon) {
    return reinterpret_cast<HICON>(SendMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon)));
  };
  const auto get = [&](WPARAM which) { return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0)); };
  EXPECT_EQ(set(ICON_BIG, first), nullptr);
  EXPECT_EQ(set(ICON_BIG, second), first);
  EXPECT_EQ(set(ICON_SMALL, first), nullptr);
  EXPECT_EQ(get(ICON_BIG), second);
  EXPECT_EQ(get(ICON_SMALL), first);
  EXPECT_EQ(set(7, first), nullptr);  // no such icon: nothing changes
  EXPECT_EQ(get(ICON_BIG), second);
  EXPECT_EQ(set(ICON_SMALL, nullptr), first);
  EXPECT_EQ(get(ICON_SMALL), nullptr);
  DestroyIcon(first);
  DestroyIcon(second);
}

TEST_F(PresenterLookOf, TheLookCarriesCaptionRegionAlphaAndIcons) {
  const HWND window = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"Caf\u00e9 \u2192 ok", 0, 0, 100, 80);
  SetWindowLongW(window, GWL_EXSTYLE, WS_EX_LAYERED);
  HRGN region = CreateRectRgn(0, 0, 40, 10);
  HRGN lower = CreateRectRgn(10, 10, 30, 20);
  CombineRgn(region, region, lower, RGN_OR);
  DeleteObject(lower);
  SetWindowRgn(window, region, FALSE);
  SetLayeredWindowAttributes(window, 0, 100, LWA_ALPHA);
  // Half-transparent white (premultiplied 0x80 each), a fully transparent pixel, opaque blue.
  HICON icon = RowIcon({0x80808080, 0x00000000, 0xFF0000FF});
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));

  const user::TopLevelLook look = user::LookOf(window);
  EXPECT_EQ(look.caption, "Caf\xc3\xa9 \xe2\x86\x92 ok");
  EXPECT_EQ(look.captionLatin1, "Caf\xe9 ? ok");
  ASSERT_TRUE(look.shaped);
  ASSERT_EQ(look.region.size(), 2u);
  const RECT top{0, 0, 40, 10}, bottom{10, 10, 30, 20};
  EXPECT_TRUE(EqualRect(&look.region[0], &top));
  EXPECT_TRUE(EqualRect(&look.region[1], &bottom));
  EXPECT_EQ(look.alpha, 100);
  EXPECT_EQ(look.bigIcon, icon);
  EXPECT_EQ(look.smallIcon, nullptr);
  EXPECT_EQ(user::IconCardinals(look), (std::vector<unsigned long>{3, 1, 0x80FFFFFF, 0, 0xFF0000FF}));

  // The same icon as both sizes is given once; without a region or alpha the look is plain.
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  SetWindowRgn(window, nullptr, FALSE);
  SetWindowLongW(window, GWL_EXSTYLE, 0);
  const user::TopLevelLook plain = user::LookOf(window);
  EXPECT_EQ(user::IconCardinals(plain).size(), 5u);
  EXPECT_FALSE(plain.shaped);
  EXPECT_FALSE(user::SameRegion(look, plain));
  EXPECT_TRUE(user::SameRegion(plain, user::LookOf(window)));
  EXPECT_EQ(plain.alpha, 255);
  DestroyWindow(window);
  DestroyIcon(icon);
}

TEST_F(PresenterLookOf, OversizedIconsAndCaptionsAreLeftOutOrCut) {
  // A caption of 1023 letters and a pair of surrogates keeps the letters only.
  std::u16string caption(1023, u'a');
  caption += u"\U0001F600tail";
  const HWND window = MakeWindow(WS_POPUP, nullptr, 0, caption.c_str());
  HICON wide = RowIcon(std::vector<DWORD>(257, 0xFF000000));
  HICON small = RowIcon({0xFF000000});
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(wide));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  const user::TopLevelLook look = user::LookOf(window);
  EXPECT_EQ(look.caption, std::string(1023, 'a'));
  EXPECT_EQ(user::IconCardinals(look), (std::vector<unsigned long>{1, 1, 0xFF000000}));
  DestroyWindow(window);
  DestroyIcon(wide);
  DestroyIcon(small);
}

TEST_F(PresenterLookOf, WithoutItsOwnIconsAWindowShowsItsClassIcons) {
  HICON classIcon = RowIcon({0xFF000000});
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = u"ZxLookIconClass";
  wc.hIcon = classIcon;
  ASSERT_NE(RegisterClassExW(&wc), 0);
  const HWND window = CreateWindowExW(0, u"ZxLookIconClass", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      nullptr, nullptr);
  EXPECT_EQ(user::LookOf(window).bigIcon, classIcon);
  EXPECT_EQ(user::IconCardinals(user::LookOf(window)), (std::vector<unsigned long>{1, 1, 0xFF000000}));
  DestroyWindow(window);
  UnregisterClassW(u"ZxLookIconClass", nullptr);
  DestroyIcon(classIcon);
  EXPECT_TRUE(user::LookOf(window).caption.empty());  // gone: an empty look
}

TEST(PresenterLookRects, RegionRectanglesAreCutToTheWindow) {
  for (const auto& [rect, inside, any] : std::vector<std::tuple<RECT, RECT, bool>>{
           {{0, 0, 10, 10}, {0, 0, 10, 10}, true},
           {{-5, -5, 10, 10}, {0, 0, 10, 10}, true},
           {{90, 70, 200, 200}, {90, 70, 100, 80}, true},
           {{100, 0, 120, 10}, {}, false},
           {{0, 80, 10, 90}, {}, false},
           {{-20, -20, -1, -1}, {}, false},
           {{5, 5, 5, 9}, {}, false}}) {
    RECT got{};
    EXPECT_EQ(user::ClampToWindow(rect, 100, 80, got), any);
    if (any) {
      EXPECT_TRUE(EqualRect(&got, &inside)) << got.left << "," << got.top << "," << got.right << "," << got.bottom;
    }
  }
}

}  // namespace
}  // namespace zx::test
