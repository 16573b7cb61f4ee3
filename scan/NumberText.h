// A number's digits as wide text, kept on the stack: base 10 with a "-" for negative values
// (as "%d" prints them), or base 16 in lower-case digits.
#pragma once
#include <afx.h>

#include <algorithm>
#include <charconv>
#include <concepts>
#include <string_view>

class CNumberText {
 public:
  template <std::integral Number>
  explicit CNumberText(Number value, int base = 10) {
    char digits[kUnits];
    const char* end = std::to_chars(digits, digits + kUnits, value, base).ptr;
    m_length = static_cast<std::size_t>(std::copy(static_cast<const char*>(digits), end, m_units) - m_units);
  }

  std::u16string_view View() const { return std::u16string_view(m_units, m_length); }

 private:
  static constexpr std::size_t kUnits = 72;  // any 64-bit value in base 2 and up, with its sign
  WCHAR m_units[kUnits];
  std::size_t m_length = 0;
};
