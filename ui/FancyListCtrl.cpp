// CFancyListCtrl: fonts and check images made at subclassing, columns and per-row data kept
// in step with the control's rows, row heights from the wrapped detail texts, header width
// rules, check-box clicks and the drawing of each row.
#include "FancyListCtrl.h"

#include <algorithm>
#include <cstdint>

#include "HVBitmap.h"

IMPLEMENT_DYNAMIC(CFancyListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CFancyListCtrl, CListCtrl)
  ON_NOTIFY_REFLECT(LVN_INSERTITEM, &CFancyListCtrl::OnItemInserted)
  ON_NOTIFY_REFLECT(LVN_DELETEITEM, &CFancyListCtrl::OnItemDeleted)
  ON_WM_MEASUREITEM_REFLECT()
  ON_WM_DRAWITEM_REFLECT()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_MESSAGE(LVM_SORTITEMS, &CFancyListCtrl::OnSortItems)
END_MESSAGE_MAP()

namespace {

constexpr UINT kOneLine = DT_SINGLELINE | DT_NOPREFIX;  // 0x820
constexpr COLORREF kWhite = 0xFFFFFF;
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

template <typename T>
void Reorder(std::vector<T>& values, const std::vector<std::size_t>& before) {
  std::vector<T> sorted;
  sorted.reserve(before.size());
  for (std::size_t from : before) sorted.push_back(values[from]);
  values.swap(sorted);
}

BOOL MakeFont(CFont& font, const FancyListLook::Font& look) {
  return font.CreateFont(look.height, 0, 0, 0, look.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, look.quality, DEFAULT_PITCH, look.face);
}

int TextHeight(CDC* pDC, CFont& font) {
  CFont* old = pDC->SelectObject(&font);
  const int height = pDC->GetTextExtent(CString(u"_X^")).cy;
  pDC->SelectObject(old);
  return height;
}

}  // namespace

const FancyListLook& CFancyListCtrl::SharedLook() {
  static const FancyListLook look{kCheckBitmapId,
                                  {u"Segoe UI", -12, FW_BOLD, CLEARTYPE_QUALITY},
                                  {u"Segoe UI", -11, FW_NORMAL, PROOF_QUALITY},
                                  {u"Segoe UI", -11, FW_NORMAL, PROOF_QUALITY}};
  return look;
}

CFancyListCtrl::CFancyListCtrl() : CFancyListCtrl(SharedLook()) {}

CFancyListCtrl::CFancyListCtrl(const FancyListLook& look) : m_look(look), m_breakChars(u" \\\t") {}

CFancyListCtrl::~CFancyListCtrl() = default;

void CFancyListCtrl::PreSubclassWindow() {
  CListCtrl::PreSubclassWindow();
  CHVBitmap strip(m_look.checkBitmapId);
  if (strip.GetSafeHandle() && strip.GetWidth() >= kCheckImageWidth &&
      m_checkImages.Create(kCheckImageWidth, strip.GetHeight(), ILC_COLOR32 | ILC_MASK,
                           strip.GetWidth() / kCheckImageWidth, 1))
    m_checkImages.Add(&strip, kCheckMaskColour);
  MakeFont(m_fontBold, m_look.bold);
  MakeFont(m_fontText, m_look.text);
  MakeFont(m_fontDetail, m_look.detail);
  m_crFirstBackground = m_crSecondBackground = ::GetSysColor(COLOR_WINDOW);
  if (CDC* pDC = GetDC()) {
    m_nFirstLineHeight = TextHeight(pDC, m_fontBold);
    m_nLineHeight = TextHeight(pDC, m_fontDetail);
    ReleaseDC(pDC);
  }
}

void CFancyListCtrl::SetBackgroundColours(COLORREF crFirst, COLORREF crSecond) {
  m_crFirstBackground = crFirst;
  m_crSecondBackground = crSecond;
  if (m_hWnd) Invalidate();
}

bool CFancyListCtrl::ValidRow(int nItem) const {
  return nItem >= 0 && nItem < GetItemCount() && static_cast<std::size_t>(nItem) < m_checks.size();
}

// ---- Columns ---------------------------------------------------------------------------------

void CFancyListCtrl::ShiftColumns(int nCol) {
  for (int* index : {&m_nCheckColumn, &m_nImageColumn, &m_nDetailColumn})
    if (*index >= nCol) ++*index;
}

int CFancyListCtrl::InsertCheckColumn(int nCol, LPCTSTR lpszHeading, int nWidth) {
  if (m_nCheckColumn >= 0) return -1;
  const int index = InsertColumn(nCol, lpszHeading, LVCFMT_LEFT, nWidth);
  if (index < 0) return -1;
  ShiftColumns(index);
  m_nCheckColumn = index;
  return index;
}

