// The driver backup run: staging folder, backup engine, packer, clean-up.
#include "BackupRun.h"

#include "DriverInstallEngine.h"
#include "PackageInstall.h"
#include "PathHelpers.h"

int RunDriverBackup(LPCTSTR staging, LPCTSTR archivePath, CDeviceRecordArray& drivers, int count,
                    const CBackupRestore::Progress& progress, BackupPackReport* report) {
  BackupPackReport own;
  BackupPackReport& outcome = report != nullptr ? *report : own;
  outcome = BackupPackReport{};
  CDriverInstallEngine& engine = GetProcessEngine();
  CDriverInstallEngine::COperation running(engine);
  engine.SetStepCode(kStepIdle);
  DeleteFolderTree(staging);
  if (CreateDirectoryTree(staging) != 1) return kPackFailed;

  CBackupRestore backup;
  backup.SetProgress(progress);
  const int backedUp = backup.BackupDriver(staging, drivers, count);
  int result = backedUp == kStepStopBackup ? kPackStopped : kBackupRefused;
  if (backedUp == kStepCompleted) {
    CString archiveFolder = archivePath;
    RemoveFileSpec(archiveFolder);
    result = CreateDirectoryTree(archiveFolder) == 1 ? CompressBackupFolder(staging, archivePath, &outcome) : kPackFailed;
  }
  outcome.skippedLinks += backup.GetSkippedLinks();
  DeleteFolderTree(staging);
  return result;
}
