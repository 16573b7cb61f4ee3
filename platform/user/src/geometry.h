// Window geometry inside the window system: the non-client frame a style gives, rectangles in
// screen and client terms, the screen and its work area.
#pragma once
#include "window.h"

// Internal flags of WINDOWPOS: the client area kept its size / position.
#define SWP_NOCLIENTSIZE 0x0800u
#define SWP_NOCLIENTMOVE 0x1000u

namespace zx::user {

struct Insets {
  LONG left, top, right, bottom;
};
// Frame, edge and caption sizes around the client area.
Insets NonClientInsets(DWORD style, DWORD exStyle);

RECT ScreenRect();
RECT WorkArea();

// TableLock() held.
POINT ClientOriginLocked(const Window& window);  // screen position of the client area
RECT WindowRectOnScreenLocked(const Window& window);
RECT ClientRectLocked(const Window& window);     // from (0, 0)

// WM_SIZE and WM_MOVE (each when asked for) for the window's present rectangle.
void SendSizeAndMove(HWND window, bool size = true, bool move = true);

}  // namespace zx::user
