// velquor::CFancyListCtrl: the fonts and texts made at subclassing, the further per-row data
// kept in step with the rows, and the drawing of the driver rows: line and focus colours,
// check box, class image with its overlay, title block, status column, link-band cursor.
#include "VelquorFancyList.h"

#include "DlgScan3Results.h"
#include "DrawingHelpers.h"
#include "HVBitmap.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "VelquorDlg.h"

namespace velquor {

tagDriverListSwitches& DriverListSwitches() {
  static tagDriverListSwitches switches;
  return switches;
}

IMPLEMENT_DYNAMIC(CFancyListCtrl, CFancyListBase)

BEGIN_MESSAGE_MAP(CFancyListCtrl, CFancyListBase)
  ON_WM_MOUSEMOVE()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

namespace {

constexpr UINT kOneLine = DT_SINGLELINE | DT_NOPREFIX;                 // 0x820
constexpr UINT kMeasureLine = DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX;  // 0xC20
constexpr UINT kBlock = DT_WORDBREAK | DT_NOPREFIX;                       // 0x810
constexpr UINT kMeasureBlock = DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX;  // 0xC10
constexpr UINT kLabelBox = DT_WORDBREAK | DT_EDITCONTROL;                 // 0x2010
constexpr UINT kGroupTitle = DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER;    // 0x824
constexpr UINT kStatusLine = DT_SINGLELINE | DT_VCENTER;                  // 36
constexpr int kOverlaySize = 12;
constexpr int kDateValueWidth = 64;
constexpr LPCTSTR kSection = _T("Tunevo");
constexpr LPCTSTR kSharedSection = _T("QVX");

struct AgeLabel {
  LPCTSTR key;
  COLORREF colour;
  int width;
};
constexpr AgeLabel kAgeLabels[] = {
    {_T("IDS_OLD"), 0x3994F, 50}, {_T("IDS_VERY_OLD"), 0x855D3, 52}, {_T("IDS_ANCIENT"), 0x300FF, 55}};

UINT BadgeId(UINT statusKind, bool focused) {
  UINT id = 0;
  if (statusKind == 1) id = CFancyListCtrl::kBadgeRecentId;
  else if (statusKind == 2 || statusKind == 3) id = CFancyListCtrl::kBadgeOldId;
  else if (statusKind == 4) id = CFancyListCtrl::kBadgeAncientId;
  return id != 0 && focused ? id + 1 : id;
}

// The badge pictures, loaded once for the process.
HBITMAP Badge(UINT id) {
  static CHVBitmap pictures[6];
  CHVBitmap& picture = pictures[id - CFancyListCtrl::kBadgeRecentId];
  if (picture.GetSafeHandle() == nullptr) picture.Load(id);
  return static_cast<HBITMAP>(picture.GetSafeHandle());
}

}  // namespace

CFancyListCtrl::CFancyListCtrl() : CFancyListBase(kCheckBitmapId) {}

CFancyListCtrl::~CFancyListCtrl() {
  for (HICON icon : m_hOverlays)
    if (icon) ::DestroyIcon(icon);
}

void CFancyListCtrl::PreSubclassWindow() {
  CFancyListBase::PreSubclassWindow();
  for (int i = 0; i < 3; ++i) {
    CString key;
    key.Format(_T("IDS_LST_STATUS%d"), i + 1);
    m_strStatus[i] = GetLangString(key, kSection);
    m_strAges[i] = GetLangString(kAgeLabels[i].key, kSharedSection);
  }
  m_strInstalled = GetLangString(_T("IDS_INSTALLED"), kSection);
  m_strAvailable = GetLangString(_T("IDS_AVAILABLED"), kSection);
  const UINT overlays[2] = {kInstalledOverlayId, kStateOverlayId};
  for (int i = 0; i < 2; ++i)
    m_hOverlays[i] = static_cast<HICON>(::LoadImageW(FindProgramResourceHandle(overlays[i], RT_GROUP_ICON),
                                                     MAKEINTRESOURCEW(overlays[i]), IMAGE_ICON, kOverlaySize,
                                                     kOverlaySize, 0));
}

void CFancyListCtrl::CreateFonts() {
  MakeListFont(m_fontText, _T("Tahoma"), -11, FW_NORMAL, PROOF_QUALITY);
  MakeListFont(m_fontBold, _T("Tahoma"), -11, FW_BOLD, PROOF_QUALITY);
  MakeListFont(m_fontDetail, _T("Segoe UI"), -11, FW_NORMAL, PROOF_QUALITY);
  MakeListFont(m_fontGroup, _T("Segoe UI"), -12, FW_BOLD, CLEARTYPE_QUALITY);
  MakeListFont(m_fontPlain, _T("Segoe UI"), -12, FW_NORMAL, CLEARTYPE_QUALITY);
  MakeListFont(m_fontLink, _T("Segoe UI"), -11, FW_NORMAL, CLEARTYPE_QUALITY, TRUE);
  MakeListFont(m_fontSmall, _T("Tahoma"), -9, FW_NORMAL, PROOF_QUALITY);
  MakeListFont(m_fontLarge, _T("Segoe UI"), -15, FW_BOLD, PROOF_QUALITY);
  LOGFONTW labels{};
  GetBaseLogFont(labels);
  labels.lfHeight = labels.lfHeight < 0 ? labels.lfHeight + 2 : labels.lfHeight - 2;
  labels.lfWeight = FW_NORMAL;
  m_fontLabels.CreateFontIndirect(&labels);
}

// ---- Rows' data --------------------------------------------------------------------------------

BOOL CFancyListCtrl::SetItemDetails(int nItem, LPCTSTR lpszDetail, UINT nStatusKind, UINT nValue, LPCTSTR lpszText1,
                                    LPCTSTR lpszText2, LPCTSTR lpszText3) {
  if (!StoreDetail(nItem, lpszDetail)) return FALSE;
  const auto at = static_cast<std::size_t>(nItem);
  m_statusKinds[at] = nStatusKind;
  m_values[at] = nValue;
  const LPCTSTR texts[3] = {lpszText1, lpszText2, lpszText3};
  for (int i = 0; i < 3; ++i) m_texts[i][at] = texts[i] ? texts[i] : _T("");
  m_lastTexts[at].Empty();
  // The status column's block would be cut off in a row of the title's height alone.
  if (GetHeaderCtrl() && GetHeaderCtrl()->GetItemCount() > kStatusColumn) GrowRowHeight(kStatusBlockHeight);
  Update(nItem);
  return TRUE;
}

UINT CFancyListCtrl::GetStatusKind(int nItem) const {
  return ValidRow(nItem) ? m_statusKinds[static_cast<std::size_t>(nItem)] : 4;
}

UINT CFancyListCtrl::GetValue(int nItem) const {
  return ValidRow(nItem) ? m_values[static_cast<std::size_t>(nItem)] : 0;
}

CString CFancyListCtrl::GetFurtherText(int nItem, int nText) const {
  if (!ValidRow(nItem) || nText < 0 || nText > 2) return CString();
  return m_texts[nText][static_cast<std::size_t>(nItem)];
}

CString CFancyListCtrl::GetLastText(int nItem) const {
  return ValidRow(nItem) ? m_lastTexts[static_cast<std::size_t>(nItem)] : CString();
}

BOOL CFancyListCtrl::SetLastText(int nItem, LPCTSTR lpszText) {
  if (!ValidRow(nItem)) return FALSE;
  m_lastTexts[static_cast<std::size_t>(nItem)] = lpszText ? lpszText : _T("");
  return TRUE;
}

void CFancyListCtrl::SetPlainMode(BOOL bPlain) {
  m_bPlainMode = bPlain ? TRUE : FALSE;
  if (m_hWnd) Invalidate();
}

void CFancyListCtrl::OnRowInserted(std::size_t at) {
  InsertAt(m_statusKinds, at, 4u);
  InsertAt(m_values, at, 0u);
  for (auto& texts : m_texts) InsertAt(texts, at, CString());
  InsertAt(m_lastTexts, at, CString());
}

// Every array loses the row, in plain mode too: the rows below keep their own data.
void CFancyListCtrl::OnRowRemoved(std::size_t at) {
  EraseAt(m_statusKinds, at);
  EraseAt(m_values, at);
  for (auto& texts : m_texts) EraseAt(texts, at);
  EraseAt(m_lastTexts, at);
}

void CFancyListCtrl::OnRowsCleared() {
  m_statusKinds.clear();
  m_values.clear();
  for (auto& texts : m_texts) texts.clear();
  m_lastTexts.clear();
}

void CFancyListCtrl::OnRowsReordered(const std::vector<std::size_t>& before) {
  Reorder(m_statusKinds, before);
  Reorder(m_values, before);
  for (auto& texts : m_texts) Reorder(texts, before);
  Reorder(m_lastTexts, before);
}

void CFancyListCtrl::OnCheckClicked(int nItem, BOOL bChecked) {
  const tagDriverListSwitches& switches = DriverListSwitches();
  if (!switches.bPopupOpen || !switches.bStatusTextsHidden || g_pMainDlg == nullptr) return;
  auto* results = dynamic_cast<CDlgScan3Results*>(g_pMainDlg->GetGroupPage(CVelquorDlg::kScanGroup, 3));
  if (results == nullptr || &results->GetList() == this || results->GetList().GetSafeHwnd() == nullptr) return;
  results->GetList().SetCheck(nItem, bChecked);
}

// ---- Mouse -------------------------------------------------------------------------------------

CRect CFancyListCtrl::GetLinkBand() const {
  if (GetHeaderCtrl() == nullptr || GetHeaderCtrl()->GetItemCount() <= kStatusColumn) return CRect();
  CRect client;
  GetClientRect(&client);
  const int left = GetColumnWidth(0) + GetColumnWidth(1) - GetScrollPos(SB_HORZ);
  return CRect(left, client.top, left + GetColumnWidth(kStatusColumn), client.bottom);
}

bool CFancyListCtrl::SetBandCursor(CPoint point) {
  if (!GetLinkBand().PtInRect(point)) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    return false;
  }
  if (m_hHandCursor == nullptr)
    m_hHandCursor = ::LoadCursorW(FindProgramResourceHandle(kHandCursorId, RT_GROUP_CURSOR), MAKEINTRESOURCEW(kHandCursorId));
  ::SetCursor(m_hHandCursor ? m_hHandCursor : ::LoadCursorW(nullptr, IDC_HAND));
  return true;
}

