// The backup of every driver of the generated workstation (2,000 present devices), as the
// backup of all drivers runs it: the engine copying the drivers' files into the staging folder
// with its "index.dat", then the packing of that folder into the archive, each timed alone.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "BackupArchive.h"
#include "BackupRestore.h"
#include "DriverScanUpdate.h"
#include "EngineCallbacks.h"
#include "PackageInstall.h"
#include "seeded_workstation.h"

namespace {

class Workstation {
  zx::bench::SeededWorkstation machine_;  // first: the root exists before the engine

 public:
  Workstation() : machine_("zx-backup-bench") {
    SetEngineProgressView(&view_);
    if (engine.ReportScanEnd(_T("")) != 32 || engine.GetDeviceCount() < 1000) {
      std::fprintf(stderr, "the workstation scan failed\n");
      std::abort();
    }
    SetEngineProgressView(nullptr);
  }

  // Backs every scanned driver up into a fresh staging folder: the engine's answer.
  int Backup() {
    DeleteFolderTree(_T("C:\\Staging"));
    CBackupRestore backup(_T("C:\\Windows"));
    backup.SetProgress([](CDeviceRecordArray*, int) { return true; });
    return backup.BackupDriver(_T("C:\\Staging"), *engine.GetDevices(), engine.GetDeviceCount());
  }

  std::uintmax_t StagingBytes() const {
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(machine_.folder() + "/drive_c/Staging")) {
      if (entry.is_regular_file()) bytes += entry.file_size();
    }
    return bytes;
  }

  const std::string& folder() const { return machine_.folder(); }
  int devices() const { return machine_.devices(); }
  CDriverScanUpdate engine;

 private:
  CEngineProgressView view_;
};

Workstation& TheWorkstation() {
  static Workstation workstation;
  return workstation;
}

void BM_BackupCopyAndIndex(benchmark::State& state) {
  Workstation& machine = TheWorkstation();
  for (auto _ : state) {
    if (machine.Backup() != CBackupRestore::kDone) state.SkipWithError("backup failed");
  }
  state.counters["devices"] = machine.devices();
  state.counters["drivers"] = machine.engine.GetDeviceCount();
  state.counters["staging_MB"] = static_cast<double>(machine.StagingBytes()) / 1e6;
}
BENCHMARK(BM_BackupCopyAndIndex)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_BackupCompress(benchmark::State& state) {
  Workstation& machine = TheWorkstation();
  if (machine.Backup() != CBackupRestore::kDone) state.SkipWithError("backup failed");
  BackupPackReport report;
  for (auto _ : state) {
    if (CompressBackupFolder(_T("C:\\Staging"), _T("C:\\Backup.zip"), &report) != kPacked) state.SkipWithError("packing failed");
  }
  state.counters["files"] = report.files;
  state.counters["archive_MB"] =
      static_cast<double>(std::filesystem::file_size(machine.folder() + "/drive_c/Backup.zip")) / 1e6;
}
BENCHMARK(BM_BackupCompress)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
