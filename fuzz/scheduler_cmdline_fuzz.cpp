// Fuzz target: hostile bytes as the scheduler's command line (UTF-16LE). The stored first
// argument is taken from the line's characters only, keeps no separator, quote or blank from
// outside quotes, and is lower case.
// Links: zxscheduler_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "NewSchedulerApp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CString line;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const WCHAR c = static_cast<WCHAR>(data[i] | (data[i + 1] << 8));
    if (c == 0) break;
    line += c;
  }
  const CString stored = CNewSchedulerApp::NormaliseFirstArgument(line);
  if (stored.GetLength() > line.GetLength()) std::abort();
  if (stored.FindOneOf(_T("\\/-\"")) >= 0) std::abort();
  CString lower = stored;
  if (lower.MakeLower() != stored) std::abort();
  return 0;
}
