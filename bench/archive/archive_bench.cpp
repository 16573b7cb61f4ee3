// Extracting a 200 MB zip archive of 28,000 small files (8 KB each, seven eighths of every file
// random and the rest text, so the entries are deflated) through the zip extraction wrapper, as
// the install engine extracts a package, and with Debian's unzip on the same archive. The
// archive is made once, at start, in a temporary machine root. The speed relative to unzip
// is printed at the end.
#include <benchmark/benchmark.h>
#include <minizip/zip.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "ZipArchive.h"
#include "ratio_reporter.h"
#include "zx/machine.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 28000;
constexpr std::size_t kFileSize = 8192;

struct Bench {
  fs::path root;
  fs::path zip;

  Bench() {
    // Both extract into memory when the host has a memory file system, so the figures
    // compare the extraction code rather than the disk's inode allocation of the moment.
    std::string pattern = (fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp") + std::string("/zxarchivebench-XXXXXX");
    root = mkdtemp(pattern.data());
    zx::machine::UseRoot(root.string());
    fs::create_directories(root / "drive_c" / "bench");
    zip = root / "drive_c" / "bench" / "package.zip";
    std::mt19937 random(12345);
    std::vector<char> content(kFileSize);
    zipFile out = zipOpen64(zip.c_str(), APPEND_STATUS_CREATE);
    for (int i = 0; i < kFiles; ++i) {
      for (std::size_t b = 0; b < kFileSize * 7 / 8; ++b) content[b] = static_cast<char>(random());
      for (std::size_t b = kFileSize * 7 / 8; b < kFileSize; ++b) content[b] = "driver package text "[b % 20];
      const std::string name = "drivers/set" + std::to_string(i / 256) + "/file" + std::to_string(i) + ".sys";
      zip_fileinfo info{};
      zipOpenNewFileInZip(out, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 1);
      zipWriteInFileInZip(out, content.data(), static_cast<unsigned>(content.size()));
      zipCloseFileInZip(out);
    }
    zipClose(out, nullptr);
  }
  ~Bench() { fs::remove_all(root); }
};

Bench& Setup() {
  static Bench bench;
  return bench;
}

// Each run extracts into a folder of its own: removing the last run's files first would
// make the file system's inode allocation, not the extraction, the larger cost.
std::u16string NextFolder(const char* kind) {
  static int runs = 0;
  const std::string name = std::string(kind) + std::to_string(++runs);
  return u"C:\\bench\\" + std::u16string(name.begin(), name.end());
}

void BM_ZipArchiveExtract(benchmark::State& state) {
  Bench& bench = Setup();
  for (auto _ : state) {
    const std::u16string folder = NextFolder("out");
    HZIP zip = ZipArchiveOpen(u"C:\\bench\\package.zip");
    ZipItemInfo archive;
    ZipArchiveGetItem(zip, &archive, -1);
    for (int i = 0; i < archive.index; ++i) {
      ZipItemInfo item;
      ZipArchiveGetItem(zip, &item, i);
      ZipArchiveSetBaseFolder(zip, folder.c_str());
      if (ZipArchiveExtractItem(zip, item.name, i) != 0) state.SkipWithError("extraction failed");
    }
    ZipArchiveClose(zip);
  }
  state.counters["zip_MB"] = static_cast<double>(fs::file_size(bench.zip)) / 1e6;
}

void BM_Unzip(benchmark::State& state) {
  Bench& bench = Setup();
  for (auto _ : state) {
    const std::u16string folder = NextFolder("unzip");
    const fs::path out = bench.root / "drive_c" / "bench" / std::string(folder.begin() + 9, folder.end());
    const std::string command = "unzip -qq -o '" + bench.zip.string() + "' -d '" + out.string() + "'";
    if (std::system(command.c_str()) != 0) state.SkipWithError("unzip failed");
  }
}

BENCHMARK(BM_ZipArchiveExtract)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(2);
BENCHMARK(BM_Unzip)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(2);

}  // namespace

int main(int argc, char** argv) {
  return zx::bench::RunWithRatios(
      argc, argv,
      {
          {"zip extraction vs unzip", "BM_ZipArchiveExtract", "BM_Unzip", 0},
      });
}
