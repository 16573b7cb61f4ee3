// CVelquorDlg: the main window's folders, page groups, start by start mode, second starts,
// launcher requests, keys, timers and exit.
#include "VelquorDlg.h"

#include <processthreadsapi.h>
#include <synchapi.h>
#include <wininput.h>
#include <winuser.h>

#include <iterator>
#include <thread>

#include "AppUtilities.h"
#include "CheckedFormat.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DlgDrvExclusion.h"
#include "DlgNagDownloadAndInstall.h"
#include "DlgNagDriverFeedback.h"
#include "DlgOneClickDrvUpdateResultsMain.h"
#include "DlgParentTransculent.h"
#include "DlgScan3Results.h"
#include "DlgSchedule.h"
#include "DlgSetting1General.h"
#include "FileHistory.h"
#include "FolderPicker.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "OSVersionInfo.h"
#include "PathHelpers.h"
#include "ProcessControl.h"
#include "RequestMachineHandOff.h"
#include "SettingsStore.h"
#include "SystemHelpers.h"
#include "UpdateCheckerLauncher.h"
#include "VelquorApp.h"
#include "VelquorResults.h"
#include "VelquorScan.h"
#include "VelquorWizards.h"

CVelquorDlg* g_pMainDlg = nullptr;

IMPLEMENT_DYNAMIC(CVelquorDlg, CDlgBaseAppDlg)

namespace {

constexpr LPCTSTR kProgramFile = _T("zephrinkx.exe");
constexpr LPCTSTR kSchedulerFile = _T("ZEPHRINKXNewScheduler.exe");
constexpr LPCTSTR kUpdateCheckSwitches = _T("starthidden=\"1\" startminimized=\"1\" checkAppUpdateOnly=\"1\"");
constexpr UINT kFirstLeftButton = CDlgLeftDlgBase::kFirstButtonCommand;
constexpr UINT kSettingsSelection = 1351;
constexpr DWORD kHandOffPauseMs = 1000;

const UINT g_nBringToFrontMessage = RegisterWindowMessageW(_T("It will bring Tunevo in front if minimized"));

CString WithSlash(CString folder) {
  if (folder.IsEmpty() || folder.Right(1) != _T("\\")) folder += _T('\\');
  return folder;
}

}  // namespace

BEGIN_MESSAGE_MAP(CVelquorDlg, CDlgBaseAppDlg)
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_WM_SYSCOMMAND()
  ON_REGISTERED_MESSAGE(g_nBringToFrontMessage, &CVelquorDlg::OnBringToFront)
  ON_MESSAGE(CDriverScanUpdate::kBackupExistsMessage, &CVelquorDlg::OnBackupExists)
  ON_COMMAND(CVelquorDlg::kFeedbackCommand, &CVelquorDlg::OnFeedback)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_GETMINMAXINFO()
  ON_MESSAGE(WM_KICKIDLE, &CVelquorDlg::OnKickIdle)
  ON_COMMAND(CDlgMainWnd::kMinimizeCommand, &CVelquorDlg::OnMinimizeButton)
  ON_COMMAND(CDlgMainWnd::kMaximizeCommand, &CVelquorDlg::OnMaximizeButton)
  ON_COMMAND(CDlgMainWnd::kDemoCommand, &CVelquorDlg::OnDemoButton)
END_MESSAGE_MAP()

CVelquorDlg::CVelquorDlg(CVelquorApp& app) : m_app(app), m_pWizards(std::make_unique<CVelquorWizards>(*this)) {
  BuildFolders();
  m_scanEngine.SetInstallSettings(m_osFolders, 0);
  m_launcher.bHiddenScanMode = m_app.m_bHiddenScan != FALSE;
  if (g_pMainDlg == nullptr) g_pMainDlg = this;
}

CVelquorDlg::~CVelquorDlg() {
  m_pDownloadWindow.reset();
  if (m_pLink) m_pLink->Stop();
  if (g_pMainDlg == this) g_pMainDlg = nullptr;
}

