// What the backup pages need of the main window that holds them beyond what every wizard
// needs: its backup values, its page switch, the backup folder and the scan before a backup.
#pragma once
#include "WizardOwner.h"

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

class CBackupWizardOwner : public CWizardOwner {
 public:
  virtual tagBackupWizardState& BackupState() = 0;
  // Posts the page command to the main window.
  virtual void ShowBackupPage(UINT command) = 0;
  // Starts a scan that shows the backup pages again when it ends.
  virtual void ScanBeforeBackup() = 0;
  // Starts the backup of the third page (its timer).
  virtual void StartBackup() = 0;

  // The backup folder (setting "Backup Path").
  virtual CString BackupFolder() = 0;
  // Keeps another backup folder as the setting "Backup Path".
  virtual void StoreBackupFolder(const CString& folder) = 0;
  // The folder chooser: false when the user cancels.
  virtual bool ChooseBackupFolder(CString& folder) = 0;

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
