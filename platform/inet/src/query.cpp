// HttpQueryInfo: the status and headers of a response.
#include <algorithm>
#include <cctype>
#include <optional>

#include "errhandlingapi.h"
#include "inetobjects.h"
#include "wininet.h"
#include "zx/utf8text.h"

using namespace zx::inet;

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

// The values of one header of the response, in order.
std::vector<std::string> HeaderValues(const std::vector<std::string>& lines, std::string_view name) {
  std::vector<std::string> values;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || !SameName(std::string_view(line).substr(0, colon), name)) continue;
    const std::size_t start = line.find_first_not_of(" \t", colon + 1);
    const std::size_t end = line.find_last_not_of(" \t");
    values.push_back(start == std::string::npos ? std::string() : line.substr(start, end - start + 1));
  }
  return values;
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

// The values a query level names; nullopt when the level is not one this layer answers.
std::optional<std::vector<std::string>> ValuesFor(const Transfer& transfer, DWORD level,
                                                  LPVOID buffer) {
  const std::vector<std::string>& lines = transfer.headerLines();
  const std::string& statusLine = lines.empty() ? std::string() : lines.front();
  switch (level) {
    case HTTP_QUERY_STATUS_CODE:
      return std::vector<std::string>{std::to_string(transfer.statusCode())};
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
      if (!buffer) return std::vector<std::string>{};
      const auto name = ToUtf8(static_cast<const WCHAR*>(buffer));
      return name ? HeaderValues(lines, *name) : std::vector<std::string>{};
    }
    default:
      if (const char* name = HeaderName(level)) return HeaderValues(lines, name);
      return std::nullopt;
  }
}

}  // namespace

BOOL HttpQueryInfoW(HINTERNET request, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength,
                    LPDWORD index) {
  if (!bufferLength) return Fail(ERROR_INVALID_PARAMETER);
  auto target = LookupAs<Request>(request, Kind::Request);
  if (!target) return FALSE;
  if (target->connection->ftp()) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  const DWORD modifiers = infoLevel & HTTP_QUERY_MODIFIER_FLAGS_MASK;
  if (modifiers & ~HTTP_QUERY_FLAG_NUMBER) return Fail(ERROR_HTTP_INVALID_QUERY_REQUEST);

  std::lock_guard<std::mutex> busy(target->busy);
  if (!target->transfer.responded()) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  const auto values = ValuesFor(target->transfer, infoLevel & HTTP_QUERY_HEADER_MASK, buffer);
  if (!values) return Fail(ERROR_HTTP_INVALID_QUERY_REQUEST);
  const DWORD occurrence = index ? *index : 0;
  if (occurrence >= values->size()) return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
  const std::string& value = (*values)[occurrence];

  if (modifiers & HTTP_QUERY_FLAG_NUMBER) {
    if (value.empty() || !std::isdigit(static_cast<unsigned char>(value.front())))
      return Fail(ERROR_HTTP_INVALID_HEADER);
    if (!buffer || *bufferLength < sizeof(DWORD)) {
      *bufferLength = sizeof(DWORD);
      return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    *static_cast<DWORD*>(buffer) = static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 10));
    *bufferLength = sizeof(DWORD);
  } else {
    // Header bytes are taken as Latin-1, one character each.
    const DWORD needed = static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR));
    if (!buffer || *bufferLength < needed) {
      *bufferLength = needed;
      return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    auto* out = static_cast<WCHAR*>(buffer);
    std::transform(value.begin(), value.end(), out, [](unsigned char c) { return static_cast<WCHAR>(c); });
    out[value.size()] = 0;
    *bufferLength = static_cast<DWORD>(value.size() * sizeof(WCHAR));
  }
  if (index) ++*index;
  return TRUE;
}
