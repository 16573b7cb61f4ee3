// Fuzz target: hostile backup archive names (UTF-16LE; names come from the backup list file)
// through the reader of their date and time. A name that reads gives a real date and time,
// and the name written for that time reads back to the same stamp.
// Links: zephrinkx_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../backup/BackupArchive.h"
#include "../scan/DriverScanUpdate.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const CString name = zx::fuzz::Utf16Units(data, size);
  SYSTEMTIME stamp{};
  if (CDriverScanUpdate::MakeBackupName(name, &stamp).IsEmpty()) return 0;
  if (stamp.wMonth < 1 || stamp.wMonth > 12 || stamp.wDay < 1 || stamp.wDay > 31 || stamp.wHour > 23 ||
      stamp.wMinute > 59 || stamp.wSecond > 59 || stamp.wDayOfWeek > 6)
    std::abort();
  SYSTEMTIME again{};
  if (CDriverScanUpdate::MakeBackupName(MakeBackupArchiveName(_T("Backup-"), stamp), &again).IsEmpty()) std::abort();
  if (again.wYear != stamp.wYear || again.wMonth != stamp.wMonth || again.wDay != stamp.wDay ||
      again.wHour != stamp.wHour || again.wMinute != stamp.wMinute || again.wSecond != stamp.wSecond)
    std::abort();
  return 0;
}