int CFancyListCtrl::InsertImageColumn(int nCol, CImageList* pImageList, LPCTSTR lpszHeading, int nWidth) {
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

int CFancyListCtrl::InsertDetailColumn(int nCol, LPCTSTR lpszHeading, int nWidth, int nSubItem) {
  if (m_nDetailColumn >= 0 || nWidth <= 0) return -1;
  const int index = InsertColumn(nCol, lpszHeading, LVCFMT_LEFT, nWidth, nSubItem);
  if (index < 0) return -1;
  ShiftColumns(index);
  m_nDetailColumn = index;
  return index;
}

// ---- Rows --------------------------------------------------------------------------------------

BOOL CFancyListCtrl::SetItemDetails(int nItem, LPCTSTR lpszDetail, UINT, UINT, LPCTSTR, LPCTSTR, LPCTSTR) {
  if (!ValidRow(nItem) || m_nDetailColumn < 0) return FALSE;
  const auto row = static_cast<std::size_t>(nItem);
  m_details[row] = lpszDetail ? lpszDetail : u"";
  m_extraTexts[row].Empty();
  m_rowKinds[row] = kFancyRowNormal;
  GrowRowHeight(m_nFirstLineHeight + 18);
  Update(nItem);
  return TRUE;
}

BOOL CFancyListCtrl::SetRowKind(int nItem, int nKind) {
  if (!ValidRow(nItem)) return FALSE;
  m_rowKinds[static_cast<std::size_t>(nItem)] = nKind;
  Update(nItem);
  return TRUE;
}

int CFancyListCtrl::GetRowKind(int nItem) const {
  return ValidRow(nItem) ? m_rowKinds[static_cast<std::size_t>(nItem)] : kFancyRowNormal;
}

CString CFancyListCtrl::GetItemDetail(int nItem) const {
  return ValidRow(nItem) ? m_details[static_cast<std::size_t>(nItem)] : CString();
}

CString CFancyListCtrl::GetItemExtraText(int nItem) const {
  return ValidRow(nItem) ? m_extraTexts[static_cast<std::size_t>(nItem)] : CString();
}

BOOL CFancyListCtrl::SetCheck(int nItem, BOOL bCheck) {
  if (!ValidRow(nItem)) return FALSE;
  m_checks[static_cast<std::size_t>(nItem)] = bCheck ? TRUE : FALSE;
  Update(nItem);
  return TRUE;
}

BOOL CFancyListCtrl::GetCheck(int nItem) const {
  return ValidRow(nItem) && m_checks[static_cast<std::size_t>(nItem)] ? TRUE : FALSE;
}

BOOL CFancyListCtrl::DeleteAllItems() {
  m_bDeleting = TRUE;
  m_checks.clear();
  m_images.clear();
  m_details.clear();
  m_extraTexts.clear();
  m_rowKinds.clear();
  const BOOL deleted = CListCtrl::DeleteAllItems();
  m_bDeleting = FALSE;
  return deleted;
}

void CFancyListCtrl::SelectSingleItem(int nItem) {
  for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
    SetItemState(row, 0, LVIS_SELECTED);
  const int focused = GetNextItem(-1, LVNI_FOCUSED);
  if (focused >= 0) SetItemState(focused, 0, LVIS_FOCUSED);
  if (nItem >= 0 && nItem < GetItemCount()) SelectListItem(this, nItem);
}

void SelectListItem(CListCtrl* pList, int nItem) {
  if (pList) pList->SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CFancyListCtrl::OnItemInserted(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* info = reinterpret_cast<NMLISTVIEW*>(pNMHDR);
  const std::size_t at = std::min(static_cast<std::size_t>(std::max(info->iItem, 0)), m_checks.size());
  LVITEM item{};
  item.mask = LVIF_IMAGE;
  item.iItem = info->iItem;
  const int image = GetItem(&item) ? item.iImage : I_IMAGENONE;
  const CString text = m_nDetailColumn >= 0 ? GetItemText(info->iItem, DetailSubItem()) : CString();
  m_checks.insert(m_checks.begin() + static_cast<std::ptrdiff_t>(at), BYTE{FALSE});
  m_images.insert(m_images.begin() + static_cast<std::ptrdiff_t>(at), image);
  m_details.insert(m_details.begin() + static_cast<std::ptrdiff_t>(at), CString());
  m_extraTexts.insert(m_extraTexts.begin() + static_cast<std::ptrdiff_t>(at), text);
  m_rowKinds.insert(m_rowKinds.begin() + static_cast<std::ptrdiff_t>(at), kFancyRowNormal);
  if (!text.IsEmpty() && !m_bSuspended) GrowRowHeight(m_nFirstLineHeight + MeasureLines(text) * m_nLineHeight + 5);
}

void CFancyListCtrl::OnItemDeleted(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  if (m_bDeleting) return;
  const int index = reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iItem;
  if (index < 0 || static_cast<std::size_t>(index) >= m_checks.size()) return;
  const auto at = static_cast<std::ptrdiff_t>(index);
  m_checks.erase(m_checks.begin() + at);
  m_images.erase(m_images.begin() + at);
  m_details.erase(m_details.begin() + at);
  m_extraTexts.erase(m_extraTexts.begin() + at);
  m_rowKinds.erase(m_rowKinds.begin() + at);
  if (!m_bSuspended) RecomputeRowHeight();
}

LRESULT CFancyListCtrl::OnSortItems(WPARAM wParam, LPARAM lParam) {
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
  }
  return sorted;
}

// ---- Row height ------------------------------------------------------------------------------

int CFancyListCtrl::DetailSubItem() const {
  LVCOLUMN column{};
  column.mask = LVCF_SUBITEM;
  return GetColumn(m_nDetailColumn, &column) ? column.iSubItem : m_nDetailColumn;
}

int CFancyListCtrl::DetailAreaWidth() const {
  if (m_nDetailColumn < 0) return 0;
  int width = 0;
  const int columns = GetHeaderCtrl() ? GetHeaderCtrl()->GetItemCount() : 0;
  for (int c = m_nDetailColumn; c < columns; ++c) width += c == m_nTrackedColumn ? m_nTrackedWidth : GetColumnWidth(c);
  return width - 4;
}

int CFancyListCtrl::MeasureLines(const CString& text) {
  CDC* pDC = GetDC();
  if (pDC == nullptr) return 0;
  CFont* old = pDC->SelectObject(&m_fontText);
  const int lines = WrapText(pDC, text, CRect(0, 0, DetailAreaWidth(), 0), TRUE);
  pDC->SelectObject(old);
  ReleaseDC(pDC);
  return lines;
}

int CFancyListCtrl::WithMinimums(int nHeight) const {
  if (m_nCheckColumn >= 0) nHeight = std::max(nHeight, 19);
  if (m_nImageColumn >= 0 && m_pImageList && m_pImageList->GetImageCount() > 0)
    nHeight = std::max(nHeight, m_rcImageCell.Height() + 4);
  return nHeight;
}

void CFancyListCtrl::GrowRowHeight(int nHeight) {
  if (nHeight <= m_nRowHeight) return;
  m_nRowHeight = WithMinimums(nHeight);
  ApplyRowHeight();
}

void CFancyListCtrl::RecomputeRowHeight() {
  int lines = 0;
  for (const CString& text : m_extraTexts)
    if (!text.IsEmpty()) lines = std::max(lines, MeasureLines(text));
  int height = kBaseTextHeight + 9;
  if (lines > 0) height = std::max(height, m_nFirstLineHeight + lines * m_nLineHeight + 5);
  m_nRowHeight = WithMinimums(height);
  ApplyRowHeight();
}

void CFancyListCtrl::ApplyRowHeight() {
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

void CFancyListCtrl::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemHeight = static_cast<UINT>(m_nRowHeight);
}

// ---- Header ------------------------------------------------------------------------------------

bool CFancyListCtrl::WidthAllowed(int nCol, int nWidth) const {
  if (nCol == m_nCheckColumn) return false;
  if (nCol == m_nImageColumn)
    return !m_bImageColumnFixed && nWidth >= std::min(static_cast<int>(m_rcImageCell.Width()), 40);
  if (nCol == m_nDetailColumn) return nWidth >= kMinDetailWidth;
  return true;
}

BOOL CFancyListCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
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
      EnsureVisible(GetItemCount() - 1, FALSE);
      EnsureVisible(top, FALSE);
    }
  }
  return CListCtrl::OnNotify(wParam, lParam, pResult);
}

