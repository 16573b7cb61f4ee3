// The icon button: the strip state with focus counted as hover, the icon strip's state at
// (38,3), and the caption in the icon colours or embossed without an icon.
#include <gtest/gtest.h>

#include "MyHoverButton.h"
#include "buttons_testing.h"

namespace zx::test {
namespace {

constexpr COLORREF kNormal = 0xE8E8E8, kPressed = 0xB0B0E8, kHover = 0xB0E8B0;
constexpr COLORREF kIconNormal = 0x0000C0, kIconPressed = 0xC00000, kIconHover = 0x00C000;
constexpr UINT kId = 801;

class IconButton : public ButtonTest {
 protected:
  void SetUp() override {
    ButtonTest::SetUp();
    Place(button_, kId, u"", 10, 10, 240, 30);
    button_.SetBitmap(MakeStrip(240, 30, {kNormal, kPressed, kHover}));
    button_.SetCaption(u"Backup");
  }
  CMyHoverButton button_;
};

TEST_F(IconButton, TheIconStripIsCutIntoThreeStates) {
  button_.SetIconBitmap(MakeStrip(16, 16, {kIconNormal, kIconPressed, kIconHover}));
  EXPECT_EQ(button_.GetIconWidth(), 16);
}

TEST_F(IconButton, TheIconFollowsTheButtonsState) {
  button_.SetIconBitmap(MakeStrip(16, 16, {kIconNormal, kIconPressed, kIconHover}));
  Picture picture = Snap(button_.GetSafeHwnd());
  EXPECT_EQ(picture.At(38, 3), kIconNormal);
  EXPECT_EQ(picture.At(53, 18), kIconNormal);
  EXPECT_EQ(picture.At(37, 3), kNormal);
  EXPECT_EQ(picture.At(54, 3), kNormal);

  Hover(button_.GetSafeHwnd());
  picture = Snap(button_.GetSafeHwnd());
  EXPECT_EQ(picture.At(38, 3), kIconHover);
  EXPECT_EQ(picture.At(2, 2), kHover);

  Press(button_.GetSafeHwnd());
  picture = Snap(button_.GetSafeHwnd());
  EXPECT_EQ(picture.At(38, 3), kIconPressed);
  EXPECT_EQ(picture.At(2, 2), kPressed);
  EXPECT_GT(picture.Count(0xFFFFFF), 5);  // the caption turns white
  Release(button_.GetSafeHwnd());
  EXPECT_EQ(parent_.clicks.size(), 1u);
}

TEST_F(IconButton, WithAnIconTheCaptionIsDrawnInTheIconColour) {
  button_.SetIconBitmap(MakeStrip(16, 16, {kIconNormal, kIconPressed, kIconHover}));
  EXPECT_GT(Snap(button_.GetSafeHwnd()).Count(0x483F36), 5);
}

TEST_F(IconButton, WithoutAnIconTheCaptionIsEmbossed) {
  const Picture picture = Snap(button_.GetSafeHwnd());
  EXPECT_GT(picture.Near(0x2D6F2D, 40), 5);
  EXPECT_GT(picture.Count(0xF5F5F5), 5);
}

TEST_F(IconButton, ADisabledButtonShowsTheFourthImageOnlyOfAFourStateStrip) {
  button_.EnableWindow(FALSE);
  EXPECT_EQ(Snap(button_.GetSafeHwnd()).At(2, 2), kNormal);
  button_.SetFourState(TRUE);
  // A strip handed over is cut in three: only a loaded one has a fourth image.
  button_.SetBitmap(MakeStrip(240, 30, {kNormal, kPressed, kHover, 0x909090}));
  EXPECT_EQ(Snap(button_.GetSafeHwnd()).At(2, 2), kNormal);
  ASSERT_TRUE(button_.LoadBitmap(3004));
  EXPECT_EQ(Snap(button_.GetSafeHwnd()).At(2, 2), 0xA0A0A0u);
}

TEST_F(IconButton, FocusIsDrawnAsHover) {
  button_.SetFocus();
  EXPECT_EQ(Snap(button_.GetSafeHwnd()).At(2, 2), kHover);
}

}  // namespace
}  // namespace zx::test
