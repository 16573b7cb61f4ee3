// Tooltips: tools added, updated and removed, relayed events kept for tests, the tip shown
// after the initial delay on the layer's clock and hidden by a click; CToolTipCtrl over it.
#include <gtest/gtest.h>

#include "afxcmn.h"
#include "comctl_testing.h"
#include "zx/clock.h"
#include "zx/comctl.h"

namespace zx::test {
namespace {

class ToolTips : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    SetClock(&clock_);
    button_ = MakeChild(u"ZxComctlParent", 0, 300, 80, 24);
    ASSERT_TRUE(tip_.Create(CWnd::FromHandle(parent_)));
  }
  void TearDown() override {
    tip_.DestroyWindow();
    ControlTest::TearDown();
    SetClock(nullptr);
  }
  MSG Move(HWND window, int x, int y) { return MSG{window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y), 0, POINT{x, y}}; }
  void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  ManualClock clock_;
  HWND button_ = nullptr;
  CToolTipCtrl tip_;
};

TEST_F(ToolTips, ToolsAreAddedUpdatedAndRemoved) {
  EXPECT_TRUE(tip_.AddTool(CWnd::FromHandle(button_), u"Scan now"));
  const RECT area{0, 0, 50, 20};
  EXPECT_TRUE(tip_.AddTool(CWnd::FromHandle(parent_), 2001, &area, 7));
  EXPECT_EQ(tip_.GetToolCount(), 2);
  tip_.UpdateTipText(u"Scan again", CWnd::FromHandle(button_));
  WCHAR text[32] = {};
  TOOLINFO info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND;
  info.hwnd = parent_;
  info.uId = reinterpret_cast<UINT_PTR>(button_);
  info.lpszText = text;
  tip_.SendMessage(TTM_GETTEXTW, 32, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(std::u16string(text), u"Scan again");
  info = TOOLINFO{};
  info.cbSize = sizeof(info);
  info.hwnd = parent_;
  info.uId = 7;
  info.lpszText = text;
  tip_.SendMessage(TTM_GETTEXTW, 32, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(std::u16string(text), u"Scan for new drivers");  // string 2001 of the resources
  tip_.DelTool(CWnd::FromHandle(button_));
  EXPECT_EQ(tip_.GetToolCount(), 1);
  EXPECT_EQ(tip_.SetMaxTipWidth(200), -1);
  EXPECT_EQ(tip_.SetMaxTipWidth(300), 200);
}

TEST_F(ToolTips, RelayedEventsAreKept) {
  tip_.AddTool(CWnd::FromHandle(button_), u"Scan now");
  MSG move = Move(button_, 5, 5);
  MSG down{button_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5), 0, POINT{5, 5}};
  tip_.RelayEvent(&move);
  tip_.RelayEvent(&down);
  tip_.SendMessage(TTM_RELAYEVENT, 0, 0);  // nothing to relay: ignored
  const std::vector<MSG> events = zx::comctl::RelayedEvents(tip_);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].message, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(events[1].message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(events[1].hwnd, button_);
  EXPECT_TRUE(zx::comctl::RelayedEvents(button_).empty());
  for (int i = 0; i < 300; ++i) tip_.RelayEvent(&move);
  EXPECT_EQ(zx::comctl::RelayedEvents(tip_).size(), 256u);
}

TEST_F(ToolTips, TheTipShowsAfterTheDelayAndAClickHidesIt) {
  tip_.AddTool(CWnd::FromHandle(button_), u"Scan now");
  MSG move = Move(button_, 5, 5);
  tip_.RelayEvent(&move);
  Pump();
  EXPECT_FALSE(tip_.IsWindowVisible());
  clock_.Advance(600);
  Pump();
  EXPECT_TRUE(tip_.IsWindowVisible());
  CString shown;
  tip_.GetWindowText(shown);
  EXPECT_EQ(shown, CString(u"Scan now"));
  const std::vector<UINT> codes = Log().Codes();
  EXPECT_NE(std::find(codes.begin(), codes.end(), static_cast<UINT>(TTN_SHOW)), codes.end());
  MSG down{button_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5), 0, POINT{5, 5}};
  tip_.RelayEvent(&down);
  EXPECT_FALSE(tip_.IsWindowVisible());
  EXPECT_EQ(Log().Codes().back(), static_cast<UINT>(TTN_POP));

  // An inactive control shows nothing.
  tip_.Activate(FALSE);
  tip_.RelayEvent(&move);
  clock_.Advance(600);
  Pump();
  EXPECT_FALSE(tip_.IsWindowVisible());
}

TEST_F(ToolTips, HostileToolsAreRefused) {
  EXPECT_FALSE(tip_.SendMessage(TTM_ADDTOOLW, 0, 0));
  TOOLINFO info{};
  info.cbSize = 8;  // too short to hold a tool
  EXPECT_FALSE(tip_.SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
  std::u16string huge(70000, u'z');
  EXPECT_FALSE(tip_.AddTool(CWnd::FromHandle(button_), huge.c_str()));
  EXPECT_EQ(tip_.GetToolCount(), 0);
  tip_.SendMessage(TTM_DELTOOLW, 0, 0);
  tip_.SendMessage(TTM_GETTEXTW, 0, 0);
  tip_.SendMessage(TTM_UPDATETIPTEXTW, 0, 0);
  EXPECT_EQ(tip_.GetToolCount(), 0);
}

TEST_F(ToolTips, TheVisualManagersTipKeepsItsParameters) {
  CMFCToolTipCtrl themed;
  ASSERT_TRUE(themed.Create(CWnd::FromHandle(parent_)));
  CMFCToolTipInfo params;
  params.m_bVislManagerTheme = TRUE;
  themed.SetParams(&params);
  EXPECT_TRUE(themed.GetParams().m_bVislManagerTheme);
  EXPECT_TRUE(themed.AddTool(CWnd::FromHandle(button_), u"Help"));
  EXPECT_EQ(themed.GetToolCount(), 1);
  themed.SetParams(nullptr);
  EXPECT_FALSE(themed.GetParams().m_bVislManagerTheme);
  themed.DestroyWindow();
}

}  // namespace
}  // namespace zx::test
