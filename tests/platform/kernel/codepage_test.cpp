// Code-page conversions (Windows-1252, IBM 437, UTF-8) and the case mapping of UTF-16 text.
#include <gtest/gtest.h>

#include <string>

#include "errhandlingapi.h"
#include "stringapiset.h"
#include "zx/casefold.h"

namespace {

std::u16string Widen(UINT cp, const std::string& bytes) {
  std::u16string out(bytes.size() * 2 + 2, u'\0');
  int n = MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(),
                              static_cast<int>(out.size()));
  EXPECT_GT(n, 0);
  out.resize(n);
  return out;
}

std::string Narrow(UINT cp, const std::u16string& text, BOOL* usedDefault = nullptr) {
  std::string out(text.size() * 4 + 4, '\0');
  int n = WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), out.data(),
                              static_cast<int>(out.size()), nullptr, usedDefault);
  EXPECT_GT(n, 0);
  out.resize(n);
  return out;
}

TEST(Codepage1252, HighHalfFollowsTheWindowsTable) {
  EXPECT_EQ(Widen(CP_ACP, "\x80\x82\x8A\x99\x9F"), u"\u20AC\u201A\u0160\u2122\u0178");
  // The five undefined bytes become the C1 control of the same value, and come back.
  const std::string undefinedBytes = "\x81\x8D\x8F\x90\x9D";
  EXPECT_EQ(Widen(1252, undefinedBytes), u"\u0081\u008D\u008F\u0090\u009D");
  EXPECT_EQ(Narrow(CP_THREAD_ACP, u"\u0081\u008D\u008F\u0090\u009D"), undefinedBytes);
  EXPECT_EQ(Widen(CP_OEMCP, "A\xA0\xE9\xFF"), u"A\u00A0\u00E9\u00FF");
}

TEST(Codepage1252, EveryByteRoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  BOOL usedDefault = TRUE;
  EXPECT_EQ(Narrow(CP_ACP, Widen(CP_ACP, all), &usedDefault), all);
  EXPECT_FALSE(usedDefault);
}

TEST(Codepage1252, UnmappableUnitsBecomeTheDefaultChar) {
  BOOL usedDefault = FALSE;
  EXPECT_EQ(Narrow(CP_ACP, u"a\u0416\u20ACb\u0080", &usedDefault), "a?\x80" "b?");
  EXPECT_TRUE(usedDefault);
  char out[4] = {};
  usedDefault = FALSE;
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u4E2D", 1, out, 4, "#", &usedDefault), 1);
  EXPECT_EQ(out[0], '#');
  EXPECT_TRUE(usedDefault);
}

TEST(Codepage437, DosBytesFollowTheIbmTableAndRoundTrip) {
  // Letters, box drawing, Greek and the no-break space of the upper half.
  EXPECT_EQ(Widen(437, "\x80\x82\x9E\xB3\xC9\xE1\xE3\xFF"), u"\u00C7\u00E9\u20A7\u2502\u2554\u00DF\u03C0\u00A0");
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  BOOL usedDefault = TRUE;
  EXPECT_EQ(Narrow(437, Widen(437, all), &usedDefault), all);
  EXPECT_FALSE(usedDefault);
  EXPECT_EQ(Narrow(437, u"\u20AC", &usedDefault), "?");
  EXPECT_TRUE(usedDefault);
}

TEST(CodepageUtf8, SurrogatePairsAndMultiByteForms) {
  const std::string utf8 = "A\xC3\xA9\xD0\x96\xE4\xB8\xAD\xF0\x9F\x98\x80";
  const std::u16string wide = u"A\u00E9\u0416\u4E2D\U0001F600";
  EXPECT_EQ(Widen(CP_UTF8, utf8), wide);
  EXPECT_EQ(Narrow(CP_UTF8, wide), utf8);
}

