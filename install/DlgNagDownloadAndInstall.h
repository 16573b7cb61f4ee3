// CDlgNagDownloadAndInstall: the framed popup that takes chosen result rows from download to
// install. It shows the title and description, the overall progress bar, the current-driver
// label and the status list the runs write their steps into, and holds the run's mode, stop
// flag and counters.
#pragma once
#include <afxcmn.h>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "DlgBaseWndPopupNagBase.h"
#include "HoverButtonWithText.h"

// A result row as the runs see it: its driver, whether the user ticked it, its state (0 not
// downloaded, 1 downloaded, 2 installed) and the driver's name for the status lines.
struct NagResultRow {
  int nDriverIndex = -1;
  BOOL bChecked = FALSE;
  int nState = 0;
  CString strName;
};

class CDlgNagDownloadAndInstall : public CDlgBaseWndPopupNagBase {
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
  // The timers that start the runs and close the popup.
  static constexpr UINT_PTR kTimerDownloadSelected = 109;
  static constexpr UINT_PTR kTimerInstall = 110;
  static constexpr UINT_PTR kTimerClose = 120;
  static constexpr UINT kStartDelayMs = 64;

  // The per-driver steps, called on the run's thread. Fetch: the package of a driver for its
  // row, its item percentage to progress; true when the package is on disk. Install: the
  // install's result (32 done). Stop: asks a running fetch to end.
  using ProgressSink = std::function<void(int itemPercent)>;
  using FetchFn = std::function<bool(int driverIndex, int row, const ProgressSink& progress)>;
  using InstallFn = std::function<int(int driverIndex)>;
  using StopFn = std::function<void()>;

  explicit CDlgNagDownloadAndInstall(CWnd* pParentWnd);
  ~CDlgNagDownloadAndInstall() override;

  void SetResultRows(std::vector<NagResultRow> rows) { m_rows = std::move(rows); }
  const std::vector<NagResultRow>& GetResultRows() const { return m_rows; }
  void SetDriverSteps(FetchFn fetch, InstallFn install, StopFn stop);
  // The run the popup starts 64 ms after it opens (0: none).
  void SetStartMode(int mode) { m_nStartMode = mode; }
  // Whether a run's thread is going.
  BOOL IsRunning() const { return m_bRunning.load(); }

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
  BOOL IsStopRequested() const { return m_nStopFlag.load() != 0; }
  int GetProgressPos() const;
  int GetStatusLineCount() const;
  CString GetStatusLine(int line) const;
  const CString& GetTitleText() const { return m_strTitle; }

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
    enum Kind { kStatus, kProgress, kCounts, kRowState, kEnd } kind;
    int a = 0;
    int b = 0;
    CString text;
  };
  void Post(RunEvent event);
  void StartRun(int mode);
  void JoinRun();
  // The runs, on their own thread.
  void RunDownloadSelected();
  void RunInstallAll();
  // The end of a run on the window's thread: success of a download ends with the close
  // button, the install run likewise; a stop or failure restores the close button too.
  void FinishRun(int mode, int outcome);

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
  int m_nMode = kModeNone;
  float m_fTotal = 0;
  float m_fCurrent = 0;
  float m_fOverallPercent = 0;
  float m_fItemPercent = 0;
  int m_nCurrentLine = 0;
  BYTE m_bLineOpen = FALSE;
  int m_nStartMode = kModeNone;
  std::vector<NagResultRow> m_rows;
  FetchFn m_fetch;
  InstallFn m_install;
  StopFn m_stop;
  std::atomic<int> m_nStopFlag{0};
  std::atomic<bool> m_bRunning{false};
  std::thread m_worker;
  std::mutex m_eventLock;
  std::deque<RunEvent> m_events;

  DECLARE_MESSAGE_MAP()
};
