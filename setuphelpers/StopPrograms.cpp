// StopProductPrograms: the product's running programs ended by their file names.
#include <synchapi.h>
#include <winprocess.h>

#include "EnumProcess.h"
#include "InstallHelper.h"

namespace {

// Compared in this order with every process of the list. The main program is named twice:
// a main program that did not open at the first try is tried once more.
constexpr LPCTSTR kProductPrograms[] = {
    _T("zephrinkx.exe"),         _T("ZEPHRINKXCheckUpdate.exe"),  _T("zephrinkx.exe"),
    _T("Ravolt.exe"),            _T("ZEPHRINKXNewScheduler.exe"), _T("ZEPHRINKXBeforeUninstall.exe"),
};

// How long an ended program may take to be gone before the helper goes on.
constexpr DWORD kEndWaitMilliseconds = 5000;

void EndProcess(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
  if (!process) return;
  if (TerminateProcess(process, 0)) WaitForSingleObject(process, kEndWaitMilliseconds);
  CloseHandle(process);
}

}  // namespace

BOOL StopProductPrograms() {
  CEnumProcess processes;
  CEnumProcess::CProcessEntry entry;
  if (!processes.FirstProcess(&entry)) return FALSE;
  do {
    Sleep(1);
    for (LPCTSTR program : kProductPrograms)
      if (entry.sFilename.CompareNoCase(program) == 0) EndProcess(entry.dwPID);
  } while (processes.NextProcess(&entry));
  return TRUE;
}
