// The system menu opened by the default window procedure: from Alt+Space, from a click on the
// window's system-menu icon, or asked for with WM_SYSCOMMAND SC_KEYMENU / SC_MOUSEMENU.
#pragma once
#include "wintypes.h"

namespace zx::user {

// Tracks the top-level window's system menu at the screen point and sends the chosen command
// to the window as WM_SYSCOMMAND; false when the window has none.
bool TrackSystemMenu(HWND window, POINT screen);
// The system menu's place when it is opened by the keyboard: the window's top-left corner.
POINT KeyboardSystemMenuPlace(HWND window);

}  // namespace zx::user
