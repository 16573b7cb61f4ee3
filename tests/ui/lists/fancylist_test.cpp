// The owner-drawn list: columns and their indices, the rows' data kept in step with the
// control (and a build's further row data), row heights from the wrapped detail text, the
// header's width rules and the band that takes check clicks.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "FancyRowData.h"
#include "ListSortClass.h"
#include "fancylist_testing.h"

namespace zx::test {
namespace {

using FancyList = FancyListTest;

TEST_F(FancyList, SubclassingMeasuresTheFontsAndStartsAt22Pixels) {
  EXPECT_GT(list_.GetFirstLineHeight(), 10);
  EXPECT_GT(list_.GetLineHeight(), 10);
  EXPECT_GE(list_.GetFirstLineHeight(), list_.GetLineHeight());  // bold 12 against 11
  EXPECT_EQ(list_.GetRowHeight(), 22);
}

TEST_F(FancyList, ColumnsInsertedBeforeOthersMoveTheirIndices) {
  MakeColumns();
  EXPECT_EQ(list_.GetCheckColumn(), 0);
  EXPECT_EQ(list_.GetImageColumn(), 1);
  EXPECT_EQ(list_.GetDetailColumn(), 2);
  EXPECT_EQ(list_.InsertCheckColumn(0, u"again", 20), -1);
  EXPECT_EQ(list_.InsertImageColumn(0, &images_, u"again", 20), -1);
  EXPECT_EQ(list_.InsertDetailColumn(0, u"again", 100), -1);
  EXPECT_EQ(list_.GetHeaderCtrl()->GetItemCount(), 4);
}

TEST_F(FancyList, AnImageColumnNeedsImagesAndADetailColumnAWidth) {
  EXPECT_EQ(list_.InsertImageColumn(0, nullptr, u"", 30), -1);
  EXPECT_EQ(list_.InsertDetailColumn(0, u"Driver", 0), -1);
  EXPECT_EQ(list_.GetHeaderCtrl()->GetItemCount(), 0);
  EXPECT_EQ(list_.InsertImageColumn(0, &images_, u"", 30), 0);
  EXPECT_EQ(list_.GetRowHeight(), 22);  // 16-pixel images need 20
}

TEST_F(FancyList, RowDataFollowsInsertionAndDeletion) {
  MakeColumns();
  AddRow(u"a", 1);
  AddRow(u"b", 0);
  ASSERT_TRUE(list_.SetCheck(1, TRUE));
  AddRow(u"c");
  list_.InsertItem(0, u"first");
  EXPECT_FALSE(list_.GetCheck(0));
  EXPECT_TRUE(list_.GetCheck(2));  // "b" moved down one
  EXPECT_EQ(list_.GetItemExtraText(1), u"a");
  ASSERT_TRUE(list_.DeleteItem(1));
  EXPECT_TRUE(list_.GetCheck(1));
  EXPECT_EQ(list_.GetItemExtraText(1), u"b");
  EXPECT_EQ(list_.GetItemExtraText(2), u"c");
}

TEST_F(FancyList, RowsOutsideTheListAnswerFalse) {
  MakeColumns();
  AddRow(u"a");
  EXPECT_FALSE(list_.SetCheck(1, TRUE));
  EXPECT_FALSE(list_.SetCheck(-1, TRUE));
  EXPECT_FALSE(list_.GetCheck(5));
  EXPECT_FALSE(list_.SetItemDetails(1, u"x"));
  EXPECT_FALSE(list_.SetRowKind(3, kFancyRowGroupHeader));
  EXPECT_EQ(list_.GetItemExtraText(9), u"");
}

TEST_F(FancyList, DetailsNeedADetailColumn) {
  list_.InsertCheckColumn(0, u"", 20);
  AddRow(u"a");
  EXPECT_FALSE(list_.SetItemDetails(0, u"title"));
  EXPECT_EQ(list_.GetItemExtraText(0), u"");  // no detail column: empty entries only
}

TEST_F(FancyList, DeleteAllEmptiesEveryRowAtOnce) {
  MakeColumns();
  for (const char16_t* text : {u"a", u"b", u"c"}) AddRow(text);
  list_.SetCheck(0, TRUE);
  ASSERT_TRUE(list_.DeleteAllItems());
  EXPECT_EQ(list_.GetItemCount(), 0);
  AddRow(u"new");
  EXPECT_FALSE(list_.GetCheck(0));
  EXPECT_EQ(list_.GetItemExtraText(0), u"new");
}

TEST_F(FancyList, ThreeShortLinesMakeTheRowHeight) {
  MakeColumns();
  AddRow(u"one\ntwo\nthree");
  EXPECT_EQ(list_.GetRowHeight(), list_.GetFirstLineHeight() + 3 * list_.GetLineHeight() + 5);
  EXPECT_EQ(ShownRowHeight(), list_.GetRowHeight());
}

TEST_F(FancyList, DetailsAloneAskForOneTitleLine) {
  MakeColumns();
  AddRow(u"");
  ASSERT_TRUE(list_.SetItemDetails(0, u"Audio controller"));
  EXPECT_EQ(list_.GetRowHeight(), std::max(22, list_.GetFirstLineHeight() + 18));
  EXPECT_EQ(list_.GetItemDetail(0), u"Audio controller");
  EXPECT_EQ(ShownRowHeight(), list_.GetRowHeight());
}

TEST_F(FancyList, AWordWiderThanTheDetailAreaStaysOnOneLine) {
  MakeColumns();
  CDC* dc = list_.GetDC();
  EXPECT_EQ(list_.WrapText(dc, CString(std::u16string(200, u'W').c_str()), CRect(0, 0, 100, 0), TRUE), 1);
  // Room for one word and its blank, not two words: each word on its own line.
  const int oneWord = dc->GetTextExtent(CString(u"abcd ")).cx;
  EXPECT_EQ(list_.WrapText(dc, u"abcd abcd abcd abcd", CRect(0, 0, oneWord + 2, 0), TRUE), 4);
  EXPECT_EQ(list_.WrapText(dc, u"abcd abcd abcd abcd", CRect(0, 0, 2 * oneWord + 2, 0), TRUE), 2);
  EXPECT_EQ(list_.WrapText(dc, u"C:\\Windows\\System32\\drivers", CRect(0, 0, 80, 0), TRUE), 3);
  std::u16string many;
  for (int i = 0; i < 150; ++i) many += u"x\n";
  EXPECT_EQ(list_.WrapText(dc, many.c_str(), CRect(0, 0, 100, 0), TRUE), CFancyListCtrl::kMaxWrappedLines);
  list_.ReleaseDC(dc);
}

TEST_F(FancyList, ALongWrappedTextGrowsTheRowAndNarrowingTheColumnGrowsItMore) {
  MakeColumns();
  AddRow(u"alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu");
  const int grown = list_.GetRowHeight();
  EXPECT_GT(grown, list_.GetFirstLineHeight() + list_.GetLineHeight() + 5);
  // A header drag that ends narrower measures every row's text again.
  ASSERT_TRUE(list_.SetColumnWidth(2, 60));
  ASSERT_TRUE(list_.SetColumnWidth(3, 0));
  NMHEADER end{};
  end.hdr.hwndFrom = list_.GetHeaderCtrl()->GetSafeHwnd();
  end.hdr.code = HDN_ENDTRACKW;
  end.iItem = 2;
  list_.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&end));
  EXPECT_GT(list_.GetRowHeight(), grown);
  EXPECT_EQ(ShownRowHeight(), list_.GetRowHeight());
}

