// The launcher's buttons: engraved captions, the title and description of the big buttons,
// the program buttons' caption colours, and clicks without any of their pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "LauncherBigButtons.h"
#include "LauncherLeftSideBtns.h"
#include "LauncherProgBtns.h"
#include "buttons_testing.h"

namespace zx::test {
namespace {

constexpr UINT kId = 1001;
using Launcher = ButtonTest;

// Pixels near `colour` inside the rectangle.
int NearIn(const Picture& picture, COLORREF colour, const CRect& area) {
  int n = 0;
  for (int y = area.top; y < area.bottom && y < picture.height; ++y)
    for (int x = area.left; x < area.right && x < picture.width; ++x) {
      const COLORREF p = picture.At(x, y);
      n += std::abs(GetRValue(p) - GetRValue(colour)) <= 24 && std::abs(GetGValue(p) - GetGValue(colour)) <= 24 &&
           std::abs(GetBValue(p) - GetBValue(colour)) <= 24;
    }
  return n;
}

TEST_F(Launcher, TheLeftSideCaptionIsEngravedFromEighteenPixelsIn) {
  CLauncherLeftSideBtns button;
  Place(button, kId, u"Tools", 10, 10, 160, 26);
  const Picture picture = Snap(button.GetSafeHwnd());
  EXPECT_EQ(NearIn(picture, 0x1B1209, CRect(0, 0, 17, 26)), 0);
  EXPECT_GT(NearIn(picture, 0x1B1209, CRect(17, 0, 160, 26)), 5);
  EXPECT_GT(NearIn(picture, 0xD8CFC6, CRect(17, 0, 160, 26)), 0);
}

TEST_F(Launcher, TheBigButtonDrawsItsTitleAboveItsDescription) {
  CLauncherBigButtons button;
  Place(button, kId, u"Driver updates", 10, 10, 280, 66);
  button.SetDescription(u"Keeps every driver of this computer current");
  EXPECT_FALSE(button.SetIconPng(64999));
  const Picture picture = Snap(button.GetSafeHwnd());
  EXPECT_EQ(NearIn(picture, 0x362D12, CRect(0, 0, 84, 66)), 0);
  EXPECT_GT(NearIn(picture, 0x362D12, CRect(85, 12, 280, 35)), 5);
  EXPECT_GT(NearIn(picture, 0x362D12, CRect(85, 38, 280, 60)), 5);
  Hover(button.GetSafeHwnd());
  EXPECT_GT(NearIn(Snap(button.GetSafeHwnd()), 0x993F09, CRect(85, 12, 280, 60)), 5);
}

TEST_F(Launcher, TheProgramButtonsCaptionTurnsGreenWhenHovered) {
  CLauncherProgBtns button;
  Place(button, kId, u"Backup", 10, 10, 160, 30);
  const CRect all(0, 0, 160, 30);
  EXPECT_GT(NearIn(Snap(button.GetSafeHwnd()), 0x5A5148, all), 5);
  Hover(button.GetSafeHwnd());
  const Picture hovered = Snap(button.GetSafeHwnd());
  EXPECT_GT(NearIn(hovered, 0x296C09, all), 5);
  EXPECT_EQ(NearIn(hovered, 0x5A5148, all), 0);
}

TEST_F(Launcher, EveryKindClicksWithoutItsPictures) {
  CLauncherLeftSideBtns left;
  CLauncherBigButtons big;
  CLauncherProgBtns prog;
  Place(left, kId, u"Tools", 10, 10, 160, 26);
  Place(big, kId + 1, u"Updates", 10, 40, 200, 66);
  Place(prog, kId + 2, u"Backup", 10, 110, 160, 30);
  for (CWnd* button : std::initializer_list<CWnd*>{&left, &big, &prog}) {
    Hover(button->GetSafeHwnd());
    Press(button->GetSafeHwnd());
    Snap(button->GetSafeHwnd());
    Release(button->GetSafeHwnd());
  }
  EXPECT_EQ(parent_.clicks, (std::vector<UINT>{kId, kId + 1, kId + 2}));
}

}  // namespace
}  // namespace zx::test
