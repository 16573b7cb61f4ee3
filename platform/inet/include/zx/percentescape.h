// Percent-escaping of the bytes of an address part: every byte the caller does not keep
// becomes "%XX" (upper-case hexadecimal). Shared by the requests, FTP paths and the web
// service's stand-in.
#pragma once
#include <string>
#include <string_view>

namespace zx::inet {

using KeepByte = bool (*)(unsigned char c);
std::string PercentEscaped(std::string_view text, KeepByte keep);
// The unreserved characters of an address: letters, digits, "-", ".", "_" and "~".
bool IsUnreserved(unsigned char c);

}  // namespace zx::inet
