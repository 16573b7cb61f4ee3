// The size limits of a top-level window: the defaults the screen gives and the window's own
// answer to WM_GETMINMAXINFO, asked at creation, on sizing and on maximising.
#pragma once
#include "winuser.h"

namespace zx::user {

// Whether a window of this style is held to size limits: a top-level window that is sizable
// or overlapped, and not minimised.
bool HasSizeLimits(DWORD style, bool topLevel);
// The default limits for the style, then the window's answer to WM_GETMINMAXINFO. No lock held.
MINMAXINFO AskSizeLimits(HWND window, DWORD style, DWORD exStyle);
// Brings a size inside the tracking limits.
void ClampToTrackSize(const MINMAXINFO& limits, int* width, int* height);

}  // namespace zx::user
