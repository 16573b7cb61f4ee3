// What the compositor keeps per window beside the window table: window regions (in window
// coordinates) and layered windows' attributes, read by the DCs, hit-testing and the
// composition of the screen.
#pragma once
#include <vector>

#include "wininput.h"

namespace zx::user {

// A copy of the window's region offset by (dx, dy), or null when it has none. The caller
// deletes it.
HRGN CopyWindowRegion(HWND window, int dx, int dy);
// True when the window has no region or the point (window coordinates) lies in it.
bool InWindowRegion(HWND window, POINT windowPoint);

struct Layering {
  bool set = false;  // SetLayeredWindowAttributes was called
  COLORREF key = 0;
  BYTE alpha = 255;
  DWORD flags = 0;
};
Layering LayeringOf(HWND window);

// This process's visible top-level windows with their screen rectangles, bottom of the
// z-order first.
struct TopLevelView {
  HWND handle;
  RECT screen;
  DWORD style;
  DWORD exStyle;
  HWND owner;
};
std::vector<TopLevelView> VisibleTopLevels();

}  // namespace zx::user
