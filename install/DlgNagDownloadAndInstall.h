// CDlgNagDownloadAndInstall: the framed popup that takes chosen result rows from download to
// install. It shows the title and description, the overall progress bar, the current-driver
// label and the status list the runs write their steps into, and holds the run's mode, stop
// flag and counters. Its runs (one driver, the chosen rows, back up then install, install)
// go on a thread of their own, started by a timer; the thread calls the driver road's steps
// and tells the window only through posted events.
#pragma once
#include <afxcmn.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "DlgNagFrame.h"
#include "HoverButtonWithText.h"

class CDriverScanUpdate;
class CDriverPackageFetch;

// A result row as the runs see it: its driver (device index), whether the user ticked it, its
// state (0 not downloaded, 1 downloaded, 2 installed) and the driver's name for the texts.
struct NagResultRow {
  int nDriverIndex = -1;
  BOOL bChecked = FALSE;
  int nState = 0;
  CString strName;
};

// The steps a run takes for one driver, called on the run's thread unless said otherwise.
struct tagNagDriverRoad {
  using ProgressSink = std::function<void(int itemPercent)>;
  // Fetches the package of the driver of a row: true when it lies on disk. Status lines of the
  // fetch go to the sink given; messages for the user to the message sink.
  using StatusSink = std::function<void(const CString& line)>;
  using MessageSink = std::function<void(const CString& text, UINT icon)>;
  std::function<bool(int driverIndex, int row, const StatusSink& status, const MessageSink& message)> fetch;
  // Installs the downloaded package of a driver: 32 installed, -3 package missing, else failed.
  std::function<int(int driverIndex)> install;
  // Backs up the drivers of the rows (list items) before they are replaced; the count backed up.
  // The backup tells each driver it takes and the share done so far.
  using BackupProgress = std::function<void(const CString& driverName, int percent)>;
  std::function<int(const std::vector<int>& rows, const BackupProgress& progress)> backup;
  // Packs the drivers just backed up into the backup archive before the install replaces them:
  // 1 packed, 0 nothing to pack, a negative value when the archive could not be written.
  std::function<int()> pack;
  // Asks a running fetch, or the engine's backup under way, to stop (on a thread of their own,
  // as they may wait for it); begin readies the road for a new run.
  std::function<void()> stop;
  std::function<void()> stopBackup;
  std::function<void()> begin;
  // Whether the list of downloaded packages holds the driver's (window's thread).
  std::function<bool(int driverIndex)> hasPackage;
  // The result row's new state, and a row whose package is missing losing its check box, on
  // the window's thread.
  std::function<void(int row, int state)> rowState;
  std::function<void(int row)> clearCheck;
  // The connection flag of the fetch (a failed transfer is blamed on the connection) and its
  // last error (-2 no answer from the service, -10 the file could not be saved).
  std::function<bool()> connection;
  std::function<int()> lastError;
};

// The launcher that follows the progress (progress-notify mode): status records go to it
// instead of the status list and message boxes, and it may ask the run to stop.
struct tagNagLauncher {
  std::function<void(int code, const CString& text)> notify;
  std::function<bool()> stopRequested;
  // A run of the chosen rows that brings no install prompt (0), or an install run: the number
  // of drivers it installed, by which the updates left are fewer (the launcher is told the
  // count left). A download alone updates nothing.
  std::function<void(int installed)> runEnded;
};

// The main window while the popup runs, on the window's thread: its pages disabled while a
// run works and enabled at its end (EnableUi), and a command to its scan group (1202 as the
// install starts), and the popup's own window as it opens and null as it closes; at the end
// of an install run that was not stopped, the number of rows installed for its result summary.
struct tagNagMainWindow {
  std::function<void(BOOL enable)> enableUi;
  std::function<void(UINT command)> postToPages;
  std::function<void(HWND popup)> popupWindow;
  std::function<void(int installedRows)> resultSummary;
};

