// The HTML text control: tags, attributes and entities turned into styled words, lines wrapped
// at spaces and broken by <br> and <p>, and the text drawn in its colours inside the
// rectangle, filled or transparent.
#include <gtest/gtest.h>

#include "gdi_testing.h"
#include "htmltext.h"
#include "qhtm.h"

namespace zx::test {
namespace {

using html::Piece;
using html::Style;

Style Base() {
  Style s;
  s.face = u"Tahoma";
  s.height = -12;
  return s;
}

std::vector<Piece> Words(const std::vector<Piece>& pieces) {
  std::vector<Piece> out;
  for (const Piece& p : pieces)
    if (!p.space) out.push_back(p);
  return out;
}

TEST(HtmlParse, TagsStyleTheirWords) {
  const auto pieces = Words(html::Parse(u"plain <b>bold <i>both</i></b> <u>under</u> <a href=\"x\">link</a>", Base()));
  ASSERT_EQ(pieces.size(), 5u);
  EXPECT_FALSE(pieces[0].style.bold);
  EXPECT_TRUE(pieces[1].style.bold);
  EXPECT_TRUE(pieces[2].style.bold && pieces[2].style.italic);
  EXPECT_TRUE(pieces[3].style.underline);
  EXPECT_FALSE(pieces[3].style.bold);
  EXPECT_EQ(pieces[4].style.colour, RGB(0, 0, 255));
  EXPECT_TRUE(pieces[4].style.underline);
}

TEST(HtmlParse, FontAttributesSetFaceSizeAndColour) {
  const auto pieces = Words(html::Parse(
      u"<font face=\"Verdana, Arial\" size=9pt color=#1B1209>a</font><FONT SIZE=5 COLOR='red'>b</FONT>"
      u"<font size=7px color=nonsense>c</font>d",
      Base()));
  ASSERT_EQ(pieces.size(), 4u);
  EXPECT_EQ(pieces[0].style.face, u"Verdana");
  EXPECT_EQ(pieces[0].style.height, -12);
  EXPECT_EQ(pieces[0].style.colour, RGB(0x1B, 0x12, 0x09));
  EXPECT_EQ(pieces[1].style.height, -24);  // size 5 is 18 points
  EXPECT_EQ(pieces[1].style.colour, RGB(255, 0, 0));
  EXPECT_EQ(pieces[2].style.height, -7);
  EXPECT_EQ(pieces[2].style.colour, 0u);  // an unknown colour leaves it
  EXPECT_EQ(pieces[3].style, Base());
}

TEST(HtmlParse, EntitiesAndWhiteSpace) {
  const auto pieces = html::Parse(u"  a&amp;b &lt;c&gt;\r\n\t &#65;&#x42;&nbsp;x &bogus; &#xD800; &", Base());
  std::u16string text;
  for (const Piece& p : pieces) text += p.text;
  EXPECT_EQ(text, u"a&b <c> AB\u00A0x &bogus; &#xD800; &");
}

TEST(HtmlParse, BreaksAndParagraphs) {
  const auto pieces = html::Parse(u"<p>one <br>two<p>three</p><!-- note --><unknown>four", Base());
  std::u16string shape;
  for (const Piece& p : pieces) shape += p.lineBreak ? u"|" : p.text;
  EXPECT_EQ(shape, u"one|two||three||four");
}

TEST(HtmlParse, UnclosedAndStrayTagsAreHarmless) {
  const auto pieces = Words(html::Parse(u"</b>x <b>y <font size=3>z</b> w <tag", Base()));
  ASSERT_EQ(pieces.size(), 5u);
  EXPECT_FALSE(pieces[0].style.bold);
  EXPECT_TRUE(pieces[2].style.bold);  // inside both
  EXPECT_FALSE(pieces[3].style.bold);  // </b> closed the font too
  EXPECT_EQ(pieces[4].text, u"<tag");
}

TEST(HtmlLayout, LinesWrapAtSpacesWithinTheWidth) {
  Canvas canvas(300, 200);
  const auto pieces = html::Parse(u"alpha beta gamma delta", Base());
  const html::Layout wide = html::Arrange(canvas.dc(), pieces, 1000);
  const html::Layout narrow = html::Arrange(canvas.dc(), pieces, 60);
  ASSERT_GT(wide.height, 0);
  EXPECT_EQ(narrow.height % wide.height, 0);
  EXPECT_GE(narrow.height / wide.height, 3);
  for (const html::Placed& p : narrow.placed) EXPECT_FALSE(p.x == 0 && p.piece->space);
  // A word wider than the width stands alone.
  const html::Layout tiny = html::Arrange(canvas.dc(), html::Parse(u"unbreakable", Base()), 5);
  EXPECT_EQ(tiny.height, wide.height);
}

TEST(HtmlLayout, ATallerFontMakesItsLineTallerAndSharesTheBaseline) {
  Canvas canvas(300, 200);
  const auto small = html::Arrange(canvas.dc(), html::Parse(u"a b", Base()), 300);
  const auto mixed = html::Arrange(canvas.dc(), html::Parse(u"a <font size=24px>b</font>", Base()), 300);
  EXPECT_GT(mixed.height, small.height);
  ASSERT_EQ(mixed.placed.size(), 3u);
  EXPECT_EQ(mixed.placed[0].baseline, mixed.placed[2].baseline);
  EXPECT_GT(mixed.placed[0].top, mixed.placed[2].top);
}

TEST(HtmlParse, ElementMarksTellWhichElementTextBelongsTo) {
  const auto pieces = Words(
      html::Parse(u"<zxel n=3>in <b><zxel n=12>deep</zxel> out</b></zxel> after <zxel n=x>bad</zxel>", Base()));
  ASSERT_EQ(pieces.size(), 5u);
  EXPECT_EQ(pieces[0].style.element, 3);
  EXPECT_EQ(pieces[1].style.element, 12);
  EXPECT_EQ(pieces[2].style.element, 3);
  EXPECT_TRUE(pieces[2].style.bold);
  EXPECT_EQ(pieces[3].style.element, -1);
  EXPECT_EQ(pieces[4].style.element, -1);
}

TEST(HtmlLayout, PlacedPiecesCarryTheirBoxes) {
  Canvas canvas(300, 200);
  const auto pieces = html::Parse(u"wide <font size=24px>Tall</font>", Base());
  const html::Layout layout = html::Arrange(canvas.dc(), pieces, 300);
  ASSERT_EQ(layout.placed.size(), 3u);
  for (std::size_t i = 0; i + 1 < layout.placed.size(); ++i)
    EXPECT_EQ(layout.placed[i].x + layout.placed[i].width, layout.placed[i + 1].x);
  EXPECT_GT(layout.placed[0].width, 0);
  EXPECT_GT(layout.placed[0].bottom, layout.placed[0].baseline);
  EXPECT_LE(layout.placed[2].bottom, layout.height);
  EXPECT_LT(layout.placed[2].top, layout.placed[0].top);
}

TEST(QhtmRender, DrawsInTheColoursAndFillsUnlessTransparent) {
  Canvas canvas(200, 60, RGB(255, 255, 255));
  SetBkColor(canvas.dc(), RGB(0, 255, 0));
  const RECT box{10, 10, 190, 50};
  ASSERT_TRUE(QHTM_RenderHTMLRect(canvas.dc(), u"<font color=#FF0000><b>Red</b></font> text", nullptr,
                                  QHTM_SOURCE_TEXT, &box));
  EXPECT_EQ(canvas.At(5, 5), RGB(255, 255, 255));    // outside the rectangle
  EXPECT_EQ(canvas.At(185, 45), RGB(0, 255, 0));     // filled with the background colour
  EXPECT_GT(canvas.Count(RGB(255, 0, 0), box), 10);  // the red word
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
