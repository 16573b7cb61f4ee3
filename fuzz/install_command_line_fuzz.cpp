// Fuzz target: hostile bytes as the install helper's whole command line (UTF-16LE code units,
// as Windows hands it over). Cutting the arguments must answer a tail of the line that starts
// with no blank, and a switch word found in the arguments must be found in the whole line.
// Links: installhelper_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "InstallCommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<char16_t> line(size / 2 + 1, u'\0');
  std::memcpy(line.data(), data, size / 2 * 2);
  const CString whole(line.data());
  const CString arguments = GetArgumentsText(line.data());
  if (arguments.GetLength() > whole.GetLength() || whole.Right(arguments.GetLength()) != arguments) std::abort();
  if (!arguments.IsEmpty() && (arguments[0] == u' ' || arguments[0] == u'\t')) std::abort();
  if (IsStopOnlyCommandLine(arguments) && !IsStopOnlyCommandLine(whole)) std::abort();
  return 0;
}
