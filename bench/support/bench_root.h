// A machine root of a benchmark's own: a fresh folder under $TMPDIR (else /tmp), made the
// machine root of the process and removed with everything in it at the end; and the main
// function of benchmarks whose peer processes must find the same root through
// ZX_MACHINE_ROOT.
#pragma once
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "zx/machine.h"

namespace zx::bench {

inline std::string MakeBenchFolder(const char* name) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp != 0 ? tmp : "/tmp") + "/" + name + "-XXXXXX";
  return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

class BenchRoot {
 public:
  explicit BenchRoot(const char* name = "zxbench") : folder_(MakeBenchFolder(name)) {
    if (folder_.empty()) std::abort();
    zx::machine::UseRoot(folder_);
  }
  ~BenchRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  BenchRoot(const BenchRoot&) = delete;
  BenchRoot& operator=(const BenchRoot&) = delete;

  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
};

// Runs the benchmarks in a machine root of their own (given to child processes through
// ZX_MACHINE_ROOT) unless the environment already names one.
inline int RunInOwnRoot(int argc, char** argv, const char* name) {
  std::string root;
  if (std::getenv("ZX_MACHINE_ROOT") == nullptr) {
    root = MakeBenchFolder(name);
    if (root.empty()) return 1;
    ::setenv("ZX_MACHINE_ROOT", root.c_str(), 1);
  }
  ::benchmark::Initialize(&argc, argv);
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  if (!root.empty()) std::filesystem::remove_all(root);
  return 0;
}

}  // namespace zx::bench