TEST_F(FancyList, DeletingTheTallRowLetsTheOthersShrink) {
  MakeColumns();
  AddRow(u"short");
  AddRow(u"one\ntwo\nthree\nfour");
  const int tall = list_.GetRowHeight();
  ASSERT_TRUE(list_.DeleteItem(1));
  EXPECT_LT(list_.GetRowHeight(), tall);
  EXPECT_EQ(ShownRowHeight(), list_.GetRowHeight());
}

TEST_F(FancyList, TheCheckColumnKeepsItsWidth) {
  MakeColumns();
  EXPECT_FALSE(list_.SetColumnWidth(0, 40));
  EXPECT_EQ(list_.GetColumnWidth(0), 20);
}

TEST_F(FancyList, TheDetailColumnKeepsFiftyPixels) {
  MakeColumns();
  EXPECT_FALSE(list_.SetColumnWidth(2, 49));
  EXPECT_EQ(list_.GetColumnWidth(2), 200);
  EXPECT_TRUE(list_.SetColumnWidth(2, 50));
  EXPECT_EQ(list_.GetColumnWidth(2), 50);
}

TEST_F(FancyList, TheImageColumnKeepsItsImagesWidthOrAllWhenFixed) {
  MakeColumns();
  EXPECT_FALSE(list_.SetColumnWidth(1, 15));
  EXPECT_TRUE(list_.SetColumnWidth(1, 16));
  list_.SetImageColumnFixed(TRUE);
  EXPECT_FALSE(list_.SetColumnWidth(1, 40));
  EXPECT_EQ(list_.GetColumnWidth(1), 16);
  EXPECT_TRUE(list_.SetColumnWidth(3, 5));  // other columns are free
}

