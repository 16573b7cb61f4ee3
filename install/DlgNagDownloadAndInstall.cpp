// CDlgNagDownloadAndInstall: the popup's controls and their layout, the status list, the
// overall progress, the run buttons, the stop request and the keys the popup swallows.
#include "DlgNagDownloadAndInstall.h"

#include <sysinfoapi.h>

#include "CheckedFormat.h"
#include "DlgBaseShared.h"
#include "GlobalConstants.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "XTMemDC.h"

IMPLEMENT_DYNAMIC(CDlgNagDownloadAndInstall, CDlgNagFrame)

BEGIN_MESSAGE_MAP(CDlgNagDownloadAndInstall, CDlgNagFrame)
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_MESSAGE(CDlgNagDownloadAndInstall::kRunEventMessage, &CDlgNagDownloadAndInstall::OnRunEvent)
END_MESSAGE_MAP()

namespace {

constexpr UINT kDescription = 1391;
constexpr UINT kProgressBar = 1392;
constexpr UINT kCurrentLabel = 1393;
constexpr UINT kStatusList = 1394;
// The command the main window's results page takes when the popup is closed.
constexpr UINT kResultsClosedCommand = 1201;
constexpr int kDateColumnWidth = 180;
constexpr COLORREF kTitleColour = 0x303030;

// The local date and time a status line is stamped with.
CString NowText() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  CString text;
  text.Format(_T("%04u-%02u-%02u %02u:%02u:%02u"), now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
              now.wSecond);
  return text;
}

}  // namespace

CString CDlgNagDownloadAndInstall::Lang(LPCTSTR id) { return GetLangString(id, _T("QVX")); }

CDlgNagDownloadAndInstall::CDlgNagDownloadAndInstall(CWnd* pParentWnd)
    : CDlgNagFrame(kTemplateId, pParentWnd), m_pResultsPage(pParentWnd), m_strTitle(Lang(_T("DOWNLOADNAGDESC1"))) {
  SetShape(TRUE, kWidth, kHeight);
}

float CDlgNagDownloadAndInstall::OverallPercentage(float total, float current, float itemPercent) {
  if (total <= 0 || current < 0) return itemPercent;
  const float finished = current > 1 ? current - 1 : 0;
  float overall = 100.0f / total * finished + itemPercent / total;
  if (overall > 100) overall = 100;
  return overall < 0 ? 0 : overall;
}

BOOL CDlgNagDownloadAndInstall::OnInitDialog() {
  CDlgNagFrame::OnInitDialog();
  m_description.SubclassDlgItem(kDescription, this);
  m_progress.SubclassDlgItem(kProgressBar, this);
  m_currentLabel.SubclassDlgItem(kCurrentLabel, this);
  m_statusList.SubclassDlgItem(kStatusList, this);
  m_btnClose.SubclassDlgItem(IDOK, this);
  m_btnStop.SubclassDlgItem(IDCANCEL, this);
  CHoverButtonWithText::SetStyle(m_btnClose, TRUE, TRUE, TRUE);
  CHoverButtonWithText::SetStyle(m_btnStop, TRUE, FALSE, TRUE);
  m_btnClose.SetWindowText(Lang(_T("IDS_CLOSE")));
  m_btnStop.SetWindowText(Lang(_T("IDS_STOP")));
  m_btnStop.ShowWindow(SW_HIDE);
  m_progress.SetRange32(0, 100);

  CRect client;
  GetClientRect(&client);
  m_statusList.InsertColumn(0, Lang(_T("IDS_DATE_TIME")), LVCFMT_LEFT, kDateColumnWidth);
  m_statusList.InsertColumn(1, Lang(_T("IDS_STATUS")), LVCFMT_LEFT, client.Width() - 240);
  m_statusList.InsertItem(0, _T(""));
  m_nCurrentLine = 0;
  m_bLineOpen = FALSE;

  m_tooltip.Create(this);
  m_tooltip.AddTool(&m_btnClose, Lang(_T("DOWNLOADNAGTOOLTIP1")));
  m_tooltip.Activate(TRUE);
  OnSizeLayout(SIZE_RESTORED, client.Width(), client.Height());
  const UINT_PTR startTimer = m_nStartMode == kModeDownloadOne        ? kTimerDownloadOne
                              : m_nStartMode == kModeDownloadSelected ? kTimerDownloadSelected
                              : m_nStartMode == kModeInstall          ? kTimerInstall
                              : m_nStartMode == kModeBackupInstall    ? kTimerBackupInstall
                                                                      : 0;
  if (startTimer != 0) SetTimer(startTimer, kStartDelayMs, nullptr);
  if (m_mainWindow.popupWindow) m_mainWindow.popupWindow(m_hWnd);
  return TRUE;
}

