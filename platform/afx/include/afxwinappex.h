// CWinAppEx: the class library's extended application object, a CWinApp with a registry
// base for the application's workspace values, the start-up of its managers and the state
// and idle hooks that derived applications override.
#pragma once
#include "afxwin.h"

class CWinAppEx : public CWinApp {
  DECLARE_DYNAMIC(CWinAppEx)

 public:
  explicit CWinAppEx(BOOL bResourceSmartUpdate = FALSE);
  // As CWinApp(lpszAppName): the application's name given at construction.
  explicit CWinAppEx(LPCTSTR lpszAppName, BOOL bResourceSmartUpdate = FALSE);

  BOOL m_bResourceSmartUpdate;

  // The key, below the application's registry key, that the workspace values live under
  // ("Workspace" until set; a null name sets it back); answers the base now in force.
  LPCTSTR SetRegistryBase(LPCTSTR lpszSectionName = nullptr);
  LPCTSTR GetRegistryBase() { return registryBase_; }
  // "Software\<registry key>\<profile name>\<base>\" followed by szSectionAdd and a
  // backslash when it is not empty; without a registry key (SetRegistryKey) the
  // application's key is "Software\<application name>".
  CString GetRegSectionPath(LPCTSTR szSectionAdd = _T(""));

  // The managers of the extended application: TRUE when this call started one, FALSE when
  // it was already running.
  BOOL InitContextMenuManager();
  BOOL InitKeyboardManager();
  BOOL InitMouseManager();
  BOOL InitShellManager();
  BOOL InitTooltipManager();

  // Hooks of the workspace: idle time of a workspace window (FALSE: no more idle work wanted)
  // and the moments before and after the application's state is read and written.
  virtual BOOL OnWorkspaceIdle(CWnd* pWnd);
  virtual void PreLoadState();
  virtual void LoadCustomState();
  virtual void PreSaveState();
  virtual void SaveCustomState();

 private:
  BOOL StartManager(BOOL& started);

  CString registryBase_;
  BOOL contextMenuManager_ = FALSE;
  BOOL keyboardManager_ = FALSE;
  BOOL mouseManager_ = FALSE;
  BOOL shellManager_ = FALSE;
  BOOL tooltipManager_ = FALSE;
};
