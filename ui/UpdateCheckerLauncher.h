// Starting other programs from the windows: the shell start every window uses, and the
// update checker "ZEPHRINKXCheckUpdate.exe" beside the shared library, started at most once
// per 8192 ms.
#pragma once
#include <afxwin.h>

#include "HelperApi.h"

// The folder of the shared library (no trailing backslash); the programs it starts lie there.
ZXHELPER_API CString GetHelperFolder();

// A launcher's record of its last start, holding a second start back for the guard time.
// "Never started" is kept apart, so a clock that starts near 0 does not hold back the first.
class ZXHELPER_API CLaunchGuard {
 public:
  explicit CLaunchGuard(DWORD guardMs) : m_guardMs(guardMs) {}
  // Whether a start may go now; it is noted as the last start when it may.
  BOOL TryStart();

 private:
  DWORD m_guardMs;
  BOOL m_bStarted = FALSE;
  DWORD m_lastTick = 0;
};

// Starts the program or document through ShellExecuteEx; the owner is the given window when
// it is one, else the application's main window. Answers the shell's instance value (above
// 32 on success).
ZXHELPER_API INT_PTR RunShellExecute(HWND hOwner, LPCTSTR lpVerb, LPCTSTR lpFile, LPCTSTR lpParameters,
                                     LPCTSTR lpDirectory, int nShowCmd);
// Starts the update checker with the arguments ("checkupdate" when empty). Answers 1 without
// starting it when the last start was less than 8192 ms ago, else the shell's instance value.
ZXHELPER_API INT_PTR LaunchUpdateChecker(LPCTSTR lpArguments);
ZXHELPER_API INT_PTR CheckForUpdates();
