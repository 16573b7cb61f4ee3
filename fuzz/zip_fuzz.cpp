// Fuzz target: hostile bytes as a driver package zip, extracted as the installation extracts
// one (each entry under the name the reader gives it) into a folder of a scratch machine
// root. Nothing may land outside that folder and nothing extracted may be a link. What was
// extracted is then packed as a backup archive, and that archive must read back to the same
// files with the same contents.
// Links: zephrinkx_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "../backup/BackupArchive.h"
#include "../install/ZipExtract.h"
#include "fuzz_support.h"

namespace {

// Extracts every entry of the archive below the folder as the installation does; false when
// any entry fails or the archive would unpack past the extraction bound.
bool Extract(LPCTSTR archive, LPCTSTR folder) {
  int entries = 0;
  return ExtractWholeZip(archive, folder, entries);
}

// Relative name (lower case) to contents of every file below the host folder.
std::map<std::string, std::string> Files(const std::string& folder) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (!it->is_regular_file()) continue;
    std::ifstream in(it->path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    files[fs::relative(it->path(), folder).string()] = bytes.str();
  }
  return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  const std::string drive = zx::machine::DriveCFolder();
  const std::string archive = drive + "/package.zip", out = drive + "/fuzz/out";
  const std::string backup = drive + "/backup.zip", again = drive + "/again";
  zx::fuzz::WriteHostFile(archive, data, size);

  const bool extracted = Extract(_T("C:\\package.zip"), _T("C:\\fuzz\\out\\"));
  zx::fuzz::CheckOnlyInside({archive, out});
  const auto files = Files(out);
  if (extracted && !files.empty()) {
    // The extracted files packed as a backup and read back.
    if (CompressBackupFolder(_T("C:\\fuzz\\out"), _T("C:\\backup.zip")) != 1) std::abort();
    if (!Extract(_T("C:\\backup.zip"), _T("C:\\again\\"))) std::abort();
    zx::fuzz::CheckOnlyInside({archive, out, backup, again});
    if (Files(again) != files) std::abort();
  }
  std::error_code ignored;
  for (const std::string& place : {out, backup, again}) std::filesystem::remove_all(place, ignored);
  return 0;
}