TEST_F(FancyList, WhileSuspendedRowsKeepTheirDataButAreNotMeasured) {
  MakeColumns();
  AddRow(u"a");
  list_.SetCheck(0, TRUE);
  const int height = list_.GetRowHeight();
  list_.SetSuspended(TRUE);
  list_.InsertItem(0, u"one\ntwo\nthree");
  EXPECT_EQ(list_.GetRowHeight(), height);
  AddRow(u"c");
  ASSERT_TRUE(list_.DeleteItem(2));
  list_.SetSuspended(FALSE);
  EXPECT_FALSE(list_.GetCheck(0));
  EXPECT_TRUE(list_.GetCheck(1));
  EXPECT_EQ(list_.GetItemExtraText(0), u"one\ntwo\nthree");
  EXPECT_EQ(list_.GetItemExtraText(1), u"a");
  EXPECT_EQ(list_.GetItemExtraText(2), u"");
}

TEST_F(FancyList, WhileSuspendedTheHeaderIsLeftAlone) {
  MakeColumns();
  list_.SetSuspended(TRUE);
  EXPECT_TRUE(list_.SetColumnWidth(0, 40));
  list_.SetSuspended(FALSE);
}

// Check clicks are taken on a row's drawn check box, and in a band right of the check column's
// centre (+ 8 to + 18), counted off in rows from the header's bottom less 25 pixels: the band
// of a row lies from half a row - 24 to half a row - 14 below the row's top. Only the part of a
// band inside its row counts (a click on one row never changes another); group headers take
// none.
TEST_F(FancyList, AClickOnACheckBoxOrInItsRowsCheckBandTogglesThatRowOnly) {
  MakeColumns();
  for (const char16_t* text : {u"a", u"b", u"c", u"d"}) AddRow(text);
  ASSERT_TRUE(list_.SetRowKind(3, kFancyRowGroupHeader));
  const int height = list_.GetRowHeight();
  const CRect band = list_.GetCheckClickRect(1);
  CRect row;
  ASSERT_TRUE(list_.GetItemRect(1, &row, LVIR_BOUNDS));
  EXPECT_EQ(band, CRect(10 + 8, row.top + height / 2 - 24, 10 + 19, row.top + height / 2 - 13));
  EXPECT_TRUE(list_.GetCheckClickRect(3).IsRectEmpty());
  CRect inRow;
  ASSERT_TRUE(inRow.IntersectRect(&band, &row)) << "no part of the band lies in its row";
  struct Case {
    CPoint at;
    int toggled;  // -1: none
  };
  std::vector<Case> cases = {
      {inRow.TopLeft(), 1},
      {CPoint(inRow.right - 1, inRow.bottom - 1), 1},
      {CPoint(band.left - 1, inRow.top), list_.GetCheckBoxRect(1).PtInRect(CPoint(band.left - 1, inRow.top)) ? 1 : -1},
      {CPoint(band.right, inRow.top), -1},
      {CPoint(band.left, band.bottom), -1},
      {inRow.TopLeft() + CSize(0, height), 2},
      {list_.GetCheckBoxRect(1).CenterPoint(), 1},
      {list_.GetCheckBoxRect(2).CenterPoint(), 2},
      {list_.GetCheckBoxRect(1).CenterPoint() + CSize(0, 2 * height), -1},  // the group header's place
  };
  // The part of row 1's band that the count puts in row 0 changes neither row.
  if (band.top < row.top) cases.push_back({band.TopLeft(), -1});
  for (const Case& c : cases) {
    for (int r = 0; r < 4; ++r) list_.SetCheck(r, FALSE);
    list_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.at.x, c.at.y));
    list_.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.at.x, c.at.y));
    for (int r = 0; r < 4; ++r) EXPECT_EQ(list_.GetCheck(r), r == c.toggled) << c.at.x << "," << c.at.y << " row " << r;
    list_.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(c.at.x, c.at.y));
    if (c.toggled >= 0) {
      EXPECT_FALSE(list_.GetCheck(c.toggled));
    }
  }
}

