// CDlgCheckForUpdate: the update checker's one window and main loop. A framed popup whose
// stage page walks the user from looking for updates through the list of updates and their
// download to installation; it runs the check-and-apply engine on a worker thread, keeps its
// handle in the registry while open, lives in the notification area when hidden, and trades
// WM_COPYDATA codes with a parent window of the sibling program.
#pragma once
#include <afxcmn.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "CheckUpdateSwitches.h"
#include "CheckedFormat.h"
#include "DlgBaseChildPopUpWndBase.h"
#include "HVBitmap.h"
#include "CheckUpdateList.h"
#include "UpdateCheckEngine.h"
#include "UpdateCheckView.h"
#include "XTTrayIconZW.h"

// The stages of the window.
enum CheckForUpdateStage {
  kStageLooking = 0,
  kStageListed = 1,
  kStageDownloading = 2,
  kStageNoUpdate = 4,
  kStageReady = 5,
  kStageFailed = 6,
  kStageInstalling = 7,
};

// The dwData of WM_COPYDATA between the checker and its parent.
enum CopyDataCode {
  kCopyStarted = 153,
  kCopyShowVisible = 251,
  kCopyShowHidden = 351,
  kCopyClose = 450,
  kCopyRestored = 540,
  kCopyHidden = 810,
  kCopyFinished = 900,
};

class CDlgCheckForUpdate : public CDlgBaseChildPopUpWndBase, public IUpdateCheckView {
 public:
  static constexpr UINT kTemplateId = 5000;
  static constexpr UINT kTimerStart = 2034;
  static constexpr UINT kTimerResults = 2035;
  static constexpr UINT kTimerClose = 2036;
  static constexpr UINT kTimerForcedEnd = 2041;
  static constexpr UINT kTimerToTray = 2074;
  static constexpr UINT kTimerInstall = 2075;
  static constexpr UINT kTimerWatchSibling = 23033034;
  static constexpr UINT kCommandRestore = 5000;
  static constexpr UINT kCommandExit = 5001;
  static constexpr UINT kCommandMinimize = 5002;
  static constexpr int kQuitCode = 18;
  static constexpr LPCTSTR kSiblingProcess = _T("ZEPHRINKXVelmor.exe");
  static constexpr LPCTSTR kCheckerProcess = _T("ZEPHRINKXCheckUpdate.exe");
  static constexpr LPCTSTR kHandleValue = _T("CFUHWND");

  CDlgCheckForUpdate(CWnd* pOwner, tagCheckUpdateSwitches& switches);
  ~CDlgCheckForUpdate() override;

  // The stage, shared by the process.
  static int GetCurrentStage();
  // Whether showing the window is allowed (process-wide).
  static BOOL IsVisibleFlagOn();
  // Puts the process-wide state back as a new process has it (tests).
  static void ResetProcessState();

  // Before the window opens: the download library's file name, and what ends the process at
  // once (tests keep their process).
  void SetLibraryName(LPCTSTR name) { m_strLibraryName = name; }
  void SetProcessEnder(std::function<void()> ender) { m_endProcess = std::move(ender); }
  CUpdateCheckEngine& GetEngine() { return *m_engine; }
  CXTTrayIconZW& GetTrayIcon() { return m_tray; }
  BOOL IsHiddenToTray() const { return m_bHiddenToTray; }

  void CloseChecker(UINT elapse) override;
  void StopWork();
  void HideToTray();
  void RestoreFromTray();
  BOOL NotifyParentWindow(int code) override;

  // IUpdateCheckView.
  CString GetText(LPCTSTR stringId) override;
  int ShowMessage(const CString& text, UINT type, BOOL ownerIsParent = FALSE) override;
  void ShowProgress(const CString& status, int percent, ULONGLONG received, ULONGLONG total) override;
  BOOL IsStopping() override { return m_bStopping.load() ? TRUE : FALSE; }
  BOOL IsCancelled() override { return m_bCancelled.load() ? TRUE : FALSE; }
  void EndProgram() override;
  int GetStage() override { return GetCurrentStage(); }
  void ArmForcedEnd() override;
  void StopCheckingAnimation() override;
  void ShowUpdateFound() override;
  void ShowCheckResults(int result, BOOL program, BOOL database) override;
  void MakeVisible() override;
  void ReadChosenUpdates(BOOL& program, BOOL& database) override;
  void ShowDownloadResult(BOOL done) override;
  void ShowInstalling() override;
  void StartInstallTimer() override;
  void OnBtnCancel() override;

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnCloseRequest() override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnButtonNext();
  afx_msg void OnButtonCancel();
  afx_msg void OnButtonHide();
  afx_msg void OnButtonChangeLog();
  afx_msg void OnTrayRestore();
  afx_msg void OnTrayMinimize();
  afx_msg void OnClose();
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDestroy();

