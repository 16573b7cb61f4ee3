// Language texts used as formats. A translation is outside input: its conversions are checked
// against the values the caller has before the text is used as a format.
#pragma once
#include <afx.h>

#include "HelperApi.h"

#include <concepts>
#include <initializer_list>

// One value handed to a checked format: a text (for %s), an integer of any width (for %d %i %u
// %x %X, with or without the size prefixes h, l, ll and I64) or a real number (for %f %F %e %E
// %g %G).
struct ZXHELPER_API tagFormatValue {
  tagFormatValue(LPCTSTR value) : text(value ? value : _T("")) {}
  tagFormatValue(const CString& value) : text(value) {}
  template <std::integral T>
  tagFormatValue(T value) : isNumber(true), number(static_cast<long long>(value)) {}
  tagFormatValue(double value) : isReal(true), real(value) {}
  bool isNumber = false;
  bool isReal = false;
  CString text;
  long long number = 0;
  double real = 0;
};

// Formats the values into the text when each conversion of the format (flags, width,
// precision and an integer size prefix allowed, no '*') takes the kind of the next value and there are no more
// conversions than values; "%%" is a percent sign. Otherwise FALSE and the result is the
// format as it stands.
ZXHELPER_API BOOL FormatChecked(CString& result, const CString& format, std::initializer_list<tagFormatValue> values);
