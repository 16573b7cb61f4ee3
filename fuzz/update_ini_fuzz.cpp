// Fuzz target: hostile bytes as the self-update answer files the web service hands out,
// "LatestVersion.ini" and "dbUpdate.ini", read with CUpdateIniReader as the update check reads
// them. The published version is compared with this installation's both ways round: the two
// answers must be opposite, and a version compares equal to itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../services/GlobalUpdate.h"
#include "fuzz_support.h"

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  zx::fuzz::WriteHostFile(zx::machine::DriveCFolder() + "/update.ini", data, size);
  CUpdateIniReader reader;
  reader.SetFile(_T("C:\\update.ini"));
  const CString version = reader.ReadValue(_T("Application"), _T("PROGRAM_VERSION"));
  reader.ReadValue(_T("BrovikUpdates"), _T("SHA"));
  const CString address = reader.ReadValue(_T("BrovikUpdates"), _T("DOWNLOADURL"));
  for (const CString& local : {CString(_T("1.0.0.0")), CString(_T("4.2.10.7")), address}) {
    if (Sign(CompareVersionTexts(version, local)) != -Sign(CompareVersionTexts(local, version))) std::abort();
  }
  if (CompareVersionTexts(version, version) != 0) std::abort();
  return 0;
}
