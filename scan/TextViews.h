// Reading CString texts as views without copying them: the view of a whole text, the blanks
// that CString::Trim removes, and a view with those blanks cut off.
#pragma once
#include <afx.h>

#include <string_view>

inline std::u16string_view View(const CString& text) {
  return {text.GetString(), static_cast<std::size_t>(text.GetLength())};
}

// The characters CString::Trim removes: tab to carriage return, and space.
inline bool IsTrimmedBlank(WCHAR c) { return (c >= '\t' && c <= '\r') || c == ' '; }

// The text without the blanks around it, as CString::Trim leaves it.
inline std::u16string_view TrimmedView(std::u16string_view text) {
  while (!text.empty() && IsTrimmedBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimmedBlank(text.back())) text.remove_suffix(1);
  return text;
}
