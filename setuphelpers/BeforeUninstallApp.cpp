// CBeforeUninstallApp: the uninstall helper's one step after the common start-up.
#include "BeforeUninstallApp.h"

#include "Registry.h"

CBeforeUninstallApp::CBeforeUninstallApp() : CHalvoranApp(_T("Before Uninstall"), _T("qvx.ini")) {}

BOOL CBeforeUninstallApp::InitInstance() {
  CHalvoranApp::InitInstance();  // a second start or a missing text table changes nothing here
  CString rootPath;
  GetProductRegistryKey(rootPath);
  CRegistry machine;  // read and write access (0x2001F); closed with the object
  if (machine.Open(HKEY_LOCAL_MACHINE, rootPath, TRUE)) machine.WriteDWORDValue(kProceedUninstallValue, 1);
  return FALSE;
}
