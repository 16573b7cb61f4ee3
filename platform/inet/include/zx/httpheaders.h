// The response headers of an HTTP exchange as they come in, line by line: the status line,
// the header lines, interim answers (1xx) passed over, and the blank line that ends them,
// either the final answer or a redirect to follow. Also what HttpQueryInfo answers from
// them: the values of a query level and their copy into the caller's buffer.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wintypes.h"

namespace zx::inet {

class HttpHeaders {
 public:
  enum class Step { kMore, kRedirect, kDone };
  // Takes one line as libcurl hands it over (its line end is dropped). A blank line ends the
  // headers: kRedirect when a followed redirect with a Location came (more headers follow),
  // kDone for the final answer.
  Step Feed(std::string_view line, bool followRedirects);
  // The status line's code: three digits (100-999) after its first blank, else 0.
  long statusCode() const { return statusCode_; }
  // The lines of the last answer without their line ends; the first is the status line.
  const std::vector<std::string>& lines() const { return lines_; }
  // The values of the header `name` (any case) in order, without blanks around them.
  std::vector<std::string> Values(std::string_view name) const;
  void Clear();

 private:
  long statusCode_ = 0;
  std::vector<std::string> lines_;
};

// The values a query level (HTTP_QUERY_*, without modifiers) names; for HTTP_QUERY_CUSTOM
// the header's name is `customName`. nullopt when the level is not one this layer answers.
std::optional<std::vector<std::string>> HttpQueryValues(const HttpHeaders& headers, DWORD level,
                                                        const WCHAR* customName);

// Copies one value as HttpQueryInfo does: as a DWORD when `number` (digits only, within a
// DWORD, else ERROR_HTTP_INVALID_HEADER), else as text, one character per byte, terminated.
// A buffer too small answers ERROR_INSUFFICIENT_BUFFER with the size needed. 0 or an error.
DWORD CopyHttpQueryValue(const std::string& value, bool number, void* buffer, DWORD* bufferLength);

}  // namespace zx::inet
