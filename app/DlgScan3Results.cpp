// CDlgScan3Results: the page's layout, its list of results and their checks, the hand-off of
// the chosen rows, the action links of single rows, the context menu with exclusion, and the
// counts, legend and hint it paints.
#include "DlgScan3Results.h"

#include "DlgBaseMessageBoxWndBase.h"
#include "DlgBaseShared.h"
#include "DlgButtonStyles.h"
#include "DlgParentTransculent.h"
#include "Dlg_INFO_HTM.h"
#include "DriverScanUpdate.h"
#include "HeaderBand.h"
#include "HalvoranApp.h"
#include "CheckedFormat.h"
#include "ContextMenus.h"
#include "IniReader.h"
#include "OwnProcessMessage.h"
#include "SettingsStore.h"

IMPLEMENT_DYNAMIC(CDlgScan3Results, CDlgLeftSideChild)

namespace {
const UINT g_nItemChangeMessage = CDlgScan3Results::GetItemChangeMessage();
}  // namespace

BEGIN_MESSAGE_MAP(CDlgScan3Results, CDlgLeftSideChild)
  ON_WM_SHOWWINDOW()
  ON_WM_SIZE()
  ON_COMMAND(CDlgScan3Results::kDownloadId, &CDlgScan3Results::OnDownloadSelected)
  ON_COMMAND(CDlgScan3Results::kExclusionLinkId, &CDlgScan3Results::OnGoToExclusionList)
  ON_COMMAND(CDlgScan3Results::kExclusionListCommand, &CDlgScan3Results::OnGoToExclusionList)
  ON_COMMAND(CDlgScan3Results::kFeedbackId, &CDlgScan3Results::OnSendFeedback)
  ON_COMMAND(CDlgScan3Results::kSummaryId, &CDlgScan3Results::OnViewSummary)
  ON_COMMAND(CDlgScan3Results::kAgeInfoId, &CDlgScan3Results::OnAgeInfo)
  ON_COMMAND(CDlgScan3Results::kCheckAllCommand, &CDlgScan3Results::OnCheckAll)
  ON_COMMAND(CDlgScan3Results::kUncheckAllCommand, &CDlgScan3Results::OnUncheckAll)
  ON_COMMAND(CDlgScan3Results::kExcludeCommand, &CDlgScan3Results::OnExclude)
  ON_COMMAND(CDlgScan3Results::kRunClosedCommand, &CDlgScan3Results::OnRunClosed)
  ON_NOTIFY(NM_CLICK, CDlgScan3Results::kListId, &CDlgScan3Results::OnResultClick)
  ON_NOTIFY(NM_RCLICK, CDlgScan3Results::kListId, &CDlgScan3Results::OnResultRightClick)
  ON_NOTIFY(NM_DBLCLK, CDlgScan3Results::kListId, &CDlgScan3Results::OnResultDoubleClick)
  ON_REGISTERED_MESSAGE(g_nItemChangeMessage, &CDlgScan3Results::OnItemChange)
END_MESSAGE_MAP()

