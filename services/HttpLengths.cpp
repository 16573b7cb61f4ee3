// Sizes in HTTP header values.
#include "HttpLengths.h"

#include <climits>

namespace {

constexpr LONGLONG kSizeUnknown = -1;

// The digits of [begin, end) as a number; -1 when a character is no digit or it does not fit.
LONGLONG Digits(const WCHAR* begin, const WCHAR* end) {
  if (begin == end) return kSizeUnknown;
  LONGLONG value = 0;
  for (const WCHAR* c = begin; c != end; ++c) {
    if (*c < '0' || *c > '9' || value > (LLONG_MAX - 9) / 10) return kSizeUnknown;
    value = value * 10 + (*c - '0');
  }
  return value;
}

}  // namespace

LONGLONG ParseContentLength(LPCWSTR text) {
  const CString value = text;
  // An empty value reads as 0, as the length was always read.
  return value.IsEmpty() ? 0 : Digits(value.GetString(), value.GetString() + value.GetLength());
}

LONGLONG ParseRangeTotal(LPCWSTR text) {
  const CString range = text;
  const int slash = range.ReverseFind(_T('/'));
  if (slash < 0 || slash + 1 >= range.GetLength()) return kSizeUnknown;
  return Digits(range.GetString() + slash + 1, range.GetString() + range.GetLength());
}

bool ParseLeadingLength(LPCWSTR text, ULONGLONG& length) {
  length = 0;
  for (const WCHAR* c = text; *c >= u'0' && *c <= u'9'; ++c) {
    const auto digit = static_cast<ULONGLONG>(*c - u'0');
    if (length > (ULLONG_MAX - digit) / 10) return false;
    length = length * 10 + digit;
  }
  return true;
}
