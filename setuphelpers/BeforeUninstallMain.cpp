// ZEPHRINKXBeforeUninstall: the program the product's uninstaller runs before it removes the
// product. Its one application object does the work during the class library's start-up.
#include <processthreadsapi.h>

#include "BeforeUninstallApp.h"

CBeforeUninstallApp theApp;

int main() { return AfxWinMain(GetModuleHandleW(nullptr), nullptr, GetCommandLineW(), SW_SHOWNORMAL); }
