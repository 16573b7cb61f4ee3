// Start at log-on: from Windows 6 on a Task Scheduler 2.0 log-on task that runs the program
// with the highest privileges and " -schedule"; before it the value "ZEPHRINKXTunevo" under
// the Run key of HKLM (else HKCU). The general settings page calls SetRunAtStartup after it
// changed the choice; the install helper removes the same registrations.
#pragma once
#include <afx.h>

inline constexpr LPCTSTR kRunKeyPath = _T("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
inline constexpr LPCTSTR kRunValueName = _T("ZEPHRINKXTunevo");

// "%s RunAtStartup" with the application name, every blank removed.
CString BuildStartupTaskName(const CString& appName);

// Registers the log-on task of the running program under the name of GetAppName (an older
// task of that name is replaced); TRUE when it was registered. COM must be started.
BOOL CreateStartupTask();
// Removes the log-on task when there is one.
void DeleteStartupTask();

// Registers (runAtStartup set) or removes the start at log-on the way Windows of that major
// version is given it; a registration always replaces the one before.
void ApplyRunAtStartup(bool runAtStartup, DWORD osMajor);
// ApplyRunAtStartup for the running Windows. Failures are not reported: always TRUE.
BOOL SetRunAtStartup(bool runAtStartup);
