// Fuzz target: a command line (UTF-16LE) split into words as every started program's argv is
// (`SplitCommandLine`): the words quoted again (`QuoteArgument`) make a line that splits to the
// same words and that a child takes as its own; and the words (as UTF-8) through the 7-Zip
// stand-in's argument mapping: one argument each after the program, a Windows path only ever
// made a host path inside the machine's drive C: (Z: is the host's whole tree).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../platform/kernel/src/kerneltext.h"
#include "../platform/programs/sevenzip/arguments.cpp"
#include "fuzz_support.h"
#include "zx/cmdline.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  std::u16string line;
  for (std::size_t i = 0; i + 1 < size; i += 2) line += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  const std::vector<std::u16string> words = zx::cmdline::SplitCommandLine(line);
  std::u16string again = u"program";
  std::vector<std::string> arguments;
  for (const std::u16string& word : words) {
    again += u" " + zx::cmdline::QuoteArgument(word);
    arguments.push_back(zx::text::ToUtf8(word));
  }
  std::vector<std::u16string> expected{u"program"};
  expected.insert(expected.end(), words.begin(), words.end());
  if (zx::cmdline::SplitCommandLine(again) != expected) std::abort();
  // Text that is no whole UTF-16 does not come back from UTF-8 the same; the rest must match.
  bool whole = true;
  for (std::size_t i = 0; i < words.size(); ++i) whole = whole && zx::text::FromUtf8(arguments[i]) == words[i];
  if (whole && !zx::cmdline::RecordedLineMatches(again, arguments)) std::abort();

  const std::vector<std::string> mapped = zx::sevenzip::HostArguments("/usr/bin/7zz", arguments);
  if (mapped.size() != arguments.size() + 1) std::abort();
  const std::string drive = zx::machine::DriveCFolder() + "/";
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const bool output = arguments[i].rfind("-o", 0) == 0;
    const std::string given = output ? arguments[i].substr(2) : arguments[i];
    const std::string made = output ? mapped[i + 1].substr(2) : mapped[i + 1];
    if (made == given || (given[0] != 'C' && given[0] != 'c')) continue;
    // A mapped C: path is the drive's folder or lies inside it, with no step leading back out.
    if ((made + "/").rfind(drive, 0) != 0 || made.find("/../") != std::string::npos || made.ends_with("/..")) std::abort();
  }
  return 0;
}
