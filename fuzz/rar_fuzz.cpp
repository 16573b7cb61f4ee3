// Fuzz target: hostile bytes as a driver package RAR archive, listed and extracted through
// the RAR library ("unrar.dll") as the installation does into a folder of a scratch machine
// root. Nothing may land outside that folder and nothing extracted may be a link.
// Links: zephrinkx_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "../install/RarArchive.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  // The library stays loaded for the whole run: the fuzzer keeps counters inside it.
  static const HMODULE kept = LoadLibraryW(u"unrar.dll");
  if (kept == nullptr) std::abort();
  const std::string drive = zx::machine::DriveCFolder();
  const std::string archive = drive + "/package.rar", out = drive + "/fuzz/out";
  zx::fuzz::WriteHostFile(archive, data, size);
  CRarArchive rar;
  if (!rar.LoadLibrary()) std::abort();
  if (rar.ListEntries(_T("C:\\package.rar"))) {
    rar.SetDestination(_T("C:\\fuzz\\out\\"));
    rar.ExtractAll();
  }
  rar.FreeLibrary();
  zx::fuzz::CheckOnlyInside({archive, out});
  std::error_code ignored;
  std::filesystem::remove_all(out, ignored);
  return 0;
}
