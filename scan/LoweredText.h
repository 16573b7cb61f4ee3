// A lower-cased copy of a text for tests that only read it (each unit lowered as
// CString::MakeLower lowers it); short texts stay on the stack.
#pragma once
#include <zx/casefold.h>

#include <string>
#include <string_view>

class CLoweredText {
 public:
  explicit CLoweredText(std::u16string_view text) : m_length(text.size()) {
    WCHAR* out = m_local;
    if (text.size() > kLocalUnits) {
      m_long.resize(text.size());
      out = m_long.data();
    }
    for (std::size_t i = 0; i < text.size(); ++i) out[i] = Lower(text[i]);
  }
  CLoweredText(const CLoweredText&) = delete;
  CLoweredText& operator=(const CLoweredText&) = delete;

  std::u16string_view View() const { return {m_length > kLocalUnits ? m_long.data() : m_local, m_length}; }

  // One unit in lower case; ASCII without a call.
  static WCHAR Lower(WCHAR c) { return c >= 0x80 ? zx::ToLower(c) : zx::LowerAscii(c); }

 private:
  static constexpr std::size_t kLocalUnits = 160;
  WCHAR m_local[kLocalUnits];
  std::u16string m_long;
  std::size_t m_length;
};
