// CWnd's scroll-bar members over the window's bars.
#include <gtest/gtest.h>

#include "afxwin.h"
#include "user_testing.h"
#include "winscroll.h"

namespace zx::test {
namespace {

using CWndScrollBars = UserTest;

TEST_F(CWndScrollBars, MembersReachTheWindowsBars) {
  CWnd* wnd = CWnd::FromHandle(MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 200, 100));
  wnd->SetScrollRange(SB_VERT, 0, 49, FALSE);
  EXPECT_NE(wnd->GetStyle() & WS_VSCROLL, 0u);  // a range worth scrolling shows the bar
  int low = -1, high = -1;
  wnd->GetScrollRange(SB_VERT, &low, &high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 49);
  EXPECT_EQ(wnd->SetScrollPos(SB_VERT, 30), 0);
  EXPECT_EQ(wnd->GetScrollPos(SB_VERT), 30);
  SCROLLINFO info{};
  info.nPage = 25;
  info.fMask = SIF_PAGE;
  EXPECT_TRUE(wnd->SetScrollInfo(SB_VERT, &info));
  EXPECT_EQ(info.cbSize, static_cast<UINT>(sizeof(SCROLLINFO)));
  SCROLLINFO out{};
  ASSERT_TRUE(wnd->GetScrollInfo(SB_VERT, &out));
  EXPECT_EQ(out.nPage, 25u);
  EXPECT_EQ(out.nPos, 25);  // pulled back to the last page
  EXPECT_EQ(wnd->GetScrollLimit(SB_VERT), 25);
  EXPECT_TRUE(wnd->EnableScrollBar(SB_VERT, ESB_DISABLE_BOTH));
  wnd->ShowScrollBar(SB_VERT, FALSE);
  EXPECT_EQ(wnd->GetStyle() & WS_VSCROLL, 0u);
  SCROLLINFO none{};
  EXPECT_FALSE(wnd->GetScrollInfo(SB_HORZ, &none));
}

}  // namespace
}  // namespace zx::test
