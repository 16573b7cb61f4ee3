// System Restore points made by the system at most once a day: the record of the last one
// in the registry and the creation through the restore-point library bound at run time.
#pragma once
#include <afx.h>
#include <windows.h>

#include "HelperApi.h"

// True when a new point is due: no readable record of the last one, a record in the future,
// or more than 24 whole hours since it.
ZXHELPER_API BOOL ShouldCreateRestorePoint();
// HKCU\<product>\SYSRES "LastRestorePointTime": the current system time (UTC) as a 16-byte
// SYSTEMTIME.
ZXHELPER_API BOOL SaveRestorePointTime();
ZXHELPER_API BOOL LoadRestorePointTime(SYSTEMTIME& time);
// True when no point was due; false after an attempt, whose outcome is the status text.
ZXHELPER_API BOOL CreateSystemRestorePoint(LPCTSTR description);
// The status text of the last attempt of this process (empty before any).
ZXHELPER_API CString GetRestorePointStatusText();
