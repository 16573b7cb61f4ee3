// Fuzz target: hostile lines of a picture list, read as the picture generator reads its lists.
// Reading must never crash: a line is either refused with a mistake in words or gives a plain
// file name (no folder) with sizes and states in range, colours and kind words that fit its
// states, a painter that takes its words, and a hot spot inside the picture.
// Links: zx_resgen
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "picturelist.h"

namespace {

void Check(const std::string& line) {
  zx::resgen::Picture p;
  try {
    p = zx::resgen::ParsePictureLine(line);
  } catch (const std::exception& e) {
    if (std::string(e.what()).empty()) std::abort();
    return;
  }
  if (p.file.empty() || p.file.find('/') != std::string::npos || p.sizes.empty() || p.states < 1 || p.states > 64)
    std::abort();
  for (const zx::resgen::Size& s : p.sizes)
    if (s.width < 1 || s.height < 1 || s.width > 4096 || s.height > 4096) std::abort();
  if (static_cast<long long>(p.sizes[0].width) * p.states > 32767) std::abort();
  const auto fits = [&](std::size_t count) { return count <= 1 || count == static_cast<std::size_t>(p.states); };
  if (!fits(p.colours.size()) || !fits(p.variants.size())) std::abort();
  for (const std::string& v : p.variants)
    if (!zx::resgen::Accepts(p.kind, v)) std::abort();
  if (p.hotX < 0 || p.hotY < 0 || p.hotX >= p.sizes[0].width || p.hotY >= p.sizes[0].height) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first != std::string::npos && line[first] != '#') Check(line);
  }
  return 0;
}
