// CWinAppEx: the registry base of the workspace values, the managers' start-up and the
// workspace hooks' defaults.
#include "afxwinappex.h"

namespace {
const TCHAR kDefaultRegistryBase[] = _T("Workspace");
}

IMPLEMENT_DYNAMIC(CWinAppEx, CWinApp)

CWinAppEx::CWinAppEx(BOOL bResourceSmartUpdate)
    : m_bResourceSmartUpdate(bResourceSmartUpdate), registryBase_(kDefaultRegistryBase) {}

CWinAppEx::CWinAppEx(LPCTSTR lpszAppName, BOOL bResourceSmartUpdate)
    : CWinApp(lpszAppName),
      m_bResourceSmartUpdate(bResourceSmartUpdate),
      registryBase_(kDefaultRegistryBase) {}

LPCTSTR CWinAppEx::SetRegistryBase(LPCTSTR lpszSectionName) {
  registryBase_ = lpszSectionName ? lpszSectionName : kDefaultRegistryBase;
  return registryBase_;
}

CString CWinAppEx::GetRegSectionPath(LPCTSTR szSectionAdd) {
  CString path = _T("Software\\");
  if (m_pszRegistryKey && *m_pszRegistryKey) path += CString(m_pszRegistryKey) + _T("\\");
  if (LPCTSTR name = m_pszProfileName ? m_pszProfileName : m_pszAppName; name && *name)
    path += CString(name) + _T("\\");
  path += registryBase_ + _T("\\");
  if (szSectionAdd && *szSectionAdd) path += CString(szSectionAdd) + _T("\\");
  return path;
}

BOOL CWinAppEx::StartManager(BOOL& started) {
  if (started) return FALSE;
  started = TRUE;
  return TRUE;
}

BOOL CWinAppEx::InitContextMenuManager() { return StartManager(contextMenuManager_); }
BOOL CWinAppEx::InitKeyboardManager() { return StartManager(keyboardManager_); }
BOOL CWinAppEx::InitMouseManager() { return StartManager(mouseManager_); }
BOOL CWinAppEx::InitShellManager() { return StartManager(shellManager_); }
BOOL CWinAppEx::InitTooltipManager() { return StartManager(tooltipManager_); }

BOOL CWinAppEx::OnWorkspaceIdle(CWnd*) { return FALSE; }
void CWinAppEx::PreLoadState() {}
void CWinAppEx::LoadCustomState() {}
void CWinAppEx::PreSaveState() {}
void CWinAppEx::SaveCustomState() {}