void CFancyListCtrl::OnMouseMove(UINT, CPoint point) {
  SetBandCursor(point);
  Default();
}

BOOL CFancyListCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT) {
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (SetBandCursor(point)) return TRUE;
  }
  return CFancyListBase::OnSetCursor(pWnd, nHitTest, message);
}

// ---- Drawing -----------------------------------------------------------------------------------

CPoint CFancyListCtrl::CheckImageOrigin(int columnLeft, int, const CRect& row) const {
  return CPoint(columnLeft + 14, row.top + 10);
}

int CFancyListCtrl::TitleLeft() const {
  const int check = GetCheckColumn();
  return -GetScrollPos(SB_HORZ) + (check >= 0 ? GetColumnWidth(check) / 2 + 64 : 36);
}

int CFancyListCtrl::StatusTextLeft() const { return ColumnLeft(kStatusColumn) - 68; }

void CFancyListCtrl::DrawRowBackground(CDC* pDC, int nItem, const CRect& row, UINT state) {
  FillRow(pDC, row, state);
  if ((state & ODS_FOCUS) && GetRowKind(nItem) != kFancyRowGroupHeader) pDC->FillSolidRect(&row, kFocusFill);
  pDC->FillSolidRect(row.left, row.bottom, row.Width(), 1, kLineColour);
}

