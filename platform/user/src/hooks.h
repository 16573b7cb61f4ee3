// Thread hooks of the CBT kind, called where the window system creates and destroys windows.
#pragma once
#include "winuser.h"

namespace zx::user {

// Calls the calling thread's CBT hooks, newest first (each passes on with CallNextHookEx);
// true when they answer non-zero, which stops the creation or destruction.
bool CbtHookStops(int code, WPARAM wParam, LPARAM lParam);

}  // namespace zx::user
