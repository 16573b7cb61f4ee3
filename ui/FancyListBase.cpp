// CFancyListBase: check images and the measured line heights made at subclassing, columns and
// per-row data kept in step with the control's rows, row heights from the wrapped detail
// texts, header width rules, check-box clicks and the frame of each row's drawing.
#include "FancyListBase.h"

#include <cstdint>

#include "HVBitmap.h"

IMPLEMENT_DYNAMIC(CFancyListBase, CListCtrl)

BEGIN_MESSAGE_MAP(CFancyListBase, CListCtrl)
  ON_NOTIFY_REFLECT(LVN_INSERTITEM, &CFancyListBase::OnItemInserted)
  ON_NOTIFY_REFLECT(LVN_DELETEITEM, &CFancyListBase::OnItemDeleted)
  ON_WM_MEASUREITEM_REFLECT()
  ON_WM_DRAWITEM_REFLECT()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_MESSAGE(LVM_SORTITEMS, &CFancyListBase::OnSortItems)
END_MESSAGE_MAP()

namespace {

constexpr UINT kOneLine = DT_SINGLELINE | DT_NOPREFIX;  // 0x820
// Asks the control to measure its rows again without moving or sizing it.
constexpr UINT kRemeasureFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

// While the control sorts, each row's item data is its tag: the caller's item data and the
// row's index before the sort.
struct SortTag {
  LPARAM itemData;
  std::size_t before;
};

struct SortCall {
  PFNLVCOMPARE compare;
  LPARAM param;
};

int CALLBACK CompareTagged(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
  const auto* call = reinterpret_cast<const SortCall*>(lParamSort);
  return call->compare(reinterpret_cast<const SortTag*>(lParam1)->itemData,
                       reinterpret_cast<const SortTag*>(lParam2)->itemData, call->param);
}

int TextHeight(CDC* pDC, CFont& font) {
  CFont* old = pDC->SelectObject(&font);
  const int height = pDC->GetTextExtent(CString(u"_X^")).cy;
  pDC->SelectObject(old);
  return height;
}

}  // namespace

CFancyListBase::CFancyListBase(UINT nCheckBitmapId) : m_nCheckBitmapId(nCheckBitmapId), m_breakChars(u" \\\t") {}

CFancyListBase::~CFancyListBase() = default;

void CFancyListBase::PreSubclassWindow() {
  CListCtrl::PreSubclassWindow();
  CHVBitmap strip(m_nCheckBitmapId);
  if (strip.GetSafeHandle() && strip.GetWidth() >= kCheckImageWidth &&
      m_checkImages.Create(kCheckImageWidth, strip.GetHeight(), ILC_COLOR32 | ILC_MASK,
                           strip.GetWidth() / kCheckImageWidth, 1))
    m_checkImages.Add(&strip, kCheckMaskColour);
  CreateFonts();
  m_crFirstBackground = m_crSecondBackground = ::GetSysColor(COLOR_WINDOW);
  if (CDC* pDC = GetDC()) {
    m_nFirstLineHeight = TextHeight(pDC, FirstLineFont());
    m_nLineHeight = TextHeight(pDC, LineFont());
    ReleaseDC(pDC);
  }
}

BOOL CFancyListBase::MakeListFont(CFont& font, LPCTSTR face, int height, int weight, BYTE quality, BOOL underline) {
  return font.CreateFont(height, 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH, face);
}

void CFancyListBase::FillRow(CDC* pDC, const CRect& row, UINT state) const {
  constexpr COLORREF kWhite = 0xFFFFFF;
  const bool selected = (state & ODS_SELECTED) != 0;
  pDC->FillSolidRect(&row, selected || !HasSecondFill() ? kWhite : kSecondFillColour);
  if (selected) pDC->SetTextColor(kWhite);
}

void CFancyListBase::SetBackgroundColours(COLORREF crFirst, COLORREF crSecond) {
  m_crFirstBackground = crFirst;
  m_crSecondBackground = crSecond;
  if (m_hWnd) Invalidate();
}

bool CFancyListBase::ValidRow(int nItem) const {
  return nItem >= 0 && nItem < GetItemCount() && static_cast<std::size_t>(nItem) < m_checks.size();
}

