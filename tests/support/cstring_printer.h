// Lets GoogleTest print CString values in failure messages (as UTF-8).
#pragma once
#include <afx.h>

#include <ostream>

inline void PrintTo(const CStringW& text, std::ostream* out) {
  *out << '"' << CStringA(text).GetString() << '"';
}
inline void PrintTo(const CStringA& text, std::ostream* out) { *out << '"' << text.GetString() << '"'; }