TEST_F(FancyList, SelectSingleItemLeavesOneRowSelectedAndFocused) {
  MakeColumns();
  for (const char16_t* text : {u"a", u"b", u"c"}) AddRow(text);
  SelectListItem(&list_, 0);
  SelectListItem(&list_, 2);
  list_.SelectSingleItem(1);
  EXPECT_EQ(list_.GetSelectedCount(), 1u);
  EXPECT_EQ(list_.GetNextItem(-1, LVNI_SELECTED), 1);
  EXPECT_EQ(list_.GetNextItem(-1, LVNI_FOCUSED), 1);
  list_.SelectSingleItem(7);
  EXPECT_EQ(list_.GetSelectedCount(), 0u);
  EXPECT_EQ(list_.GetNextItem(-1, LVNI_FOCUSED), -1);
}

// ---- Sorting ---------------------------------------------------------------------------------

int CALLBACK ByItemDataDescending(LPARAM a, LPARAM b, LPARAM) { return a < b ? 1 : a > b ? -1 : 0; }

TEST_F(FancyList, SortedRowsKeepTheirChecksTextsAndKinds) {
  MakeColumns();
  for (const char16_t* text : {u"charlie", u"alpha", u"bravo"}) AddRow(text);
  list_.SetCheck(1, TRUE);
  list_.SetRowKind(2, kFancyRowGroupHeader);
  for (int row = 0; row < 3; ++row) list_.SetItemData(row, 10 + row);
  {
    CListSortClass sorter(&list_, 0);
    ASSERT_TRUE(sorter.Sort(TRUE, kListSortText));
  }
  EXPECT_EQ(list_.GetItemExtraText(0), u"alpha");
  EXPECT_TRUE(list_.GetCheck(0));
  EXPECT_EQ(list_.GetItemExtraText(1), u"bravo");
  EXPECT_EQ(list_.GetRowKind(1), kFancyRowGroupHeader);
  EXPECT_EQ(list_.GetItemExtraText(2), u"charlie");
  EXPECT_FALSE(list_.GetCheck(2));
  EXPECT_EQ(Data(list_), (std::vector<DWORD_PTR>{11, 12, 10}));
}

TEST_F(FancyList, TheCallersComparatorSeesTheItemData) {
  MakeColumns();
  for (const char16_t* text : {u"a", u"b", u"c"}) AddRow(text);
  for (int row = 0; row < 3; ++row) list_.SetItemData(row, 10 + row);
  list_.SetCheck(0, TRUE);
  ASSERT_TRUE(list_.SortItems(&ByItemDataDescending, 0));
  EXPECT_EQ(Data(list_), (std::vector<DWORD_PTR>{12, 11, 10}));
  EXPECT_EQ(list_.GetItemExtraText(0), u"c");
  EXPECT_TRUE(list_.GetCheck(2));
  EXPECT_FALSE(list_.SortItems(nullptr, 0));
}

// A build's further texts and values per row follow the rows through insertion, sorts and
// deletion; a slot past the build's count stores nothing.
TEST_F(FancyList, FurtherRowDataFollowsTheRows) {
  CFancyRowData<CFancyListCtrl, 2, 1> list;
  ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT | LVS_OWNERDRAWFIXED, CRect(0, 0, 400, 220), &owner_, kListId + 1));
  list.InsertColumn(0, u"Driver", LVCFMT_LEFT, 200);
  for (const char16_t* text : {u"charlie", u"alpha"}) list.InsertItem(list.GetItemCount(), text);
  EXPECT_TRUE(list.SetItemFurtherText(0, 1, u"third"));
  EXPECT_FALSE(list.SetItemFurtherText(0, 2, u"x"));
  EXPECT_TRUE(list.SetItemValue(1, 0, 1));
  list.InsertItem(1, u"bravo");
  ASSERT_TRUE(CListSortClass(&list, 0).Sort(TRUE, kListSortText));
  ASSERT_TRUE(list.DeleteItem(1));
  EXPECT_EQ(list.GetItemValue(0, 0), 1u);              // alpha
  EXPECT_EQ(list.GetItemFurtherText(1, 1), u"third");  // charlie
  list.DestroyWindow();
}

