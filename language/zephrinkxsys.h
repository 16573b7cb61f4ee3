// Exports of the system library zephrinkxsys: the current language folder, locale, font and
// language resource library, read from "lang.lng" beside the library and overridden per user
// under HKEY_CURRENT_USER\Software\Zephrin\ZephrinKX\Lang.
#pragma once
#include "wintypes.h"

#if defined(ZEPHRINKXSYS_BUILD)
#define ZXSYS_API extern "C" __attribute__((visibility("default")))
#else
#define ZXSYS_API extern "C"
#endif

// Each answer points into storage of the calling thread and stays valid until that thread's
// next query.
ZXSYS_API LPCSTR GetCurLangPath();
ZXSYS_API LPCSTR GetCurFontFace();
ZXSYS_API LONG GetCurFontSize();
ZXSYS_API LPCSTR GetCurLocale();
ZXSYS_API LPCSTR GetCurSelectedLang();
ZXSYS_API LPCSTR GetCurResDll();
ZXSYS_API DWORD ReturnBuildOptforZEPHRIN_KX(LPCSTR ignored);
