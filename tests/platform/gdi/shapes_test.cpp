// Lines, shapes, fills and pixels, checked pixel by pixel.
#include "gdi_testing.h"

namespace zx::test {
namespace {

// Selects a pen and a brush for the life of the object.
class Tools {
 public:
  Tools(HDC dc, HGDIOBJ pen, HGDIOBJ brush) : dc_(dc), pen_(pen), brush_(brush) {
    oldPen_ = SelectObject(dc, pen);
    oldBrush_ = SelectObject(dc, brush);
  }
  ~Tools() {
    SelectObject(dc_, oldPen_);
    SelectObject(dc_, oldBrush_);
    DeleteObject(pen_);
    DeleteObject(brush_);
  }

 private:
  HDC dc_;
  HGDIOBJ pen_, brush_, oldPen_, oldBrush_;
};

TEST(Fills, FillRectCoversExactlyTheRectangle) {
  Canvas c(10, 10);
  HBRUSH red = CreateSolidBrush(kRed);
  const RECT r{2, 3, 6, 8};
  EXPECT_TRUE(FillRect(c.dc(), &r, red));
  EXPECT_EQ(c.Count(kRed), 4 * 5);
  EXPECT_EQ(c.Count(kRed, r), 20);
  EXPECT_EQ(c.At(6, 3), kWhite);
  EXPECT_EQ(c.At(2, 8), kWhite);
  DeleteObject(red);
}

TEST(Fills, SystemColourBrushValues) {
  Canvas c(4, 4);
  const RECT r{0, 0, 4, 4};
  constexpr int kButtonFace = 15;
  FillRect(c.dc(), &r, reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(kButtonFace + 1)));
  EXPECT_EQ(c.At(0, 0), RGB(240, 240, 240));
  EXPECT_TRUE(DeleteObject(reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(kButtonFace + 1))));
}

TEST(Fills, FrameRectAndInvertRect) {
  Canvas c(8, 8);
  HBRUSH blue = CreateSolidBrush(kBlue);
  const RECT r{1, 1, 7, 6};
  FrameRect(c.dc(), &r, blue);
  EXPECT_EQ(c.Count(kBlue), 2 * 6 + 2 * 3);
  EXPECT_EQ(c.At(3, 3), kWhite);
  const RECT all{0, 0, 8, 8};
  InvertRect(c.dc(), &all);
  EXPECT_EQ(c.At(3, 3), kBlack);
  EXPECT_EQ(c.At(1, 1), RGB(255, 255, 0));
  DeleteObject(blue);
}

TEST(Shapes, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  Canvas c(12, 12);
  Tools tools(c.dc(), CreatePen(PS_SOLID, 1, kRed), CreateSolidBrush(kBlue));
  Rectangle(c.dc(), 2, 2, 8, 7);
  EXPECT_EQ(c.Count(kRed), 2 * 6 + 2 * 3);  // border of 6 x 5
  EXPECT_EQ(c.Count(kBlue), 4 * 3);        // inside
  EXPECT_EQ(c.At(8, 2), kWhite);
  EXPECT_EQ(c.At(2, 7), kWhite);
}

TEST(Shapes, RectangleWithoutPenIsOnePixelSmaller) {
  Canvas c(12, 12);
  Tools tools(c.dc(), GetStockObject(NULL_PEN), CreateSolidBrush(kBlue));
  Rectangle(c.dc(), 2, 2, 8, 7);
  EXPECT_EQ(c.Count(kBlue), 5 * 4);
  EXPECT_EQ(c.InkBox(kWhite).right, 7);
}

TEST(Shapes, HollowBrushLeavesTheInside) {
  Canvas c(12, 12);
  Tools tools(c.dc(), CreatePen(PS_SOLID, 1, kRed), GetStockObject(NULL_BRUSH));
  Rectangle(c.dc(), 0, 0, 12, 12);
  EXPECT_EQ(c.Count(kRed), 44);
  EXPECT_EQ(c.Count(kWhite), 100);
}

TEST(Lines, LineToLeavesTheEndPointAndMovesTheCurrentPosition) {
  Canvas c(10, 10);
  Tools tools(c.dc(), CreatePen(PS_SOLID, 1, kRed), CreateSolidBrush(kBlue));
  POINT previous{};
  MoveToEx(c.dc(), 1, 4, &previous);
  LineTo(c.dc(), 6, 4);
  EXPECT_EQ(c.Count(kRed), 5);
  EXPECT_EQ(c.At(1, 4), kRed);
  EXPECT_EQ(c.At(6, 4), kWhite);
  LineTo(c.dc(), 6, 9);  // continues from (6, 4)
  EXPECT_EQ(c.At(6, 4), kRed);
  EXPECT_EQ(c.At(6, 9), kWhite);
  EXPECT_EQ(c.Count(kRed), 10);
}

TEST(Lines, DiagonalLineStepsOnePixelPerColumn) {
  Canvas c(10, 10);
  Tools tools(c.dc(), CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kBlue));
  MoveToEx(c.dc(), 0, 0, nullptr);
  LineTo(c.dc(), 8, 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(c.At(i, i), kBlack) << i;
  EXPECT_EQ(c.Count(kBlack), 8);
}

