// The tree view: items and their relatives, check boxes as state images toggled by clicks
// and Space, selection and expansion with their notifications, hit tests, deletion, and
// hostile input; CTreeCtrl over it.
#include <gtest/gtest.h>

#include <algorithm>

#include "afxcmn.h"
#include "comctl_testing.h"

namespace zx::test {
namespace {

class TreeView : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    ASSERT_TRUE(tree_.Create(WS_CHILD | WS_VISIBLE | TVS_CHECKBOXES | TVS_HASBUTTONS | TVS_LINESATROOT |
                                 TVS_SHOWSELALWAYS,
                             CRect(0, 0, 250, 200), CWnd::FromHandle(parent_), 5163));
    display_ = tree_.InsertItem(u"Display adapters");
    video_ = tree_.InsertItem(u"Video card", display_);
    second_ = tree_.InsertItem(u"Second card", display_);
    sound_ = tree_.InsertItem(u"Sound", TVI_ROOT);
    Log().notifications.clear();
  }
  void TearDown() override {
    tree_.DestroyWindow();
    ControlTest::TearDown();
  }
  UINT StateImage(HTREEITEM item) { return tree_.GetItemState(item, TVIS_STATEIMAGEMASK) >> 12; }
  CTreeCtrl tree_;
  HTREEITEM display_ = nullptr, video_ = nullptr, second_ = nullptr, sound_ = nullptr;
};

TEST_F(TreeView, ItemsKnowTheirRelatives) {
  EXPECT_EQ(tree_.GetCount(), 4u);
  EXPECT_EQ(tree_.GetRootItem(), display_);
  EXPECT_EQ(tree_.GetNextSiblingItem(display_), sound_);
  EXPECT_EQ(tree_.GetPrevSiblingItem(sound_), display_);
  EXPECT_EQ(tree_.GetChildItem(display_), video_);
  EXPECT_EQ(tree_.GetNextSiblingItem(video_), second_);
  EXPECT_EQ(tree_.GetParentItem(second_), display_);
  EXPECT_EQ(tree_.GetParentItem(display_), nullptr);
  EXPECT_EQ(tree_.GetChildItem(sound_), nullptr);
  EXPECT_TRUE(tree_.ItemHasChildren(display_));
  EXPECT_FALSE(tree_.ItemHasChildren(sound_));
  EXPECT_EQ(tree_.GetItemText(second_), CString(u"Second card"));

  HTREEITEM sorted = tree_.InsertItem(u"keyboard", TVI_ROOT, TVI_SORT);
  EXPECT_EQ(tree_.GetPrevSiblingItem(sorted), display_);
  EXPECT_EQ(tree_.GetNextSiblingItem(sorted), sound_);
  HTREEITEM first = tree_.InsertItem(u"Zeta", TVI_ROOT, TVI_FIRST);
  EXPECT_EQ(tree_.GetRootItem(), first);
  HTREEITEM after = tree_.InsertItem(u"Third card", display_, video_);
  EXPECT_EQ(tree_.GetNextSiblingItem(video_), after);

  // Only the roots are visible while the parent is collapsed.
  EXPECT_EQ(tree_.GetNextVisibleItem(display_), sorted);
  ASSERT_TRUE(tree_.Expand(display_, TVE_EXPAND));
  EXPECT_EQ(tree_.GetNextVisibleItem(display_), video_);
}

TEST_F(TreeView, CheckBoxesToggleOnTheirStateImage) {
  EXPECT_EQ(StateImage(display_), 1u);
  EXPECT_NE(tree_.GetImageList(TVSIL_STATE), nullptr);
  CRect label;
  ASSERT_TRUE(tree_.GetItemRect(sound_, &label, TRUE));
  UINT flags = 0;
  const CPoint box(label.left - 8, label.top + 2);
  EXPECT_EQ(tree_.HitTest(box, &flags), sound_);
  EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMSTATEICON));
  tree_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
  EXPECT_TRUE(tree_.GetCheck(sound_));
  std::vector<UINT> codes = Log().Codes();
  codes.erase(std::remove(codes.begin(), codes.end(), static_cast<UINT>(NM_SETFOCUS)), codes.end());
  EXPECT_EQ(codes, (std::vector<UINT>{TVN_ITEMCHANGINGW, TVN_ITEMCHANGEDW, NM_CLICK}));
  EXPECT_EQ(tree_.GetSelectedItem(), nullptr);  // the box toggles, it does not select
  tree_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
  EXPECT_FALSE(tree_.GetCheck(sound_));

  // A click on the label selects; Space toggles the selected item.
  tree_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(label.left + 4, label.top + 2));
  EXPECT_EQ(tree_.GetSelectedItem(), sound_);
  EXPECT_FALSE(tree_.GetCheck(sound_));
  tree_.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(tree_.GetCheck(sound_));
  EXPECT_TRUE(tree_.SetCheck(video_));
  EXPECT_EQ(StateImage(video_), 2u);
  EXPECT_TRUE(tree_.SetItemState(video_, INDEXTOSTATEIMAGEMASK(4), TVIS_STATEIMAGEMASK));
  EXPECT_EQ(StateImage(video_), 4u);
}

