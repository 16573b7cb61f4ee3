// The bitmap blits (whole, part, stretched, raster operations, no bitmap) and bitmap sizes
// read from the resource chain.
#include "DrawingHelpers.h"
#include "drawing_support.h"

namespace zx::test {
namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

using Blits = DrawingTest;

// A 4 x 2 bitmap: the left half red, the right half blue; selected into no DC.
struct TwoColourBitmap {
  HBITMAP Release() {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    CDC screen;
    screen.Attach(::GetDC(nullptr));
    bitmap.CreateCompatibleBitmap(&screen, 4, 2);
    ::ReleaseDC(nullptr, screen.Detach());
    const HGDIOBJ old = dc.SelectObject(bitmap.GetSafeHandle());
    dc.FillSolidRect(0, 0, 2, 2, kRed);
    dc.FillSolidRect(2, 0, 2, 2, kBlue);
    dc.SelectObject(old);
    dc.DeleteDC();
    return static_cast<HBITMAP>(bitmap.Detach());
  }
};

TEST_F(Blits, DrawBitmapCopiesFromTheCorner) {
  TwoColourBitmap source;
  CBitmap bitmap;
  bitmap.Attach(source.Release());
  Surface target(20, 10, kGrey);
  DrawBitmap(&target.dc, 5, 3, 4, 2, bitmap, SRCCOPY);
  EXPECT_EQ(target.At(5, 3), kRed);
  EXPECT_EQ(target.At(8, 4), kBlue);
  EXPECT_EQ(target.At(9, 4), kGrey);
  EXPECT_EQ(target.At(5, 5), kGrey);
}

TEST_F(Blits, DrawBitmapPartStartsAtTheSourcePoint) {
  TwoColourBitmap source;
  CBitmap bitmap;
  bitmap.Attach(source.Release());
  Surface target(20, 10, kGrey);
  DrawBitmapPart(&target.dc, 0, 0, 2, 0, 2, 2, bitmap, SRCCOPY);
  EXPECT_EQ(target.At(0, 0), kBlue);
  EXPECT_EQ(target.At(1, 1), kBlue);
  EXPECT_EQ(target.At(2, 0), kGrey);
}

TEST_F(Blits, StretchBitmapScalesTheSourceRectangle) {
  TwoColourBitmap source;
  CBitmap bitmap;
  bitmap.Attach(source.Release());
  Surface target(20, 10, kGrey);
  StretchBitmap(&target.dc, 0, 0, 16, 8, 0, 0, 4, 2, bitmap, SRCCOPY);
  EXPECT_EQ(target.At(1, 1), kRed);
  EXPECT_EQ(target.At(7, 7), kRed);
  EXPECT_EQ(target.At(8, 0), kBlue);
  EXPECT_EQ(target.At(15, 7), kBlue);
  EXPECT_EQ(target.At(16, 0), kGrey);
}

TEST_F(Blits, RasterOperationIsApplied) {
  TwoColourBitmap source;
  CBitmap bitmap;
  bitmap.Attach(source.Release());
  Surface target(10, 10, RGB(255, 0, 255));
  DrawBitmap(&target.dc, 0, 0, 4, 2, bitmap, SRCAND);
  EXPECT_EQ(target.At(0, 0), kRed);   // magenta AND red
  EXPECT_EQ(target.At(3, 0), kBlue);  // magenta AND blue
}

TEST_F(Blits, NoBitmapDrawsNothing) {
  Surface target(10, 10, kGrey);
  DrawBitmap(&target.dc, 0, 0, 10, 10, nullptr, SRCCOPY);
  StretchBitmap(&target.dc, 0, 0, 10, 10, 0, 0, 1, 1, nullptr, SRCCOPY);
  EXPECT_EQ(target.At(0, 0), kGrey);
  EXPECT_EQ(target.At(9, 9), kGrey);
  DrawBitmap(nullptr, 0, 0, 10, 10, nullptr, SRCCOPY);  // and no DC: no crash
}

TEST_F(Blits, BitmapSizeFromTheResourceChain) {
  CBitmap bitmap;
  int width = -1, height = -1;
  ASSERT_TRUE(GetBitmapSize(1096, bitmap, width, height));
  EXPECT_EQ(width, 168);
  EXPECT_EQ(height, 473);
  EXPECT_NE(bitmap.GetSafeHandle(), nullptr);
}

TEST_F(Blits, BitmapSizeOfAMissingIdIsZero) {
  CBitmap bitmap;
  int width = -1, height = -1;
  EXPECT_FALSE(GetBitmapSize(9999, bitmap, width, height));
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
  EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
}

}  // namespace
}  // namespace zx::test
