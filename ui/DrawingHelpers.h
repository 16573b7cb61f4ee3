// The shared library's drawing helpers: bitmap blits, bitmap sizes, window transparency, the
// parent's background under a child, HTML text, client rectangles and bringing a window to
// the front.
#pragma once
#include "HelperApi.h"
#include <afxwin.h>

// Blits the bitmap (source 0,0) into the DC with the raster operation.
ZXHELPER_API void DrawBitmap(CDC* pDC, int x, int y, int nWidth, int nHeight, HBITMAP hBitmap,
                             DWORD dwRop);
// Blits the part of the bitmap that starts at (xSrc, ySrc).
ZXHELPER_API void DrawBitmapPart(CDC* pDC, int x, int y, int xSrc, int ySrc, int nWidth,
                                 int nHeight, HBITMAP hBitmap, DWORD dwRop);
// Stretches the source rectangle of the bitmap over the destination rectangle.
ZXHELPER_API void StretchBitmap(CDC* pDC, int x, int y, int nWidth, int nHeight, int xSrc,
                                int ySrc, int nSrcWidth, int nSrcHeight, HBITMAP hBitmap,
                                DWORD dwRop);
// Loads the bitmap resource into the object; its size and TRUE, or 0 x 0 and FALSE.
ZXHELPER_API BOOL GetBitmapSize(UINT nID, CBitmap& bitmap, int& nWidth, int& nHeight);
// The program's own module when it holds that resource, else the module AfxFindResourceHandle
// names: for a program's pictures whose ids the resource library also uses.
ZXHELPER_API HINSTANCE FindProgramResourceHandle(UINT nID, LPCTSTR lpszType);

// Makes the window layered with the given opacity (0-255); FALSE when that is not possible.
ZXHELPER_API BOOL SetWindowAlpha(HWND hWnd, BYTE nAlpha);
// Has the parent erase its background into the DC under the window (clipped to the
// rectangle when one is given); answers what the parent answered to WM_ERASEBKGND.
ZXHELPER_API BOOL DrawParentBackground(CWnd* pWnd, CDC* pDC, LPCRECT lpRect = nullptr);
ZXHELPER_API CRect GetWndClientRect(CWnd* pWnd);
// Brings the window to the front (restoring it when minimised); whether that worked.
ZXHELPER_API BOOL ForceForegroundWindow(HWND hWnd);

// Draws the HTML text into the rectangle of the DC (transparently when asked).
ZXHELPER_API BOOL RenderHTML(CWnd* pWnd, CDC* pDC, LPCRECT lpRect, LPCTSTR lpszHtml,
                             BOOL bTransparent);
