// Typed settings accessors of the application base over its settings object, and the launcher
// status values of the product's tools.

#include "ConfigurationManager.h"
#include "HalvoranApp.h"
#include "PathHelpers.h"
#include "Registry.h"
#include "TextRing.h"

namespace {

constexpr REGSAM kReadAccess = 0x20019;
constexpr LPCTSTR kLauncherKey = _T("ScanStatusForLauncher");
constexpr LPCTSTR kToolWord = _T("Tunevo");

// The ring of five number texts handed out by ReadSettingDWORDText.
CTextRing<5>& Numbers() {
  static CTextRing<5> ring;
  return ring;
}

// The tool's key path, or empty for an index that names no tool of this product.
CString LauncherKeyPath(int toolIndex) {
  if (toolIndex != kLauncherToolIndex) return CString();
  CString path;
  GetProductRegistryKey(path);
  AppendPathComponent(path, kLauncherKey);
  AppendPathComponent(path, kToolWord);
  return path;
}

// The platform's default date and time text of a moment.
CString DateTimeText(const CTime& time) {
  if (time.GetTime() < 0) return _T("Invalid DateTime");
  return time.Format(_T("%m/%d/%Y %I:%M:%S %p"));
}

}  // namespace

CString CHalvoranApp::GetSettingsKeyPath() const {
  if (m_pSettings) return m_pSettings->GetKeyPath();
  CString path;
  GetProductRegistryKey(path);
  CString name = g_strAppName;
  AppendPathComponent(path, name.Trim());
  return path;
}

BOOL CHalvoranApp::SettingExists(LPCTSTR name) {
  return RegExistsValue(HKEY_CURRENT_USER, GetSettingsKeyPath(), name);
}

BOOL CHalvoranApp::ReadSettingString(LPCTSTR name, CString& text) {
  return m_pSettings && m_pSettings->ReadString(name, text);
}

LPCTSTR CHalvoranApp::ReadSettingStringRing(LPCTSTR name) {
  static const CString empty;
  return m_pSettings ? m_pSettings->ReadStringRing(name) : static_cast<LPCTSTR>(empty);
}

DWORD CHalvoranApp::ReadSettingDWORD(LPCTSTR name) {
  CRegistry key;
  key.m_dwAccess = kReadAccess;
  DWORD value = 0;
  if (!key.Open(HKEY_CURRENT_USER, GetSettingsKeyPath()) || !key.ReadDWORD(name, value)) return 0;
  return value;
}

LPCTSTR CHalvoranApp::ReadSettingDWORDText(LPCTSTR name) {
  const DWORD value = ReadSettingDWORD(name);
  return Numbers().Next([value](CString& slot) { slot.Format(_T("%u"), value); });
}

ULONGLONG CHalvoranApp::ReadSettingQword(LPCTSTR name) { return m_pSettings ? m_pSettings->ReadQword(name) : 0; }

BOOL CHalvoranApp::WriteSettingQword(LPCTSTR name, ULONGLONG value) {
  return m_pSettings && m_pSettings->WriteQword(name, value);
}

int CHalvoranApp::ReadSettingInt(LPCTSTR name) {
  CString text;
  if (!ReadSettingString(name, text)) return 0;
  // Leading blanks, a sign and the digits that follow, as the run-time library reads them.
  text.TrimLeft();
  int index = 0;
  bool negative = false;
  if (index < text.GetLength() && (text[index] == '-' || text[index] == '+')) negative = text[index++] == '-';
  long long value = 0;
  for (; index < text.GetLength() && text[index] >= '0' && text[index] <= '9'; ++index) {
    value = value * 10 + (text[index] - '0');
    if (value > 0x80000000LL) value = 0x80000000LL;
  }
  if (negative) value = -value;
  return static_cast<int>(std::max<long long>(INT32_MIN, std::min<long long>(INT32_MAX, value)));
}

BOOL CHalvoranApp::WriteSettingDWORD(LPCTSTR name, DWORD value) {
  return RegWriteDWORD(HKEY_CURRENT_USER, GetSettingsKeyPath(), name, value);
}

BOOL CHalvoranApp::WriteSettingInt(LPCTSTR name, int value) {
  CString text;
  text.Format(_T("%d"), value);
  return WriteSettingString(name, text);
}

BOOL CHalvoranApp::WriteSettingString(LPCTSTR name, LPCTSTR text) {
  return RegWriteString(HKEY_CURRENT_USER, GetSettingsKeyPath(), name, text);
}

BOOL CHalvoranApp::WriteLauncherStatus(DWORD errorCount, int toolIndex, DWORD iconStatus, LPCTSTR text,
                                       LPCTSTR homeText, const CTime& scanTime) {
  const CString path = LauncherKeyPath(toolIndex);
  CRegistry key;
  if (path.IsEmpty() || !key.Open(HKEY_CURRENT_USER, path, TRUE)) return FALSE;
  BOOL written = key.WriteDWORDValue(_T("ErrorCount"), errorCount) &&
                 key.WriteDWORDValue(_T("iconStatus"), iconStatus) &&
                 key.WriteString(_T("MSG"), text ? text : _T("")) &&
                 key.WriteString(_T("MSGOnHome"), homeText ? homeText : _T(""));
  if (written && scanTime.GetTime() != 0) written = key.WriteString(_T("LastScanDateTime"), DateTimeText(scanTime));
  return written;
}

DWORD CHalvoranApp::ReadLauncherErrorCount(int toolIndex) {
  const CString path = LauncherKeyPath(toolIndex);
  CRegistry key;
  DWORD count = 0;
  if (path.IsEmpty() || !key.Open(HKEY_CURRENT_USER, path, TRUE) || !key.ReadDWORD(_T("ErrorCount"), count)) return 0;
  return count;
}

CString CHalvoranApp::ReadLauncherStatus(CString& text, int toolIndex, DWORD& iconStatus, BOOL homePage,
                                         BOOL wantDate) {
  text.Empty();
  CString date;
  const CString path = LauncherKeyPath(toolIndex);
  CRegistry key;
  if (!path.IsEmpty() && key.Open(HKEY_CURRENT_USER, path, FALSE)) {
    DWORD icon = 0;
    if (key.ReadDWORD(_T("iconStatus"), icon)) iconStatus = icon;
    key.ReadString(homePage ? _T("MSGOnHome") : _T("MSG"), text);
    key.ReadString(_T("LastScanDateTime"), date);
  }
  if (text.IsEmpty() && !homePage) GetLangText(text, _T("IDS_SCAN_YET_NOT_PERF"), nullptr);
  return wantDate ? date : text;
}
