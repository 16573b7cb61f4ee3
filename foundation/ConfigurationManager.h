// The settings object of a program: one key below HKEY_CURRENT_USER (the product's registry
// path joined with a sub-key name), with string, 64-bit and ring-buffered reads.
#pragma once
#include <afx.h>
#include <windows.h>

#include "HelperApi.h"

// A key opened by CConfigurationManager::OpenKey: the handle (closed with the record) and the
// view flags (KEY_WOW64_64KEY, KEY_WOW64_32KEY) of the access it was opened with.
struct ZXHELPER_API tagConfigKey {
  tagConfigKey() = default;
  ~tagConfigKey();
  tagConfigKey(const tagConfigKey&) = delete;
  tagConfigKey& operator=(const tagConfigKey&) = delete;
  HKEY hKey = nullptr;
  REGSAM dwViewFlags = 0;
};

class ZXHELPER_API CConfigurationManager : public CObject {
  DECLARE_DYNCREATE(CConfigurationManager)

 public:
  CConfigurationManager();
  ~CConfigurationManager() override;
  CConfigurationManager(const CConfigurationManager&) = delete;
  CConfigurationManager& operator=(const CConfigurationManager&) = delete;

  // A new object over <product registry path>\<trimmed sub-key>; the caller deletes it.
  static CConfigurationManager* Create(LPCTSTR subKey);

  // True when the value exists; its text is then in text.
  BOOL ReadString(LPCTSTR name, CString& text);
  // The value's text (empty when missing) in the next of eight slots shared by the process;
  // it stays valid until seven further ring reads have been made.
  LPCTSTR ReadStringRing(LPCTSTR name);
  // The REG_QWORD value; 0 when missing or of another type or size.
  ULONGLONG ReadQword(LPCTSTR name);
  // Writes a REG_QWORD into the existing key; never creates the key.
  BOOL WriteQword(LPCTSTR name, ULONGLONG value);
  // Opens path below HKEY_CURRENT_USER; on success the record's earlier handle is closed and
  // replaced. Answers the registry's result code.
  static LONG OpenKey(REGSAM access, tagConfigKey& key, LPCTSTR path);

  const CString& GetKeyPath() const { return m_strKeyPath; }

  CRITICAL_SECTION m_lock;
  CString m_strKeyPath;
};