namespace {

constexpr LPCTSTR kSection = _T("Tunevo");
constexpr LPCTSTR kSharedSection = _T("QVX");
constexpr COLORREF kCountColour = 0x0000A8;
constexpr int kListLeft = 23;
constexpr int kListTop = 128;
constexpr int kHeaderBand = 27;
// Where the driver-age caption's column starts on the band.
constexpr int kAgeColumnX = 346;
constexpr int kListBottomMargin = 196;
constexpr int kCheckColumnWidth = 16;
constexpr int kCountTop = 94;
constexpr int kCountLine = 16;
constexpr int kLegendWidth = 170;
constexpr COLORREF kLinkColour = 0xCC3300;
// The buttons' row: its top is this far above the page's bottom.
constexpr int kButtonRowRise = 36;

CString PageText(LPCTSTR id, LPCTSTR section = kSection) { return GetLangString(id, section); }

CString WithAppName(LPCTSTR id, LPCTSTR section = kSection) {
  CString text;
  FormatChecked(text, PageText(id, section), {GetAppName()});
  return text;
}

void PlaceButton(CWnd& page, CHoverButtonWithText& button, UINT id, const CRect& place, const CString& caption) {
  button.SubclassDlgItem(id, &page);
  ApplyDarkTextButtonStyle(button);
  button.MoveWindow(&place);
  button.SetWindowText(caption);
}

// A link of the page: its text over the page's white, underlined while the pointer is on it.
void PlaceLink(CWnd& page, CHyperLinkBtn& link, UINT id, const CRect& place, const CString& text) {
  link.SubclassDlgItem(id, &page);
  link.SetTransparent(TRUE);
  link.SetNormalColour(kLinkColour);
  link.SetHoverColour(kLinkColour);
  link.MoveWindow(&place);
  link.SetLinkText(text);
}

}  // namespace

UINT CDlgScan3Results::GetItemChangeMessage() {
  static const UINT message = ::RegisterWindowMessageW(_T("QVX_DRIVER_ITEMCHANGE"));
  return message;
}

CDlgScan3Results::CDlgScan3Results(CResultsPageHost& host, CWnd* pParent)
    : CDlgLeftSideChild(kTemplateId, pParent), m_host(host) {}

CDlgScan3Results::~CDlgScan3Results() = default;

BOOL CDlgScan3Results::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(PageText(_T("SCANDLG3")));
  SetWindowPos(nullptr, 0, 0, kPageWidth, kPageHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  CRect client;
  GetClientRect(&client);
  const int w = client.Width();
  const int h = client.Height();
  const bool quiet = m_host.IsOneClickMode() || m_host.IsLauncherNotifyMode();

  PlaceButton(*this, m_btnDownload, kDownloadId, CRect(CPoint(w - 208, h - kButtonRowRise), CSize(186, 32)),
              PageText(_T("IDS_UPDATE_SELEC_DRIVER")));
  if (m_host.IsOneClickMode()) m_btnDownload.ShowWindow(SW_HIDE);
  PlaceButton(*this, m_btnSummary, kSummaryId, CRect(CPoint(w - 371, h - kButtonRowRise), CSize(156, 32)),
              PageText(_T("IDS_VIEW_SUMMARY")));
  PlaceLink(*this, m_btnFeedback, kFeedbackId, CRect(CPoint(22, h - 27), CSize(114, 16)),
            PageText(_T("IDS_FEEDBACK_REPORT")));
  PlaceLink(*this, m_btnExclusionLink, kExclusionLinkId, CRect(CPoint(w - 138, 107), CSize(120, 18)),
            PageText(_T("IDS_GOTO_EXCLU_LIST")));
  m_btnExclusionLink.ShowWindow(SW_HIDE);
  m_btnExclusionLink.EnableWindow(FALSE);
  CString ageCaption = PageText(_T("IDS_DRIVER_DETAILS_DRIVER_AGE"), kSharedSection);
  ageCaption.Remove(_T(':'));
  // The caption names what the button opens; it is the button's tooltip.
  m_btnAgeInfo.Place(*this, kAgeInfoId, CRect(CPoint(318, 127), CSize(27, 27)));
  m_btnAgeInfo.SetWindowText(ageCaption);
  if (quiet) m_btnAgeInfo.ShowWindow(SW_HIDE);
  if (m_toolTip.GetSafeHwnd()) {
    m_toolTip.AddTool(&m_btnDownload, PageText(_T("RESULTTABTOOLTIP3")));
    m_toolTip.AddTool(&m_btnFeedback, WithAppName(_T("IDS_REPORT_FEEDBACK"), kSharedSection));
    m_toolTip.AddTool(&m_btnExclusionLink, PageText(_T("IDS_SCAN_TOOLTIP1")));
    m_toolTip.AddTool(&m_btnSummary, PageText(_T("IDS_SCAN_TOOLTIP2")));
    m_toolTip.AddTool(&m_btnAgeInfo, ageCaption);
  }

  m_list.SubclassDlgItem(kListId, this);
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
  // The header keeps the check column at the width it is made with.
  m_list.InsertCheckColumn(0, _T("CheckBox"), kCheckColumnWidth);
  m_list.InsertImageColumn(1, m_host.GetClassImages(), _T("Image"), 55);
  m_list.InsertDetailColumn(2, PageText(_T("IDS_DRIVER_DESCRIPTION")), std::max(w - 427, 50));
  m_list.InsertColumn(3, PageText(_T("IDS_DRIVER_AGE")), LVCFMT_LEFT, 155);
  m_list.InsertColumn(4, PageText(_T("IDS_DETAILS"), kSharedSection), LVCFMT_LEFT, 60);
  m_list.InsertColumn(5, PageText(_T("IDS_STATUS")), LVCFMT_LEFT, 90);
  if (m_toolTip.GetSafeHwnd()) m_toolTip.AddTool(&m_list, PageText(_T("IDS_SCAN_TOOLTIP3")));
  Layout();
  return TRUE;
}

