// The painters the pages call from their paint handlers to draw in one style: the 50-pixel
// bars, the boxed list of names and values, the titled section panel with icon rows, and the
// rounded boxes under them. Rows are drawn only where every list given holds an entry.
#pragma once
#include <afxcoll.h>
#include <afxtempl.h>
#include <afxwin.h>

#include "HelperApi.h"

// A bar 50 pixels high from x to x+548 (caps 1023/1025, middle 1024; highlighted 1028 to
// 1030); with the icon 1026 (1027) at x+15.
ZXHELPER_API void DrawHorizontalBar(CDC* pDC, int x, int y, BOOL bHighlighted, BOOL bWithIcon);
// The same bar `nWidth` wide; the icon is always drawn.
ZXHELPER_API void DrawHorizontalBarWidth(CDC* pDC, int x, int y, BOOL bHighlighted, int nWidth);
// A boxed list: a title band and rows 28 pixels apart; nothing for 0 rows.
ZXHELPER_API void DrawListFrame(CDC* pDC, int x, int y, int nRows, LPCTSTR lpszTitle, const CStringArray& names,
                                const CStringArray& values, const CDWordArray& valueColours);
// A titled panel: title, rule, an optional header picture and rows of icon, name and value
// 30 pixels apart. A width of 545 gives the title box, any other the plain rounded panel.
ZXHELPER_API void DrawSectionPanel(CDC* pDC, int x, int y, int nHeight, LPCTSTR lpszTitle, UINT nHeaderBitmap,
                                   const CArray<HICON, HICON>& icons, const CStringArray& names,
                                   const CStringArray& values, const CDWordArray& valueColours, int nWidth);
// Rounded boxes (corner 10 x 10, pen 0xDEDEDE) from x to x+width+3: lined with picture 1128,
// or filled with 0xFBFBFB.
ZXHELPER_API void DrawRoundedTitleBox(CDC* pDC, int x, int nTop, int nBottom, int nWidth);
ZXHELPER_API void DrawRoundedPanel(CDC* pDC, int x, int nTop, int nBottom, int nWidth);
