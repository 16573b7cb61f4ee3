// The pages' layout defaults and their text painter: the page geometry every page starts
// from, and a text drawn from a point of the page to the page's right margin.
#pragma once
#include <afxwin.h>

// The layout defaults of a page: its six page rectangles (each the whole page until the page
// sets its own), its list area, the top of its content and the spacing between its rows.
struct tagPageGeometry {
  CRect rcPage[6];
  CRect rcList;
  int nContentTop = 0;
  int nSpacing = 0;
};

// Fills the record with the defaults: six rectangles 0,0,592,477, the list area 0,0,565,400,
// the content top 130 and the spacing 3.
void InitPageRect(tagPageGeometry& geometry);
// The defaults as InitPageRect makes them.
const tagPageGeometry& DefaultPageGeometry();

// Draws the text in the font and colour with the DrawText format, transparent, from (x, y)
// within the page (592 x 477) less its 22-pixel right margin; answers the height drawn and,
// when asked, the rectangle the text was drawn in. The DC's font, colour and background mode
// are left as they were.
int DrawPageText(CDC* pDC, const CString& text, int x, int y, HFONT font, COLORREF colour, UINT format,
                 CRect* drawn = nullptr);
// The same within a box of the caller's: a text that must keep clear of a control beside it.
int DrawTextInBox(CDC* pDC, const CString& text, const CRect& box, HFONT font, COLORREF colour, UINT format);
