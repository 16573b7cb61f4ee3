// The presenter's face to the rest of the window system (no X11 names here): it is told when
// top-level windows change and when their surfaces are drawn. Headless unless the
// environment asks for it: ZX_PRESENTER=x11 with DISPLAY set shows the process's top-level
// windows on that X display (see x11_presenter.cpp).
#pragma once
#include "winuser.h"

namespace zx::user {

// Top-level windows were shown, hidden, moved or resized (starts the presenter when asked
// for and not yet running).
void PresenterNoteWindows();
// DCs over a top-level window's surface were released: its pixels may have changed.
void NoteSurfaceChanged(HWND top);

}  // namespace zx::user