BOOL CDlgScan3Results::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN &&
      (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_SPACE || pMsg->wParam == VK_F4))
    return TRUE;
  return CDlgLeftSideChild::PreTranslateMessage(pMsg);
}

void CDlgScan3Results::OnSize(UINT nType, int cx, int cy) {
  CDlgLeftSideChild::OnSize(nType, cx, cy);
  Layout();
}

// The list under the page's header band. On every resize the image column takes the width
// less 163 and the title column 70; the check column keeps the width it was made with (its
// header refuses any other) and the age, details and status columns keep theirs, reached by
// scrolling.
void CDlgScan3Results::Layout() {
  if (m_list.GetSafeHwnd() == nullptr) return;
  CRect client;
  GetClientRect(&client);
  const int band = m_host.IsOneClickMode() || m_host.IsLauncherNotifyMode() ? 0 : kHeaderBand;
  m_list.MoveWindow(kListLeft, kListTop + band, client.Width() - 2 * kListLeft,
                    client.Height() - band - kListBottomMargin);
  CRect inside;
  m_list.GetClientRect(&inside);
  // A width change scrolls the list to its end: the top row is kept.
  const int top = m_list.GetTopIndex();
  m_list.SetColumnWidth(1, inside.Width() - 163);
  m_list.SetColumnWidth(2, 70);
  if (m_list.GetItemCount() > 0) {
    m_list.EnsureVisible(m_list.GetItemCount() - 1, FALSE);
    m_list.EnsureVisible(top, FALSE);
  }
  const int bottom = client.bottom;
  const CRect labels[6] = {CRect(CPoint(69, bottom - 106), CSize(677, 15)), CRect(CPoint(177, bottom - 86), CSize(100, 15)),
                           CRect(CPoint(177, bottom - 66), CSize(100, 15)), CRect(CPoint(410, 370), CSize(175, 15)),
                           CRect(CPoint(410, bottom - 86), CSize(500, 15)), CRect(CPoint(410, bottom - 69), CSize(175, 15))};
  // The detail labels stay empty: hidden, they leave the legend under the list readable.
  for (int i = 0; i < 6; ++i)
    if (CWnd* label = GetDlgItem(kDetailLabels[i])) {
      label->MoveWindow(&labels[i]);
      label->ShowWindow(SW_HIDE);
    }
}

// ---- Rows and checks ---------------------------------------------------------------------------

int CDlgScan3Results::ResultIndexOf(int nRow) const {
  CString key, value;
  key.Format(_T("%d"), nRow);
  if (!m_host.GetScanEngine().GetItemMap().Lookup(key, value)) return -1;
  return DecimalValue(value);
}

