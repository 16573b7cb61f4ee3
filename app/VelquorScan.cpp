// CVelquorScanHost: the scan pages' view of the main window, and the scan group's pages.
#include "VelquorScan.h"

#include "CheckedFormat.h"
#include "DlgScan1ScanHome.h"
#include "DlgScan2Scanning.h"
#include "DlgScan3Results.h"
#include "DlgScan5Summary.h"
#include "LauncherLink.h"
#include "ProcessControl.h"
#include "SettingsPageLayout.h"
#include "VelquorApp.h"
#include "VelquorDlg.h"
#include "VelquorResults.h"

namespace {

constexpr LPCTSTR kLauncherProgram = _T("zephrinkxlauncher.exe");

CString DriverWord(int count) { return SettingsText(count == 1 ? _T("IDS_SMALL_DRIVER") : _T("IDS_SMALL_DRIVERS")); }

}  // namespace

CVelquorScanHost::CVelquorScanHost(CVelquorDlg& window) : m_window(window) {}

CVelquorScanHost::~CVelquorScanHost() {
  if (GetEngineProgressView() == &m_view) SetEngineProgressView(nullptr);
}

CDriverScanUpdate& CVelquorScanHost::ScanEngine() { return m_window.GetScanEngine(); }

CExclusionList& CVelquorScanHost::InstalledUpdates() { return m_window.GetApp().GetInstalledUpdates(); }

CWnd* CVelquorScanHost::HostWindow() { return &m_window; }

void CVelquorScanHost::SetBusy(BOOL busy) { m_window.GetApp().m_bTaskBusy = busy; }

int CVelquorScanHost::GetStartMode() { return m_window.GetApp().m_nStartPage; }

void CVelquorScanHost::SetStartMode(int mode) { m_window.GetApp().m_nStartPage = mode; }

bool CVelquorScanHost::IsOneClick() { return m_window.GetLauncherState().bHiddenScanMode; }

bool CVelquorScanHost::IsLauncherNotify() { return m_window.GetLauncherState().bProgressNotify; }

bool CVelquorScanHost::IsAbortRequested() { return m_window.GetLauncherState().bScanStopRequest; }

void CVelquorScanHost::ClearAbortRequest() { m_window.GetLauncherState().bScanStopRequest = false; }

void CVelquorScanHost::SetScanWork(LONG work) { m_window.GetLauncherState().nScanWork = work; }

void CVelquorScanHost::NotifyLauncher(int code, int value, LPCTSTR text) {
  if (CKXLauncherLink* link = m_window.GetLauncherLink()) link->NotifyPeer(code, value, text);
}

void CVelquorScanHost::EndNow() { m_window.EndProcessNow(); }

void CVelquorScanHost::OnScanFinished() {
  // A backup asked for before any scan goes on once the scan has found the devices.
  if (m_window.TakeBackupAfterScan() && ScanState().bScanDone) m_window.ShowBackupTabSoon();
  // A hidden start that no launcher watches has nothing left to do once its scan has ended.
  if (!IsOneClick() || IsProcessRunning(kLauncherProgram, 0, FALSE)) return;
  if (m_window.IsUiEnabled())
    m_window.PostMessage(WM_COMMAND, CDlgMainWnd::kCloseCommand);
  else
    m_bCloseWhenEnabled = true;
}

void CVelquorScanHost::SetLastRequest(const CString& text) { m_window.GetApp().m_strLastScanText = text; }

void CVelquorScanHost::EnableUi(BOOL enable) {
  m_window.EnableUi(enable);
  if (!enable) return;
  SetScanButtons(m_nScanButtons);
  if (m_bCloseWhenEnabled) {
    m_bCloseWhenEnabled = false;
    m_window.PostMessage(WM_COMMAND, CDlgMainWnd::kCloseCommand);
  }
}

void CVelquorScanHost::SetScanButtons(unsigned mask) {
  m_nScanButtons = mask;
  CDlgLeftDlgBase* group = m_window.GetGroup(CVelquorDlg::kScanGroup);
  if (group == nullptr) return;
  for (int place = 1; place <= group->GetButtonCount(); ++place)
    if (CWnd* button = group->GetLeftButton(place); button && button->GetSafeHwnd())
      button->EnableWindow((mask & ScanButton(place)) != 0);
}

