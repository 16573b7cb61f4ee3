// The last-scan status: four texts under the program's key \ "LastScanStatus" (the date and the
// counts the scan home page shows), and how the end of a scan rewrites them.
#pragma once
#include <afx.h>

enum LastScanValue { kLastScanDate = 0, kLastScanTotal = 1, kLastScanOutOfDate = 2, kLastScanUpToDate = 3 };
constexpr int kLastScanValueCount = 4;

// "LastScanDate", "TotalDrivers", "OutOfDate", "UpToDate".
LPCTSTR LastScanValueName(int value);
// The stored text; FALSE (text untouched) when the key or value cannot be read.
BOOL ReadLastScanValue(int value, CString& text);
BOOL WriteLastScanValue(int value, const CString& text);

// What the end of a scan knows for its record.
struct tagScanOutcome {
  BOOL bFailed = FALSE;  // the scan failed (empty request, no exchange, answer not decoded)
  BOOL bStopped = FALSE;
  BOOL bConnectionFailed = FALSE;
  BOOL bOneClick = FALSE;
  int nTotal = 0;
  int nOutOfDate = 0;
};

// Writes the record of a scan's end: a lost connection stores only the date ("%m/%d/%Y %H:%M"
// of now), the last counts staying; a failed scan stores that date and the plain counts.
// Otherwise nothing is written in one-click mode; a stopped scan stores the text of
// IDS_ABORT_USER and "--" twice, but only when updates were found or nothing is stored yet;
// a completed scan stores its counts, each "<n> Driver" or "<n> <IDS_CAP_DRIVERS>".
void RecordScanStatus(const tagScanOutcome& outcome, const SYSTEMTIME& now);
