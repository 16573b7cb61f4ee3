// The peak resident memory of a benchmark program, or of a program it ran, printed after its
// runs.
#pragma once
#include <sys/resource.h>

#include <cstdio>

namespace zx::bench {

// The most memory a process that has ended held resident, in MB, from its resource usage.
inline double PeakResidentMb(const rusage& usage) { return static_cast<double>(usage.ru_maxrss) / 1024.0; }

// The most memory the process held resident at any time, in MB.
inline double PeakResidentMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return PeakResidentMb(usage);
}

// "<what>   N MB", with its goal when there is one (0: none).
inline void PrintPeakMemory(const char* what, double megabytes, double goalMb) {
  if (goalMb > 0) {
    std::printf("\n%-44s %6.1f MB  (goal under %.0f)\n", what, megabytes, goalMb);
  } else {
    std::printf("\n%-44s %6.1f MB\n", what, megabytes);
  }
}

// "peak resident memory   N MB" of this process.
inline void PrintPeakResidentMemory(double goalMb) { PrintPeakMemory("peak resident memory", PeakResidentMb(), goalMb); }

}  // namespace zx::bench
