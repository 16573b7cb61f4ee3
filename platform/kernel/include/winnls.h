// National-language support: the ANSI code page and the locale facts the system asks for,
// and the flags of the code-page conversions (stringapiset.h). The layer has one ANSI code
// page, Windows-1252, whatever the locale.
#pragma once
#include "wintypes.h"

using LCTYPE = DWORD;

#define LOCALE_SYSTEM_DEFAULT 0x0800u
#define LOCALE_USER_DEFAULT 0x0400u
#define LOCALE_IDEFAULTANSICODEPAGE 0x00001004u

#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define WC_COMPOSITECHECK 0x00000200
#define WC_DISCARDNS 0x00000010
#define WC_SEPCHARS 0x00000020
#define WC_DEFAULTCHAR 0x00000040

UINT GetACP();
// Only LOCALE_IDEFAULTANSICODEPAGE is known ("1252" for every locale); other types answer
// 0 with ERROR_INVALID_FLAGS. A size of 0 asks for the length needed with the terminator;
// a buffer too small answers 0 with ERROR_INSUFFICIENT_BUFFER.
int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int size);
inline int GetLocaleInfo(LCID locale, LCTYPE type, LPWSTR data, int size) {
  return GetLocaleInfoW(locale, type, data, size);
}
