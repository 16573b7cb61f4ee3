// CResultsPageHost: what the results page asks of the window that hosts it: the scan engine
// and its class images, the modes it runs in, and the windows and pages it hands work to
// (the download-and-install dialog with the chosen rows, the restart prompt, the exclusion
// list, the summary page, the feedback form and the driver-age information).
#pragma once
#include <afxcmn.h>

#include <vector>

class CDriverScanUpdate;

class CResultsPageHost {
 public:
  // What the page asks the download-and-install dialog to do.
  enum PageMode { kModeNone = 0, kModeSingleDownload = 1, kModeDownloadChecked = 2, kModeInstallOne = 4 };

  virtual ~CResultsPageHost() = default;

  virtual CDriverScanUpdate& GetScanEngine() = 0;
  // The device-class images the list shows (null: none).
  virtual CImageList* GetClassImages() = 0;
  // The one-click results popup hosts the page; the launcher asked for notices.
  virtual bool IsOneClickMode() const = 0;
  virtual bool IsLauncherNotifyMode() const = 0;
  // The program's task-busy flag, set while the shown page checks its rows; the main window's
  // scan-requested flag, cleared once the results show.
  virtual void SetTaskBusy(BOOL busy) = 0;
  virtual void ClearScanRequested() = 0;
  // The page has been shown: the window's results tab is selected when the page is its own.
  virtual void ShowResultsTab(CWnd* pPage) = 0;

  // Runs the download-and-install dialog over exactly these list rows, modally over the page.
  virtual void RunDownloadAndInstall(CWnd* pPage, int nPageMode, const std::vector<int>& chosenRows) = 0;
  // Before one downloaded driver is installed: 1 go on, 0 the program is being started again
  // with the rights it needs, anything else refused (the page says so).
  virtual int CheckElevation(CWnd* pPage) = 0;
  virtual void RunRestartPrompt(CWnd* pPage) = 0;
  // Tells the launcher how many updates wait (launcher-notify mode).
  virtual void ReportUpdateCount(int nCount) = 0;

  // The exclusion list: 0 when the hardware id is listed already, else the entry's id.
  virtual int AddExclusion(const CString& driverName, const CString& hardwareId) = 0;
  virtual int GetExclusionCount() const = 0;
  virtual void GoToExclusionList() = 0;
  virtual void ShowSummary() = 0;
  virtual void SendFeedback(CWnd* pPage) = 0;
};
