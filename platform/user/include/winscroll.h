// Scroll bars: the bars of windows with WS_VSCROLL / WS_HSCROLL (drawn in the non-client area
// right of and below the client area), their ranges, pages, positions and arrow states, and
// the requests (WM_VSCROLL / WM_HSCROLL) a click on them sends to the window. SB_CTL names a
// scroll-bar control, asked through the SBM_* messages.
#pragma once
#include "winuser.h"

// Which bar.
#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_BOTH 3

// Requests (low word of WM_VSCROLL / WM_HSCROLL's wParam; the high word carries the position
// of SB_THUMBTRACK and SB_THUMBPOSITION).
#define SB_LINEUP 0
#define SB_LINEDOWN 1
#define SB_PAGEUP 2
#define SB_PAGEDOWN 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_BOTTOM 7
#define SB_ENDSCROLL 8
#define SB_LINELEFT 0
#define SB_LINERIGHT 1
#define SB_PAGELEFT 2
#define SB_PAGERIGHT 3
#define SB_LEFT 6
#define SB_RIGHT 7

// SCROLLINFO's fMask.
#define SIF_RANGE 0x0001u
#define SIF_PAGE 0x0002u
#define SIF_POS 0x0004u
#define SIF_DISABLENOSCROLL 0x0008u
#define SIF_TRACKPOS 0x0010u
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)

// EnableScrollBar's arrows.
#define ESB_ENABLE_BOTH 0x0000u
#define ESB_DISABLE_LTUP 0x0001u
#define ESB_DISABLE_RTDN 0x0002u
#define ESB_DISABLE_BOTH 0x0003u
#define ESB_DISABLE_LEFT ESB_DISABLE_LTUP
#define ESB_DISABLE_UP ESB_DISABLE_LTUP
#define ESB_DISABLE_RIGHT ESB_DISABLE_RTDN
#define ESB_DISABLE_DOWN ESB_DISABLE_RTDN

// Scroll-bar control styles and messages.
#define SBS_HORZ 0x0000u
#define SBS_VERT 0x0001u
#define SBM_SETPOS 0x00E0u
#define SBM_GETPOS 0x00E1u
#define SBM_SETRANGE 0x00E2u
#define SBM_GETRANGE 0x00E3u
#define SBM_ENABLE_ARROWS 0x00E4u
#define SBM_SETRANGEREDRAW 0x00E6u
#define SBM_SETSCROLLINFO 0x00E9u
#define SBM_GETSCROLLINFO 0x00EAu

// Hit-test answers and system commands of the bars.
#ifndef HTHSCROLL
#define HTHSCROLL 6
#endif
#ifndef HTVSCROLL
#define HTVSCROLL 7
#endif
#ifndef SC_VSCROLL
#define SC_VSCROLL 0xF070u
#endif
#ifndef SC_HSCROLL
#define SC_HSCROLL 0xF080u
#endif

#ifndef ERROR_NO_SCROLLBARS
#define ERROR_NO_SCROLLBARS 1447L
#endif
#ifndef ERROR_INVALID_SCROLLBAR_RANGE
#define ERROR_INVALID_SCROLLBAR_RANGE 1448L
#endif

typedef struct tagSCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
} SCROLLINFO, *LPSCROLLINFO;
typedef const SCROLLINFO* LPCSCROLLINFO;

// Answers the new position (0 with ERROR_INVALID_PARAMETER for a bad record or bar). Setting
// the range or page of a window's bar shows it when it can scroll and hides it when it cannot
// (with SIF_DISABLENOSCROLL it stays, its arrows disabled).
int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw);
// FALSE with ERROR_NO_SCROLLBARS for a window that has no such bar and never had one set.
BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info);
// Answers the previous position.
int SetScrollPos(HWND window, int bar, int position, BOOL redraw);
int GetScrollPos(HWND window, int bar);
BOOL SetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw);
BOOL GetScrollRange(HWND window, int bar, int* minimum, int* maximum);
BOOL ShowScrollBar(HWND window, int bar, BOOL show);
// FALSE when the arrows were already in that state.
BOOL EnableScrollBar(HWND window, UINT bar, UINT arrows);
