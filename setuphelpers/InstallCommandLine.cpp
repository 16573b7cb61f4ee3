// The install helper's command line: the arguments part of a whole line and the test for the
// switch words.
#include "InstallCommandLine.h"

namespace {

bool IsBlank(TCHAR c) { return c == _T(' ') || c == _T('\t'); }

}  // namespace

CString GetArgumentsText(LPCTSTR commandLine) {
  if (!commandLine) return CString();
  LPCTSTR at = commandLine;
  if (*at == _T('"')) {
    ++at;
    while (*at && *at != _T('"')) ++at;
    if (*at) ++at;
  } else {
    while (*at && !IsBlank(*at)) ++at;
  }
  while (IsBlank(*at)) ++at;
  return CString(at);
}

BOOL IsStopOnlyCommandLine(LPCTSTR arguments) {
  CString line(arguments ? arguments : _T(""));
  line.MakeLower();
  return line.Find(kStopOnlySwitch) >= 0 || line.Find(kUpgradeSwitch) >= 0;
}
