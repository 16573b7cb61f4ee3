// The application's registry key: where its profile values live below HKEY_CURRENT_USER.
#include "afxwin.h"

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
  registryKey_ = lpszRegistryKey ? lpszRegistryKey : _T("");
  m_pszRegistryKey = registryKey_;
  m_pszProfileName = m_pszAppName;
}
