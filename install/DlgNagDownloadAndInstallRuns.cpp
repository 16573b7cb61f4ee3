// CDlgNagDownloadAndInstall: the runs. Each run goes on a thread of its own, started by a timer;
// the thread calls the driver road's steps and leaves what the window should show as events,
// posting only a notice to the window, which takes the events on its own thread and ends the
// run there (install prompt, closing messages, restart question).
#include <algorithm>

#include "AppUtilities.h"
#include "CheckedFormat.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DlgCreateRestorePoint.h"
#include "DlgNagDownloadAndInstall.h"
#include "DriverInstallEngine.h"
#include "HalvoranApp.h"
#include "LabelledText.h"
#include "RestorePoint.h"

namespace {

constexpr int kInstallDone = 32;
constexpr int kPackageMissing = -3;
constexpr int kNoAnswer = -2;
constexpr int kCannotSave = -10;
// The install prompt's size and the markup its text is set in.
const CRect kPromptRect(0, 0, 382, 220);
constexpr TCHAR kPromptMarkup[] = _T("<font face=\"Segoe UI\" size=9pt>%s<font>");
// The first button of the prompt ("IDS_INSTALL") answers 0.
constexpr int kPromptInstall = 0;
// The texts the run's thread writes.
constexpr LPCTSTR kRunTextIds[] = {
    _T("IDS_DOWN_ERROR"),        _T("IDS_NOITEM_DOWNLOAD"),     _T("IDS_CURRDRIVER_BCKUP"), _T("IDS_CREATE_RESTORPOINT"),
    _T("INSTALLNAGDESC2"),       _T("IDS_BCK_START"),           _T("IDS_BAK_COPMLETED"),    _T("IDS_BAK_COMP_SUCESS"),
    _T("IDS_BAK_ABORTED"),       _T("BACKUPDLG4_1"),            _T("IDS_PREPARE_STARTCLEAN"), _T("IDS_DRIVER_INSSATRT"),
    _T("IDS_DRIVER_INSCOMPL"),   _T("IDS_DRIVER_INSFAILED"),    _T("IDS_BCK_COMPRESS"),     _T("IDS_UNABLESAVE_BACKUP")};

}  // namespace

CDlgNagDownloadAndInstall::~CDlgNagDownloadAndInstall() { JoinRun(); }

void CDlgNagDownloadAndInstall::SetSingleDriver(int driverIndex, int row) {
  m_nSingleDriver = driverIndex;
  m_nSingleRow = row;
}

void CDlgNagDownloadAndInstall::Post(RunEvent event) {
  {
    std::lock_guard<std::mutex> hold(m_eventLock);
    m_events.push_back(std::move(event));
  }
  ::PostMessageW(m_hWnd, kRunEventMessage, 0, 0);
}

CString CDlgNagDownloadAndInstall::RunText(LPCTSTR id) const {
  const auto found = m_runTexts.find(id);
  return found != m_runTexts.end() ? found->second : CString();
}

bool CDlgNagDownloadAndInstall::Stopping() const {
  return m_nStopRequested.load() != 0 || (m_launcher.stopRequested && m_launcher.stopRequested());
}

void CDlgNagDownloadAndInstall::PauseBetweenDrivers(DWORD ms) const {
  if (Stopping()) return;
  if (m_pause) {
    m_pause(ms);
  } else {
    ::Sleep(ms);
  }
}

void CDlgNagDownloadAndInstall::StopRunningTransfer() { StopInThread(m_road.stop); }

void CDlgNagDownloadAndInstall::StopInThread(const std::function<void()>& stop) {
  // Stopping the download library or the engine may wait for it, so a thread of its own does it.
  if (!stop || m_stopper.joinable()) return;
  m_stopper = std::thread(stop);
}

void CDlgNagDownloadAndInstall::EnableMainWindow(BOOL enable) {
  if (m_mainWindow.enableUi) m_mainWindow.enableUi(enable);
}

void CDlgNagDownloadAndInstall::JoinRun() {
  if (m_worker.joinable()) {
    {
      // A run waiting for the restore point's dialog waits no more.
      std::lock_guard<std::mutex> hold(m_eventLock);
      m_nStopRequested = 1;
    }
    m_restorePointDone.notify_all();
    StopRunningTransfer();
    m_worker.join();
    m_bRunning = false;
  }
  if (m_stopper.joinable()) m_stopper.join();
}

