// Fuzz target: a backup catalogue record's folder and INF path (UTF-16LE, split at the first
// zero unit) made into the INF the driver restore hands on (`InfLocation`). A location is
// empty or lies inside the backup folder, by name and by the path mapping, and ends with
// the INF's plain file name.
// Links: zephrinkx_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../backup/BackupIndex.h"
#include "../install/ArchivePaths.h"
#include "../install/DriverRestore.h"
#include "fuzz_support.h"
#include "zx/pathmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  const CString units = zx::fuzz::Utf16Units(data, size);
  const int zero = units.Find(_T('\0'));
  BackupIndexRecord record;
  record.folder = zero < 0 ? units : units.Left(zero);
  record.texts[1] = zero < 0 ? CString() : units.Mid(zero + 1);
  const CString backup = _T("C:\\Backups\\2026-12-10\\");
  const CString location = InfLocation(backup, record);
  if (location.IsEmpty()) return 0;
  if (!IsPathInsideFolder(backup, location)) std::abort();
  const CString name = location.Mid(location.ReverseFind(_T('\\')) + 1);
  if (name.IsEmpty() || name.FindOneOf(_T("/:")) >= 0) std::abort();
  std::string host, folder;
  if (zx::path::WindowsToHost(std::u16string(location.GetString(), location.GetLength()), host) &&
      zx::path::WindowsToHost(u"C:\\Backups\\2026-12-10", folder) && host.rfind(folder + "/", 0) != 0)
    std::abort();
  return 0;
}
