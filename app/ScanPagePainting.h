// What the scan pages' painters share: a text drawn word-wrapped in the dialog font.
#pragma once
#include <afxwin.h>

// Draws the text word-wrapped within the rectangle, transparent, in the shared dialog font
// and the colour; the DC's font, colour and background mode are left as they were.
void DrawScanPageText(CDC* pDC, const CString& text, const CRect& rect, COLORREF colour);
