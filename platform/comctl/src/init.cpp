// InitCommonControls: the control classes registered for the process, each with the class
// library's kind of object for it. The shared platform library registers them as it loads,
// as the system's DLL does for every program.
#include "control.h"

void InitCommonControls() {
  zx::comctl::RegisterHeaderClass();
  zx::comctl::RegisterListViewClass();
  zx::comctl::RegisterTreeViewClass();
  zx::comctl::RegisterProgressClass();
  zx::comctl::RegisterAnimateClass();
  zx::comctl::RegisterToolTipsClass();
  zx::comctl::RegisterDateTimeClass();
  zx::comctl::AddTemporaryKinds();
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
  if (!init || init->dwSize < sizeof(INITCOMMONCONTROLSEX)) return FALSE;
  InitCommonControls();
  return TRUE;
}

namespace {
// The classes are there before any dialog template names them.
const bool kRegisteredAtLoad = (InitCommonControls(), true);
}  // namespace