TEST_F(TreeView, ARefusedStateChangeKeepsTheState) {
  Log().answer = [](NMHDR* nm) -> LRESULT { return nm->code == TVN_ITEMCHANGINGW; };
  EXPECT_FALSE(tree_.SetCheck(sound_));
  EXPECT_EQ(StateImage(sound_), 1u);
}

TEST_F(TreeView, SelectionIsAskedToldAndShowsItsItem) {
  ASSERT_TRUE(tree_.SelectItem(second_));
  ASSERT_EQ(Log().Codes(), (std::vector<UINT>{TVN_SELCHANGINGW, TVN_ITEMCHANGEDW, TVN_SELCHANGEDW,
                                              TVN_ITEMEXPANDINGW, TVN_ITEMEXPANDEDW}));
  EXPECT_EQ(tree_.GetSelectedItem(), second_);
  EXPECT_EQ(tree_.GetItemState(display_, TVIS_EXPANDED), static_cast<UINT>(TVIS_EXPANDED));
  EXPECT_EQ(tree_.GetItemState(second_, TVIS_SELECTED), static_cast<UINT>(TVIS_SELECTED));

  Log().answer = [](NMHDR* nm) -> LRESULT { return nm->code == TVN_SELCHANGINGW; };
  EXPECT_FALSE(tree_.SelectItem(sound_));
  EXPECT_EQ(tree_.GetSelectedItem(), second_);
  Log().answer = nullptr;

  // Collapsing the branch hands the selection to its parent.
  ASSERT_TRUE(tree_.Expand(display_, TVE_COLLAPSE));
  EXPECT_EQ(tree_.GetSelectedItem(), display_);
  EXPECT_FALSE(tree_.Expand(sound_, TVE_EXPAND));  // nothing to expand
  tree_.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(tree_.GetSelectedItem(), sound_);
  tree_.SendMessage(WM_KEYDOWN, VK_UP, 0);
  tree_.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(tree_.GetItemState(display_, TVIS_EXPANDED), static_cast<UINT>(TVIS_EXPANDED));
}

TEST_F(TreeView, HitTestsTellTheParts) {
  tree_.Expand(display_, TVE_EXPAND);
  CRect row, label;
  ASSERT_TRUE(tree_.GetItemRect(video_, &row, FALSE));
  ASSERT_TRUE(tree_.GetItemRect(video_, &label, TRUE));
  EXPECT_EQ(row.top, label.top);
  EXPECT_GT(label.left, 2 * static_cast<int>(tree_.GetIndent()) - 1);
  UINT flags = 0;
  EXPECT_EQ(tree_.HitTest(CPoint(label.left + 2, label.top + 1), &flags), video_);
  EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMLABEL));
  EXPECT_EQ(tree_.HitTest(CPoint(label.right + 10, label.top + 1), &flags), video_);
  EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMRIGHT));
  EXPECT_EQ(tree_.HitTest(CPoint(2, label.top + 1), &flags), video_);
  EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMINDENT));
  CRect top;
  tree_.GetItemRect(display_, &top, FALSE);
  EXPECT_EQ(tree_.HitTest(CPoint(static_cast<int>(tree_.GetIndent()) / 2, top.top + 2), &flags), display_);
  EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMBUTTON));
  tree_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tree_.GetIndent() / 2, top.top + 2));
  EXPECT_EQ(tree_.GetItemState(display_, TVIS_EXPANDED), 0u);
  EXPECT_FALSE(tree_.GetItemRect(video_, &row, FALSE));  // hidden now
  EXPECT_EQ(tree_.HitTest(CPoint(10, 190), &flags), nullptr);
  EXPECT_EQ(flags, static_cast<UINT>(TVHT_NOWHERE));
  EXPECT_EQ(tree_.HitTest(CPoint(10, -3), &flags), nullptr);
  EXPECT_EQ(flags, static_cast<UINT>(TVHT_ABOVE));
}

