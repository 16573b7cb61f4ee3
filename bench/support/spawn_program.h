// A program started as a process of its own with one word on its command line, in the given
// machine root (handed over as ZX_MACHINE_ROOT, whatever the benchmark's own environment says).
#pragma once
#include <spawn.h>

#include <string>
#include <vector>

extern char** environ;

namespace zx::bench {

// The process id, 0 when the program did not start.
inline pid_t SpawnInRoot(std::string program, std::string word, const std::string& root) {
  char* argv[] = {program.data(), word.data(), nullptr};
  std::string rootVariable = "ZX_MACHINE_ROOT=" + root;
  std::vector<char*> environment;
  for (char** entry = environ; *entry != nullptr; ++entry)
    if (std::string(*entry).rfind("ZX_MACHINE_ROOT=", 0) != 0) environment.push_back(*entry);
  environment.push_back(rootVariable.data());
  environment.push_back(nullptr);
  pid_t pid = 0;
  return posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environment.data()) == 0 ? pid : 0;
}

}  // namespace zx::bench
