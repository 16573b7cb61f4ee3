// Fuzz target: hostile bytes as a driver package cabinet, extracted through the cabinet
// library as the installation does into a folder of a scratch machine root. Nothing may land
// outside that folder (whatever the file names or the continuing cabinets' names say), and
// nothing extracted may be a link.
// Links: zephrinkx_core
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "../install/CabExtractor.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  const std::string drive = zx::machine::DriveCFolder();
  const std::string cabinet = drive + "/cabs/package.cab", out = drive + "/fuzz/out";
  zx::fuzz::WriteHostFile(cabinet, data, size);
  CCabExtractor extractor;
  if (!extractor.Init()) std::abort();
  extractor.ExtractCabinet("C:\\fuzz\\out\\", "C:\\cabs\\package.cab");
  zx::fuzz::CheckOnlyInside({drive + "/cabs", out});
  std::error_code ignored;
  std::filesystem::remove_all(out, ignored);
  return 0;
}
