// The shared library's exchange text and MD5, for the stand-in's UTF-8 strings. Kept apart
// from the HTTP code: the Windows-shaped headers and the network library's headers do not
// share a file.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zx::webservice {

// The plain text of an enciphered exchange text; nullopt when it does not decode to any text.
std::optional<std::string> DecipheredText(const std::string& encoded);
// The enciphered exchange text of a plain text (trimmed first, as the clients do).
std::string EncipheredText(const std::string& plain);
// 32 lower-case hexadecimal digits.
std::string Md5Hex(std::string_view bytes);

}  // namespace zx::webservice
