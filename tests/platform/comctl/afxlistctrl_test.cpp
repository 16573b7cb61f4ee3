// CListCtrl and CHeaderCtrl of the class library over the list view: the members the
// system's lists use, and check boxes, data and texts through them.
#include <gtest/gtest.h>

#include "afxcmn.h"
#include "comctl_testing.h"

namespace zx::test {
namespace {

class ListCtrl : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    ASSERT_TRUE(list_.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 150),
                             CWnd::FromHandle(parent_), 42));
  }
  void TearDown() override {
    list_.DestroyWindow();
    ControlTest::TearDown();
  }
  CListCtrl list_;
};

int CALLBACK ByText(LPARAM a, LPARAM b, LPARAM) {
  return reinterpret_cast<const CString*>(a)->Compare(*reinterpret_cast<const CString*>(b));
}

TEST_F(ListCtrl, MembersReachTheControl) {
  EXPECT_EQ(list_.GetDlgCtrlID(), 42);
  EXPECT_EQ(list_.InsertColumn(0, u"Name", LVCFMT_LEFT, 120), 0);
  EXPECT_EQ(list_.InsertColumn(1, u"Size", LVCFMT_RIGHT, 60), 1);
  EXPECT_EQ(list_.GetColumnWidth(1), 60);
  ASSERT_NE(list_.GetHeaderCtrl(), nullptr);
  EXPECT_EQ(list_.GetHeaderCtrl()->GetItemCount(), 2);
  CRect headerItem;
  ASSERT_TRUE(list_.GetHeaderCtrl()->GetItemRect(1, &headerItem));
  EXPECT_EQ(headerItem.left, 120);

  EXPECT_EQ(list_.InsertItem(0, u"beta"), 0);
  EXPECT_EQ(list_.InsertItem(1, u"alpha"), 1);
  EXPECT_TRUE(list_.SetItemText(1, 1, u"12 KB"));
  EXPECT_EQ(list_.GetItemText(1, 1), CString(u"12 KB"));
  EXPECT_EQ(list_.GetItemText(0, 0), CString(u"beta"));
  EXPECT_EQ(list_.GetItemText(5, 0), CString());
  EXPECT_EQ(list_.GetItemCount(), 2);

  const CString beta(u"beta"), alpha(u"alpha");
  list_.SetItemData(0, reinterpret_cast<DWORD_PTR>(&beta));
  list_.SetItemData(1, reinterpret_cast<DWORD_PTR>(&alpha));
  EXPECT_EQ(list_.GetItemData(1), reinterpret_cast<DWORD_PTR>(&alpha));
  ASSERT_TRUE(list_.SortItems(&ByText, 0));
  EXPECT_EQ(list_.GetItemText(0, 0), CString(u"alpha"));
  EXPECT_EQ(list_.GetItemText(0, 1), CString(u"12 KB"));

  list_.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  EXPECT_EQ(list_.GetExtendedStyle(), static_cast<DWORD>(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT));
  EXPECT_FALSE(list_.GetCheck(0));
  EXPECT_TRUE(list_.SetCheck(0));
  EXPECT_TRUE(list_.GetCheck(0));
  EXPECT_TRUE(list_.SetCheck(0, FALSE));
  EXPECT_FALSE(list_.GetCheck(0));

  EXPECT_TRUE(list_.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_EQ(list_.GetItemState(1, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(list_.GetNextItem(-1, LVNI_SELECTED), 1);
  EXPECT_EQ(list_.GetSelectedCount(), 1u);

  CRect row;
  ASSERT_TRUE(list_.GetItemRect(1, &row, LVIR_BOUNDS));
  UINT flags = 0;
  EXPECT_EQ(list_.HitTest(CPoint(150, row.top + 1), &flags), 1);
  EXPECT_EQ(flags, static_cast<UINT>(LVHT_ONITEMLABEL));
  CRect cell;
  ASSERT_TRUE(list_.GetSubItemRect(1, 1, LVIR_LABEL, cell));
  EXPECT_EQ(cell.left, 120);
  EXPECT_TRUE(list_.EnsureVisible(1, FALSE));
  EXPECT_EQ(list_.GetTopIndex(), 0);
  EXPECT_GT(list_.GetCountPerPage(), 2);

  EXPECT_TRUE(list_.DeleteItem(0));
  EXPECT_FALSE(list_.DeleteItem(3));
  EXPECT_TRUE(list_.DeleteAllItems());
  EXPECT_EQ(list_.GetItemCount(), 0);
}

TEST_F(ListCtrl, ImageListsStayWithTheirOwners) {
  CImageList images;
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 1));
  SetWindowLongW(list_, GWL_STYLE, GetWindowLongW(list_, GWL_STYLE) | LVS_SHAREIMAGELISTS);
  EXPECT_EQ(list_.SetImageList(&images, LVSIL_SMALL), nullptr);
  ASSERT_NE(list_.GetImageList(LVSIL_SMALL), nullptr);
  EXPECT_EQ(list_.GetImageList(LVSIL_SMALL)->GetSafeHandle(), images.GetSafeHandle());
  list_.DestroyWindow();
  // A shared list outlives the control.
  int cx = 0, cy = 0;
  EXPECT_TRUE(ImageList_GetIconSize(images, &cx, &cy));
  EXPECT_EQ(cx, 16);
}

}  // namespace
}  // namespace zx::test