void CVelquorDlg::BuildFolders() {
  // The folder keeps its case: file names are taken as the system gives them.
  GetProgramFolder(m_strProgramFolder);
  m_strProgramFolder.Trim();
  m_strDataFolder = GetAppDataFolder();
  m_strDataFolderSlash = m_strDataFolder + _T("\\");
  m_strDefaultDownloadFolder = m_strDataFolder + _T("\\Download\\");
  m_strDefaultBackupFolder = m_strDataFolder + _T("\\Backup\\");

  WCHAR temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  m_strTempFolder = WithSlash(temp) + GetAppName() + _T("\\");
  if (!PathExists(m_strTempFolder)) CreateDirectoryTree(m_strTempFolder);

  const CString keyPath = BuildSettingsKeyPath();
  m_strDownloadFolder = ReadSettingFolder(keyPath, kSettingDownloadPath, m_strDefaultDownloadFolder);
  m_strBackupFolder = ReadSettingFolder(keyPath, kSettingBackupPath, m_strDefaultBackupFolder);

  m_strUpdaterFolder = WithSlash(m_strProgramFolder) + _T("updater\\");
  m_osFolders.strXp = m_strUpdaterFolder + _T("xp\\");
  m_osFolders.strAmd64 = m_strUpdaterFolder + _T("amd64\\");
  m_osFolders.strIa64 = m_strUpdaterFolder + _T("ia64\\");
  m_osFolders.strVista = m_strUpdaterFolder + _T("Vista\\");
  m_osFolders.strWin7i386 = m_strUpdaterFolder + _T("win7i386\\");
  m_osFolders.strWin7amd64 = m_strUpdaterFolder + _T("win7amd64\\");

  for (const CString* folder : {&m_strDataFolder, &m_strDataFolderSlash, &m_strDefaultDownloadFolder,
                                &m_strDefaultBackupFolder, &m_strDownloadFolder, &m_strBackupFolder})
    if (!folder->IsEmpty() && !PathExists(*folder)) CreateDirectoryTree(*folder);
}

UINT CVelquorDlg::GetBringToFrontMessage() { return g_nBringToFrontMessage; }

// ---- Histories

void CVelquorDlg::LoadFileList(int kind) {
  LoadHistoryFile(m_strDataFolderSlash + GetHistoryFileName(kind), GetHistory(kind));
}

void CVelquorDlg::SaveFileList(int kind) {
  SaveHistoryFile(m_strDataFolderSlash + GetHistoryFileName(kind), GetHistory(kind));
}

// ---- Start

BOOL CVelquorDlg::OnInitDialog() {
  CDlgBaseAppDlg::OnInitDialog();
  HandRequestMachineToEngine(m_app, m_scanEngine);
  m_scanEngine.SetMainWindow(m_hWnd);

  LoadFileList(kDownloadHistory);
  LoadFileList(kBackupHistory);
  BuildGroups();
  if (m_app.m_bHiddenScan) CreateDownloadWindow();
  SetWindowText(GetAppName());

  if (!g_bFirstInstall && !g_bVerySilentInstall)
    std::thread([drawn = m_firstPicture.get_future()]() mutable {
      // A window gone before its first picture starts no checker: the process is ending.
      try {
        drawn.get();
      } catch (const std::future_error&) {
        return;
      }
      LaunchUpdateChecker(kUpdateCheckSwitches);
    }).detach();
  StartByMode();
  return FALSE;
}

