// The three-piece button: each piece cut into its three states, the middle tiled across the
// button, the ends at the left and right edges, and the state following hover and press.
#include <gtest/gtest.h>

#include "HoverButton.h"
#include "buttons_testing.h"

namespace zx::test {
namespace {

constexpr UINT kId = 1201;
// The pieces' state colours (normal, pressed, hover), as COLORREF.
constexpr COLORREF kLeft[] = {RGB(0x10, 0, 0), RGB(0x20, 0, 0), RGB(0x30, 0, 0)};
constexpr COLORREF kMiddle[] = {RGB(0, 0x10, 0), RGB(0, 0x20, 0), RGB(0, 0x30, 0)};
constexpr COLORREF kRight[] = {RGB(0, 0, 0x10), RGB(0, 0, 0x20), RGB(0, 0, 0x30)};

class ThreePiece : public ButtonTest {
 protected:
  void SetUp() override {
    ButtonTest::SetUp();
    Place(button_, kId, u"", 10, 10, 20, 20);
    ASSERT_TRUE(button_.LoadThreePieces(3001, 3002, 3003, 60, 10));
  }
  // Left piece 4 wide, right piece 6 wide, the middle between them.
  void ExpectState(int state) {
    const Picture picture = Snap(button_.GetSafeHwnd());
    ASSERT_EQ(picture.width, 60);
    EXPECT_EQ(picture.At(0, 5), kLeft[state]);
    EXPECT_EQ(picture.At(3, 5), kLeft[state]);
    EXPECT_EQ(picture.At(4, 5), kMiddle[state]);
    EXPECT_EQ(picture.At(30, 5), kMiddle[state]);
    EXPECT_EQ(picture.At(53, 5), kMiddle[state]);
    EXPECT_EQ(picture.At(54, 5), kRight[state]);
    EXPECT_EQ(picture.At(59, 9), kRight[state]);
  }
  CHoverButton button_;
};

TEST_F(ThreePiece, TheButtonTakesTheGivenSize) {
  CRect rect;
  button_.GetClientRect(&rect);
  EXPECT_EQ(rect, CRect(0, 0, 60, 10));
  EXPECT_EQ(button_.GetStateWidth(), 60);
  EXPECT_EQ(button_.GetStateHeight(), 10);
}

TEST_F(ThreePiece, NormalHoverAndPressedStatesComeFromEachPiece) {
  ExpectState(0);
  Hover(button_.GetSafeHwnd());
  ExpectState(2);
  Press(button_.GetSafeHwnd());
  ExpectState(1);
  Release(button_.GetSafeHwnd());
  Leave();
  ExpectState(0);
  EXPECT_EQ(parent_.clicks.size(), 1u);
}

TEST_F(ThreePiece, AStripLoadedLaterReplacesThePieces) {
  button_.SetBitmap(MakeStrip(30, 18, {0x202020, 0x4040C0, 0x40C040}));
  EXPECT_EQ(Snap(button_.GetSafeHwnd()).At(2, 2), 0x202020u);
}

TEST_F(ThreePiece, AMissingPieceFailsTheLoadAndTheOthersAreStillDrawn) {
  EXPECT_FALSE(button_.LoadThreePieces(3001, 64999, 3003, 60, 10));
  const Picture picture = Snap(button_.GetSafeHwnd());
  EXPECT_EQ(picture.At(0, 5), kLeft[0]);
  EXPECT_EQ(picture.At(59, 5), kRight[0]);
}

}  // namespace
}  // namespace zx::test
