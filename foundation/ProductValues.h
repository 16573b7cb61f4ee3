// Getters of the product's identity values, legacy task names and module table.
#pragma once
#include <afx.h>

#include "HelperApi.h"

ZXHELPER_API CString GetCompanyName();
ZXHELPER_API CString GetLegalNotice();
ZXHELPER_API CString GetWebSiteAddress();
ZXHELPER_API CString GetWebSiteAddress2();
ZXHELPER_API CString GetSupportMailAddress();

// "ZEPHRINKX-ZEPHRINKXTunevo", this product's legacy scheduled-task name.
ZXHELPER_API CString GetProductTaskName();
// The legacy task names of the suite's other modules.
ZXHELPER_API CString GetOptivelTaskName();
ZXHELPER_API CString GetCleanorTaskName();
ZXHELPER_API CString GetRegvexTaskName();
ZXHELPER_API CString GetPrivoxTaskName();
ZXHELPER_API CString GetDefragonTaskName();
ZXHELPER_API CString GetBackoraTaskName();
ZXHELPER_API CString GetSpeedixTaskName();

// Module table accessors; an index outside the table answers empty text (or -1).
ZXHELPER_API CString GetModuleName(int index);
ZXHELPER_API CString GetModuleDescription(int index);
ZXHELPER_API CString GetModuleDisplayName(int index);
ZXHELPER_API CString GetModuleIniName(int index);
ZXHELPER_API int GetModuleId(int index);