void CFancyListCtrl::DrawImageCell(CDC* pDC, int nItem, int x, int width, const CRect& row) {
  const auto at = static_cast<std::size_t>(nItem);
  if (m_rowKinds[at] == kFancyRowGroupHeader) {
    pDC->FillSolidRect(x, row.top, width, row.Height(), kGroupCellFill);
    pDC->FillSolidRect(x, row.bottom, width, 1, kLineColour);
    return;
  }
  CImageList* images = GetImageColumnList();
  const int image = m_images[at];
  if (images == nullptr || image < 0 || image >= images->GetImageCount()) return;
  const LONG_PTR data = static_cast<LONG_PTR>(GetItemData(nItem));
  const int checkColumn = GetCheckColumn();
  // The check box reaches past a narrow check column; the image is placed from its end.
  const int from = checkColumn >= 0 ? std::max(x, CheckImageOrigin(ColumnLeft(checkColumn), 0, row).x + 16) : x;
  const int left = from + (checkColumn >= 0 ? (data == -1 ? 38 : 4) : 13);
  const CPoint at2(left, row.top + 10);
  images->Draw(pDC, image, at2, ILD_TRANSPARENT);
  HICON overlay = data == 2 ? m_hOverlays[0] : (data == 0 || data == 1 || data == 3) ? m_hOverlays[1] : nullptr;
  if (overlay)
    ::DrawIconEx(pDC->GetSafeHdc(), left + GetImageCell().Width() / 2, at2.y + GetImageCell().Height() / 2, overlay,
                 kOverlaySize, kOverlaySize, 0, nullptr, DI_NORMAL);
}

