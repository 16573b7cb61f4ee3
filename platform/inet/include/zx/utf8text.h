// Strict UTF-16 <-> UTF-8 conversions for text that crosses the network: unpaired surrogates
// and malformed UTF-8 are refused rather than replaced. Platform-internal.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zx::inet {

std::optional<std::string> ToUtf8(std::u16string_view text);
std::optional<std::u16string> FromUtf8(std::string_view text);

}  // namespace zx::inet
