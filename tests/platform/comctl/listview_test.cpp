// The report list view: columns, rows and texts, notifications and their order, states and
// check boxes, sorting with the caller's comparator, hit tests, scrolling, owner-drawn rows
// measured again on WM_WINDOWPOSCHANGED, header notifications, and hostile input.
#include <gtest/gtest.h>

#include <string>

#include "comctl_testing.h"

namespace zx::test {
namespace {

class ListView : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    list_ = MakeChild(WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS);
    ASSERT_NE(list_, nullptr);
  }
  LRESULT Send(UINT message, WPARAM w = 0, LPARAM l = 0) { return SendMessageW(list_, message, w, l); }
  int AddColumn(int index, const char16_t* title, int width) {
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH;
    c.pszText = const_cast<LPWSTR>(title);
    c.cx = width;
    return static_cast<int>(Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&c)));
  }
  int AddRow(int index, const char16_t* text, LPARAM param = 0) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(text);
    item.lParam = param;
    return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  }
  std::u16string Text(int row, int subItem) {
    WCHAR buffer[64] = {};
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = buffer;
    item.cchTextMax = 64;
    Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
  }
  void SetText(int row, int subItem, const char16_t* text) {
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = const_cast<LPWSTR>(text);
    ASSERT_TRUE(Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
  }
  BOOL SetState(int row, UINT state, UINT mask) {
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    return static_cast<BOOL>(Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
  }
  RECT ItemRect(int row, int code = LVIR_BOUNDS) {
    RECT r{code, 0, 0, 0};
    EXPECT_TRUE(Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)));
    return r;
  }
  void Click(int x, int y, UINT message = WM_LBUTTONDOWN) { Send(message, 0, MAKELPARAM(x, y)); }
  HWND list_ = nullptr;
};

TEST_F(ListView, ColumnsAndRowsKeepTheirTexts) {
  EXPECT_EQ(AddColumn(0, u"Name", 120), 0);
  EXPECT_EQ(AddColumn(1, u"Version", 80), 1);
  EXPECT_EQ(AddColumn(7, u"Date", 60), 2);  // past the end: appended
  EXPECT_EQ(Send(LVM_GETCOLUMNWIDTH, 1), 80);
  EXPECT_EQ(AddRow(0, u"Audio"), 0);
  EXPECT_EQ(AddRow(5, u"Video"), 1);
  EXPECT_EQ(AddRow(0, u"Network"), 0);
  SetText(1, 1, u"6.1.2");
  EXPECT_EQ(Send(LVM_GETITEMCOUNT), 3);
  EXPECT_EQ(Text(0, 0), u"Network");
  EXPECT_EQ(Text(1, 0), u"Audio");
  EXPECT_EQ(Text(1, 1), u"6.1.2");
  EXPECT_EQ(Text(2, 1), u"");

  WCHAR title[16] = {};
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  c.pszText = title;
  c.cchTextMax = 16;
  ASSERT_TRUE(Send(LVM_GETCOLUMNW, 2, reinterpret_cast<LPARAM>(&c)));
  EXPECT_EQ(std::u16string(title), u"Date");
  EXPECT_EQ(c.cx, 60);
  EXPECT_EQ(c.iSubItem, 2);

  ASSERT_TRUE(Send(LVM_DELETECOLUMN, 0));
  HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
  // Sub-item texts stay with their sub-items, whatever the columns.
  EXPECT_EQ(Text(1, 1), u"6.1.2");
}

TEST_F(ListView, TextsAreTruncatedToTheCallersBuffer) {
  AddColumn(0, u"Name", 100);
  AddRow(0, u"Keyboard");
  WCHAR buffer[4] = {u'x', u'x', u'x', u'x'};
  LVITEMW item{};
  item.pszText = buffer;
  item.cchTextMax = 4;
  EXPECT_EQ(Send(LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item)), 3);
  EXPECT_EQ(std::u16string(buffer), u"Key");
}