// ---- Columns ---------------------------------------------------------------------------------

void CFancyListBase::ShiftColumns(int nCol) {
  for (int* index : {&m_nCheckColumn, &m_nImageColumn, &m_nDetailColumn})
    if (*index >= nCol) ++*index;
}

int CFancyListBase::InsertCheckColumn(int nCol, LPCTSTR lpszHeading, int nWidth) {
  if (m_nCheckColumn >= 0) return -1;
  const int index = InsertColumn(nCol, lpszHeading, LVCFMT_LEFT, nWidth);
  if (index < 0) return -1;
  ShiftColumns(index);
  m_nCheckColumn = index;
  return index;
}

int CFancyListBase::InsertImageColumn(int nCol, CImageList* pImageList, LPCTSTR lpszHeading, int nWidth) {
  if (m_nImageColumn >= 0 || pImageList == nullptr) return -1;
  const int index = InsertColumn(nCol, lpszHeading, LVCFMT_LEFT, nWidth);
  if (index < 0) return -1;
  ShiftColumns(index);
  m_nImageColumn = index;
  m_pImageList = pImageList;
  if (pImageList->GetImageCount() > 0) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(pImageList->GetSafeHandle(), &cx, &cy);
    m_rcImageCell.SetRect(0, 0, cx, cy);
    m_nRowHeight = std::max(m_nRowHeight, cy + 4);
    ApplyRowHeight();
  }
  return index;
}

int CFancyListBase::InsertDetailColumn(int nCol, LPCTSTR lpszHeading, int nWidth, int nSubItem) {
  if (m_nDetailColumn >= 0 || nWidth <= 0) return -1;
  const int index = InsertColumn(nCol, lpszHeading, LVCFMT_LEFT, nWidth, nSubItem);
  if (index < 0) return -1;
  ShiftColumns(index);
  m_nDetailColumn = index;
  return index;
}

// ---- Rows --------------------------------------------------------------------------------------

bool CFancyListBase::StoreDetail(int nItem, LPCTSTR lpszDetail) {
  if (!ValidRow(nItem) || m_nDetailColumn < 0) return false;
  const auto row = static_cast<std::size_t>(nItem);
  m_details[row] = lpszDetail ? lpszDetail : u"";
  m_extraTexts[row].Empty();
  m_rowKinds[row] = kFancyRowNormal;
  GrowRowHeight(m_nFirstLineHeight + 18);
  return true;
}

BOOL CFancyListBase::SetRowKind(int nItem, int nKind) {
  if (!ValidRow(nItem)) return FALSE;
  m_rowKinds[static_cast<std::size_t>(nItem)] = nKind;
  Update(nItem);
  return TRUE;
}

int CFancyListBase::GetRowKind(int nItem) const {
  return ValidRow(nItem) ? m_rowKinds[static_cast<std::size_t>(nItem)] : kFancyRowNormal;
}

CString CFancyListBase::GetItemDetail(int nItem) const {
  return ValidRow(nItem) ? m_details[static_cast<std::size_t>(nItem)] : CString();
}

CString CFancyListBase::GetItemExtraText(int nItem) const {
  return ValidRow(nItem) ? m_extraTexts[static_cast<std::size_t>(nItem)] : CString();
}

BOOL CFancyListBase::SetCheck(int nItem, BOOL bCheck) {
  if (!ValidRow(nItem)) return FALSE;
  m_checks[static_cast<std::size_t>(nItem)] = bCheck ? TRUE : FALSE;
  Update(nItem);
  return TRUE;
}

BOOL CFancyListBase::GetCheck(int nItem) const {
  return ValidRow(nItem) && m_checks[static_cast<std::size_t>(nItem)] ? TRUE : FALSE;
}

BOOL CFancyListBase::DeleteAllItems() {
  m_bDeleting = TRUE;
  m_checks.clear();
  m_images.clear();
  m_details.clear();
  m_extraTexts.clear();
  m_rowKinds.clear();
  OnRowsCleared();
  const BOOL deleted = CListCtrl::DeleteAllItems();
  m_bDeleting = FALSE;
  return deleted;
}

