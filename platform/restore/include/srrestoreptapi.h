// System Restore points: a change begins (BEGIN_SYSTEM_CHANGE) and ends (END_SYSTEM_CHANGE,
// or CANCELLED_OPERATION to drop it). Found by name at run time (GetProcAddress of
// "srclient"), so they have C linkage.
//
// Points are records of the machine root (zx/restorepoints.h). As Windows does, a begin
// within 24 hours of the newest point makes no new point: it succeeds and answers that
// point's sequence number, and its end changes nothing. "[SystemRestore] Disabled=1" in
// machine.ini turns System Restore off: every call fails with ERROR_SERVICE_DISABLED.
#pragma once
#include "wintypes.h"

using INT64 = LONGLONG;

#define BEGIN_SYSTEM_CHANGE 100
#define END_SYSTEM_CHANGE 101
#define APPLICATION_INSTALL 0
#define APPLICATION_UNINSTALL 1
#define DEVICE_DRIVER_INSTALL 10
#define MODIFY_SETTINGS 12
#define CANCELLED_OPERATION 13
#define MAX_DESC_W 256

struct RESTOREPOINTINFOW {
  DWORD dwEventType;
  DWORD dwRestorePtType;
  INT64 llSequenceNumber;  // END_SYSTEM_CHANGE: the number the begin answered
  WCHAR szDescription[MAX_DESC_W];
};
using PRESTOREPOINTINFOW = RESTOREPOINTINFOW*;

struct STATEMGRSTATUS {
  DWORD nStatus;  // ERROR_SUCCESS or the Win32 error
  INT64 llSequenceNumber;
};
using PSTATEMGRSTATUS = STATEMGRSTATUS*;

extern "C" {
// FALSE with nStatus ERROR_INVALID_PARAMETER for a bad request (unknown event type, a
// description without its terminator), ERROR_INVALID_DATA for an end of an unknown point,
// ERROR_SERVICE_DISABLED when System Restore is off, ERROR_WRITE_FAULT when the record
// cannot be written.
BOOL SRSetRestorePointW(PRESTOREPOINTINFOW restorePoint, PSTATEMGRSTATUS status);
// ERROR_SUCCESS, or ERROR_INVALID_DATA when no point has that number.
DWORD SRRemoveRestorePoint(DWORD sequenceNumber);
}
