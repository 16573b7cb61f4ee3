// File inventory speed: CFileInfoArray::ScanFolder over a tree of 100 folders of 1,000 files
// each (100,100 records with the folders), made once on the host.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FileInventory.h"
#include "zx/machine.h"

#include "bench_root.h"

namespace {

constexpr int kFolders = 100;
constexpr int kFiles = 1000;

class BenchTree {
 public:
  BenchTree() {
    char name[64];
    for (int f = 0; f < kFolders; ++f) {
      std::snprintf(name, sizeof name, "/Tree/d%03d", f);
      const std::string folder = zx::machine::DriveCFolder() + name;
      std::filesystem::create_directories(folder);
      for (int i = 0; i < kFiles; ++i) {
        std::snprintf(name, sizeof name, "/f%04d.dat", i);
        if (std::FILE* file = std::fopen((folder + name).c_str(), "w")) std::fclose(file);
      }
    }
  }

 private:
  zx::bench::BenchRoot root_;
};

void BM_ScanFolder_100000Files(benchmark::State& state) {
  static BenchTree tree;
  INT_PTR records = 0;
  for (auto _ : state) {
    CFileInfoArray files;
    volatile LONGLONG counter = 0;
    records = files.ScanFolder(_T("C:\\Tree\\"), _T("*.*"), TRUE, kFileInfoAppend, TRUE, nullptr, &counter);
    if (records != kFolders + kFolders * kFiles || counter != records)
      state.SkipWithError("wrong record count");
  }
  state.counters["records"] = static_cast<double>(records);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * records);
}

BENCHMARK(BM_ScanFolder_100000Files)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
