// UTF-8 at the console and the command line, UTF-16 for the platform's calls.
#pragma once
#include <string>

namespace zxsample {

std::string Utf8(const std::u16string& text);
std::u16string Utf16(const std::string& text);

}  // namespace zxsample
