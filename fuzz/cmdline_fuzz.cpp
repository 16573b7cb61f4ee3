// Fuzz target: hostile command lines (UTF-16LE) read as the programs built on CHalvoranApp
// read theirs: the logging switch and the single-instance switches. Reading must never
// crash, the switches always come in their order of strength (shutdown implies autofix,
// which implies schedule), and a switch on the line is never missed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../foundation/HalvoranApp.h"
#include "../foundation/LogFile.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CHalvoranApp app;
  CString line = zx::fuzz::Utf16Units(data, size);
  // The program sees the line up to its first zero, as the system hands it over.
  line = CString(line.GetString());
  g_bScheduleSwitch = g_bAutoFixSwitch = g_bShutdownSwitch = g_bLogging = FALSE;
  app.m_lpCmdLine = line.GetBuffer();
  app.OnCommandLine();
  app.ParseInstanceSwitches(line);
  app.m_lpCmdLine = nullptr;
  if ((g_bShutdownSwitch && !g_bAutoFixSwitch) || (g_bAutoFixSwitch && !g_bScheduleSwitch)) std::abort();
  CString lower = line;
  lower.MakeLower();
  if (lower.Find(_T(" -shutdown")) >= 0 && !g_bShutdownSwitch) std::abort();
  if ((_T(" ") + lower + _T(" ")).Find(_T(" -log ")) >= 0 && !g_bLogging) std::abort();
  return 0;
}