void CFancyListCtrl::DrawDetailCell(CDC* pDC, int nItem, int x, int, const CRect& row) {
  const auto at = static_cast<std::size_t>(nItem);
  const int left = TitleLeft();
  if (m_rowKinds[at] == kFancyRowGroupHeader) {
    pDC->SelectObject(&m_fontGroup);
    pDC->SetTextColor(kGroupTitleColour);
    // Group headers start 35 pixels left of the detail column.
    CRect title(x - 35 + 14, row.top, row.right, row.bottom);
    pDC->DrawText(m_details[at], &title, kGroupTitle);
    return;
  }
  pDC->SelectObject(&m_fontBold);
  pDC->SetTextColor(m_bPlainMode ? kPlainTitleColour : kTitleColour);
  // The block wraps short of the status column's age block.
  int width = kTitleBlockWidth;
  if (GetHeaderCtrl() && GetHeaderCtrl()->GetItemCount() > kStatusColumn)
    width = std::max(std::min(width, AgeBlockLeft() - kBlockGap - left), 40);
  CRect title(left, row.top + 10, left + width, row.bottom);
  pDC->DrawText(m_details[at], &title, kMeasureBlock);
  title.right = left + width;
  pDC->DrawText(m_details[at], &title, kBlock);
  pDC->SelectObject(&m_fontText);
  pDC->SetTextColor(kPlainTitleColour);
  // A class name longer than the block ends in an ellipsis rather than being cut off.
  CRect further(left, title.bottom + 8, left + width, title.bottom + 28);
  pDC->DrawText(m_texts[0][at], &further, kOneLine | DT_END_ELLIPSIS);
}

void CFancyListCtrl::DrawOtherCell(CDC* pDC, int nItem, int column, int x, int width, const CRect& row, UINT state) {
  if (column == kStatusColumn) {
    if (static_cast<LONG_PTR>(GetItemData(nItem)) != -1 && GetRowKind(nItem) != kFancyRowGroupHeader)
      DrawStatus(pDC, nItem, x, width, row, state);
    return;
  }
  CFancyListBase::DrawOtherCell(pDC, nItem, column, x, width, row, state);
}

void CFancyListCtrl::DrawAgeLabels(CDC* pDC, int left, int top) {
  pDC->SelectObject(&m_fontLabels);
  for (int i = 0; i < 3; ++i) {
    pDC->SetTextColor(kAgeLabels[i].colour);
    CRect box(left, top, left + kAgeLabels[i].width, top + 28);
    pDC->DrawText(m_strAges[i], &box, kLabelBox);
    left += kAgeLabels[i].width;
  }
}

int CFancyListCtrl::DrawDateLine(CDC* pDC, int left, int top, const CString& label, const CString& value,
                                 COLORREF colour) {
  pDC->SelectObject(&m_fontText);
  pDC->SetTextColor(0);
  CRect box(left, top, left + kTitleBlockWidth, top);
  pDC->DrawText(label, &box, kMeasureLine);
  box.right = std::min(static_cast<int>(box.right), left + kTitleBlockWidth);
  pDC->DrawText(label, &box, kOneLine);
  pDC->SetTextColor(colour);
  CRect valueBox(box.right + 4, top, box.right + 4 + kDateValueWidth, box.bottom);
  pDC->DrawText(value, &valueBox, kOneLine);
  return box.bottom;
}

void CFancyListCtrl::DrawStatus(CDC* pDC, int nItem, int x, int width, const CRect& row, UINT state) {
  const auto at = static_cast<std::size_t>(nItem);
  const LONG_PTR data = static_cast<LONG_PTR>(GetItemData(nItem));
  CRect line(x - 68, row.top + 8, x + width - 2, row.top + 8 + GetLineHeight());
  if (!DriverListSwitches().bStatusTextsHidden && data >= 0 && data <= 2) {
    pDC->SelectObject(&m_fontLink);
    pDC->SetTextColor(kStatusColour);
    pDC->DrawText(m_strStatus[data], &line, kStatusLine);
  }
  // The age block stands left of the action text: the badge, its labels, then the dates.
  const int left = AgeBlockLeft();
  int top = line.bottom;
  const UINT kind = m_statusKinds[at];
  if (kind >= 1 && kind <= 4) {
    const UINT id = BadgeId(kind, (state & ODS_FOCUS) != 0);
    const int badgeTop = line.top - 3;
    if (HBITMAP badge = Badge(id)) {
      BITMAP info{};
      ::GetObjectW(badge, sizeof(info), &info);
      DrawBitmap(pDC, left, badgeTop, info.bmWidth, info.bmHeight, badge, SRCCOPY);
    }
    DrawAgeLabels(pDC, left, badgeTop + 11);
    top = badgeTop + 11 + 28;
  }
  top = DrawDateLine(pDC, left, top, m_strInstalled, m_texts[1][at], kInstalledColour);
  DrawDateLine(pDC, left, top, m_strAvailable, m_texts[2][at], kAvailableColour);
}

}  // namespace velquor
