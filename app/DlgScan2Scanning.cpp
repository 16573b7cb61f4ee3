// CDlgScan2Scanning: the page's controls and layout, its status lines, the start timer, the
// scan and stop workers, the messages the scan thread has the page show, and the category
// labels.
#include "DlgScan2Scanning.h"

#include <atltime.h>
#include <wininput.h>

#include <iterator>

#include "CheckedFormat.h"
#include "DeviceAnimation.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DlgBaseShared.h"
#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "HalvoranApp.h"
#include "PageLayout.h"
#include "ScanProcedure.h"
#include "IniReader.h"
#include "OwnProcessMessage.h"
#include "SettingsPageLayout.h"
#include "WorkerWait.h"

IMPLEMENT_DYNAMIC(CDlgScan2Scanning, CDlgLeftSideChild)

namespace {

const UINT g_nUpdateCountMessage = RegisterWindowMessageW(_T("QVX_DRIVER_UPDATECOUNT"));

constexpr LPCTSTR kSection = _T("IDD_SCANTAB2_SCANING");
constexpr COLORREF kStepColour = 0x323232;
constexpr COLORREF kStatusColour = 0x555555;
constexpr COLORREF kHintColour = 0x555555;

// The category labels with their caption keys, and the class names a count names them by.
struct Category {
  UINT id;
  LPCTSTR key;
  LPCTSTR name;
};
constexpr Category kCategories[] = {
    {5106, _T("IDC_ST_DISK_DRIVE"), _T("disk drives")},
    {5108, _T("IDC_ST_DVD_CD"), _T("dvd/cd-rom drives")},
    {5111, _T("IDC_ST_KEYBOARD"), _T("keyboards")},
    {5114, _T("IDC_ST_MONITOR"), _T("monitors")},
    {5119, _T("IDC_ST_OTHER_DEVICE"), nullptr},
    {5125, _T("IDC_ST_SCSI_RAID"), _T("scsi and raid controllers")},
    {5130, _T("IDC_ST_SYSTEM_DEV"), _T("system devices")},
    {5136, _T("IDC_ST_DISPLAY_ADAPT"), _T("display adapters")},
    {5142, _T("IDC_ST_ATA_ATAPI"), _T("ide ata/atapi controllers")},
    {5148, _T("IDC_ST_MICE"), _T("mice and other pointing devices")},
    {5151, _T("IDC_ST_NTWRK_UPDATR"), _T("network adapters")},
    {5154, _T("IDC_ST_PROCESSOR"), _T("processors")},
    {5157, _T("IDC_ST_SOUND_GAME"), _T("sound, video and game controllers")},
    {5159, _T("IDC_ST_USB"), _T("universal serial bus controllers")},
};

CString NowText() { return CTime::GetCurrentTime().Format(_T("%B %d, %Y   %I:%M %p")); }

}  // namespace

BEGIN_MESSAGE_MAP(CDlgScan2Scanning, CDlgLeftSideChild)
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_CTLCOLOR()
  ON_COMMAND(CDlgScan2Scanning::kStopId, &CDlgScan2Scanning::OnStopScan)
  ON_MESSAGE(CDlgScan2Scanning::kShowMessage, &CDlgScan2Scanning::OnShowMessage)
  ON_MESSAGE(CDlgScan2Scanning::kFinishMessage, &CDlgScan2Scanning::OnFinish)
  ON_MESSAGE(CDlgScan2Scanning::kFillMessage, &CDlgScan2Scanning::OnFillResults)
  ON_REGISTERED_MESSAGE(g_nUpdateCountMessage, &CDlgScan2Scanning::OnUpdateCount)
END_MESSAGE_MAP()

CDlgScan2Scanning::CDlgScan2Scanning(CScanPagesHost& host, CWnd* pParent)
    : CDlgLeftSideChild(kTemplateId, pParent), m_host(host) {}

CDlgScan2Scanning::~CDlgScan2Scanning() = default;

BOOL CDlgScan2Scanning::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(SettingsText(_T("SCANTAB2CURLABEL")));
  m_progress.SubclassDlgItem(kProgressId, this);
  m_stStep.SubclassDlgItem(kStepLabelId, this);
  m_stStatus.SubclassDlgItem(kStatusLabelId, this);
  m_animation.SubclassDlgItem(kAnimationId, this);
  m_lstStatus.SubclassDlgItem(kStatusListId, this);
  PlaceActionButton(*this, m_btnStop, kStopId, kSection, _T("IDC_SCANTAB2_STOP_SCAN"), 141);
  m_stStep.SetWindowText(GetLangString(_T("IDC_ST_OUT_OF_DATE"), kSection));
  for (const Category& category : kCategories) SetDlgItemText(category.id, GetLangString(category.key, kSection));
  m_progress.SetRange32(0, 100);
  m_lstStatus.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
  m_lstStatus.InsertColumn(0, SettingsText(_T("IDS_DATE_TIME")), LVCFMT_LEFT, 185);
  m_lstStatus.InsertColumn(1, SettingsText(_T("IDS_STATUS")), LVCFMT_LEFT, 341);
  if (m_toolTip.GetSafeHwnd()) m_toolTip.AddTool(&m_btnStop, SettingsText(_T("SCANTAB2TOOLTIP")));
  Layout();
  return TRUE;
}

