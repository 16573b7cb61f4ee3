// The settings object of a program over its key below HKEY_CURRENT_USER.
#include "ConfigurationManager.h"

#include "Registry.h"
#include "TextRing.h"

namespace {

constexpr REGSAM kReadAccess = 0x20019;
constexpr REGSAM kWriteAccess = 0x2001F;
constexpr REGSAM kViewFlags = 0x300;

// The ring of eight texts handed out by ReadStringRing.
CTextRing<8>& Ring() {
  static CTextRing<8> ring;
  return ring;
}

}  // namespace

tagConfigKey::~tagConfigKey() {
  if (hKey) RegCloseKey(hKey);
}

IMPLEMENT_DYNCREATE(CConfigurationManager, CObject)

CConfigurationManager::CConfigurationManager() { InitLock(&m_lock); }

CConfigurationManager::~CConfigurationManager() { DeleteCriticalSection(&m_lock); }

CConfigurationManager* CConfigurationManager::Create(LPCTSTR subKey) {
  auto* manager = new CConfigurationManager;
  CString name(subKey);
  name.Trim();
  GetProductRegistryKey(manager->m_strKeyPath);
  manager->m_strKeyPath += _T("\\");
  manager->m_strKeyPath += name;
  return manager;
}

BOOL CConfigurationManager::ReadString(LPCTSTR name, CString& text) {
  CRegistry key;
  key.m_dwAccess = kReadAccess;
  if (!key.Open(HKEY_CURRENT_USER, m_strKeyPath) || !key.ValueExists(name)) return FALSE;
  CString value;
  if (!key.ReadString(name, value)) return FALSE;
  text = value;
  return TRUE;
}

LPCTSTR CConfigurationManager::ReadStringRing(LPCTSTR name) {
  return Ring().Next([this, name](CString& slot) {
    slot.Empty();
    ReadString(name, slot);
  });
}

ULONGLONG CConfigurationManager::ReadQword(LPCTSTR name) {
  tagConfigKey key;
  if (OpenKey(kReadAccess, key, m_strKeyPath) != ERROR_SUCCESS) return 0;
  ULONGLONG value = 0;
  DWORD type = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExW(key.hKey, name, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size) != ERROR_SUCCESS ||
      type != REG_QWORD || size != sizeof value)
    return 0;
  return value;
}

BOOL CConfigurationManager::WriteQword(LPCTSTR name, ULONGLONG value) {
  tagConfigKey key;
  if (OpenKey(kWriteAccess, key, m_strKeyPath) != ERROR_SUCCESS) return FALSE;
  return RegSetValueExW(key.hKey, name, 0, REG_QWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
         ERROR_SUCCESS;
}

LONG CConfigurationManager::OpenKey(REGSAM access, tagConfigKey& key, LPCTSTR path) {
  HKEY opened = nullptr;
  const LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, access, &opened);
  if (result != ERROR_SUCCESS) return result;
  if (key.hKey) RegCloseKey(key.hKey);
  key.hKey = opened;
  key.dwViewFlags = access & kViewFlags;
  return ERROR_SUCCESS;
}