void CDlgNagDownloadAndInstall::OnSizeLayout(UINT nType, int cx, int cy) {
  CDlgNagFrame::OnSizeLayout(nType, cx, cy);
  if (!m_statusList.GetSafeHwnd()) return;
  const int width = cx - 40;
  m_description.MoveWindow(20, 55, width, 20);
  m_progress.MoveWindow(20, 83, width, 20);
  m_currentLabel.MoveWindow(20, 111, width, 20);
  m_statusList.MoveWindow(20, 135, width, 191);
  m_rcTitle.SetRect(20, 36, cx - 20, 54);
  const CRect buttonRow(cx - 138, cy - 46, cx - 18, cy - 18);
  m_btnClose.MoveWindow(&buttonRow);
  m_btnStop.MoveWindow(&buttonRow);
}

void CDlgNagDownloadAndInstall::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC memory(&paint, client, kDialogBackColour);
  PaintFrame(&memory, client);
  PaintHeading(&memory, m_strTitle, m_rcTitle, kTitleColour);
}

void CDlgNagDownloadAndInstall::SetTitleText(const CString& title) {
  m_strTitle = title;
  if (GetSafeHwnd()) InvalidateRect(&m_rcTitle);
}

void CDlgNagDownloadAndInstall::SetDescriptionText(const CString& description) {
  if (m_description.GetSafeHwnd()) m_description.SetWindowText(description);
}

void CDlgNagDownloadAndInstall::AddStatusLine(const CString& text, BOOL bNewLine) {
  if (IsProgressNotify()) {
    m_launcher.notify(kLauncherStatus, text);
    if (m_launcher.stopRequested && m_launcher.stopRequested() && m_nStopRequested.load() == 0) OnCancel();
    return;
  }
  if (!m_statusList.GetSafeHwnd()) return;
  if (bNewLine) {
    if (m_bLineOpen) {
      m_bLineOpen = FALSE;
      ++m_nCurrentLine;
      m_statusList.InsertItem(m_nCurrentLine, _T(""));
    }
    m_statusList.SetItemText(m_nCurrentLine, 0, NowText());
    m_statusList.SetItemText(m_nCurrentLine, 1, text);
    ++m_nCurrentLine;
    m_statusList.InsertItem(m_nCurrentLine, _T(""));
  } else {
    m_statusList.SetItemText(m_nCurrentLine, 0, NowText());
    m_statusList.SetItemText(m_nCurrentLine, 1, text);
    m_bLineOpen = TRUE;
  }
  m_statusList.EnsureVisible(m_nCurrentLine, FALSE);
}

int CDlgNagDownloadAndInstall::GetStatusLineCount() const {
  return m_statusList.GetSafeHwnd() ? m_statusList.GetItemCount() : 0;
}

CString CDlgNagDownloadAndInstall::GetStatusLine(int line) const { return m_statusList.GetItemText(line, 1); }

CString CDlgNagDownloadAndInstall::GetCurrentLabel() const {
  CString text;
  if (m_currentLabel.GetSafeHwnd()) m_currentLabel.GetWindowText(text);
  return text;
}

CString CDlgNagDownloadAndInstall::GetDescriptionText() const {
  CString text;
  if (m_description.GetSafeHwnd()) m_description.GetWindowText(text);
  return text;
}

