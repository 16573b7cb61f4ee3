// Fuzz target: hostile values of the environment variable that fixes a program's wall time
// (ZX_FIXED_WALL_TIME). Reading must never crash; a value read is plain digits, within the
// limits, and written back in decimal gives the text read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "zx/clock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::uint64_t value = 0;
  if (!zx::ReadFixedWallTime(text, &value)) return 0;
  if (value == 0 || value > zx::kLatestFixedWallTime) std::abort();
  const std::string written = std::to_string(value);
  if (text.size() < written.size() || text.substr(text.size() - written.size()) != written) std::abort();
  return 0;
}
