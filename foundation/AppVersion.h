// The installation's version: the file version of the shared library beside the program.
#pragma once
#include <afx.h>

#include "HelperApi.h"

// The dotted file version of "zephrinkxhelper.dll" in the running program's folder, trimmed;
// answers its length, 0 when the file or its version is missing.
ZXHELPER_API int GetAppVer(CString& text);
