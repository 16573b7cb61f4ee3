// Starting the main program as a process of its own on a given machine root, as a benchmark
// that measures it from outside does.
#pragma once
#include <spawn.h>
#include <sys/types.h>

#include <string>
#include <vector>

extern char** environ;

namespace zx::bench {

// Starts the program with one argument on the machine root; its pid, or -1 when it did not start.
inline pid_t StartProgramOnRoot(const char* program, const char* argument, const std::string& root) {
  std::string path = program, word = argument;
  char* argv[] = {path.data(), word.data(), nullptr};
  std::string rootVariable = "ZX_MACHINE_ROOT=" + root;
  std::vector<char*> environment;
  for (char** entry = environ; *entry != nullptr; ++entry)
    if (std::string(*entry).rfind("ZX_MACHINE_ROOT=", 0) != 0) environment.push_back(*entry);
  environment.push_back(rootVariable.data());
  environment.push_back(nullptr);
  pid_t pid = -1;
  return posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environment.data()) == 0 ? pid : -1;
}

}  // namespace zx::bench
