// The 7-Zip stand-in: runs the host's 7-Zip with the machine's Windows paths among the
// arguments made host paths. Its exit code is 7-Zip's.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "arguments.h"

namespace {

constexpr char kSevenZip[] = "/usr/bin/7zz";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments =
      zx::sevenzip::HostArguments(kSevenZip, std::vector<std::string>(argv + 1, argv + argc));
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  execv(kSevenZip, pointers.data());
  std::perror(kSevenZip);
  return 2;
}
