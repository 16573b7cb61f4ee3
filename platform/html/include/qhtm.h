// The HTML text control's calls: the start-up of a module that uses it (QHTM_Initialize);
// HTML text laid out in a rectangle of a DC and drawn (QHTM_RenderHTMLRect), or measured
// (QHTM_GetHTMLHeight). The HTML is laid out as a browser does, style sheets and tables
// included; <font size=> also takes CSS lengths ("9pt"). Text starts in the DC's font and
// text colour.
#pragma once
#include "wingdi.h"

// How the HTML is given and drawn.
#define QHTM_SOURCE_TEXT 0x0001u         // the HTML is the text itself
#define QHTM_RENDER_TRANSPARENT 0x0004u  // the rectangle is not filled first

// Fills the rectangle with the DC's background colour (unless transparent) and draws the
// HTML inside it, clipped to it. FALSE for a null DC, text or rectangle, or a source other
// than the text.
BOOL QHTM_RenderHTMLRect(HDC dc, LPCWSTR html, HINSTANCE instance, UINT flags, const RECT* rect);
// The height the HTML takes when laid out in that width (0 on failure).
UINT QHTM_GetHTMLHeight(HDC dc, LPCWSTR html, HINSTANCE instance, UINT flags, UINT width);
// Starts the control for a module that draws HTML. TRUE for a module handle (again for one
// already started), FALSE for none.
BOOL QHTM_Initialize(HINSTANCE instance);
