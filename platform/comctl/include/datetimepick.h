// The date and time picker "SysDateTimePick32": a date or a time shown in fields (day, month,
// year, hour, minute...) after a format, one field chosen at a time and moved with the arrow
// keys, the up-down buttons or the mouse; each change is told to the parent as WM_NOTIFY
// DTN_DATETIMECHANGE.
#pragma once
#include "commctrl.h"

#define DATETIMEPICK_CLASSW u"SysDateTimePick32"

// Styles. DTS_TIMEFORMAT includes DTS_UPDOWN: a time is changed with up-down buttons.
#define DTS_UPDOWN 0x0001u
#define DTS_SHOWNONE 0x0002u
#define DTS_SHORTDATEFORMAT 0x0000u
#define DTS_LONGDATEFORMAT 0x0004u
#define DTS_SHORTDATECENTURYFORMAT 0x000Cu
#define DTS_TIMEFORMAT 0x0009u
#define DTS_APPCANPARSE 0x0010u
#define DTS_RIGHTALIGN 0x0020u

// Messages.
#define DTM_FIRST 0x1000u
#define DTM_GETSYSTEMTIME (DTM_FIRST + 1)
#define DTM_SETSYSTEMTIME (DTM_FIRST + 2)
#define DTM_GETRANGE (DTM_FIRST + 3)
#define DTM_SETRANGE (DTM_FIRST + 4)
#define DTM_SETFORMATW (DTM_FIRST + 50)

// DTM_GETSYSTEMTIME's answers and DTM_SETSYSTEMTIME's wParam.
#define GDT_ERROR (-1)
#define GDT_VALID 0
#define GDT_NONE 1
// DTM_GETRANGE's answer and DTM_SETRANGE's wParam: which limits are set.
#define GDTR_MIN 0x0001u
#define GDTR_MAX 0x0002u

// Notifications.
#define DTN_FIRST2 (0u - 753u)
#define DTN_DATETIMECHANGE (DTN_FIRST2 - 6)

struct NMDATETIMECHANGE {
  NMHDR nmhdr;
  DWORD dwFlags;  // GDT_VALID or GDT_NONE
  SYSTEMTIME st;
};
using LPNMDATETIMECHANGE = NMDATETIMECHANGE*;

inline DWORD DateTime_GetSystemtime(HWND picker, SYSTEMTIME* time) {
  return static_cast<DWORD>(SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time)));
}
inline BOOL DateTime_SetSystemtime(HWND picker, DWORD flag, const SYSTEMTIME* time) {
  return static_cast<BOOL>(SendMessageW(picker, DTM_SETSYSTEMTIME, flag, reinterpret_cast<LPARAM>(time)));
}
inline BOOL DateTime_SetFormat(HWND picker, LPCWSTR format) {
  return static_cast<BOOL>(SendMessageW(picker, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format)));
}
