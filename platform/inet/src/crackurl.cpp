// InternetCrackUrl: splits a URL into scheme, host, port, user name, password, path and extra
// information.
#include <algorithm>
#include <string>
#include <string_view>

#include "errhandlingapi.h"
#include "wininet.h"

namespace {

struct Parts {
  std::u16string_view scheme, user, password, host, path, extra;
  INTERNET_SCHEME kind = INTERNET_SCHEME_UNKNOWN;
  INTERNET_PORT port = INTERNET_INVALID_PORT_NUMBER;
};

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool Same(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

INTERNET_SCHEME SchemeOf(std::u16string_view scheme) {
  if (Same(scheme, u"http")) return INTERNET_SCHEME_HTTP;
  if (Same(scheme, u"https")) return INTERNET_SCHEME_HTTPS;
  if (Same(scheme, u"ftp")) return INTERNET_SCHEME_FTP;
  if (Same(scheme, u"gopher")) return INTERNET_SCHEME_GOPHER;
  if (Same(scheme, u"file")) return INTERNET_SCHEME_FILE;
  return INTERNET_SCHEME_UNKNOWN;
}

INTERNET_PORT DefaultPort(INTERNET_SCHEME scheme) {
  switch (scheme) {
    case INTERNET_SCHEME_HTTP:
      return INTERNET_DEFAULT_HTTP_PORT;
    case INTERNET_SCHEME_HTTPS:
      return INTERNET_DEFAULT_HTTPS_PORT;
    case INTERNET_SCHEME_FTP:
      return INTERNET_DEFAULT_FTP_PORT;
    default:
      return INTERNET_INVALID_PORT_NUMBER;
  }
}

bool IsSchemeChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'+' || c == u'-' || c == u'.';
}

// ERROR_SUCCESS, or why the URL does not split.
DWORD Split(std::u16string_view url, Parts& parts) {
  const std::size_t colon = url.find(u':');
  if (colon == 0 || colon == std::u16string_view::npos ||
      !std::all_of(url.begin(), url.begin() + colon, IsSchemeChar))
    return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
  parts.scheme = url.substr(0, colon);
  parts.kind = SchemeOf(parts.scheme);
  std::u16string_view rest = url.substr(colon + 1);
  if (rest.substr(0, 2) != u"//") return ERROR_INTERNET_INVALID_URL;
  rest.remove_prefix(2);

  const std::size_t authorityEnd = std::min(rest.find_first_of(u"/?#"), rest.size());
  std::u16string_view authority = rest.substr(0, authorityEnd);
  const std::u16string_view tail = rest.substr(authorityEnd);
  const std::size_t extraStart = std::min(tail.find_first_of(u"?#"), tail.size());
  parts.path = tail.substr(0, extraStart);
  parts.extra = tail.substr(extraStart);

  const std::size_t at = authority.rfind(u'@');
  if (at != std::u16string_view::npos) {
    const std::u16string_view userInfo = authority.substr(0, at);
    const std::size_t split = std::min(userInfo.find(u':'), userInfo.size());
    parts.user = userInfo.substr(0, split);
    parts.password = split < userInfo.size() ? userInfo.substr(split + 1) : userInfo.substr(split);
    authority.remove_prefix(at + 1);
  } else {
    parts.user = parts.password = authority.substr(0, 0);
  }

  std::u16string_view portText = authority.substr(authority.size());
  if (!authority.empty() && authority.front() == u'[') {
    const std::size_t close = authority.find(u']');
    if (close == std::u16string_view::npos) return ERROR_INTERNET_INVALID_URL;
    parts.host = authority.substr(1, close - 1);
    const std::u16string_view after = authority.substr(close + 1);
    if (!after.empty() && after.front() != u':') return ERROR_INTERNET_INVALID_URL;
    if (!after.empty()) portText = after.substr(1);
  } else {
    const std::size_t portColon = std::min(authority.find(u':'), authority.size());
    parts.host = authority.substr(0, portColon);
    if (portColon < authority.size()) portText = authority.substr(portColon + 1);
  }

  parts.port = DefaultPort(parts.kind);
  if (!portText.empty()) {
    unsigned long port = 0;
    for (const char16_t c : portText) {
      if (c < u'0' || c > u'9' || (port = port * 10 + (c - u'0')) > 65535) return ERROR_INTERNET_INVALID_URL;
    }
    parts.port = static_cast<INTERNET_PORT>(port);
  }
  if (parts.host.empty() && parts.kind != INTERNET_SCHEME_FILE) return ERROR_INTERNET_INVALID_URL;
  return ERROR_SUCCESS;
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// %XX escapes become the character of that code.
std::u16string Decoded(std::u16string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char16_t>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Hands one part to the caller as URL_COMPONENTSW asks; false when the buffer is too small.
bool Deliver(LPWSTR& pointer, DWORD& length, std::u16string_view part, bool decode) {
  if (length == 0) return true;
  if (!pointer) {
    pointer = const_cast<LPWSTR>(part.data());
    length = static_cast<DWORD>(part.size());
    return true;
  }
  const std::u16string text = decode ? Decoded(part) : std::u16string(part);
  if (text.size() + 1 > length) {
    length = static_cast<DWORD>(text.size() + 1);
    return false;
  }
  std::copy(text.begin(), text.end(), pointer);
  pointer[text.size()] = 0;
  length = static_cast<DWORD>(text.size());
  return true;
}

}  // namespace

BOOL InternetCrackUrlW(LPCWSTR url, DWORD urlLength, DWORD flags, LPURL_COMPONENTSW components) {
  if (!url || !components || components->dwStructSize != sizeof(URL_COMPONENTSW) ||
      (flags & ~ICU_DECODE) != 0)
    return Fail(ERROR_INVALID_PARAMETER);
  const std::u16string_view text = urlLength == 0 ? std::u16string_view(url) : std::u16string_view(url, urlLength);
  Parts parts;
  if (const DWORD error = Split(text, parts); error != ERROR_SUCCESS) return Fail(error);

  const bool decode = (flags & ICU_DECODE) != 0;
  components->nScheme = parts.kind;
  components->nPort = parts.port;
  bool fits = Deliver(components->lpszScheme, components->dwSchemeLength, parts.scheme, false);
  fits &= Deliver(components->lpszHostName, components->dwHostNameLength, parts.host, false);
  fits &= Deliver(components->lpszUserName, components->dwUserNameLength, parts.user, decode);
  fits &= Deliver(components->lpszPassword, components->dwPasswordLength, parts.password, decode);
  fits &= Deliver(components->lpszUrlPath, components->dwUrlPathLength, parts.path, decode);
  fits &= Deliver(components->lpszExtraInfo, components->dwExtraInfoLength, parts.extra, decode);
  return fits ? TRUE : Fail(ERROR_INSUFFICIENT_BUFFER);
}