// ---- Mouse -------------------------------------------------------------------------------------

CRect CFancyListCtrl::GetCheckBoxRect(int nItem) const {
  if (m_nCheckColumn < 0 || !ValidRow(nItem) || GetRowKind(nItem) == kFancyRowGroupHeader) return CRect();
  CRect row;
  if (!GetItemRect(nItem, &row, LVIR_BOUNDS)) return CRect();
  const int left = ColumnLeft(m_nCheckColumn) + GetColumnWidth(m_nCheckColumn) / 2 - 8;
  const int top = row.top + (row.Height() - 1) / 2 - 8;
  return CRect(left, top, left + 16, top + 16);
}

int CFancyListCtrl::ColumnLeft(int nCol) const {
  int x = -GetScrollPos(SB_HORZ);
  for (int c = 0; c < nCol; ++c) x += GetColumnWidth(c);
  return x;
}

int CFancyListCtrl::CheckBoxRowAt(CPoint point) const {
  const int row = HitTest(point);
  return row >= 0 && GetCheckBoxRect(row).PtInRect(point) ? row : -1;
}

void CFancyListCtrl::ToggleCheckAt(CPoint point) {
  if (GetItemCount() == 0 || m_nCheckColumn < 0) return;
  const int row = CheckBoxRowAt(point);
  if (ValidRow(row)) SetCheck(row, !GetCheck(row));
}

