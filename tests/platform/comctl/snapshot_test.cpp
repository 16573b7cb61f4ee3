// The snapshot test: a painted report list (header, grid lines, check boxes, a selected
// row, an image) matches the checked-in PNG pixel for pixel. Set ZX_UPDATE_SNAPSHOTS=1 to
// write the reference instead, after a deliberate change of the drawing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comctl_testing.h"
#include "zx/gdi.h"
#include "zx/windowpaint.h"
#include "snapshot_compare.h"

namespace zx::test {
namespace {

using Snapshot = ControlTest;

// Two 16 x 16 images: a green square and a blue disc-like diamond on a magenta key.
HIMAGELIST SmallImages() {
  std::vector<DWORD> strip(32 * 16, 0xFFFF00FFu);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      if (x >= 3 && x < 13 && y >= 3 && y < 13) strip[y * 32 + x] = 0xFF2E8B57u;
      if (std::abs(x - 8) + std::abs(y - 8) < 7) strip[y * 32 + 16 + x] = 0xFF1E64C8u;
    }
  HBITMAP bitmap = CreateBitmap(32, 16, 1, 32, strip.data());
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 1);
  ImageList_AddMasked(list, bitmap, RGB(255, 0, 255));
  DeleteObject(bitmap);
  return list;
}

void Fill(HWND list) {
  const char16_t* titles[] = {u"Device", u"Version", u"Date"};
  const int widths[] = {130, 70, 80};
  for (int c = 0; c < 3; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.pszText = const_cast<LPWSTR>(titles[c]);
    column.cx = widths[c];
    column.fmt = c == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
  }
  const char16_t* rows[][3] = {{u"Audio controller", u"6.0.1", u"2009-06-21"},
                               {u"Network adapter", u"12.4", u"2011-02-03"},
                               {u"Card reader", u"1.0.0", u"2008-11-30"}};
  for (int r = 0; r < 3; ++r) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = r;
    item.iImage = r % 2;
    item.pszText = const_cast<LPWSTR>(rows[r][0]);
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (int c = 1; c < 3; ++c) {
      item.iSubItem = c;
      item.pszText = const_cast<LPWSTR>(rows[r][c]);
      SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&item));
    }
  }
}

TEST_F(Snapshot, APaintedListMatchesTheReference) {
  HWND list = MakeChild(WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS, 100, 300, 120);
  ASSERT_NE(list, nullptr);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(SmallImages()));
  Fill(list);
  LVITEMW state{};
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
  state.state = INDEXTOSTATEIMAGEMASK(2);
  state.stateMask = LVIS_STATEIMAGEMASK;
  SendMessageW(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state));
  SetFocus(list);
  PaintNow(parent_);

  TempFolder temp;
  const std::string drawn = temp.path() + "/listview.png";
  ASSERT_TRUE(zx::user::SaveWindowPng(list, drawn));
  const std::string reference = std::string(ZX_COMCTL_SNAPSHOTS) + "/listview.png";
  ExpectSameAsReference(drawn, reference, "listview");
}

}  // namespace
}  // namespace zx::test
