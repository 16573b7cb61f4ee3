// Text helpers of the machine profiles: UTF-8 at the file's edge, numbers, case-insensitive
// comparison, and the profile's digest.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "wintypes.h"

namespace zx::devices {

// Strict UTF-8 to UTF-16; false for malformed text.
bool Utf8ToWide(std::string_view utf8, std::u16string& wide);
std::string WideToUtf8(std::u16string_view wide);
// Decimal or 0x-hexadecimal, up to 32 bits.
std::optional<DWORD> ParseNumber(std::u16string_view text);
std::u16string HexNumber(DWORD value);  // "0x0180200A"
bool SameText(std::u16string_view a, std::u16string_view b);
std::u16string Lower(std::u16string_view text);
std::u16string Ascii(std::string_view text);
// 64-bit FNV-1a of the text, as 16 hex digits.
std::u16string Digest(std::string_view text);

}  // namespace zx::devices
