// Fuzz target: hostile bytes as the update checker's command line (UTF-16LE). Every switch
// value found is a non-empty trimmed text taken from the line, and the switches read from it
// never name a window that does not exist.
// Links: zxcheckupdate_core
#include <winuser.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "CheckUpdateSwitches.h"
#include "CmdLineParamParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The search reports on the console; the fuzzer has no use for it.
  static FILE* quiet = std::freopen("/dev/null", "w", stdout);
  (void)quiet;
  CString line;
  for (std::size_t i = 0; i + 1 < size; i += 2) line += static_cast<WCHAR>(data[i] | (data[i + 1] << 8));
  CCmdLineParamParser parser(line);
  parser.ParseCommandLine();
  for (int index = 0; index < parser.GetCount(); ++index) {
    const tagCmdArgValuePair& pair = parser.GetAt(index);
    if (pair.bNotFound) {
      if (!pair.strValue.IsEmpty()) std::abort();
      continue;
    }
    CString trimmed = pair.strValue;
    if (pair.strValue.IsEmpty() || trimmed.Trim() != pair.strValue || line.Find(pair.strValue) < 0) std::abort();
  }
  tagCheckUpdateSwitches switches;
  ParseSwitches(line, switches);
  if (switches.hParentWnd != nullptr && !IsWindow(switches.hParentWnd)) std::abort();
  return 0;
}
