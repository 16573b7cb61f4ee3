// Clipping and coordinate origins of a DC.
#include "gdi_testing.h"

namespace zx::test {
namespace {

void FillAll(HDC dc, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  const RECT all{-100, -100, 100, 100};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
}

TEST(Clipping, ClipRegionLimitsDrawing) {
  Canvas c(10, 10);
  HRGN region = CreateRectRgn(2, 2, 5, 6);
  EXPECT_EQ(SelectClipRgn(c.dc(), region), SIMPLEREGION);
  DeleteObject(region);  // the DC keeps its own copy
  FillAll(c.dc(), kRed);
  EXPECT_EQ(c.Count(kRed), 3 * 4);
  RECT box{};
  EXPECT_EQ(GetClipBox(c.dc(), &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.bottom, 6);
  // Reading is clipped as well.
  EXPECT_EQ(GetPixel(c.dc(), 0, 0), CLR_INVALID);
  EXPECT_TRUE(PtVisible(c.dc(), 3, 3));
  EXPECT_FALSE(PtVisible(c.dc(), 6, 3));
  EXPECT_EQ(SelectClipRgn(c.dc(), nullptr), SIMPLEREGION);
  GetClipBox(c.dc(), &box);
  EXPECT_EQ(box.right, 10);
}

TEST(Clipping, IntersectAndExcludeTakeLogicalCoordinates) {
  Canvas c(10, 10);
  SetWindowOrgEx(c.dc(), 1, 0, nullptr);  // logical x = device x + 1
  EXPECT_EQ(IntersectClipRect(c.dc(), 1, 0, 6, 10), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(c.dc(), 3, 0, 4, 10), COMPLEXREGION);
  FillAll(c.dc(), kBlue);
  EXPECT_EQ(c.At(0, 0), kBlue);
  EXPECT_EQ(c.At(2, 0), kWhite);  // logical 3 excluded
  EXPECT_EQ(c.At(4, 0), kBlue);
  EXPECT_EQ(c.At(5, 0), kWhite);
  RECT box{};
  GetClipBox(c.dc(), &box);
  EXPECT_EQ(box.left, 1);
  EXPECT_EQ(box.right, 6);
}

TEST(Clipping, ComplexRegionOfTwoParts) {
  Canvas c(10, 10);
  HRGN a = CreateRectRgn(0, 0, 2, 2);
  HRGN b = CreateRectRgn(7, 7, 10, 10);
  CombineRgn(a, a, b, RGN_OR);
  EXPECT_EQ(SelectClipRgn(c.dc(), a), COMPLEXREGION);
  FillAll(c.dc(), kGreen);
  EXPECT_EQ(c.Count(kGreen), 4 + 9);
  EXPECT_EQ(ExtSelectClipRgn(c.dc(), b, RGN_DIFF), SIMPLEREGION);
  HRGN current = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(c.dc(), current), 1);
  RECT box{};
  GetRgnBox(current, &box);
  EXPECT_EQ(box.right, 2);
  DeleteObject(a);
  DeleteObject(b);
  DeleteObject(current);
}

TEST(Clipping, EmptyClipDrawsNothing) {
  Canvas c(4, 4);
  HRGN empty = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(SelectClipRgn(c.dc(), empty), NULLREGION);
  FillAll(c.dc(), kRed);
  EXPECT_EQ(c.Count(kRed), 0);
  RECT box{1, 1, 1, 1};
  EXPECT_EQ(GetClipBox(c.dc(), &box), NULLREGION);
  EXPECT_EQ(box.right, 0);
  DeleteObject(empty);
}

TEST(Origins, WindowAndViewportOriginsMoveDrawing) {
  Canvas c(10, 10);
  POINT previous{};
  SetViewportOrgEx(c.dc(), 4, 3, &previous);
  EXPECT_EQ(previous.x, 0);
  SetPixelV(c.dc(), 0, 0, kRed);
  EXPECT_EQ(c.At(4, 3), kRed);
  OffsetWindowOrgEx(c.dc(), 2, 2, nullptr);
  SetPixelV(c.dc(), 2, 2, kBlue);
  EXPECT_EQ(c.At(4, 3), kBlue);
  POINT p{2, 2};
  LPtoDP(c.dc(), &p, 1);
  EXPECT_EQ(p.x, 4);
  EXPECT_EQ(p.y, 3);
  DPtoLP(c.dc(), &p, 1);
  EXPECT_EQ(p.x, 2);
  EXPECT_EQ(SetMapMode(c.dc(), 8), 0);  // only MM_TEXT
  EXPECT_EQ(GetMapMode(c.dc()), MM_TEXT);
}

TEST(Origins, ClipRegionStaysInDeviceCoordinates) {
  Canvas c(10, 10);
  HRGN region = CreateRectRgn(0, 0, 3, 3);
  SelectClipRgn(c.dc(), region);
  SetWindowOrgEx(c.dc(), 5, 5, nullptr);
  FillAll(c.dc(), kRed);
  EXPECT_EQ(c.Count(kRed), 9);
  EXPECT_EQ(c.At(0, 0), kRed);
  RECT box{};
  GetClipBox(c.dc(), &box);  // logical
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.right, 8);
  DeleteObject(region);
}

}  // namespace
}  // namespace zx::test
