// Text output beyond DrawText and TextOut: DrawTextExW (margins and the count of characters
// drawn), tabbed text (TabbedTextOutW, GetTabbedTextExtentW) and grayed text (GrayStringW).
#pragma once
#include "windraw.h"
#include "wingdi.h"

#ifndef CALLBACK
#define CALLBACK
#endif

struct DRAWTEXTPARAMS {
  UINT cbSize;
  int iTabLength;     // in average character widths (tabs are drawn as DrawTextW draws them)
  int iLeftMargin;
  int iRightMargin;
  UINT uiLengthDrawn;  // set: the characters handled
};
using LPDRAWTEXTPARAMS = DRAWTEXTPARAMS*;

// DrawTextW inside the rectangle less the margins. With DT_CALCRECT the answered rectangle
// includes the margins again. A params record whose cbSize is not its size is refused (0).
int DrawTextExW(HDC dc, LPWSTR text, int length, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params);

// Tabs move to the next stop: with no stops every 8 average character widths, with one stop
// every that many pixels, else at the listed positions (from tabOrigin; negative positions
// count as positive), and past the last listed stop every 8 average character widths.
// Answers MAKELONG(width, height) of the line (0 on failure).
LONG TabbedTextOutW(HDC dc, int x, int y, LPCWSTR text, int length, int tabPositions,
                    const int* tabStops, int tabOrigin);
DWORD GetTabbedTextExtentW(HDC dc, LPCWSTR text, int length, int tabPositions, const int* tabStops);

// Draws text grayed (in the system's gray text colour; the brush is not used). With no
// procedure `data` is the text and `length` its length (0: up to its terminator); with one,
// the procedure draws with the gray text colour selected and its answer is the answer.
using GRAYSTRINGPROC = BOOL(CALLBACK*)(HDC dc, LPARAM data, int length);
BOOL GrayStringW(HDC dc, HBRUSH brush, GRAYSTRINGPROC output, LPARAM data, int length, int x, int y,
                 int width, int height);