void CFancyListBase::SelectSingleItem(int nItem) {
  for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
    SetItemState(row, 0, LVIS_SELECTED);
  const int focused = GetNextItem(-1, LVNI_FOCUSED);
  if (focused >= 0) SetItemState(focused, 0, LVIS_FOCUSED);
  if (nItem >= 0 && nItem < GetItemCount()) SelectListItem(this, nItem);
}

void SelectListItem(CListCtrl* pList, int nItem) {
  if (pList) pList->SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CFancyListBase::OnItemInserted(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* info = reinterpret_cast<NMLISTVIEW*>(pNMHDR);
  const std::size_t at = std::min(static_cast<std::size_t>(std::max(info->iItem, 0)), m_checks.size());
  LVITEM item{};
  item.mask = LVIF_IMAGE;
  item.iItem = info->iItem;
  const int image = GetItem(&item) ? item.iImage : I_IMAGENONE;
  const CString text = m_nDetailColumn >= 0 ? GetItemText(info->iItem, DetailSubItem()) : CString();
  InsertAt(m_checks, at, BYTE{FALSE});
  InsertAt(m_images, at, image);
  InsertAt(m_details, at, CString());
  InsertAt(m_extraTexts, at, text);
  InsertAt(m_rowKinds, at, kFancyRowNormal);
  OnRowInserted(at);
  if (!text.IsEmpty() && !m_bSuspended) GrowRowHeight(m_nFirstLineHeight + MeasureLines(text) * m_nLineHeight + 5);
}

void CFancyListBase::OnItemDeleted(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  if (m_bDeleting) return;
  const int index = reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iItem;
  if (index < 0 || static_cast<std::size_t>(index) >= m_checks.size()) return;
  const auto at = static_cast<std::size_t>(index);
  EraseAt(m_checks, at);
  EraseAt(m_images, at);
  EraseAt(m_details, at);
  EraseAt(m_extraTexts, at);
  EraseAt(m_rowKinds, at);
  OnRowRemoved(at);
  if (!m_bSuspended) RecomputeRowHeight();
}

LRESULT CFancyListBase::OnSortItems(WPARAM wParam, LPARAM lParam) {
  const auto compare = reinterpret_cast<PFNLVCOMPARE>(lParam);
  const int count = GetItemCount();
  if (compare == nullptr || count < 0 || static_cast<std::size_t>(count) != m_checks.size())
    return Default();
  std::vector<SortTag> tags(static_cast<std::size_t>(count));
  for (int row = 0; row < count; ++row) {
    tags[static_cast<std::size_t>(row)] = SortTag{static_cast<LPARAM>(GetItemData(row)), static_cast<std::size_t>(row)};
    SetItemData(row, reinterpret_cast<DWORD_PTR>(&tags[static_cast<std::size_t>(row)]));
  }
  SortCall call{compare, static_cast<LPARAM>(wParam)};
  const LRESULT sorted = DefWindowProc(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&call),
                                       reinterpret_cast<LPARAM>(&CompareTagged));
  // Every row gets its item data back; the rows' data follows only a whole sort.
  std::vector<std::size_t> before;
  const int after = GetItemCount();
  for (int row = 0; row < after; ++row) {
    const auto address = static_cast<std::uintptr_t>(GetItemData(row));
    const auto first = reinterpret_cast<std::uintptr_t>(tags.data());
    if (address < first || address >= first + tags.size() * sizeof(SortTag) || (address - first) % sizeof(SortTag))
      continue;
    const SortTag* tag = &tags[(address - first) / sizeof(SortTag)];
    SetItemData(row, static_cast<DWORD_PTR>(tag->itemData));
    before.push_back(tag->before);
  }
  if (sorted && after == count && before.size() == tags.size()) {
    Reorder(m_checks, before);
    Reorder(m_images, before);
    Reorder(m_details, before);
    Reorder(m_extraTexts, before);
    Reorder(m_rowKinds, before);
    OnRowsReordered(before);
  }
  return sorted;
}

// ---- Row height ------------------------------------------------------------------------------

