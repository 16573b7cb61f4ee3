// GetCommandLine: this process's argv in the form a Windows program receives it.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kerneltext.h"
#include "processthreadsapi.h"
#include "zx/pathmap.h"

namespace {

// The host's argv, as the kernel recorded it.
std::vector<std::string> HostArguments() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> arguments;
  for (std::size_t start = 0; start < all.size();) {
    std::size_t end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    arguments.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  return arguments;
}

// Quotes one argument so that the Windows command-line parser gives it back unchanged:
// backslashes double only where they precede a quote (or the closing quote).
std::u16string Quote(const std::u16string& argument) {
  if (!argument.empty() && argument.find_first_of(u" \t\n\v\"") == std::u16string::npos)
    return argument;
  std::u16string quoted = u"\"";
  std::size_t backslashes = 0;
  for (char16_t c : argument) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, u'\\');
  return quoted + u"\"";
}

std::u16string BuildCommandLine() {
  std::error_code ec;
  const std::u16string program =
      zx::path::HostToWindows(std::filesystem::read_symlink("/proc/self/exe", ec).string());
  std::u16string line = program.find_first_of(u" \t") == std::u16string::npos
                            ? program
                            : u"\"" + program + u"\"";
  const std::vector<std::string> arguments = HostArguments();
  for (std::size_t i = 1; i < arguments.size(); ++i)
    line += u" " + Quote(zx::text::FromUtf8(arguments[i]));
  return line;
}

}  // namespace

LPWSTR GetCommandLineW() {
  static std::u16string* line = new std::u16string(BuildCommandLine());
  return line->data();
}

LPSTR GetCommandLineA() {
  static std::string* line = new std::string(zx::text::ToAnsi(GetCommandLineW()));
  return line->data();
}
