// Text lookup of the application base and the language resource library of the process.
#include <mutex>

#include "HalvoranApp.h"
#include "IniReader.h"
#include "zephrinkxsys.h"

CString CHalvoranApp::GetLangText(CString& text, LPCTSTR stringId, LPCTSTR section) {
  const LPCTSTR useSection = section && *section ? section : static_cast<LPCTSTR>(m_strDefaultSection);
  return ReadIniString(text, stringId, useSection, g_pLangIniReader, g_pClientIniReader);
}

CString CHalvoranApp::GetLangTextA(CString& text, LPCSTR stringId) {
  const CString wide(stringId);  // the narrow id through the thread's code page
  return GetLangText(text, wide, nullptr);
}

HMODULE GetResourceModule() {
  static HMODULE module = nullptr;
  static std::once_flag once;
  std::call_once(once, [] {
    const LPCSTR path = GetCurResDll();
    if (path && *path) module = LoadLibraryA(path);
  });
  return module;
}
