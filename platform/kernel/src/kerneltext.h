// Text conversions the kernel needs at its edges: the "A" functions' Windows-1252 text and
// the host's UTF-8 (file names, command line). Kernel-internal.
#pragma once
#include <string>
#include <string_view>

#include "wintypes.h"

namespace zx::text {

std::u16string FromAnsi(std::string_view ansi);
std::string ToAnsi(std::u16string_view wide);
std::u16string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u16string_view wide);

}  // namespace zx::text
