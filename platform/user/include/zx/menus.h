// Popup menus as tests see them while TrackPopupMenu's loop runs (from the idle hook):
// which menus are open and where their items are on the screen. Platform-internal.
#pragma once
#include "winmenu.h"

namespace zx::user {

// The window of the open popup at a nesting level (0: the menu TrackPopupMenu showed, 1 its
// open submenu ...), null when none.
HWND TrackedMenuWindow(int level = 0);
// The menu shown by the open popup at a nesting level, null when none.
HMENU TrackedMenu(int level = 0);
// The screen rectangle of the item at `position` of the open popup at `level`.
bool TrackedMenuItemRect(UINT position, RECT* screen, int level = 0);

}  // namespace zx::user
