// Process control of the shared library: stopping and finding programs by file name, the
// program's own file, registry key and data folder, restarting elevated, the administrators
// check, the file-version and number texts and the scheduled job text.
#pragma once
#include <afx.h>
#include <afxcoll.h>
#include <windows.h>

#include "HelperApi.h"

// Ends (exit code 666) every process whose program file name equals name, case ignored;
// true when the process list could be taken. Processes that cannot be ended are skipped.
ZXHELPER_API BOOL KillProcessByName(LPCTSTR name);
// Whether a process of that program file name runs (with sameFolder: whether the first such
// process runs from this program's folder). With an interval, a second question within that
// many milliseconds of the last look is answered from that look.
ZXHELPER_API BOOL IsProcessRunning(LPCTSTR name, DWORD intervalMs, BOOL sameFolder);
// The running program's file (at most 1039 characters); the first command-line argument when
// that file does not exist.
ZXHELPER_API CString GetProgramFilePath();
// Starts this program again with the parameters in its own folder ("runas" from Windows 6 on);
// with endThisProcess a quit is posted to this thread and to the main window (or, without
// one, the process ends at once). True when the new process started.
ZXHELPER_API BOOL RestartElevated(LPCTSTR parameters, BOOL endThisProcess);
// The dotted file version, empty when the file does not exist or has none.
ZXHELPER_API CString GetFileVersionText(LPCTSTR path);
// The number in the user's format without decimals (grouped by three), into the buffer.
ZXHELPER_API LPTSTR FormatNumberText(LONGLONG value, LPTSTR buffer, int characters);
// True only when the token's groups could be read and hold the Administrators group.
ZXHELPER_API BOOL IsAdminGroupMember();
// False when the Task Scheduler has no job of that name; otherwise the job's next-run text
// into text and whether it is not empty.
ZXHELPER_API BOOL GetScheduledJobText(LPCTSTR jobName, CString& text);
// With add, appends the name; without, removes the first entry equal to it (trimmed, case
// ignored).
ZXHELPER_API void EditProcessList(CStringArray& list, LPCTSTR name, BOOL add);
// Ends the programs of every non-empty trimmed name of the list, then empties it.
ZXHELPER_API void KillListedProcesses(CStringArray& list);
// The product registry path and the application's name: "<product>\<app>".
ZXHELPER_API CString GetAppRegistryKey();
// The program's data folder below the user's application-data folder, created when missing.
ZXHELPER_API CString GetAppDataFolder();
// Opens or starts a file through the shell; answers the shell's result (above 32 on success).
ZXHELPER_API INT_PTR ShellStart(HWND owner, LPCTSTR verb, LPCTSTR file, LPCTSTR parameters,
                                LPCTSTR folder, int showCommand);