void CVelquorDlg::BuildGroups() {
  // Each group's pages are made hidden and placed; the first page of each is shown.
  // The second tab shows the scan group too: its results.
  ShareLeftPanel(2, 1);
  m_pGroups[kScanGroup] = GetLeftPanel(1);
  m_pGroups[kBackupGroup] = GetLeftPanel(3);
  m_pGroups[kRestoreGroup] = GetLeftPanel(4);
  m_pWizards->BuildWizardGroups(m_pGroups[kBackupGroup], m_pGroups[kRestoreGroup]);
  CDlgLeftDlgBase* settings = GetLeftPanel(5);
  m_pGroups[kSettingsGroup] = settings;
  m_pScanHost = std::make_unique<CVelquorScanHost>(*this);
  AddScanPages(*this, *m_pScanHost);
  m_pResultsHost = std::make_unique<CVelquorResultsHost>(*this);
  AddResultsPage(*this, *m_pResultsHost);
  if (settings == nullptr) return;

  m_pGeneralPage = new CDlgSetting1General();
  m_pFoldersPage = new CDlgSetting3Loc(*this);
  m_pExclusionPage = new CDlgDrvExclusion(m_scanEngine, m_strDataFolder);
  auto* schedule = new CDlgSchedule();
  const struct {
    int place;
    CDlgBaseWnd* page;
    UINT templateId;
  } kPages[] = {
      {kGeneralPlace, m_pGeneralPage, CDlgSetting1General::kTemplateId},
      {kFoldersPlace, m_pFoldersPage, CDlgSetting3Loc::kTemplateId},
      {kSchedulePlace, schedule, CDlgSchedule::kTemplateId},
      {kExclusionPlace, m_pExclusionPage, CDlgDrvExclusion::kTemplateId},
  };
  // The panel owns its pages from here on, made or not.
  for (const auto& entry : kPages) PlaceGroupPage(kSettingsGroup, entry.place, entry.page, entry.templateId);
  m_pGeneralPage->EnableWindow(TRUE);
  m_pGeneralPage->ShowWindow(SW_SHOW);
  settings->SelectButton(kSettingsSelection);
}

BOOL CVelquorDlg::PlaceGroupPage(Group group, int place, CDlgBaseWnd* page, UINT templateId) {
  CDlgLeftDlgBase* panel = m_pGroups[group];
  if (panel == nullptr) {
    delete page;
    return FALSE;
  }
  panel->SetPage(place, page);
  return AddPage(panel, page, templateId);
}

CDlgBaseWnd* CVelquorDlg::GetGroupPage(Group group, int place) const {
  return m_pGroups[group] ? m_pGroups[group]->GetPage(place) : nullptr;
}

void CVelquorDlg::KeepFirstPicture() {
  if (m_bFirstPictureKept) return;
  m_bFirstPictureKept = true;
  m_firstPicture.set_value();
}

void CVelquorDlg::StartByMode() {
  if (m_app.m_bHiddenScan) {
    KeepFirstPicture();
    StartLauncherLink();
    SetTimer(kWatchdogTimer, kWatchdogMs, nullptr);
    ShowWindow(SW_HIDE);
    PumpMessages();
    Sleep(1000);
    if (m_launcher.bLauncherBusy) {
      HiddenModeStop();
      return;
    }
    if (PostScanNow()) {
      PumpMessages();
      return;
    }
    // Without a scan home page a hidden start has nothing to run: it ends as a finished one.
    ExitApp();
    return;
  }
  switch (m_app.m_nStartPage) {
    case kStartPageScanHome:
      if (DecimalValue(ReadSettingText(kSettingAutoScan)) != 0 || g_bFirstInstall || g_bVerySilentInstall)
        PostScanNow();
      break;
    case kStartPageSchedule:
    case kStartPageScanNow:
      PostScanNow();
      break;
    case kStartPageBackup:
      OnTabButton(3);
      m_app.m_nStartPage = kStartPageScanHome;
      break;
    case kStartPageRestore:
      OnTabButton(4);
      m_app.m_nStartPage = kStartPageScanHome;
      break;
    default:
      break;
  }
}

void CVelquorDlg::ScanFromTab() {
  PostMessage(WM_COMMAND, kFirstTabCommand);
  PostScanNow();
}

void CVelquorDlg::ScanForBackup() {
  m_bBackupAfterScan = true;
  ScanFromTab();
}

