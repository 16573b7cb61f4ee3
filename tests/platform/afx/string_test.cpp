// CString / CStringA: conversions through 1252, searching, extraction, trimming, editing,
// tokenizing, case and the buffer protocol.
#include <gtest/gtest.h>

#include "afx_test_support.h"

namespace {

using zx::afxtest::ThrownClass;

TEST(StringConversion, NarrowAndWideConvertThroughCodePage1252) {
  const CString wide("caf\xE9 \x80 \x9F");
  EXPECT_EQ(wide, u"caf\u00E9 \u20AC \u0178");
  const CStringA narrow(u"\u20AC \u0416 \u00FF \U0001F600");
  EXPECT_EQ(narrow, "\x80 ? \xFF ??");  // a surrogate pair is two unmappable units
  EXPECT_EQ(CStringA(CString(u"plain")), "plain");
  CString assigned;
  assigned = CStringA("\x80");
  EXPECT_EQ(assigned, u"\u20AC");
  assigned += "\x99";
  assigned += '\xE9';
  EXPECT_EQ(assigned, u"\u20AC\u2122\u00E9");
}

TEST(StringConversion, NullPointersAndCountedConstructors) {
  const WCHAR* none = nullptr;
  EXPECT_TRUE(CString(none).IsEmpty());
  EXPECT_EQ(CString(u"abcdef", 3), u"abc");
  EXPECT_EQ(CString(u'x', 4), u"xxxx");
  EXPECT_TRUE(CString(u'x', -1).IsEmpty());
  EXPECT_EQ(CString("ab\0cd", 5).GetLength(), 5);
  EXPECT_EQ(ThrownClass([] { CString(u"abc", -1); }), RUNTIME_CLASS(CInvalidArgException));
}

TEST(StringAccess, IndexesOutsideTheStringThrow) {
  CString s(u"abc");
  EXPECT_EQ(s[2], u'c');
  s.SetAt(0, u'X');
  EXPECT_EQ(s, u"Xbc");
  for (int bad : {-1, 3}) {
    EXPECT_EQ(ThrownClass([&] { s.GetAt(bad); }), RUNTIME_CLASS(CInvalidArgException)) << bad;
    EXPECT_EQ(ThrownClass([&] { s.SetAt(bad, u'x'); }), RUNTIME_CLASS(CInvalidArgException)) << bad;
  }
}

TEST(StringSearch, FindHonoursTheStartAndEdges) {
  const CString s(u"a,b,,c");
  EXPECT_EQ(s.Find(u','), 1);
  EXPECT_EQ(s.Find(u',', 2), 3);
  EXPECT_EQ(s.Find(u',', 6), -1);
  EXPECT_EQ(s.Find(u',', -1), -1);
  EXPECT_EQ(s.Find(u",,"), 3);
  EXPECT_EQ(s.Find(u"", 6), 6);
  EXPECT_EQ(s.Find(u"c", 7), -1);
  EXPECT_EQ(s.Find(static_cast<LPCWSTR>(nullptr)), -1);
  EXPECT_EQ(s.ReverseFind(u','), 4);
  EXPECT_EQ(s.ReverseFind(u'z'), -1);
  EXPECT_EQ(s.FindOneOf(u"cb"), 2);
  EXPECT_EQ(s.FindOneOf(u""), -1);
}

TEST(StringExtract, MidLeftRightClampTheirArguments) {
  const CString s(u"hello");
  EXPECT_EQ(s.Mid(1, 3), u"ell");
  EXPECT_EQ(s.Mid(3), u"lo");
  EXPECT_EQ(s.Mid(-2, 3), u"hel");
  EXPECT_EQ(s.Mid(4, 100), u"o");
  EXPECT_EQ(s.Mid(9), u"");
  EXPECT_EQ(s.Mid(1, -1), u"");
  EXPECT_EQ(s.Mid(2, 0x7FFFFFFF), u"llo");
  EXPECT_EQ(s.Left(-1), u"");
  EXPECT_EQ(s.Left(9), u"hello");
  EXPECT_EQ(s.Right(2), u"lo");
  EXPECT_EQ(s.Right(9), u"hello");
  EXPECT_EQ(s.Right(-3), u"");
  EXPECT_EQ(CString(u"123abc").SpanIncluding(u"0123456789"), u"123");
  EXPECT_EQ(CString(u"key=value").SpanExcluding(u"=;"), u"key");
  EXPECT_EQ(CString(u"abc").SpanExcluding(u""), u"abc");
}

TEST(StringTokenize, SkipsEmptyTokensAndEndsWithMinusOne) {
  const CString s(u";;a;bb;;c;");
  int pos = 0;
  std::vector<CString> tokens;
  for (CString t = s.Tokenize(u";", pos); pos != -1; t = s.Tokenize(u";", pos)) tokens.push_back(t);
  EXPECT_EQ(tokens, (std::vector<CString>{u"a", u"bb", u"c"}));
  pos = 0;
  EXPECT_EQ(CString(u";;;").Tokenize(u";", pos), u"");
  EXPECT_EQ(pos, -1);
  pos = 99;
  EXPECT_EQ(s.Tokenize(u";", pos), u"");
  EXPECT_EQ(pos, -1);
  // Without delimiters the rest is one token, and the walk then ends.
  pos = 2;
  EXPECT_EQ(s.Tokenize(u"", pos), u"a;bb;;c;");
  s.Tokenize(u"", pos);
  EXPECT_EQ(pos, -1);
}

TEST(StringTrim, WhitespaceCharactersAndSets) {
  CString s(u" \t\r\nab c \n");
  EXPECT_EQ(s.Trim(), u"ab c");
  EXPECT_EQ(CString(u"xxaxx").TrimLeft(u'x'), u"axx");
  EXPECT_EQ(CString(u"xxaxx").TrimRight(u'x'), u"xxa");
  EXPECT_EQ(CString(u"\\\\path\\/").TrimRight(u"\\/"), u"\\\\path");
  EXPECT_EQ(CString(u"    ").Trim(), u"");
  EXPECT_EQ(CString(u"abc").Trim(u""), u"abc");
  EXPECT_EQ(CString(u"\u00A0a").Trim(), u"\u00A0a");  // only ASCII white space is trimmed
}

TEST(StringEdit, ReplaceRemoveInsertDelete) {
  CString s(u"aaa");
  EXPECT_EQ(s.Replace(u"aa", u"b"), 1);  // left to right, no overlap
  EXPECT_EQ(s, u"ba");
  s = u"x.y.z";
  EXPECT_EQ(s.Replace(u".", u"::"), 2);
  EXPECT_EQ(s, u"x::y::z");
  EXPECT_EQ(s.Replace(u"", u"q"), 0);
  EXPECT_EQ(s.Replace(u"::", static_cast<LPCWSTR>(nullptr)), 2);
  EXPECT_EQ(s, u"xyz");
  EXPECT_EQ(s.Replace(u'y', u'Y'), 1);
  EXPECT_EQ(s.Replace(s.GetString(), s.GetString()), 1);  // aliasing its own text
  EXPECT_EQ(s, u"xYz");
  EXPECT_EQ(s.Remove(u'x'), 1);
  EXPECT_EQ(s.Insert(-5, u'<'), 3);
  EXPECT_EQ(s.Insert(99, u">>"), 5);
  EXPECT_EQ(s, u"<Yz>>");
  EXPECT_EQ(s.Delete(3, 99), 3);
  EXPECT_EQ(s.Delete(-1, 1), 2);
  EXPECT_EQ(s.Delete(5, 1), 2);
  EXPECT_EQ(s.Delete(0, -1), 2);
  EXPECT_EQ(s, u"Yz");
}

TEST(StringCase, UpperLowerAndCaseBlindCompareAcrossScripts) {
  EXPECT_EQ(CString(u"Stra\u00DFe \u0416\u0451").MakeUpper(), u"STRA\u00DFE \u0416\u0401");
  EXPECT_EQ(CString(u"\u0391\u03A3").MakeLower(), u"\u03B1\u03C3");
  EXPECT_EQ(CStringA("\x8A\xE9z").MakeUpper(), "\x8A\xC9Z");
  EXPECT_EQ(CStringA("\x8A\xFF").MakeLower(), "\x9A\xFF");
  EXPECT_EQ(CStringA("\xFF").MakeUpper(), "\x9F");  // y-diaeresis has its capital at 0x9F
  EXPECT_EQ(CString(u"abc").MakeReverse(), u"cba");
  EXPECT_EQ(CString(u"HKEY_Local").CompareNoCase(u"hkey_LOCAL"), 0);
  EXPECT_LT(CString(u"a_").CompareNoCase(u"AB"), 0);  // compared as lower case: '_' < 'b'
  EXPECT_GT(CString(u"abc").CompareNoCase(u"AB"), 0);
  EXPECT_EQ(CStringA("\xC9T\xC9").CompareNoCase("\xE9t\xE9"), 0);
  EXPECT_LT(CString(u"B").Compare(u"a"), 0);  // ordinal
  EXPECT_TRUE(CString(u"a") < CString(u"b"));
  EXPECT_TRUE(u"b" > CString(u"a"));
  EXPECT_TRUE(CString(u"x") == u'x');
  EXPECT_TRUE(CString(u"x") != u"y");
}

TEST(StringBuffer, ReleaseBufferFindsTheTerminatorOrTakesALength) {
  CString s(u"old text");
  WCHAR* p = s.GetBuffer(20);
  p[0] = u'n', p[1] = u'e', p[2] = u'w', p[3] = u'\0';
  s.ReleaseBuffer();
  EXPECT_EQ(s, u"new");
  p = s.GetBufferSetLength(5);
  for (int i = 0; i < 5; ++i) p[i] = u'0' + i;
  s.ReleaseBuffer(2);
  EXPECT_EQ(s, u"01");
  s.GetBuffer(4);
  s.ReleaseBuffer(100);  // clamped to the buffer
  EXPECT_EQ(s.GetLength(), 4);
  EXPECT_EQ(ThrownClass([&] { s.GetBuffer(-1); }), RUNTIME_CLASS(CInvalidArgException));
  s.Preallocate(1000);
  EXPECT_EQ(s.GetLength(), 4);
}

TEST(StringOperators, ConcatenationOfEveryKind) {
  const CString a(u"a");
  EXPECT_EQ(a + u"b", u"ab");
  EXPECT_EQ(u"b" + a, u"ba");
  EXPECT_EQ(a + u'c', u"ac");
  EXPECT_EQ(u'c' + a, u"ca");
  EXPECT_EQ(a + a, u"aa");
  EXPECT_EQ(a + "\x80", u"a\u20AC");
  CString s;
  s += a;
  s += u"b";
  s += u'c';
  s += s;
  EXPECT_EQ(s, u"abcabc");
  s = s.GetString() + 3;  // assigning from its own text
  EXPECT_EQ(s, u"abc");
}

}  // namespace
