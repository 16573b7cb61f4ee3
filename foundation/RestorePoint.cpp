// The daily System Restore point: due test, last-point record and creation.
#include "RestorePoint.h"

#include <srrestoreptapi.h>

#include <mutex>

#include "CheckedFormat.h"
#include "GlobalConstants.h"
#include "HalvoranApp.h"
#include "OSVersionInfo.h"
#include "Registry.h"
#include "SystemHelpers.h"

namespace {

constexpr LPCTSTR kValueName = _T("LastRestorePointTime");
constexpr ULONGLONG kHourIn100ns = 3600ull * 10000000;
constexpr DWORD kSettleMs = 512;

using SetRestorePointFn = BOOL (*)(PRESTOREPOINTINFOW, PSTATEMGRSTATUS);
using RemoveRestorePointFn = DWORD (*)(DWORD);

std::mutex g_statusLock;
CString g_statusText;

CString RecordKeyPath() { return CString(GetProductRegistryKeyText()) + _T("\\SYSRES"); }

void SetStatus(const CString& text) {
  std::lock_guard<std::mutex> guard(g_statusLock);
  g_statusText = text;
}

// A language text of the section "QVX"; the id itself when no application reads texts.
CString QvxText(LPCTSTR id) {
  CString text;
  if (auto* app = dynamic_cast<CHalvoranApp*>(AfxGetApp())) app->GetLangText(text, id, _T("QVX"));
  return text.IsEmpty() ? CString(id) : text;
}

bool ToFileTime(const SYSTEMTIME& time, ULONGLONG& value) {
  FILETIME file{};
  if (!SystemTimeToFileTime(&time, &file)) return false;
  value = (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
  return true;
}

bool RestoreSupported() {
  const COSVersionInfo version;
  return version.IsWinMe() || version.IsWinXP() || version.dwMajorVersion >= 6 || IsWow64();
}

}  // namespace

BOOL LoadRestorePointTime(SYSTEMTIME& time) {
  CRegistry key;
  if (!key.Open(HKEY_CURRENT_USER, RecordKeyPath())) return FALSE;
  SYSTEMTIME stored{};
  DWORD length = sizeof stored;
  if (!key.ReadBinary(kValueName, reinterpret_cast<BYTE*>(&stored), length) || length != sizeof stored)
    return FALSE;
  time = stored;
  return TRUE;
}

BOOL SaveRestorePointTime() {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  CRegistry key;
  return key.Open(HKEY_CURRENT_USER, RecordKeyPath(), TRUE) &&
         key.WriteBinary(kValueName, reinterpret_cast<const BYTE*>(&now), sizeof now);
}

BOOL ShouldCreateRestorePoint() {
  SYSTEMTIME stored{}, now{};
  if (!LoadRestorePointTime(stored)) return TRUE;
  GetSystemTime(&now);
  ULONGLONG last = 0, current = 0;
  if (!ToFileTime(stored, last) || !ToFileTime(now, current)) return TRUE;
  // A record from the future (a clock set back) would otherwise block new points for good.
  if (last > current) return TRUE;
  return (current - last) / kHourIn100ns > 24;
}

BOOL CreateSystemRestorePoint(LPCTSTR description) {
  if (!ShouldCreateRestorePoint()) return TRUE;
  if (!RestoreSupported()) return FALSE;
  HMODULE library = LoadLibraryW(_T("srclient.dll"));
  if (!library) return FALSE;
  const auto setPoint = reinterpret_cast<SetRestorePointFn>(GetProcAddress(library, "SRSetRestorePointW"));
  const auto removePoint = reinterpret_cast<RemoveRestorePointFn>(GetProcAddress(library, "SRRemoveRestorePoint"));
  if (setPoint && removePoint) {
    CString text = description ? description : _T("");
    if (text.IsEmpty()) FormatChecked(text, QvxText(_T("IDS_CREATING_RESTORE_POINT")), {g_strProductName});
    text = text.Left(MAX_DESC_W - 1);
    RESTOREPOINTINFOW request{};
    request.dwEventType = BEGIN_SYSTEM_CHANGE;
    request.dwRestorePtType = MODIFY_SETTINGS;
    lstrcpynW(request.szDescription, text, MAX_DESC_W);
    STATEMGRSTATUS status{};
    CString outcome;
    if (!setPoint(&request, &status)) {
      FormatChecked(outcome, QvxText(_T("IDS_UNSET_RESTORE_POINT")), {static_cast<int>(status.nStatus)});
    } else {
      Sleep(kSettleMs);
      request.llSequenceNumber = status.llSequenceNumber;
      request.dwEventType = END_SYSTEM_CHANGE;
      if (setPoint(&request, &status)) {
        FormatChecked(outcome, QvxText(_T("IDS_CREATED_RESPOINT")), {text});
        SaveRestorePointTime();
      } else {
        removePoint(static_cast<DWORD>(request.llSequenceNumber));
        FormatChecked(outcome, QvxText(_T("IDS_UNSET_ENDOFRES_POINT")), {static_cast<int>(status.nStatus)});
      }
    }
    SetStatus(outcome);
  }
  FreeLibrary(library);
  return FALSE;
}

CString GetRestorePointStatusText() {
  std::lock_guard<std::mutex> guard(g_statusLock);
  return g_statusText;
}
