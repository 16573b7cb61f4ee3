// The backup packer (the zip writer at level 8) against Info-ZIP's "zip -8" on the same
// ~200 MB of driver-like files: 3,000 small INF-like texts and binaries and four large
// binaries, made once in a temporary machine root.
// Reports MB/s and the archive's size, then the writer's speed relative to zip -8.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "BackupArchive.h"
#include "bench_root.h"
#include "ratio_reporter.h"

namespace {

namespace fs = std::filesystem;

// Binary of a driver's kind: runs of code-like repeats, zero padding and random tables.
std::string DriverBinary(std::mt19937& random, std::size_t size) {
  std::string bytes;
  bytes.reserve(size);
  while (bytes.size() < size) {
    const unsigned kind = random() % 10;
    if (kind < 3) {
      for (int i = 0; i < 64; ++i) bytes.push_back(static_cast<char>(random()));
    } else if (kind < 5) {
      bytes.append(64, '\0');
    } else if (bytes.size() > 4096) {
      const std::size_t from = random() % (bytes.size() - 4096);
      bytes.append(bytes, from, 64 + random() % 192);
    } else {
      bytes.append("\x55\x8B\xEC\x83\xEC\x10\x53\x56\x57\x8B\x7D\x08\x33\xF6", 14);
    }
  }
  bytes.resize(size);
  return bytes;
}

std::string InfText(std::mt19937& random, std::size_t size) {
  std::string text = "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Net\r\n";
  while (text.size() < size) {
    text += "HKR, Ndi\\params\\Param" + std::to_string(random() % 500) + ", ParamDesc, , \"Setting " +
            std::to_string(random() % 100000) + "\"\r\n";
  }
  text.resize(size);
  return text;
}

struct Files {
  zx::bench::BenchRoot root{"zxzipbench"};
  std::string staging;
  std::uintmax_t total = 0;

  Files() {
    staging = root.folder() + "/drive_c/Staging";
    std::mt19937 random(2024);
    for (int i = 0; i < 3000; ++i) {
      const std::string folder = staging + "/Driver " + std::to_string(i / 6);
      fs::create_directories(folder);
      const std::size_t size = 2000 + random() % 40000;
      const bool text = i % 2 == 0;
      Write(folder + "/file" + std::to_string(i) + (text ? ".inf" : ".sys"), text ? InfText(random, size) : DriverBinary(random, size));
    }
    for (int i = 0; i < 4; ++i) {
      fs::create_directories(staging + "/Large");
      Write(staging + "/Large/big" + std::to_string(i) + ".sys", DriverBinary(random, 36u << 20));
    }
  }

  void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    total += bytes.size();
  }
};

Files& TheFiles() {
  static Files files;
  return files;
}

void Report(benchmark::State& state, std::uintmax_t archiveSize) {
  const Files& files = TheFiles();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * files.total));
  state.counters["input_MB"] = static_cast<double>(files.total) / 1e6;
  state.counters["archive_MB"] = static_cast<double>(archiveSize) / 1e6;
}

void BM_ZipWriterLevel8(benchmark::State& state) {
  Files& files = TheFiles();
  const std::string archive = files.root.folder() + "/drive_c/writer.zip";
  for (auto _ : state) {
    if (CompressBackupFolder(_T("C:\\Staging"), _T("C:\\writer.zip")) != kPacked) state.SkipWithError("packing failed");
  }
  Report(state, fs::file_size(archive));
}
BENCHMARK(BM_ZipWriterLevel8)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_InfoZipLevel8(benchmark::State& state) {
  Files& files = TheFiles();
  const std::string archive = files.root.folder() + "/drive_c/infozip.zip";
  const std::string command = "cd '" + files.staging + "' && rm -f '" + archive + "' && zip -8 -r -q '" + archive + "' .";
  if (std::system("command -v zip > /dev/null") != 0) {
    state.SkipWithError("no zip");
    return;
  }
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("zip failed");
  }
  Report(state, fs::file_size(archive));
}
BENCHMARK(BM_InfoZipLevel8)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  return zx::bench::RunWithRatios(
      argc, argv,
      {
          {"zip writer level 8 vs zip -8", "BM_ZipWriterLevel8", "BM_InfoZipLevel8", 0},
      });
}
