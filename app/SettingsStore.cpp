// The settings store's value functions over CRegKeyAccess.
#include "SettingsStore.h"

#include <climits>

#include "ProcessControl.h"
#include "RegKeyAccess.h"

CString BuildSettingsKeyPath() { return GetAppRegistryKey() + _T("\\Settings"); }

bool ReadHkcuValue(const CString& keyPath, const CString& name, CString& text, DWORD& number, int type) {
  try {
    CRegKeyAccess key(HKEY_CURRENT_USER, CRegKeyAccess::kReadOnly);
    if (!key.Open(HKEY_CURRENT_USER, keyPath) || !key.ValueExists(name)) return true;
    if (type == kSettingText) {
      key.ReadString(name, text);
    } else {
      key.ReadDword(name, number);
    }
    return true;
  } catch (CException* error) {
    error->Delete();
    return false;
  }
}

bool GetHkcuValue(CString keyPath, CString name, CString& text, int type) {
  DWORD unused = 0;
  return ReadHkcuValue(keyPath, name, text, unused, type);
}

bool WriteHkcuValue(const CString& keyPath, const CString& name, const CString& text, DWORD number, int type,
                    bool create) {
  try {
    CRegKeyAccess key(HKEY_CURRENT_USER, CRegKeyAccess::kReadWrite);
    if (!key.Open(HKEY_CURRENT_USER, keyPath, create)) return true;
    if (!create && !key.ValueExists(name)) return true;
    if (type == kSettingText) {
      key.WriteString(name, text);
    } else if (type == kSettingNumber) {
      key.WriteDword(name, number);
    }
    return true;
  } catch (CException* error) {
    error->Delete();
    return false;
  }
}

bool SetHkcuValue(CString keyPath, CString name, CString text, int type, bool create) {
  return WriteHkcuValue(keyPath, name, text, 0, type, create);
}

int DecimalValue(const CString& text) {
  int at = 0;
  const int length = text.GetLength();
  while (at < length && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  const bool negative = at < length && text[at] == '-';
  if (at < length && (text[at] == '-' || text[at] == '+')) ++at;
  long long value = 0;
  for (; at < length && text[at] >= '0' && text[at] <= '9'; ++at) {
    value = value * 10 + (text[at] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int ReadSettingSwitch(const CString& keyPath, LPCTSTR name) {
  CString text;
  GetHkcuValue(keyPath, name, text, kSettingText);
  return DecimalValue(text);
}

int ReadSettingSwitchOrDefault(const CString& keyPath, LPCTSTR name, int defaultValue) {
  CString text;
  {
    CRegKeyAccess key(HKEY_CURRENT_USER, CRegKeyAccess::kReadOnly);
    if (key.Open(HKEY_CURRENT_USER, keyPath) && key.ValueExists(name)) {
      key.ReadString(name, text);
      return DecimalValue(text);
    }
  }
  WriteSettingSwitch(keyPath, name, defaultValue);
  return defaultValue;
}

bool WriteSettingSwitch(const CString& keyPath, LPCTSTR name, int value) {
  CString text;
  text.Format(_T("%d"), value);
  return SetHkcuValue(keyPath, name, text, kSettingText, true);
}

CString ReadSettingFolder(const CString& keyPath, LPCTSTR name, const CString& defaultFolder) {
  CString folder;
  GetHkcuValue(keyPath, name, folder, kSettingText);
  return folder.IsEmpty() ? defaultFolder : folder;
}