bool CDlgScan3Results::AnyUpdateChecked() const {
  for (int row = 0; row < m_list.GetItemCount(); ++row)
    if (IsUpdateState(RowState(row)) && m_list.GetCheck(row)) return true;
  return false;
}

void CDlgScan3Results::UpdateInstallButtonState() { m_btnDownload.EnableWindow(AnyUpdateChecked() ? TRUE : FALSE); }

void CDlgScan3Results::SetAllChecks(BOOL bCheck) {
  for (int row = 0; row < m_list.GetItemCount(); ++row)
    if (RowState(row) != -1) m_list.SetCheck(row, bCheck);
  UpdateInstallButtonState();
}

void CDlgScan3Results::OnCheckAll() { SetAllChecks(TRUE); }

void CDlgScan3Results::OnUncheckAll() { SetAllChecks(FALSE); }

void CDlgScan3Results::KeepChecks() {
  for (int row = 0; row < m_list.GetItemCount(); ++row)
    m_host.GetScanEngine().SetResultRowChecked(row, m_list.GetCheck(row));
}

void CDlgScan3Results::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDlgLeftSideChild::OnShowWindow(bShow, nStatus);
  if (!bShow) return;
  m_host.ShowResultsTab(this);
  m_host.SetTaskBusy(TRUE);
  if (m_list.GetItemCount() == 0) {
    m_btnDownload.EnableWindow(FALSE);
  } else {
    OnCheckAll();
    m_btnDownload.EnableWindow(TRUE);
  }
  Layout();
  for (UINT id : kDetailLabels)
    if (CWnd* label = GetDlgItem(id)) label->SetWindowText(_T(""));
  m_host.ClearScanRequested();
  m_host.SetTaskBusy(FALSE);
}

// ---- Hand-off ------------------------------------------------------------------------------------

void CDlgScan3Results::OnDownloadSelected() {
  CWnd* mainWindow = GetTopLevelParent();
  if (m_list.GetItemCount() == 0) {
    if (!m_host.IsLauncherNotifyMode()) AppMessageBox(PageText(_T("IDS_NODRIVER_FOUND_UPDATE")), MB_OK, nullptr);
    return;
  }
  m_chosenRows.clear();
  int updates = 0;
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    if (!IsUpdateState(RowState(row))) continue;
    ++updates;
    if (m_list.GetCheck(row)) m_chosenRows.push_back(row);
  }
  if (!m_chosenRows.empty()) {
    m_nPageMode = CResultsPageHost::kModeDownloadChecked;
    m_host.RunDownloadAndInstall(this, m_nPageMode, m_chosenRows);
    return;
  }
  if (updates > 0) {
    if (m_host.IsLauncherNotifyMode())
      m_host.ReportUpdateCount(updates);
    else
      AppMessageBox(PageText(_T("IDS_NOSELC_DRIVER_TOUPDATE")), MB_OK | MB_ICONINFORMATION, mainWindow);
    return;
  }
  if (!m_host.IsLauncherNotifyMode())
    AppMessageBox(PageText(_T("IDS_ALLDRIVER_UPDATE")), MB_OK | MB_ICONINFORMATION, mainWindow);
  m_host.ReportUpdateCount(0);
}

void CDlgScan3Results::RunOne(int nRow, int nMode) {
  m_nCurrentRow = nRow;
  m_nCurrentResult = ResultIndexOf(nRow);
  m_nPageMode = nMode;
  m_chosenRows.assign(1, nRow);
  m_host.RunDownloadAndInstall(this, nMode, m_chosenRows);
}

