// Fuzz target: hostile bytes as one of the update checker's answer files. The first byte picks
// the reader (bit 0: the database answer, else the program answer; bit 1: program-only mode);
// the rest is the file. Reading must answer one of its results, a setup file name must always
// be a plain name that stays in the update folder, and a database answer is one record or none.
// Links: zxcheckupdate_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "DownloadInfo.h"
#include "fuzz_support.h"
#include "zx/machine.h"

namespace {

// The run's scratch machine root with the file the target reads.
struct Machine {
  Machine() {
    zx::fuzz::ScratchRoot();
    host = zx::machine::DriveCFolder() + "/answer.htm";
  }
  std::string host;
};

bool PlainName(const CString& name) {
  if (name.IsEmpty()) return true;  // refused
  if (name == u"." || name == u"..") return false;
  for (int i = 0; i < name.GetLength(); ++i)
    if (name[i] < 32 || CString(u"\\/:*?\"<>|").Find(name[i]) >= 0) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Machine machine;
  if (size == 0) return 0;
  std::ofstream(machine.host, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  CDownloadInfo info;
  if ((data[0] & 1) != 0) {
    const int result = ReadDbUpdateInfo(u"C:\\answer.htm", info);
    if (result != 0 && result != 1) std::abort();
    if (info.m_nDbCount != result || info.m_arrDbUpdates.GetSize() != result) std::abort();
    if (result == 1 && info.m_arrDbUpdates[0].strFileName != u"CompleteDatabase.zip") std::abort();
    return 0;
  }
  const BOOL programOnly = (data[0] & 2) != 0;
  const int result = ReadAppUpdateInfo(u"C:\\answer.htm", u"5.1.0.10", programOnly, info);
  if (result < 0 || result > 1) std::abort();
  if (result == 1 && !programOnly && !info.m_bNewer) std::abort();
  if (!PlainName(info.m_strSetupFileName)) std::abort();
  if (TransferModeForSize(info.m_strProgramSize) != 1 && TransferModeForSize(info.m_strProgramSize) != 2) std::abort();
  return 0;
}