  DECLARE_MESSAGE_MAP()

 private:
  // The update list: the kinds of its rows (their item data), the column that shows a row's
  // version and, once the download starts, its state.
  static constexpr int kRowProgram = 1;
  static constexpr int kRowDatabase = 2;
  static constexpr int kStateColumn = 2;
  static constexpr LPCTSTR kQueuedText = _T("In Queue");
  // The stages' clips.
  static constexpr UINT kClipLooking = 5009;
  static constexpr UINT kClipDownloading = 5252;
  static constexpr UINT kClipInstalling = 5253;

  // Runs fn on the window's thread (at once when already there).
  void RunOnWindowThread(const std::function<void()>& fn);
  // Posts fn to the window's thread without waiting (from threads that may block it).
  void PostToWindowThread(std::function<void()> fn);
  void SetStage(int stage);
  void SetItemText(int id, LPCTSTR stringId);
  // A button whose caption is wider than the template made it grows to the right to show it
  // whole, up to the next button.
  void FitCaption(int id, int nextId);
  void ApplyStagePage();
  // Shows the state text on the chosen row of a kind (1 the program, 2 the database).
  void SetRowState(int kind, const CString& state);
  // "Downloading" or "Downloaded" for the row of a kind, with its place among the chosen rows
  // when more than one is chosen.
  CString RowStateText(int kind, bool downloaded) const;
  // The language text formatted with the values; the text itself when they do not fit it.
  CString FormattedText(LPCTSTR stringId, std::initializer_list<tagFormatValue> values);
  BOOL HasRowOfKind(int kind) const;
  // The line under the progress bar for the stage; hidden when it has none.
  void ShowStageLine(int stage);
  // The title of the list's detail column.
  void SetListHeading(LPCTSTR stringId);
  // The date the database archive in use was written; empty without one.
  static CString DatabaseInUseDate();
  // The list after the download: what was fetched and how it went.
  void ShowDownloadPage();
  // The working clip of the stage (none outside downloading and installing).
  void ShowStageClip(int stage);
  // Opens one of the program's own clips and plays it without end.
  static void PlayClip(CAnimateCtrl& control, UINT id);
  void ShowProgressNow(const CString& status, int percent, ULONGLONG received, ULONGLONG total);
  void StartWorker();
  // Waits for a thread while serving the calls it makes to the window.
  void JoinServing(std::thread& thread, const std::atomic<bool>& running);
  void StartStopper();
  // Cancel on the ready page: whether the user chose to install instead.
  BOOL AskInstallBeforeCancel();
  void ForcedEnd();
  void EndChecker(BOOL notifyFinished);
  void ShowBalloon(LPCTSTR stringId);
  void CreateControls();
  void RefreshNotificationArea();
  BOOL OnCopyData(ULONG_PTR code);
  void SaveWindowHandle();
  void RemoveWindowHandle();
  void EnableSiblingParent();
  BOOL IsSiblingMode() const { return m_switches.bIsQuarnelParent; }

  tagCheckUpdateSwitches& m_switches;
  std::unique_ptr<CUpdateCheckEngine> m_engine;
  CString m_strLibraryName;
  std::function<void()> m_endProcess;
  checkupdate::CFancyListCtrl m_list;
  CProgressCtrl m_progress;
  CAnimateCtrl m_animation;       // looking for updates
  CAnimateCtrl m_stageAnimation;  // downloading, installing
  UINT m_nStageClip = 0;
  // The list shows the download's outcome (from its end until the next check).
  BOOL m_bDownloadPage = FALSE;
  CStatic m_status;
  CStatic m_header;
  CButton m_btnHideToTray;  // in the title bar
  CHVBitmap m_bmpHideToTray;
  CXTTrayIconZW m_tray;
  BOOL m_bTrayCreated = FALSE;
  BOOL m_bHiddenToTray = FALSE;
  std::atomic<bool> m_bStopping{false};
  std::atomic<bool> m_bCancelled{false};
  DWORD m_dwWindowThread = 0;
  std::atomic<HWND> m_hWndAlive{nullptr};
  std::thread m_worker;
  std::atomic<bool> m_bWorkerRunning{false};
  std::thread m_stopper;
  std::atomic<bool> m_bStopperRunning{false};
  std::atomic<int> m_nPendingPercent{0};
  std::atomic<ULONGLONG> m_nPendingReceived{0};
  std::atomic<ULONGLONG> m_nPendingTotal{0};
  std::mutex m_pendingStatusLock;
  CString m_strPendingStatus;
};