BOOL CVelquorDlg::PostScanNow() {
  CWnd* scanHome = GetGroupPage(kScanGroup, 1);
  return scanHome != nullptr && scanHome->PostMessage(WM_COMMAND, kScanNowCommand);
}

CString CVelquorDlg::ReadSettingText(LPCTSTR name) {
  CString text;
  GetHkcuValue(BuildSettingsKeyPath(), name, text, kSettingText);
  return text;
}

void CVelquorDlg::CreateDownloadWindow() {
  auto window = std::make_unique<CDlgNagDownloadAndInstall>(this);
  // Its runs start from the results page; closing it only hides it.
  window->SetEmbedded(FALSE);
  if (!window->Create(CDlgNagDownloadAndInstall::kTemplateId, this)) return;
  window->ShowWindow(SW_HIDE);
  m_pDownloadWindow = std::move(window);
}

void CVelquorDlg::StartLauncherLink() {
  // The launcher's requests go to the scan group's pages; a download run of the results page
  // reads the cancel request from the launcher state while it runs.
  const auto handle = [this](int place) {
    CWnd* page = GetGroupPage(kScanGroup, place);
    return page ? page->GetSafeHwnd() : nullptr;
  };
  tagKXServerWindows windows;
  windows.hMainWindow = m_hWnd;
  windows.hScanHomePage = handle(1);
  windows.hScanningPage = handle(2);
  windows.hResultsPage = handle(3);
  windows.hDownloadInstall = m_pDownloadWindow ? m_pDownloadWindow->GetSafeHwnd() : nullptr;
  m_pLink = std::make_unique<CKXLauncherLink>(m_launcher, m_popup);
  m_pLink->Start(windows);
}

void CVelquorDlg::PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// ---- Page changes

int CVelquorDlg::PageChangeCallback(CDlgBaseWnd*, int nCode) {
  if (g_pMainDlg) g_pMainDlg->OnPageChange(nCode);
  return 1;
}

void CVelquorDlg::SelectGroupButton(Group group, UINT command) {
  if (m_pGroups[group] && m_pGroups[group]->GetSafeHwnd()) m_pGroups[group]->PostMessage(WM_COMMAND, command);
}

void CVelquorDlg::OnPageChange(int nCode) {
  switch (nCode) {
    case 11:
      ReturnToScanStep();
      break;
    case 12:
      OpenResultsTab();
      break;
    // Leaving the scan tabs ends the launcher's following of the results page, which is the
    // user's again when it shows next.
    case 13:
      m_launcher.bProgressNotify = false;
      m_pWizards->OnBackupTab();
      break;
    case 14:
      m_launcher.bProgressNotify = false;
      m_pWizards->OnRestoreTab();
      break;
    case 15:
      m_launcher.bProgressNotify = false;
      if (m_pGeneralPage && m_pGeneralPage->GetSafeHwnd()) m_pGeneralPage->UpdateApplyButton();
      break;
    case 5:
      if (m_pGroups[kSettingsGroup] && m_pGroups[kSettingsGroup]->IsWindowVisible()) {
        SelectGroupButton(kSettingsGroup, kFirstLeftButton);
        PostMessage(WM_COMMAND, kFirstTabCommand);
        RunSchedulerProgram();
      }
      break;
    default:
      break;
  }
}

void CVelquorDlg::ReturnToScanStep() {
  // The scan steps home, scanning, results and summary, by their buttons.
  static constexpr UINT kStepButtons[] = {CScanPagesHost::kHomePage, CScanPagesHost::kScanningPage,
                                          CScanPagesHost::kResultsPage + 1, CScanPagesHost::kSummaryPage};
  if (!m_pScanHost) return;
  const int step = m_pScanHost->ScanState().nScanStep;
  if (step >= 0 && step < static_cast<int>(std::size(kStepButtons))) SelectGroupButton(kScanGroup, kStepButtons[step]);
}

