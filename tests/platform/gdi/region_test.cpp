// Regions: rectangles, rounded rectangles, combining, moving and testing.
#include "gdi_testing.h"

namespace zx::test {
namespace {

TEST(Regions, RectangleExcludesRightAndBottomEdges) {
  HRGN r = CreateRectRgn(1, 1, 4, 3);
  EXPECT_TRUE(PtInRegion(r, 1, 1));
  EXPECT_TRUE(PtInRegion(r, 3, 2));
  EXPECT_FALSE(PtInRegion(r, 4, 2));
  EXPECT_FALSE(PtInRegion(r, 3, 3));
  RECT box{};
  EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 1);
  EXPECT_EQ(box.right, 4);
  DeleteObject(r);
}

TEST(Regions, ReversedCornersAreOrdered) {
  HRGN r = CreateRectRgn(5, 5, 1, 1);
  EXPECT_TRUE(PtInRegion(r, 2, 2));
  DeleteObject(r);
}

TEST(Regions, CombineModes) {
  HRGN a = CreateRectRgn(0, 0, 4, 4);
  HRGN b = CreateRectRgn(2, 2, 6, 6);
  HRGN out = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(out, a, b, RGN_AND), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(out, 3, 3));
  EXPECT_FALSE(PtInRegion(out, 1, 1));
  EXPECT_EQ(CombineRgn(out, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(out, 1, 1));
  EXPECT_TRUE(PtInRegion(out, 5, 5));
  EXPECT_FALSE(PtInRegion(out, 5, 0));
  EXPECT_EQ(CombineRgn(out, a, b, RGN_XOR), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(out, 3, 3));
  EXPECT_EQ(CombineRgn(out, a, b, RGN_DIFF), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(out, 1, 3));
  EXPECT_FALSE(PtInRegion(out, 3, 3));
  EXPECT_EQ(CombineRgn(out, b, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(out, b));
  EXPECT_EQ(CombineRgn(out, a, b, 99), ERROR);
  const RECT away{10, 10, 12, 12};
  EXPECT_FALSE(RectInRegion(a, &away));
  const RECT touching{3, 3, 10, 10};
  EXPECT_TRUE(RectInRegion(a, &touching));
  DeleteObject(a);
  DeleteObject(b);
  DeleteObject(out);
}

TEST(Regions, DisjointParts) {
  HRGN a = CreateRectRgn(0, 0, 2, 2);
  HRGN b = CreateRectRgn(5, 0, 7, 2);
  HRGN out = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(out, a, b, RGN_AND);
  RECT box{1, 1, 1, 1};
  EXPECT_EQ(GetRgnBox(out, &box), NULLREGION);
  EXPECT_EQ(box.right, 0);
  DeleteObject(a);
  DeleteObject(b);
  DeleteObject(out);
}

TEST(Regions, RoundRectangleLosesItsCorners) {
  HRGN r = CreateRoundRectRgn(0, 0, 20, 10, 8, 8);
  EXPECT_FALSE(PtInRegion(r, 0, 0));
  EXPECT_FALSE(PtInRegion(r, 19, 9));
  EXPECT_TRUE(PtInRegion(r, 10, 0));
  EXPECT_TRUE(PtInRegion(r, 0, 5));
  EXPECT_TRUE(PtInRegion(r, 19, 5));
  EXPECT_FALSE(PtInRegion(r, 20, 5));
  RECT box{};
  EXPECT_EQ(GetRgnBox(r, &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 20);
  EXPECT_EQ(box.bottom, 10);
  // Corners of 9 x 9 as the main windows use: symmetric left to right and top to bottom.
  HRGN window = CreateRoundRectRgn(0, 0, 773, 584, 9, 9);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(PtInRegion(window, x, y), PtInRegion(window, 772 - x, y)) << x << "," << y;
      EXPECT_EQ(PtInRegion(window, x, y), PtInRegion(window, x, 583 - y)) << x << "," << y;
    }
  DeleteObject(window);
  DeleteObject(r);
}

TEST(Regions, EllipseRegion) {
  HRGN e = CreateEllipticRgn(0, 0, 10, 10);
  EXPECT_TRUE(PtInRegion(e, 5, 5));
  EXPECT_FALSE(PtInRegion(e, 0, 0));
  EXPECT_TRUE(PtInRegion(e, 5, 0));
  DeleteObject(e);
}

TEST(Regions, OffsetAndSetRect) {
  HRGN r = CreateRectRgn(0, 0, 2, 2);
  EXPECT_EQ(OffsetRgn(r, 3, 4), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(r, 4, 5));
  EXPECT_FALSE(PtInRegion(r, 0, 0));
  EXPECT_TRUE(SetRectRgn(r, 10, 10, 11, 11));
  EXPECT_TRUE(PtInRegion(r, 10, 10));
  EXPECT_FALSE(PtInRegion(r, 4, 5));
  DeleteObject(r);
}

TEST(Regions, FillRgnPaintsEveryPart) {
  Canvas c(10, 10);
  HRGN r = CreateRoundRectRgn(0, 0, 10, 10, 4, 4);
  HBRUSH red = CreateSolidBrush(kRed);
  EXPECT_TRUE(FillRgn(c.dc(), r, red));
  EXPECT_EQ(c.At(0, 0), kWhite);
  EXPECT_EQ(c.At(5, 5), kRed);
  DeleteObject(red);
  DeleteObject(r);
}

TEST(Regions, BadHandlesAnswerErrors) {
  HRGN bogus = reinterpret_cast<HRGN>(static_cast<ULONG_PTR>(0x5555550));
  RECT box{};
  EXPECT_EQ(GetRgnBox(bogus, &box), ERROR);
  EXPECT_FALSE(PtInRegion(bogus, 0, 0));
  EXPECT_EQ(OffsetRgn(bogus, 1, 1), ERROR);
  HBRUSH brush = CreateSolidBrush(kRed);
  EXPECT_EQ(GetRgnBox(reinterpret_cast<HRGN>(brush), &box), ERROR);
  DeleteObject(brush);
}

}  // namespace
}  // namespace zx::test