int CFancyListBase::DetailSubItem() const {
  LVCOLUMN column{};
  column.mask = LVCF_SUBITEM;
  return GetColumn(m_nDetailColumn, &column) ? column.iSubItem : m_nDetailColumn;
}

int CFancyListBase::DetailAreaWidth() const {
  if (m_nDetailColumn < 0) return 0;
  int width = 0;
  const int columns = GetHeaderCtrl() ? GetHeaderCtrl()->GetItemCount() : 0;
  for (int c = m_nDetailColumn; c < columns; ++c) width += c == m_nTrackedColumn ? m_nTrackedWidth : GetColumnWidth(c);
  return width - 4;
}

int CFancyListBase::MeasureLines(const CString& text) {
  CDC* pDC = GetDC();
  if (pDC == nullptr) return 0;
  CFont* old = pDC->SelectObject(&TextFont());
  const int lines = WrapText(pDC, text, CRect(0, 0, DetailAreaWidth(), 0), TRUE);
  pDC->SelectObject(old);
  ReleaseDC(pDC);
  return lines;
}

int CFancyListBase::WithMinimums(int nHeight) const {
  if (m_nCheckColumn >= 0) nHeight = std::max(nHeight, 19);
  if (m_nImageColumn >= 0 && m_pImageList && m_pImageList->GetImageCount() > 0)
    nHeight = std::max(nHeight, m_rcImageCell.Height() + 4);
  return nHeight;
}

void CFancyListBase::GrowRowHeight(int nHeight) {
  if (nHeight <= m_nRowHeight) return;
  m_nRowHeight = WithMinimums(nHeight);
  ApplyRowHeight();
}

void CFancyListBase::RecomputeRowHeight() {
  int lines = 0;
  for (const CString& text : m_extraTexts)
    if (!text.IsEmpty()) lines = std::max(lines, MeasureLines(text));
  int height = kBaseTextHeight + 9;
  if (lines > 0) height = std::max(height, m_nFirstLineHeight + lines * m_nLineHeight + 5);
  m_nRowHeight = WithMinimums(height);
  ApplyRowHeight();
}

void CFancyListBase::ApplyRowHeight() {
  if (m_hWnd == nullptr) return;
  CRect window;
  GetWindowRect(&window);
  WINDOWPOS position{};
  position.hwnd = m_hWnd;
  position.cx = window.Width();
  position.cy = window.Height();
  position.flags = kRemeasureFlags;
  SendMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
}

void CFancyListBase::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemHeight = static_cast<UINT>(m_nRowHeight);
}

// ---- Header ------------------------------------------------------------------------------------

bool CFancyListBase::WidthAllowed(int nCol, int nWidth) const {
  if (nCol == m_nCheckColumn) return false;
  if (nCol == m_nImageColumn)
    return !m_bImageColumnFixed && nWidth >= std::min(static_cast<int>(m_rcImageCell.Width()), 40);
  if (nCol == m_nDetailColumn) return nWidth >= kMinDetailWidth;
  return true;
}

BOOL CFancyListBase::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHEADER*>(lParam);
  if (!m_bSuspended && header) {
    const UINT code = header->hdr.code;
    if ((code == HDN_ITEMCHANGINGW || code == HDN_ITEMCHANGINGA) && header->pitem &&
        (header->pitem->mask & HDI_WIDTH)) {
      if (!WidthAllowed(header->iItem, header->pitem->cxy)) {
        *pResult = TRUE;
        Invalidate();
        return TRUE;
      }
      EnsureVisible(GetItemCount() - 1, FALSE);
      Invalidate();
    } else if (code == HDN_ENDTRACKW || code == HDN_ENDTRACKA) {
      const int top = GetTopIndex();
      EnsureVisible(0, FALSE);
      // Measured with the width the drag is about to give the column, when it may have it.
      if (header->pitem && (header->pitem->mask & HDI_WIDTH) && WidthAllowed(header->iItem, header->pitem->cxy)) {
        m_nTrackedColumn = header->iItem;
        m_nTrackedWidth = header->pitem->cxy;
      }
      RecomputeRowHeight();
      m_nTrackedColumn = -1;
      EnsureVisible(top, FALSE);
      EnsureVisible(GetItemCount() - 1, FALSE);
    }
  }
  return CListCtrl::OnNotify(wParam, lParam, pResult);
}