TEST_F(ListView, InsertionsAndDeletionsAreNotifiedWithTheRowsData) {
  AddColumn(0, u"Name", 100);
  AddRow(0, u"a", 11);
  AddRow(1, u"b", 22);
  AddRow(2, u"c", 33);
  ASSERT_TRUE(Send(LVM_DELETEITEM, 1));
  ASSERT_TRUE(Send(LVM_DELETEALLITEMS));
  const auto& n = Log().notifications;
  const std::vector<UINT> lists = [&] {
    std::vector<UINT> codes;
    for (const auto& x : n)
      if (x.from == list_) codes.push_back(x.code);
    return codes;
  }();
  EXPECT_EQ(lists, (std::vector<UINT>{LVN_INSERTITEM, LVN_INSERTITEM, LVN_INSERTITEM, LVN_DELETEITEM,
                                      LVN_DELETEALLITEMS, LVN_DELETEITEM, LVN_DELETEITEM}));
  std::vector<std::pair<int, LPARAM>> deleted;
  for (const auto& x : n)
    if (x.code == LVN_DELETEITEM) deleted.emplace_back(x.item, x.param);
  EXPECT_EQ(deleted, (std::vector<std::pair<int, LPARAM>>{{1, 22}, {0, 11}, {1, 33}}));
  EXPECT_EQ(Send(LVM_GETITEMCOUNT), 0);
}

TEST_F(ListView, AnOwnerAnsweringDeleteAllGetsNoPerRowDeletions) {
  AddColumn(0, u"Name", 100);
  AddRow(0, u"a");
  AddRow(1, u"b");
  Log().answer = [](NMHDR* nm) -> LRESULT { return nm->code == LVN_DELETEALLITEMS; };
  Log().notifications.clear();
  ASSERT_TRUE(Send(LVM_DELETEALLITEMS));
  EXPECT_EQ(Log().Codes(), std::vector<UINT>{LVN_DELETEALLITEMS});
}