// The main window's questions around an install, asked over the popup: whether the program
// has the rights to install (1 go on, 0 it is being started again with them, else refused)
// and the restart prompt (which restarts Windows itself when agreed to). Without them the
// rights are taken as given and the restart is asked in the own message box.
struct tagNagPrompts {
  std::function<int(CWnd* over)> elevate;
  std::function<void(CWnd* over)> restart;
};

class CDlgNagDownloadAndInstall : public CDlgNagFrame {
  DECLARE_DYNAMIC(CDlgNagDownloadAndInstall)

 public:
  static constexpr UINT kTemplateId = 5186;
  // Runs: one driver, the selected drivers, install the downloaded ones, back up and install.
  enum Mode { kModeNone = 0, kModeDownloadOne = 1, kModeDownloadSelected = 2, kModeInstall = 3, kModeBackupInstall = 4 };
  static constexpr int kWidth = 567;
  static constexpr int kHeight = 398;

  static constexpr int kRowNotDownloaded = 0;
  static constexpr int kRowDownloaded = 1;
  static constexpr int kRowInstalled = 2;
  // The timers that start the runs, bring the install prompt and close the popup.
  static constexpr UINT_PTR kTimerDownloadOne = 108;
  static constexpr UINT_PTR kTimerDownloadSelected = 109;
  static constexpr UINT_PTR kTimerInstall = 110;
  // A second timer that starts the install run.
  static constexpr UINT_PTR kTimerInstallAgain = 111;
  static constexpr UINT_PTR kTimerBackupInstall = 112;
  static constexpr UINT_PTR kTimerClose = 120;
  static constexpr UINT_PTR kTimerPromptOne = 120000212;
  static constexpr UINT_PTR kTimerPromptSelected = 120000213;
  // The scan group's command as an install starts.
  static constexpr UINT kInstallStartCommand = 1202;
  static constexpr UINT kStartDelayMs = 64;
  // The notice a run's thread posts when it has left events for the window.
  static constexpr UINT kRunEventMessage = WM_APP + 0x121;
  // Status codes for the launcher: a status line, the start of the install, updates left.
  static constexpr int kLauncherStatus = 14;
  static constexpr int kLauncherInstallStart = 15;
  static constexpr int kLauncherUpdatesLeft = 17;
  // The pause after each driver's download and after each install.
  static constexpr DWORD kAfterDownloadMs = 1024;
  static constexpr DWORD kAfterInstallMs = 500;

  explicit CDlgNagDownloadAndInstall(CWnd* pParentWnd);
  ~CDlgNagDownloadAndInstall() override;

  // The rows the results page hands over, in list order (row j is list item j).
  void SetResultRows(std::vector<NagResultRow> rows) { m_rows = std::move(rows); }
  // The page told when the popup closes (the parent it was made with unless set).
  void SetResultsPage(CWnd* page) { m_pResultsPage = page; }
  const std::vector<NagResultRow>& GetResultRows() const { return m_rows; }
  void SetDriverRoad(tagNagDriverRoad road) { m_road = std::move(road); }
  // Runs the drivers through the update engine and the package fetch: fetched packages are
  // recorded in the fetch's list, which the engine's installs read.
  void UseDriverRoad(CDriverScanUpdate& engine, CDriverPackageFetch& fetch, const CString& backupFolder,
                     std::function<int()> pack);
  // The run the popup starts 64 ms after it opens (0: none), and for the one-driver run its
  // driver and row.
  void SetStartMode(int mode) { m_nStartMode = mode; }
  void SetSingleDriver(int driverIndex, int row);
  // Whether the install run installs every ticked downloaded row (the default) or the single
  // driver alone.
  void SetInstallAll(BOOL all) { m_bInstallAll = all; }
  // Progress-notify mode: the launcher follows the run; no message boxes, no restart prompt.
  void SetLauncher(tagNagLauncher launcher) { m_launcher = std::move(launcher); }
  // One-click mode: the program works for the launcher, which is told where the install
  // starts. The popup stays hidden in this mode and in progress-notify mode.
  void SetOneClick(std::function<void(int code, const CString& text)> tellLauncher) {
    m_oneClick = std::move(tellLauncher);
  }
  BOOL IsHidden() const { return IsProgressNotify() || m_oneClick != nullptr; }
  // A scheduled auto-fix run: nobody watches, so the downloads are installed without asking,
  // no message box or restart question is shown, and the popup closes when the run ends.
  void SetAutoFix(BOOL autoFix) { m_bAutoFix = autoFix; }
  void SetPrompts(tagNagPrompts prompts) { m_prompts = std::move(prompts); }
  void SetMainWindowLinks(tagNagMainWindow links) { m_mainWindow = std::move(links); }
  // How the run's thread pauses after a driver (Sleep when none is set).
  void SetPause(std::function<void(DWORD ms)> pause) { m_pause = std::move(pause); }
  // Whether a run's thread is going.
  BOOL IsRunning() const { return m_bRunning.load(); }
  // The number of rows installed by the last install run.
  int GetInstalledCount() const { return m_nInstalled; }

