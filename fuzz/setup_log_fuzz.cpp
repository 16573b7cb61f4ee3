// Fuzz target: hostile bytes as the setup log "setupapi.dev.log", read as the backup engine
// reads it to find the driver store folder an "oem" INF was published from. The folder found
// is one plain name that a line naming the INF holds, and a driver store file is taken only
// from a folder of exactly that name.
// Links: zephrinkx_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../backup/SetupLogStore.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  zx::fuzz::WriteHostFile(zx::machine::DriveCFolder() + "/Windows/inf/setupapi.dev.log", data, size);
  const CString folder = PublishedStoreFolder(_T("C:\\Windows\\inf\\setupapi.dev.log"), _T("C:\\Windows\\INF\\oem3.inf"));
  if (folder.IsEmpty()) return 0;
  if (folder.FindOneOf(_T("\\/:")) >= 0 || folder == _T(".") || folder == _T("..") || CString(folder).Trim().IsEmpty())
    std::abort();
  const CString repository = _T("C:\\Windows\\System32\\DriverStore\\FileRepository\\");
  if (!IsInStoreFolder(repository + folder + _T("\\a.sys"), folder)) std::abort();
  // A folder whose name only starts with it is another package's.
  if (IsInStoreFolder(_T("C:\\S\\") + folder + _T("x\\f"), folder) && folder.CompareNoCase(_T("S")) != 0 &&
      folder.CompareNoCase(_T("f")) != 0)
    std::abort();
  return 0;
}
