// The pictures the buttons share for the whole process: "PNG" images of the language
// resource library and the left panel's background bitmap, each loaded on first use.
#pragma once
#include <afxwin.h>
#include <gdiplus.h>

// The shared "PNG" image of this id, or null when it does not load.
Gdiplus::Bitmap* SharedButtonPng(UINT nID);
// The left panel's background bitmap 1096, or null when it does not load.
HBITMAP SharedPanelBitmap();
// The button's rectangle in its parent's client coordinates.
CRect RectInParent(CWnd* pButton);
// Draws the panel bitmap's part behind a button placed at `inParent`, `size` of it, at (0,0).
void DrawPanelSlice(CDC* pDC, const CRect& inParent, CSize size);
// Draws the image (when there is one) at (x,y), `width` x `height` of it from (srcX,srcY).
void DrawPngPart(CDC* pDC, Gdiplus::Bitmap* pImage, int x, int y, int srcX, int srcY, int width, int height);
// Draws the whole image (when there is one) stretched over the rectangle.
void DrawPngOver(CDC* pDC, Gdiplus::Bitmap* pImage, const CRect& rect);
