// The application's name and the class library's message box.
#include "afxwin.h"

CString AfxGetAppName() {
  if (const CWinApp* app = AfxGetApp(); app && app->m_pszAppName) return app->m_pszAppName;
  WCHAR path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  CString name = path;
  name = name.Mid(name.ReverseFind(_T('\\')) + 1);
  const int dot = name.ReverseFind(_T('.'));
  return dot > 0 ? name.Left(dot) : name;
}

int AfxMessageBox(LPCTSTR text, UINT type, UINT) {
  return MessageBoxW(nullptr, text, AfxGetAppName(), type);
}
