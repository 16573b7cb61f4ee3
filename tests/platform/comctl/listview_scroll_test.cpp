// Scrolling of the report list view: its own scroll bars shown and hidden as rows and columns
// outgrow or fit the client area (which shrinks for them), the scroll requests, the wheel,
// LVM_SCROLL and LVM_ENSUREVISIBLE, presses on the bars themselves, and rectangles, hit
// tests, the header, grid lines and owner-drawn rows following the scroll offsets. Rows are
// owner-drawn 20 pixels high so that every place is known to the pixel.
#include <gtest/gtest.h>

#include "comctl_testing.h"
#include "winscroll.h"
#include "zx/input.h"
#include "zx/modal.h"

namespace zx::test {
namespace {

constexpr int kRow = 20;

class ListScroll : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    Log().measuredHeight = kRow;
    list_ = MakeChild(WC_LISTVIEWW, LVS_REPORT | LVS_OWNERDRAWFIXED, 100, 300, 200);
    ASSERT_NE(list_, nullptr);
    RECT r{};
    GetWindowRect(Header(), &r);
    header_ = r.bottom - r.top;
    ASSERT_GT(header_, 0);
    bar_ = GetSystemMetrics(SM_CXVSCROLL);
    ASSERT_EQ(GetSystemMetrics(SM_CYHSCROLL), bar_);
  }
  LRESULT Send(UINT message, WPARAM w = 0, LPARAM l = 0) { return SendMessageW(list_, message, w, l); }
  HWND Header() { return reinterpret_cast<HWND>(Send(LVM_GETHEADER)); }
  void AddColumns(std::initializer_list<int> widths) {
    for (int width : widths) {
      LVCOLUMNW c{};
      c.mask = LVCF_WIDTH;
      c.cx = width;
      Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(Columns()), reinterpret_cast<LPARAM>(&c));
    }
  }
  int Columns() { return static_cast<int>(SendMessageW(Header(), HDM_GETITEMCOUNT, 0, 0)); }
  void AddRows(int count) {
    for (int i = 0; i < count; ++i) {
      LVITEMW item{};
      item.mask = LVIF_PARAM;
      item.iItem = static_cast<int>(Send(LVM_GETITEMCOUNT));
      item.lParam = item.iItem;
      Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
  }
  RECT Client() {
    RECT r{};
    GetClientRect(list_, &r);
    return r;
  }
  bool HasBar(DWORD bit) { return (GetWindowLongW(list_, GWL_STYLE) & bit) != 0; }
  SCROLLINFO Bar(int bar) {
    SCROLLINFO info{sizeof info, SIF_ALL, -1, -1, 0, -1, -1};
    EXPECT_TRUE(GetScrollInfo(list_, bar, &info));
    return info;
  }
  RECT ItemRect(int row, int code = LVIR_BOUNDS) {
    RECT r{code, 0, 0, 0};
    EXPECT_TRUE(Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)));
    return r;
  }
  int Top() { return static_cast<int>(Send(LVM_GETTOPINDEX)); }
  // Whole rows under the header in a client area this high.
  int RowsIn(int height) { return (height - header_) / kRow; }
  void Resize(int width, int height) {
    SetWindowPos(list_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  HWND list_ = nullptr;
  int header_ = 0;
  int bar_ = 0;
};

TEST_F(ListScroll, NoBarWhileRowsAndColumnsFit) {
  AddColumns({100, 200});
  AddRows(RowsIn(200));
  EXPECT_FALSE(HasBar(WS_VSCROLL));
  EXPECT_FALSE(HasBar(WS_HSCROLL));
  EXPECT_EQ(Client().right, 300);
  EXPECT_EQ(Client().bottom, 200);
  EXPECT_EQ(Send(LVM_GETCOUNTPERPAGE), RowsIn(200));
}

TEST_F(ListScroll, OneRowTooManyShowsTheVerticalBar) {
  AddColumns({100, 100});
  const int page = RowsIn(200);
  AddRows(page + 1);
  ASSERT_TRUE(HasBar(WS_VSCROLL));
  EXPECT_FALSE(HasBar(WS_HSCROLL));
  EXPECT_EQ(Client().right, 300 - bar_);
  EXPECT_EQ(Client().bottom, 200);
  const SCROLLINFO v = Bar(SB_VERT);
  EXPECT_EQ(v.nMin, 0);
  EXPECT_EQ(v.nMax, page);  // rows - 1
  EXPECT_EQ(v.nPage, static_cast<UINT>(page));
  EXPECT_EQ(v.nPos, 0);
  // The header spans the narrower client area.
  RECT header{};
  GetWindowRect(Header(), &header);
  EXPECT_EQ(header.right - header.left, 300 - bar_);

  Send(LVM_DELETEITEM, 0);
  EXPECT_FALSE(HasBar(WS_VSCROLL));
  EXPECT_EQ(Client().right, 300);
}

TEST_F(ListScroll, WideColumnsShowTheHorizontalBarAndShortenThePage) {
  AddColumns({200, 150});
  AddRows(1);
  ASSERT_TRUE(HasBar(WS_HSCROLL));
  EXPECT_FALSE(HasBar(WS_VSCROLL));
  EXPECT_EQ(Client().bottom, 200 - bar_);
  EXPECT_EQ(Send(LVM_GETCOUNTPERPAGE), RowsIn(200 - bar_));
  const SCROLLINFO h = Bar(SB_HORZ);
  EXPECT_EQ(h.nMin, 0);
  EXPECT_EQ(h.nMax, 349);
  EXPECT_EQ(h.nPage, 300u);
  EXPECT_EQ(h.nPos, 0);
  // Narrowing a column until all fit takes the bar away again.
  Send(LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(100, 0));
  EXPECT_FALSE(HasBar(WS_HSCROLL));
  EXPECT_EQ(Client().bottom, 200);
}

TEST_F(ListScroll, TheVerticalBarCanMakeColumnsTooWide) {
  AddColumns({150, 140});  // 290 fit 300, not 300 less the vertical bar
  AddRows(RowsIn(200) + 1);
  EXPECT_TRUE(HasBar(WS_VSCROLL));
  EXPECT_TRUE(HasBar(WS_HSCROLL));
  EXPECT_EQ(Client().right, 300 - bar_);
  EXPECT_EQ(Client().bottom, 200 - bar_);
  EXPECT_EQ(Bar(SB_HORZ).nPage, static_cast<UINT>(300 - bar_));
  EXPECT_EQ(Bar(SB_VERT).nPage, static_cast<UINT>(RowsIn(200 - bar_)));
}

TEST_F(ListScroll, TheHorizontalBarCanMakeRowsTooMany) {
  const int height = header_ + 8 * kRow + 5;  // eight rows, seven under a horizontal bar
  Resize(300, height);
  AddColumns({100, 150});
  AddRows(8);
  EXPECT_FALSE(HasBar(WS_VSCROLL));
  Send(LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(250, 0));
  EXPECT_TRUE(HasBar(WS_HSCROLL));
  EXPECT_TRUE(HasBar(WS_VSCROLL));
  EXPECT_EQ(Client().right, 300 - bar_);
  EXPECT_EQ(Client().bottom, height - bar_);
  EXPECT_EQ(Bar(SB_VERT).nPage, 7u);
}

TEST_F(ListScroll, GrowingTheWindowTakesBothBarsAwayAndScrollsBack) {
  AddColumns({200, 150});
  AddRows(30);
  Send(WM_VSCROLL, SB_BOTTOM);
  Send(WM_HSCROLL, SB_RIGHT);
  ASSERT_GT(Top(), 0);
  Resize(400, header_ + 30 * kRow);
  EXPECT_FALSE(HasBar(WS_VSCROLL));
  EXPECT_FALSE(HasBar(WS_HSCROLL));
  EXPECT_EQ(Client().right, 400);
  EXPECT_EQ(Client().bottom, header_ + 30 * kRow);
  EXPECT_EQ(Top(), 0);
  EXPECT_EQ(GetScrollPos(list_, SB_VERT), 0);
  EXPECT_EQ(GetScrollPos(list_, SB_HORZ), 0);
  EXPECT_EQ(ItemRect(0).left, 0);
  EXPECT_EQ(ItemRect(0).top, header_);
}

TEST_F(ListScroll, VerticalRequestsMoveTheTopRowAndTheBar) {
  AddColumns({100});
  AddRows(40);
  const int page = RowsIn(200);
  Send(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(Top(), 1);
  Send(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(Top(), 1 + page);
  EXPECT_EQ(GetScrollPos(list_, SB_VERT), 1 + page);
  Send(WM_VSCROLL, SB_PAGEUP);
  Send(WM_VSCROLL, SB_LINEUP);
  Send(WM_VSCROLL, SB_LINEUP);  // nothing above the first row
  EXPECT_EQ(Top(), 0);
  Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 12));
  EXPECT_EQ(Top(), 12);
  EXPECT_EQ(GetScrollPos(list_, SB_VERT), 12);
  Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1000));
  EXPECT_EQ(Top(), 40 - page);  // the last row at the bottom, never further
  Send(WM_VSCROLL, SB_TOP);
  EXPECT_EQ(Top(), 0);
  Send(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(Top(), 40 - page);
  EXPECT_EQ(GetScrollPos(list_, SB_VERT), 40 - page);
  // Rows above the top lie above the header's bottom edge.
  const int top = Top();
  EXPECT_EQ(ItemRect(top).top, header_);
  EXPECT_EQ(ItemRect(top - 1).top, header_ - kRow);
  EXPECT_EQ(ItemRect(top + 2).bottom, header_ + 3 * kRow);
}

