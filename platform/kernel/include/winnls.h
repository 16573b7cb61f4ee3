// National-language support: the ANSI code page and the locale facts the system asks for,
// the flags of the code-page conversions (stringapiset.h), and dates and times as text. The
// layer has one ANSI code page, Windows-1252, whatever the locale.
#pragma once
#include "wintypes.h"

using LCTYPE = DWORD;

#define LOCALE_SYSTEM_DEFAULT 0x0800u
#define LOCALE_USER_DEFAULT 0x0400u
#define LOCALE_IDEFAULTANSICODEPAGE 0x00001004u
#define LOCALE_NOUSEROVERRIDE 0x80000000u

#define DATE_SHORTDATE 0x00000001u
#define DATE_LONGDATE 0x00000002u
#define TIME_NOMINUTESORSECONDS 0x00000001u
#define TIME_NOSECONDS 0x00000002u
#define TIME_NOTIMEMARKER 0x00000004u
#define TIME_FORCE24HOURFORMAT 0x00000008u

#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define WC_COMPOSITECHECK 0x00000200
#define WC_DISCARDNS 0x00000010
#define WC_SEPCHARS 0x00000020
#define WC_DEFAULTCHAR 0x00000040

using LANGID = WORD;

UINT GetACP();
// The user's interface language: machine.ini [Locale] UILanguage (a language id such as
// 0x0407, hexadecimal with "0x" or decimal), English (United States), 0x0409, when absent.
LANGID GetUserDefaultUILanguage();
// Only LOCALE_IDEFAULTANSICODEPAGE is known ("1252" for every locale); other types answer
// 0 with ERROR_INVALID_FLAGS. A size of 0 asks for the length needed with the terminator;
// a buffer too small answers 0 with ERROR_INSUFFICIENT_BUFFER.
int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int size);
inline int GetLocaleInfo(LCID locale, LCTYPE type, LPWSTR data, int size) {
  return GetLocaleInfoW(locale, type, data, size);
}

// Dates and times through a picture of the user's locale, English (United States) for every
// locale. Date pictures: d dd (day), ddd dddd (weekday name, short or full), M MM (month),
// MMM MMMM (month name), y yy (year in the century), yyyy (year), g gg (era); time pictures:
// h hh (12-hour), H HH (24-hour), m mm, s ss, t tt (A/P, AM/PM). Text in single quotes is
// copied ('' is a quote). Without a picture the date is DATE_SHORTDATE "M/d/yyyy" (the
// default) or DATE_LONGDATE "dddd, MMMM d, yyyy" and the time "h:mm:ss tt"; a picture with
// DATE_SHORTDATE or DATE_LONGDATE, or both of them, is ERROR_INVALID_FLAGS. TIME_NOSECONDS,
// TIME_NOMINUTESORSECONDS and TIME_NOTIMEMARKER leave those elements out with the text before
// them; TIME_FORCE24HOURFORMAT makes h count 24 hours. A null time is the local time now. A
// day outside the calendar or a time outside the day is ERROR_INVALID_PARAMETER. Answers the
// characters written with the terminator; a size of 0 asks for that count, a buffer too small
// answers 0 with ERROR_INSUFFICIENT_BUFFER.
int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format, LPWSTR buffer, int size);
int GetTimeFormatW(LCID locale, DWORD flags, const SYSTEMTIME* time, LPCWSTR format, LPWSTR buffer, int size);
inline int GetDateFormat(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format, LPWSTR buffer,
                         int size) {
  return GetDateFormatW(locale, flags, date, format, buffer, size);
}
inline int GetTimeFormat(LCID locale, DWORD flags, const SYSTEMTIME* time, LPCWSTR format, LPWSTR buffer,
                         int size) {
  return GetTimeFormatW(locale, flags, time, format, buffer, size);
}
