// What the settings and exclusion pages share: their language texts, the place of their two action buttons
// and the message box that reports the outcome of Apply and Defaults.
#pragma once
#include <afxwin.h>

#include "HoverButtonWithText.h"

// The main program's text of this id.
CString SettingsText(LPCTSTR id);
// Subclasses the button, places it 120 x 28 with its left edge `fromRight` pixels left of the
// page's right edge and its top 40 above the page's bottom, then gives it the dark text look
// (which sizes it to its strip) and the caption of `key` in `section`.
void PlaceActionButton(CWnd& page, CHoverButtonWithText& button, UINT id, LPCTSTR section, LPCTSTR key,
                       int fromRight);
// The outcome of a save: the success text, or "IDS_UNABLE_SAVE_SETTING" with the stop icon.
void ReportSaved(CWnd* page, bool saved, LPCTSTR successText);
// Draws a text of the page in the dialog font and colour, word-wrapped from the point to the
// page's right margin; the text is looked up in the program's section unless the page names
// its own.
void DrawSettingsText(CDC* pDC, LPCTSTR id, POINT at, LPCTSTR section = nullptr);