TEST_F(TreeView, DeletionTellsEveryItemAndForgetsItsHandle) {
  tree_.SelectItem(video_);
  Log().notifications.clear();
  ASSERT_TRUE(tree_.DeleteItem(display_));
  EXPECT_EQ(Log().Codes(), (std::vector<UINT>{TVN_DELETEITEMW, TVN_DELETEITEMW, TVN_DELETEITEMW}));
  EXPECT_EQ(tree_.GetCount(), 1u);
  EXPECT_EQ(tree_.GetSelectedItem(), nullptr);
  EXPECT_EQ(tree_.GetItemText(video_), CString());
  EXPECT_FALSE(tree_.DeleteItem(video_));
  EXPECT_EQ(tree_.InsertItem(u"orphan", video_), nullptr);  // a parent that is gone
  ASSERT_TRUE(tree_.DeleteAllItems());
  EXPECT_EQ(tree_.GetCount(), 0u);
  EXPECT_EQ(tree_.GetRootItem(), nullptr);
}

TEST_F(TreeView, HostileInputFailsCleanly) {
  EXPECT_EQ(tree_.SendMessage(TVM_INSERTITEMW, 0, 0), 0);
  EXPECT_EQ(tree_.SendMessage(TVM_GETITEMW, 0, 0), 0);
  EXPECT_EQ(tree_.SendMessage(TVM_SETITEMW, 0, 0), 0);
  EXPECT_EQ(tree_.SendMessage(TVM_HITTEST, 0, 0), 0);
  EXPECT_EQ(tree_.SendMessage(TVM_GETITEMRECT, 0, 0), 0);
  EXPECT_EQ(tree_.GetNextItem(reinterpret_cast<HTREEITEM>(0x12345), TVGN_NEXT), nullptr);
  EXPECT_EQ(tree_.GetNextItem(display_, 0x77), nullptr);
  EXPECT_FALSE(tree_.Expand(reinterpret_cast<HTREEITEM>(0x99), TVE_EXPAND));
  EXPECT_FALSE(tree_.SelectItem(reinterpret_cast<HTREEITEM>(0x99)));
  std::u16string huge(70000, u'y');
  EXPECT_EQ(tree_.InsertItem(huge.c_str()), nullptr);
  EXPECT_FALSE(tree_.SetItemText(sound_, huge.c_str()));
  EXPECT_EQ(tree_.GetItemText(sound_), CString(u"Sound"));
  WCHAR small[3] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = sound_;
  item.pszText = small;
  item.cchTextMax = 3;
  ASSERT_TRUE(tree_.GetItem(&item));
  EXPECT_EQ(std::u16string(small), u"So");
}

TEST_F(TreeView, ItemDataAndPaintedRows) {
  EXPECT_TRUE(tree_.SetItemData(sound_, static_cast<DWORD_PTR>(-1)));
  EXPECT_EQ(tree_.GetItemData(sound_), static_cast<DWORD_PTR>(-1));
  tree_.SelectItem(sound_);
  tree_.SetCheck(sound_);
  PaintNow(parent_);
  CRect label;
  ASSERT_TRUE(tree_.GetItemRect(sound_, &label, TRUE));
  // The selected label is filled (the tree has no focus: button face), the box is ticked.
  EXPECT_EQ(PixelOf(tree_, label.left + 1, label.top + 1), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(PixelOf(tree_, label.left - 16 + 1, label.top + (label.Height() - 16) / 2 + 1), RGB(0x1C, 0x51, 0x80));
}

TEST_F(TreeView, LinesJoinSiblingsAndChildren) {
  tree_.ModifyStyle(0, TVS_HASLINES);
  tree_.Expand(display_, TVE_EXPAND);
  PaintNow(parent_);
  CRect first, child, last;
  ASSERT_TRUE(tree_.GetItemRect(display_, &first, FALSE));
  ASSERT_TRUE(tree_.GetItemRect(video_, &child, FALSE));
  ASSERT_TRUE(tree_.GetItemRect(sound_, &last, FALSE));
  const int indent = static_cast<int>(tree_.GetIndent());
  const int rootColumn = indent / 2;
  const int childColumn = indent + indent / 2;
  const COLORREF line = GetSysColor(COLOR_GRAYTEXT);
  auto dotted = [&](int x, int top, int bottom) {
    int hits = 0;
    for (int y = top; y < bottom; ++y) hits += PixelOf(tree_, x, y) == line;
    return hits;
  };
  // The roots' line runs through the child rows down to the last root; the child column has
  // a line in the child rows only.
  EXPECT_GT(dotted(rootColumn, child.top, child.bottom), 0);
  EXPECT_GT(dotted(childColumn, child.top, child.bottom), 0);
  EXPECT_EQ(dotted(childColumn, last.top, last.bottom), 0);
  EXPECT_EQ(dotted(rootColumn, last.top + last.Height() / 2 + 1, last.bottom), 0);  // nothing below the last
}

}  // namespace
}  // namespace zx::test
