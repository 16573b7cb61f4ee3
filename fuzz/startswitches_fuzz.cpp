// Fuzz target: hostile bytes as the main program's command line (UTF-16LE). The words after
// the program name split the same way as the whole line less its first word; argument 1 holds
// no separator once cleaned, asks for at most one switch, and chooses one of the five start
// pages.
// Links: zephrinkx_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "StartSwitches.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CString line;
  for (std::size_t i = 0; i + 1 < size; i += 2) line += static_cast<WCHAR>(data[i] | (data[i + 1] << 8));
  CString program;
  const int words = SplitFirstArgument(line, program);
  const CString arguments = ArgumentsAfterProgram(line);
  CString first;
  const int argumentWords = SplitFirstArgument(arguments, first);
  if (words == 0 ? argumentWords != 0 : argumentWords != words - 1) std::abort();

  const CString cleaned = CleanStartArgument(first);
  if (cleaned.FindOneOf(_T("\\/-")) >= 0) std::abort();
  const tagStartSwitch start = ReadStartSwitch(cleaned);
  if (start.hiddenScan + start.firstInstall + start.verySilentInstall + start.schedule > 1) std::abort();
  for (BOOL schedule : {FALSE, TRUE}) {
    const int page = ChooseStartPage(schedule, cleaned);
    if (page < kStartPageScanHome || page > kStartPageScanNow || (schedule && page != kStartPageSchedule))
      std::abort();
  }
  return 0;
}
