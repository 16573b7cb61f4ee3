// The left panel's numbered buttons and the picture button: the panel's slice behind the
// button, the caption colours and weight, the button's place in its parent, and pictures
// that are missing leaving the button working.
#include <gtest/gtest.h>

#include "DrawingHelpers.h"
#include "HoverButtonTextPng.h"
#include "HoverButtonWithText.h"
#include "LeftSideBtns.h"
#include "buttons_testing.h"
#include "libloaderapi.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

constexpr UINT kId = 901;

// The class library's resources come from qvxres, as in the programs.
class PanelButton : public ButtonTest {
 protected:
  void SetUp() override {
    ButtonTest::SetUp();
    library_ = LoadLibraryW(path::HostToWindows(ZX_QVXRES_FILE).c_str());
    ASSERT_NE(library_, nullptr);
    previous_ = AfxGetResourceHandle();
    AfxSetResourceHandle(library_);
  }
  void TearDown() override {
    AfxSetResourceHandle(previous_);
    ButtonTest::TearDown();
    FreeLibrary(library_);
  }
  HMODULE library_ = nullptr;
  HINSTANCE previous_ = nullptr;
};

using LeftSide = PanelButton;

TEST_F(LeftSide, StartsSeeThroughWithNumberZeroAndTheLeftPanelColours) {
  CLeftSideBtns button;
  EXPECT_EQ(button.GetNumberIndex(), 0);
  Place(button, kId, u"Scan", 20, 30, 170, 26);
  const Picture picture = Snap(button.GetSafeHwnd());
  EXPECT_GT(picture.Near(0x362D12, 16), 5);
  EXPECT_EQ(picture.Near(0x993F09, 16), 0);
}

TEST_F(LeftSide, TheButtonShowsItsSliceOfThePanelPicture) {
  CLeftSideBtns button;
  Place(button, kId, u"", 4, 30, 160, 26);
  const Picture picture = Snap(button.GetSafeHwnd());
  EXPECT_EQ(button.GetRectInParent(), CRect(4, 30, 164, 56));

  CBitmap panel;
  int width = 0, height = 0;
  ASSERT_TRUE(GetBitmapSize(1096, panel, width, height));
  CDC memory;
  memory.CreateCompatibleDC(nullptr);
  HGDIOBJ old = memory.SelectObject(static_cast<HGDIOBJ>(panel.GetSafeHandle()));
  for (const POINT at : {POINT{0, 0}, POINT{100, 13}, POINT{159, 25}})
    EXPECT_EQ(picture.At(at.x, at.y), memory.GetPixel(4 + at.x, 30 + at.y)) << at.x << "," << at.y;
  memory.SelectObject(old);
}

TEST_F(LeftSide, HoverTurnsTheCaptionToTheHoverColour) {
  CLeftSideBtns button;
  Place(button, kId, u"Scan", 20, 30, 170, 26);
  Hover(button.GetSafeHwnd());
  const Picture picture = Snap(button.GetSafeHwnd());
  EXPECT_GT(picture.Near(0x993F09, 16), 5);
  EXPECT_EQ(picture.Near(0x362D12, 16), 0);
}

TEST_F(LeftSide, AHighlightedButtonHasABoldHoverColouredCaption) {
  CLeftSideBtns plain, lit;
  Place(plain, kId, u"Scan", 20, 30, 170, 26);
  Place(lit, kId + 1, u"Scan", 20, 60, 170, 26);
  lit.m_bHighlighted = TRUE;
  const int plainInk = Snap(plain.GetSafeHwnd()).Near(0x362D12, 40);
  const int litInk = Snap(lit.GetSafeHwnd()).Near(0x993F09, 40);
  EXPECT_GT(litInk, plainInk);
}

TEST_F(LeftSide, WithoutItsPicturesTheButtonStillClicks) {
  CLeftSideBtns button;
  Place(button, kId, u"Scan", 20, 30, 170, 26);
  button.SetNumberImage(64999, 2);
  EXPECT_EQ(button.GetNumberIndex(), 2);
  Hover(button.GetSafeHwnd());
  Press(button.GetSafeHwnd());
  Snap(button.GetSafeHwnd());
  Release(button.GetSafeHwnd());
  ASSERT_EQ(parent_.clicks.size(), 1u);
  EXPECT_EQ(parent_.clicks[0], kId);
}

