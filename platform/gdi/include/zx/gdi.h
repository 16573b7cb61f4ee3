// Platform-internal side of the GDI: device contexts over a window's retained surface, the
// display surface, PNG files, packed DIBs, raw pixels, system colours and icon creation.
// System code never uses these; the window system, the presenter, the resources and tests do.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "wingdi.h"

namespace zx::gdi {

// A DC that draws straight into a bitmap (a window's retained surface) without selecting it,
// so one surface can serve many DCs. Selecting a bitmap into it fails, as for a window DC.
// Freed with DeleteDC.
HDC CreateSurfaceDC(HBITMAP surface);
// Where a surface DC draws: device point (0,0) is surface pixel `origin` (the client area's
// place in the window surface), and nothing outside `visible` (device coordinates; null: the
// whole surface) is drawn. SelectClipRgn regions are intersected with it. The region is
// copied. Resets neither the DC's objects nor its coordinate origins.
BOOL SetSurfaceDCArea(HDC dc, POINT origin, HRGN visible);

// The surface "DISPLAY" DCs draw into (the compositor's screen). Until one is set, a black
// 1024 x 768 screen. GetDeviceCaps(HORZRES/VERTRES) answers its size.
void SetDisplayBitmap(HBITMAP screen);
HBITMAP DisplayBitmap();

// An opaque black 32-bit bitmap (a window surface), as CreateCompatibleBitmap makes.
HBITMAP CreateSurfaceBitmap(int width, int height);

// PNG files: the pixels as the screen shows them (opaque RGB), or with `withAlpha` as an
// image with its transparency. False when the file can't be written (nothing is left
// behind) or the bitmap is unknown.
bool SaveBitmapPng(HBITMAP bitmap, const std::string& hostPath, bool withAlpha = false);
// The same PNG as bytes in memory.
bool EncodeBitmapPng(HBITMAP bitmap, std::string* bytes);
// Writes PNG bytes made elsewhere as a whole file; false, with nothing written, when they do
// not start as a PNG of an acceptable size or the file can't be written.
bool SavePngBytes(const std::string& hostPath, const std::string& bytes);
// The bitmap currently selected into (or drawn by) a DC.
bool SaveDcPng(HDC dc, const std::string& hostPath);
// Decodes a PNG (file or bytes) into a 32-bit bitmap with premultiplied alpha; null when it
// is not a PNG the decoder reads.
HBITMAP LoadPngBitmap(const std::string& hostPath);
HBITMAP DecodePngBitmap(const void* bytes, std::size_t size);

// A packed DIB (BITMAPINFOHEADER, colour table, rows: a BMP file without its file header)
// of 1, 4, 8, 24 or 32 bits (BI_RGB, or BI_BITFIELDS for 32) into a bitmap. 32-bit
// pixels keep their alpha byte; the others are opaque. Null on damaged or unsupported
// data, never a read past `size`.
HBITMAP CreateBitmapFromPackedDib(const void* dib, std::size_t size);

// A copy of a bitmap's pixels, rows top-down, each pixel B, G, R, A (premultiplied) in one
// DWORD. False when the bitmap is unknown.
bool CopyBitmapPixels(HBITMAP bitmap, std::vector<DWORD>& pixels, SIZE& size);

// The system colours (COLOR_WINDOW = 5, COLOR_BTNFACE = 15, ...) of the Windows 7 default
// scheme; 0 for indexes that name none.
COLORREF SystemColour(int index);

// An icon (or cursor with its hot spot) from a 32-bit image with premultiplied alpha; the
// icon keeps its own copy.
HICON CreateIconFromBitmap(HBITMAP image, bool isIcon, POINT hotspot);
// The icon's size; false for an unknown handle.
bool GetIconSize(HICON icon, SIZE& size);

// The rectangles a region is made of (banded, top to bottom, left to right); false for an
// unknown handle.
bool CopyRegionRects(HRGN region, std::vector<RECT>& rects);

}  // namespace zx::gdi
