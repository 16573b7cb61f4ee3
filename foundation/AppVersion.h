// The installation's version: the file version of the shared library the program runs with.
#pragma once
#include <afx.h>

#include "HelperApi.h"

// The dotted file version of the loaded "zephrinkxhelper.dll", which lies in the program's
// folder, trimmed; answers its length, 0 when the file has no version.
ZXHELPER_API int GetAppVer(CString& text);
