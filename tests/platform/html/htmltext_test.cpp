// The HTML text control: font sizes as the message boxes give them, lines wrapped at spaces,
// damaged HTML, and the text drawn in its colours inside the rectangle, filled or transparent.
#include <gtest/gtest.h>

#include "gdi_testing.h"
#include "qhtm.h"

namespace zx::test {
namespace {

UINT HeightOf(HDC dc, const char16_t* html, UINT width = 300) {
  return QHTM_GetHTMLHeight(dc, html, nullptr, QHTM_SOURCE_TEXT, width);
}

TEST(QhtmLayout, FontSizesInPointsPixelsAndHtmlSizes) {
  Canvas canvas(300, 200);
  struct Row {
    const char16_t* html;
    UINT least, most;  // the line's height in pixels
  } rows[] = {
      {u"<font face=\"Tahoma\" size=9pt>nine points</font>", 12, 20},
      {u"<font size=24px>tall</font>", 24, 32},
      {u"<font size=7>seven</font>", 30, 60},  // xx-large
      {u"<b>bold</b> <i>and</i> <u>more</u>", 12, 20},
  };
  for (const Row& row : rows) {
    const UINT height = HeightOf(canvas.dc(), row.html);
    EXPECT_GE(height, row.least) << std::string(row.html, row.html + std::char_traits<char16_t>::length(row.html));
    EXPECT_LE(height, row.most) << std::string(row.html, row.html + std::char_traits<char16_t>::length(row.html));
  }
}

TEST(QhtmLayout, LinesWrapAtSpacesWithinTheWidth) {
  Canvas canvas(300, 200);
  const UINT wide = HeightOf(canvas.dc(), u"alpha beta gamma delta", 1000);
  const UINT narrow = HeightOf(canvas.dc(), u"alpha beta gamma delta", 60);
  ASSERT_GT(wide, 0u);
  EXPECT_GE(narrow / wide, 3u);
  EXPECT_EQ(HeightOf(canvas.dc(), u"unbreakable", 5), wide / 1);  // a word wider than the width stands alone
}

TEST(QhtmLayout, DamagedHtmlIsDrawnWithoutHarm) {
  Canvas canvas(200, 60, RGB(255, 255, 255));
  const RECT box{0, 0, 200, 60};
  for (const char16_t* html : {u"</b>x <b>y <font size=3>z</b> w <tag", u"<<<>>>&&;;", u"<table><td>cell",
                               u"<font size=99999px>x</font>", u"<p style='margin:-99999px'>x</p>"})
    EXPECT_TRUE(QHTM_RenderHTMLRect(canvas.dc(), html, nullptr, QHTM_SOURCE_TEXT, &box));
}

TEST(QhtmRender, DrawsInTheColoursAndFillsUnlessTransparent) {
  Canvas canvas(200, 60, RGB(255, 255, 255));
  SetBkColor(canvas.dc(), RGB(0, 255, 0));
  const RECT box{10, 10, 190, 50};
  ASSERT_TRUE(QHTM_RenderHTMLRect(canvas.dc(), u"<font color=#FF0000><b>Red</b></font> text", nullptr,
                                  QHTM_SOURCE_TEXT, &box));
  EXPECT_EQ(canvas.At(5, 5), RGB(255, 255, 255));    // outside the rectangle
  EXPECT_EQ(canvas.At(185, 45), RGB(0, 255, 0));     // filled with the background colour
  int red = 0;  // the red word, its edges smoothed
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x)
      red += GetRValue(canvas.At(x, y)) > GetGValue(canvas.At(x, y)) + 60 && GetRValue(canvas.At(x, y)) > GetBValue(canvas.At(x, y)) + 60;
  EXPECT_GT(red, 10);
  Canvas clear(200, 60, RGB(255, 255, 255));
  ASSERT_TRUE(QHTM_RenderHTMLRect(clear.dc(), u"x", nullptr, QHTM_SOURCE_TEXT | QHTM_RENDER_TRANSPARENT, &box));
  EXPECT_EQ(clear.At(185, 45), RGB(255, 255, 255));
}

TEST(QhtmRender, TextStaysInsideTheRectangle) {
  Canvas canvas(100, 100, RGB(255, 255, 255));
  SetTextColor(canvas.dc(), RGB(0, 0, 0));
  const RECT box{0, 0, 40, 12};
  QHTM_RenderHTMLRect(canvas.dc(), u"many words that wrap below the box", nullptr,
                      QHTM_SOURCE_TEXT | QHTM_RENDER_TRANSPARENT, &box);
  const RECT ink = canvas.InkBox(RGB(255, 255, 255));
  EXPECT_LE(ink.right, 40);
  EXPECT_LE(ink.bottom, 12);
}

TEST(QhtmRender, MeasuringAndRefusals) {
  Canvas canvas(100, 100);
  const UINT one = QHTM_GetHTMLHeight(canvas.dc(), u"line", nullptr, QHTM_SOURCE_TEXT, 100);
  EXPECT_GT(one, 0u);
  EXPECT_EQ(QHTM_GetHTMLHeight(canvas.dc(), u"line<br>line", nullptr, QHTM_SOURCE_TEXT, 100), 2 * one);
  EXPECT_EQ(QHTM_GetHTMLHeight(canvas.dc(), u"", nullptr, QHTM_SOURCE_TEXT, 100), 0u);
  const RECT box{0, 0, 10, 10};
  EXPECT_FALSE(QHTM_RenderHTMLRect(nullptr, u"x", nullptr, QHTM_SOURCE_TEXT, &box));
  EXPECT_FALSE(QHTM_RenderHTMLRect(canvas.dc(), nullptr, nullptr, QHTM_SOURCE_TEXT, &box));
  EXPECT_FALSE(QHTM_RenderHTMLRect(canvas.dc(), u"x", nullptr, QHTM_SOURCE_TEXT, nullptr));
  EXPECT_FALSE(QHTM_RenderHTMLRect(canvas.dc(), u"x", nullptr, 2, &box));  // not given as text
}

}  // namespace
}  // namespace zx::test
