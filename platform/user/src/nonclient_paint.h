// The frame and caption that the window layer draws for standard top-level windows.
#pragma once
#include "window.h"

namespace zx::user {

// Paints the window's frame and caption, when it has a standard one.
void PaintWindowFrame(HWND window);
// HTCAPTION or HTCLOSE for a point (screen coordinates) of the caption; HTNOWHERE elsewhere.
LRESULT FrameHitTest(HWND window, POINT screen);

}  // namespace zx::user
