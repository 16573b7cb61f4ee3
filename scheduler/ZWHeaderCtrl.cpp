// The scheduler's list header: its painting and its check box.
#include "ZWHeaderCtrl.h"

#include <sysinfoapi.h>

#include "DlgBaseShared.h"
#include "HalvoranApp.h"
#include "XTMemDC.h"

IMPLEMENT_DYNAMIC(CZWHeaderCtrl, CHeaderCtrl)

BEGIN_MESSAGE_MAP(CZWHeaderCtrl, CHeaderCtrl)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

namespace {

constexpr int kTextLeft = 5;
constexpr int kListFontRow = 10;  // the shared base font two units smaller, weight 400

bool IsWindowsXP() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExW(&version) && version.dwMajorVersion == 5 && version.dwMinorVersion == 1;
}

HFONT ListFont() { return g_hSharedFonts[kListFontRow] ? g_hSharedFonts[kListFontRow] : GetSharedDialogFont(); }

}  // namespace

CZWHeaderCtrl::CZWHeaderCtrl() = default;

CRect CZWHeaderCtrl::CheckBoxRect() { return IsWindowsXP() ? CRect(10, 7, 21, 18) : CRect(10, 3, 21, 16); }

BOOL CZWHeaderCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CZWHeaderCtrl::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC dc(&paint, client, kDialogBackColour);
  const CHVBitmap& fill = SharedBitmap(kFillBitmap);
  const CHVBitmap& edge = SharedBitmap(kEdgeBitmap);
  const int textTop = IsWindowsXP() ? 4 : 1;
  CFont* oldFont = dc.SelectObject(CFont::FromHandle(ListFont()));
  dc.SetBkMode(TRANSPARENT);
  int right = 0;
  const int count = GetItemCount();
  for (int item = 0; item < count; ++item) {
    CRect rect;
    GetItemRect(item, &rect);
    DrawColumns(&dc, fill, rect.left, rect.right, 0);
    DrawWhole(&dc, edge, rect.right - edge.GetWidth(), 0);
    WCHAR text[256] = {};
    HDITEMW info{};
    info.mask = HDI_TEXT;
    info.pszText = text;
    info.cchTextMax = 256;
    GetItem(item, &info);
    CRect textRect(rect.left + kTextLeft, rect.top + textTop, rect.right - edge.GetWidth(), rect.bottom);
    dc.DrawText(text, -1, &textRect, DT_SINGLELINE | DT_NOPREFIX | (item < 2 ? DT_LEFT : DT_CENTER));
    right = rect.right;
  }
  DrawColumns(&dc, fill, right, client.right, 0);
  if (m_bClickable) {
    const CRect box = CheckBoxRect();
    DrawWhole(&dc, SharedBitmap(m_bChecked ? kCheckedBoxBitmap : kClearBoxBitmap), box.left, box.top);
  }
  dc.SelectObject(oldFont);
}

void CZWHeaderCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bClickable && CheckBoxRect().PtInRect(point)) {
    m_bChecked = !m_bChecked;
    Invalidate();
  }
  CHeaderCtrl::OnLButtonUp(nFlags, point);
}
