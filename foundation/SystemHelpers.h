// System helpers of the shared library: WOW64, the administrator test, message pumping,
// free drive space and the processor-usage meter.
#pragma once
#include <afx.h>
#include <windows.h>

#include "HelperApi.h"

ZXHELPER_API BOOL IsWow64();
ZXHELPER_API CString GetSystemWow64Folder();
ZXHELPER_API BOOL DisableWow64Redirection(PVOID* oldValue);
ZXHELPER_API BOOL RevertWow64Redirection(PVOID oldValue);
ZXHELPER_API BOOL IsUserAdmin();
ZXHELPER_API void PumpPendingMessages();
// The local date and time as "%a. %B %d, %Y. %I:%M %p".
ZXHELPER_API CString GetCurrentDateText();
// Free space in percent of the system drive (or of all fixed and removable drives),
// stored in *percent and written "%0.2f%%"; 0 when no drive could be measured.
ZXHELPER_API CString GetDriveFreeText(double* percent, BOOL allDrives);

// System processor usage in percent, averaged over the last five samples. Samples at most
// every 200 ms; the history and its lock are shared by every meter of the process.
class ZXHELPER_API CCpuUsageMeter {
 public:
  CCpuUsageMeter();
  short GetCpuUsage();

 private:
  using SystemTimesFn = BOOL (*)(PFILETIME, PFILETIME, PFILETIME);
  void ReadSystemTimes(ULONGLONG& idle, ULONGLONG& kernel, ULONGLONG& user) const;

  SystemTimesFn m_pfnGetSystemTimes;
};
