// CHVLogFont: the shared base font description, optionally with its own face, height, weight
// and underline.
#pragma once
#include "HelperApi.h"
#include <wingdi.h>

struct ZXHELPER_API CHVLogFont : public LOGFONTW {
  CHVLogFont();
  CHVLogFont(LPCWSTR lpszFaceName, LONG nHeight, BOOL bBold, BOOL bUnderline);
};
