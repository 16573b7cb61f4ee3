// The main program's result list on its own: each row's status kind, value and further texts
// kept in step through insertions, deletions (plain mode too), sorts and a delete-all; the
// row height the row details ask; the band that takes check clicks; the picture of the
// status column; and the hand cursor over the link band only.
#include <algorithm>
#include <vector>

#include "cstring_printer.h"
#include "results_testing.h"
#include "zx/input.h"

namespace zx::test {
namespace {

class VelquorList : public ResultsTest {
 protected:
  void SetUp() override {
    ResultsTest::SetUp();
    ASSERT_TRUE(list_.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER,
                             CRect(0, 0, 560, 300), &host_, 90));
    ASSERT_EQ(list_.InsertCheckColumn(0, u"", 40), 0);
    ASSERT_EQ(list_.InsertColumn(1, u"Image", LVCFMT_LEFT, 330), 1);
    ASSERT_EQ(list_.InsertDetailColumn(2, u"Driver", 70), 2);
    ASSERT_EQ(list_.InsertColumn(3, u"Age", LVCFMT_LEFT, 100), 3);
    for (int i = 0; i < 4; ++i) {
      const CString name = CString(u"Driver ") + CString(static_cast<char16_t>(u'A' + i));
      ASSERT_EQ(list_.InsertItem(i, u""), i);
      ASSERT_TRUE(list_.SetItemDetails(i, name, static_cast<UINT>(i + 1), static_cast<UINT>(10 * i), u"Class " + name,
                                       u"2010-01-0" + CString(static_cast<char16_t>(u'1' + i)), u"2016-01-01"));
      list_.SetItemData(i, static_cast<DWORD_PTR>(i % 3));
    }
  }
  void TearDown() override {
    list_.DestroyWindow();
    ResultsTest::TearDown();
  }
  // Each row's title, status kind, value and class line, in row order.
  std::vector<CString> Rows() {
    std::vector<CString> rows;
    for (int row = 0; row < list_.GetItemCount(); ++row) {
      CString text;
      text.Format(u"%s|%u|%u|%s", static_cast<LPCTSTR>(list_.GetItemDetail(row)), list_.GetStatusKind(row),
                  list_.GetValue(row), static_cast<LPCTSTR>(list_.GetFurtherText(row, 0)));
      rows.push_back(text);
    }
    return rows;
  }
  POINT Screen(int x, int y) {
    POINT at{x, y};
    ::ClientToScreen(list_.m_hWnd, &at);
    return at;
  }

  velquor::CFancyListCtrl list_;
};

TEST_F(VelquorList, RowsKeepTheirDataThroughDeletionsInEitherMode) {
  const std::vector<CString> before = Rows();
  ASSERT_EQ(before.size(), 4u);
  EXPECT_EQ(before[2], CString(u"Driver C|3|20|Class Driver C"));
  struct Case {
    BOOL plain;
    int row;
  };
  for (const Case c : {Case{FALSE, 1}, Case{TRUE, 0}}) {
    std::vector<CString> expected = Rows();
    expected.erase(expected.begin() + c.row);
    list_.SetPlainMode(c.plain);
    ASSERT_TRUE(list_.DeleteItem(c.row));
    EXPECT_EQ(Rows(), expected) << "plain " << c.plain;
  }
  EXPECT_EQ(list_.GetFurtherText(0, 2), CString(u"2016-01-01"));
  EXPECT_EQ(list_.GetFurtherText(0, 3), CString());
  EXPECT_EQ(list_.GetStatusKind(9), 4u);
  list_.DeleteAllItems();
  EXPECT_EQ(list_.GetItemCount(), 0);
  EXPECT_TRUE(Rows().empty());
  EXPECT_FALSE(list_.SetItemDetails(0, u"none"));
}

TEST_F(VelquorList, ASortMovesEveryRowsDataWithTheRow) {
  list_.SetCheck(3, TRUE);
  list_.SetLastText(3, u"last");
  // Descending by item data (0, 1, 2, 0): rows 2, 1, then 0 and 3.
  list_.SortItems([](LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(b - a); }, 0);
  ASSERT_EQ(list_.GetItemData(0), 2u);
  EXPECT_EQ(list_.GetItemDetail(0), CString(u"Driver C"));
  EXPECT_EQ(list_.GetStatusKind(0), 3u);
  EXPECT_EQ(list_.GetFurtherText(1, 0), CString(u"Class Driver B"));
  const int moved = list_.GetItemDetail(2) == CString(u"Driver D") ? 2 : 3;
  EXPECT_TRUE(list_.GetCheck(moved));
  EXPECT_EQ(list_.GetLastText(moved), CString(u"last"));
  EXPECT_EQ(list_.GetValue(moved), 30u);
}

// The row details ask for the first line's height + 18, and the status column for the height
// its block needs (badge, labels and both dates), so that no row's block runs into the next.
TEST_F(VelquorList, RowsHoldTheFirstLinePlus18AndTheStatusBlock) {
  EXPECT_EQ(list_.GetRowHeight(), std::max({list_.GetFirstLineHeight() + 18, 19, 74}));
  CRect row;
  ASSERT_TRUE(list_.GetItemRect(1, &row, LVIR_BOUNDS));
  EXPECT_EQ(row.Height(), list_.GetRowHeight());
}

// The main build counts its check clicks from the header's bottom less 23 pixels: a row's band
// lies from half a row - 22 to half a row - 12 below its top. The main window's list follows
// only while the one-click popup's switches are on, which no list of its own turns on.
TEST_F(VelquorList, TheCheckBandLiesWhereTheMainBuildCountsIt) {
  const int height = list_.GetRowHeight();
  CRect row;
  list_.GetItemRect(2, &row, LVIR_BOUNDS);
  const CRect band = list_.GetCheckClickRect(2);
  EXPECT_EQ(band, CRect(20 + 8, row.top + height / 2 - 22, 20 + 19, row.top + height / 2 - 11));
  EXPECT_EQ(velquor::DriverListSwitches().bPopupOpen, FALSE);
  EXPECT_EQ(velquor::DriverListSwitches().bStatusTextsHidden, FALSE);
  ClickAt(Screen(band.CenterPoint().x, band.CenterPoint().y));
  Pump();
  for (int r = 0; r < list_.GetItemCount(); ++r) EXPECT_EQ(list_.GetCheck(r), r == 2) << r;
}

// The status column of the four status kinds (and the three action texts): the action text at
// the row's top + 8 from 68 pixels left of the column, the badge 8 pixels left of it and 3
// above, the age labels 11 below the badge's top, and the two date lines under the labels,
// each value 64 pixels wide after its label; the age block stands left of the action text.
TEST_F(VelquorList, TheStatusColumnMatchesItsPicture) {
  list_.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  ExpectWindowMatches(list_.m_hWnd, "velquor_status_column.png", true);
}

TEST_F(VelquorList, TheHandShowsOverTheLinkBandOnly) {
  const CRect band = list_.GetLinkBand();
  EXPECT_EQ(band.left, 40 + 330);
  EXPECT_EQ(band.Width(), 100);
  const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  user::InjectMouse(Screen(band.left + 5, 30), WM_MOUSEMOVE);
  Pump();
  const HCURSOR hand = ::GetCursor();
  EXPECT_NE(hand, nullptr);
  EXPECT_NE(hand, arrow);
  user::InjectMouse(Screen(band.left - 5, 30), WM_MOUSEMOVE);
  Pump();
  EXPECT_EQ(::GetCursor(), arrow);
}

}  // namespace
}  // namespace zx::test
