// Platform-internal side of window painting: a window's pixels (its part of its top-level
// window's retained surface) or the composed screen saved as PNG files, for tests and the
// presenter, and the presenter's state.
#pragma once
#include <string>

#include "wingdi.h"
#include "winuser.h"

namespace zx::user {

// The window's rectangle as its top-level window's surface holds it, opaque RGB. False for an
// unknown window or when the file can't be written (nothing is left behind).
// A window of another process is taken by that process, on the thread that owns it.
bool SaveWindowPng(HWND window, const std::string& hostPath);
// The same after the window and all its children were invalidated and painted at once, so
// the picture shows their present state whatever paint was still pending.
bool SaveRedrawnWindowPng(HWND window, const std::string& hostPath);

// The screen as the compositor builds it: the desktop colour, then this process's visible
// top-level windows from the bottom of the z-order up, each cut to its window region, with a
// layered window's colour key left out and its constant alpha blended over what lies below.
// `area` (screen coordinates; null: the whole screen) chooses the part. Answers a new 32-bit
// bitmap the caller deletes, or null.
HBITMAP ComposeScreen(const RECT* area);
bool SaveScreenPng(const std::string& hostPath, const RECT* area = nullptr);

// True when the X11 presenter runs in this process (ZX_PRESENTER=x11 and DISPLAY set when
// the first top-level window was shown, and the display could be opened).
bool PresenterRunning();
// Waits (host time, at most timeoutMs) until the presenter has shown every visible top-level
// window's latest pixels; false when it does not run or did not catch up in time.
bool PresenterFlush(unsigned timeoutMs);

}  // namespace zx::user