TEST_F(ListScroll, HorizontalRequestsMoveRowsHeaderAndBar) {
  AddColumns({200, 250});
  AddRows(2);
  Send(WM_HSCROLL, SB_LINERIGHT);
  EXPECT_EQ(GetScrollPos(list_, SB_HORZ), 16);
  EXPECT_EQ(ItemRect(0).left, -16);
  EXPECT_EQ(ItemRect(0).right, 450 - 16);
  RECT cell{LVIR_BOUNDS, 1, 0, 0};
  ASSERT_TRUE(Send(LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&cell)));
  EXPECT_EQ(cell.left, 200 - 16);
  EXPECT_EQ(cell.right, 450 - 16);
  EXPECT_EQ(cell.top, header_ + kRow);
  // The header moves with the rows: its second item starts where the second column does.
  RECT item{};
  SendMessageW(Header(), HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  POINT origin{item.left, 0};
  MapWindowPoints(Header(), list_, &origin, 1);
  EXPECT_EQ(origin.x, 200 - 16);
  Send(WM_HSCROLL, SB_PAGERIGHT);
  EXPECT_EQ(GetScrollPos(list_, SB_HORZ), 150);  // 450 - 300: the last column's edge at the right
  Send(WM_HSCROLL, SB_PAGELEFT);
  EXPECT_EQ(GetScrollPos(list_, SB_HORZ), 0);
  Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 77));
  EXPECT_EQ(GetScrollPos(list_, SB_HORZ), 77);
  EXPECT_EQ(ItemRect(1).left, -77);
  Send(WM_HSCROLL, SB_LEFT);
  EXPECT_EQ(ItemRect(1).left, 0);
}

