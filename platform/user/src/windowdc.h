// The DCs of windows over their top-level window's retained surface, shared by the paint
// calls (paint.cpp) and GetDC (windowdc.cpp), and the surfaces as the compositor and the
// presenter read them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "winuser.h"

namespace zx::user {

// A DC drawing into the surface of the window's top-level window at the window's place: its
// client area (with wholeWindow, the whole window), clipped to it and to its ancestors'
// client areas, less its visible children when it has WS_CLIPCHILDREN, and to `clip` (in the
// DC's coordinates) when given. Null for an unknown or message-only window. Released with
// ReleaseDC.
HDC OpenWindowDC(HWND window, bool wholeWindow, HRGN clip);

// A copy of a top-level window's surface (rows top-down, B, G, R, A per DWORD) and the count
// of DCs released over it so far; false while it has none.
bool CopySurface(HWND top, std::vector<DWORD>& pixels, SIZE& size, std::uint64_t* generation);

// A window of this process as PNG bytes: its rectangle as its top-level window's surface
// holds it, opaque RGB (with `redrawn`, after it and its children were painted afresh).
// False for an unknown window.
bool WindowPngBytes(HWND window, bool redrawn, std::string* bytes);

}  // namespace zx::user
