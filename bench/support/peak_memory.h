// The peak resident memory of a benchmark program, or of a program it ran, printed after its
// runs.
#pragma once
#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace zx::bench {

// The most memory a process that has ended held resident, in MB, from its resource usage.
inline double PeakResidentMb(const rusage& usage) { return static_cast<double>(usage.ru_maxrss) / 1024.0; }

// The most memory the process held resident at any time, in MB.
inline double PeakResidentMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return PeakResidentMb(usage);
}

// The peak resident memory counted again from what the process holds now, so that a step's
// own peak can be read after it (Linux clear_refs); false when the system does not allow it.
inline bool RestartPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

// The peak resident memory since the start or the last restart, in MB (VmHWM); 0 when unknown.
inline double PeakResidentSinceRestartMb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
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
