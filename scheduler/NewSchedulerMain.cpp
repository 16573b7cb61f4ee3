// The scheduler program ZEPHRINKXNewScheduler: its one application object and the entry point
// that runs it.
#include <libloaderapi.h>
#include <processthreadsapi.h>
#include <winuser.h>

#include "NewSchedulerApp.h"
#include "StartSwitches.h"

CNewSchedulerApp theApp;

int main() {
  CString arguments = ArgumentsAfterProgram(GetCommandLineW());
  return AfxWinMain(GetModuleHandleW(nullptr), nullptr, arguments.GetBuffer(), SW_SHOWNORMAL);
}