TEST_F(ListScroll, HitTestsFollowBothOffsets) {
  AddColumns({200, 250});
  AddRows(40);
  Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10));
  Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 50));
  LVHITTESTINFO hit{};
  hit.pt = POINT{160, header_ + 2 * kRow + 3};  // column 0 ends at 200 - 50 = 150
  EXPECT_EQ(Send(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 12);
  EXPECT_EQ(hit.iItem, 12);
  EXPECT_EQ(hit.iSubItem, 1);
  EXPECT_EQ(hit.flags, static_cast<UINT>(LVHT_ONITEMLABEL));
  hit.pt = POINT{149, header_ + kRow - 1};
  EXPECT_EQ(Send(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 10);
  EXPECT_EQ(hit.iSubItem, 0);
  hit.pt = POINT{10, header_ - 1};  // under the header: no row
  EXPECT_EQ(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  // A click selects the row under the pointer, not the row at that place unscrolled.
  Send(WM_LBUTTONDOWN, 0, MAKELPARAM(20, header_ + kRow + 5));
  EXPECT_EQ(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 11);
}

TEST_F(ListScroll, EnsureVisibleScrollsOnlyAsFarAsNeeded) {
  AddColumns({100});
  AddRows(30);
  Resize(300, header_ + 5 * kRow + 10);  // five whole rows and half of a sixth
  ASSERT_EQ(Send(LVM_GETCOUNTPERPAGE), 5);
  EXPECT_TRUE(Send(LVM_ENSUREVISIBLE, 4, FALSE));
  EXPECT_EQ(Top(), 0);
  EXPECT_TRUE(Send(LVM_ENSUREVISIBLE, 5, TRUE));  // partly shown is enough
  EXPECT_EQ(Top(), 0);
  EXPECT_TRUE(Send(LVM_ENSUREVISIBLE, 5, FALSE));
  EXPECT_EQ(Top(), 1);
  EXPECT_TRUE(Send(LVM_ENSUREVISIBLE, 20, TRUE));  // far below: the row ends at the bottom
  EXPECT_EQ(Top(), 16);
  EXPECT_EQ(GetScrollPos(list_, SB_VERT), 16);
  EXPECT_TRUE(Send(LVM_ENSUREVISIBLE, 2, FALSE));  // above: the row becomes the top
  EXPECT_EQ(Top(), 2);
  EXPECT_FALSE(Send(LVM_ENSUREVISIBLE, 30, FALSE));
  EXPECT_FALSE(Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(-1), FALSE));
  EXPECT_EQ(Top(), 2);
}

TEST_F(ListScroll, KeysScrollTheFocusedRowIntoView) {
  AddColumns({100});
  AddRows(30);
  const int page = RowsIn(200);
  Send(WM_KEYDOWN, VK_END);
  EXPECT_EQ(Top(), 30 - page);
  Send(WM_KEYDOWN, VK_HOME);
  EXPECT_EQ(Top(), 0);
}

TEST_F(ListScroll, LeftAndRightKeysScrollSideways) {
  AddColumns({200, 250});
  AddRows(3);
  Send(WM_KEYDOWN, VK_RIGHT);
  Send(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(GetScrollPos(list_, SB_HORZ), 32);
  EXPECT_EQ(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), -1);  // no row moved to
  Send(WM_KEYDOWN, VK_LEFT);
  EXPECT_EQ(GetScrollPos(list_, SB_HORZ), 16);
}

TEST_F(ListScroll, AClickOnThePartlyShownLastRowBringsItWholeIntoView) {
  AddColumns({100});
  AddRows(30);
  Resize(300, header_ + 5 * kRow + 10);
  Send(WM_LBUTTONDOWN, 0, MAKELPARAM(10, header_ + 5 * kRow + 4));
  EXPECT_EQ(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 5);
  EXPECT_EQ(Top(), 1);
  EXPECT_EQ(ItemRect(5).bottom, header_ + 5 * kRow);
}

TEST_F(ListScroll, WheelNotchesScrollThreeRowsAndHalfNotchesAddUp) {
  AddColumns({100});
  AddRows(40);
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)));
  EXPECT_EQ(Top(), 3);
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)));
  EXPECT_EQ(Top(), 9);
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2));
  EXPECT_EQ(Top(), 9);
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2));
  EXPECT_EQ(Top(), 6);
  // Half a notch one way and half the other make no notch.
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2));
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA / 2)));
  EXPECT_EQ(Top(), 6);
  EXPECT_EQ(GetScrollPos(list_, SB_VERT), 6);
}

