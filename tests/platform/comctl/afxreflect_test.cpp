// The controls inside the class library: a list control class handles its own insertion,
// deletion and measuring through reflected messages, as the system's owner-drawn list does,
// and WM_WINDOWPOSCHANGED with the flags 0x216 makes it measure again.
#include <gtest/gtest.h>

#include <vector>

#include "afxcmn.h"
#include "comctl_testing.h"

namespace zx::test {
namespace {

class CReflectingList : public CListCtrl {
 public:
  std::vector<int> inserted;
  std::vector<int> deleted;
  std::vector<UINT> drawn;
  UINT rowHeight = 33;

  void MeasureItem(LPMEASUREITEMSTRUCT measure) override { measure->itemHeight = rowHeight; }
  void DrawItem(LPDRAWITEMSTRUCT draw) override { drawn.push_back(draw->itemID); }

 protected:
  afx_msg void OnInserted(NMHDR* header, LRESULT* result) {
    inserted.push_back(reinterpret_cast<NMLISTVIEW*>(header)->iItem);
    *result = 0;
  }
  afx_msg void OnDeleted(NMHDR* header, LRESULT* result) {
    deleted.push_back(reinterpret_cast<NMLISTVIEW*>(header)->iItem);
    *result = 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingList, CListCtrl)
  ON_NOTIFY_REFLECT(LVN_INSERTITEM, &CReflectingList::OnInserted)
  ON_NOTIFY_REFLECT(LVN_DELETEITEM, &CReflectingList::OnDeleted)
  ON_WM_MEASUREITEM_REFLECT()
  ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

class Reflection : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_TRUE(parent_.CreateEx(0, AfxRegisterWndClass(0), u"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 400, 300, nullptr, nullptr));
    ASSERT_TRUE(list_.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED, CRect(0, 0, 300, 200),
                             &parent_, 5163));
  }
  void TearDown() override {
    parent_.DestroyWindow();
    MachineTest::TearDown();
  }
  int RowHeight() {
    CRect r;
    EXPECT_TRUE(list_.GetItemRect(0, &r, LVIR_BOUNDS));
    return r.Height();
  }
  CWnd parent_;
  CReflectingList list_;
};

TEST_F(Reflection, TheListHandlesItsOwnNotifications) {
  list_.InsertColumn(0, u"Driver", LVCFMT_LEFT, 200);
  list_.InsertItem(0, u"a");
  list_.InsertItem(1, u"b");
  list_.InsertItem(0, u"c");
  EXPECT_EQ(list_.inserted, (std::vector<int>{0, 1, 0}));
  list_.DeleteItem(1);
  EXPECT_EQ(list_.deleted, std::vector<int>{1});
}

TEST_F(Reflection, OwnerDrawnRowsAreMeasuredAndDrawnByTheList) {
  list_.InsertColumn(0, u"Driver", LVCFMT_LEFT, 200);
  list_.InsertItem(0, u"a");
  list_.InsertItem(1, u"b");
  EXPECT_EQ(RowHeight(), 33);
  list_.rowHeight = 47;
  EXPECT_EQ(RowHeight(), 33);  // kept until the list is asked again
  CRect window;
  list_.GetWindowRect(&window);
  WINDOWPOS pos{list_.m_hWnd, nullptr, 0, 0, window.Width(), window.Height(), 0x216};
  list_.SendMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  EXPECT_EQ(RowHeight(), 47);
  PaintNow(parent_);
  EXPECT_EQ(list_.drawn, (std::vector<UINT>{0, 1}));
}

}  // namespace
}  // namespace zx::test
