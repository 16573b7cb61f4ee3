// installhelper: the windowless program the product's installer runs to stop the product's
// programs and, unless told to stop programs only, remove its start-up jobs and tasks.
#include <objbase.h>
#include <processthreadsapi.h>

#include "InstallCommandLine.h"
#include "InstallHelper.h"

int main() {
  const HRESULT com = CoInitialize(nullptr);
  const int exitCode = RunInstallHelper(GetArgumentsText(GetCommandLineW()));
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
