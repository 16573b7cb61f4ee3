// Registry speed: value writes into a hive that already holds 50,000 values (each write
// survives the death of its process), reads, and loading that hive afresh.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "winreg.h"
#include "zx/hive.h"
#include "zx/machine.h"

#include "bench_root.h"

namespace {

constexpr int kKeys = 100;
constexpr int kValuesPerKey = 500;  // 50,000 values in all

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// A machine root of its own, filled once with the 50,000 values.
class BenchHive {
 public:
  BenchHive() {
    for (int k = 0; k < kKeys; ++k) {
      HKEY key = Open(k);
      for (int v = 0; v < kValuesPerKey; ++v) {
        const std::u16string name = Wide("Value" + std::to_string(v));
        const std::u16string data = Wide("Some text of a typical length " + std::to_string(v));
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * 2));
      }
      RegCloseKey(key);
    }
  }
  static HKEY Open(int k) {
    HKEY key = nullptr;
    const std::u16string path = Wide("Software\\Bench\\Key" + std::to_string(k));
    RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
  }

 private:
  zx::bench::BenchRoot root_;
};

BenchHive& Hive() {
  static BenchHive hive;
  return hive;
}

void BM_SetDwordValue(benchmark::State& state) {
  Hive();
  HKEY key = BenchHive::Open(7);
  std::vector<std::u16string> names;
  for (int v = 0; v < kValuesPerKey; ++v) names.push_back(Wide("Value" + std::to_string(v)));
  DWORD counter = 0;
  for (auto _ : state) {
    ++counter;
    if (RegSetValueExW(key, names[counter % names.size()].c_str(), 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&counter), 4) != ERROR_SUCCESS)
      state.SkipWithError("write failed");
  }
  state.SetItemsProcessed(state.iterations());
  RegCloseKey(key);
}
BENCHMARK(BM_SetDwordValue)->MinTime(2.0);

void BM_QueryDwordValue(benchmark::State& state) {
  Hive();
  HKEY key = BenchHive::Open(8);
  const DWORD value = 42;
  RegSetValueExW(key, u"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
  for (auto _ : state) {
    DWORD read = 0, size = 4;
    RegQueryValueExW(key, u"Number", nullptr, nullptr, reinterpret_cast<BYTE*>(&read), &size);
    benchmark::DoNotOptimize(read);
  }
  state.SetItemsProcessed(state.iterations());
  RegCloseKey(key);
}
BENCHMARK(BM_QueryDwordValue);

void BM_QueryTextValue(benchmark::State& state) {
  Hive();
  HKEY key = BenchHive::Open(9);
  char16_t text[64];
  for (auto _ : state) {
    DWORD size = sizeof text;
    RegQueryValueExW(key, u"Value123", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    benchmark::DoNotOptimize(text);
  }
  state.SetItemsProcessed(state.iterations());
  RegCloseKey(key);
}
BENCHMARK(BM_QueryTextValue);

void BM_LoadHiveAfresh(benchmark::State& state) {
  Hive();
  for (auto _ : state) {
    zx::registry::ForgetCachedHives();
    DWORD size = 0;
    RegQueryValueExW(HKEY_CURRENT_USER, u"x", nullptr, nullptr, nullptr, &size);
  }
}
BENCHMARK(BM_LoadHiveAfresh)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
