// Taking an http or https address apart for a WinINet request.
#include "zx/httptarget.h"

namespace zx::inet {

bool SplitHttpUrl(LPCWSTR url, HttpTarget& target) {
  WCHAR host[256] = {};
  URL_COMPONENTSW parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  parts.dwUrlPathLength = 1;
  parts.dwExtraInfoLength = 1;
  if (!InternetCrackUrlW(url, 0, 0, &parts) ||
      (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
    return false;
  target.host = host;
  target.port = parts.nPort;
  target.object = std::u16string(parts.lpszUrlPath, parts.dwUrlPathLength) +
                  std::u16string(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  target.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  return true;
}

}  // namespace zx::inet
