// CString::Format: printf conversions with typed arguments, and formats that do not match
// their arguments (as a format read from a file may not).
#include <gtest/gtest.h>

#include <cstdint>

#include "afx.h"

namespace {

template <class... A>
CString F(LPCWSTR format, const A&... args) {
  CString s;
  s.Format(format, args...);
  return s;
}

TEST(FormatNumbers, IntegersWithFlagsWidthAndPrecision) {
  EXPECT_EQ(F(u"%d|%i|%u", -7, 42, 7u), u"-7|42|7");
  EXPECT_EQ(F(u"%02i:%02i", 5, 30), u"05:30");
  EXPECT_EQ(F(u"[%5d][%-5d][%+d][% d][%.3d]", 42, 42, 42, 42, 7), u"[   42][42   ][+42][ 42][007]");
  EXPECT_EQ(F(u"%x %X %08X %o %#x", 255, 255, 0xBEEFu, 8, 255), u"ff FF 0000BEEF 10 0xff");
  EXPECT_EQ(F(u"%ld %lu", LONG{-3}, DWORD{4000000000u}), u"-3 4000000000");
  EXPECT_EQ(F(u"%lld %llu", INT64_MIN, UINT64_MAX), u"-9223372036854775808 18446744073709551615");
  EXPECT_EQ(F(u"%I64d %I64u %I64x", LONGLONG{-5}, ULONGLONG{5}, ULONGLONG{0x123456789ABull}),
            u"-5 5 123456789ab");
}

TEST(FormatNumbers, ArgumentWidthsFollowWhatPrintfWouldSee) {
  EXPECT_EQ(F(u"%d", DWORD{0xFFFFFFFF}), u"-1");  // a 32-bit value read as int
  EXPECT_EQ(F(u"%u %x", -1, short{-1}), u"4294967295 ffffffff");
  EXPECT_EQ(F(u"%d", LONGLONG{5000000000}), u"5000000000");  // 64-bit values print in full
  EXPECT_EQ(F(u"%hd %hu", 70000, -1), u"4464 65535");
  EXPECT_EQ(F(u"%d %d %d", true, BYTE{200}, u'A'), u"1 200 65");
  enum Colour { kRed = 3 };
  EXPECT_EQ(F(u"%d", kRed), u"3");
}

TEST(FormatNumbers, Reals) {
  EXPECT_EQ(F(u"%0.1f KB", 1.26), u"1.3 KB");
  EXPECT_EQ(F(u"%0.2f%%", 99.5), u"99.50%");
  EXPECT_EQ(F(u"%.3f|%8.2f|%-8.2f|", 3.14159, 2.5, 2.5), u"3.142|    2.50|2.50    |");
  EXPECT_EQ(F(u"%e %g %G", 12345.678, 0.0001, 1e20), u"1.234568e+04 0.0001 1E+20");
  EXPECT_EQ(F(u"%f", 1.5f), u"1.500000");
  EXPECT_EQ(F(u"%.0f", 1e300).GetLength(), 301);
}

TEST(FormatText, StringsOfEitherWidthAndCharacters) {
  const CString wide(u"\u0416x");
  const CStringA narrow("caf\xE9");
  const WCHAR* nullWide = nullptr;
  EXPECT_EQ(F(u"%s|%s|%S|%s|%s", wide, narrow, "\x80", u"lit", nullWide),
            u"\u0416x|caf\u00E9|\u20AC|lit|(null)");
  EXPECT_EQ(F(u"[%-6s][%6s][%.2s]", u"ab", u"ab", u"abcdef"), u"[ab    ][    ab][ab]");
  const WCHAR unterminated[3] = {u'a', u'b', u'c'};
  EXPECT_EQ(F(u"%s", unterminated), u"abc");  // never read past the array
  EXPECT_EQ(F(u"%c%c%C%c", u'\u0416', 65, '\xE9', 'z'), u"\u0416A\u00E9z");
  EXPECT_EQ(F(u"%3c|%-3c|", u'x', u'y'), u"  x|y  |");
  EXPECT_EQ(F(u"%p", reinterpret_cast<void*>(0x1234)), u"0000000000001234");
  EXPECT_EQ(F(u"100%% %s", CString(u'z', 10000)).GetLength(), 10005);
}

TEST(FormatText, NarrowStringsFormatInCodePage1252) {
  CStringA s;
  s.Format("%s %S %c %C %d", "a", u"\u20AC\u0416", 'b', u'\u00E9', 12);
  EXPECT_EQ(s, "a \x80? b \xE9 12");
  s.AppendFormat("/%s", CString(u"\u2122"));
  EXPECT_EQ(s, "a \x80? b \xE9 12/\x99");
}

TEST(FormatText, FormatFromAStringAndAliasingItsArguments) {
  const CString format(u"%s=%d");
  CString s;
  s.Format(format, u"key", 7);
  EXPECT_EQ(s, u"key=7");
  s.Format(u"%s+%s", s, s);
  EXPECT_EQ(s, u"key=7+key=7");
  s.Format(s);
  EXPECT_EQ(s, u"key=7+key=7");
  s.AppendFormat(u"(%d)", 1);
  EXPECT_EQ(s, u"key=7+key=7(1)");
  s.Format(nullptr, 1);
  EXPECT_TRUE(s.IsEmpty());
}

TEST(FormatHostile, MissingArgumentsPrintNothing) {
  EXPECT_EQ(F(u"%d|%s|%f|%c|%p|"), u"|||||");
  EXPECT_EQ(F(u"%d %s %f|", 1), u"1  |");
  EXPECT_EQ(F(u"%s%s%s%s%s%s%s%s%s%s%n%n%n"), u"");
}

TEST(FormatHostile, MismatchedArgumentsConvertOrPrintNothing) {
  int value = 5;
  EXPECT_EQ(F(u"%s", 42), u"42");
  EXPECT_EQ(F(u"%-5s|", -3), u"-3   |");
  EXPECT_EQ(F(u"%s", 2.5), u"2.5");
  EXPECT_EQ(F(u"[%s]", &value), u"[]");  // a pointer is never read as text
  EXPECT_EQ(F(u"[%d][%x][%c]", u"text", CString(u"t"), u"t"), u"[][][]");
  EXPECT_EQ(F(u"%d|%u", 2.9, -1.0), u"2|18446744073709551615");
  EXPECT_EQ(F(u"%f", 3), u"3.000000");
  EXPECT_EQ(F(u"[%f]", u"x"), u"[]");
  EXPECT_EQ(F(u"%n|%d", &value, 7), u"|7");  // %n writes nothing and uses its argument up
  EXPECT_EQ(value, 5);
}

TEST(FormatHostile, FieldsAreCappedAndUnknownConversionsKept) {
  EXPECT_EQ(F(u"%99999999999d", 1).GetLength(), 4096);
  EXPECT_EQ(F(u"%.99999999999f", 1.0).GetLength(), 4098);
  EXPECT_EQ(F(u"%*d|%-*d|%*d|", 4, 7, 3, 8, -3, 9), u"   7|8  |9  |");
  EXPECT_EQ(F(u"%.*s|%*s|", 2, u"abcdef", u"no width", u"x"), u"ab|x|");
  EXPECT_EQ(F(u"%*d", 1 << 30, 1).GetLength(), 4096);
  EXPECT_EQ(F(u"%y %k% 100%", 1), u"%y %k% 100%");
  EXPECT_EQ(F(u"%l"), u"%l");
  EXPECT_EQ(F(u"%"), u"%");
}

}  // namespace
