// The snapshot test: a dialog-like picture with text, bitmaps, a region clip and an
// alpha-blended layer, painted through a memory DC, matches the checked-in PNG pixel for
// pixel. Set ZX_UPDATE_SNAPSHOTS=1 to write the reference instead (after a deliberate
// change of the drawing).
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gdi_testing.h"
#include "zx/gdi.h"

namespace zx::test {
namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 150;
constexpr COLORREF kTextColour = 0x48362D;

HFONT Font(int height, int weight) {
  return CreateFontW(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0,
                     u"Segoe UI");
}

// A 24 x 24 picture: colour bands, with a magenta key colour in its corner.
HBITMAP Picture() {
  std::vector<DWORD> pixels(24 * 24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x)
      pixels[y * 24 + x] = (x < 6 && y < 6) ? 0xFFFF00FFu
                                             : 0xFF000000u | ((x * 10) << 16) | ((y * 10) << 8) | 0x80;
  return CreateBitmap(24, 24, 1, 32, pixels.data());
}

// A layer whose alpha fades from left to right (premultiplied).
HBITMAP FadingLayer() {
  std::vector<DWORD> pixels(100 * 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 100; ++x) {
      const DWORD a = static_cast<DWORD>(x * 255 / 99);
      pixels[y * 100 + x] = (a << 24) | ((0x1B * a / 255) << 16) | ((0x12 * a / 255) << 8) | (0x09 * a / 255);
    }
  return CreateBitmap(100, 30, 1, 32, pixels.data());
}

void PaintDialog(HDC dc) {
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  const RECT all{0, 0, kWidth, kHeight};
  FillRect(dc, &all, white);
  DeleteObject(white);

  // Title band through a rounded region.
  HRGN band = CreateRoundRectRgn(0, 0, kWidth, 40, 9, 9);
  SelectClipRgn(dc, band);
  HBRUSH blue = CreateSolidBrush(RGB(0x2D, 0x48, 0x6C));
  const RECT title{0, 0, kWidth, 29};
  FillRect(dc, &title, blue);
  DeleteObject(blue);
  SelectClipRgn(dc, nullptr);
  DeleteObject(band);

  SetBkMode(dc, TRANSPARENT);
  HFONT caption = Font(-13, FW_BOLD);
  HGDIOBJ oldFont = SelectObject(dc, caption);
  SetTextColor(dc, RGB(0xFC, 0xFC, 0xFC));
  RECT captionRect{6, 0, kWidth - 6, 29};
  DrawTextW(dc, u"Zephrin Tunevo", -1, &captionRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);

  HFONT body = Font(-11, FW_NORMAL);
  SelectObject(dc, body);
  SetTextColor(dc, kTextColour);
  RECT text{40, 38, kWidth - 8, 100};
  DrawTextW(dc, u"Scan finished. 3 drivers are out of date; update them now?", -1, &text,
            DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  DeleteObject(caption);
  DeleteObject(body);

  // Bitmaps: one copied, one with its key colour left out.
  HBITMAP picture = Picture();
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ oldBitmap = SelectObject(memory, picture);
  BitBlt(dc, 8, 38, 24, 24, memory, 0, 0, SRCCOPY);
  TransparentBlt(dc, 8, 66, 24, 24, memory, 0, 0, 24, 24, RGB(255, 0, 255));
  SelectObject(memory, oldBitmap);
  DeleteObject(picture);

  // A raised button frame with a focus rectangle.
  RECT button{150, 110, 230, 140};
  DrawEdge(dc, &button, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  button = {button.left + 2, button.top + 2, button.right - 2, button.bottom - 2};
  DrawFocusRect(dc, &button);

  // The alpha-blended layer over the lower left, and a constant-alpha backdrop strip.
  HBITMAP layer = FadingLayer();
  SelectObject(memory, layer);
  AlphaBlend(dc, 8, 110, 100, 30, memory, 0, 0, 100, 30, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
  AlphaBlend(dc, 0, 100, kWidth, 6, memory, 99, 0, 1, 30, BLENDFUNCTION{AC_SRC_OVER, 0, 171, 0});
  SelectObject(memory, oldBitmap);
  DeleteObject(layer);
  DeleteDC(memory);
}

TEST(Snapshot, DialogPictureMatchesTheReference) {
  Canvas canvas(kWidth, kHeight);
  PaintDialog(canvas.dc());
  const std::string reference = std::string(ZX_GDI_TEST_DATA) + "/dialog_snapshot.png";
  if (const char* update = std::getenv("ZX_UPDATE_SNAPSHOTS"); update && *update == '1') {
    ASSERT_TRUE(zx::gdi::SaveBitmapPng(canvas.bitmap(), reference));
    GTEST_SKIP() << "reference written to " << reference;
  }
  HBITMAP expected = zx::gdi::LoadPngBitmap(reference);
  ASSERT_NE(expected, nullptr) << "no reference picture " << reference;
  std::vector<DWORD> want, got;
  SIZE wantSize{}, gotSize{};
  ASSERT_TRUE(zx::gdi::CopyBitmapPixels(expected, want, wantSize));
  ASSERT_TRUE(zx::gdi::CopyBitmapPixels(canvas.bitmap(), got, gotSize));
  DeleteObject(expected);
  ASSERT_EQ(wantSize.cx, gotSize.cx);
  ASSERT_EQ(wantSize.cy, gotSize.cy);
  int different = 0;
  int first = -1;
  for (std::size_t i = 0; i < want.size(); ++i) {
    if ((want[i] & 0xFFFFFF) != (got[i] & 0xFFFFFF)) {
      if (first < 0) first = static_cast<int>(i);
      ++different;
    }
  }
  if (different > 0) {
    const std::string actual = ::testing::TempDir() + "dialog_snapshot_actual_" + std::to_string(::getpid()) + ".png";
    zx::gdi::SaveBitmapPng(canvas.bitmap(), actual);
    ADD_FAILURE() << different << " pixels differ, the first at (" << first % kWidth << ", "
                  << first / kWidth << "); the picture drawn is " << actual;
  }
}

TEST(Snapshot, PaintingIsRepeatable) {
  Canvas a(kWidth, kHeight), b(kWidth, kHeight);
  PaintDialog(a.dc());
  PaintDialog(b.dc());
  std::vector<DWORD> pa, pb;
  SIZE sa{}, sb{};
  zx::gdi::CopyBitmapPixels(a.bitmap(), pa, sa);
  zx::gdi::CopyBitmapPixels(b.bitmap(), pb, sb);
  EXPECT_EQ(pa, pb);
}

}  // namespace
}  // namespace zx::test
