// The progress bar: ranges and their packed answers, positions kept inside the range,
// steps that start over, colours and the painted bar; CProgressCtrl over it.
#include <gtest/gtest.h>

#include "afxcmn.h"
#include "comctl_testing.h"

namespace zx::test {
namespace {

class Progress : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    bar_ = MakeChild(PROGRESS_CLASSW, 0, 1458, 102, 12);
    ASSERT_NE(bar_, nullptr);
  }
  LRESULT Send(UINT message, WPARAM w = 0, LPARAM l = 0) { return SendMessageW(bar_, message, w, l); }
  HWND bar_ = nullptr;
};

TEST_F(Progress, RangesAnswerThePreviousRangePacked) {
  EXPECT_EQ(Send(PBM_SETRANGE, 0, MAKELPARAM(0, 60)), MAKELONG(0, 100));
  EXPECT_EQ(Send(PBM_SETRANGE32, 10, 70000), MAKELONG(0, 60));
  PBRANGE range{};
  EXPECT_EQ(Send(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), 10);
  EXPECT_EQ(Send(PBM_GETRANGE, FALSE, 0), 70000);
  EXPECT_EQ(range.iLow, 10);
  EXPECT_EQ(range.iHigh, 70000);
}

TEST_F(Progress, PositionsStayInsideTheRange) {
  Send(PBM_SETRANGE, 0, MAKELPARAM(0, 60));
  EXPECT_EQ(Send(PBM_SETPOS, 1), 0);
  EXPECT_EQ(Send(PBM_SETPOS, 500), 1);
  EXPECT_EQ(Send(PBM_GETPOS), 60);
  EXPECT_EQ(Send(PBM_SETPOS, static_cast<WPARAM>(-5)), 60);
  EXPECT_EQ(Send(PBM_GETPOS), 0);
  EXPECT_EQ(Send(PBM_DELTAPOS, 25), 0);
  EXPECT_EQ(Send(PBM_DELTAPOS, static_cast<WPARAM>(-100)), 25);
  EXPECT_EQ(Send(PBM_GETPOS), 0);
  Send(PBM_SETPOS, 50);
  Send(PBM_SETRANGE32, 0, 20);  // a smaller range pulls the position in
  EXPECT_EQ(Send(PBM_GETPOS), 20);
  // A range of nothing holds the position at its one value.
  Send(PBM_SETRANGE, 0, MAKELPARAM(0, 0));
  Send(PBM_SETPOS, 1);
  EXPECT_EQ(Send(PBM_GETPOS), 0);
  // Extreme deltas do not overflow.
  Send(PBM_SETRANGE32, static_cast<WPARAM>(INT32_MIN), INT32_MAX);
  Send(PBM_SETPOS, static_cast<WPARAM>(INT32_MAX));
  Send(PBM_DELTAPOS, static_cast<WPARAM>(INT32_MAX));
  EXPECT_EQ(Send(PBM_GETPOS), INT32_MAX);
}

TEST_F(Progress, StepsStartOverPastTheEnd) {
  EXPECT_EQ(Send(PBM_SETSTEP, 30), 10);
  EXPECT_EQ(Send(PBM_STEPIT), 0);
  EXPECT_EQ(Send(PBM_STEPIT), 30);
  EXPECT_EQ(Send(PBM_STEPIT), 60);
  EXPECT_EQ(Send(PBM_GETPOS), 90);
  Send(PBM_STEPIT);  // 120 is past 100: starts over at 20
  EXPECT_EQ(Send(PBM_GETPOS), 20);
  Send(PBM_SETSTEP, static_cast<WPARAM>(-30));
  Send(PBM_STEPIT);  // -10 is before 0: from the end, 90
  EXPECT_EQ(Send(PBM_GETPOS), 90);
}

TEST_F(Progress, TheBarIsPaintedToThePosition) {
  EXPECT_EQ(Send(PBM_SETBARCOLOR, 0, RGB(0, 200, 0)), static_cast<LRESULT>(CLR_DEFAULT));
  EXPECT_EQ(Send(PBM_SETBKCOLOR, 0, RGB(250, 250, 250)), static_cast<LRESULT>(CLR_DEFAULT));
  Send(PBM_SETPOS, 50);
  PaintNow(parent_);
  // 100 pixels inside a one-pixel frame: the first 50 are the bar.
  EXPECT_EQ(PixelOf(bar_, 1, 5), RGB(0, 200, 0));
  EXPECT_EQ(PixelOf(bar_, 50, 5), RGB(0, 200, 0));
  EXPECT_EQ(PixelOf(bar_, 51, 5), RGB(250, 250, 250));
  EXPECT_EQ(PixelOf(bar_, 0, 5), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(Progress, CProgressCtrlReachesTheBar) {
  CProgressCtrl progress;
  ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(70, 195, 315, 211), CWnd::FromHandle(parent_), 7));
  progress.SetRange(0, 5);
  EXPECT_EQ(progress.SetPos(1), 0);
  EXPECT_EQ(progress.OffsetPos(10), 1);
  EXPECT_EQ(progress.GetPos(), 5);
  int low = -1, high = -1;
  progress.GetRange(low, high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 5);
  progress.SetRange32(0, 1000);
  EXPECT_EQ(progress.SetStep(100), 10);
  progress.StepIt();
  EXPECT_EQ(progress.GetPos(), 105);
  EXPECT_EQ(progress.SetBarColor(RGB(1, 2, 3)), static_cast<COLORREF>(CLR_DEFAULT));
  EXPECT_EQ(progress.SetBkColor(RGB(4, 5, 6)), static_cast<COLORREF>(CLR_DEFAULT));
  progress.DestroyWindow();
}

}  // namespace
}  // namespace zx::test