void CDlgScan3Results::InstallDownloaded(int nRow) {
  const int elevation = m_host.CheckElevation(this);
  if (elevation == 0) return;
  // A refusal is told whatever number it comes as (the elevation prompt answers 255).
  if (elevation != 1) {
    AppMessageBox(PageText(_T("IDS_ABORT_INSTALL")), MB_OK | MB_ICONINFORMATION, this);
    return;
  }
  CString text;
  text.Format(_T("<font face=\"Segoe UI\" size=9pt>%s<font>"), static_cast<LPCTSTR>(WithAppName(_T("INSTALLNAGDESC1"))));
  CStringArray buttons;
  buttons.Add(PageText(_T("IDS_INSTALL")));
  buttons.Add(PageText(_T("IDS_DONTINSTALL")));
  if (AppMessageBoxEx(text, MB_ICONQUESTION, 2, buttons, CRect(0, 0, 382, 220), FALSE, 0, this) != 0) return;
  RunOne(nRow, CResultsPageHost::kModeInstallOne);
}

void CDlgScan3Results::OnResultClick(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR);
  const int row = click->iItem;
  if (row < 0 || row >= m_list.GetItemCount()) return;
  UpdateInstallButtonState();
  m_nCurrentResult = ResultIndexOf(row);
  m_list.Update(row);
  if (click->iSubItem != kActionColumn) return;
  switch (RowState(row)) {
    case 0:
      RunOne(row, CResultsPageHost::kModeSingleDownload);
      break;
    case 1:
      InstallDownloaded(row);
      break;
    case 2:
      m_host.RunRestartPrompt(this);
      break;
    default:
      break;
  }
}

void CDlgScan3Results::OnResultDoubleClick(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  if (AnyUpdateChecked()) m_btnDownload.EnableWindow(TRUE);
}

LRESULT CDlgScan3Results::OnItemChange(WPARAM, LPARAM lParam) {
  // A row's state is the program's own to set.
  if (!IsOwnProcessMessage()) return 0;
  if (m_nCurrentRow < 0 || m_nCurrentRow >= m_list.GetItemCount()) return 0;
  m_list.SetItemData(m_nCurrentRow, static_cast<DWORD_PTR>(lParam));
  m_list.Invalidate();
  m_list.SelectSingleItem(m_nCurrentRow);
  m_list.EnsureVisible(m_nCurrentRow, FALSE);
  return 0;
}

// ---- Context menu and exclusion -------------------------------------------------------------------

void CDlgScan3Results::OnResultRightClick(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR);
  if (m_host.IsOneClickMode() || m_host.IsLauncherNotifyMode()) return;
  if (click->iItem < 0 || click->iItem >= m_list.GetItemCount() || RowState(click->iItem) == -1) return;
  if (m_list.GetNextItem(-1, LVNI_SELECTED) < 0) return;
  TrackPageContextMenu(*this, kContextMenu);
}

void CDlgScan3Results::OnExclude() {
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0) return;
  m_list.SetCheck(row, FALSE);
  CDriverScanUpdate& engine = m_host.GetScanEngine();
  const int device = ResultIndexOf(row);
  CDeviceRecordArray* devices = engine.GetDevices();
  if (device < 0 || devices == nullptr || device >= engine.GetDeviceCount()) return;
  const tagDeviceDriverInfo* record = devices->GetAt(device);
  if (record == nullptr) return;
  m_host.AddExclusion(record->szText[kSlotDeviceName].Text(), record->szText[kSlotHardwareId].Text());
  KeepChecks();
  engine.SetResultRowState(row, 0, 1);
  engine.RebuildResultList();
  UpdateInstallButtonState();
  Invalidate();
}

// The rows show the states the run left them in, with the checks they had.
void CDlgScan3Results::OnRunClosed() {
  KeepChecks();
  m_host.GetScanEngine().RebuildResultList();
  UpdateInstallButtonState();
  Invalidate();
}

void CDlgScan3Results::OnGoToExclusionList() { m_host.GoToExclusionList(); }

void CDlgScan3Results::OnSendFeedback() { m_host.SendFeedback(this); }

void CDlgScan3Results::OnViewSummary() { m_host.ShowSummary(); }

