// What the drawing side of the window system shares with the windows: pending paints (a
// window with one gets WM_PAINT when its thread's queue has nothing else; BeginPaint or
// DefWindowProc's WM_PAINT clear it) and notice of destroyed windows. Platform-internal.
#pragma once
#include <functional>

#include "wintypes.h"

namespace zx::user {

void SetUpdatePending(HWND window, bool pending);
bool IsUpdatePending(HWND window);

// Called on the destroying thread after a window's WM_NCDESTROY, when its handle has become
// invalid. Observers stay for the life of the process.
void AddDestroyObserver(std::function<void(HWND)> observer);

}  // namespace zx::user