TEST_F(ListScroll, LvmScrollMovesPixelsSidewaysAndWholeRowsDown) {
  AddColumns({200, 250});
  AddRows(40);
  EXPECT_TRUE(Send(LVM_SCROLL, 30, 3 * kRow));
  EXPECT_EQ(Top(), 3);
  EXPECT_EQ(GetScrollPos(list_, SB_HORZ), 30);
  EXPECT_TRUE(Send(LVM_SCROLL, 0, 5));  // less than a row still moves one
  EXPECT_EQ(Top(), 4);
  EXPECT_TRUE(Send(LVM_SCROLL, static_cast<WPARAM>(-500), -10000));
  EXPECT_EQ(Top(), 0);
  EXPECT_EQ(GetScrollPos(list_, SB_HORZ), 0);
}

TEST_F(ListScroll, OwnerDrawnRowsAreDrawnAtTheirScrolledPlaces) {
  AddColumns({200, 250});
  AddRows(40);
  Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3));
  Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40));
  Log().draws.clear();
  PaintNow(list_);
  const int height = Client().bottom;
  ASSERT_EQ(height, 200 - bar_);
  // Every row from the top that reaches into the client area, the last one partly.
  const int shown = (height - header_ + kRow - 1) / kRow;
  ASSERT_EQ(Log().draws.size(), static_cast<std::size_t>(shown));
  for (int i = 0; i < shown; ++i) {
    const DRAWITEMSTRUCT& draw = Log().draws[static_cast<std::size_t>(i)];
    EXPECT_EQ(draw.itemID, static_cast<UINT>(3 + i));
    EXPECT_EQ(draw.itemData, static_cast<ULONG_PTR>(3 + i));
    EXPECT_EQ(draw.rcItem.left, -GetScrollPos(list_, SB_HORZ));
    EXPECT_EQ(draw.rcItem.right, 450 - 40);
    EXPECT_EQ(draw.rcItem.top, header_ + i * kRow);
    EXPECT_EQ(draw.rcItem.bottom, header_ + (i + 1) * kRow);
  }
}

