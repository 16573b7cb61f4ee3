// CDlgNagDownloadAndInstall::UseDriverRoad: the popup's runs on the install road that the
// update engine and the package fetch make up: the link asked for and the package fetched and
// checked, the drivers backed up and packed, the package installed by its type, the result rows
// marked.
#include "DlgNagDownloadAndInstall.h"
#include "DriverPackageFetch.h"
#include "DriverScanUpdate.h"
#include "PackageInstall.h"
#include "PathHelpers.h"

namespace {
constexpr int kStepCompleted = 32;
constexpr int kStepStopped = 19;
}  // namespace

void CDlgNagDownloadAndInstall::UseDriverRoad(CDriverScanUpdate& engine, CDriverPackageFetch& fetch,
                                              const CString& backupFolder, std::function<int()> pack) {
  engine.SetDownloadedPackages(&fetch.GetDownloadedPackages());
  fetch.SetProgress([this](int percent) { Post({RunEvent::kProgress, percent, 0, CString()}); });
  // The rows are marked on the window's thread, from the run's events.
  fetch.SetRowStateSink(nullptr);
  tagNagDriverRoad road;
  road.fetch = [&fetch](int driverIndex, int row, const tagNagDriverRoad::StatusSink& status,
                        const tagNagDriverRoad::MessageSink& message) {
    fetch.SetStatusLine(status);
    fetch.SetMessageBox(message);
    fetch.SetConnectionFlag(TRUE);
    const int result = fetch.FetchAndDownloadDriver(driverIndex, row);
    fetch.SetStatusLine(nullptr);
    fetch.SetMessageBox(nullptr);
    return result == CDriverPackageFetch::kHandled && fetch.IsDownloaded();
  };
  road.install = [&engine](int driverIndex) { return engine.InstallDownloadedDrivers(driverIndex); };
  road.backup = [&engine, backupFolder](const std::vector<int>& rows, const tagNagDriverRoad::BackupProgress& progress) {
    if (backupFolder.IsEmpty() || CreateDirectoryTree(backupFolder) != 1) return 0;
    const int result = engine.BackupDriversForUpdate(backupFolder, rows, progress);
    // A stopped backup is of no use: its folder goes.
    if (result == kStepStopped) DeleteFolderTree(backupFolder);
    return result == kStepCompleted ? static_cast<int>(rows.size()) : 0;
  };
  road.pack = std::move(pack);
  road.stop = [&fetch] { fetch.RequestStop(); };
  road.stopBackup = [&engine] { engine.StopOperation(FALSE); };
  road.begin = [&fetch] { fetch.ClearStopRequest(); };
  road.rowState = [&engine](int row, int state) { engine.SetResultRowState(row, state, 0); };
  road.clearCheck = [&engine](int row) { engine.ClearResultRowCheck(row); };
  road.hasPackage = [&fetch](int driverIndex) { return fetch.HasPackageFor(driverIndex); };
  road.connection = [] { return true; };
  road.lastError = [&fetch] { return fetch.GetLastErrorCode(); };
  SetDriverRoad(std::move(road));
}
