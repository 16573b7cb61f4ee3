// The update checker's start-up state and its filling from the quoted switches.
#include "CheckUpdateSwitches.h"

#include <winuser.h>
#include <wstdlib.h>

#include "CmdLineParamParser.h"

tagCheckUpdateSwitches& CheckUpdateSwitches() {
  static tagCheckUpdateSwitches switches;
  return switches;
}

void ParseSwitches(LPCTSTR commandLine, tagCheckUpdateSwitches& switches) {
  switches = tagCheckUpdateSwitches();
  CCmdLineParamParser parser(commandLine);
  parser.ParseCommandLine();
  BOOL* const flags[kSwitchCount] = {&switches.bSilent,      nullptr,
                                     &switches.bIsQuarnelParent, &switches.bStartMinimized,
                                     &switches.bDownloadCompleteDbOnly, &switches.bStartHidden,
                                     &switches.bCheckAppUpdateOnly, &switches.bShowIfAvailable};
  for (int index = 0; index < parser.GetCount(); ++index) {
    const tagCmdArgValuePair& pair = parser.GetAt(index);
    if (pair.bNotFound) continue;
    const int number = _wtoi(pair.strValue);
    if (index == kSwitchParentWnd) {
      const HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(number));
      if (number != 0 && IsWindow(window)) switches.hParentWnd = window;
    } else {
      *flags[index] = number > 0 ? TRUE : FALSE;
    }
  }
}