void CDlgNagDownloadAndInstall::OnDestroy() {
  if (m_mainWindow.popupWindow) m_mainWindow.popupWindow(nullptr);
  JoinRun();
  FollowTransfers(false);
  CDlgNagFrame::OnDestroy();
}

void CDlgNagDownloadAndInstall::OnTimer(UINT_PTR nIDEvent) {
  KillTimer(nIDEvent);
  switch (nIDEvent) {
    case kTimerDownloadOne:
      StartRun(kModeDownloadOne);
      break;
    case kTimerDownloadSelected:
      StartRun(kModeDownloadSelected);
      break;
    case kTimerInstall:
    case kTimerInstallAgain:
      StartRun(kModeInstall);
      break;
    case kTimerBackupInstall:
      StartRun(kModeBackupInstall);
      break;
    case kTimerPromptOne:
    case kTimerPromptSelected:
      ShowInstallPrompt(nIDEvent == kTimerPromptOne);
      break;
    case kTimerClose:
      EnableMainWindow(TRUE);
      OnOK();
      break;
    default:
      CDlgNagFrame::OnTimer(nIDEvent);
      break;
  }
}

void CDlgNagDownloadAndInstall::StartRun(int mode) {
  if (m_bRunning.load()) return;
  if (m_worker.joinable()) m_worker.join();
  if (m_stopper.joinable()) m_stopper.join();
  m_progress.SetPos(0);
  m_currentLabel.SetWindowText(_T(""));
  m_fTotal = m_fCurrent = 0;
  m_nInstalledAtStart = InstalledRows();
  if (mode == kModeBackupInstall) {
    m_nMode = mode;
    m_nStopRequested = 0;
    m_btnStop.SetWindowText(Lang(_T("IDS_SKIP_BACKUP")));
    m_btnStop.EnableWindow(TRUE);
    m_btnStop.ShowWindow(SW_SHOW);
    m_btnClose.ShowWindow(SW_HIDE);
    CString title;
    FormatChecked(title, Lang(_T("INSTALLNAGDESC2")), {GetAppName()});
    SetTitleText(title);
  } else {
    PrepareRunUi(mode);
    if (IsProgressNotify() && m_launcher.stopRequested && m_launcher.stopRequested()) m_nStopRequested = 1;
  }
  // The run's thread reads its texts from here: the language tables are the window's.
  m_runTexts.clear();
  for (const LPCTSTR id : kRunTextIds) m_runTexts[id] = Lang(id);
  m_strAppName = GetAppName();
  if (m_road.begin) m_road.begin();
  // The main window takes no input while any run works, the backup and its restore point too.
  EnableMainWindow(FALSE);
  FollowTransfers(true);
  m_bRunning = true;
  m_worker = std::thread([this, mode] {
    int outcome = kRunNothing;
    switch (mode) {
      case kModeDownloadOne:
        outcome = RunDownloadOne();
        break;
      case kModeDownloadSelected:
        outcome = RunDownloadSelected();
        break;
      case kModeBackupInstall:
        outcome = RunBackupThenInstall();
        break;
      default:
        outcome = RunInstall();
        break;
    }
    Post({RunEvent::kEnd, mode == kModeBackupInstall ? kModeInstall : mode, outcome, CString()});
  });
}

bool CDlgNagDownloadAndInstall::FetchRow(int row) {
  const NagResultRow& chosen = m_rows[row];
  Post({RunEvent::kLabel, 0, 0, chosen.strName});
  Post({RunEvent::kProgress, 0, 0, CString()});
  m_dwTransferStart = ::GetTickCount();
  const bool fetched =
      m_road.fetch && m_road.fetch(
                          chosen.nDriverIndex, row, [this](const CString& line) { Status(line); },
                          [this](const CString& text, UINT icon) { Post({RunEvent::kMessage, static_cast<int>(icon), 0, text}); });
  m_bConnection = m_road.connection && m_road.connection();
  m_nLastFetchError = m_road.lastError ? m_road.lastError() : 0;
  if (fetched) {
    Post({RunEvent::kProgress, 100, 0, CString()});
    Post({RunEvent::kRowState, row, kRowDownloaded, CString()});
  }
  return fetched;
}