void CVelquorScanHost::ShowScanPage(UINT command) {
  if (CDlgLeftDlgBase* group = m_window.GetGroup(CVelquorDlg::kScanGroup); group && group->GetSafeHwnd())
    group->PostMessage(WM_COMMAND, command);
}

void CVelquorScanHost::PostHostCommand(UINT command) { m_window.PostMessage(WM_COMMAND, command); }

int CVelquorScanHost::RelaunchAsAdmin(const CString& question, int startPage) {
  return m_window.RelaunchAsAdmin(question, startPage);
}

// The results page is shown by a posted command; the download posted after it finds the page
// shown with every result checked.
void CVelquorScanHost::FixFoundUpdates() {
  CVelquorResultsHost* results = m_window.GetResultsHost();
  CDlgBaseWnd* page = m_window.GetGroupPage(CVelquorDlg::kScanGroup, 3);
  if (results == nullptr || page == nullptr) return;
  results->ArmAutoFix();
  page->PostMessage(WM_COMMAND, CDlgScan3Results::kDownloadId);
}

void CVelquorScanHost::BuildResultSummary() { BuildResultSummaryText(kSummaryAfterScan, m_state.nOutOfDate, 0); }

void CVelquorScanHost::BuildResultSummaryText(int mode, int outdated, int updated) {
  if (mode != kSummaryAfterScan && mode != kSummaryAfterUpdate) return;
  if (outdated == 0)
    m_strSummaryShort = SettingsText(_T("IDS_NO_OUTDATE_DRIVERFOUND"));
  else
    FormatChecked(m_strSummaryShort, SettingsText(_T("IDS_OUTDATE_FOUND")), {outdated, DriverWord(outdated)});
  if (mode == kSummaryAfterScan) {
    FormatChecked(m_strSummaryLong, SettingsText(_T("IDS_OUTDATE_FOUND2")),
                  {outdated, DriverWord(outdated), m_state.strScanStart});
    return;
  }
  FormatChecked(m_strSummaryLong, SettingsText(_T("IDS_OUTDATEFOUND_UPDATE")),
                {outdated, DriverWord(outdated < 2 ? 1 : outdated), updated,
                 SettingsText(updated < 2 ? _T("IDS_CAP_DRIVER") : _T("IDS_CAP_DRIVERS")), m_state.strScanStart});
  if (outdated == 0) return;
  const int remaining = outdated - updated;
  FormatChecked(m_strSummaryShort, SettingsText(_T("IDS_OUTDATE_FOUND")), {remaining, DriverWord(remaining)});
}

int CVelquorScanHost::ExclusionCount() { return static_cast<int>(ScanEngine().GetExcludedIds().GetCount()); }

void CVelquorScanHost::WatchScanningPage(CDlgScan2Scanning& page) {
  m_view.hMainWindow = page.GetSafeHwnd();
  m_view.hProgress[0] = page.GetProgressWindow();
  m_view.hStatusLabel = page.GetStepLabel();
  m_view.hStatusText = page.GetStatusLabel();
  m_view.bOneClick = IsOneClick();
  m_view.bNotifyMode = IsLauncherNotify();
  m_view.strScanningDriver = SettingsText(_T("IDS_SCANNING_DRIVER"));
  m_view.notifyPeer = [this](int code, int progress, const CString& text) { NotifyLauncher(code, progress, text); };
  // A view registered before the window (a caller of the engine of its own) stays.
  if (GetEngineProgressView() == nullptr) SetEngineProgressView(&m_view);
}

bool AddScanPages(CVelquorDlg& window, CVelquorScanHost& host) {
  if (window.GetGroup(CVelquorDlg::kScanGroup) == nullptr) return false;
  auto* scanning = new CDlgScan2Scanning(host);
  auto* home = new CDlgScan1ScanHome(host, *scanning);
  auto* summary = new CDlgScan5Summary(host);
  window.PlaceGroupPage(CVelquorDlg::kScanGroup, 2, scanning, CDlgScan2Scanning::kTemplateId);
  window.PlaceGroupPage(CVelquorDlg::kScanGroup, 1, home, CDlgScan1ScanHome::kTemplateId);
  window.PlaceGroupPage(CVelquorDlg::kScanGroup, 5, summary, CDlgScan5Summary::kTemplateId);
  if (scanning->GetSafeHwnd()) host.WatchScanningPage(*scanning);
  if (home->GetSafeHwnd()) {
    home->EnableWindow(TRUE);
    home->ShowWindow(SW_SHOW);
  }
  return true;
}
