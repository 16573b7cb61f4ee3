// The dialog manager: dialogs built from DLGTEMPLATEEX templates (in memory or found in a
// module's resources), modal and modeless, dialog units and base units, the dialog-item
// helpers and the dialog keys.
#pragma once
#include "winuser.h"

// Dialog styles.
#define DS_ABSALIGN 0x01u
#define DS_SYSMODAL 0x02u
#define DS_SETFONT 0x40u
#define DS_MODALFRAME 0x80u
#define DS_CONTROL 0x0400u
#define DS_CENTER 0x0800u

// Dialog messages: the default push button's id. DefDlgProcW keeps it (IDOK until set) and
// gives the push buttons of the old and new id the plain and default styles.
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B

struct DLGTEMPLATE;
using LPCDLGTEMPLATEW = const DLGTEMPLATE*;

// A template given by address is read within 64 KiB of its start; one named in a module's
// resources, within the resource's size.
//
// Modeless dialogs: the dialog window, or null with the last error set (ERROR_INVALID_DATA
// for a malformed template, ERROR_CANNOT_FIND_WND_CLASS for an item of a class nobody
// registered, ERROR_RESOURCE_NAME_NOT_FOUND for a missing template).
HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                DLGPROC procedure, LPARAM initParam);
HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent,
                        DLGPROC procedure, LPARAM initParam);

// Modal dialogs: the owner is disabled while a nested loop runs until EndDialog, and the
// answer is EndDialog's result; -1 when the dialog could not be made. WM_QUIT ends the loop,
// is posted again for the enclosing loop, and the answer is 0.
INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                DLGPROC procedure, LPARAM initParam);
INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC procedure,
                        LPARAM initParam);
BOOL EndDialog(HWND dialog, INT_PTR result);

// Dialog units: horizontal units are a quarter of the font's average character width,
// vertical units an eighth of its height.
BOOL MapDialogRect(HWND dialog, LPRECT rect);
LONG GetDialogBaseUnits();  // MAKELONG(x, y) of the default dialog font

// Items.
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int capacity);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);

// Check boxes and radio buttons by id (BM_SETCHECK / BM_GETCHECK); CheckRadioButton checks
// one of the ids first..last and unchecks the others.
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckRadioButton(HWND dialog, int first, int last, int check);

// The next (or previous) visible, enabled item with WS_TABSTOP after `control`, wrapping
// around; the next item of the same group (groups start at WS_GROUP). Null control: from the
// first (or last) item.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);

// The dialog keys, for a message of the dialog or one of its items: Enter is WM_COMMAND of
// the focused push button or else the default id (DM_GETDEFID, else IDOK), Escape WM_COMMAND
// IDCANCEL, Tab and Shift+Tab move the focus among the WS_TABSTOP items, the arrow keys
// within a group; a control that asks for the key (WM_GETDLGCODE) gets it. Any other message
// is translated and dispatched. FALSE for a message of another window.
BOOL IsDialogMessageW(HWND dialog, LPMSG msg);

inline HWND CreateDialogIndirectParam(HINSTANCE i, LPCDLGTEMPLATEW t, HWND p, DLGPROC d, LPARAM l) {
  return CreateDialogIndirectParamW(i, t, p, d, l);
}
inline HWND CreateDialogParam(HINSTANCE i, LPCWSTR t, HWND p, DLGPROC d, LPARAM l) {
  return CreateDialogParamW(i, t, p, d, l);
}
inline INT_PTR DialogBoxIndirectParam(HINSTANCE i, LPCDLGTEMPLATEW t, HWND p, DLGPROC d, LPARAM l) {
  return DialogBoxIndirectParamW(i, t, p, d, l);
}
inline INT_PTR DialogBoxParam(HINSTANCE i, LPCWSTR t, HWND p, DLGPROC d, LPARAM l) {
  return DialogBoxParamW(i, t, p, d, l);
}
inline BOOL SetDlgItemText(HWND d, int id, LPCWSTR t) { return SetDlgItemTextW(d, id, t); }
inline UINT GetDlgItemText(HWND d, int id, LPWSTR t, int n) { return GetDlgItemTextW(d, id, t, n); }
inline BOOL IsDialogMessage(HWND d, LPMSG m) { return IsDialogMessageW(d, m); }
