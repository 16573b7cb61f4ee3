// The scheduler's report list: fonts, rows' checks, header, row painting and the link cursor.
#include "SchedulerListCtrl.h"

#include <winuser.h>

#include "HalvoranApp.h"

IMPLEMENT_DYNAMIC(CSchedulerListCtrl, CFancyListCtrl)

BEGIN_MESSAGE_MAP(CSchedulerListCtrl, CFancyListCtrl)
  ON_WM_MOUSEMOVE()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr UINT kCellFormat = DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER;  // 0x824
constexpr UINT kLinkFormat = kCellFormat | DT_CENTER;                     // 0x825
constexpr int kSharedLinkFontRow = 1;  // the shared base font, underlined
constexpr int kSharedListFontRow = 10;  // the shared base font two units smaller, weight 400

struct OwnFontLook {
  LPCTSTR face;
  int height;
  int weight;
  BYTE quality;
  BOOL underline;
};
// In the order of CSchedulerListCtrl::OwnFont.
constexpr OwnFontLook kOwnFonts[CSchedulerListCtrl::kOwnFontCount] = {
    {u"Segoe UI", -15, FW_BOLD, PROOF_QUALITY, FALSE},  {u"Tahoma", -14, FW_BOLD, CLEARTYPE_QUALITY, FALSE},
    {u"Tahoma", -13, FW_NORMAL, CLEARTYPE_QUALITY, FALSE}, {u"Arial", -12, FW_NORMAL, CLEARTYPE_QUALITY, TRUE},
    {u"Arial", -11, FW_BOLD, CLEARTYPE_QUALITY, FALSE},   {u"Arial", -12, FW_NORMAL, CLEARTYPE_QUALITY, FALSE}};

CFont* SharedFont(int row) {
  return g_hSharedFonts[row] ? CFont::FromHandle(g_hSharedFonts[row]) : nullptr;
}

// The cursor of the program's own resources, loaded once.
HCURSOR LinkCursor() {
  static const HCURSOR cursor =
      ::LoadCursorW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(CSchedulerListCtrl::kLinkCursorId));
  return cursor;
}

}  // namespace

const FancyListLook& CSchedulerListCtrl::SchedulerLook() {
  // A row's first line is measured in the text font, its further lines in the detail font.
  static const FancyListLook look{kCheckBitmapId,
                                  {u"Tahoma", -11, FW_NORMAL, PROOF_QUALITY},
                                  {u"Tahoma", -11, FW_NORMAL, PROOF_QUALITY},
                                  {u"Segoe UI", -11, FW_NORMAL, PROOF_QUALITY}};
  return look;
}

CSchedulerListCtrl::CSchedulerListCtrl() : CFancyRowData(SchedulerLook()) {}

CSchedulerListCtrl::~CSchedulerListCtrl() = default;

void CSchedulerListCtrl::PreSubclassWindow() {
  CFancyListCtrl::PreSubclassWindow();
  for (int font = 0; font < kOwnFontCount; ++font) {
    const OwnFontLook& look = kOwnFonts[font];
    MakeListFont(m_ownFonts[font], look.face, look.height, look.weight, look.quality, look.underline);
  }
  if (CHeaderCtrl* header = GetHeaderCtrl()) m_header.SubclassWindow(header->GetSafeHwnd());
}

BOOL CSchedulerListCtrl::AreAllRowsChecked() const {
  const int rows = GetItemCount();
  for (int row = 0; row < rows; ++row)
    if (!GetCheck(row)) return FALSE;
  return rows > 0 ? TRUE : FALSE;
}

void CSchedulerListCtrl::SetNextRunWhite(BOOL bWhite) {
  m_bNextRunWhite = bWhite ? TRUE : FALSE;
  if (m_hWnd) Invalidate();
}

BOOL CSchedulerListCtrl::IsOverLinkColumn(CPoint point) const {
  if (!GetHeaderCtrl() || GetHeaderCtrl()->GetItemCount() <= kLinkColumn) return FALSE;
  int left = 0;
  for (int column = 0; column < kLinkColumn; ++column) left += GetColumnWidth(column);
  return point.x >= left && point.x < left + GetColumnWidth(kLinkColumn);
}