// ---- Mouse -------------------------------------------------------------------------------------

CRect CFancyListBase::GetCheckBoxRect(int nItem) const {
  if (m_nCheckColumn < 0 || !ValidRow(nItem) || GetRowKind(nItem) == kFancyRowGroupHeader) return CRect();
  CRect row;
  if (!GetItemRect(nItem, &row, LVIR_BOUNDS)) return CRect();
  row.bottom -= 1;
  const CPoint origin = CheckImageOrigin(ColumnLeft(m_nCheckColumn), GetColumnWidth(m_nCheckColumn), row);
  return CRect(origin.x, origin.y, origin.x + 16, origin.y + 16);
}

int CFancyListBase::ColumnLeft(int nCol) const {
  int x = -GetScrollPos(SB_HORZ);
  for (int c = 0; c < nCol; ++c) x += GetColumnWidth(c);
  return x;
}

int CFancyListBase::CheckColumnCentre() const {
  return ColumnLeft(m_nCheckColumn) + GetColumnWidth(m_nCheckColumn) / 2;
}

int CFancyListBase::HeaderHeight() const {
  // A list without column headers keeps a header window that shows nothing.
  const CHeaderCtrl* control = GetHeaderCtrl();
  CRect header;
  if (control == nullptr || (control->GetStyle() & WS_VISIBLE) == 0 || !control->GetItemRect(m_nCheckColumn, &header))
    return 0;
  return header.Height();
}

// A click's height below the header, moved by the build's offset, is counted off in rows from
// the top row; the row takes it when what is left lies from half a row + 1 to half a row + 11.
int CFancyListBase::CheckBandRowAt(CPoint point) const {
  if (m_nCheckColumn < 0 || GetItemCount() == 0 || m_nRowHeight <= 0) return -1;
  const int centre = CheckColumnCentre();
  if (point.x < centre + 8 || point.x > centre + 18) return -1;
  int y = point.y - HeaderHeight() + CheckBandOffset();
  int row = GetTopIndex();
  while (y > m_nRowHeight) {
    y -= m_nRowHeight;
    ++row;
  }
  const int half = m_nRowHeight / 2;
  // A group header shows no check box and keeps its state.
  if (!ValidRow(row) || GetRowKind(row) == kFancyRowGroupHeader) return -1;
  return y >= half + 1 && y <= half + 11 ? row : -1;
}

// A click on a row's drawn check box takes it, and so does one in the row's check band; a
// band that the count puts beside another row than the one clicked takes nothing (a click
// on one row never changes another).
int CFancyListBase::CheckBoxRowAt(CPoint point) const {
  int hit = -1;
  CRect row;
  for (int r = std::max(GetTopIndex(), 0); r < GetItemCount() && hit < 0; ++r)
    if (GetItemRect(r, &row, LVIR_BOUNDS) && point.y >= row.top && point.y < row.bottom) hit = r;
  if (hit < 0 || GetRowKind(hit) == kFancyRowGroupHeader) return -1;
  if (GetCheckBoxRect(hit).PtInRect(point)) return hit;
  return CheckBandRowAt(point) == hit ? hit : -1;
}

CRect CFancyListBase::GetCheckClickRect(int nItem) const {
  const int shown = nItem - GetTopIndex();
  if (m_nCheckColumn < 0 || !ValidRow(nItem) || shown < 0 || GetRowKind(nItem) == kFancyRowGroupHeader) return CRect();
  const int centre = CheckColumnCentre();
  const int half = m_nRowHeight / 2;
  const int top = HeaderHeight() - CheckBandOffset() + shown * m_nRowHeight + half + 1;
  // What lies beyond a whole row is counted in the next one.
  return CRect(centre + 8, top, centre + 19, top + std::min(half + 11, m_nRowHeight) - half);
}

void CFancyListBase::ToggleCheckAt(CPoint point) {
  if (GetItemCount() == 0 || m_nCheckColumn < 0) return;
  const int row = CheckBoxRowAt(point);
  if (!ValidRow(row)) return;
  SetCheck(row, !GetCheck(row));
  OnCheckClicked(row, GetCheck(row));
}

