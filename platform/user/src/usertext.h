// Text helpers of the window system: conversions at its edges, names compared without regard
// to case, and copying text into a caller's buffer as the Win32 functions do.
#pragma once
#include <string>
#include <string_view>

#include "wintypes.h"

namespace zx::user {

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);
// Windows-1252 text of the "A" functions; null reads as empty.
std::u16string FromAnsi(LPCSTR text);
// The name folded to upper case (class names, registered message names).
std::u16string FoldedName(std::u16string_view name);
// Copies at most capacity - 1 units and a terminator; answers the units copied (0 when the
// buffer is null or has no room).
int CopyOut(std::u16string_view text, LPWSTR buffer, int capacity);

}  // namespace zx::user
