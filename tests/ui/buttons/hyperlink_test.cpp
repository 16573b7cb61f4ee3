// The link button: its caption colours, underlined only while hovered or pressed unless
// always underlined, the plain or see-through background, its own font, and the caption's
// measured size.
#include <gtest/gtest.h>

#include "HalvoranApp.h"
#include "HyperLinkBtn.h"
#include "buttons_testing.h"

namespace zx::test {
namespace {

constexpr UINT kId = 701;
constexpr COLORREF kLink = 0x1B1209;

class HyperLink : public ButtonTest {
 protected:
  void SetUp() override {
    ButtonTest::SetUp();
    Place(link_, kId, u"Check for updates", 10, 10, 160, 24);
    // One colour for every state, so that underlining alone changes the count of its pixels.
    link_.SetHoverColour(kLink);
    link_.SetPressedColour(kLink);
    link_.SetBold();
  }
  int Ink() { return Snap(link_.GetSafeHwnd()).Count(kLink); }
  CHyperLinkBtn link_;
};

TEST_F(HyperLink, DrawsItsCaptionInTheNormalColourOnWhite) {
  const Picture picture = Snap(link_.GetSafeHwnd());
  EXPECT_EQ(picture.At(0, 0), RGB(255, 255, 255));
  EXPECT_GT(picture.Near(kLink, 8), 20);
}

TEST_F(HyperLink, IsUnderlinedOnlyWhileHovered) {
  const int plain = Ink();
  Hover(link_.GetSafeHwnd());
  const int hovered = Ink();
  EXPECT_GT(hovered, plain);
  Leave();
  EXPECT_EQ(Ink(), plain);
}

TEST_F(HyperLink, IsUnderlinedWhilePressed) {
  const int plain = Ink();
  Hover(link_.GetSafeHwnd());
  Press(link_.GetSafeHwnd());
  EXPECT_GT(Ink(), plain);
  Release(link_.GetSafeHwnd());
  ASSERT_EQ(parent_.clicks.size(), 1u);
  EXPECT_EQ(parent_.clicks[0], kId);
}

TEST_F(HyperLink, UnderlineAlwaysLooksTheSameHoveredOrNot) {
  link_.SetUnderlineAlways(TRUE);
  const int plain = Ink();
  Hover(link_.GetSafeHwnd());
  EXPECT_EQ(Ink(), plain);
}

TEST_F(HyperLink, HoverUsesTheHoverColour) {
  link_.SetHoverColour(0x6C482D);
  Hover(link_.GetSafeHwnd());
  const Picture picture = Snap(link_.GetSafeHwnd());
  EXPECT_GT(picture.Near(0x6C482D, 8), 20);
  EXPECT_EQ(picture.Count(kLink), 0);
}

TEST_F(HyperLink, ADisabledLinkUsesTheDisabledColour) {
  link_.EnableWindow(FALSE);
  const Picture picture = Snap(link_.GetSafeHwnd());
  EXPECT_GT(picture.Near(0x7E7575, 8), 20);
  EXPECT_EQ(picture.Count(kLink), 0);
}

TEST_F(HyperLink, ATransparentLinkShowsTheParentsBackground) {
  link_.SetTransparent(TRUE);
  const Picture picture = Snap(link_.GetSafeHwnd());
  EXPECT_EQ(picture.At(0, 0), kParentColour);
  EXPECT_EQ(picture.At(159, 23), kParentColour);
  EXPECT_EQ(picture.Count(RGB(255, 255, 255)), 0);
}

TEST_F(HyperLink, AnOpaqueLinkFillsItsBackgroundColour) {
  link_.SetBackgroundColour(0xE0F0F0);
  EXPECT_EQ(Snap(link_.GetSafeHwnd()).At(159, 0), 0xE0F0F0u);
}

TEST_F(HyperLink, TheCaptionIsMeasuredAgainAfterANewText) {
  EXPECT_EQ(link_.GetTextWidth(), 0);
  Snap(link_.GetSafeHwnd());
  const int longer = link_.GetTextWidth();
  EXPECT_GT(longer, 0);
  EXPECT_GT(link_.GetTextHeight(), 0);
  link_.SetLinkText(u"Help");
  Snap(link_.GetSafeHwnd());
  EXPECT_GT(link_.GetTextWidth(), 0);
  EXPECT_LT(link_.GetTextWidth(), longer);
}

TEST_F(HyperLink, AnOwnFontIsMeasuredInItsSize) {
  Snap(link_.GetSafeHwnd());
  const int shared = link_.GetTextHeight();
  LOGFONTW big{};
  GetBaseLogFont(big);
  big.lfHeight = -24;
  link_.SetOwnFont(big);
  Snap(link_.GetSafeHwnd());
  EXPECT_GT(link_.GetTextHeight(), shared);
}

}  // namespace
}  // namespace zx::test