void CFancyListBase::OnLButtonDown(UINT, CPoint point) {
  ToggleCheckAt(point);
  Default();
}

void CFancyListBase::OnLButtonDblClk(UINT, CPoint point) {
  ToggleCheckAt(point);
  Default();
}

// ---- Drawing -----------------------------------------------------------------------------------

int CFancyListBase::WrapText(CDC* pDC, const CString& text, const CRect& rect, BOOL bMeasureOnly) const {
  std::vector<CString> lines;
  const int width = rect.Width();
  for (int start = 0; start <= text.GetLength() && static_cast<int>(lines.size()) < kMaxWrappedLines;) {
    int end = text.Find(u'\n', start);
    if (end < 0) end = text.GetLength();
    CString line = text.Mid(start, end - start);
    start = end + 1;
    while (pDC->GetTextExtent(line).cx > width) {
      int cut = -1;
      for (int i = 0; i < line.GetLength(); ++i) {
        if (m_breakChars.Find(line[i]) < 0) continue;
        if (pDC->GetTextExtent(line.Left(i + 1)).cx > width) break;
        cut = i;
      }
      if (cut < 0) break;  // no break where it fits: the line stays whole
      CString head = line.Left(cut + 1);
      head.TrimRight();
      lines.push_back(head);
      line = line.Mid(cut + 1);
      line.TrimLeft();
    }
    lines.push_back(line);
  }
  const int count = std::min(static_cast<int>(lines.size()), kMaxWrappedLines);
  if (!bMeasureOnly) {
    for (int i = 0; i < count && rect.top + (i + 1) * m_nLineHeight <= rect.bottom; ++i) {
      CRect box(rect.left, rect.top + i * m_nLineHeight, rect.right, rect.top + (i + 1) * m_nLineHeight);
      pDC->DrawText(lines[static_cast<std::size_t>(i)], &box, kOneLine);
    }
  }
  return count;
}

void CFancyListBase::DrawOtherCell(CDC* pDC, int nItem, int column, int x, int width, const CRect& row, UINT) {
  // Colour 8 on every fill: the white selection fill would swallow white text.
  pDC->SelectObject(&TextFont());
  pDC->SetTextColor(kCellTextColour);
  CRect cell(x + 2, row.top + 2, x + width - 2, row.bottom - 2);
  pDC->DrawText(GetItemText(nItem, column), &cell, kOneLine);
}

void CFancyListBase::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->CtlType != ODT_LISTVIEW || lpDrawItemStruct->itemAction != ODA_DRAWENTIRE || m_bSuspended)
    return;
  const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
  if (!ValidRow(nItem)) return;
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  const COLORREF oldBack = pDC->GetBkColor();
  const COLORREF oldText = pDC->SetTextColor(kCaptionColour);
  CFont* oldFont = pDC->GetCurrentFont();
  pDC->SetBkMode(TRANSPARENT);
  const UINT state = lpDrawItemStruct->itemState;
  CRect row(lpDrawItemStruct->rcItem);
  row.bottom -= 1;
  DrawRowBackground(pDC, nItem, row, state);
  const auto at = static_cast<std::size_t>(nItem);
  const int columns = GetHeaderCtrl() ? GetHeaderCtrl()->GetItemCount() : 0;
  int x = -GetScrollPos(SB_HORZ);
  for (int c = 0; c < columns; ++c) {
    const int width = GetColumnWidth(c);
    if (c == m_nCheckColumn) {
      if (m_rowKinds[at] != kFancyRowGroupHeader && m_checkImages.GetSafeHandle())
        m_checkImages.Draw(pDC, m_checks[at] ? 1 : 0, CheckImageOrigin(x, width, row), ILD_TRANSPARENT);
    } else if (c == m_nImageColumn) {
      DrawImageCell(pDC, nItem, x, width, row);
    } else if (c == m_nDetailColumn) {
      DrawDetailCell(pDC, nItem, x, width, row);
    } else {
      DrawOtherCell(pDC, nItem, c, x, width, row, state);
    }
    pDC->SelectObject(oldFont);
    x += width;
  }
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBack);
}
