// CVelquorDlg: the main program's one top-level window. It owns the engines and the working
// folders for the whole run, the download and backup histories and the link with the
// launcher; it builds the page groups behind the header tabs, starts the first action of the
// start mode, takes over second starts and the launcher's requests, and ends the program.
#pragma once
#include <afxcoll.h>

#include <atomic>
#include <future>
#include <memory>
#include <utility>

#include "DlgBaseAppDlg.h"
#include "DlgSetting3Loc.h"
#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "FileHistory.h"
#include "LauncherLink.h"

class CVelquorApp;
class CVelquorWizards;
class CDlgSetting1General;
class CDlgDrvExclusion;
class CVelquorScanHost;
class CVelquorResultsHost;
class CDlgNagDownloadAndInstall;

class CVelquorDlg : public CDlgBaseAppDlg, public CSettingsFolderHost {
  DECLARE_DYNAMIC(CVelquorDlg)

 public:
  // Page groups by header tab.
  enum Group { kScanGroup = 0, kBackupGroup = 1, kRestoreGroup = 2, kSettingsGroup = 3, kGroupCount = 4 };
  static constexpr int kGroupPlaces = 5;
  // The settings group's places.
  enum SettingsPlace { kGeneralPlace = 1, kFoldersPlace = 2, kSchedulePlace = 3, kExclusionPlace = 4 };

  static constexpr UINT kFeedbackCommand = 1008;
  static constexpr UINT kScanNowCommand = 5083;
  static constexpr UINT kDownloadCommand = 5085;
  static constexpr UINT_PTR kWatchdogTimer = 2525;
  static constexpr UINT kWatchdogMs = 4096;
  // Set by the first paint: a timer comes after every paint queued, so it marks the whole first
  // picture drawn.
  static constexpr UINT_PTR kFirstPictureTimer = 20091209;
  // Shows the backup tab once the commands queued have run (the results page's own tab
  // among them).
  static constexpr UINT_PTR kBackupTabTimer = 20091210;
  // WM_COPYDATA codes of the launcher: hidden scan with the one-click popup, progress notify,
  // and the question whether the window answers.
  static constexpr ULONG_PTR kCopyHiddenScan = 10;
  static constexpr ULONG_PTR kCopyProgressNotify = 20;
  static constexpr ULONG_PTR kCopyQuery = 30;
  static constexpr int kForcedEndCode = 18;
  // The registered "It will bring Tunevo in front if minimized" message.
  static UINT GetBringToFrontMessage();

  explicit CVelquorDlg(CVelquorApp& app);
  ~CVelquorDlg() override;

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // kDownloadHistory (1) or kBackupHistory (0).
  void LoadFileList(int kind);
  void SaveFileList(int kind);
  CMapStringToString& GetHistory(int kind) { return kind == kDownloadHistory ? m_mapDownloads : m_mapBackups; }

  void EnableUi(BOOL bEnable);
  BOOL IsUiEnabled() const { return m_bUiEnabled; }
  // In hidden scan mode with the launcher busy: tells the launcher and ends the process.
  void HiddenModeStop();

  // Answers of the elevation check.
  static constexpr int kElevationGoOn = 1;
  static constexpr int kElevationRestarted = 0;
  static constexpr int kElevationRefused = -1;
  // Makes sure the work that follows runs with administrator rights: kElevationGoOn when it
  // does (or need not), kElevationRestarted when the user let the program start again elevated
  // on start page `startPage`, kElevationRefused when the user declined or Windows is too old
  // to ask.
  int RelaunchAsAdmin(const CString& question, int startPage);

  // The page group of a header tab's group, and one of its pages (place 1 to 5; null when
  // the place is empty).
  CDlgLeftDlgBase* GetGroup(Group group) const { return m_pGroups[group]; }
  CDlgBaseWnd* GetGroupPage(Group group, int place) const;
  // Gives the page to the group's place (the group owns it from then on) and makes it there,
  // hidden and disabled; FALSE when the group is missing or the page could not be made.
  BOOL PlaceGroupPage(Group group, int place, CDlgBaseWnd* page, UINT templateId);

  CDriverScanUpdate& GetScanEngine() { return m_scanEngine; }
  CDriverInstallEngine& GetInstallEngine() { return m_installEngine; }
  tagLauncherState& GetLauncherState() { return m_launcher; }
  // The one-click popup's arming, with the parent the launcher named.
  CPopupArming& GetPopupArming() { return m_popup; }
  // In hidden scan mode the download-and-install window, kept open hidden without a modal loop
  // for the launcher's downloads (null otherwise).
  CDlgNagDownloadAndInstall* GetDownloadWindow() const { return m_pDownloadWindow.get(); }
  // The launcher link while the launcher is told (null otherwise).
  CKXLauncherLink* GetLauncherLink() { return m_pLink.get(); }
  // The scan pages' host (null before the groups are built).
  CVelquorScanHost* GetScanHost() const { return m_pScanHost.get(); }
  // The results page's host (null before the groups are built).
  CVelquorResultsHost* GetResultsHost() const { return m_pResultsHost.get(); }
  // The settings group's exclusion list page (null before the groups are built).
  CDlgDrvExclusion* GetExclusionPage() const { return m_pExclusionPage; }
  const CString& GetDataFolder() const { return m_strDataFolder; }
  const CString& GetTempFolder() const { return m_strTempFolder; }
  const CString& GetDownloadFolder() const { return m_strDownloadFolder; }
  const CString& GetBackupFolder() const { return m_strBackupFolder; }
  const CString& GetUpdaterFolder() const { return m_strUpdaterFolder; }
  const tagOsFolders& GetOsFolders() const { return m_osFolders; }
  CVelquorApp& GetApp() { return m_app; }