void CVelquorDlg::OpenResultsTab() {
  if (!m_pScanHost) return;
  tagScanState& state = m_pScanHost->ScanState();
  if (state.bScanDone) {
    SelectGroupButton(kScanGroup, CScanPagesHost::kResultsPage);
    return;
  }
  // Without results the tab offers a scan (again, when the last one found nothing to update)
  // and goes back to the first tab either way.
  const LPCTSTR question = state.bAllUpToDate ? _T("IDS_SCANRES_UPDAALL_DRIVER") : _T("IDS_PERFORM_SCAN");
  const int answer = AppMessageBox(GetLangString(question, _T("Tunevo")), MB_YESNO | MB_ICONQUESTION, this);
  state.nScanStep = 0;
  PostMessage(WM_COMMAND, kFirstTabCommand);
  if (answer != IDYES || !PostScanNow()) SelectGroupButton(kScanGroup, CScanPagesHost::kHomePage);
}

void CVelquorDlg::RunSchedulerProgram() {
  const CString scheduler = WithSlash(m_strProgramFolder) + kSchedulerFile;
  if (PathExists(scheduler)) RunShellExecute(m_hWnd, _T("open"), scheduler, _T("-Tunevo"), nullptr, SW_SHOWNORMAL);
}

// ---- Messages

LRESULT CVelquorDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA && lParam != 0) {
    CString word;
    if (ReadRunningInstanceText(lParam, word)) return TakeSecondStart(word);
    switch (reinterpret_cast<const COPYDATASTRUCT*>(lParam)->dwData) {
      case kCopyHiddenScan:
        // The launcher's send is answered once the user closes the one-click results popup.
        m_app.m_bHiddenScan = TRUE;
        m_launcher.bHiddenScanMode = true;
        RunOneClickResults(AfxGetMainWnd());
        return 16;
      case kCopyProgressNotify:
        // The launcher follows the download of the results page's chosen rows.
        m_launcher.bProgressNotify = true;
        if (CWnd* results = GetGroupPage(kScanGroup, 3)) results->PostMessage(WM_COMMAND, CDlgScan3Results::kDownloadId);
        return 17;
      case kCopyQuery:
        return 17;
      default:
        break;
    }
  }
  if (message == WM_PAINT && !m_bFirstPaintSeen) {
    m_bFirstPaintSeen = true;
    SetTimer(kFirstPictureTimer, 0, nullptr);
  }
  return CDlgBaseAppDlg::WindowProc(message, wParam, lParam);
}

LRESULT CVelquorDlg::TakeSecondStart(CString word) {
  word.MakeLower();
  word.Trim();
  if (word.IsEmpty()) return 0;
  g_bShutdownSwitch = word == _T("shutdown");
  g_bAutoFixSwitch = word == _T("autofix");
  g_bScheduleSwitch = word == _T("schedulescan");
  if (!g_bShutdownSwitch && !g_bAutoFixSwitch && !g_bScheduleSwitch) return 1;
  ShowWindow(SW_RESTORE);
  BringWindowToTop();
  SetForegroundWindow();
  if (m_app.m_bTaskBusy) return 0;
  PumpMessages();
  Sleep(kHandOffPauseMs);
  // The scan tab opens on the home page, where the scan starts.
  if (m_pScanHost) m_pScanHost->ScanState().nScanStep = 0;
  PostMessage(WM_COMMAND, kFirstTabCommand);
  PostScanNow();
  PumpMessages();
  return 1;
}

LRESULT CVelquorDlg::OnBringToFront(WPARAM, LPARAM lParam) {
  // The message may come from any process, so lParam is never read as an address: any
  // non-zero value is the "AlreadyRunning" request.
  if (!IsWindowVisible() || lParam != 0) {
    if (CWnd* main = AfxGetMainWnd()) main->SetActiveWindow();
    ShowWindow(SW_RESTORE);
    PostMessage(WM_LBUTTONDOWN);
    BringWindowToTop();
    SetForegroundWindow();
  }
  return 0;
}