int CDlgNagDownloadAndInstall::RunDownloadOne() {
  if (m_nSingleDriver < 0 || m_nSingleRow < 0 || m_nSingleRow >= static_cast<int>(m_rows.size())) {
    Status(RunText(_T("IDS_DOWN_ERROR")));
    return kRunNothing;
  }
  Post({RunEvent::kCounts, 1, 1, CString()});
  const bool fetched = FetchRow(m_nSingleRow);
  if (Stopping()) return kRunStopped;
  return fetched ? kRunDone : kRunFailed;
}

int CDlgNagDownloadAndInstall::RunDownloadSelected() {
  const std::vector<NagResultRow> rows = m_rows;
  int total = 0;
  bool anyDownloaded = false;
  for (const NagResultRow& row : rows) {
    if (!row.bChecked) continue;
    total += row.nState == kRowNotDownloaded ? 1 : 0;
    anyDownloaded = anyDownloaded || row.nState == kRowDownloaded;
  }
  if (total == 0) {
    // Rows downloaded already go on to the install prompt; otherwise nothing was chosen.
    if (anyDownloaded) return kRunDone;
    Status(RunText(_T("IDS_NOITEM_DOWNLOAD")));
    return kRunNothing;
  }
  int current = 0;
  int& downloaded = m_nDownloaded;
  downloaded = 0;
  for (int j = 0; j < static_cast<int>(rows.size()) && !Stopping(); ++j) {
    const NagResultRow& row = rows[j];
    if (!row.bChecked || row.nDriverIndex < 0 || row.nState != kRowNotDownloaded) continue;
    Post({RunEvent::kCounts, total, ++current, CString()});
    if (FetchRow(j) && !Stopping()) ++downloaded;
    PauseBetweenDrivers(kAfterDownloadMs);
  }
  if (Stopping()) return kRunStopped;
  return downloaded > 0 ? kRunDone : kRunNothing;
}

int CDlgNagDownloadAndInstall::RunBackupThenInstall() {
  Status(LabelledText(RunText(_T("IDS_CURRDRIVER_BCKUP")), m_strAppName));
  if (!IsProgressNotify()) {
    Post({RunEvent::kDescription, 0, 0, RunText(_T("IDS_CREATE_RESTORPOINT"))});
    MakeRestorePoint();
  }
  CString description;
  FormatChecked(description, RunText(_T("INSTALLNAGDESC2")), {m_strAppName});
  Post({RunEvent::kDescription, 0, 0, description});
  Status(RunText(_T("IDS_BCK_START")));
  std::vector<int> chosen;
  for (int j = 0; j < static_cast<int>(m_rows.size()); ++j)
    if (m_rows[j].bChecked && m_rows[j].nState == kRowDownloaded) chosen.push_back(j);
  // "Skip backup" asks the engine to stop the backup (OnCancel).
  // The label names the driver being backed up and the progress bar follows the backup.
  const tagNagDriverRoad::BackupProgress progress = [this](const CString& driverName, int percent) {
    Post({RunEvent::kLabel, 0, 0, driverName});
    Post({RunEvent::kProgress, percent, 0, CString()});
  };
  const int backedUp = m_road.backup && !chosen.empty() ? m_road.backup(chosen, progress) : 0;
  if (backedUp > 0 && !Stopping() && m_road.pack) {
    // The backup is packed before any driver is replaced; the packing cannot be skipped. An
    // archive that could not be written ends the backup as a stop does.
    Post({RunEvent::kPacking, 0, 0, RunText(_T("IDS_BCK_COMPRESS"))});
    if (m_road.pack() < 0) {
      m_nStopRequested = 1;
      if (!IsProgressNotify()) Post({RunEvent::kMessage, MB_ICONHAND, 0, RunText(_T("IDS_UNABLESAVE_BACKUP"))});
    }
  }
  if (backedUp > 0 && !Stopping()) {
    Status(RunText(_T("IDS_BAK_COPMLETED")));
    Status(RunText(_T("IDS_BAK_COMP_SUCESS")));
  } else if (Stopping()) {
    // The stop button skips the backup; the install follows all the same.
    Status(RunText(_T("IDS_BAK_ABORTED")));
    Status(RunText(_T("BACKUPDLG4_1")));
    if (!IsProgressNotify()) Post({RunEvent::kMessage, MB_ICONHAND, 0, RunText(_T("BACKUPDLG4_1"))});
  }
  m_nStopRequested = 0;
  return DriversWait() ? RunInstall() : kRunNoInstall;
}

