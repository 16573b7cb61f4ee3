// Text helpers shared inside the class library: conversions between UTF-16 and the ANSI code
// page (Windows-1252), and per-width character traits for the string and formatter code.
#pragma once
#include <string>
#include <string_view>
#include "wintypes.h"

namespace zx::afx {

std::u16string WidenAnsi(std::string_view text);
std::string NarrowAnsi(std::u16string_view text);

// Converts text of either width to width C (1252 between the widths).
template <class C, class From>
std::basic_string<C> ConvertText(std::basic_string_view<From> text) {
  if constexpr (std::is_same_v<C, From>) return std::basic_string<C>(text);
  else if constexpr (std::is_same_v<C, char16_t>) return WidenAnsi(text);
  else return NarrowAnsi(text);
}

// Case mapping of one unit of either width (1252 bytes map through their UTF-16 letter when
// the other case exists in the code page).
WCHAR UpperUnit(WCHAR c);
WCHAR LowerUnit(WCHAR c);
char UpperUnit(char c);
char LowerUnit(char c);
WCHAR FoldUnit(WCHAR c);
WCHAR FoldUnit(char c);

}  // namespace zx::afx