// The number picture's square at (11,1), 24 x 24.
std::vector<COLORREF> NumberSquare(const Picture& picture) {
  std::vector<COLORREF> square;
  for (int y = 1; y < 25; ++y)
    for (int x = 11; x < 35; ++x) square.push_back(picture.At(x, y));
  return square;
}

TEST_F(LeftSide, NumberIndexMinusOneDrawsNoNumberPicture) {
  CLeftSideBtns numbered, plain;
  Place(numbered, kId, u"", 4, 30, 160, 26);
  Place(plain, kId + 1, u"", 4, 60, 160, 26);
  plain.SetNumberIndex(-1);
  const std::vector<COLORREF> withNumber = NumberSquare(Snap(numbered.GetSafeHwnd()));
  const std::vector<COLORREF> without = NumberSquare(Snap(plain.GetSafeHwnd()));

  // Without a number the square shows the panel picture alone.
  CBitmap panel;
  int width = 0, height = 0;
  ASSERT_TRUE(GetBitmapSize(1096, panel, width, height));
  CDC memory;
  memory.CreateCompatibleDC(nullptr);
  HGDIOBJ old = memory.SelectObject(static_cast<HGDIOBJ>(panel.GetSafeHandle()));
  std::vector<COLORREF> panelAt30, panelAt60;
  for (int y = 1; y < 25; ++y)
    for (int x = 11; x < 35; ++x) {
      panelAt30.push_back(memory.GetPixel(4 + x, 30 + y));
      panelAt60.push_back(memory.GetPixel(4 + x, 60 + y));
    }
  memory.SelectObject(old);
  EXPECT_EQ(without, panelAt60);
  EXPECT_NE(withNumber, panelAt30);
}

using PictureButton = PanelButton;

TEST_F(PictureButton, ALoadedPngIsDrawnOverTheStrip) {
  CHoverButtonTextPng button;
  Place(button, kId, u"", 10, 10, 30, 18);
  button.SetBitmap(MakeStrip(30, 18, {0x202020, 0x4040C0, 0x40C040}));
  const Picture before = Snap(button.GetSafeHwnd());
  ASSERT_TRUE(button.LoadPng(1364));
  const Picture after = Snap(button.GetSafeHwnd());
  EXPECT_NE(before.pixels, after.pixels);
  // The last column is left to the strip.
  for (int y = 0; y < 18; ++y) EXPECT_EQ(after.At(29, y), 0x202020u);
}


TEST_F(PictureButton, AMissingPngIsReportedAndTheStripIsStillDrawn) {
  CHoverButtonTextPng button;
  Place(button, kId, u"", 10, 10, 30, 18);
  button.SetBitmap(MakeStrip(30, 18, {0x202020, 0x4040C0, 0x40C040}));
  EXPECT_FALSE(button.LoadPng(64999));
  EXPECT_EQ(button.GetPngId(), 64999u);
  EXPECT_EQ(Snap(button.GetSafeHwnd()).At(15, 9), 0x202020u);
  Hover(button.GetSafeHwnd());
  Press(button.GetSafeHwnd());
  Release(button.GetSafeHwnd());
  EXPECT_EQ(parent_.clicks.size(), 1u);
}

TEST_F(PictureButton, TheLightLookLoadsItsStripFromTheResourceLibrary) {
  CHoverButtonWithText button;
  Place(button, kId, u"OK", 10, 10, 30, 18);
  CHoverButtonWithText::SetStyle(button, FALSE, TRUE, FALSE);
  CBitmap strip;
  int width = 0, height = 0;
  ASSERT_TRUE(GetBitmapSize(1021, strip, width, height));
  EXPECT_EQ(button.GetStateWidth(), width / 3);
  EXPECT_EQ(button.GetStateHeight(), height);
}

}  // namespace
}  // namespace zx::test
