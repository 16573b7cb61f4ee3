// The text button: the caption drawn in the normal, hover, pressed and disabled colours
// over the strip, the light and dark looks with their shadows, and a reference picture of its
// states.
#include <gtest/gtest.h>

#include <string>

#include "DlgButtonStyles.h"
#include "HalvoranApp.h"
#include "HoverButtonWithText.h"
#include "buttons_testing.h"
#include "zx/gdi.h"
#include "zx/windowpaint.h"
#include "snapshot_compare.h"

namespace zx::test {
namespace {

constexpr COLORREF kNormal = 0xF0F0F0, kPressed = 0xD0D0F0, kHover = 0xD0F0D0, kDisabled = 0xC0C0C0;
constexpr UINT kId = 601;

class TextButton : public ButtonTest {
 protected:
  void SetUp() override {
    ButtonTest::SetUp();
    Place(button_, kId, u"Scan Now", 10, 10, 90, 24);
    button_.SetFourState(TRUE);
    ASSERT_TRUE(button_.LoadBitmap(3005));  // kNormal, kPressed, kHover, kDisabled
    button_.SetBoldAlways(TRUE);
  }
  // Pixels of the button in exactly `colour`.
  int Caption(COLORREF colour) { return Snap(button_.GetSafeHwnd()).Count(colour); }
  CHoverButtonWithText button_;
};

TEST_F(TextButton, StartsWithTheFamilyCaptionColours) {
  CHoverButtonWithText fresh;
  EXPECT_EQ(fresh.GetNormalColour(), 0x1B1209u);
  EXPECT_EQ(fresh.GetHoverColour(), 0x6C482Du);
  EXPECT_EQ(fresh.GetPressedColour(), 0x5A361Bu);
  EXPECT_EQ(fresh.GetDisabledColour(), 0xE4EDF6u);
}

TEST_F(TextButton, TheCaptionIsDrawnInTheNormalColourOverTheNormalImage) {
  const Picture picture = Snap(button_.GetSafeHwnd());
  EXPECT_EQ(picture.At(1, 1), kNormal);
  EXPECT_GT(picture.Count(0x1B1209), 10);
  EXPECT_EQ(picture.Count(0x6C482D), 0);
}

TEST_F(TextButton, HoverAndPressChangeTheCaptionColour) {
  Hover(button_.GetSafeHwnd());
  EXPECT_GT(Caption(0x6C482D), 10);
  EXPECT_EQ(Caption(0x1B1209), 0);
  Press(button_.GetSafeHwnd());
  EXPECT_GT(Caption(0x5A361B), 10);
  EXPECT_EQ(Caption(0x6C482D), 0);
  Release(button_.GetSafeHwnd());
  Leave();
  EXPECT_GT(Caption(0x1B1209), 10);
  EXPECT_EQ(parent_.clicks.size(), 1u);
}

TEST_F(TextButton, ADisabledFourStateButtonUsesTheDisabledColour) {
  button_.SetDisabledColour(0x7E7575);
  button_.EnableWindow(FALSE);
  const Picture picture = Snap(button_.GetSafeHwnd());
  EXPECT_EQ(picture.At(1, 1), kDisabled);
  EXPECT_GT(picture.Count(0x7E7575), 10);
  EXPECT_EQ(picture.Count(0x1B1209), 0);
}

// The default disabled colour is a colour value (no flag byte above the 24 colour bits).
TEST_F(TextButton, ADisabledButtonDrawsItsCaptionInTheDefaultDisabledColour) {
  button_.EnableWindow(FALSE);
  const Picture picture = Snap(button_.GetSafeHwnd());
  EXPECT_EQ(picture.At(1, 1), kDisabled);
  EXPECT_GT(picture.Count(0xE4EDF6), 10);
  EXPECT_EQ(picture.Count(0x1B1209), 0);
}

TEST_F(TextButton, AShadowIsDrawnBelowAndRightOfTheCaption) {
  EXPECT_EQ(Caption(0xCFC6BD), 0);
  button_.SetShadow(TRUE);
  EXPECT_GT(Caption(0xCFC6BD), 5);
}

// The dialogs' two looks shadow their captions in their own colours.
TEST_F(TextButton, TheLightAndDarkLooksShadowTheirCaptionsInTheirOwnColours) {
  const struct {
    void (*apply)(CHoverButtonWithText&);
    COLORREF shadow;
  } kLooks[] = {{ApplyLightTextButtonStyle, 0xA7A49E}, {ApplyDarkTextButtonStyle, 0xA29990}};
  for (const auto& look : kLooks) {
    look.apply(button_);
    button_.SetBitmap(MakeStrip(90, 24, {kNormal, kPressed, kHover, kDisabled}));
    button_.SetMediumWeight(FALSE);  // bold strokes keep whole shadow pixels
    EXPECT_EQ(button_.GetShadowColour(), look.shadow);
    EXPECT_GT(Caption(look.shadow), 5) << std::hex << look.shadow;
    EXPECT_EQ(Caption(0xCFC6BD), 0) << std::hex << look.shadow;
  }
}

TEST_F(TextButton, BoldAndUnderlineOnHoverAddInk) {
  button_.SetBoldAlways(FALSE);
  button_.SetColours(0x1B1209, 0x1B1209, 0x1B1209);
  Hover(button_.GetSafeHwnd());
  const int plainHover = Snap(button_.GetSafeHwnd()).Near(0x1B1209, 40);
  button_.SetBoldOnHover(TRUE);
  const int boldHover = Snap(button_.GetSafeHwnd()).Near(0x1B1209, 40);
  EXPECT_GT(boldHover, plainHover);
  button_.SetUnderlineOnHover(TRUE);
  EXPECT_GT(Snap(button_.GetSafeHwnd()).Near(0x1B1209, 40), boldHover);
  Leave();
  EXPECT_LT(Snap(button_.GetSafeHwnd()).Near(0x1B1209, 40), boldHover);
}

TEST_F(TextButton, AnOwnFontHeightMakesALargerCaption) {
  const int shared = Snap(button_.GetSafeHwnd()).Near(0x1B1209, 40);
  button_.SetOwnFontHeight(-18);
  EXPECT_GT(Snap(button_.GetSafeHwnd()).Near(0x1B1209, 40), shared);
  EXPECT_EQ(button_.GetCaptionFont().lfHeight, -18);
}

TEST_F(TextButton, ARightInsetKeepsTheCaptionOutOfTheRightEdge) {
  button_.SetTextLeft(4);
  button_.SetWindowText(u"Scan Now Scan Now Scan Now");
  button_.SetInsets(40, -1);
  const Picture picture = Snap(button_.GetSafeHwnd());
  for (int y = 0; y < picture.height; ++y)
    for (int x = 50; x < 90; ++x) ASSERT_EQ(picture.At(x, y), kNormal) << x << "," << y;
}

TEST_F(TextButton, ALeftAlignedCaptionStartsAtTheTextLeft) {
  button_.SetTextLeft(50);
  const Picture picture = Snap(button_.GetSafeHwnd());
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < 50; ++x) ASSERT_EQ(picture.At(x, y), kNormal) << x << "," << y;
}

TEST_F(TextButton, TheDarkLookSetsItsColoursBoldAndTheDisabledShade) {
  CHoverButtonWithText::SetStyle(button_, TRUE, FALSE, FALSE);
  EXPECT_EQ(button_.GetNormalColour(), 0x361209u);
  EXPECT_EQ(button_.GetHoverColour(), 0x3F0912u);
  EXPECT_EQ(button_.GetPressedColour(), 0x481212u);
  EXPECT_EQ(button_.GetDisabledColour(), 0xA29990u);
  EXPECT_EQ(button_.GetCaptionFont().lfWeight, FW_BOLD);
}

TEST_F(TextButton, TheLightLookIsNearWhiteInEveryState) {
  CHoverButtonWithText::SetStyle(button_, TRUE, TRUE, TRUE);
  EXPECT_EQ(button_.GetNormalColour(), 0xFFFCFCu);
  EXPECT_EQ(button_.GetHoverColour(), 0xFFFCFCu);
  EXPECT_EQ(button_.GetPressedColour(), 0xFFFCFCu);
  EXPECT_EQ(button_.GetDisabledColour(), 0xA7A49Eu);
  LOGFONTW base{};
  GetBaseLogFont(base);
  EXPECT_EQ(button_.GetCaptionFont().lfHeight, base.lfHeight);
}

TEST_F(TextButton, ALookWithoutFourStatesKeepsTheDisabledColour) {
  CHoverButtonWithText::SetStyle(button_, FALSE, FALSE, FALSE);
  EXPECT_EQ(button_.GetDisabledColour(), 0xE4EDF6u);
}

// The normal, hovered, pressed and disabled button side by side against the reference.
TEST_F(TextButton, TheStatesMatchTheReferencePicture) {
  CHoverButtonWithText hovered, pressed, disabled;
  CHoverButtonWithText* others[] = {&hovered, &pressed, &disabled};
  for (int i = 0; i < 3; ++i) {
    Place(*others[i], kId + 1 + i, u"Scan Now", 10, 40 + 30 * i, 90, 24);
    others[i]->SetFourState(TRUE);
    ASSERT_TRUE(others[i]->LoadBitmap(3005));
    others[i]->SetBoldAlways(TRUE);
  }
  hovered.m_bHighlighted = TRUE;
  pressed.SetStickyPressed(TRUE);
  disabled.EnableWindow(FALSE);
  Paint();

  TempFolder temp;
  const std::string drawn = temp.path() + "/textbutton.png";
  ASSERT_TRUE(zx::user::SaveWindowPng(parent_.GetSafeHwnd(), drawn));
  const std::string reference = std::string(ZX_BUTTON_SNAPSHOTS) + "/textbutton.png";
  ExpectSameAsReference(drawn, reference, "textbutton");
}

}  // namespace
}  // namespace zx::test