HCURSOR CSchedulerListCtrl::CursorAt(CPoint point) const {
  const HCURSOR link = IsOverLinkColumn(point) ? LinkCursor() : nullptr;
  return link ? link : ::LoadCursorW(nullptr, IDC_ARROW);
}

void CSchedulerListCtrl::OnMouseMove(UINT nFlags, CPoint point) {
  ::SetCursor(CursorAt(point));
  CFancyListCtrl::OnMouseMove(nFlags, point);
}

BOOL CSchedulerListCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  // Over the rows the cursor is the one the last move chose; the header keeps its own.
  if (nHitTest != HTCLIENT || pWnd != this) return CFancyListCtrl::OnSetCursor(pWnd, nHitTest, message);
  CPoint point;
  ::GetCursorPos(&point);
  ScreenToClient(&point);
  ::SetCursor(CursorAt(point));
  return TRUE;
}

void CSchedulerListCtrl::DrawRowImage(CDC* pDC, int nItem, const CRect& cell) {
  CImageList* images = GetImageColumnList();
  LVITEM item{};
  item.mask = LVIF_IMAGE;
  item.iItem = nItem;
  if (!images || !GetItem(&item) || item.iImage < 0 || item.iImage >= images->GetImageCount()) return;
  int width = 0, height = 0;
  ImageList_GetIconSize(images->GetSafeHandle(), &width, &height);
  images->Draw(pDC, item.iImage, CPoint(cell.left + (cell.Width() - width) / 2, cell.top + (cell.Height() - height) / 2),
               ILD_TRANSPARENT);
}

void CSchedulerListCtrl::DrawCell(CDC* pDC, int nItem, int nColumn, const CRect& cell) {
  CFont* font = nullptr;
  COLORREF colour = kCaptionColour;
  UINT format = kCellFormat;
  if (nColumn == 1) {
    font = SharedFont(kSharedListFontRow);
    colour = kNameColour;
  } else if (nColumn == 2) {
    font = SharedFont(kSharedLinkFontRow);
    if (m_bNextRunWhite) colour = kWhite;
  } else {
    // The link keeps its colour on the white fill of a selected row, where white would hide it.
    font = &m_ownFonts[kLinkFont];
    colour = kLinkColour;
    format = kLinkFormat;
  }
  CFont* old = font ? pDC->SelectObject(font) : nullptr;
  pDC->SetTextColor(colour);
  CRect text(cell);
  pDC->DrawText(GetItemText(nItem, nColumn), &text, format);
  if (old) pDC->SelectObject(old);
}

void CSchedulerListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->CtlType != ODT_LISTVIEW || lpDrawItemStruct->itemAction != ODA_DRAWENTIRE) return;
  const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
  if (nItem < 0 || nItem >= GetItemCount()) return;
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  const COLORREF oldText = pDC->SetTextColor(kCaptionColour);
  pDC->SetBkMode(TRANSPARENT);
  const bool selected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
  const bool groupHeader = GetRowKind(nItem) == kFancyRowGroupHeader;
  CRect row(lpDrawItemStruct->rcItem);
  row.bottom -= 1;
  pDC->FillSolidRect(&row, selected || !HasSecondFill() ? kWhite : kSecondFillColour);
  pDC->FillSolidRect(row.left, row.bottom, row.Width(), 1, kWhite);
  if ((lpDrawItemStruct->itemState & ODS_FOCUS) && !groupHeader) pDC->FillSolidRect(&row, kFocusFill);

  const int columns = GetHeaderCtrl() ? GetHeaderCtrl()->GetItemCount() : 0;
  int x = -GetScrollPos(SB_HORZ);
  for (int column = 0; column < columns; ++column) {
    const int width = GetColumnWidth(column);
    const CRect cell(x, row.top, x + width, row.bottom);
    if (column == GetImageColumn()) {
      if (groupHeader) {
        pDC->FillSolidRect(&cell, kGroupCellFill);
        pDC->FillSolidRect(cell.left, cell.bottom - 1, cell.Width(), 1, kGroupLineColour);
      } else {
        DrawRowImage(pDC, nItem, cell);
      }
    } else if (column > 0) {
      DrawCell(pDC, nItem, column, CRect(cell.left + 2, cell.top, cell.right - 2, cell.bottom));
    }
    x += width;
  }
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(kWhite);
}
