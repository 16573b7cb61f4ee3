// The 7-Zip stand-in's arguments: the machine's Windows paths among them (a path argument, or
// the folder of an "-o" switch) made host paths for Debian's 7-Zip.
#pragma once
#include <string>
#include <vector>

namespace zx::sevenzip {

// The host program's arguments for the given ones (UTF-8, the program name left out): the
// program first, then each argument with a Windows path ("C:\...") turned into its host path;
// a path that does not map, and any other text, is passed on as it is.
std::vector<std::string> HostArguments(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace zx::sevenzip
