// The drawing half of the window system's API, on the GDI of this layer: FillRect and
// friends, DrawText, DrawEdge, DrawFocusRect and icons. (The rectangle helpers SetRect,
// InflateRect, IntersectRect ... are the window system's, in winuser.h.)
#pragma once
#include "wingdi.h"

// Fills with a brush; a brush value from 1 to 31 is a system colour index plus one, as in
// (HBRUSH)(COLOR_WINDOW + 1).
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);

// DrawText flags.
#define DT_TOP 0x00000000u
#define DT_LEFT 0x00000000u
#define DT_CENTER 0x00000001u
#define DT_RIGHT 0x00000002u
#define DT_VCENTER 0x00000004u
#define DT_BOTTOM 0x00000008u
#define DT_WORDBREAK 0x00000010u
#define DT_SINGLELINE 0x00000020u
#define DT_EXPANDTABS 0x00000040u
#define DT_TABSTOP 0x00000080u
#define DT_NOCLIP 0x00000100u
#define DT_EXTERNALLEADING 0x00000200u
#define DT_CALCRECT 0x00000400u
#define DT_NOPREFIX 0x00000800u
#define DT_INTERNAL 0x00001000u
#define DT_EDITCONTROL 0x00002000u
#define DT_PATH_ELLIPSIS 0x00004000u
#define DT_END_ELLIPSIS 0x00008000u
#define DT_MODIFYSTRING 0x00010000u
#define DT_RTLREADING 0x00020000u
#define DT_WORD_ELLIPSIS 0x00040000u
#define DT_NOFULLWIDTHCHARBREAK 0x00080000u
#define DT_HIDEPREFIX 0x00100000u
#define DT_PREFIXONLY 0x00200000u

// Draws (or with DT_CALCRECT measures) text in a rectangle with the DC's font, colours and
// background mode. Lines are the font's cell height apart. "&x" underlines x unless
// DT_NOPREFIX ("&&" is one "&"). DT_VCENTER and DT_BOTTOM apply to single lines. Answers
// the height of the text (with DT_VCENTER or DT_BOTTOM: from the rectangle's top to the
// text's bottom), 0 on failure. DT_MODIFYSTRING is not supported.
int DrawTextW(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT format);

// DrawEdge.
#define BDR_RAISEDOUTER 0x0001u
#define BDR_SUNKENOUTER 0x0002u
#define BDR_RAISEDINNER 0x0004u
#define BDR_SUNKENINNER 0x0008u
#define BDR_OUTER (BDR_RAISEDOUTER | BDR_SUNKENOUTER)
#define BDR_INNER (BDR_RAISEDINNER | BDR_SUNKENINNER)
#define EDGE_RAISED (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define EDGE_SUNKEN (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_ETCHED (BDR_SUNKENOUTER | BDR_RAISEDINNER)
#define EDGE_BUMP (BDR_RAISEDOUTER | BDR_SUNKENINNER)
#define BF_LEFT 0x0001u
#define BF_TOP 0x0002u
#define BF_RIGHT 0x0004u
#define BF_BOTTOM 0x0008u
#define BF_TOPLEFT (BF_TOP | BF_LEFT)
#define BF_TOPRIGHT (BF_TOP | BF_RIGHT)
#define BF_BOTTOMLEFT (BF_BOTTOM | BF_LEFT)
#define BF_BOTTOMRIGHT (BF_BOTTOM | BF_RIGHT)
#define BF_RECT (BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM)
#define BF_MIDDLE 0x0800u
#define BF_SOFT 0x1000u
#define BF_ADJUST 0x2000u
#define BF_FLAT 0x4000u
#define BF_MONO 0x8000u
// The 3-D border in the system colours; BF_ADJUST shrinks *rect by the border drawn.
// Diagonal edges (BF_DIAGONAL) are not supported and answer FALSE.
BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags);
// The dotted focus frame, drawn by inverting: a second call removes it.
BOOL DrawFocusRect(HDC dc, const RECT* rect);

// Icons and cursors: an icon is a 32-bit image with premultiplied alpha and, for cursors, a
// hot spot (LoadIconW, LoadCursorW and LoadImageW come from the resources).
struct ICONINFO {
  BOOL fIcon;
  DWORD xHotspot;
  DWORD yHotspot;
  HBITMAP hbmMask;
  HBITMAP hbmColor;
};
using PICONINFO = ICONINFO*;
#define DI_MASK 0x0001u
#define DI_IMAGE 0x0002u
#define DI_NORMAL 0x0003u
#define DI_COMPAT 0x0004u
#define DI_DEFAULTSIZE 0x0008u
// hbmColor (32-bit with alpha) is required; hbmMask marks transparent pixels (non-black)
// when the colour bitmap carries no alpha.
HICON CreateIconIndirect(PICONINFO info);
// Copies of the icon's colour bitmap and of a mask (white where transparent).
BOOL GetIconInfo(HICON icon, PICONINFO info);
BOOL DestroyIcon(HICON icon);
BOOL DestroyCursor(HCURSOR cursor);
HICON CopyIcon(HICON icon);
// Draws the icon blended over the DC, scaled to width x height (0: the icon's own size).
// With a brush and step 0 the icon is first drawn over a filled square.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step,
                HBRUSH flickerFreeBrush, UINT flags);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
// An icon or cursor from the bytes of one RT_ICON or RT_CURSOR resource (a cursor's bytes
// start with its hot spot): a packed DIB with its AND mask, or a PNG image. The image keeps
// its own size; DrawIconEx scales.
#define LR_DEFAULTCOLOR 0x00000000u
HICON CreateIconFromResourceEx(const BYTE* bits, DWORD size, BOOL isIcon, DWORD version, int width,
                               int height, UINT flags);
HICON CreateIconFromResource(const BYTE* bits, DWORD size, BOOL isIcon, DWORD version);

inline int DrawText(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT format) {
  return DrawTextW(dc, text, length, rect, format);
}