// ---- Header drags and scrolling --------------------------------------------------------------

class FancyListDrag : public FancyListTest {
 protected:
  void Drag(int column, int toX) {
    HWND header = list_.GetHeaderCtrl()->GetSafeHwnd();
    CRect item;
    ASSERT_TRUE(list_.GetHeaderCtrl()->GetItemRect(column, &item));
    const int y = item.CenterPoint().y;
    ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.right - 1, y));
    ::SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, y));
    ::SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(toX, y));
  }
  void EndTrackNow(int column) {
    HDITEM width{};
    width.mask = HDI_WIDTH;
    width.cxy = list_.GetColumnWidth(column);
    NMHEADER end{};
    end.hdr.hwndFrom = list_.GetHeaderCtrl()->GetSafeHwnd();
    end.hdr.code = HDN_ENDTRACKW;
    end.iItem = column;
    end.pitem = &width;
    list_.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&end));
  }
};

TEST_F(FancyListDrag, ADragMeasuresTheRowsWithTheNewWidth) {
  MakeColumns();
  AddRow(u"alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi omicron pi rho");
  const int wide = list_.GetRowHeight();
  Drag(2, 50 + 90);
  ASSERT_EQ(list_.GetColumnWidth(2), 90);
  const int narrow = list_.GetRowHeight();
  EXPECT_GT(narrow, wide);
  EXPECT_EQ(ShownRowHeight(), narrow);
  EndTrackNow(2);  // measuring again at the width it now has changes nothing
  EXPECT_EQ(list_.GetRowHeight(), narrow);
}

// After a drag the list goes back to its old top row and then shows its last row.
TEST_F(FancyListDrag, ADragEndsWithTheLastRowShown) {
  MakeColumns();
  for (int i = 0; i < 30; ++i) AddRow(u"row");
  ASSERT_TRUE(list_.EnsureVisible(3, FALSE));
  ASSERT_LT(list_.GetTopIndex() + list_.GetCountPerPage(), 30);
  EndTrackNow(2);
  EXPECT_EQ(list_.GetTopIndex(), 30 - list_.GetCountPerPage());
}

TEST_F(FancyListDrag, DraggingTheDetailColumnBelowFiftyKeepsItsWidthAndHeight) {
  MakeColumns();
  AddRow(u"alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu");
  const int height = list_.GetRowHeight();
  Drag(2, 50 + 30);
  EXPECT_EQ(list_.GetColumnWidth(2), 200);
  EXPECT_EQ(list_.GetRowHeight(), height);
}

TEST_F(FancyListDrag, DraggingTheCheckColumnChangesNothing) {
  MakeColumns();
  Drag(0, 60);
  EXPECT_EQ(list_.GetColumnWidth(0), 20);
}

TEST_F(FancyListDrag, ScrolledSidewaysTheCheckBoxesMoveWithTheRows) {
  MakeColumns();
  list_.SetColumnWidth(3, 300);
  for (const char16_t* text : {u"a", u"b"}) AddRow(text);
  const CRect before = list_.GetCheckClickRect(1);
  ASSERT_TRUE(list_.Scroll(CSize(6, 0)));
  ASSERT_EQ(list_.GetScrollPos(SB_HORZ), 6);
  const CRect after = list_.GetCheckClickRect(1);
  EXPECT_EQ(after.left, before.left - 6);
  EXPECT_EQ(list_.GetCheckBoxRect(1).left, before.left - 16 - 6);
  CRect second;
  list_.GetItemRect(1, &second, LVIR_BOUNDS);
  list_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(after.right - 2, std::max(after.top, second.top) + 1));
  EXPECT_TRUE(list_.GetCheck(1));
  // The image column is drawn 6 pixels further left too.
  owner_.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  CRect row;
  list_.GetItemRect(0, &row, LVIR_BOUNDS);
  HDC dc = ::GetDC(list_.GetSafeHwnd());
  EXPECT_EQ(::GetPixel(dc, 20 + 15 - 6 - 4, row.top + (row.Height() - 1) / 2) & 0xFFFFFF, 0x578B2Eu);
  EXPECT_NE(::GetPixel(dc, 20 + 15 + 5, row.top + (row.Height() - 1) / 2) & 0xFFFFFF, 0x578B2Eu);
  ::ReleaseDC(list_.GetSafeHwnd(), dc);
}

}  // namespace
}  // namespace zx::test
