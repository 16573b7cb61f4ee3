// Windows-1252 text of the shell's "A" functions. Shell-internal.
#pragma once
#include <string>

#include "wintypes.h"

namespace zx::shell {

// The wide form of narrow text (a null pointer reads as empty).
std::u16string Widen(LPCSTR text);
// Writes text into out as Windows-1252, cut to capacity-1 characters and terminated.
void NarrowInto(const std::u16string& text, LPSTR out, int capacity);

}  // namespace zx::shell