  // The overall percentage: the finished items' share plus the current item's share of its
  // own slot; the item's percentage alone when the total is unknown.
  static float OverallPercentage(float total, float current, float itemPercent);

  // Writes a step into the status list: a new line closes the previous one, otherwise the
  // text replaces the current line, which stays open for the next replacement.
  void AddStatusLine(const CString& text, BOOL bNewLine);
  // Moves the overall progress bar for the current item's percentage.
  void UpdateDownloadStatusText(float itemPercent);
  // Sets the drivers to handle in this run and the one now handled (both from 1).
  void SetItemCounts(float total, float current);
  // The buttons of a run: stop shown and enabled, close hidden; the first status line.
  void PrepareRunUi(int mode);
  // The end of a run: stop hidden and disabled, close shown and enabled.
  void RestoreCloseButton();
  void SetTitleText(const CString& title);
  void SetDescriptionText(const CString& description);

  int GetMode() const { return m_nMode; }
  BOOL IsStopRequested() const { return m_nStopRequested.load() != 0; }
  int GetProgressPos() const;
  int GetStatusLineCount() const;
  CString GetStatusLine(int line) const;
  const CString& GetTitleText() const { return m_strTitle; }
  CString GetCurrentLabel() const;
  CString GetDescriptionText() const;

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnSizeLayout(UINT nType, int cx, int cy) override;
  void OnCloseRequest() override;

 protected:
  void OnOK() override;
  void OnCancel() override;

  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnRunEvent(WPARAM, LPARAM);

 private:
  // What a run's thread tells the window; kept here and taken by the window's thread.
  struct RunEvent {
    enum Kind {
      kStatus,
      kLabel,
      kCounts,
      kProgress,
      kRowState,
      kClearCheck,
      kMessage,
      kDescription,
      kPacking,
      kLauncher,
      kInstallStart,
      kRestorePoint,
      kEnd
    } kind;
    int a = 0;
    int b = 0;
    CString text;
  };
  // How a run ended: an install run is done only when every driver it tried went in, and
  // ends partly when some did.
  // A back-up-then-install run whose rows have nothing waiting to install ends after the backup.
  enum Outcome { kRunStopped = 0, kRunDone = 1, kRunNothing = 2, kRunFailed = 3, kRunPartly = 4, kRunNoInstall = 5 };
  void Post(RunEvent event);
  void Status(const CString& text) { Post({RunEvent::kStatus, TRUE, 0, text}); }
  void StartRun(int mode);
  void JoinRun();
  bool Stopping() const;
  void PauseBetweenDrivers(DWORD ms) const;
  // The runs, on their own thread.
  int RunDownloadOne();
  int RunDownloadSelected();
  int RunBackupThenInstall();
  int RunInstall();
  // Whether a row the install run takes waits with its package downloaded.
  bool DriversWait() const;
  // Makes the restore point before a backup: behind the wait dialog on the window's thread
  // while the popup is shown, here when it is hidden.
  void MakeRestorePoint();
  void RunRestorePointDialog();
  // Installs the driver of a row: 1 installed, 0 not.
  int InstallRow(const NagResultRow& row, int j);
  bool FetchRow(int row);
  // The ends of the runs and the prompts, on the window's thread.
  void FinishRun(int mode, int outcome);
  void FinishInstall(int outcome);
  // The number of rows in the installed state.
  int InstalledRows() const;
  void ShowInstallPrompt(bool oneDriver);
  void ShowRunMessage(const CString& text, UINT icon);
  // An unattended popup closes itself once its run has ended.
  void CloseIfUnattended();
  // A refused elevation after one driver's download: a plain system box.
  void ShowRefusedElevation();
  void AskForRestart();
  void StopRunningTransfer();
  // Runs a stop of the road on a thread of its own (one at a time).
  void StopInThread(const std::function<void()>& stop);
  void EnableMainWindow(BOOL enable);
  BOOL IsProgressNotify() const { return m_launcher.notify != nullptr; }
  // Nobody answers questions: the popup works hidden for the launcher, or it is an auto-fix run.
  BOOL IsUnattended() const { return IsHidden() || m_bAutoFix; }
  // A text of the popup's language section.
  static CString Lang(LPCTSTR id);
  // A text the run's thread writes, looked up by the window when the run started.
  CString RunText(LPCTSTR id) const;

