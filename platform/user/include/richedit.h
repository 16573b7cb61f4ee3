// The rich edit control as the system uses it: the class "RichEdit20W", plain text with a
// character limit, its selection and event-mask messages. It is the edit control of this
// layer (winuser.h) under another class name, answering these messages too.
#pragma once
#include "winuser.h"

#define RICHEDIT_CLASSW u"RichEdit20W"
#define RICHEDIT_CLASS RICHEDIT_CLASSW

struct CHARRANGE {
  LONG cpMin;
  LONG cpMax;
};

#define EM_EXGETSEL (WM_USER + 52)
#define EM_EXLIMITTEXT (WM_USER + 53)
#define EM_EXSETSEL (WM_USER + 55)
#define EM_GETEVENTMASK (WM_USER + 59)
#define EM_SETBKGNDCOLOR (WM_USER + 67)
#define EM_SETEVENTMASK (WM_USER + 69)
#define EM_SETTEXTMODE (WM_USER + 89)
#define EM_GETTEXTMODE (WM_USER + 90)
#define EM_AUTOURLDETECT (WM_USER + 91)

// Event mask bits: EN_CHANGE reaches the parent only with ENM_CHANGE set, as Windows does.
#define ENM_NONE 0x00000000u
#define ENM_CHANGE 0x00000001u
#define ENM_UPDATE 0x00000002u
#define ENM_SCROLL 0x00000004u
#define ENM_KEYEVENTS 0x00010000u
#define ENM_MOUSEEVENTS 0x00020000u
#define ENM_SELCHANGE 0x00080000u
#define ENM_LINK 0x04000000u

#define TM_PLAINTEXT 1
#define TM_RICHTEXT 2
