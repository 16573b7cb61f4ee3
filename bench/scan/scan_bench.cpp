// A full device scan of the generated workstation (2,000 present devices): the device set,
// the signed-driver list over WMI and every device's record. Reports devices a second.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "DeviceScanner.h"
#include "profileapi.h"
#include "zx/machine.h"
#include "zx/machineprofile.h"
#include "zx/pathmap.h"

namespace {

int g_reported = 0;

BOOL Count(CDeviceRecordArray*, int) {
  ++g_reported;
  return TRUE;
}

// A machine root of its own, seeded once from the workstation profile.
class SeededMachine {
 public:
  SeededMachine() {
    char pattern[] = "/tmp/zx-scan-bench-XXXXXX";
    folder_ = mkdtemp(pattern);
    zx::machine::UseRoot(folder_);
    WritePrivateProfileStringW(u"Machine", u"Administrator", u"1",
                               zx::path::HostToWindows(folder_ + "/machine.ini").c_str());
    zx::devices::MachineProfile profile;
    std::string error;
    if (!zx::devices::LoadProfileFile(ZX_WORKSTATION_PROFILE, profile, error) ||
        zx::devices::SeedMachine(profile, zx::devices::SeedOptions{false, "workstation"}, error) !=
            zx::devices::SeedResult::Seeded) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::abort();
    }
    devices_ = static_cast<int>(profile.devices.size());
  }
  ~SeededMachine() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  int devices() const { return devices_; }

 private:
  std::string folder_;
  int devices_ = 0;
};

void BM_FullScanWorkstation(benchmark::State& state) {
  static SeededMachine machine;
  for (auto _ : state) {
    g_reported = 0;
    CDeviceScanner scanner(Count);
    if (scanner.ScanDevices() != 32 || g_reported != machine.devices()) state.SkipWithError("scan failed");
  }
  state.SetItemsProcessed(state.iterations() * machine.devices());
  state.counters["devices/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * machine.devices(),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FullScanWorkstation)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
