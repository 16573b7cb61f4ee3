// The last-scan status values and the record written at the end of a scan.
#include "LastScanStatus.h"

#include <atltime.h>

#include "IniReader.h"
#include "PathHelpers.h"
#include "ProcessControl.h"
#include "Registry.h"

namespace {

constexpr LPCTSTR kValueNames[kLastScanValueCount] = {_T("LastScanDate"), _T("TotalDrivers"), _T("OutOfDate"),
                                                      _T("UpToDate")};
constexpr LPCTSTR kNotKnown = _T("--");

CString KeyPath() {
  CString path = GetAppRegistryKey();
  AppendPathComponent(path, _T("LastScanStatus"));
  return path;
}

// "<n> Driver" for 0 or 1, "<n> <IDS_CAP_DRIVERS>" above.
CString CountText(int count) {
  CString text;
  text.Format(_T("%d %s"), count, count > 1 ? GetLangString(_T("IDS_CAP_DRIVERS"), _T("Tunevo")).GetString() : _T("Driver"));
  return text;
}

CString PlainNumber(int count) {
  CString text;
  text.Format(_T("%d"), count);
  return text;
}

}  // namespace

LPCTSTR LastScanValueName(int value) {
  return value >= 0 && value < kLastScanValueCount ? kValueNames[value] : _T("");
}

BOOL ReadLastScanValue(int value, CString& text) {
  if (value < 0 || value >= kLastScanValueCount) return FALSE;
  CRegistry registry;
  registry.m_dwAccess = 0x20019;
  CString stored;
  if (!registry.Open(HKEY_CURRENT_USER, KeyPath()) || !registry.ReadString(kValueNames[value], stored)) return FALSE;
  text = stored;
  return TRUE;
}

BOOL WriteLastScanValue(int value, const CString& text) {
  if (value < 0 || value >= kLastScanValueCount) return FALSE;
  return RegWriteString(HKEY_CURRENT_USER, KeyPath(), kValueNames[value], text);
}

void RecordScanStatus(const tagScanOutcome& outcome, const SYSTEMTIME& now) {
  const int upToDate = outcome.nTotal - outcome.nOutOfDate;
  const CString failedDate = CTime(now).Format(_T("%m/%d/%Y %H:%M"));
  if (outcome.bConnectionFailed && !outcome.bStopped) {
    // Without the service's answer nothing new is known: the last counts stay.
    WriteLastScanValue(kLastScanDate, failedDate);
    return;
  }
  if (outcome.bFailed) {
    WriteLastScanValue(kLastScanDate, failedDate);
    WriteLastScanValue(kLastScanTotal, PlainNumber(outcome.nTotal));
    WriteLastScanValue(kLastScanOutOfDate, PlainNumber(outcome.nOutOfDate));
    WriteLastScanValue(kLastScanUpToDate, PlainNumber(upToDate));
    return;
  }
  if (outcome.bOneClick) return;
  CString storedTotal;
  ReadLastScanValue(kLastScanTotal, storedTotal);
  const bool nothingStored = storedTotal.IsEmpty() || storedTotal.CompareNoCase(_T("0")) == 0;
  if (outcome.nOutOfDate == 0 && !nothingStored && outcome.bStopped) return;
  if (outcome.bStopped) {
    WriteLastScanValue(kLastScanTotal, GetLangString(_T("IDS_ABORT_USER"), _T("Tunevo")));
    WriteLastScanValue(kLastScanOutOfDate, kNotKnown);
    WriteLastScanValue(kLastScanUpToDate, kNotKnown);
    return;
  }
  WriteLastScanValue(kLastScanTotal, CountText(outcome.nTotal));
  WriteLastScanValue(kLastScanOutOfDate, CountText(outcome.nOutOfDate));
  WriteLastScanValue(kLastScanUpToDate, CountText(upToDate));
}