void CFancyListCtrl::OnLButtonDown(UINT, CPoint point) {
  ToggleCheckAt(point);
  Default();
}

void CFancyListCtrl::OnLButtonDblClk(UINT, CPoint point) {
  ToggleCheckAt(point);
  Default();
}

// ---- Drawing -----------------------------------------------------------------------------------

int CFancyListCtrl::WrapText(CDC* pDC, const CString& text, const CRect& rect, BOOL bMeasureOnly) const {
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

void CFancyListCtrl::DrawDetail(CDC* pDC, int nItem, int x, const CRect& row) {
  const auto at = static_cast<std::size_t>(nItem);
  const int right = x + DetailAreaWidth();
  if (m_rowKinds[at] == kFancyRowGroupHeader) {
    CFont* old = pDC->SelectObject(&m_fontBold);
    pDC->SetTextColor(kGroupColour);
    CRect title(x - 35 + 14, row.top + 17, right, row.bottom);
    pDC->DrawText(m_details[at], &title, kOneLine);
    pDC->SelectObject(old);
    return;
  }
  CFont* old = pDC->SelectObject(&m_fontDetail);
  pDC->SetTextColor(kDetailColour);
  CRect title(x + 5, row.top + 6, right, row.bottom);
  pDC->DrawText(m_details[at], &title, kOneLine);
  pDC->SelectObject(&m_fontText);
  // The wrapped lines run to the row's last filled line: a row is first-line height + lines x
  // line height + 5 high, so two pixels less would cut its last line.
  WrapText(pDC, m_extraTexts[at], CRect(x + 5, row.top + 3 + m_nFirstLineHeight, x + 5 + DetailAreaWidth(), row.bottom),
           FALSE);
  pDC->SelectObject(old);
}

void CFancyListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->CtlType != ODT_LISTVIEW || lpDrawItemStruct->itemAction != ODA_DRAWENTIRE || m_bSuspended)
    return;
  const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
  if (!ValidRow(nItem)) return;
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  const COLORREF oldBack = pDC->GetBkColor();
  const COLORREF oldText = pDC->SetTextColor(kCaptionColour);
  pDC->SetBkMode(TRANSPARENT);
  const bool selected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
  CRect row(lpDrawItemStruct->rcItem);
  row.bottom -= 1;
  const bool secondFill = m_crFirstBackground != m_crSecondBackground;
  pDC->FillSolidRect(&row, selected || !secondFill ? kWhite : kSecondFillColour);
  if (selected) pDC->SetTextColor(kWhite);
  if (lpDrawItemStruct->itemState & ODS_FOCUS) {
    pDC->FillSolidRect(&row, kWhite);
    pDC->DrawFocusRect(&row);
  }
  const auto at = static_cast<std::size_t>(nItem);
  const int middle = row.top + row.Height() / 2;
  const int columns = GetHeaderCtrl() ? GetHeaderCtrl()->GetItemCount() : 0;
  int x = -GetScrollPos(SB_HORZ);
  for (int c = 0; c < columns; ++c) {
    const int width = GetColumnWidth(c);
    if (c == m_nCheckColumn) {
      if (m_rowKinds[at] != kFancyRowGroupHeader && m_checkImages.GetSafeHandle())
        m_checkImages.Draw(pDC, m_checks[at] ? 1 : 0, CPoint(x + width / 2 - 8, middle - 8), ILD_TRANSPARENT);
    } else if (c == m_nImageColumn) {
      // A group header's title starts under the image column, so it shows no image.
      const int image = m_rowKinds[at] == kFancyRowGroupHeader ? I_IMAGENONE : m_images[at];
      if (m_pImageList && image >= 0 && image < m_pImageList->GetImageCount())
        m_pImageList->Draw(pDC, image, CPoint(x + width / 2 - 8, middle - m_rcImageCell.Height() / 2),
                           ILD_TRANSPARENT);
    } else if (c == m_nDetailColumn) {
      DrawDetail(pDC, nItem, x, row);
    } else {
      // Colour 8 on every fill: the white selection fill would swallow white text.
      CFont* old = pDC->SelectObject(&m_fontText);
      pDC->SetTextColor(kCellTextColour);
      CRect cell(x + 2, row.top + 2, x + width - 2, row.bottom - 2);
      pDC->DrawText(GetItemText(nItem, c), &cell, kOneLine);
      pDC->SelectObject(old);
    }
    x += width;
  }
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBack);
}
