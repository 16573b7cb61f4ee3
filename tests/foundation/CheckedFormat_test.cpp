// The checked formatter of language texts: conversions matched with values of their kind,
// integer size prefixes, and formats that do not fit left as they stand.
#include <gtest/gtest.h>

#include "CheckedFormat.h"
#include "cstring_printer.h"

namespace {

TEST(CheckedFormat, EachConversionTakesAValueOfItsKind) {
  const unsigned long long big = 5000000000ull;
  const struct {
    const char16_t* format;
    std::initializer_list<tagFormatValue> values;
    BOOL fits;
    const char16_t* shown;
  } table[] = {
      {u"%s has %d drivers", {u"Zephrin Tunevo", 3}, TRUE, u"Zephrin Tunevo has 3 drivers"},
      {u"%I64d Bytes", {big}, TRUE, u"5000000000 Bytes"},
      {u"%lld of %lu", {-7LL, 9UL}, TRUE, u"-7 of 9"},
      {u"%hd%%", {12}, TRUE, u"12%"},
      {u"%.2f GB", {1.5}, TRUE, u"1.50 GB"},
      {u"%05.1f|%-4d|%x", {2.25, 7, 255}, TRUE, u"002.2|7   |ff"},
      {u"%ls", {u"wide"}, FALSE, u"%ls"},
      {u"%I64f", {1.0}, FALSE, u"%I64f"},
      {u"%d", {u"text"}, FALSE, u"%d"},
      {u"%s %s", {u"one"}, FALSE, u"%s %s"},
      {u"%n%p", {1, 2}, FALSE, u"%n%p"},
      {u"%*d", {4, 2}, FALSE, u"%*d"},
      {u"ends in %", {}, FALSE, u"ends in %"},
      {u"%I6", {1}, FALSE, u"%I6"},
  };
  for (const auto& row : table) {
    CString result;
    EXPECT_EQ(FormatChecked(result, row.format, row.values), row.fits) << CStringA(CString(row.format)).GetString();
    EXPECT_EQ(result, CString(row.shown)) << CStringA(CString(row.format)).GetString();
  }
}

}  // namespace
