// The update checker program ZEPHRINKXCheckUpdate: its one application object and the entry
// point that runs it.
#include <libloaderapi.h>
#include <processthreadsapi.h>
#include <winuser.h>

#include "CheckForUpdateApp.h"

CCheckForUpdateApp theApp;

int main() {
  CString arguments = CCheckForUpdateApp::GetArgumentsText(GetCommandLineW());
  return AfxWinMain(GetModuleHandleW(nullptr), nullptr, arguments.GetBuffer(), SW_SHOWNORMAL);
}