void CDlgScan2Scanning::OnSize(UINT nType, int cx, int cy) {
  CDlgLeftSideChild::OnSize(nType, cx, cy);
  if (m_lstStatus.GetSafeHwnd()) Layout();
}

void CDlgScan2Scanning::Layout() {
  CRect client;
  GetClientRect(&client);
  const int W = client.Width();
  const int H = client.Height();
  m_animation.MoveWindow(22, 124, 44, 44);
  m_stStep.MoveWindow(97, 137, W - 119, 18);
  m_stStatus.MoveWindow(97, 155, W - 119, 36);
  m_progress.MoveWindow(22, 196, W - 44, 20);
  m_lstStatus.MoveWindow(22, 236, W - 44, H - 303);
  m_btnStop.MoveWindow(W - 141, H - 40, 120, 28);
}

BOOL CDlgScan2Scanning::PreTranslateMessage(MSG* pMsg) {
  if (SwallowScanPageKeys(pMsg)) return TRUE;
  return CDlgLeftSideChild::PreTranslateMessage(pMsg);
}

void CDlgScan2Scanning::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  const CString app = GetAppName();
  CString description;
  FormatChecked(description, SettingsText(_T("SCANTAB2DESC")), {app});
  DrawPageText(pDC, description, 84, 54, GetSharedDialogFont(), kDialogTextColour, DT_WORDBREAK | DT_NOPREFIX);
  CString hint, hintText;
  FormatChecked(hintText, SettingsText(_T("SCANTAB2HINT")), {app});
  hint.Format(_T("%s %s"), SettingsText(_T("IDS_NOTE")).GetString(), hintText.GetString());
  // The hint ends short of the Stop button beside it.
  DrawTextInBox(pDC, hint, CRect(22, rect.bottom - 34, 444, rect.bottom), GetSharedDialogFont(), kHintColour,
                DT_WORDBREAK | DT_NOPREFIX);
}

HBRUSH CDlgScan2Scanning::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CDlgLeftSideChild::OnCtlColor(pDC, pWnd, nCtlColor);
  const UINT id = pWnd != nullptr ? static_cast<UINT>(pWnd->GetDlgCtrlID()) : 0;
  if (id == kStepLabelId || id == kStatusLabelId) {
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(id == kStepLabelId ? kStepColour : kStatusColour);
  }
  return brush;
}

// ---- Status output

void CDlgScan2Scanning::ShowScanStatusText(const CString& text, BOOL setLabel) {
  if (m_host.IsOneClick()) CheckPeerAbortAndNotify(*this, text);
  if (setLabel) m_stStatus.SetWindowText(text);
  if (text.IsEmpty()) return;
  const int row = m_lstStatus.GetItemCount();
  m_lstStatus.SendMessage(WM_SETREDRAW, FALSE);
  const int item = m_lstStatus.InsertItem(row, NowText());
  m_lstStatus.SetItemText(item, 1, text);
  m_lstStatus.SendMessage(WM_SETREDRAW, TRUE);
  m_lstStatus.EnsureVisible(item, FALSE);
}

void CDlgScan2Scanning::ShowStatusLabel(const CString& text) {
  m_stStatus.SetWindowText(text);
  m_stStatus.UpdateWindow();
}

int CDlgScan2Scanning::GetStatusLineCount() { return m_lstStatus.GetItemCount(); }

CString CDlgScan2Scanning::GetStatusLine(int line, int column) { return m_lstStatus.GetItemText(line, column); }

void CDlgScan2Scanning::ResetScanningPage() {
  m_host.SetLastRequest(CString());
  m_lstStatus.DeleteAllItems();
  m_progress.SetPos(0);
  // The window stays enabled so that Stop can be pressed; its tabs and panels are disabled.
  m_host.EnableUi(FALSE);
  m_host.HostWindow()->EnableWindow(TRUE);
  m_stStatus.SetWindowText(_T(""));
  m_stStatus.SetWindowText(SettingsText(_T("IDS_WAIT_SCAN_START")));
  m_stStep.SetWindowText(SettingsText(_T("SCANTAB2PROC")));
  m_stStatus.SetWindowText(SettingsText(_T("IDS_WAIT_SCAN_PROGR")));
  PlayAnimation(m_animation);
}

void CDlgScan2Scanning::StopScanAnimation() { StopAnimation(m_animation); }

void CDlgScan2Scanning::EnableStopButton(BOOL enable) { m_btnStop.EnableWindow(enable); }

void CDlgScan2Scanning::KeepPumpTurning() { PostMessage(WM_NULL); }

int CDlgScan2Scanning::ShowScanMessage(LPCTSTR textId, UINT style, bool ownedByPage) {
  tagScanMessage message;
  message.text = SettingsText(textId);
  message.style = style;
  message.ownedByPage = ownedByPage;
  if ((style & MB_ICONWARNING) == MB_ICONWARNING) message.box.SetRect(0, 0, 450, 150);
  return static_cast<int>(SendMessage(kShowMessage, 0, reinterpret_cast<LPARAM>(&message)));
}

