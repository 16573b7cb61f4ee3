// The peak resident memory of a benchmark program, printed after its runs.
#pragma once
#include <sys/resource.h>

#include <cstdio>

namespace zx::bench {

// The most memory the process held resident at any time, in MB.
inline double PeakResidentMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// "peak resident memory   N MB", with its goal when there is one (0: none).
inline void PrintPeakResidentMemory(double goalMb) {
  if (goalMb > 0) {
    std::printf("\n%-44s %6.1f MB  (goal under %.0f)\n", "peak resident memory", PeakResidentMb(), goalMb);
  } else {
    std::printf("\n%-44s %6.1f MB\n", "peak resident memory", PeakResidentMb());
  }
}

}  // namespace zx::bench
