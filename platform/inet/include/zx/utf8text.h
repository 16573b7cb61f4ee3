// Strict UTF-16 <-> UTF-8 conversions for text that crosses the network: unpaired surrogates
// and malformed UTF-8 are refused rather than replaced. Platform-internal.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zx::inet {

std::optional<std::string> ToUtf8(std::u16string_view text);
std::optional<std::u16string> FromUtf8(std::string_view text);
// The count of UTF-16 units of a UTF-8 text; nullopt when it is not UTF-8.
std::optional<std::size_t> Utf16Length(std::string_view text);
// Writes the units of a text that Utf16Length accepted to `out`, which holds that many.
void Utf8ToUtf16(std::string_view text, char16_t* out);

}  // namespace zx::inet
