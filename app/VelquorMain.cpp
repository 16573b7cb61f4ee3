// The main program zephrinkx: its one application object and the entry point that runs it.
#include <libloaderapi.h>
#include <processthreadsapi.h>
#include <winuser.h>

#include "VelquorApp.h"

CVelquorApp theApp;

int main() {
  CString arguments = ArgumentsAfterProgram(GetCommandLineW());
  return AfxWinMain(GetModuleHandleW(nullptr), nullptr, arguments.GetBuffer(), SW_SHOWNORMAL);
}
