// The results page in the main window: CVelquorResultsHost answers the page from the main
// window (its engine, modes, exclusion page, panels and popups) and keeps the chosen rows
// the download-and-install dialog works through; AddResultsPage puts the page into the scan
// group's places 3 and 4.
#pragma once
#include <memory>
#include <vector>

#include "DownloaderLibrary.h"
#include "ResultsPageHost.h"
#include "UpdateServiceHelper.h"

class CDriverPackageFetch;
struct NagResultRow;

class CVelquorDlg;
class CDlgScan3Results;
class CDlgNagDownloadAndInstall;

class CVelquorResultsHost : public CResultsPageHost {
 public:
  // The scan group's panel commands of the exclusion list and the summary page.
  static constexpr UINT kSettingsTabCommand = 1263;
  static constexpr UINT kExclusionPageCommand = 1202;
  static constexpr UINT kSummaryPageCommand = 1203;
  static constexpr UINT kResultsTabCommand = 1260;

  explicit CVelquorResultsHost(CVelquorDlg& window);
  ~CVelquorResultsHost() override;
  CVelquorResultsHost(const CVelquorResultsHost&) = delete;
  CVelquorResultsHost& operator=(const CVelquorResultsHost&) = delete;

  CDriverScanUpdate& GetScanEngine() override;
  CImageList* GetClassImages() override { return &m_classImages; }
  bool IsOneClickMode() const override;
  bool IsLauncherNotifyMode() const override;
  void SetTaskBusy(BOOL busy) override;
  void ClearScanRequested() override;
  void ShowResultsTab(CWnd* pPage) override;
  void RunDownloadAndInstall(CWnd* pPage, int nPageMode, const std::vector<int>& chosenRows) override;
  int CheckElevation(CWnd* pPage) override;
  void RunRestartPrompt(CWnd* pPage) override;
  void ReportUpdateCount(int nCount) override;
  int AddExclusion(const CString& driverName, const CString& hardwareId) override;
  int GetExclusionCount() const override;
  void GoToExclusionList() override;
  void ShowSummary() override;
  void SendFeedback(CWnd* pPage) override;

  // The rows handed to the download-and-install dialog last, and its mode.
  const std::vector<int>& GetChosenRows() const { return m_chosenRows; }
  int GetPageMode() const { return m_nPageMode; }
  // The next run is a scheduled auto-fix (SetAutoFix of the dialog).
  void ArmAutoFix() { m_bAutoFix = true; }
  // The download-and-install dialog while it runs (null otherwise).
  CDlgNagDownloadAndInstall* GetRunningDialog() const { return m_pRunning; }

 private:
  // The package fetch of the runs, made at the first run.
  CDriverPackageFetch& Fetch();
  // Hands a run the chosen rows of the page's list, the driver road and the main window's
  // links and, when the launcher follows, the launcher.
  void PrepareRun(CDlgNagDownloadAndInstall& dialog, CWnd* pPage, const CListCtrl& list);
  // The packages the runs downloaded become the download history the engine reads.
  void KeepDownloads();
  // After a run of the chosen rows without an install, or an install run: the scan's count of
  // updates left goes down by the drivers installed, and the launcher is told it.
  void ReportUpdatesLeft(int installed);

  CVelquorDlg& m_window;
  CUpdateServiceHelper m_helper;
  CDownloaderLibrary m_library;
  std::unique_ptr<CDriverPackageFetch> m_pFetch;
  CImageList m_classImages;
  std::vector<int> m_chosenRows;
  CDlgNagDownloadAndInstall* m_pRunning = nullptr;
  int m_nPageMode = kModeNone;
  bool m_bAutoFix = false;
};

// The rows the download-and-install dialog takes: every row of the list in order, with its
// driver (through the engine's row map), state and name, checked exactly when chosen.
std::vector<NagResultRow> MakeNagRows(const CDriverScanUpdate& engine, const CListCtrl& list,
                                      const std::vector<int>& chosenRows);

// Makes the results page, gives it to the scan group for its places 3 and 4 (commands 1201
// and 1202), and points the scan engine at its list. Null when the window has no scan group
// or the page could not be made.
CDlgScan3Results* AddResultsPage(CVelquorDlg& window, CResultsPageHost& host);
