// GetCommandLine: the line this process was started with, as a Windows program receives it:
// the line CreateProcessW was given when it recorded one for this process, else this
// process's argv put together again. Also the Windows splitting of a command line into words.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kerneltext.h"
#include "processthreadsapi.h"
#include "zx/cmdline.h"
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

std::u16string BuildCommandLine() {
  const std::vector<std::string> arguments = HostArguments();
  if (const char* recorded = std::getenv(zx::cmdline::kCommandLineVariable)) {
    const std::u16string line = zx::text::FromUtf8(recorded);
    const std::vector<std::string> own(arguments.empty() ? arguments.begin() : arguments.begin() + 1, arguments.end());
    if (zx::cmdline::RecordedLineMatches(line, own)) return line;
  }
  std::error_code ec;
  const std::u16string program =
      zx::path::HostToWindows(std::filesystem::read_symlink("/proc/self/exe", ec).string());
  std::u16string line = program.find_first_of(u" \t") == std::u16string::npos
                            ? program
                            : u"\"" + program + u"\"";
  for (std::size_t i = 1; i < arguments.size(); ++i)
    line += u" " + zx::cmdline::QuoteArgument(zx::text::FromUtf8(arguments[i]));
  return line;
}

}  // namespace

namespace zx::cmdline {

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
  std::vector<std::u16string> words;
  const std::size_t n = line.size();
  std::size_t i = 0;
  while (i < n) {
    while (i < n && (line[i] == u' ' || line[i] == u'\t')) ++i;
    if (i == n) break;
    std::u16string word;
    bool quoted = false;
    while (i < n && (quoted || (line[i] != u' ' && line[i] != u'\t'))) {
      if (line[i] == u'\\') {
        std::size_t end = i;
        while (end < n && line[end] == u'\\') ++end;
        const std::size_t count = end - i;
        const bool beforeQuote = end < n && line[end] == u'"';
        word.append(beforeQuote ? count / 2 : count, u'\\');
        i = end;
        if (beforeQuote && count % 2) {
          word += u'"';
          ++i;
        }
      } else if (line[i] == u'"') {
        quoted = !quoted;
        ++i;
      } else {
        word += line[i++];
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::u16string QuoteArgument(std::u16string_view argument) {
  if (!argument.empty() && argument.find_first_of(u" \t\n\v\"") == std::u16string::npos)
    return std::u16string(argument);
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

bool RecordedLineMatches(std::u16string_view line, const std::vector<std::string>& arguments) {
  const std::vector<std::u16string> words = SplitCommandLine(line);
  if (words.empty() || words.size() - 1 != arguments.size()) return false;
  for (std::size_t i = 0; i < arguments.size(); ++i)
    if (words[i + 1] != zx::text::FromUtf8(arguments[i])) return false;
  return true;
}

}  // namespace zx::cmdline

LPWSTR GetCommandLineW() {
  static std::u16string* line = new std::u16string(BuildCommandLine());
  return line->data();
}

LPSTR GetCommandLineA() {
  static std::string* line = new std::string(zx::text::ToAnsi(GetCommandLineW()));
  return line->data();
}
