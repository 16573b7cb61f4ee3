// The launch log of the test stand-in programs: each start of a stand-in beside the test
// program appends its argument line to "launches.log" in the test program's folder.
#pragma once
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace zx::test {

inline std::filesystem::path LaunchLog() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "launches.log";
}

inline std::vector<std::string> LoggedLaunches() {
  std::vector<std::string> lines;
  std::ifstream in(LaunchLog());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The stand-in runs as a process of its own; its line shows up shortly after the start.
inline std::vector<std::string> WaitForLaunches(std::size_t count) {
  for (int i = 0; i < 1000 && LoggedLaunches().size() < count; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return LoggedLaunches();
}

}  // namespace zx::test
