// The library-wide values every dialog of the shared library draws with: the tooltips switch,
// the shared dialog icon, the white brush, the base LOGFONT, the dialog, caption and title
// fonts, the pictures of the resource library by id, and the strip painters that repeat a
// picture's first column (or row, or the whole picture) along an edge.
#pragma once
#include <afxwin.h>

#include "HVBitmap.h"
#include "HelperApi.h"

// Text colour of every dialog; white background.
inline constexpr COLORREF kDialogTextColour = 0x48362D;
inline constexpr COLORREF kDialogBackColour = 0xFFFFFF;

// Tooltips on dialogs (off until the application's settings record switches it on).
extern ZXHELPER_API BOOL g_bShowTooltips;
// The name of the shared dialog now shown by the library's own entries ("ABOUT" while the
// About box runs), empty otherwise.
extern ZXHELPER_API CString g_strDialogTemplateName;

// Icon 1294 of the resource library, loaded once for the process and never destroyed by a
// dialog; null while the library holds none.
ZXHELPER_API HICON GetSharedDialogIcon();
// The white brush answered to every control's colour message.
ZXHELPER_API HBRUSH GetSharedWhiteBrush();
// The base LOGFONT, read once from the application base's font settings.
ZXHELPER_API const LOGFONTW& GetSharedBaseLogFont();
// The application base's shared dialog font (sent to every child) and caption font (title
// bars); fonts of the base LOGFONT when the application has not made its shared fonts.
ZXHELPER_API HFONT GetSharedDialogFont();
ZXHELPER_API HFONT GetSharedCaptionFont();
// The application base's small font (the base font two units smaller, weight 400).
ZXHELPER_API HFONT GetSharedSmallFont();
// A font of the configured face with this height and weight, made once per process.
ZXHELPER_API HFONT GetSharedTitleFont(LONG height, LONG weight);

// The caption band that drags every framed window: the top 29 pixels (y 0 to 28) across its
// client width.
inline constexpr int kCaptionBandHeight = 29;
ZXHELPER_API bool IsInCaptionBand(const CWnd* pWnd, CPoint point);
// Drags the window by its caption from this client point when the point lies in the band.
ZXHELPER_API void DragByCaptionBand(CWnd* pWnd, CPoint point);

// The bitmap of the resource chain with this id, loaded on first use and kept for the
// process; an empty bitmap (width 0) while the id does not load.
ZXHELPER_API const CHVBitmap& SharedBitmap(UINT nID);

// The picture's first column repeated from x0 up to x1, its top at y.
ZXHELPER_API void DrawColumns(CDC* pDC, const CHVBitmap& bitmap, int x0, int x1, int y);
// The picture's first row repeated from y0 down to y1, its left at x.
ZXHELPER_API void DrawRows(CDC* pDC, const CHVBitmap& bitmap, int x, int y0, int y1);
// The whole picture repeated from x0 up to x1 (the last copy cut), its top at y.
ZXHELPER_API void TileAcross(CDC* pDC, const CHVBitmap& bitmap, int x0, int x1, int y);
// The whole picture repeated from y0 down to y1 (the last copy cut), its left at x.
ZXHELPER_API void TileDown(CDC* pDC, const CHVBitmap& bitmap, int x, int y0, int y1);
// The whole picture at (x, y) in its own size.
ZXHELPER_API void DrawWhole(CDC* pDC, const CHVBitmap& bitmap, int x, int y);
// Text drawn with a shadow one pixel right and down, transparent, in `font`.
ZXHELPER_API void DrawShadowedText(CDC* pDC, const CString& text, const CRect& rect, HFONT font,
                                   COLORREF shadow, COLORREF colour, UINT format);
