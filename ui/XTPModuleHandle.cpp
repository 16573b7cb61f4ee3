// CXTPModuleHandle: a borrowed or loaded module and its DllGetVersion answer.
#include "XTPModuleHandle.h"

#include "shellnotify.h"

namespace {

using DllGetVersionProc = HRESULT (*)(DLLVERSIONINFO*);

}  // namespace

CXTPModuleHandle::CXTPModuleHandle(LPCTSTR lpszModuleName) { Init(lpszModuleName); }

CXTPModuleHandle::~CXTPModuleHandle() { FreeModule(); }

void CXTPModuleHandle::FreeModule() {
  if (m_hModule && m_bLoaded) ::FreeLibrary(m_hModule);
  m_hModule = nullptr;
  m_bLoaded = FALSE;
  m_dwVersion = 0;
  m_bVersionAsked = FALSE;
  m_strModuleName.Empty();
}

BOOL CXTPModuleHandle::Init(LPCTSTR lpszModuleName) {
  FreeModule();
  if (!lpszModuleName || !*lpszModuleName) return FALSE;
  m_strModuleName = lpszModuleName;
  m_hModule = ::GetModuleHandleW(lpszModuleName);
  if (!m_hModule) {
    m_hModule = ::LoadLibraryW(lpszModuleName);
    m_bLoaded = m_hModule != nullptr;
  }
  return m_hModule != nullptr;
}

DWORD CXTPModuleHandle::GetModuleVersion() {
  if (m_bVersionAsked || !m_hModule) return m_dwVersion;
  m_bVersionAsked = TRUE;
  const auto proc = reinterpret_cast<DllGetVersionProc>(::GetProcAddress(m_hModule, "DllGetVersion"));
  if (!proc) return m_dwVersion;
  DLLVERSIONINFO info{};
  info.cbSize = sizeof info;
  if (SUCCEEDED(proc(&info))) m_dwVersion = MAKELONG(info.dwMinorVersion, info.dwMajorVersion);
  return m_dwVersion;
}