bool CDlgNagDownloadAndInstall::DriversWait() const {
  if (!m_bInstallAll)
    return m_nSingleRow >= 0 && m_nSingleRow < static_cast<int>(m_rows.size()) &&
           m_rows[m_nSingleRow].nState == kRowDownloaded;
  return std::any_of(m_rows.begin(), m_rows.end(), [](const NagResultRow& row) {
    return row.bChecked && row.nDriverIndex >= 0 && row.nState == kRowDownloaded;
  });
}

void CDlgNagDownloadAndInstall::MakeRestorePoint() {
  if (IsHidden()) {
    CreateSystemRestorePoint(m_strAppName);
    return;
  }
  // The wait dialog runs on the window's thread and makes the point there; the run waits
  // until it has closed.
  std::unique_lock<std::mutex> hold(m_eventLock);
  m_bRestorePointMade = false;
  m_events.push_back({RunEvent::kRestorePoint, 0, 0, CString()});
  ::PostMessageW(m_hWnd, kRunEventMessage, 0, 0);
  m_restorePointDone.wait(hold, [this] { return m_bRestorePointMade || m_nStopRequested.load() != 0; });
}

void CDlgNagDownloadAndInstall::RunRestorePointDialog() {
  CDlgCreateRestorePoint wait(this);
  wait.Run(m_strAppName);
  {
    std::lock_guard<std::mutex> hold(m_eventLock);
    m_bRestorePointMade = true;
  }
  m_restorePointDone.notify_all();
}

int CDlgNagDownloadAndInstall::InstallRow(const NagResultRow& row, int j) {
  Post({RunEvent::kLabel, 0, 0, row.strName});
  Status(LabelledText(RunText(_T("IDS_DRIVER_INSSATRT")), row.strName));
  const int result = m_road.install ? m_road.install(row.nDriverIndex) : 0;
  Post({RunEvent::kProgress, 100, 0, CString()});
  if (result == kInstallDone) {
    Post({RunEvent::kRowState, j, kRowInstalled, CString()});
    Status(LabelledText(RunText(_T("IDS_DRIVER_INSCOMPL")), row.strName));
    PauseBetweenDrivers(kAfterInstallMs);
    return 1;
  }
  if (result == kPackageMissing) {
    Post({RunEvent::kClearCheck, j, 0, CString()});
  } else {
    Status(LabelledText(RunText(_T("IDS_DRIVER_INSFAILED")), row.strName));
  }
  return 0;
}

int CDlgNagDownloadAndInstall::RunInstall() {
  m_nMode = kModeInstall;
  Post({RunEvent::kInstallStart, 0, 0, CString()});
  if (IsHidden()) Post({RunEvent::kLauncher, kLauncherInstallStart, 0, RunText(_T("IDS_PREPARE_STARTCLEAN"))});
  const std::vector<NagResultRow> rows = m_rows;
  if (!m_bInstallAll) {
    // One driver: the row the popup was opened for.
    if (m_nSingleRow < 0 || m_nSingleRow >= static_cast<int>(rows.size())) return kRunNothing;
    Post({RunEvent::kCounts, 1, 1, CString()});
    const int installed = InstallRow(rows[m_nSingleRow], m_nSingleRow);
    if (Stopping()) return kRunStopped;
    return installed > 0 ? kRunDone : kRunNothing;
  }
  int total = 0;
  for (const NagResultRow& row : rows) total += row.bChecked && row.nState == kRowDownloaded ? 1 : 0;
  int current = 0;
  int installed = 0;
  for (int j = 0; j < static_cast<int>(rows.size()) && !Stopping(); ++j) {
    const NagResultRow& row = rows[j];
    if (!row.bChecked || row.nDriverIndex < 0 || row.nState != kRowDownloaded) continue;
    Post({RunEvent::kCounts, total, ++current, CString()});
    installed += InstallRow(row, j);
  }
  if (Stopping()) return kRunStopped;
  if (installed == 0) return kRunNothing;
  return installed == current ? kRunDone : kRunPartly;
}

