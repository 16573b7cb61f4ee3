// RunInstallHelper: the order of the install helper's steps.
#include "InstallHelper.h"

#include "InstallCommandLine.h"

int RunInstallHelper(LPCTSTR arguments) {
  StopProductPrograms();
  if (!IsStopOnlyCommandLine(arguments)) {
    DeleteStartupJobs();
    DeleteStartupTasks();
    DeleteStartupRunValues();
  }
  return 0;
}
