// Platform-internal side of window painting: a window's pixels (its part of its top-level
// window's retained surface) saved as a PNG file, for tests and the presenter.
#pragma once
#include <string>

#include "winuser.h"

namespace zx::user {

// The window's rectangle as its top-level window's surface holds it, opaque RGB. False for an
// unknown window or when the file can't be written (nothing is left behind).
bool SaveWindowPng(HWND window, const std::string& hostPath);

}  // namespace zx::user