  // The transfer's progress texts (speed, sizes, percentage), from any thread.
  static void ShowTransferProgress(int percent, const CString& sizes);
  static void ShowTransferBytes(ULONGLONG received, ULONGLONG total);
  // Makes this popup the one the transfers' progress goes to, or lets go of it.
  void FollowTransfers(bool follow);
 public:
  // The speed text of a rate in kilobytes per second.
  static CString FormatSpeedText(double kilobytesPerSecond);

 protected:

  // The results page that opened the popup; told when the popup is closed.
  CWnd* m_pResultsPage = nullptr;
  CToolTipCtrl m_tooltip;
  CProgressCtrl m_progress;
  CListCtrl m_statusList;
  CStatic m_description;
  CStatic m_currentLabel;
  CHoverButtonWithText m_btnClose;
  CHoverButtonWithText m_btnStop;
  CString m_strTitle;
  CRect m_rcTitle;
  std::atomic<int> m_nMode{kModeNone};
  std::atomic<int> m_nStopRequested{0};
  float m_fTotal = 0;
  float m_fCurrent = 0;
  float m_fOverallPercent = 0;
  float m_fItemPercent = 0;
  int m_nCurrentLine = 0;
  BYTE m_bLineOpen = FALSE;
  int m_nStartMode = kModeNone;
  int m_nSingleDriver = -1;
  int m_nSingleRow = -1;
  BOOL m_bInstallAll = TRUE;
  BOOL m_bAutoFix = FALSE;
  int m_nInstalled = 0;
  // The rows installed when the run started.
  int m_nInstalledAtStart = 0;
  int m_nLastFetchError = 0;
  bool m_bConnection = false;
  std::vector<NagResultRow> m_rows;
  tagNagDriverRoad m_road;
  tagNagLauncher m_launcher;
  tagNagPrompts m_prompts;
  tagNagMainWindow m_mainWindow;
  std::function<void(int code, const CString& text)> m_oneClick;
  // The packages the last run of the chosen rows downloaded.
  int m_nDownloaded = 0;
  // A back-up-then-install run has started and its install not yet (the window's thread).
  std::function<void(DWORD ms)> m_pause;
  std::map<std::u16string, CString> m_runTexts;
  CString m_strAppName;
  std::atomic<bool> m_bRunning{false};
  std::thread m_worker;
  std::thread m_stopper;
  std::mutex m_eventLock;
  std::deque<RunEvent> m_events;
  bool m_bTakingEvents = false;  // the window's thread is taking the events (a box may be up)
  // The restore point's wait dialog has closed (guarded by the event lock).
  std::condition_variable m_restorePointDone;
  bool m_bRestorePointMade = false;
  // When the current transfer started (the speed is worked out from it).
  std::atomic<DWORD> m_dwTransferStart{0};

  DECLARE_MESSAGE_MAP()
};
