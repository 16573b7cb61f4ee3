// CRegKeyAccess: opening, creating and reading one registry key.
#include "RegKeyAccess.h"

#include <vector>

CRegKeyAccess::CRegKeyAccess(HKEY root, REGSAM access) : m_root(root), m_access(access) {}

CRegKeyAccess::~CRegKeyAccess() { Close(); }

bool CRegKeyAccess::Open(HKEY root, LPCTSTR subKey, bool create) {
  Close();
  if (RegOpenKeyExW(root, subKey, 0, m_access, &m_key) != ERROR_SUCCESS) {
    m_key = nullptr;
    if (!create || m_access == kReadOnly || !Create(root, subKey)) return false;
  }
  m_subKey = subKey;
  return true;
}

bool CRegKeyAccess::Create(HKEY root, LPCTSTR subKey) {
  Close();
  if (RegCreateKeyExW(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, m_access, nullptr, &m_key, nullptr) !=
      ERROR_SUCCESS) {
    m_key = nullptr;
    return false;
  }
  m_subKey = subKey;
  return true;
}

void CRegKeyAccess::Close() {
  if (m_key != nullptr) RegCloseKey(m_key);
  m_key = nullptr;
}

bool CRegKeyAccess::ValueExists(LPCTSTR name) const {
  return m_key != nullptr && RegQueryValueExW(m_key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool CRegKeyAccess::DeleteValue(LPCTSTR name) {
  return m_key != nullptr && RegDeleteValueW(m_key, name) == ERROR_SUCCESS;
}

bool CRegKeyAccess::WriteString(LPCTSTR name, LPCTSTR text) {
  const DWORD bytes = static_cast<DWORD>((lstrlenW(text) + 1) * sizeof(WCHAR));
  return m_key != nullptr &&
         RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) == ERROR_SUCCESS;
}

bool CRegKeyAccess::WriteDword(LPCTSTR name, DWORD value) {
  return m_key != nullptr &&
         RegSetValueExW(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
}

bool CRegKeyAccess::Query(LPCTSTR name, DWORD& type, std::vector<WCHAR>& buffer) const {
  if (m_key == nullptr) return false;
  // Room for the value and two terminators, so that even unterminated text ends.
  buffer.assign(256, 0);
  DWORD size = static_cast<DWORD>((buffer.size() - 2) * sizeof(WCHAR));
  LONG result = RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
  if (result == ERROR_MORE_DATA) {
    buffer.assign(size / sizeof(WCHAR) + 3, 0);
    result = RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
  }
  if (result != ERROR_SUCCESS) return false;
  buffer.resize(size / sizeof(WCHAR) + 2);
  buffer[buffer.size() - 1] = buffer[buffer.size() - 2] = 0;
  return true;
}

bool CRegKeyAccess::ReadString(LPCTSTR name, CString& text) const {
  DWORD type = 0;
  std::vector<WCHAR> buffer;
  if (!Query(name, type, buffer) || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  text = buffer.data();
  return true;
}

bool CRegKeyAccess::ReadDword(LPCTSTR name, DWORD& value) const {
  DWORD type = 0, read = 0, size = sizeof read;
  if (m_key == nullptr ||
      RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(&read), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof read)
    return false;
  value = read;
  return true;
}

bool CRegKeyAccess::ReadMultiString(LPCTSTR name, CStringArray& list, LPCTSTR defaultText) const {
  DWORD type = 0;
  std::vector<WCHAR> buffer;
  if (!Query(name, type, buffer) || (type != REG_MULTI_SZ && type != REG_EXPAND_SZ)) {
    list.Add(defaultText);
    return false;
  }
  list.RemoveAll();
  for (const WCHAR* item = buffer.data(); *item != 0; item += lstrlenW(item) + 1) list.Add(item);
  return true;
}