TEST(CodepageUtf8, MalformedInputIsReplacedOrRejected) {
  // Truncated sequence, overlong form, encoded surrogate, stray continuation byte.
  EXPECT_EQ(Widen(CP_UTF8, "a\xE4\xB8"), u"a\uFFFD");
  EXPECT_EQ(Widen(CP_UTF8, "\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Widen(CP_UTF8, "\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Widen(CP_UTF8, "\x80z"), u"\uFFFDz");
  WCHAR out[8];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", 2, out, 8), 0);
  EXPECT_EQ(GetLastError(), 1113u);
  // A lone surrogate becomes U+FFFD.
  EXPECT_EQ(Narrow(CP_UTF8, std::u16string(1, char16_t{0xD800}) + u"x"), "\xEF\xBF\xBDx");
}

TEST(CodepageContract, MinusOneCountsTheTerminator) {
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0), 4);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u4E2D", -1, nullptr, 0, nullptr, nullptr), 4);
  WCHAR wide[4] = {1, 1, 1, 1};
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 4), 4);
  EXPECT_EQ(std::u16string(wide), u"abc");
}

TEST(CodepageContract, SmallBufferAndBadArgumentsFail) {
  WCHAR wide[2];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 3, wide, 2), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  char narrow[3];
  // A surrogate pair needs four bytes; three are not enough.
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\U0001F600", 2, narrow, 3, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  for (int bad : {0, -2}) {
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", bad, wide, 2), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, 1, wide, 2), 0);
  EXPECT_EQ(MultiByteToWideChar(850, 0, "a", 1, wide, 2), 0);
  BOOL used;
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, narrow, 3, nullptr, &used), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(CaseFold, LettersOfEachScriptMapBothWays) {
  const std::u16string upper = u"AZ\u00C0\u00DE\u0100\u0139\u0178\u0391\u03A3\u0386\u0401\u0416\u042F\u0462\u1E00\uFF21";
  const std::u16string lower = u"az\u00E0\u00FE\u0101\u013A\u00FF\u03B1\u03C3\u03AC\u0451\u0436\u044F\u0463\u1E01\uFF41";
  for (std::size_t i = 0; i < upper.size(); ++i) {
    EXPECT_EQ(zx::ToLower(upper[i]), lower[i]) << i;
    EXPECT_EQ(zx::ToUpper(lower[i]), upper[i]) << i;
  }
}

TEST(CaseFold, NonLettersAndSpecialCasesStayPut) {
  for (char16_t c : {u'1', u'_', u'\u00D7', u'\u00F7', u'\u00DF', u'\u0130', u'\u0131',
                     u'\u0138', u'\u4E2D', char16_t{0xD800}})
    EXPECT_EQ(zx::FoldCase(c), c) << static_cast<int>(c);
  EXPECT_EQ(zx::FoldCase(u'\u03C2'), u'\u03C3');  // final sigma folds with sigma
}

TEST(CaseFold, LowerAsciiFoldsOnlyCapitalLatinLetters) {
  struct Case {
    char16_t in;
    char16_t out;
  };
  // The letters' edges and their neighbours, and letters beyond ASCII, which stay put.
  constexpr Case kCases[] = {
      {u'A', u'a'}, {u'M', u'm'}, {u'Z', u'z'}, {u'@', u'@'}, {u'[', u'['}, {u'`', u'`'}, {u'a', u'a'},
      {u'z', u'z'}, {u'{', u'{'}, {u'0', u'0'}, {u'\u00C0', u'\u00C0'}, {u'\u0141', u'\u0141'}, {u'\uFF21', u'\uFF21'},
  };
  for (const Case& c : kCases) EXPECT_EQ(zx::LowerAscii(c.in), c.out) << static_cast<int>(c.in);
}

TEST(CaseFold, CompareOrdersAsLowerCase) {
  EXPECT_EQ(zx::CompareNoCase(u"Software\\Microsoft", u"SOFTWARE\\MICROSOFT"), 0);
  EXPECT_TRUE(zx::EqualNoCase(u"\u041F\u0440\u0438\u0432\u0435\u0442", u"\u043F\u0420\u0418\u0412\u0415\u0422"));
  EXPECT_LT(zx::CompareNoCase(u"_", u"A"), 0);
  EXPECT_LT(zx::CompareNoCase(u"abc", u"ABCD"), 0);
  EXPECT_GT(zx::CompareNoCase(u"b", u"A"), 0);
  EXPECT_EQ(zx::CompareNoCase(nullptr, u""), 0);
  std::u16string s = u"Stra\u00DFe \u0152uvre";
  zx::MakeUpper(s.data(), s.size());
  EXPECT_EQ(s, u"STRA\u00DFE \u0152UVRE");
  zx::MakeLower(s.data(), s.size());
  EXPECT_EQ(s, u"stra\u00DFe \u0153uvre");
}

}  // namespace