LRESULT CDlgNagDownloadAndInstall::OnRunEvent(WPARAM, LPARAM) {
  // A message box or the restore point's dialog shown for one event pumps the window's
  // messages: the events after it wait until it is closed, so that the user reads the boxes in
  // the order the run told them.
  if (m_bTakingEvents) return 0;
  m_bTakingEvents = true;
  struct Taken {
    bool& taking;
    ~Taken() { taking = false; }
  } taken{m_bTakingEvents};
  for (;;) {
    RunEvent event;
    {
      std::lock_guard<std::mutex> hold(m_eventLock);
      if (m_events.empty()) break;
      event = std::move(m_events.front());
      m_events.pop_front();
    }
    switch (event.kind) {
      case RunEvent::kStatus:
        AddStatusLine(event.text, event.a);
        break;
      case RunEvent::kLabel:
        m_currentLabel.SetWindowText(event.text);
        break;
      case RunEvent::kCounts:
        SetItemCounts(static_cast<float>(event.a), static_cast<float>(event.b));
        break;
      case RunEvent::kProgress:
        UpdateDownloadStatusText(static_cast<float>(event.a));
        break;
      case RunEvent::kRowState:
        if (event.a >= 0 && event.a < static_cast<int>(m_rows.size())) m_rows[event.a].nState = event.b;
        if (m_road.rowState) m_road.rowState(event.a, event.b);
        break;
      case RunEvent::kClearCheck:
        if (event.a >= 0 && event.a < static_cast<int>(m_rows.size())) m_rows[event.a].bChecked = FALSE;
        if (m_road.clearCheck) m_road.clearCheck(event.a);
        break;
      case RunEvent::kMessage:
        ShowRunMessage(event.text, static_cast<UINT>(event.a));
        break;
      case RunEvent::kDescription:
        SetDescriptionText(event.text);
        break;
      case RunEvent::kPacking:
        AddStatusLine(event.text, TRUE);
        m_btnStop.EnableWindow(FALSE);
        break;
      case RunEvent::kInstallStart: {
        // The install's own stop button and description, after a backup or in a run of its own.
        m_btnStop.SetWindowText(Lang(_T("IDS_STOP")));
        m_btnStop.EnableWindow(TRUE);
        CString description;
        FormatChecked(description, Lang(_T("SCANDLG4")), {GetAppName()});
        SetDescriptionText(description);
        if (m_mainWindow.postToPages) m_mainWindow.postToPages(kInstallStartCommand);
        break;
      }
      case RunEvent::kLauncher:
        if (IsProgressNotify()) {
          m_launcher.notify(event.a, event.text);
        } else if (m_oneClick) {
          m_oneClick(event.a, event.text);
        }
        break;
      case RunEvent::kRestorePoint:
        RunRestorePointDialog();
        break;
      case RunEvent::kEnd:
        FinishRun(event.a, event.b);
        break;
    }
  }
  return 0;
}

void CDlgNagDownloadAndInstall::ShowRunMessage(const CString& text, UINT icon) {
  if (IsUnattended()) return;
  ShowMessageBox(text, icon, this);
}

void CDlgNagDownloadAndInstall::ShowRefusedElevation() {
  if (IsUnattended()) return;
  ::MessageBoxW(m_hWnd, Lang(_T("IDS_ABORT_INSTALL")), GetAppName(), MB_OK);
}

void CDlgNagDownloadAndInstall::FinishRun(int mode, int outcome) {
  if (m_worker.joinable()) m_worker.join();
  if (m_stopper.joinable()) m_stopper.join();
  m_bRunning = false;
  EnableMainWindow(TRUE);
  if (mode == kModeInstall) {
    FinishInstall(outcome);
    return;
  }
  if (outcome == kRunDone) {
    AddStatusLine(Lang(_T("IDS_DOWN_COMPLETE")), TRUE);
    AddStatusLine(Lang(_T("IDS_WAIT_INTALL_MOMENT")), TRUE);
    SetTimer(mode == kModeDownloadOne ? kTimerPromptOne : kTimerPromptSelected, kStartDelayMs, nullptr);
    return;
  }
  m_nStopRequested = 0;
  if (mode == kModeDownloadSelected && IsProgressNotify() && m_launcher.runEnded) m_launcher.runEnded(0);
  if (mode == kModeDownloadOne && outcome == kRunFailed && m_nLastFetchError != kNoAnswer && !IsProgressNotify()) {
    if (!m_bConnection) {
      ShowRunMessage(Lang(_T("IDS_DOWN_ABORT")), MB_ICONINFORMATION);
    } else if (m_nLastFetchError != kCannotSave) {
      ShowRunMessage(Lang(_T("IDS_DOWNABORT_NETCONNERROR")), MB_ICONHAND);
    }
  }
  RestoreCloseButton();
  CloseIfUnattended();
}

