// CBeforeUninstallApp: the uninstall helper's application object. It opens no window and
// reads no command line; it records in the machine's registry that uninstallation may proceed.
#pragma once
#include "HalvoranApp.h"

// HKEY_LOCAL_MACHINE\<product registry root>: REG_DWORD 1 lets the uninstaller go on.
constexpr LPCTSTR kProceedUninstallValue = _T("ProceedUninstall");

class CBeforeUninstallApp : public CHalvoranApp {
 public:
  CBeforeUninstallApp();

  // Runs the application base's start-up, writes ProceedUninstall = 1 and answers FALSE, so
  // that the program ends.
  BOOL InitInstance() override;
};