TEST(Lines, DottedPenAlternatesThreeOnThreeOff) {
  Canvas c(20, 3);
  Tools tools(c.dc(), CreatePen(PS_DOT, 1, kBlack), CreateSolidBrush(kBlue));
  SetBkMode(c.dc(), TRANSPARENT);
  MoveToEx(c.dc(), 0, 1, nullptr);
  LineTo(c.dc(), 12, 1);
  const COLORREF expected[] = {kBlack, kBlack, kBlack, kWhite, kWhite, kWhite};
  for (int x = 0; x < 12; ++x) EXPECT_EQ(c.At(x, 1), expected[x % 6]) << x;
  // In opaque mode the gaps take the background colour.
  SetBkMode(c.dc(), OPAQUE);
  SetBkColor(c.dc(), kGreen);
  MoveToEx(c.dc(), 0, 2, nullptr);
  LineTo(c.dc(), 6, 2);
  EXPECT_EQ(c.At(4, 2), kGreen);
}

TEST(Lines, WidePenIsThickerThanOnePixel) {
  Canvas c(20, 20);
  Tools tools(c.dc(), CreatePen(PS_SOLID, 5, kBlack), CreateSolidBrush(kBlue));
  MoveToEx(c.dc(), 3, 10, nullptr);
  LineTo(c.dc(), 16, 10);
  EXPECT_EQ(c.At(10, 8), kBlack);
  EXPECT_EQ(c.At(10, 12), kBlack);
  EXPECT_EQ(c.At(10, 14), kWhite);
}

TEST(Shapes, EllipseStaysInItsBoxAndIsSymmetric) {
  Canvas c(30, 20);
  Tools tools(c.dc(), CreatePen(PS_SOLID, 1, kRed), CreateSolidBrush(kBlue));
  Ellipse(c.dc(), 5, 2, 25, 18);
  const RECT ink = c.InkBox(kWhite);
  EXPECT_GE(ink.left, 5);
  EXPECT_GE(ink.top, 2);
  EXPECT_LE(ink.right, 25);
  EXPECT_LE(ink.bottom, 18);
  EXPECT_EQ(c.At(15, 10), kBlue);  // centre filled
  EXPECT_EQ(c.At(5, 2), kWhite);   // corner outside
  // Mirror image: column x matches column 29 - x around the box's middle.
  for (int y = 2; y < 18; ++y)
    for (int x = 5; x < 15; ++x) EXPECT_EQ(c.At(x, y), c.At(29 - x, y)) << x << "," << y;
}

TEST(Shapes, RoundRectCutsItsCorners) {
  Canvas c(30, 20);
  Tools tools(c.dc(), CreatePen(PS_SOLID, 1, kRed), CreateSolidBrush(kBlue));
  RoundRect(c.dc(), 0, 0, 30, 20, 10, 10);
  EXPECT_EQ(c.At(0, 0), kWhite);
  EXPECT_EQ(c.At(29, 19), kWhite);
  EXPECT_EQ(c.At(15, 0), kRed);
  EXPECT_EQ(c.At(0, 10), kRed);
  EXPECT_EQ(c.At(15, 10), kBlue);
}

TEST(Pixels, SetPixelAndGetPixelOutsideTheSurface) {
  Canvas c(4, 4);
  EXPECT_EQ(SetPixel(c.dc(), 1, 2, RGB(10, 20, 30)), RGB(10, 20, 30));
  EXPECT_EQ(c.At(1, 2), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(c.dc(), 4, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(c.dc(), -1, 0), CLR_INVALID);
  EXPECT_EQ(SetPixel(c.dc(), 0, 9, kRed), CLR_INVALID);
}

TEST(Edges, SunkenEdgeUsesShadowThenDarkShadow) {
  Canvas c(10, 10);
  RECT r{0, 0, 10, 10};
  EXPECT_TRUE(DrawEdge(c.dc(), &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
  EXPECT_EQ(c.At(0, 5), RGB(160, 160, 160));   // outer top-left: button shadow
  EXPECT_EQ(c.At(9, 5), RGB(255, 255, 255));   // outer bottom-right: highlight
  EXPECT_EQ(c.At(1, 5), RGB(105, 105, 105));   // inner top-left: dark shadow
  EXPECT_EQ(c.At(8, 5), RGB(227, 227, 227));   // inner bottom-right: light
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.bottom, 8);
  EXPECT_EQ(c.At(5, 5), kWhite);
  RECT diagonal{0, 0, 4, 4};
  EXPECT_FALSE(DrawEdge(c.dc(), &diagonal, EDGE_RAISED, 0x0010));
}

TEST(Edges, FocusRectangleDrawnTwiceIsGone) {
  Canvas c(10, 8, RGB(40, 80, 120));
  const RECT r{1, 1, 9, 7};
  DrawFocusRect(c.dc(), &r);
  int changed = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) changed += c.At(x, y) != RGB(40, 80, 120);
  EXPECT_GT(changed, 8);
  EXPECT_EQ(c.At(4, 4), RGB(40, 80, 120));
  DrawFocusRect(c.dc(), &r);
  EXPECT_EQ(c.Count(RGB(40, 80, 120)), 80);
}

TEST(Shapes, PolygonFillsAndOutlines) {
  Canvas c(20, 20);
  Tools tools(c.dc(), CreatePen(PS_SOLID, 1, kRed), CreateSolidBrush(kBlue));
  const POINT triangle[] = {{2, 2}, {17, 2}, {2, 17}};
  EXPECT_TRUE(Polygon(c.dc(), triangle, 3));
  EXPECT_EQ(c.At(5, 5), kBlue);
  EXPECT_EQ(c.At(10, 2), kRed);
  EXPECT_EQ(c.At(16, 16), kWhite);
  EXPECT_FALSE(Polygon(c.dc(), triangle, 1));
}

}  // namespace
}  // namespace zx::test
