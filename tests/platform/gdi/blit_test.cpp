// Blits: copies, raster operations, stretching, the transparent colour and alpha blending.
#include "errhandlingapi.h"
#include "gdi_testing.h"

namespace zx::test {
namespace {

void Paint(const Canvas& c, RECT r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(c.dc(), &r, brush);
  DeleteObject(brush);
}

// A 4 x 2 source: red, green, blue, black on top; white below.
void FillSource(const Canvas& s) {
  Paint(s, {0, 0, 1, 1}, kRed);
  Paint(s, {1, 0, 2, 1}, kGreen);
  Paint(s, {2, 0, 3, 1}, kBlue);
  Paint(s, {3, 0, 4, 1}, kBlack);
}

TEST(BitBlt, CopiesPixelForPixel) {
  Canvas source(4, 2);
  FillSource(source);
  Canvas target(8, 4, RGB(9, 9, 9));
  ASSERT_TRUE(BitBlt(target.dc(), 2, 1, 4, 2, source.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(target.At(2, 1), kRed);
  EXPECT_EQ(target.At(3, 1), kGreen);
  EXPECT_EQ(target.At(5, 1), kBlack);
  EXPECT_EQ(target.At(4, 2), kWhite);
  EXPECT_EQ(target.At(1, 1), RGB(9, 9, 9));
  EXPECT_EQ(target.At(6, 1), RGB(9, 9, 9));
}

TEST(BitBlt, SourceOutsideItsBitmapCopiesOnlyWhatExists) {
  Canvas source(4, 2);
  FillSource(source);
  Canvas target(8, 4, RGB(9, 9, 9));
  ASSERT_TRUE(BitBlt(target.dc(), 0, 0, 8, 4, source.dc(), -2, 0, SRCCOPY));
  EXPECT_EQ(target.At(0, 0), RGB(9, 9, 9));
  EXPECT_EQ(target.At(2, 0), kRed);
  EXPECT_EQ(target.At(5, 0), kBlack);
  EXPECT_EQ(target.At(6, 0), RGB(9, 9, 9));
  EXPECT_EQ(target.At(2, 2), RGB(9, 9, 9));
}

TEST(BitBlt, OverlappingCopyWithinOneBitmapScrolls) {
  Canvas c(6, 1);
  for (int x = 0; x < 6; ++x) SetPixelV(c.dc(), x, 0, RGB(x * 10, 0, 0));
  ASSERT_TRUE(BitBlt(c.dc(), 1, 0, 5, 1, c.dc(), 0, 0, SRCCOPY));
  for (int x = 1; x < 6; ++x) EXPECT_EQ(c.At(x, 0), RGB((x - 1) * 10, 0, 0)) << x;
}

TEST(BitBlt, RasterOperationsCombineSourceDestinationAndPattern) {
  Canvas source(1, 1, RGB(0xF0, 0x0F, 0xFF));
  Canvas target(1, 1, RGB(0x3C, 0xFF, 0x00));
  BitBlt(target.dc(), 0, 0, 1, 1, source.dc(), 0, 0, SRCAND);
  EXPECT_EQ(target.At(0, 0), RGB(0x30, 0x0F, 0x00));
  BitBlt(target.dc(), 0, 0, 1, 1, source.dc(), 0, 0, SRCPAINT);
  EXPECT_EQ(target.At(0, 0), RGB(0xF0, 0x0F, 0xFF));
  BitBlt(target.dc(), 0, 0, 1, 1, source.dc(), 0, 0, SRCINVERT);
  EXPECT_EQ(target.At(0, 0), kBlack);
  BitBlt(target.dc(), 0, 0, 1, 1, source.dc(), 0, 0, NOTSRCCOPY);
  EXPECT_EQ(target.At(0, 0), RGB(0x0F, 0xF0, 0x00));
  // MERGEPAINT (~S | D) is not among the fast cases.
  Canvas merge(1, 1, RGB(0x01, 0x02, 0x03));
  BitBlt(merge.dc(), 0, 0, 1, 1, source.dc(), 0, 0, MERGEPAINT);
  EXPECT_EQ(merge.At(0, 0), RGB(0x0F, 0xF2, 0x03));
}

TEST(PatBlt, WholeAreaOperations) {
  Canvas c(4, 4, RGB(10, 20, 30));
  PatBlt(c.dc(), 0, 0, 2, 4, WHITENESS);
  PatBlt(c.dc(), 2, 0, 2, 2, BLACKNESS);
  PatBlt(c.dc(), 2, 2, 2, 2, DSTINVERT);
  EXPECT_EQ(c.At(0, 0), kWhite);
  EXPECT_EQ(c.At(3, 0), kBlack);
  EXPECT_EQ(c.At(3, 3), RGB(245, 235, 225));
  HBRUSH green = CreateSolidBrush(kGreen);
  HGDIOBJ old = SelectObject(c.dc(), green);
  PatBlt(c.dc(), 0, 0, 1, 1, PATCOPY);
  EXPECT_EQ(c.At(0, 0), kGreen);
  EXPECT_FALSE(PatBlt(c.dc(), 0, 0, 1, 1, SRCCOPY));  // PatBlt has no source
  SelectObject(c.dc(), old);
  DeleteObject(green);
}

TEST(StretchBlt, DoublesWithTheNearestPixel) {
  Canvas source(4, 2);
  FillSource(source);
  Canvas target(8, 4);
  ASSERT_TRUE(StretchBlt(target.dc(), 0, 0, 8, 4, source.dc(), 0, 0, 4, 2, SRCCOPY));
  EXPECT_EQ(target.At(0, 0), kRed);
  EXPECT_EQ(target.At(1, 1), kRed);
  EXPECT_EQ(target.At(2, 0), kGreen);
  EXPECT_EQ(target.At(7, 1), kBlack);
  EXPECT_EQ(target.At(7, 2), kWhite);
}

TEST(StretchBlt, NegativeWidthMirrors) {
  Canvas source(4, 1);
  FillSource(source);
  Canvas target(4, 1);
  ASSERT_TRUE(StretchBlt(target.dc(), 3, 0, -4, 1, source.dc(), 0, 0, 4, 1, SRCCOPY));
  EXPECT_EQ(target.At(0, 0), kBlack);
  EXPECT_EQ(target.At(1, 0), kBlue);
  EXPECT_EQ(target.At(3, 0), kRed);
}

TEST(TransparentBlt, SkipsTheTransparentColour) {
  Canvas source(4, 2);
  FillSource(source);
  Canvas target(4, 2, RGB(7, 7, 7));
  ASSERT_TRUE(TransparentBlt(target.dc(), 0, 0, 4, 2, source.dc(), 0, 0, 4, 2, kGreen));
  EXPECT_EQ(target.At(0, 0), kRed);
  EXPECT_EQ(target.At(1, 0), RGB(7, 7, 7));
  EXPECT_EQ(target.At(0, 1), kWhite);
  SetLastError(0);
  EXPECT_FALSE(TransparentBlt(target.dc(), 0, 0, 4, 2, source.dc(), 1, 0, 4, 2, kGreen));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(AlphaBlend, ConstantAlphaMixesColours) {
  Canvas source(2, 2, kWhite);
  Canvas target(2, 2, kBlack);
  ASSERT_TRUE(AlphaBlend(target.dc(), 0, 0, 2, 2, source.dc(), 0, 0, 2, 2,
                         BLENDFUNCTION{AC_SRC_OVER, 0, 128, 0}));
  const COLORREF mixed = target.At(1, 1);
  EXPECT_NEAR(GetRValue(mixed), 128, 1);
  EXPECT_EQ(GetRValue(mixed), GetBValue(mixed));
}

TEST(AlphaBlend, PerPixelAlphaIsPremultiplied) {
  // A DIB section with one transparent, one half and one opaque pixel.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  auto* pixels = static_cast<DWORD*>(bits);
  pixels[0] = 0x00000000u;
  pixels[1] = 0x80800000u;  // red at half, premultiplied
  pixels[2] = 0xFF0000FFu;  // opaque blue
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(source, dib);
  Canvas target(3, 1, kWhite);
  ASSERT_TRUE(AlphaBlend(target.dc(), 0, 0, 3, 1, source, 0, 0, 3, 1,
                         BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
  EXPECT_EQ(target.At(0, 0), kWhite);
  EXPECT_NEAR(GetRValue(target.At(1, 0)), 255, 1);
  EXPECT_NEAR(GetGValue(target.At(1, 0)), 127, 1);
  EXPECT_EQ(target.At(2, 0), kBlue);
  SelectObject(source, old);
  DeleteDC(source);
  DeleteObject(dib);
}

TEST(AlphaBlend, RefusesASourceRectangleOutsideTheSource) {
  Canvas source(2, 2);
  Canvas target(4, 4);
  EXPECT_FALSE(AlphaBlend(target.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 3, 2,
                          BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0}));
  EXPECT_FALSE(AlphaBlend(target.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 2, 2,
                          BLENDFUNCTION{1, 0, 255, 0}));
}

TEST(AlphaBlend, StretchesTheSource) {
  Canvas source(1, 1, kRed);
  Canvas target(4, 4, kBlack);
  ASSERT_TRUE(AlphaBlend(target.dc(), 1, 1, 2, 2, source.dc(), 0, 0, 1, 1,
                         BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0}));
  EXPECT_EQ(target.Count(kRed), 4);
  EXPECT_EQ(target.At(2, 2), kRed);
}

}  // namespace
}  // namespace zx::test
