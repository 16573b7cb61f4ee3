// Fuzz target: what an HTTP server sends as its response headers, cut into lines as libcurl
// hands them over (the first byte's low bit says whether redirects are followed), then asked
// as the downloaders ask HttpQueryInfo: the status as a number, Content-Length,
// Content-Range and Location as text into buffers of their sizes. A status code is 0 or
// three digits; a value copies whole and terminated or answers the size it needs; a number
// answered is the value's digits, and so is a size the downloaders read from it; a redirect
// always names its Location.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "../services/HttpLengths.h"
#include "wininet.h"
#include "zx/httpheaders.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string WithoutLeadingZeros(const std::string& digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? "0" : digits.substr(first);
}

void CheckValue(const std::string& value, DWORD bufferBytes) {
  std::vector<WCHAR> buffer(bufferBytes / sizeof(WCHAR) + 1, 0xFFFF);
  DWORD length = bufferBytes;
  const DWORD error = zx::inet::CopyHttpQueryValue(value, false, buffer.data(), &length);
  const DWORD needed = static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR));
  if (error == ERROR_INSUFFICIENT_BUFFER) {
    if (length != needed || needed <= bufferBytes) std::abort();
    return;
  }
  if (error != 0 || length != value.size() * sizeof(WCHAR) || buffer[value.size()] != 0) std::abort();
  // The downloaders' readings of the text (up to a zero, as they see it): a size is its whole
  // digits, or none.
  const std::string seen = value.substr(0, value.find('\0'));
  const LONGLONG size = ParseContentLength(buffer.data());
  if (size < -1 || (size >= 0 && !seen.empty() && WithoutLeadingZeros(seen) != std::to_string(size))) std::abort();
  const LONGLONG total = ParseRangeTotal(buffer.data());
  if (total < -1 || (total >= 0 && seen.find('/') == std::string::npos)) std::abort();
  ULONGLONG leading = 0;
  if (ParseLeadingLength(buffer.data(), leading) && leading != 0 && !IsDigit(seen.front())) std::abort();
  for (std::size_t i = 0; i < value.size(); ++i)
    if (buffer[i] != static_cast<unsigned char>(value[i])) std::abort();
  DWORD number = 0;
  length = sizeof number;
  if (zx::inet::CopyHttpQueryValue(value, true, &number, &length) == 0 && std::stoull(value) != number) std::abort();
}

void CheckAnswer(const zx::inet::HttpHeaders& headers) {
  const long code = headers.statusCode();
  if (code != 0 && (code < 100 || code > 999)) std::abort();
  const auto status = zx::inet::HttpQueryValues(headers, HTTP_QUERY_STATUS_CODE, nullptr);
  DWORD number = 0, length = sizeof number;
  if (!status || status->size() != 1 || zx::inet::CopyHttpQueryValue(status->front(), true, &number, &length) != 0 ||
      number != static_cast<DWORD>(code))
    std::abort();
  // The downloaders' buffers: 32 characters for a length, 128 for a range, 2049 for a location.
  const std::pair<DWORD, DWORD> asked[] = {{HTTP_QUERY_CONTENT_LENGTH, 64},
                                           {HTTP_QUERY_CONTENT_RANGE, 256},
                                           {HTTP_QUERY_LOCATION, 4098},
                                           {HTTP_QUERY_STATUS_TEXT, 64},
                                           {HTTP_QUERY_RAW_HEADERS_CRLF, 4096}};
  for (const auto& [level, bytes] : asked) {
    const auto values = zx::inet::HttpQueryValues(headers, level, nullptr);
    if (!values) std::abort();
    for (const std::string& value : *values) {
      const bool header = level != HTTP_QUERY_STATUS_TEXT && level != HTTP_QUERY_RAW_HEADERS_CRLF;
      if (header && !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()))) std::abort();
      CheckValue(value, bytes);
    }
  }
  if (zx::inet::HttpQueryValues(headers, HTTP_QUERY_CUSTOM, u"Content-Length") !=
      zx::inet::HttpQueryValues(headers, HTTP_QUERY_CONTENT_LENGTH, nullptr))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool follow = (data[0] & 1) != 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  zx::inet::HttpHeaders headers;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    const auto step = headers.Feed(text.substr(start, end - start), follow);
    start = end;
    if (step == zx::inet::HttpHeaders::Step::kRedirect && headers.Values("Location").empty()) std::abort();
    if (step != zx::inet::HttpHeaders::Step::kDone) continue;
    CheckAnswer(headers);
    headers.Clear();
  }
  return 0;
}