void CDlgNagDownloadAndInstall::CloseIfUnattended() {
  // Nobody is there to press Close.
  if (IsUnattended()) SetTimer(kTimerClose, kStartDelayMs, nullptr);
}

int CDlgNagDownloadAndInstall::InstalledRows() const {
  return static_cast<int>(
      std::count_if(m_rows.begin(), m_rows.end(), [](const NagResultRow& row) { return row.nState == kRowInstalled; }));
}

void CDlgNagDownloadAndInstall::FinishInstall(int outcome) {
  m_nInstalled = InstalledRows();
  const int installedNow = std::max(0, m_nInstalled - m_nInstalledAtStart);
  RestoreCloseButton();
  if (outcome == kRunNoInstall) {
    // The backup was all there was to do.
    if (IsProgressNotify() && m_launcher.runEnded) m_launcher.runEnded(0);
    CloseIfUnattended();
    return;
  }
  if (outcome == kRunStopped) {
    m_nStopRequested = 0;
    AddStatusLine(Lang(_T("IDS_ABORT_INSTALL")), TRUE);
    ShowRunMessage(Lang(_T("IDS_ABORT_INSTALL")), MB_ICONHAND);
    CloseIfUnattended();
    return;
  }
  if (m_mainWindow.resultSummary) m_mainWindow.resultSummary(m_nInstalled);
  // "Installed" only when every driver tried went in; one that did not makes the run end
  // with errors, and none installed says so.
  const CString closing = Lang(outcome == kRunDone                         ? _T("IDS_INSTALL_COMP")
                                : outcome == kRunNothing && m_bInstallAll ? _T("IDS_DRIVER_NOTINSTALLED")
                                                                          : _T("IDS_INSTALL_COMP_ERROR"));
  AddStatusLine(closing, TRUE);
  if (IsProgressNotify()) {
    if (m_launcher.runEnded) m_launcher.runEnded(installedNow);
  }
  if (IsUnattended()) {
    CloseIfUnattended();
    return;
  }
  ShowRunMessage(closing, outcome == kRunDone ? MB_ICONINFORMATION : MB_ICONHAND);
  // The restart question, which says the updates are installed, follows only a run that
  // installed every driver it tried: of the ticked rows, or the one driver whose package is
  // listed. An installed row of a run with errors still offers it from the results list.
  const bool ask = outcome == kRunDone &&
                   (m_bInstallAll || (m_nSingleDriver >= 0 && m_road.hasPackage && m_road.hasPackage(m_nSingleDriver)));
  if (!ask) return;
  AskForRestart();
  SetTimer(kTimerClose, kStartDelayMs, nullptr);
}

void CDlgNagDownloadAndInstall::AskForRestart() {
  if (m_prompts.restart) {
    m_prompts.restart(this);
    return;
  }
  // A yes restarts Windows at once.
  if (ShowMessageBox(Lang(_T("IDS_RESTART2")), MB_YESNO | MB_ICONQUESTION, this) == IDYES)
    CDriverInstallEngine::RebootSystem();
}

void CDlgNagDownloadAndInstall::ShowInstallPrompt(bool oneDriver) {
  CString question, text;
  FormatChecked(question, Lang(_T("INSTALLNAGDESC1")), {GetAppName()});
  text.Format(kPromptMarkup, static_cast<LPCTSTR>(question));
  CStringArray buttons;
  buttons.Add(Lang(_T("IDS_INSTALL")));
  buttons.Add(Lang(_T("IDS_DONTINSTALL")));
  const int answer = IsUnattended() ? kPromptInstall
                                        : AppMessageBoxEx(text, MB_ICONQUESTION, 2, buttons, kPromptRect, FALSE, 0, this);
  if (answer == kPromptInstall) {
    const int rights = m_prompts.elevate ? m_prompts.elevate(this) : 1;
    if (rights == 1) {
      SetTimer(kTimerBackupInstall, kStartDelayMs, nullptr);
      return;
    }
    // Refused rights end the run; a restart with the rights (0) after one driver says nothing.
    if (!oneDriver) {
      ShowRunMessage(Lang(_T("IDS_ABORT_INSTALL")), MB_ICONHAND);
    } else if (rights == -1) {
      ShowRefusedElevation();
    }
  }
  SetTimer(kTimerClose, kStartDelayMs, nullptr);
}