TEST_F(ListView, StateChangesAreAskedThenReported) {
  AddColumn(0, u"Name", 100);
  AddRow(0, u"a", 5);
  AddRow(1, u"b", 6);
  Log().notifications.clear();
  ASSERT_TRUE(SetState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED));
  ASSERT_EQ(Log().notifications.size(), 2u);
  const Notification asked = Log().notifications[0];
  const Notification told = Log().notifications[1];
  EXPECT_EQ(asked.code, LVN_ITEMCHANGING);
  EXPECT_EQ(told.code, LVN_ITEMCHANGED);
  EXPECT_EQ(told.item, 1);
  EXPECT_EQ(told.changed, LVIF_STATE);
  EXPECT_EQ(told.newState, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(told.oldState, 0u);
  EXPECT_EQ(told.param, 6);
  EXPECT_EQ(Send(LVM_GETITEMSTATE, 1, LVIS_SELECTED), static_cast<LRESULT>(LVIS_SELECTED));

  // Focus moves: the old row loses it first.
  Log().notifications.clear();
  ASSERT_TRUE(SetState(0, LVIS_FOCUSED, LVIS_FOCUSED));
  ASSERT_EQ(Log().notifications.size(), 4u);
  EXPECT_EQ(Log().notifications[1].item, 1);
  EXPECT_EQ(Log().notifications[1].newState, static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(Log().notifications[3].item, 0);
  EXPECT_EQ(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 0);
  EXPECT_EQ(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
}

TEST_F(ListView, ARefusedChangeLeavesTheRowAsItWas) {
  AddColumn(0, u"Name", 100);
  AddRow(0, u"a");
  Log().answer = [](NMHDR* nm) -> LRESULT { return nm->code == LVN_ITEMCHANGING; };
  EXPECT_FALSE(SetState(0, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_EQ(Send(LVM_GETITEMSTATE, 0, LVIS_SELECTED), 0);
  const std::vector<UINT> codes = Log().Codes();
  EXPECT_EQ(std::count(codes.begin(), codes.end(), LVN_ITEMCHANGED), 0);
}

TEST_F(ListView, SingleSelectionKeepsOneRowSelected) {
  SetWindowLongW(list_, GWL_STYLE, GetWindowLongW(list_, GWL_STYLE) | LVS_SINGLESEL);
  AddColumn(0, u"Name", 100);
  for (int i = 0; i < 3; ++i) AddRow(i, u"row");
  SetState(0, LVIS_SELECTED, LVIS_SELECTED);
  SetState(2, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(Send(LVM_GETSELECTEDCOUNT), 1);
  EXPECT_EQ(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2);
  EXPECT_EQ(Send(LVM_GETNEXTITEM, 2, LVNI_SELECTED), -1);
  EXPECT_EQ(Send(LVM_GETNEXTITEM, 2, LVNI_ABOVE), 1);
  EXPECT_EQ(Send(LVM_GETNEXTITEM, 0, LVNI_ALL), 1);
}

int CALLBACK ByParam(LPARAM a, LPARAM b, LPARAM direction) { return static_cast<int>((a - b) * direction); }
int CALLBACK AlwaysAfter(LPARAM, LPARAM, LPARAM) { return 1; }

TEST_F(ListView, SortingUsesTheCallersComparatorAndParameter) {
  AddColumn(0, u"Name", 100);
  AddRow(0, u"three", 3);
  AddRow(1, u"one", 1);
  AddRow(2, u"two", 2);
  ASSERT_TRUE(Send(LVM_SORTITEMS, 1, reinterpret_cast<LPARAM>(&ByParam)));
  EXPECT_EQ(Text(0, 0), u"one");
  EXPECT_EQ(Text(1, 0), u"two");
  EXPECT_EQ(Text(2, 0), u"three");
  ASSERT_TRUE(Send(LVM_SORTITEMS, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&ByParam)));
  EXPECT_EQ(Text(0, 0), u"three");
  EXPECT_EQ(Text(2, 0), u"one");
  EXPECT_FALSE(Send(LVM_SORTITEMS, 0, 0));
}

TEST_F(ListView, AComparatorThatIsNoOrderKeepsEveryRow) {
  AddColumn(0, u"Name", 100);
  for (int i = 0; i < 37; ++i) AddRow(i, u"row", i);
  ASSERT_TRUE(Send(LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&AlwaysAfter)));
  std::vector<bool> seen(37, false);
  for (int i = 0; i < 37; ++i) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    ASSERT_TRUE(Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    seen[static_cast<std::size_t>(item.lParam)] = true;
  }
  EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 37);
}

TEST_F(ListView, CheckBoxesAreStateImagesToggledByAClickOnThem) {
  AddColumn(0, u"Name", 100);
  AddRow(0, u"a");
  AddRow(1, u"b");
  EXPECT_EQ(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES), 0);
  EXPECT_EQ(Send(LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK), static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(1)));
  EXPECT_NE(Send(LVM_GETIMAGELIST, LVSIL_STATE), 0);

  const RECT icon = ItemRect(1, LVIR_ICON);
  LVHITTESTINFO hit{};
  hit.pt = POINT{icon.left - 8, (icon.top + icon.bottom) / 2};
  EXPECT_EQ(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.flags, static_cast<UINT>(LVHT_ONITEMSTATEICON));
  Log().notifications.clear();
  Click(hit.pt.x, hit.pt.y);
  EXPECT_EQ(Send(LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK), static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(2)));
  // The check changes first, the selection next, and the click is told last.
  std::vector<UINT> codes = Log().Codes();
  codes.erase(std::remove(codes.begin(), codes.end(), static_cast<UINT>(NM_SETFOCUS)), codes.end());
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), LVN_ITEMCHANGING);
  EXPECT_EQ(codes.back(), NM_CLICK);
  EXPECT_EQ(Log().notifications.back().item, 1);
  EXPECT_EQ(Log().notifications[1].newState & LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(2));

  // A click on the label selects without toggling; Space toggles the focused row.
  const RECT label = ItemRect(0, LVIR_LABEL);
  Click(label.left + 5, label.top + 2);
  EXPECT_EQ(Send(LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK | LVIS_SELECTED),
            static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(1) | LVIS_SELECTED));
  EXPECT_EQ(Send(LVM_GETITEMSTATE, 1, LVIS_SELECTED), 0);
  Send(WM_KEYDOWN, VK_SPACE);
  EXPECT_EQ(Send(LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK), static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(2)));

  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, 0);
  EXPECT_EQ(Send(LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK), 0);
}

