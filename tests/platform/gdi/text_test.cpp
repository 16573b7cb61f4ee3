// Text: metrics from the one shipped family, extents, TextOut alignment, and DrawText's
// line breaking, alignment, prefixes, measuring and background modes.
#include <string>
#include <vector>

#include "gdi_testing.h"

namespace zx::test {
namespace {

// Selects a font of the given height, weight and face for the life of the object.
class Font {
 public:
  Font(HDC dc, int height, int weight = FW_NORMAL, const char16_t* face = u"Tahoma",
       BYTE underline = 0)
      : dc_(dc) {
    font_ = CreateFontW(height, 0, 0, 0, weight, 0, underline, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    old_ = SelectObject(dc, font_);
  }
  ~Font() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
  }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

TEXTMETRICW Metrics(HDC dc) {
  TEXTMETRICW tm{};
  EXPECT_TRUE(GetTextMetricsW(dc, &tm));
  return tm;
}

SIZE Extent(HDC dc, const std::u16string& text) {
  SIZE size{};
  EXPECT_TRUE(GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size));
  return size;
}

TEST(TextMetrics, EveryFaceIsTheSameShippedFamily) {
  Canvas c(10, 10);
  TEXTMETRICW tahoma, arial;
  SIZE a, b;
  {
    Font f(c.dc(), -11, FW_NORMAL, u"Tahoma");
    tahoma = Metrics(c.dc());
    a = Extent(c.dc(), u"Scan now");
  }
  {
    Font f(c.dc(), -11, FW_NORMAL, u"Arial");
    arial = Metrics(c.dc());
    b = Extent(c.dc(), u"Scan now");
  }
  EXPECT_EQ(tahoma.tmHeight, arial.tmHeight);
  EXPECT_EQ(a.cx, b.cx);
  EXPECT_EQ(tahoma.tmHeight, 14);  // DejaVu Sans at 11 pixels
  EXPECT_EQ(tahoma.tmAscent + tahoma.tmDescent, tahoma.tmHeight);
  EXPECT_EQ(tahoma.tmInternalLeading, tahoma.tmHeight - 11);
  EXPECT_GT(tahoma.tmAveCharWidth, 4);
  EXPECT_EQ(tahoma.tmWeight, FW_NORMAL);
}

TEST(TextMetrics, PositiveHeightIsTheCellHeight) {
  Canvas c(10, 10);
  Font f(c.dc(), 20);
  EXPECT_NEAR(Metrics(c.dc()).tmHeight, 20, 1);
}

TEST(TextMetrics, BoldIsWiderAndLargerIsTaller) {
  Canvas c(10, 10);
  SIZE regular, bold, large;
  {
    Font f(c.dc(), -12);
    regular = Extent(c.dc(), u"Update all drivers");
  }
  {
    Font f(c.dc(), -12, FW_BOLD);
    bold = Extent(c.dc(), u"Update all drivers");
    EXPECT_EQ(Metrics(c.dc()).tmWeight, FW_BOLD);
  }
  {
    Font f(c.dc(), -22);
    large = Extent(c.dc(), u"Update all drivers");
  }
  EXPECT_GT(bold.cx, regular.cx);
  EXPECT_GT(large.cy, regular.cy);
  EXPECT_EQ(bold.cy, regular.cy);
}

TEST(TextExtent, WidthsAddUpAndEmptyTextHasTheLineHeight) {
  Canvas c(10, 10);
  Font f(c.dc(), -11);
  const SIZE ab = Extent(c.dc(), u"ab");
  EXPECT_EQ(ab.cx, Extent(c.dc(), u"a").cx + Extent(c.dc(), u"b").cx);
  const SIZE empty = Extent(c.dc(), u"");
  EXPECT_EQ(empty.cx, 0);
  EXPECT_EQ(empty.cy, Metrics(c.dc()).tmHeight);
  int fit = 0;
  int dx[5] = {};
  SIZE all{};
  ASSERT_TRUE(GetTextExtentExPointW(c.dc(), u"hello", 5, Extent(c.dc(), u"hel").cx, &fit, dx, &all));
  EXPECT_EQ(fit, 3);
  EXPECT_EQ(dx[2], Extent(c.dc(), u"hel").cx);
  EXPECT_EQ(dx[4], all.cx);
}

TEST(TextOut, DrawsInTheTextColourFromTheTopLeft) {
  Canvas c(80, 30);
  Font f(c.dc(), -16);
  SetBkMode(c.dc(), TRANSPARENT);
  SetTextColor(c.dc(), kRed);
  ASSERT_TRUE(TextOutW(c.dc(), 10, 5, u"HHH", 3));
  const RECT ink = c.InkBox(kWhite);
  EXPECT_GE(ink.left, 10);
  EXPECT_GE(ink.top, 5);
  EXPECT_LE(ink.bottom, 5 + Metrics(c.dc()).tmHeight);
  EXPECT_GT(c.Count(kRed), 20);  // the stems are solid
}

TEST(TextOut, OpaqueModeFillsTheCell) {
  Canvas c(80, 30);
  Font f(c.dc(), -16);
  SetBkColor(c.dc(), kGreen);
  TextOutW(c.dc(), 0, 0, u"i", 1);
  const SIZE size = Extent(c.dc(), u"i");
  EXPECT_EQ(c.At(0, 0), kGreen);
  EXPECT_EQ(c.At(size.cx - 1, size.cy - 1), kGreen);
  EXPECT_EQ(c.At(size.cx, 0), kWhite);
}

TEST(TextOut, AlignmentRightAndBaseline) {
  Canvas c(100, 40);
  Font f(c.dc(), -16);
  SetBkMode(c.dc(), TRANSPARENT);
  SetTextAlign(c.dc(), TA_RIGHT | TA_BASELINE);
  TextOutW(c.dc(), 90, 30, u"HH", 2);
  const RECT ink = c.InkBox(kWhite);
  EXPECT_LE(ink.right, 90);
  EXPECT_GE(ink.right, 87);
  EXPECT_LE(ink.bottom, 30);
  EXPECT_GE(ink.bottom, 29);
}

TEST(DrawText, CalcRectOfOneLineMatchesTheExtent) {
  Canvas c(10, 10);
  Font f(c.dc(), -11);
  RECT r{5, 5, 6, 6};
  const int height = DrawTextW(c.dc(), u"Restore point", -1, &r, DT_SINGLELINE | DT_CALCRECT);
  const SIZE size = Extent(c.dc(), u"Restore point");
  EXPECT_EQ(height, size.cy);
  EXPECT_EQ(r.right - r.left, size.cx);
  EXPECT_EQ(r.bottom - r.top, size.cy);
  EXPECT_EQ(c.Count(kWhite), 100);  // measuring draws nothing
}

TEST(DrawText, WordBreakWrapsAtTheRectangle) {
  Canvas c(10, 10);
  Font f(c.dc(), -11);
  const int line = Metrics(c.dc()).tmHeight;
  const int word = Extent(c.dc(), u"driver").cx;
  RECT r{0, 0, word + 2, 0};
  const int height = DrawTextW(c.dc(), u"driver driver driver", -1, &r, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_EQ(height, 3 * line);
  EXPECT_EQ(r.bottom, 3 * line);
  EXPECT_EQ(r.right, word);
  // Line breaks in the text break lines too.
  RECT lines{0, 0, 400, 0};
  EXPECT_EQ(DrawTextW(c.dc(), u"one\r\ntwo\nthree", -1, &lines, DT_CALCRECT), 3 * line);
  // A single line ignores them.
  RECT single{0, 0, 400, 0};
  EXPECT_EQ(DrawTextW(c.dc(), u"one\r\ntwo", -1, &single, DT_CALCRECT | DT_SINGLELINE), line);
}

TEST(DrawText, CentresHorizontallyAndVertically) {
  Canvas c(120, 40);
  Font f(c.dc(), -12);
  SetBkMode(c.dc(), TRANSPARENT);
  RECT r{0, 0, 120, 40};
  const int answer = DrawTextW(c.dc(), u"IIII", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  const RECT ink = c.InkBox(kWhite);
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 60, 2);
  const int line = Metrics(c.dc()).tmHeight;
  EXPECT_EQ(answer, (40 - line) / 2 + line);
  EXPECT_GT(ink.top, 40 / 2 - line);
  EXPECT_LT(ink.bottom, 40 / 2 + line);
}

TEST(DrawText, RightAlignsAndClipsToTheRectangle) {
  Canvas c(100, 20);
  Font f(c.dc(), -12);
  SetBkMode(c.dc(), TRANSPARENT);
  RECT r{0, 0, 50, 20};
  DrawTextW(c.dc(), u"HHHHHHHHHHHHHHHHHHHH", -1, &r, DT_RIGHT | DT_SINGLELINE);
  EXPECT_LE(c.InkBox(kWhite).right, 50);
  EXPECT_GT(c.InkBox(kWhite).right, 45);
  RECT free{0, 0, 50, 20};
  Canvas d(300, 20);
  Font g(d.dc(), -12);
  SetBkMode(d.dc(), TRANSPARENT);
  DrawTextW(d.dc(), u"HHHHHHHHHHHHHHHHHHHH", -1, &free, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(d.InkBox(kWhite).right, 50);
}

TEST(DrawText, PrefixUnderlinesUnlessNoPrefixIsGiven) {
  Canvas withPrefix(100, 30);
  Canvas withoutPrefix(100, 30);
  for (Canvas* c : {&withPrefix, &withoutPrefix}) {
    Font f(c->dc(), -16);
    SetBkMode(c->dc(), TRANSPARENT);
    RECT r{0, 0, 100, 30};
    DrawTextW(c->dc(), u"&Save", -1, &r, c == &withPrefix ? DT_SINGLELINE : 0x820);
  }
  // The "&" shows only without prefix processing; the underline adds pixels under the "S".
  RECT measure{0, 0, 100, 30};
  EXPECT_NE(withPrefix.InkBox(kWhite).right, withoutPrefix.InkBox(kWhite).right);
  Canvas plain(100, 30);
  {
    Font f(plain.dc(), -16);
    SetBkMode(plain.dc(), TRANSPARENT);
    DrawTextW(plain.dc(), u"Save", -1, &measure, DT_SINGLELINE | DT_NOPREFIX);
  }
  EXPECT_GT(plain.Count(kWhite), withPrefix.Count(kWhite));
  // "&&" is one ampersand.
  HDC dc = plain.dc();
  Font f(dc, -16);
  RECT a{0, 0, 100, 30}, b{0, 0, 100, 30};
  DrawTextW(dc, u"A&&B", -1, &a, DT_CALCRECT | DT_SINGLELINE);
  DrawTextW(dc, u"A&B", -1, &b, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(a.right, b.right);
}

TEST(DrawText, EndEllipsisKeepsTheLineInsideTheRectangle) {
  Canvas c(200, 20);
  Font f(c.dc(), -12);
  SetBkMode(c.dc(), TRANSPARENT);
  RECT r{0, 0, 60, 20};
  DrawTextW(c.dc(), u"C:\\Windows\\System32\\DriverStore\\FileRepository", -1, &r,
            DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
  EXPECT_LE(c.InkBox(kWhite).right, 60);
  EXPECT_GT(c.InkBox(kWhite).right, 40);
}

TEST(DrawText, OpaqueBackgroundCoversEachLineOnly) {
  Canvas c(100, 40);
  Font f(c.dc(), -12);
  SetBkColor(c.dc(), kGreen);
  RECT r{0, 0, 100, 40};
  DrawTextW(c.dc(), u"ab", -1, &r, DT_SINGLELINE);
  const SIZE size = Extent(c.dc(), u"ab");
  EXPECT_EQ(c.At(0, 0), kGreen);
  EXPECT_EQ(c.At(size.cx + 1, 0), kWhite);
  EXPECT_EQ(c.At(0, size.cy + 1), kWhite);
}

TEST(DrawText, RefusesMissingArguments) {
  Canvas c(10, 10);
  EXPECT_EQ(DrawTextW(c.dc(), u"x", -1, nullptr, 0), 0);
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(DrawTextW(c.dc(), nullptr, 3, &r, 0), 0);
}

TEST(DrawText, UnderlinedFontDrawsBelowTheBaseline) {
  Canvas plain(60, 30), underlined(60, 30);
  for (Canvas* c : {&plain, &underlined}) {
    Font f(c->dc(), -16, FW_NORMAL, u"Tahoma", c == &underlined ? 1 : 0);
    SetBkMode(c->dc(), TRANSPARENT);
    TextOutW(c->dc(), 0, 0, u"nn", 2);
  }
  EXPECT_GT(underlined.InkBox(kWhite).bottom, plain.InkBox(kWhite).bottom);
}

// Texts are laid out once and kept: each font, fitting and width still gets a layout of its
// own, and a text drawn again looks as it did the first time.
TEST(DrawText, EachFontAndFittingKeepsItsOwnLayout) {
  const struct Variant {
    int height;
    int weight;
    BYTE underline;
    UINT format;
    int width;
  } variants[] = {
      {-12, FW_NORMAL, 0, DT_WORDBREAK, 200},          {-16, FW_NORMAL, 0, DT_WORDBREAK, 200},
      {-12, FW_BOLD, 0, DT_WORDBREAK, 200},            {-12, FW_NORMAL, 1, DT_WORDBREAK, 200},
      {-12, FW_NORMAL, 0, DT_WORDBREAK, 60},           {-12, FW_NORMAL, 0, DT_SINGLELINE, 60},
      {-12, FW_NORMAL, 0, DT_SINGLELINE | DT_END_ELLIPSIS, 60},
  };
  const auto draw = [](const Variant& v) {
    Canvas c(200, 60);
    Font f(c.dc(), v.height, v.weight, u"Tahoma", v.underline);
    RECT r{0, 0, v.width, 60};
    DrawTextW(c.dc(), u"Scanning drivers now", -1, &r, v.format);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < c.height(); ++y)
      for (int x = 0; x < c.width(); ++x) pixels.push_back(c.At(x, y));
    return pixels;
  };
  std::vector<std::vector<COLORREF>> first;
  for (const Variant& v : variants) first.push_back(draw(v));
  for (std::size_t i = 0; i < std::size(variants); ++i) {
    EXPECT_EQ(draw(variants[i]), first[i]) << i;
    for (std::size_t j = 0; j < i; ++j) EXPECT_NE(first[i], first[j]) << i << " and " << j;
  }
}

}  // namespace
}  // namespace zx::test
