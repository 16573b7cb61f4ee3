// Fuzz target: hostile bytes as a 7z driver package, unpacked by the 7-Zip program (the
// stand-in "7z.exe" handing it to Debian's 7-Zip) as the installation does, into a folder of
// a scratch machine root. Nothing may land outside that folder and no link may be left in it.
// Links: zephrinkx_core
// Runs: 300
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "../install/SevenZip.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  const std::string drive = zx::machine::DriveCFolder();
  static const bool placed = [&] {
    std::filesystem::create_directories(drive + "/Tools/Win7");
    std::filesystem::create_directories(drive + "/Tools/extract");
    std::error_code ec;
    std::filesystem::copy_file(ZX_SEVENZIP_PROGRAM, drive + "/Tools/extract/7z.exe", ec);
    return !ec;
  }();
  if (!placed) std::abort();
  const std::string archive = drive + "/pkg/package.7z", out = drive + "/pkg/out";
  zx::fuzz::WriteHostFile(archive, data, size);
  CString error;
  RunSevenZip(_T("out"), _T("C:\\pkg\\package.7z"), _T("C:\\Tools\\Win7\\"), error);
  zx::fuzz::CheckOnlyInside({archive, out, drive + "/Tools"});
  std::error_code ignored;
  std::filesystem::remove_all(out, ignored);
  return 0;
}
