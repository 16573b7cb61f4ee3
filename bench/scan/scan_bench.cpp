// A full device scan of the generated workstation (2,000 present devices): the device set,
// the signed-driver list over WMI and every device's record. Reports devices a second.
#include <benchmark/benchmark.h>

#include "DeviceScanner.h"
#include "seeded_workstation.h"

namespace {

int g_reported = 0;

BOOL Count(CDeviceRecordArray*, int) {
  ++g_reported;
  return TRUE;
}

void BM_FullScanWorkstation(benchmark::State& state) {
  static zx::bench::SeededWorkstation machine("zx-scan-bench");
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
