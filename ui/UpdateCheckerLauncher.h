// Starting other programs from the windows: the shell start every window uses, and the
// update checker "ZEPHRINKXCheckUpdate.exe" beside the shared library, started at most once
// per 8192 ms.
#pragma once
#include <afxwin.h>

#include "HelperApi.h"

// Starts the program or document through ShellExecuteEx; the owner is the given window when
// it is one, else the application's main window. Answers the shell's instance value (above
// 32 on success).
ZXHELPER_API INT_PTR RunShellExecute(HWND hOwner, LPCTSTR lpVerb, LPCTSTR lpFile, LPCTSTR lpParameters,
                                     LPCTSTR lpDirectory, int nShowCmd);
// Starts the update checker with the arguments ("checkupdate" when empty). Answers 1 without
// starting it when the last start was less than 8192 ms ago, else the shell's instance value.
ZXHELPER_API INT_PTR LaunchUpdateChecker(LPCTSTR lpArguments);
ZXHELPER_API INT_PTR CheckForUpdates();
