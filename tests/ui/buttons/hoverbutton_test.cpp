// The bitmap button: strips cut into states, the state shown for normal, hover, press,
// sticky press and disabled, hover tracking through injected pointer moves, the click
// reaching the parent, and pictures that are missing.
#include <gtest/gtest.h>

#include "HoverButton.h"
#include "buttons_testing.h"
#include "zx/input.h"

namespace zx::test {
namespace {

constexpr COLORREF kNormal = 0x202020, kPressed = 0x4040C0, kHover = 0x40C040, kDisabled = 0xA0A0A0;
constexpr UINT kId = 501;
constexpr UINT kFourStateStrip = 3004;  // kNormal, kPressed, kHover, kDisabled

using HoverButton = ButtonTest;

TEST_F(HoverButton, AThreeImageStripGivesStatesOfAThirdOfItsWidth) {
  CHoverButton button;
  Place(button, kId, u"", 10, 10, 80, 40);
  ASSERT_TRUE(button.SetBitmap(MakeStrip(30, 18, {kNormal, kPressed, kHover})));
  EXPECT_EQ(button.GetStateWidth(), 30);
  EXPECT_EQ(button.GetStateHeight(), 18);
  CRect rect;
  button.GetClientRect(&rect);
  EXPECT_EQ(rect.Width(), 30);
  EXPECT_EQ(rect.Height(), 18);
}

// A loaded strip is cut in four with the four-state switch on, else in three; a strip handed
// over is always cut in three.
TEST_F(HoverButton, StatesAreCutByHowTheStripCame) {
  struct Case {
    bool loaded;
    BOOL fourState;
    int width;
  };
  for (const Case& c : {Case{false, FALSE, 30}, Case{false, TRUE, 30}, Case{true, FALSE, 18 / 3}, Case{true, TRUE, 18 / 4}}) {
    CHoverButton button;
    Place(button, kId, u"", 10, 10, 80, 40);
    button.SetFourState(c.fourState);
    ASSERT_TRUE(c.loaded ? button.LoadBitmap(3003) : button.SetBitmap(MakeStrip(30, 18, {kNormal, kPressed, kHover})));
    EXPECT_EQ(button.GetStateWidth(), c.width) << c.loaded << c.fourState;
    button.DestroyWindow();
  }
}

TEST_F(HoverButton, SubclassingMakesTheButtonOwnerDrawn) {
  CHoverButton button;
  Place(button, kId, u"", 10, 10, 30, 18);
  EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
}

TEST_F(HoverButton, ADialogsPlainButtonBecomesOwnerDrawnWhenSubclassed) {
  HWND plain = ::CreateWindowExW(0, u"Button", u"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 30, 18,
                                 parent_.GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kId)), nullptr,
                                 nullptr);
  ASSERT_NE(plain, nullptr);
  CHoverButton button;
  ASSERT_TRUE(button.SubclassDlgItem(kId, &parent_));
  EXPECT_EQ(::GetWindowLongW(plain, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  button.SetBitmap(MakeStrip(30, 18, {kNormal, kPressed, kHover}));
  EXPECT_EQ(Snap(plain).At(15, 9), kNormal);
}

TEST_F(HoverButton, ShowsNormalThenHoverThenPressedThenNormalAfterLeaving) {
  CHoverButton button;
  Place(button, kId, u"", 10, 10, 30, 18);
  button.SetBitmap(MakeStrip(30, 18, {kNormal, kPressed, kHover}));
  EXPECT_EQ(Snap(button.GetSafeHwnd()).At(15, 9), kNormal);

  Hover(button.GetSafeHwnd());
  EXPECT_TRUE(button.IsHovered());
  EXPECT_EQ(Snap(button.GetSafeHwnd()).At(15, 9), kHover);

  Press(button.GetSafeHwnd());
  EXPECT_EQ(Snap(button.GetSafeHwnd()).At(15, 9), kPressed);
  Release(button.GetSafeHwnd());
  EXPECT_EQ(Snap(button.GetSafeHwnd()).At(15, 9), kHover);

  Leave();
  EXPECT_FALSE(button.IsHovered());
  EXPECT_FALSE(button.IsTracking());
  EXPECT_EQ(Snap(button.GetSafeHwnd()).At(15, 9), kNormal);
}

TEST_F(HoverButton, HoverWaitsForTheHoverTime) {
  CHoverButton button;
  Place(button, kId, u"", 10, 10, 30, 18);
  button.SetBitmap(MakeStrip(30, 18, {kNormal, kPressed, kHover}));
  RECT r{};
  ::GetWindowRect(button.GetSafeHwnd(), &r);
  zx::user::InjectMouse(POINT{r.left + 3, r.top + 3}, WM_MOUSEMOVE);
  Pump();
  EXPECT_TRUE(button.IsTracking());
  EXPECT_FALSE(button.IsHovered());
  clock_.Advance(2);
  Pump();
  EXPECT_TRUE(button.IsHovered());
}

TEST_F(HoverButton, AClickReachesTheParentOnce) {
  CHoverButton button;
  Place(button, kId, u"", 10, 10, 30, 18);
  button.SetBitmap(MakeStrip(30, 18, {kNormal, kPressed, kHover}));
  Hover(button.GetSafeHwnd());
  Press(button.GetSafeHwnd());
  EXPECT_TRUE(parent_.clicks.empty());
  Release(button.GetSafeHwnd());
  ASSERT_EQ(parent_.clicks.size(), 1u);
  EXPECT_EQ(parent_.clicks[0], kId);
}

TEST_F(HoverButton, AHighlightedButtonLooksHovered) {
  CHoverButton button;
  Place(button, kId, u"", 10, 10, 30, 18);
  button.SetBitmap(MakeStrip(30, 18, {kNormal, kPressed, kHover}));
  button.m_bHighlighted = TRUE;
  EXPECT_EQ(Snap(button.GetSafeHwnd()).At(15, 9), kHover);
}

TEST_F(HoverButton, LoadingAStripClearsTheHighlight) {
  CHoverButton button;
  Place(button, kId, u"", 10, 10, 30, 18);
  button.m_bHighlighted = TRUE;
  button.SetBitmap(MakeStrip(30, 18, {kNormal, kPressed, kHover}));
  EXPECT_FALSE(button.m_bHighlighted);
}

TEST_F(HoverButton, AStickyPressedButtonShowsThePressedImageWhileHovered) {
  CHoverButton button;
  Place(button, kId, u"", 10, 10, 30, 18);
  button.SetBitmap(MakeStrip(30, 18, {kNormal, kPressed, kHover}));
  button.SetStickyPressed(TRUE);
  EXPECT_EQ(Snap(button.GetSafeHwnd()).At(15, 9), kPressed);
  Hover(button.GetSafeHwnd());
  EXPECT_EQ(Snap(button.GetSafeHwnd()).At(15, 9), kPressed);
}

TEST_F(HoverButton, ADisabledFourStateButtonShowsTheFourthImage) {
  CHoverButton button;
  Place(button, kId, u"", 10, 10, 30, 18);
  button.SetFourState(TRUE);
  ASSERT_TRUE(button.LoadBitmap(kFourStateStrip));
  button.EnableWindow(FALSE);
  EXPECT_EQ(Snap(button.GetSafeHwnd()).At(15, 9), kDisabled);
}

TEST_F(HoverButton, ADisabledThreeStateButtonShowsTheNormalImage) {
  CHoverButton button;
  Place(button, kId, u"", 10, 10, 30, 18);
  button.SetBitmap(MakeStrip(30, 18, {kNormal, kPressed, kHover}));
  button.EnableWindow(FALSE);
  EXPECT_EQ(Snap(button.GetSafeHwnd()).At(15, 9), kNormal);
}

TEST_F(HoverButton, ADisabledButtonNeitherHoversNorClicks) {
  CHoverButton button;
  Place(button, kId, u"", 10, 10, 30, 18);
  button.SetBitmap(MakeStrip(30, 18, {kNormal, kPressed, kHover}));
  button.EnableWindow(FALSE);
  Hover(button.GetSafeHwnd());
  Press(button.GetSafeHwnd());
  Release(button.GetSafeHwnd());
  EXPECT_FALSE(button.IsHovered());
  EXPECT_TRUE(parent_.clicks.empty());
}

TEST_F(HoverButton, AStripThatDoesNotLoadIsReportedAndTheButtonStillClicks) {
  CHoverButton button;
  Place(button, kId, u"", 10, 10, 30, 18);
  EXPECT_FALSE(button.LoadBitmap(64999));
  EXPECT_EQ(button.GetStateWidth(), 0);
  Snap(button.GetSafeHwnd());
  Hover(button.GetSafeHwnd());
  Press(button.GetSafeHwnd());
  Release(button.GetSafeHwnd());
  EXPECT_EQ(parent_.clicks.size(), 1u);
}

TEST_F(HoverButton, MissingThreePiecesAreReportedAndDrawNothing) {
  CHoverButton button;
  Place(button, kId, u"", 10, 10, 30, 18);
  EXPECT_FALSE(button.LoadThreePieces(64990, 64991, 64992, 60, 20));
  const Picture picture = Snap(button.GetSafeHwnd());
  EXPECT_EQ(picture.width, 60);
  EXPECT_EQ(picture.height, 20);
}

}  // namespace
}  // namespace zx::test
