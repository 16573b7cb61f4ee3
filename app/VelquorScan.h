// The scan pages in the main window: CVelquorScanHost answers the scan pages from the main
// window (its engine, flags, launcher, panels and summary) and keeps the engine's progress
// view pointed at the scanning page; AddScanPages puts the home, scanning and summary pages
// into the scan group's places 1, 2 and 5.
#pragma once
#include "EngineCallbacks.h"
#include "ScanPagesHost.h"

class CVelquorDlg;
class CDlgScan1ScanHome;
class CDlgScan2Scanning;
class CDlgScan5Summary;

class CVelquorScanHost : public CScanPagesHost {
 public:
  explicit CVelquorScanHost(CVelquorDlg& window);
  ~CVelquorScanHost() override;

  tagScanState& ScanState() override { return m_state; }
  CDriverScanUpdate& ScanEngine() override;
  CExclusionList& InstalledUpdates() override;
  CWnd* HostWindow() override;
  void SetBusy(BOOL busy) override;
  int GetStartMode() override;
  void SetStartMode(int mode) override;
  bool IsOneClick() override;
  bool IsLauncherNotify() override;
  bool IsAbortRequested() override;
  void ClearAbortRequest() override;
  void SetScanWork(LONG work) override;
  void NotifyLauncher(int code, int value, LPCTSTR text = nullptr) override;
  void EndNow() override;
  void OnScanFinished() override;
  void SetLastRequest(const CString& text) override;
  void EnableUi(BOOL enable) override;
  void SetScanButtons(unsigned mask) override;
  void ShowScanPage(UINT command) override;
  void PostHostCommand(UINT command) override;
  int RelaunchAsAdmin(const CString& question, int startPage) override;
  void FixFoundUpdates() override;
  void BuildResultSummary() override;
  int ExclusionCount() override;

  // Points the engine's progress view at the scanning page and registers it unless another
  // view is registered already.
  void WatchScanningPage(CDlgScan2Scanning& page);
  // The result summary sentence: after a scan of the updates found, or after updating of the
  // updates found and those installed since.
  static constexpr int kSummaryAfterScan = 0;
  static constexpr int kSummaryAfterUpdate = 1;
  void BuildResultSummaryText(int mode, int outdated, int updated);
  // The result summary sentence of the last scan or update: short and long.
  const CString& GetSummaryShort() const { return m_strSummaryShort; }
  const CString& GetSummaryLong() const { return m_strSummaryLong; }

 private:
  CVelquorDlg& m_window;
  tagScanState m_state;
  CEngineProgressView m_view;
  unsigned m_nScanButtons = kAllScanButtons;
  bool m_bCloseWhenEnabled = false;
  CString m_strSummaryShort;
  CString m_strSummaryLong;
};

// The scan group's pages made and placed; false when the window has no scan group.
bool AddScanPages(CVelquorDlg& window, CVelquorScanHost& host);