TEST_F(ListScroll, EmptyingTheListHidesTheBarAndResetsTheTop) {
  AddColumns({100});
  AddRows(40);
  Send(WM_VSCROLL, SB_BOTTOM);
  ASSERT_TRUE(HasBar(WS_VSCROLL));
  Send(LVM_DELETEALLITEMS);
  EXPECT_FALSE(HasBar(WS_VSCROLL));
  EXPECT_EQ(Top(), 0);
  EXPECT_EQ(GetScrollPos(list_, SB_VERT), 0);
  // Deleting rows at the bottom pulls the top row up so the last row stays at the bottom.
  AddRows(40);
  Send(WM_VSCROLL, SB_BOTTOM);
  const int page = RowsIn(200);
  for (int i = 0; i < 5; ++i) Send(LVM_DELETEITEM, 0);
  EXPECT_EQ(Top(), 35 - page);
  EXPECT_EQ(GetScrollPos(list_, SB_VERT), 35 - page);
}

TEST_F(ListScroll, ATallerOwnerRowChangesThePage) {
  AddColumns({100});
  AddRows(RowsIn(200));
  ASSERT_FALSE(HasBar(WS_VSCROLL));
  Log().measuredHeight = 2 * kRow;
  WINDOWPOS pos{list_, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER};
  Send(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  EXPECT_TRUE(HasBar(WS_VSCROLL));
  EXPECT_EQ(Bar(SB_VERT).nPage, static_cast<UINT>((200 - header_) / (2 * kRow)));
}

TEST_F(ListScroll, NoScrollStyleShowsNoBar) {
  HWND fixed = MakeChild(WC_LISTVIEWW, LVS_REPORT | LVS_NOSCROLL, 101, 300, 200);
  ASSERT_NE(fixed, nullptr);
  LVCOLUMNW c{};
  c.mask = LVCF_WIDTH;
  c.cx = 500;
  SendMessageW(fixed, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&c));
  for (int i = 0; i < 40; ++i) {
    LVITEMW item{};
    item.iItem = i;
    SendMessageW(fixed, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  EXPECT_EQ(GetWindowLongW(fixed, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
  RECT client{};
  GetClientRect(fixed, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);
}

// Presses on the list's own bars, through the window system's pointer input.
class ListScrollBarInput : public ListScroll {
 protected:
  void SetUp() override {
    ListScroll::SetUp();
    user::ResetInput();
  }
  void TearDown() override {
    user::SetIdleHook(nullptr);
    user::ResetInput();
    ListScroll::TearDown();
  }
  // A point of the list window (its frame included) on the screen.
  POINT Screen(int x, int y) {
    RECT r{};
    GetWindowRect(list_, &r);
    return POINT{r.left + x, r.top + y};
  }
  void Press(int x, int y) {
    user::InjectMouse(Screen(x, y), WM_LBUTTONDOWN);
    user::InjectMouse(Screen(x, y), WM_LBUTTONUP);
    Pump();
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
};

TEST_F(ListScrollBarInput, ArrowsAndTrackOfTheVerticalBarScrollTheRows) {
  AddColumns({100});
  AddRows(40);
  const int page = RowsIn(200);
  ASSERT_EQ(SendMessageW(list_, WM_NCHITTEST, 0, MAKELPARAM(Screen(300 - 2, 100).x, Screen(0, 100).y)), HTVSCROLL);
  Press(300 - bar_ / 2, 200 - bar_ / 2);  // the down arrow
  EXPECT_EQ(Top(), 1);
  Press(300 - bar_ / 2, 200 - bar_ - 5);  // the track below the thumb
  EXPECT_EQ(Top(), 1 + page);
  EXPECT_EQ(GetScrollPos(list_, SB_VERT), 1 + page);
  Press(300 - bar_ / 2, bar_ / 2);  // the up arrow
  EXPECT_EQ(Top(), page);
}

TEST_F(ListScrollBarInput, TheRightArrowOfTheHorizontalBarScrollsTheColumns) {
  AddColumns({200, 250});
  AddRows(2);
  Press(300 - bar_ / 2, 200 - bar_ / 2);
  EXPECT_EQ(GetScrollPos(list_, SB_HORZ), 16);
  EXPECT_EQ(ItemRect(0).left, -16);
}

TEST_F(ListScrollBarInput, DraggingTheThumbToTheEndShowsTheLastRows) {
  AddColumns({100});
  AddRows(40);
  const int x = 300 - bar_ / 2;
  int step = 0;
  user::SetIdleHook([&] {
    if (step == 0) user::InjectMouse(Screen(x, 100), WM_MOUSEMOVE);
    if (step == 1) user::InjectMouse(Screen(x, 200 - bar_), WM_MOUSEMOVE);
    if (step == 2) user::InjectMouse(Screen(x, 200 - bar_), WM_LBUTTONUP);
    ++step;
  });
  user::InjectMouse(Screen(x, bar_ + 2), WM_LBUTTONDOWN);  // the thumb, at the top of the track
  Pump();
  EXPECT_EQ(Top(), 40 - RowsIn(200));
  EXPECT_EQ(GetScrollPos(list_, SB_VERT), 40 - RowsIn(200));
}

// A pixel of the list window, its frame and bars included.
COLORREF WindowPixel(HWND window, int x, int y) {
  HDC dc = GetWindowDC(window);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

TEST_F(ListScroll, TheVerticalBarIsDrawnWithTheListAndItsThumbFollowsTheTopRow) {
  AddColumns({100});
  AddRows(40);
  PaintNow(parent_);
  const COLORREF face = GetSysColor(COLOR_3DFACE);
  const COLORREF track = GetSysColor(COLOR_SCROLLBAR);
  const int x = 300 - bar_ / 2;
  // The thumb is a fifth of the track or so: at its top first, at its bottom after.
  EXPECT_EQ(WindowPixel(list_, x, bar_ + 4), face);
  EXPECT_EQ(WindowPixel(list_, x, 200 - bar_ - 4), track);
  Send(WM_VSCROLL, SB_BOTTOM);
  PaintNow(parent_);
  EXPECT_EQ(WindowPixel(list_, x, bar_ + 4), track);
  EXPECT_EQ(WindowPixel(list_, x, 200 - bar_ - 4), face);
}

TEST_F(ListScroll, GridLinesAreDrawnAtTheScrolledColumnEdges) {
  HWND plain = MakeChild(WC_LISTVIEWW, LVS_REPORT, 101, 300, 200);
  ASSERT_NE(plain, nullptr);
  SendMessageW(plain, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES);
  for (int c = 0; c < 2; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = c == 0 ? 200 : 250;
    SendMessageW(plain, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
  }
  SendMessageW(plain, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40), 0);
  PaintNow(parent_);
  const COLORREF line = GetSysColor(COLOR_3DLIGHT);
  const int y = 150;  // below the header, in rows that are not there
  EXPECT_EQ(PixelOf(plain, 200 - 40 - 1, y), line);
  EXPECT_NE(PixelOf(plain, 200 - 1, y), line);
  SendMessageW(plain, WM_HSCROLL, SB_RIGHT, 0);  // 450 - 300 = 150 pixels
  PaintNow(parent_);
  EXPECT_EQ(PixelOf(plain, 200 - 150 - 1, y), line);
  EXPECT_EQ(PixelOf(plain, 299, y), line);  // the last column's right edge
}

}  // namespace
}  // namespace zx::test
