// The owner-drawn list's look: row fills, the check images of the resource library, the
// images, the title, wrapped text, group header and cell colours, the selected and focused
// rows, and a picture of the whole list compared with its reference pixel for pixel
// (ZX_UPDATE_SNAPSHOTS=1 writes the reference after a deliberate change of the drawing).
#include <gtest/gtest.h>

#include <string>

#include "fancylist_testing.h"
#include "snapshot_compare.h"
#include "zx/gdi.h"
#include "zx/windowpaint.h"

namespace zx::test {
namespace {

class FancyListPaint : public FancyListTest {
 protected:
  void SetUp() override {
    FancyListTest::SetUp();
    MakeColumns();
    AddRow(u"", 0);
    list_.SetItemDetails(0, u"Audio controller");
    list_.SetItemText(0, 3, u"6.0.1");
    AddRow(u"Network adapter\nWindows 7 driver, 2011", 1);
    list_.SetItemText(1, 3, u"12.4");
    AddRow(u"", 0);
    list_.SetItemDetails(2, u"Other devices");
    list_.SetRowKind(2, kFancyRowGroupHeader);
    AddRow(u"Card reader", 0);
    list_.SetItemText(3, 3, u"1.0");
    list_.SetCheck(1, TRUE);
  }
  void Paint() {
    owner_.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  COLORREF Pixel(int x, int y) {
    HDC dc = ::GetDC(list_.GetSafeHwnd());
    const COLORREF c = ::GetPixel(dc, x, y) & 0xFFFFFF;
    ::ReleaseDC(list_.GetSafeHwnd(), dc);
    return c;
  }
  CRect Row(int row) {
    CRect r;
    EXPECT_TRUE(list_.GetItemRect(row, &r, LVIR_BOUNDS));
    return r;
  }
  // Whether some pixel of the rectangle has exactly the colour.
  bool Shows(const CRect& area, COLORREF colour) {
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (Pixel(x, y) == colour) return true;
    return false;
  }
  // A point of the row's Version cell right of its text.
  CPoint Blank(int row) { return CPoint(325, Row(row).top + 3); }
};

TEST_F(FancyListPaint, RowsAreWhiteUntilTheTwoBackgroundsDiffer) {
  Paint();
  EXPECT_EQ(Pixel(Blank(0).x, Blank(0).y), 0xFFFFFFu);
  list_.SetBackgroundColours(0xFFFFFF, 0xF0F0F0);
  Paint();
  EXPECT_EQ(Pixel(Blank(0).x, Blank(0).y), CFancyListCtrl::kSecondFillColour);
  EXPECT_EQ(Pixel(Blank(3).x, Blank(3).y), CFancyListCtrl::kSecondFillColour);
  // The last pixel line of each row is left to the list's own background.
  EXPECT_EQ(Pixel(Blank(0).x, Row(0).bottom - 1), 0xFFFFFFu);
}

TEST_F(FancyListPaint, ASelectedRowIsWhiteAndItsCellsStayReadable) {
  list_.SetBackgroundColours(0xFFFFFF, 0xF0F0F0);
  list_.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
  Paint();
  EXPECT_EQ(Pixel(Blank(3).x, Blank(3).y), 0xFFFFFFu);
  EXPECT_EQ(Pixel(Blank(0).x, Blank(0).y), CFancyListCtrl::kSecondFillColour);
  const CRect row = Row(3);
  EXPECT_TRUE(Shows(CRect(252, row.top, 300, row.bottom), CFancyListCtrl::kCellTextColour));
}

TEST_F(FancyListPaint, TheFocusedRowIsWhiteWithAFocusFrame) {
  list_.SetBackgroundColours(0xFFFFFF, 0xF0F0F0);
  list_.SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED);
  list_.SetFocus();
  Paint();
  EXPECT_EQ(Pixel(Blank(0).x, Blank(0).y), 0xFFFFFFu);
  const CRect row = Row(0);
  int framed = 0;
  for (int x = 100; x < 140; ++x) framed += Pixel(x, row.top) != 0xFFFFFFu;
  EXPECT_GT(framed, 5);
}

TEST_F(FancyListPaint, CheckImagesComeFromTheResourceLibrary) {
  Paint();
  const COLORREF clear = Pixel(list_.GetCheckBoxRect(0).CenterPoint().x, list_.GetCheckBoxRect(0).CenterPoint().y);
  const COLORREF checked = Pixel(list_.GetCheckBoxRect(1).CenterPoint().x, list_.GetCheckBoxRect(1).CenterPoint().y);
  EXPECT_NE(clear, 0xFFFFFFu);
  EXPECT_NE(checked, 0xFFFFFFu);
  EXPECT_NE(clear, checked);
  // A group header row shows no check box.
  EXPECT_EQ(Pixel(10, Row(2).top + Row(2).Height() / 2), 0xFFFFFFu);
}

TEST_F(FancyListPaint, ImagesAreCentredInTheImageColumn) {
  Paint();
  const int middle0 = Row(0).top + (Row(0).Height() - 1) / 2;
  EXPECT_EQ(Pixel(20 + 15, middle0), 0x578B2Eu);  // the green square
  const int middle1 = Row(1).top + (Row(1).Height() - 1) / 2;
  EXPECT_EQ(Pixel(20 + 15, middle1), 0xC8641Eu);  // the blue diamond
}

TEST_F(FancyListPaint, TitlesWrappedTextAndGroupHeadersHaveTheirColours) {
  Paint();
  const CRect title = Row(0);
  EXPECT_TRUE(Shows(CRect(55, title.top, 160, title.bottom), CFancyListCtrl::kDetailColour));
  const CRect wrapped = Row(1);
  const int secondLine = wrapped.top + 3 + list_.GetFirstLineHeight() + list_.GetLineHeight();
  EXPECT_TRUE(Shows(CRect(55, secondLine, 160, secondLine + list_.GetLineHeight()), CFancyListCtrl::kDetailColour));
  const CRect group = Row(2);
  EXPECT_TRUE(Shows(CRect(20, group.top, 120, group.bottom), CFancyListCtrl::kGroupColour));
  EXPECT_FALSE(Shows(CRect(20, group.top, 120, group.top + 16), CFancyListCtrl::kGroupColour));
}

TEST_F(FancyListPaint, WhileSuspendedRowsAreNotDrawn) {
  list_.SetSuspended(TRUE);
  Paint();
  EXPECT_FALSE(Shows(CRect(55, Row(0).top, 160, Row(0).bottom), CFancyListCtrl::kDetailColour));
  list_.SetSuspended(FALSE);
}

TEST_F(FancyListPaint, TheListMatchesItsReferencePicture) {
  list_.SetBackgroundColours(0xFFFFFF, 0xF0F0F0);
  list_.SetItemState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  list_.SetFocus();
  Paint();
  TempFolder temp;
  const std::string drawn = temp.path() + "/fancylist.png";
  ASSERT_TRUE(zx::user::SaveWindowPng(list_.GetSafeHwnd(), drawn));
  const std::string reference = std::string(ZX_LIST_SNAPSHOTS) + "/fancylist.png";
  ExpectSameAsReference(drawn, reference, "fancylist");
}

TEST_F(FancyListPaint, ThePointerOverARowChangesNothing) {
  list_.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
  Paint();
  TempFolder temp;
  ASSERT_TRUE(zx::user::SaveWindowPng(list_.GetSafeHwnd(), temp.path() + "/before.png"));
  const CPoint over(120, Row(0).CenterPoint().y);
  list_.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
  Pump();
  Paint();
  ASSERT_TRUE(zx::user::SaveWindowPng(list_.GetSafeHwnd(), temp.path() + "/after.png"));
  EXPECT_EQ(ReadHostFile(temp.path() + "/before.png"), ReadHostFile(temp.path() + "/after.png"));
}

}  // namespace
}  // namespace zx::test