// The levels dialog runs over the backdrop, which is the parent its closing elements end.
void CDlgScan3Results::OnAgeInfo() {
  CDlg_INFO_HTM info(nullptr, GetTopLevelParent());
  RunModalWithBackdrop(this, &info, CDlg_INFO_HTM::kTemplateId);
}

// ---- Painting ----------------------------------------------------------------------------------------

void CDlgScan3Results::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  const bool oneClick = m_host.IsOneClickMode();
  const bool quiet = oneClick || m_host.IsLauncherNotifyMode();
  if (!oneClick) CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  CFont* old = pDC->SelectObject(CFont::FromHandle(GetSharedDialogFont()));
  pDC->SetBkMode(TRANSPARENT);
  const int results = m_host.GetScanEngine().GetShownResults();
  CString count;
  FormatChecked(count, PageText(_T("SCANTAB3ERRCOUNT1")),
                {results, PageText(results < 2 ? _T("IDS_SMALL_DRIVER") : _T("IDS_SMALL_DRIVERS"))});
  pDC->SetTextColor(kCountColour);
  CRect line(kListLeft, kCountTop, rect.right - kListLeft - kLegendWidth, kCountTop + kCountLine);
  pDC->DrawText(count, &line, DT_SINGLELINE | DT_NOPREFIX);
  if (const int excluded = m_host.GetExclusionCount(); excluded > 0) {
    CString text;
    FormatChecked(text, PageText(_T("IDS_EXCLUDED_DRIVER")), {excluded});
    line.OffsetRect(0, kCountLine);
    pDC->DrawText(text, &line, DT_SINGLELINE | DT_NOPREFIX);
  }
  pDC->SetTextColor(kDialogTextColour);
  if (!quiet) {
    // The band spans the list, its texts where the columns' texts start in the rows.
    DrawHeaderBand(pDC, TRUE, rect.Width() - 2 * kListLeft + 2, kListTop, kListLeft + 2, {kAgeColumnX},
                   {PageText(_T("IDS_DRIVER_DESCRIPTION_LST_HEADER")), PageText(_T("IDS_DRIVER_AGE"))});
  }
  // The legend: a mark in each text's colour before it, one line each at the page's top right,
  // the last on the count's line.
  const struct {
    LPCTSTR key;
    COLORREF mark;
  } legend[] = {{_T("SCANTAB3LEGEND"), velquor::CFancyListCtrl::kAvailableColour},
                {_T("SCANTAB3LEGEND_OUTOFDATE"), velquor::CFancyListCtrl::kInstalledColour},
                {_T("IDS_PROCESS_LEFT_INCOMP"), velquor::CFancyListCtrl::kStatusColour}};
  const int legendLeft = rect.right - kListLeft - kLegendWidth;
  int top = kCountTop - kCountLine * (static_cast<int>(std::size(legend)) - 1);
  for (const auto& entry : legend) {
    pDC->FillSolidRect(legendLeft, top + 4, 8, 8, entry.mark);
    CRect text(legendLeft + 12, top, rect.right - kListLeft, top + kCountLine);
    pDC->DrawText(PageText(entry.key), &text, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    top += kCountLine;
  }
  // The hint has the room between the list and the buttons' row to itself.
  CRect list(0, 0, 0, rect.bottom - kListBottomMargin);
  if (m_list.GetSafeHwnd()) {
    m_list.GetWindowRect(&list);
    ScreenToClient(&list);
  }
  CString hint;
  hint.Format(_T("%s %s"), static_cast<LPCTSTR>(PageText(_T("IDS_NOTE"))), static_cast<LPCTSTR>(PageText(_T("RESULTTABHINT"))));
  CRect hintBox(kListLeft, list.bottom, rect.right - kListLeft, rect.bottom - kButtonRowRise);
  pDC->DrawText(hint, &hintBox, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  pDC->SelectObject(old);
}
