// CXTPModuleHandle: a module by name, borrowed when it is loaded already, else loaded and
// freed again with the object; and the module's version as its "DllGetVersion" export
// answers it.
#pragma once
#include <afx.h>

#include "HelperApi.h"

class ZXHELPER_API CXTPModuleHandle {
 public:
  CXTPModuleHandle() = default;
  explicit CXTPModuleHandle(LPCTSTR lpszModuleName);
  ~CXTPModuleHandle();
  CXTPModuleHandle(const CXTPModuleHandle&) = delete;
  CXTPModuleHandle& operator=(const CXTPModuleHandle&) = delete;

  // Lets go of the module held before, then borrows or loads the module of that name; false
  // when it can be neither.
  BOOL Init(LPCTSTR lpszModuleName);
  HMODULE GetHandle() const { return m_hModule; }
  const CString& GetName() const { return m_strModuleName; }
  // True when this object loaded the module (and frees it).
  BOOL IsLoaded() const { return m_bLoaded; }
  // major x 65536 + minor from the module's DllGetVersion (asked once, 20-byte record); 0
  // when there is no module, no such export or it fails.
  DWORD GetModuleVersion();

 private:
  void FreeModule();

  HMODULE m_hModule = nullptr;
  BOOL m_bLoaded = FALSE;
  CString m_strModuleName;
  DWORD m_dwVersion = 0;
  BOOL m_bVersionAsked = FALSE;
};
