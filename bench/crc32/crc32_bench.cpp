// CRC-32 speed in one run: CCrc32Dynamic, libdeflate's libdeflate_crc32 (which uses the same
// carry-less multiply instructions ours does) and zlib's crc32 over the same 256 MiB file, read
// the same two ways (mapped in 10 MiB views, and read in 4096-byte blocks), and zlib over the
// host's own mmap in the same views as the yardstick of the file mapping. Both sides of the
// mapping comparison map with the same flags and no advice; they run in alternating rounds
// over a file already read once each way, since this machine's load moves their times by a
// third from one second to the next. The ratios are printed at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "Crc32Dynamic.h"
#include "zx/machine.h"

#include "bench_root.h"
#include "ratio_reporter.h"

namespace {

constexpr ULONGLONG kFileBytes = 256ull << 20;
constexpr ULONGLONG kViewBytes = 0xA00000;
constexpr LPCTSTR kPath = _T("C:\\crc.bin");

// The yardsticks' checksum of a run of bytes, continued from `crc` (0 to start).
DWORD Zlib(DWORD crc, const void* bytes, std::size_t count) {
  return static_cast<DWORD>(crc32(crc, static_cast<const Bytef*>(bytes), static_cast<uInt>(count)));
}
DWORD Libdeflate(DWORD crc, const void* bytes, std::size_t count) { return libdeflate_crc32(crc, bytes, count); }
using Checksum = DWORD (*)(DWORD, const void*, std::size_t);

DWORD ByMapping(Checksum checksum);
DWORD ZlibByHostMmap();

// A machine root of its own holding the 256 MiB file, removed at the end.
class BenchFile {
 public:
  BenchFile() {
    std::mt19937_64 random(2024);
    std::vector<std::uint64_t> block(1 << 17);  // 1 MiB
    const std::string path = zx::machine::DriveCFolder() + "/crc.bin";
    std::ofstream out(path, std::ios::binary);
    for (ULONGLONG written = 0; written < kFileBytes; written += block.size() * 8) {
      for (auto& word : block) word = random();
      out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size() * 8));
    }
    out.close();
    // On the disk before the first run, so that no run pays for writing it back.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ::fsync(fd);
    ::close(fd);
    // Each way read once, so that no round pays for the first touch of the file.
    ByMapping(Zlib);
    ZlibByHostMmap();
  }

 private:
  zx::bench::BenchRoot root_;
};

BenchFile& File() {
  static BenchFile file;
  return file;
}

// A yardstick's checksum over the file mapped the way CrcOfFileByMapping maps it.
DWORD ByMapping(Checksum checksum) {
  HANDLE file = CreateFileW(kPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  DWORD crc = 0;
  for (ULONGLONG offset = 0; offset < kFileBytes; offset += kViewBytes) {
    const SIZE_T length = static_cast<SIZE_T>(std::min(kViewBytes, kFileBytes - offset));
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, static_cast<DWORD>(offset >> 32),
                                     static_cast<DWORD>(offset), length);
    crc = checksum(crc, view, length);
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  CloseHandle(file);
  return crc;
}

// zlib's crc32 over the same views made by the host's mmap directly.
DWORD ZlibByHostMmap() {
  const int fd = ::open((zx::machine::DriveCFolder() + "/crc.bin").c_str(), O_RDONLY | O_CLOEXEC);
  uLong crc = crc32(0, nullptr, 0);
  for (ULONGLONG offset = 0; offset < kFileBytes; offset += kViewBytes) {
    const std::size_t length = static_cast<std::size_t>(std::min(kViewBytes, kFileBytes - offset));
    void* view = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, fd, static_cast<off_t>(offset));
    crc = crc32(crc, static_cast<const Bytef*>(view), static_cast<uInt>(length));
    ::munmap(view, length);
  }
  ::close(fd);
  return static_cast<DWORD>(crc);
}

// A yardstick's checksum over the file read the way CrcOfFileByReadFast reads it.
DWORD ByRead(Checksum checksum) {
  HANDLE file = CreateFileW(kPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  DWORD crc = 0;
  BYTE block[4096];
  DWORD read = 0;
  while (ReadFile(file, block, sizeof block, &read, nullptr) && read != 0) crc = checksum(crc, block, read);
  CloseHandle(file);
  return crc;
}

void Report(benchmark::State& state, DWORD crc) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
  state.counters["crc"] = static_cast<double>(crc);
}

void BM_Crc32Dynamic_Mapping(benchmark::State& state) {
  File();
  CCrc32Dynamic crc32Dynamic;
  crc32Dynamic.BuildTable();
  DWORD crc = 0;
  for (auto _ : state) benchmark::DoNotOptimize(crc32Dynamic.CrcOfFileByMapping(kPath, crc));
  Report(state, crc);
}

template <Checksum Yardstick>
void BM_Mapping(benchmark::State& state) {
  File();
  DWORD crc = 0;
  for (auto _ : state) benchmark::DoNotOptimize(crc = ByMapping(Yardstick));
  Report(state, crc);
}

void BM_Zlib_HostMmap(benchmark::State& state) {
  File();
  DWORD crc = 0;
  for (auto _ : state) benchmark::DoNotOptimize(crc = ZlibByHostMmap());
  Report(state, crc);
}

void BM_Crc32Dynamic_ReadFast(benchmark::State& state) {
  File();
  CCrc32Dynamic crc32Dynamic;
  crc32Dynamic.BuildTable();
  DWORD crc = 0;
  for (auto _ : state) benchmark::DoNotOptimize(crc32Dynamic.CrcOfFileByReadFast(kPath, crc));
  Report(state, crc);
}

template <Checksum Yardstick>
void BM_Read(benchmark::State& state) {
  File();
  DWORD crc = 0;
  for (auto _ : state) benchmark::DoNotOptimize(crc = ByRead(Yardstick));
  Report(state, crc);
}

BENCHMARK(BM_Crc32Dynamic_ReadFast)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_Read<Zlib>)->Name("BM_Zlib_Read")->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_Read<Libdeflate>)->Name("BM_Libdeflate_Read")->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

int main(int argc, char** argv) {
  zx::bench::RegisterAlternating("BM_Zlib_Mapping", BM_Mapping<Zlib>, "BM_Zlib_HostMmap", BM_Zlib_HostMmap, 12, 0.3);
  zx::bench::RegisterAlternating("BM_Crc32Dynamic_Mapping", BM_Crc32Dynamic_Mapping, "BM_Libdeflate_Mapping",
                                 BM_Mapping<Libdeflate>, 6, 0.3);
  return zx::bench::RunWithRatios(
      argc, argv,
      {
          {"file mapping vs host mmap (zlib crc32)", "BM_Zlib_Mapping", "BM_Zlib_HostMmap", 0.91},
          {"CRC-32 mapped vs libdeflate_crc32 mapped", "BM_Crc32Dynamic_Mapping", "BM_Libdeflate_Mapping", 0},
          {"CRC-32 read vs libdeflate_crc32 read", "BM_Crc32Dynamic_ReadFast", "BM_Libdeflate_Read", 0},
          {"CRC-32 mapped vs zlib mapped", "BM_Crc32Dynamic_Mapping", "BM_Zlib_Mapping", 0},
          {"CRC-32 read vs zlib read", "BM_Crc32Dynamic_ReadFast", "BM_Zlib_Read", 0},
      });
}
