// The class library's window side (grows with the windows that use it): message boxes.
#pragma once
#include "afx.h"
#include "winuser.h"

// The application's name: the running program's file name without its folder and extension
// until an application object names itself.
CString AfxGetAppName();
// A message box owned by the application, captioned with its name.
int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
