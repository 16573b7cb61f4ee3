// The list view's header: a double click on a divider is told to the list's parent and fits
// the column to its widest text, unless the parent refuses the width; the header's hit tests
// stay in its own coordinates while it moves with horizontal scrolling.
#include <gtest/gtest.h>

#include "comctl_testing.h"

namespace zx::test {
namespace {

class ListHeader : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    list_ = MakeChild(WC_LISTVIEWW, LVS_REPORT);
    ASSERT_NE(list_, nullptr);
    header_ = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
    for (int c = 0; c < 2; ++c) {
      LVCOLUMNW column{};
      column.mask = LVCF_WIDTH;
      column.cx = 150;
      SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
    const char16_t* texts[] = {u"Card reader", u"A network adapter of some length", u"Hub"};
    for (int i = 0; i < 3; ++i) {
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = const_cast<LPWSTR>(texts[i]);
      SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
  }
  int Width(int column) { return static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0)); }
  void DoubleClickDivider(int x) {
    SendMessageW(header_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5));
    SendMessageW(header_, WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
    SendMessageW(header_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, 5));
    SendMessageW(header_, WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
  }
  HWND list_ = nullptr;
  HWND header_ = nullptr;
};

TEST_F(ListHeader, ADoubleClickOnADividerFitsTheColumn) {
  DoubleClickDivider(150);
  const int fitted = Width(0);
  EXPECT_NE(fitted, 150);
  bool told = false;
  for (const Notification& n : Log().notifications)
    told = told || (n.code == HDN_DIVIDERDBLCLICKW && n.item == 0);
  EXPECT_TRUE(told);
  // The same width as the list's own fitting.
  SendMessageW(list_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(300, 0));
  SendMessageW(list_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(LVSCW_AUTOSIZE, 0));
  EXPECT_EQ(Width(0), fitted);
  EXPECT_EQ(Width(1), 150);
}

TEST_F(ListHeader, AParentRefusingTheWidthKeepsTheColumn) {
  Log().answer = [](NMHDR* nm) -> LRESULT { return nm->code == HDN_ITEMCHANGINGW ? TRUE : FALSE; };
  DoubleClickDivider(150);
  EXPECT_EQ(Width(0), 150);
}

TEST_F(ListHeader, ADoubleClickOnAnItemIsAPress) {
  Log().notifications.clear();
  SendMessageW(header_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(200, 5));
  SendMessageW(header_, WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
  bool clicked = false;
  for (const Notification& n : Log().notifications) {
    EXPECT_NE(n.code, static_cast<UINT>(HDN_DIVIDERDBLCLICKW));
    clicked = clicked || (n.code == LVN_COLUMNCLICK);
  }
  EXPECT_TRUE(clicked);
}

TEST_F(ListHeader, HitTestsStayInTheHeadersOwnCoordinatesWhenScrolled) {
  SendMessageW(list_, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(250, 0));
  SendMessageW(list_, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40), 0);
  HDHITTESTINFO hit{};
  hit.pt = POINT{160, 5};  // header coordinates: the second item, though it shows at 120
  EXPECT_EQ(SendMessageW(header_, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.flags, static_cast<UINT>(HHT_ONHEADER));
  POINT shown{160, 5};
  MapWindowPoints(header_, list_, &shown, 1);
  EXPECT_EQ(shown.x, 120);
}

}  // namespace
}  // namespace zx::test
