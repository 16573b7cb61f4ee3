// The scroll bars of windows inside the window system: each window's two bars (range, page,
// position, arrow state), the places of their parts, their painting into the non-client area
// and the tracking of a click on them.
#pragma once
#include "winscroll.h"

namespace zx::user {

struct ScrollBarState {
  SCROLLINFO info{sizeof(SCROLLINFO), 0, 0, 100, 0, 0, 0};
  UINT disabledArrows = 0;  // ESB_DISABLE_*
  bool tracking = false;    // the thumb is being dragged (nTrackPos is live)
};

// A copy of a window's bar (the defaults when nothing was set); false for an unknown window.
bool ReadScrollBar(HWND window, int bar, ScrollBarState& state);
// The largest position the bar's range and page allow.
int MaxScrollPosition(const SCROLLINFO& info);
// The range holds more than one page, so the bar can scroll.
bool CanScroll(const SCROLLINFO& info);
// Marks the thumb as dragged at `position` (tracking) or as let go.
void SetScrollTracking(HWND window, int bar, bool tracking, int position);

// The parts of a bar, in the window's coordinates (each empty when absent).
struct ScrollBarParts {
  RECT whole{};
  RECT lineUp{};    // top or left arrow
  RECT pageUp{};    // track before the thumb
  RECT thumb{};
  RECT pageDown{};  // track after the thumb
  RECT lineDown{};  // bottom or right arrow
};
// False when the window shows no such bar.
bool ScrollBarLayout(HWND window, int bar, ScrollBarParts& parts);
// The thumb's position for a thumb whose leading edge sits `offset` pixels into the track.
int ScrollPositionAt(const ScrollBarParts& parts, int bar, const SCROLLINFO& info, int offset);

// Paints the window's visible bars (and the corner between them) through its window DC.
void PaintScrollBars(HWND window);

// HTVSCROLL or HTHSCROLL for a screen point on one of the window's bars, else HTCLIENT.
LRESULT ScrollBarHitTest(HWND window, POINT screen);
// A press on a bar (hit HTVSCROLL or HTHSCROLL) at a screen point: sends the window its
// WM_VSCROLL / WM_HSCROLL requests, following a thumb drag until the left button goes up.
void TrackScrollBar(HWND window, WPARAM hit, POINT screen);

}  // namespace zx::user
