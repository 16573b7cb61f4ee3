// Right clicks on the report list view: the row under the pointer is selected (or keeps the
// selection it belongs to), the parent hears NM_RCLICK / NM_RDBLCLK with the row, and the
// context menu is asked for (WM_CONTEXTMENU at the screen point) unless the parent took the
// click.
#include <gtest/gtest.h>

#include "comctl_testing.h"

namespace zx::test {
namespace {

struct ContextMenuAsk {
  HWND from;
  POINT screen;
};
std::vector<ContextMenuAsk>& Asks() {
  static std::vector<ContextMenuAsk> asks;
  return asks;
}
WNDPROC& ParentProc() {
  static WNDPROC proc = nullptr;
  return proc;
}

LRESULT CALLBACK RecordContextMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CONTEXTMENU) {
    Asks().push_back(ContextMenuAsk{reinterpret_cast<HWND>(wParam),
                                    POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))}});
    return 0;
  }
  return CallWindowProcW(ParentProc(), window, message, wParam, lParam);
}

class ListRightClick : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    Asks().clear();
    ParentProc() = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordContextMenu)));
    list_ = MakeChild(WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS);
    ASSERT_NE(list_, nullptr);
    LVCOLUMNW c{};
    c.mask = LVCF_WIDTH;
    c.cx = 120;
    SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&c));
    SendMessageW(list_, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&c));
    for (int i = 0; i < 4; ++i) {
      LVITEMW item{};
      item.mask = LVIF_PARAM;
      item.iItem = i;
      item.lParam = 50 + i;
      SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
  }
  RECT Row(int index) {
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  void RightClick(int x, int y, UINT message = WM_RBUTTONDOWN) {
    Log().notifications.clear();
    SendMessageW(list_, message, 0, MAKELPARAM(x, y));
  }
  UINT State(int row) {
    return static_cast<UINT>(SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED | LVIS_FOCUSED));
  }
  void Select(int row) {
    LVITEMW item{};
    item.state = LVIS_SELECTED;
    item.stateMask = LVIS_SELECTED;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }
  const Notification* Find(UINT code) {
    for (const Notification& n : Log().notifications)
      if (n.code == code) return &n;
    return nullptr;
  }
  HWND list_ = nullptr;
};

TEST_F(ListRightClick, SelectsTheRowTellsTheParentAndAsksForTheMenu) {
  const RECT row = Row(2);
  RightClick(10, row.top + 2);
  EXPECT_EQ(State(2), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
  const Notification* click = Find(NM_RCLICK);
  ASSERT_NE(click, nullptr);
  EXPECT_EQ(click->item, 2);
  EXPECT_EQ(click->param, 52);
  ASSERT_EQ(Asks().size(), 1u);
  EXPECT_EQ(Asks()[0].from, list_);
  POINT screen{10, row.top + 2};
  ClientToScreen(list_, &screen);
  EXPECT_EQ(Asks()[0].screen.x, screen.x);
  EXPECT_EQ(Asks()[0].screen.y, screen.y);
}

TEST_F(ListRightClick, ASelectedRowKeepsTheOtherSelectedRows) {
  Select(0);
  Select(1);
  RightClick(10, Row(1).top + 2);
  EXPECT_EQ(State(0), static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(State(1), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
  // Another row is selected alone.
  RightClick(10, Row(3).top + 2);
  EXPECT_EQ(State(0), 0u);
  EXPECT_EQ(State(1) & LVIS_SELECTED, 0u);
  EXPECT_EQ(State(3), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
}

TEST_F(ListRightClick, ABlankPlaceClearsTheSelectionAndNamesNoRow) {
  Select(1);
  RightClick(10, Row(3).bottom + 30);
  EXPECT_EQ(State(1) & LVIS_SELECTED, 0u);
  const Notification* click = Find(NM_RCLICK);
  ASSERT_NE(click, nullptr);
  EXPECT_EQ(click->item, -1);
  EXPECT_EQ(Asks().size(), 1u);
}

TEST_F(ListRightClick, AParentTakingTheClickGetsNoMenuRequest) {
  Log().answer = [](NMHDR* nm) -> LRESULT { return nm->code == NM_RCLICK ? 1 : 0; };
  RightClick(10, Row(0).top + 2);
  EXPECT_NE(Find(NM_RCLICK), nullptr);
  EXPECT_TRUE(Asks().empty());
}

TEST_F(ListRightClick, ADoubleClickIsNotifiedWithoutAMenu) {
  RightClick(10, Row(1).top + 2, WM_RBUTTONDBLCLK);
  const Notification* click = Find(NM_RDBLCLK);
  ASSERT_NE(click, nullptr);
  EXPECT_EQ(click->item, 1);
  EXPECT_EQ(Find(NM_RCLICK), nullptr);
  EXPECT_TRUE(Asks().empty());
}

}  // namespace
}  // namespace zx::test
