// HTTP response headers read line by line, and the values HttpQueryInfo answers from them.
#include "zx/httpheaders.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "wininet.h"
#include "zx/utf8text.h"

namespace zx::inet {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsFollowedRedirect(long status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// "HTTP/1.1 200 OK" -> 200; a code of other than three digits (100-999) is none.
long StatusCodeOf(std::string_view line) {
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos || line.size() < blank + 4) return 0;
  const std::string_view code = line.substr(blank + 1, 3);
  if (!std::all_of(code.begin(), code.end(), IsDigit) || code[0] == '0' ||
      (line.size() > blank + 4 && IsDigit(line[blank + 4])))
    return 0;
  return (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');
}

const char* HeaderName(DWORD level) {
  switch (level) {
    case HTTP_QUERY_CONTENT_TYPE:
      return "Content-Type";
    case HTTP_QUERY_CONTENT_LENGTH:
      return "Content-Length";
    case HTTP_QUERY_LOCATION:
      return "Location";
    case HTTP_QUERY_CONTENT_RANGE:
      return "Content-Range";
    default:
      return nullptr;
  }
}

}  // namespace

HttpHeaders::Step HttpHeaders::Feed(std::string_view line, bool followRedirects) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.substr(0, 5) == "HTTP/") {
    lines_.assign(1, std::string(line));
    statusCode_ = StatusCodeOf(line);
    return Step::kMore;
  }
  if (!line.empty()) {
    lines_.emplace_back(line);
    return Step::kMore;
  }
  // An interim answer (100 Continue): the real one follows.
  if (statusCode_ / 100 == 1) return Step::kMore;
  if (followRedirects && IsFollowedRedirect(statusCode_) && !Values("Location").empty()) return Step::kRedirect;
  return Step::kDone;
}

std::vector<std::string> HttpHeaders::Values(std::string_view name) const {
  std::vector<std::string> values;
  for (std::size_t i = 1; i < lines_.size(); ++i) {
    const std::string& line = lines_[i];
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || !SameName(std::string_view(line).substr(0, colon), name)) continue;
    const std::size_t start = line.find_first_not_of(" \t", colon + 1);
    const std::size_t end = line.find_last_not_of(" \t");
    values.push_back(start == std::string::npos ? std::string() : line.substr(start, end - start + 1));
  }
  return values;
}

void HttpHeaders::Clear() {
  statusCode_ = 0;
  lines_.clear();
}

std::optional<std::vector<std::string>> HttpQueryValues(const HttpHeaders& headers, DWORD level,
                                                        const WCHAR* customName) {
  const std::vector<std::string>& lines = headers.lines();
  const std::string statusLine = lines.empty() ? std::string() : lines.front();
  switch (level) {
    case HTTP_QUERY_STATUS_CODE:
      return std::vector<std::string>{std::to_string(headers.statusCode())};
    case HTTP_QUERY_STATUS_TEXT: {
      const std::size_t code = statusLine.find(' ');
      const std::size_t text = code == std::string::npos ? code : statusLine.find(' ', code + 1);
      return std::vector<std::string>{text == std::string::npos ? std::string() : statusLine.substr(text + 1)};
    }
    case HTTP_QUERY_RAW_HEADERS_CRLF: {
      std::string all;
      for (const std::string& line : lines) all += line + "\r\n";
      return std::vector<std::string>{all + "\r\n"};
    }
    case HTTP_QUERY_CUSTOM: {
      if (!customName) return std::vector<std::string>{};
      const auto name = ToUtf8(customName);
      return name ? headers.Values(*name) : std::vector<std::string>{};
    }
    default:
      if (const char* name = HeaderName(level)) return headers.Values(name);
      return std::nullopt;
  }
}

DWORD CopyHttpQueryValue(const std::string& value, bool number, void* buffer, DWORD* bufferLength) {
  if (number) {
    if (value.empty() || !std::all_of(value.begin(), value.end(), IsDigit)) return ERROR_HTTP_INVALID_HEADER;
    unsigned long long parsed = 0;
    for (const char c : value) {
      parsed = parsed * 10 + static_cast<unsigned>(c - '0');
      if (parsed > std::numeric_limits<DWORD>::max()) return ERROR_HTTP_INVALID_HEADER;
    }
    if (!buffer || *bufferLength < sizeof(DWORD)) {
      *bufferLength = sizeof(DWORD);
      return ERROR_INSUFFICIENT_BUFFER;
    }
    *static_cast<DWORD*>(buffer) = static_cast<DWORD>(parsed);
    *bufferLength = sizeof(DWORD);
    return 0;
  }
  // Header bytes are taken as Latin-1, one character each.
  const DWORD needed = static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR));
  if (!buffer || *bufferLength < needed) {
    *bufferLength = needed;
    return ERROR_INSUFFICIENT_BUFFER;
  }
  auto* out = static_cast<WCHAR*>(buffer);
  std::transform(value.begin(), value.end(), out, [](unsigned char c) { return static_cast<WCHAR>(c); });
  out[value.size()] = 0;
  *bufferLength = static_cast<DWORD>(value.size() * sizeof(WCHAR));
  return 0;
}

}  // namespace zx::inet
