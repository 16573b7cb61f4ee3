// Fuzz target: hostile addresses (UTF-16LE) taken apart by InternetCrackUrlW, as the
// downloads and the SOAP client split them. Asked for pointers, every part lies within the
// address; asked into buffers of the sizes the callers use, every part fits its buffer, is
// terminated and (undecoded) equals the part the pointers name; a part that does not fit
// fails the call. The split for HTTP requests agrees with both.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "wininet.h"
#include "zx/httptarget.h"

namespace {

struct Buffers {
  WCHAR scheme[32], host[256], user[64], password[64], path[2048], extra[2048];
};

void Within(std::u16string_view url, LPCWSTR part, DWORD length) {
  if (part == nullptr) {
    if (length != 0) std::abort();
    return;
  }
  if (part < url.data() || part + length > url.data() + url.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const DWORD flags = (data[0] & 1) != 0 ? ICU_DECODE : 0;
  const CString text = zx::fuzz::Utf16Units(data + 1, size - 1);
  const std::u16string_view url(text.GetString());

  URL_COMPONENTSW pointers{};
  pointers.dwStructSize = sizeof pointers;
  pointers.dwSchemeLength = pointers.dwHostNameLength = pointers.dwUserNameLength = pointers.dwPasswordLength =
      pointers.dwUrlPathLength = pointers.dwExtraInfoLength = 1;
  const BOOL split = InternetCrackUrlW(url.data(), 0, flags, &pointers);
  if (split) {
    Within(url, pointers.lpszScheme, pointers.dwSchemeLength);
    Within(url, pointers.lpszHostName, pointers.dwHostNameLength);
    Within(url, pointers.lpszUserName, pointers.dwUserNameLength);
    Within(url, pointers.lpszPassword, pointers.dwPasswordLength);
    Within(url, pointers.lpszUrlPath, pointers.dwUrlPathLength);
    Within(url, pointers.lpszExtraInfo, pointers.dwExtraInfoLength);
  }

  Buffers buffers{};
  URL_COMPONENTSW copied{};
  copied.dwStructSize = sizeof copied;
  copied.lpszScheme = buffers.scheme;
  copied.dwSchemeLength = 32;
  copied.lpszHostName = buffers.host;
  copied.dwHostNameLength = 256;
  copied.lpszUserName = buffers.user;
  copied.dwUserNameLength = 64;
  copied.lpszPassword = buffers.password;
  copied.dwPasswordLength = 64;
  copied.lpszUrlPath = buffers.path;
  copied.dwUrlPathLength = 2048;
  copied.lpszExtraInfo = buffers.extra;
  copied.dwExtraInfoLength = 2048;
  const BOOL fitted = InternetCrackUrlW(url.data(), 0, flags, &copied);
  if (fitted && !split) std::abort();
  if (fitted) {
    const std::pair<LPCWSTR, DWORD> parts[] = {{buffers.scheme, copied.dwSchemeLength},
                                               {buffers.host, copied.dwHostNameLength},
                                               {buffers.user, copied.dwUserNameLength},
                                               {buffers.password, copied.dwPasswordLength},
                                               {buffers.path, copied.dwUrlPathLength},
                                               {buffers.extra, copied.dwExtraInfoLength}};
    for (const auto& [part, length] : parts)
      if (part[length] != 0) std::abort();
    if (std::u16string_view(buffers.host, copied.dwHostNameLength) !=
            std::u16string_view(pointers.lpszHostName, pointers.dwHostNameLength) ||
        copied.nPort != pointers.nPort || copied.nScheme != pointers.nScheme)
      std::abort();
    if (flags == 0 && std::u16string_view(buffers.path, copied.dwUrlPathLength) !=
                          std::u16string_view(pointers.lpszUrlPath, pointers.dwUrlPathLength))
      std::abort();
  } else if (split && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    std::abort();
  }

  zx::inet::HttpTarget target;
  if (zx::inet::SplitHttpUrl(url.data(), target)) {
    if (!split || target.port != pointers.nPort ||
        target.host != std::u16string_view(pointers.lpszHostName, pointers.dwHostNameLength) ||
        target.secure != (pointers.nScheme == INTERNET_SCHEME_HTTPS))
      std::abort();
  }
  return 0;
}