LRESULT CDlgScan2Scanning::OnShowMessage(WPARAM, LPARAM lParam) {
  const auto* message = reinterpret_cast<const tagScanMessage*>(lParam);
  if (message == nullptr) return 0;
  CWnd* owner = message->ownedByPage ? static_cast<CWnd*>(this) : m_host.HostWindow();
  return AppMessageBox(message->text, message->style, owner, message->box.IsRectEmpty() ? nullptr : &message->box);
}

void CDlgScan2Scanning::FinishScanPage(BOOL results) { SendMessage(kFinishMessage, results); }

LRESULT CDlgScan2Scanning::OnFinish(WPARAM wParam, LPARAM) {
  HandOnScanPages(*this, wParam != 0);
  return 0;
}

BOOL CDlgScan2Scanning::FillResultRows() { return SendMessage(kFillMessage) != 0 ? TRUE : FALSE; }

LRESULT CDlgScan2Scanning::OnFillResults(WPARAM, LPARAM) { return m_host.ScanEngine().FillResults() != 0 ? 1 : 0; }

// ---- Start and stop

void CDlgScan2Scanning::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kStartTimer) {
    CDlgLeftSideChild::OnTimer(nIDEvent);
    return;
  }
  KillTimer(nIDEvent);
  if (!m_host.ScanState().bScanRequested || IsScanRunning()) return;
  m_btnStop.EnableWindow(TRUE);
  JoinWorker(m_scanThread);
  JoinWorker(m_stopThread);
  m_scanThread = StartWorker(&CDlgScan2Scanning::ScanThreadProc);
}

bool CDlgScan2Scanning::IsScanRunning() const {
  return m_scanThread && ::WaitForSingleObject(m_scanThread->m_hThread, 0) == WAIT_TIMEOUT;
}

std::unique_ptr<CWinThread> CDlgScan2Scanning::StartWorker(AFX_THREADPROC procedure) {
  auto worker = std::make_unique<CWinThread>(procedure, this);
  worker->m_bAutoDelete = FALSE;
  if (!worker->CreateThread()) return nullptr;
  return worker;
}

void CDlgScan2Scanning::JoinWorker(std::unique_ptr<CWinThread>& worker) {
  if (!worker) return;
  WaitForWorkerServingSends(worker->m_hThread);
  worker.reset();
}

UINT CDlgScan2Scanning::ScanThreadProc(LPVOID parameter) {
  auto* page = static_cast<CDlgScan2Scanning*>(parameter);
  CScanPagesHost& host = page->m_host;
  host.SetScanButtons(CScanPagesHost::ScanButton(2));
  if (RunScanProcedure(*page) == 0) page->FinishScanPage(FALSE);
  host.ScanState().bStop = false;
  host.EnableUi(TRUE);
  return 0;
}

void CDlgScan2Scanning::OnStopScan() {
  tagScanState& state = m_host.ScanState();
  state.bStop = true;
  if (m_host.GetStartMode() == 15) m_host.SetStartMode(11);
  m_btnStop.EnableWindow(FALSE);
  if (m_stopThread && ::WaitForSingleObject(m_stopThread->m_hThread, 0) == WAIT_TIMEOUT) return;
  JoinWorker(m_stopThread);
  m_stopThread = StartWorker(&CDlgScan2Scanning::StopScanThreadProc);
}

UINT CDlgScan2Scanning::StopScanThreadProc(LPVOID parameter) {
  auto* page = static_cast<CDlgScan2Scanning*>(parameter);
  page->m_host.ScanState().bStop = true;
  page->StopScanAnimation();
  page->m_host.SetScanButtons(CScanPagesHost::kAllScanButtons);
  page->m_host.ScanEngine().StopOperation(TRUE);
  return 0;
}

void CDlgScan2Scanning::OnDestroy() {
  // A scan still running is stopped and waited for: its thread works on this page.
  if (IsScanRunning()) {
    m_host.ScanState().bStop = true;
    GetProcessEngine().SetStepCode(kStepStopScan);
  }
  JoinWorker(m_stopThread);
  JoinWorker(m_scanThread);
  CDlgLeftSideChild::OnDestroy();
}

// ---- Category counts

LRESULT CDlgScan2Scanning::OnUpdateCount(WPARAM wParam, LPARAM lParam) {
  // The two texts are addresses: only a sender of this process can hand them.
  if (!IsOwnProcessMessage()) return 0;
  const auto* name = reinterpret_cast<LPCTSTR>(wParam);
  const auto* caption = reinterpret_cast<LPCTSTR>(lParam);
  if (caption == nullptr) return 0;
  UINT label = kOtherCategoryId;
  for (const Category& category : kCategories)
    if (name != nullptr && category.name != nullptr && CString(name) == category.name) label = category.id;
  SetDlgItemText(label, caption);
  return 0;
}