LRESULT CVelquorDlg::OnBackupExists(WPARAM wParam, LPARAM) {
  if (wParam != 0) m_pWizards->OnBackupMade();
  return 0;
}

void CVelquorDlg::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
  if (m_launcher.bHiddenScanMode) lpwndpos->flags &= ~SWP_SHOWWINDOW;
  Default();
}

void CVelquorDlg::OnSysCommand(UINT nID, LPARAM lParam) {
  if ((nID & 0xFFF0) == SC_CLOSE) {
    PostMessage(WM_COMMAND, kCloseCommand);
    return;
  }
  CDlgMainWnd::OnSysCommand(nID, lParam);
}

void CVelquorDlg::RunDriverFeedback(CWnd* over) {
  CDlgNagDriverFeedback form(over, m_app.m_strLastScanText, &m_app.m_bTaskBusy);
  RunModalWithBackdrop(over, &form, CDlgNagDriverFeedback::kTemplateId);
}

void CVelquorDlg::OnFeedback() {
  if (m_app.m_bTaskBusy) return;
  m_app.m_bTaskBusy = TRUE;
  // The driver feedback form joins with the scan procedure that fills the last-scan text.
  if (!m_app.m_strLastScanText.IsEmpty()) {
    RunDriverFeedback(this);
  } else {
    CString text;
    m_app.GetLangText(text, _T("IDS_RECOMMESCAN_SENDFEEDBAK"));
    if (AppMessageBox(text, MB_YESNO | MB_ICONQUESTION, this) == IDYES) {
      SelectGroupButton(kScanGroup, kFirstLeftButton + 1);
      // The scan clears the busy flag when it ends; without a scan it is cleared here.
      if (PostScanNow()) return;
    }
  }
  SetFocus();
  m_app.m_bTaskBusy = FALSE;
}

BOOL CVelquorDlg::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    if (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_F4 ||
        (pMsg->wParam == VK_SPACE && m_app.m_bTaskBusy))
      pMsg->wParam = 0;
    return FALSE;
  }
  if ((pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_SYSKEYUP) && pMsg->wParam == VK_F4) pMsg->wParam = 0;
  return CDlgBaseAppDlg::PreTranslateMessage(pMsg);
}

void CVelquorDlg::OnOK() {
  if (GetAsyncKeyState(VK_RETURN) & 0x8000) return;
  CDlgBaseAppDlg::OnOK();
}

void CVelquorDlg::OnCancel() {
  if (GetAsyncKeyState(VK_ESCAPE) & 0x8000) return;
  CDlgBaseAppDlg::OnCancel();
}

void CVelquorDlg::ExitApp() {
  if (m_bUiEnabled) CDlgBaseAppDlg::ExitApp();
}

void CVelquorDlg::EnableUi(BOOL bEnable) {
  // The scan's worker calls this while the window thread may be taking a close command: the
  // flag turns before any control does, so a close accepted by an enabled button is never
  // refused by a flag still false.
  m_bUiEnabled = bEnable ? TRUE : FALSE;
  EnableWindow(bEnable);
  for (int tab = 1; tab <= kMaxAppTabs; ++tab) {
    if (CHoverButtonWithText* button = GetTabButton(tab)) button->EnableWindow(bEnable);
    if (CDlgLeftDlgBase* panel = GetLeftPanel(tab)) {
      for (int place = 1; place <= panel->GetButtonCount(); ++place)
        if (CWnd* button = panel->GetLeftButton(place); button && button->GetSafeHwnd()) button->EnableWindow(bEnable);
    }
  }
  if (m_btnClose.GetSafeHwnd()) m_btnClose.EnableWindow(bEnable);
}