TEST_F(ListView, HitTestsFindRowsColumnsAndNothing) {
  AddColumn(0, u"Name", 100);
  AddColumn(1, u"Version", 80);
  AddRow(0, u"a");
  AddRow(1, u"b");
  const RECT second = ItemRect(1);
  EXPECT_EQ(second.top - ItemRect(0).top, second.bottom - second.top);
  EXPECT_EQ(second.right - second.left, 180);

  LVHITTESTINFO hit{};
  hit.pt = POINT{50, second.top + 1};
  EXPECT_EQ(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.flags, static_cast<UINT>(LVHT_ONITEMLABEL));
  hit.pt = POINT{150, second.top + 1};  // the second column: no row without full row select
  EXPECT_EQ(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_EQ(Send(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.iSubItem, 1);
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  EXPECT_EQ(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  hit.pt = POINT{50, second.bottom + 1};
  EXPECT_EQ(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_EQ(hit.flags, static_cast<UINT>(LVHT_NOWHERE));
  hit.pt = POINT{50, 2};  // on the header
  EXPECT_EQ(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  hit.pt = POINT{50, -4};
  EXPECT_EQ(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_EQ(hit.flags, static_cast<UINT>(LVHT_ABOVE));

  RECT cell{LVIR_BOUNDS, 1, 0, 0};
  ASSERT_TRUE(Send(LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&cell)));
  EXPECT_EQ(cell.left, 100);
  EXPECT_EQ(cell.right, 180);
  EXPECT_EQ(cell.top, second.top);
}

TEST_F(ListView, ClicksSelectAndTellTheParent) {
  AddColumn(0, u"Name", 100);
  AddRow(0, u"a");
  AddRow(1, u"b");
  const RECT second = ItemRect(1, LVIR_LABEL);
  Click(second.left + 4, second.top + 2, WM_LBUTTONDBLCLK);
  EXPECT_EQ(Log().Codes().back(), NM_DBLCLK);
  EXPECT_EQ(Log().notifications.back().item, 1);
  EXPECT_EQ(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED | LVNI_FOCUSED), 1);
  Click(second.left + 4, second.bottom + 40);  // empty space: nothing stays selected
  EXPECT_EQ(Send(LVM_GETSELECTEDCOUNT), 0);
  EXPECT_EQ(Log().Codes().back(), NM_CLICK);
  EXPECT_EQ(Log().notifications.back().item, -1);
  Send(WM_KEYDOWN, VK_UP);
  EXPECT_EQ(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
}

TEST_F(ListView, ScrollingMovesTheTopRow) {
  AddColumn(0, u"Name", 100);
  for (int i = 0; i < 50; ++i) AddRow(i, u"row");
  const int rowHeight = ItemRect(0).bottom - ItemRect(0).top;
  const int headerHeight = ItemRect(0).top;
  const int perPage = static_cast<int>(Send(LVM_GETCOUNTPERPAGE));
  EXPECT_EQ(perPage, (200 - headerHeight) / rowHeight);
  EXPECT_EQ(Send(LVM_GETTOPINDEX), 0);
  ASSERT_TRUE(Send(LVM_ENSUREVISIBLE, 40, FALSE));
  EXPECT_EQ(Send(LVM_GETTOPINDEX), 40 - perPage + 1);
  EXPECT_EQ(ItemRect(40 - perPage + 1).top, headerHeight);
  ASSERT_TRUE(Send(LVM_ENSUREVISIBLE, 3, FALSE));
  EXPECT_EQ(Send(LVM_GETTOPINDEX), 3);
  Send(WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(Send(LVM_GETTOPINDEX), 2);
  Send(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(Send(LVM_GETTOPINDEX), 50 - perPage);
  Send(LVM_SCROLL, 0, -rowHeight * 5);
  EXPECT_EQ(Send(LVM_GETTOPINDEX), 45 - perPage);
  // Deleting rows keeps the top row inside the list.
  for (int i = 0; i < 45; ++i) Send(LVM_DELETEITEM, 0);
  EXPECT_EQ(Send(LVM_GETTOPINDEX), 0);
  EXPECT_FALSE(Send(LVM_ENSUREVISIBLE, 5, FALSE));
}

TEST_F(ListView, WideListsScrollSideways) {
  AddColumn(0, u"Name", 250);
  AddColumn(1, u"Version", 200);
  AddRow(0, u"a");
  HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  Send(WM_HSCROLL, SB_LINEDOWN);
  EXPECT_EQ(ItemRect(0).left, -16);
  RECT headerItem{};
  SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&headerItem));
  POINT origin{headerItem.left, 0};
  MapWindowPoints(header, list_, &origin, 1);
  EXPECT_EQ(origin.x, 250 - 16);  // the header moves with the rows
  Send(WM_HSCROLL, SB_BOTTOM);
  EXPECT_EQ(ItemRect(0).left, -(450 - 300));  // no further than the last column's edge
  Send(LVM_SCROLL, static_cast<WPARAM>(-1000), 0);
  EXPECT_EQ(ItemRect(0).left, 0);
}

TEST_F(ListView, OwnerDrawnRowsAreMeasuredAgainOnWindowPosChanged) {
  Log().measuredHeight = 40;
  HWND owner = MakeChild(WC_LISTVIEWW, LVS_REPORT | LVS_OWNERDRAWFIXED, 101);
  ASSERT_NE(owner, nullptr);
  EXPECT_GE(Log().measureAnswers, 1);
  LVCOLUMNW c{};
  c.mask = LVCF_WIDTH;
  c.cx = 150;
  SendMessageW(owner, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&c));
  for (int i = 0; i < 3; ++i) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    item.lParam = 100 + i;
    SendMessageW(owner, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  RECT r{LVIR_BOUNDS, 0, 0, 0};
  SendMessageW(owner, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.bottom - r.top, 40);

  // The owner answers another height only when asked: WM_WINDOWPOSCHANGED asks.
  Log().measuredHeight = 25;
  WINDOWPOS pos{owner, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER};
  ASSERT_EQ(pos.flags, 0x216u);
  SendMessageW(owner, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  r = RECT{LVIR_BOUNDS, 0, 0, 0};
  SendMessageW(owner, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.bottom - r.top, 25);

  Log().draws.clear();
  PaintNow(owner);
  ASSERT_EQ(Log().draws.size(), 3u);
  const DRAWITEMSTRUCT& third = Log().draws[2];
  EXPECT_EQ(third.CtlType, static_cast<UINT>(ODT_LISTVIEW));
  EXPECT_EQ(third.CtlID, 101u);
  EXPECT_EQ(third.itemID, 2u);
  EXPECT_EQ(third.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
  EXPECT_EQ(third.itemData, 102u);
  EXPECT_EQ(third.rcItem.top, r.top);
  EXPECT_EQ(third.rcItem.bottom, r.bottom);
}

TEST_F(ListView, HeaderChangesGoToTheParentWhichMayRefuseThem) {
  AddColumn(0, u"Check", 30);
  AddColumn(1, u"Name", 100);
  HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  Log().notifications.clear();
  ASSERT_TRUE(Send(LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(120, 0)));
  ASSERT_GE(Log().notifications.size(), 2u);
  EXPECT_EQ(Log().notifications[0].from, header);
  EXPECT_EQ(Log().notifications[0].code, HDN_ITEMCHANGINGW);
  EXPECT_EQ(Log().notifications[0].headerWidth, 120);
  EXPECT_EQ(Log().notifications[1].code, HDN_ITEMCHANGEDW);
  EXPECT_EQ(Send(LVM_GETCOLUMNWIDTH, 1), 120);

  // The owner keeps column 0 as it is.
  Log().answer = [](NMHDR* nm) -> LRESULT {
    return nm->code == HDN_ITEMCHANGINGW && reinterpret_cast<NMHEADERW*>(nm)->iItem == 0;
  };
  EXPECT_FALSE(Send(LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(80, 0)));
  EXPECT_EQ(Send(LVM_GETCOLUMNWIDTH, 0), 30);

  // Dragging the divider of column 1 from x = 150 to x = 190.
  Log().notifications.clear();
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 5));
  SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(170, 5));
  SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(190, 5));
  SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(190, 5));
  const std::vector<UINT> codes = Log().Codes();
  EXPECT_EQ(codes.front(), HDN_BEGINTRACKW);
  EXPECT_EQ(codes.back(), HDN_ENDTRACKW);
  EXPECT_NE(std::find(codes.begin(), codes.end(), HDN_TRACKW), codes.end());
  EXPECT_EQ(Log().notifications.back().headerWidth, 160);
  EXPECT_EQ(Send(LVM_GETCOLUMNWIDTH, 1), 160);
  // A click on a title is a column click of the list.
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 5));
  SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(80, 5));
  EXPECT_EQ(Log().Codes().back(), LVN_COLUMNCLICK);
  // A drag of the refused column changes nothing.
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 5));
  SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 5));
  SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(60, 5));
  EXPECT_EQ(Send(LVM_GETCOLUMNWIDTH, 0), 30);
}