  // The settings folders page's host.
  CString GetCurrentFolder(Kind kind) const override;
  void SetCurrentFolder(Kind kind, const CString& folder) override;
  CString GetDefaultFolder(Kind kind) const override;
  CString GetBaseFolder() const override;
  CString BrowseForFolder(CWnd* owner, const CString& start) override;

  // The driver feedback form on the last scan's request, over the window.
  void RunDriverFeedback(CWnd* over);
  // Runs the one-click results popup modally over the parent.
  void RunOneClickResults(CWnd* parent);

  // The main window's page-change callback (always allows the change).
  static int PageChangeCallback(CDlgBaseWnd* pDialog, int nCode);

  // The backup and restore groups' side of the window.
  CVelquorWizards* GetWizards() const { return m_pWizards.get(); }
  // Opens the scan tab and starts a scan there.
  void ScanFromTab();
  // The same, and the backup tab comes back once that scan has found the devices.
  void ScanForBackup();
  // Whether a scan started for a backup has ended; the mark is taken away with the answer.
  bool TakeBackupAfterScan() { return std::exchange(m_bBackupAfterScan, false); }
  void ShowBackupTabSoon() { SetTimer(kBackupTabTimer, 0, nullptr); }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnOK() override;
  void OnCancel() override;
  // The close request: only while the window is enabled.
  void ExitApp() override;

  // Ends the process at once (watchdog, launcher exit, hidden-mode stop, a one-click scan's
  // abort): the quit message with code 18, then exit code 0 without destructors.
  friend class CVelquorScanHost;
  virtual void EndProcessNow();
  // Starts the program again elevated with the parameters and lets this run end; TRUE when the
  // new process started.
  virtual BOOL StartElevated(const CString& parameters);

  afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnFeedback();
  afx_msg LRESULT OnBringToFront(WPARAM wParam, LPARAM lParam);
  // The update engine's word that a backup made before an install is whole (wParam 1).
  afx_msg LRESULT OnBackupExists(WPARAM wParam, LPARAM lParam);

 private:
  void BuildFolders();
  void BuildGroups();
  void StartByMode();
  void StartLauncherLink();
  void CreateDownloadWindow();
  // Posts "scan now" to the scan home page; FALSE while the scan group has none.
  BOOL PostScanNow();
  static CString ReadSettingText(LPCTSTR name);
  // A second start's word: "shutdown", "autofix" or "schedulescan"; the answer of the hand-off.
  LRESULT TakeSecondStart(CString word);
  void OnPageChange(int nCode);
  // The scan tab: the page of the scan's current step.
  void ReturnToScanStep();
  // The results tab: the results of the last scan, else the offer of a scan.
  void OpenResultsTab();
  void SelectGroupButton(Group group, UINT command);
  void RunSchedulerProgram();
  static void PumpMessages();

  CVelquorApp& m_app;
  CDriverInstallEngine m_installEngine;
  CDriverScanUpdate m_scanEngine;
  CString m_strDownloadFolder;
  CString m_strTempFolder;
  CString m_strBackupFolder;
  CString m_strDataFolder;
  CString m_strDataFolderSlash;
  CString m_strDefaultDownloadFolder;
  CString m_strDefaultBackupFolder;
  CString m_strProgramFolder;
  CString m_strUpdaterFolder;
  tagOsFolders m_osFolders;
  CMapStringToString m_mapDownloads;
  CMapStringToString m_mapBackups;
  std::atomic<BOOL> m_bUiEnabled = TRUE;
  bool m_bBackupAfterScan = false;
  CDlgLeftDlgBase* m_pGroups[kGroupCount] = {};
  // The settings pages, owned by the settings group's panel once placed there.
  CDlgSetting1General* m_pGeneralPage = nullptr;
  CDlgSetting3Loc* m_pFoldersPage = nullptr;
  CDlgDrvExclusion* m_pExclusionPage = nullptr;
  std::unique_ptr<CVelquorWizards> m_pWizards;
  tagLauncherState m_launcher;
  CPopupArming m_popup;
  std::unique_ptr<CKXLauncherLink> m_pLink;
  std::unique_ptr<CVelquorScanHost> m_pScanHost;
  std::unique_ptr<CVelquorResultsHost> m_pResultsHost;
  // Gone before the results host its runs report to.
  std::unique_ptr<CDlgNagDownloadAndInstall> m_pDownloadWindow;
  // Kept once the window's first picture is drawn, or when it will not be shown (hidden scan
  // mode); the update check waits for it, so that the checker's start does not hold up the
  // first picture. A window gone before it starts no check.
  std::promise<void> m_firstPicture;
  bool m_bFirstPaintSeen = false;
  bool m_bFirstPictureKept = false;

  void KeepFirstPicture();

  DECLARE_MESSAGE_MAP()
};

// The one main window of the run (null before it is made and after it is gone).
extern CVelquorDlg* g_pMainDlg;
