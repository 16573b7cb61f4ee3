// The update checker's list: its look and where a click ticks a row.
#include "CheckUpdateList.h"

namespace checkupdate {
namespace {

const FancyListLook& CheckerLook() {
  static const FancyListLook look{CFancyListCtrl::kCheckBitmapId,
                                  {u"Segoe UI", -12, FW_BOLD, CLEARTYPE_QUALITY},
                                  {u"Tahoma", -11, FW_NORMAL, CLEARTYPE_QUALITY},
                                  {u"Segoe UI", -11, FW_NORMAL, CLEARTYPE_QUALITY}};
  return look;
}

}  // namespace

int CheckClickRow(int x, int y, int checkLeft, int headerHeight, int rowHeight, int topRow) {
  // Rows without height hold no check box (and would never be stepped over).
  if (rowHeight <= 0 || x < checkLeft + 6 || x > checkLeft + 16) return -1;
  int inRow = y - headerHeight + 7;
  int row = topRow;
  if (inRow > rowHeight) {
    row += (inRow - 1) / rowHeight;
    inRow -= (inRow - 1) / rowHeight * rowHeight;
  }
  return inRow >= 16 && inRow <= 26 ? row : -1;
}

CFancyListCtrl::CFancyListCtrl() : CFancyRowData(CheckerLook()) {}

void CFancyListCtrl::CreateFonts() {
  ::CFancyListCtrl::CreateFonts();
  MakeListFont(m_fontLarge, u"Segoe UI", -15, FW_BOLD, CLEARTYPE_QUALITY);
}

int CFancyListCtrl::CheckBoxRowAt(CPoint point) const {
  const int check = GetCheckColumn();
  if (check < 0) return -1;
  CRect header;
  if (const CHeaderCtrl* control = GetHeaderCtrl()) control->GetWindowRect(&header);
  return CheckClickRow(point.x, point.y, ColumnLeft(check), header.Height(), GetRowHeight(), GetTopIndex());
}

void CFancyListCtrl::DrawDetailCell(CDC* pDC, int nItem, int x, int width, const CRect& row) {
  ::CFancyListCtrl::DrawDetailCell(pDC, nItem, x, width, row);
  if (!GetItemExtraText(nItem).IsEmpty()) return;
  const CString text = GetItemText(nItem, GetDetailColumn());
  if (text.IsEmpty()) return;
  // The base leaves the text font selected and the detail colour set.
  CRect line(x + 5, row.top + 3 + GetFirstLineHeight(), x + 5 + DetailAreaWidth(), row.bottom);
  pDC->DrawText(text, &line, DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace checkupdate