TEST_F(ListView, HostileInputFailsCleanly) {
  EXPECT_EQ(Send(LVM_INSERTCOLUMNW, 0, 0), -1);
  EXPECT_EQ(Send(LVM_INSERTITEMW, 0, 0), -1);
  EXPECT_FALSE(Send(LVM_GETITEMW, 0, 0));
  EXPECT_FALSE(Send(LVM_SETITEMW, 0, 0));
  EXPECT_FALSE(Send(LVM_SETITEMSTATE, 0, 0));
  EXPECT_FALSE(Send(LVM_GETITEMRECT, 0, 0));
  EXPECT_EQ(Send(LVM_HITTEST, 0, 0), -1);
  EXPECT_EQ(Send(LVM_GETITEMTEXTW, 0, 0), 0);
  AddColumn(0, u"Name", 100);
  AddRow(0, u"a");
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = -3;
  EXPECT_EQ(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), -1);
  item.iItem = 7;
  EXPECT_FALSE(Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_FALSE(Send(LVM_DELETEITEM, 9));
  EXPECT_FALSE(Send(LVM_DELETEITEM, static_cast<WPARAM>(-1)));
  EXPECT_FALSE(Send(LVM_DELETECOLUMN, 4));
  EXPECT_EQ(Send(LVM_GETITEMSTATE, 99, 0xFFFF), 0);
  RECT r{LVIR_BOUNDS, 0, 0, 0};
  EXPECT_FALSE(Send(LVM_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&r)));
  r = RECT{LVIR_BOUNDS, 9, 0, 0};
  EXPECT_FALSE(Send(LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&r)));
  r = RECT{77, 0, 0, 0};
  EXPECT_FALSE(Send(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)));

  // A text past the limit is refused and the row keeps its text; the callback marker and a
  // null text count as empty.
  std::u16string huge(70000, u'x');
  item = LVITEMW{};
  item.mask = LVIF_TEXT;
  item.pszText = huge.data();
  EXPECT_FALSE(Send(LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(Text(0, 0), u"a");
  EXPECT_EQ(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), -1);
  item.pszText = LPSTR_TEXTCALLBACKW;
  EXPECT_EQ(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 0);
  EXPECT_EQ(Text(0, 0), u"");
  EXPECT_EQ(Send(LVM_GETITEMCOUNT), 2);
}

TEST_F(ListView, FontAndImageListsChangeTheRowHeight) {
  AddColumn(0, u"Name", 100);
  AddRow(0, u"a");
  const int plain = ItemRect(0).bottom - ItemRect(0).top;
  HIMAGELIST images = ImageList_Create(16, 30, ILC_COLOR32, 1, 1);
  EXPECT_EQ(Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)), 0);
  EXPECT_EQ(ItemRect(0).bottom - ItemRect(0).top, 31);
  EXPECT_GT(31, plain);
  const RECT icon = ItemRect(0, LVIR_ICON);
  EXPECT_EQ(icon.right - icon.left, 16);
  EXPECT_EQ(ItemRect(0, LVIR_LABEL).left, icon.right);
  // The list destroys the lists it was given (no LVS_SHAREIMAGELISTS).
  DestroyWindow(list_);
  EXPECT_EQ(ImageList_GetImageCount(images), 0);
  EXPECT_FALSE(ImageList_Destroy(images));
}

}  // namespace
}  // namespace zx::test