void CVelquorDlg::RunOneClickResults(CWnd* parent) {
  if (!m_pResultsHost) return;
  auto* results = dynamic_cast<CDlgScan3Results*>(GetGroupPage(kScanGroup, 3));
  CDlgOneClickDrvUpdateResultsMain popup(*m_pResultsHost, results ? &results->GetResultView() : nullptr, parent);
  popup.DoModal();
}

// ---- Elevation

int CVelquorDlg::RelaunchAsAdmin(const CString& question, int startPage) {
  // The launcher's own run (hidden, or followed by it through progress notify) asks nothing.
  if (m_launcher.IsNotifying() || IsUserAdmin()) return kElevationGoOn;
  if (GetOSMajorVersion() < 6) {
    CString text;
    FormatChecked(text, GetLangString(_T("IDS_ADMINLOGIN"), _T("Tunevo")),
                  {GetLangString(_T("IDS_RESTART"), _T("Tunevo")), GetAppName()});
    const CRect box(0, 0, 500, 150);
    ShowMessageBox(text, MB_ICONINFORMATION, this, &box);
    return kElevationRefused;
  }
  if (ShowMessageBox(question, MB_YESNO | MB_ICONINFORMATION, this) != IDYES) return kElevationRefused;
  CString parameters;
  parameters.Format(_T("%d"), startPage);
  return StartElevated(parameters) ? kElevationRestarted : kElevationRefused;
}

BOOL CVelquorDlg::StartElevated(const CString& parameters) { return RestartElevated(parameters, TRUE); }

// ---- Timers and ends

void CVelquorDlg::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case kWatchdogTimer:
      if (!IsProcessRunning(kProgramFile, 0, FALSE)) EndProcessNow();
      break;
    case kPopupTimerId:
      // Over the window the launcher named, while it is one.
      KillTimer(nIDEvent);
      if (const HWND parent = m_popup.GetParent(); ::IsWindow(parent)) RunOneClickResults(CWnd::FromHandle(parent));
      m_popup.Rearm();
      return;
    case kExitTimerId:
      KillTimer(nIDEvent);
      EndProcessNow();
      return;
    case kFirstPictureTimer:
      KillTimer(nIDEvent);
      KeepFirstPicture();
      return;
    case kBackupTabTimer:
      KillTimer(nIDEvent);
      OnTabButton(3);
      return;
    default:
      break;
  }
  CDlgMainWnd::OnTimer(nIDEvent);
}

void CVelquorDlg::HiddenModeStop() {
  if (!m_launcher.bHiddenScanMode || !m_launcher.bLauncherBusy) return;
  if (m_pLink) m_pLink->NotifyPeer(kLauncherStopped, 0);
  EndProcessNow();
}

void CVelquorDlg::EndProcessNow() {
  PostQuitMessage(kForcedEndCode);
  ExitProcess(0);
}

void CVelquorDlg::OnDestroy() {
  m_scanEngine.SetMainWindow(nullptr);
  SaveFileList(kDownloadHistory);
  SaveFileList(kBackupHistory);
  if (m_pLink) {
    // Tells the launcher that the program closes while it is being told, then stops the server.
    m_pLink->Stop();
    m_pLink.reset();
  }
  CDlgBaseAppDlg::OnDestroy();
}

// ---- The folders page's host

CString CVelquorDlg::GetCurrentFolder(Kind kind) const {
  return kind == kDownload ? m_strDownloadFolder : m_strBackupFolder;
}

void CVelquorDlg::SetCurrentFolder(Kind kind, const CString& folder) {
  (kind == kDownload ? m_strDownloadFolder : m_strBackupFolder) = folder;
}

CString CVelquorDlg::GetDefaultFolder(Kind kind) const {
  return kind == kDownload ? m_strDefaultDownloadFolder : m_strDefaultBackupFolder;
}

CString CVelquorDlg::GetBaseFolder() const { return m_strDataFolder; }

CString CVelquorDlg::BrowseForFolder(CWnd* owner, const CString& start) {
  return ::BrowseForFolder(owner ? owner->GetSafeHwnd() : m_hWnd, start);
}
