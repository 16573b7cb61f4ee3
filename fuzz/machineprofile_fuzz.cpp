// Fuzz target: machine profile text read, written back and read again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "zx/machineprofile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::devices::MachineProfile profile;
  std::string error;
  if (!zx::devices::ParseProfile(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz", profile, error))
    return 0;
  zx::devices::MachineProfile again;
  if (!zx::devices::ParseProfile(zx::devices::FormatProfile(profile), "again", again, error)) __builtin_trap();
  if (zx::devices::FormatProfile(again) != zx::devices::FormatProfile(profile)) __builtin_trap();
  return 0;
}
