// Minimise and restore animations: SPI_GETANIMATION answers the machine's setting, and
// DrawAnimatedRects checks its arguments and draws nothing.
#include <gtest/gtest.h>

#include "errhandlingapi.h"
#include "machine_fixture.h"
#include "windows.h"

namespace {

class Animation : public zx::test::MachineTest {
 protected:
  void SetMachineIni(const std::string& text) { WriteHostFile(root() + "/machine.ini", text); }

  static int MinAnimate() {
    ANIMATIONINFO info{sizeof info, -1};
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETANIMATION, sizeof info, &info, 0));
    return info.iMinAnimate;
  }
};

TEST_F(Animation, RecordKeepsItsLayout) {
  EXPECT_EQ(SPI_GETANIMATION, 0x48u);
  EXPECT_EQ(sizeof(ANIMATIONINFO), 8u);
  EXPECT_EQ(IDANI_CAPTION, 3);
}

TEST_F(Animation, OffUnlessTheMachineSaysSo) {
  EXPECT_EQ(MinAnimate(), 0);
  SetMachineIni("[Desktop]\nMinAnimate=1\n");
  EXPECT_EQ(MinAnimate(), 1);
  SetMachineIni("[Desktop]\nMinAnimate = 0\n");
  EXPECT_EQ(MinAnimate(), 0);
  SetMachineIni("[Desktop]\nMinAnimate=yes\n");
  EXPECT_EQ(MinAnimate(), 0);
}

TEST_F(Animation, OtherRecordSizesAreRefused) {
  SetMachineIni("[Desktop]\nMinAnimate=1\n");
  ANIMATIONINFO info{sizeof info, 7};
  SetLastError(0);
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETANIMATION, 4, &info, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  info.cbSize = 12;
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETANIMATION, sizeof info, &info, 0));
  EXPECT_EQ(info.iMinAnimate, 7);
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETANIMATION, sizeof info, nullptr, 0));
}

TEST_F(Animation, CaptionAnimationDrawsNothingAndSucceeds) {
  const RECT from{100, 100, 872, 683}, to{1776, 1040, 1848, 1080};
  EXPECT_TRUE(DrawAnimatedRects(nullptr, IDANI_CAPTION, &from, &to));
  EXPECT_TRUE(DrawAnimatedRects(nullptr, IDANI_CAPTION, &to, &from));
}

TEST_F(Animation, BadArgumentsAreRefused) {
  const RECT from{0, 0, 10, 10}, to{20, 20, 30, 30};
  SetLastError(0);
  EXPECT_FALSE(DrawAnimatedRects(nullptr, 2, &from, &to));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(DrawAnimatedRects(nullptr, IDANI_CAPTION, nullptr, &to));
  EXPECT_FALSE(DrawAnimatedRects(nullptr, IDANI_CAPTION, &from, nullptr));
  EXPECT_FALSE(DrawAnimatedRects(reinterpret_cast<HWND>(0x7ffffff0), IDANI_CAPTION, &from, &to));
}

}  // namespace
