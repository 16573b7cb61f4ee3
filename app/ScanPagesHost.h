// What the scan pages need of the main window that holds them: the shared scan state, the
// engine, the launcher, the page switches and the result summary.
#pragma once
#include <afxwin.h>

#include <atomic>

class CDriverScanUpdate;
class CExclusionList;

// The scan state the main window shares with the scan pages. Flags the scan thread reads while
// the user-interface thread writes them are atomic.
struct tagScanState {
  // Set by Scan now, tested by the scanning page's start timer.
  std::atomic<bool> bScanRequested{false};
  // The scanning page's stop flag and its connection-failure flag.
  std::atomic<bool> bStop{false};
  std::atomic<bool> bConnectionFailed{false};
  // The home page's scan-done flag: the last scan ended with results.
  std::atomic<bool> bScanDone{false};
  // The update-all mark: the last scan went through and found every driver up to date.
  std::atomic<bool> bAllUpToDate{false};
  // The scan step the scan tab selects again (0 home, 1 scanning, 2 results, 3 summary).
  std::atomic<int> nScanStep{0};
  // The engine's counts of the last scan.
  std::atomic<int> nTotal{0};
  std::atomic<int> nOutOfDate{0};
  // The time the last scan started, as the summary sentence shows it.
  CString strScanStart;
};

class CScanPagesHost {
 public:
  // The scan group's page commands.
  static constexpr UINT kHomePage = 1199;
  static constexpr UINT kScanningPage = 1200;
  static constexpr UINT kResultsPage = 1201;
  static constexpr UINT kSummaryPage = 1203;
  // The main window's first tab command, and the one a device-scan-only start switches to.
  static constexpr UINT kScanTab = 1259;
  static constexpr UINT kDeviceScanOnlyTab = 1261;

  virtual ~CScanPagesHost() = default;

  virtual tagScanState& ScanState() = 0;
  virtual CDriverScanUpdate& ScanEngine() = 0;
  // The application's record of installed updates.
  virtual CExclusionList& InstalledUpdates() = 0;
  // The window that owns the scan's messages.
  virtual CWnd* HostWindow() = 0;

  // The program's busy flag and start mode (11 to 15).
  virtual void SetBusy(BOOL busy) = 0;
  virtual int GetStartMode() = 0;
  virtual void SetStartMode(int mode) = 0;
  // One-click mode (hidden for the launcher), launcher notify, the launcher's abort request.
  virtual bool IsOneClick() = 0;
  virtual bool IsLauncherNotify() = 0;
  virtual bool IsAbortRequested() = 0;
  virtual void ClearAbortRequest() = 0;
  // The scan engine's work value: non-zero while the request is with the server, when the
  // launcher's hold does not press Stop.
  virtual void SetScanWork(LONG work) = 0;
  // Tells the launcher a status (code and value, a text).
  virtual void NotifyLauncher(int code, int value, LPCTSTR text = nullptr) = 0;
  // Ends the process at once, as a one-click abort does.
  virtual void EndNow() = 0;
  // The scan has ended and the page has been handed on.
  virtual void OnScanFinished() = 0;

  // The last scan request's text, kept for the feedback form.
  virtual void SetLastRequest(const CString& text) = 0;
  // Enables or disables the whole window; enabling it again keeps the scan group's buttons as
  // SetScanButtons left them.
  virtual void EnableUi(BOOL enable) = 0;
  // Enables the scan group's buttons of the places set in the mask (bit n: place n, 1 to 5)
  // and disables the others.
  static constexpr unsigned kAllScanButtons = 0x3E;
  static constexpr unsigned ScanButton(int place) { return 1u << place; }
  virtual void SetScanButtons(unsigned mask) = 0;
  // Posts a scan group page command, and a command to the main window itself.
  virtual void ShowScanPage(UINT command) = 0;
  virtual void PostHostCommand(UINT command) = 0;
  // The elevation check (1 go on, 0 restarted, -1 refused).
  virtual int RelaunchAsAdmin(const CString& question, int startPage) = 0;
  // A scheduled auto-fix start: the results just found go to download and install at once.
  virtual void FixFoundUpdates() = 0;
  // Builds the result summary sentence after a scan.
  virtual void BuildResultSummary() = 0;
  // The number of entries of the exclusion list.
  virtual int ExclusionCount() = 0;
};

// The keys the scan pages swallow: Enter, Escape, Space and F4 pressed, and Alt+F4. TRUE when
// the message was one of them (its key is then 0).
inline BOOL SwallowScanPageKeys(MSG* pMsg) {
  const bool key = pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE ||
                                                   pMsg->wParam == VK_SPACE || pMsg->wParam == VK_F4);
  if (!key && !(pMsg->message == WM_SYSKEYDOWN && pMsg->wParam == VK_F4)) return FALSE;
  pMsg->wParam = 0;
  return TRUE;
}
