// What the backup pages need of the main window that holds them: its backup values, its
// elevation prompt, its left-panel buttons and its page switch.
#pragma once
#include <afx.h>
#include <afxcoll.h>
#include <windows.h>

class CDriverScanUpdate;

// The main window's backup values the pages read and write.
struct tagBackupWizardState {
  int devicesFound = 0;      // by the last scan
  int driversChosen = 0;     // for the running backup
  int driversHandled = 0;    // by the backup engine in the last backup
  BOOL backupAll = FALSE;    // cleared by the engine once used
  BOOL allChosen = FALSE;    // the last backup asked for took every driver
  BOOL backupStarted = FALSE;
  BOOL failed = FALSE;
  BOOL aborted = FALSE;
  BOOL busy = FALSE;         // a backup thread runs
};

class CBackupWizardOwner {
 public:
  // Page commands of the backup group: 1199 first page to 1202 fourth.
  static constexpr UINT kFirstPage = 1199;
  static constexpr UINT kSecondPage = 1200;
  static constexpr UINT kThirdPage = 1201;
  static constexpr UINT kFourthPage = 1202;

  virtual ~CBackupWizardOwner() = default;
  virtual tagBackupWizardState& BackupState() = 0;
  // The elevation prompt with that text and style: 1 granted, -1 refused, other answers none.
  virtual int RelaunchAsAdmin(const CString& text, UINT style) = 0;
  // Enables the left-panel button of that index (0 first) and disables the others.
  virtual void EnableOnlyLeftButton(int index) = 0;
  // Posts the page command to the main window.
  virtual void ShowBackupPage(UINT command) = 0;
  // Starts a scan that shows the backup pages again when it ends.
  virtual void ScanBeforeBackup() = 0;
  // Starts the backup of the third page (its timer).
  virtual void StartBackup() = 0;

  // The update engine that backs the drivers up.
  virtual CDriverScanUpdate& Engine() = 0;
  // The staging folder and the backup folder (setting "Backup Path").
  virtual CString StagingFolder() = 0;
  virtual CString BackupFolder() = 0;
  // Keeps another backup folder as the setting "Backup Path".
  virtual void StoreBackupFolder(const CString& folder) = 0;
  // The folder chooser: false when the user cancels.
  virtual bool ChooseBackupFolder(CString& folder) = 0;
  // The backup list (archive name to path) and its saving.
  virtual CMapStringToString& BackupList() = 0;
  virtual void SaveBackupList() = 0;
  // Disables (while a backup runs) or enables again the main window's pages.
  virtual void EnableUi(BOOL enable) = 0;

  // Called on the backup's worker thread: each step of the copy (the percentage done), and
  // the bytes free to the caller on the backup folder's volume ("C:\") before packing.
  virtual void OnBackupProgress(int percent) { (void)percent; }
  virtual bool FreeSpace(LPCTSTR volume, ULONGLONG& freeBytes) {
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(volume, &available, nullptr, nullptr)) return false;
    freeBytes = available.QuadPart;
    return true;
  }
};