void CDlgNagDownloadAndInstall::SetItemCounts(float total, float current) {
  m_fTotal = total;
  m_fCurrent = current;
}

void CDlgNagDownloadAndInstall::UpdateDownloadStatusText(float itemPercent) {
  m_fItemPercent = itemPercent;
  m_fOverallPercent = OverallPercentage(m_fTotal, m_fCurrent, itemPercent);
  if (m_progress.GetSafeHwnd()) m_progress.SetPos(static_cast<int>(m_fOverallPercent));
}

int CDlgNagDownloadAndInstall::GetProgressPos() const {
  return m_progress.GetSafeHwnd() ? m_progress.GetPos() : 0;
}

void CDlgNagDownloadAndInstall::PrepareRunUi(int mode) {
  m_nMode = mode;
  m_btnStop.SetWindowText(Lang(_T("IDS_STOP")));
  m_btnStop.EnableWindow(TRUE);
  m_btnStop.ShowWindow(SW_SHOW);
  m_btnClose.SetWindowText(Lang(_T("IDS_CLOSE")));
  m_btnClose.EnableWindow(TRUE);
  m_btnClose.ShowWindow(SW_HIDE);
  m_nStopRequested = 0;
  if (mode == kModeDownloadOne || mode == kModeDownloadSelected) {
    AddStatusLine(Lang(_T("IDS_DOWNSTART_MOMENT")), TRUE);
  } else {
    AddStatusLine(Lang(_T("IDS_DRIVER_INSSATRT2")), TRUE);
    CString title;
    FormatChecked(title, Lang(_T("SCANDLG4")), {GetAppName()});
    SetTitleText(title);
  }
}

void CDlgNagDownloadAndInstall::RestoreCloseButton() {
  m_btnStop.ShowWindow(SW_HIDE);
  m_btnStop.EnableWindow(FALSE);
  m_btnClose.SetWindowText(Lang(_T("IDS_CLOSE")));
  m_btnClose.EnableWindow(TRUE);
  m_btnClose.ShowWindow(SW_SHOW);
}

BOOL CDlgNagDownloadAndInstall::PreTranslateMessage(MSG* pMsg) {
  const WPARAM key = pMsg->wParam;
  if (pMsg->message == WM_KEYDOWN) {
    if (key == VK_RETURN || key == VK_ESCAPE || key == VK_F4 || key == VK_SPACE) pMsg->wParam = 0;
    return FALSE;
  }
  if (pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_SYSKEYUP) {
    if (key == VK_F4) {
      pMsg->wParam = 0;
      return FALSE;
    }
  }
  if (key == VK_SPACE) return FALSE;
  if (m_tooltip.GetSafeHwnd()) m_tooltip.RelayEvent(pMsg);
  return CDlgNagFrame::PreTranslateMessage(pMsg);
}

void CDlgNagDownloadAndInstall::OnOK() {
  if (m_pResultsPage && m_pResultsPage->GetSafeHwnd()) m_pResultsPage->PostMessage(WM_COMMAND, kResultsClosedCommand);
  CDlgNagFrame::OnOK();
}

void CDlgNagDownloadAndInstall::OnCancel() {
  m_nStopRequested = 1;
  m_btnStop.EnableWindow(FALSE);
  AddStatusLine(Lang(_T("IDS_WAIT_STOP_MOMENT")), TRUE);
  // A transfer under way is stopped too, and so is the backup ("Skip backup"); an install ends
  // before the next driver.
  if (m_nMode == kModeDownloadOne || m_nMode == kModeDownloadSelected) StopRunningTransfer();
  if (m_nMode == kModeBackupInstall) StopInThread(m_road.stopBackup);
}

void CDlgNagDownloadAndInstall::OnCloseRequest() {
  // The title's close button stops a run that is going and closes the popup otherwise.
  if (m_btnStop.GetSafeHwnd() && m_btnStop.IsWindowVisible()) {
    OnCancel();
  } else {
    OnOK();
  }
}
