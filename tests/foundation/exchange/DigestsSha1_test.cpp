// SHA-1: the FIPS 180 examples through CSHA1, its three text forms, copies, and the string
// digests of CCalcSHA1.
#include <gtest/gtest.h>

#include <string>

#include "DigestsSha1.h"
#include "cstring_printer.h"

namespace {

std::u16string Report(CSHA1& sha, const std::string& bytes, CSHA1::REPORT_TYPE type = CSHA1::REPORT_HEX_SHORT) {
  sha.Reset();
  sha.Update(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
  sha.Final();
  std::u16string text;
  EXPECT_TRUE(sha.ReportHashStl(text, type));
  return text;
}

std::u16string Sha1Of(const std::string& bytes) {
  CSHA1 sha;
  return Report(sha, bytes);
}

TEST(Sha1, MatchesTheFips180Examples) {
  EXPECT_EQ(Sha1Of(""), u"DA39A3EE5E6B4B0D3255BFEF95601890AFD80709");
  EXPECT_EQ(Sha1Of("abc"), u"A9993E364706816ABA3E25717850C26C9CD0D89D");
  EXPECT_EQ(Sha1Of("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            u"84983E441C3BD26EBAAE4AA1F95129E5E54670F1");
}

TEST(Sha1, AMillionLettersInPiecesOfEverySize) {
  const std::string letters(1000, 'a');
  CSHA1 sha;
  // Pieces of 1 to 127 bytes cross every offset inside a block.
  std::size_t fed = 0;
  for (UINT piece = 1; fed < 1000000; piece = piece % 127 + 1) {
    const UINT size = static_cast<UINT>(std::min<std::size_t>(piece, 1000000 - fed));
    sha.Update(reinterpret_cast<const BYTE*>(letters.data()), size);
    fed += size;
  }
  sha.Final();
  std::u16string text;
  ASSERT_TRUE(sha.ReportHashStl(text, CSHA1::REPORT_HEX_SHORT));
  EXPECT_EQ(text, u"34AA973CD4C4DAA4F61EEB2BDBAD27316534016F");
  EXPECT_EQ(Sha1Of(std::string(1000000, 'a')), u"34AA973CD4C4DAA4F61EEB2BDBAD27316534016F");
}

TEST(Sha1, LengthsAroundThePaddingBoundaries) {
  EXPECT_EQ(Sha1Of(std::string(55, 'a')), u"C1C8BBDC22796E28C0E15163D20899B65621D65A");
  EXPECT_EQ(Sha1Of(std::string(56, 'a')), u"C2DB330F6083854C99D4B5BFB6E8F29F201BE699");
  EXPECT_EQ(Sha1Of(std::string(63, 'a')), u"03F09F5B158A7A8CDAD920BDDC29B81C18A551F5");
  EXPECT_EQ(Sha1Of(std::string(64, 'a')), u"0098BA824B5C16427BD7A1122A5A442A25EC644D");
  EXPECT_EQ(Sha1Of(std::string(65, 'a')), u"11655326C708D70319BE2610E8A57D9A5B959D3B");
  EXPECT_EQ(Sha1Of(std::string(119, 'a')), u"EE971065AAA017E0632A8CA6C77BB3BF8B1DFC56");
  EXPECT_EQ(Sha1Of(std::string(120, 'a')), u"F34C1488385346A55709BA056DDD08280DD4C6D6");
}

TEST(Sha1Report, TheThreeTextForms) {
  CSHA1 sha;
  EXPECT_EQ(Report(sha, "abc", CSHA1::REPORT_HEX),
            u"A9 99 3E 36 47 06 81 6A BA 3E 25 71 78 50 C2 6C 9C D0 D8 9D");
  EXPECT_EQ(Report(sha, "abc", CSHA1::REPORT_HEX).size(), 59u);
  EXPECT_EQ(Report(sha, "abc", CSHA1::REPORT_DIGIT),
            u"169 153 62 54 71 6 129 106 186 62 37 113 120 80 194 108 156 208 216 157");
  EXPECT_EQ(Report(sha, "abc", CSHA1::REPORT_HEX_SHORT), u"A9993E364706816ABA3E25717850C26C9CD0D89D");
}

TEST(Sha1Report, IntoABufferWithItsTerminator) {
  CSHA1 sha;
  Report(sha, "abc");
  TCHAR buffer[CSHA1::REPORT_BUFFER_CHARS];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  ASSERT_TRUE(sha.ReportHash(buffer, CSHA1::REPORT_HEX));
  EXPECT_EQ(std::u16string(buffer), u"A9 99 3E 36 47 06 81 6A BA 3E 25 71 78 50 C2 6C 9C D0 D8 9D");
  EXPECT_EQ(buffer[60], u'#');
  ASSERT_TRUE(sha.ReportHash(buffer, CSHA1::REPORT_HEX_SHORT));
  EXPECT_EQ(std::u16string(buffer), u"A9993E364706816ABA3E25717850C26C9CD0D89D");
}

TEST(Sha1Report, UnknownFormsAndAbsentBuffersAnswerFalse) {
  CSHA1 sha;
  Report(sha, "abc");
  TCHAR buffer[CSHA1::REPORT_BUFFER_CHARS] = {u'x', 0};
  EXPECT_FALSE(sha.ReportHash(buffer, static_cast<CSHA1::REPORT_TYPE>(3)));
  EXPECT_EQ(std::u16string(buffer), u"x");
  EXPECT_FALSE(sha.ReportHash(nullptr, CSHA1::REPORT_HEX));
  std::u16string kept = u"kept";
  EXPECT_FALSE(sha.ReportHashStl(kept, static_cast<CSHA1::REPORT_TYPE>(3)));
  EXPECT_EQ(kept, u"kept");
  EXPECT_FALSE(sha.GetHash(nullptr));
}

TEST(Sha1, GetHashGivesTheTwentyBytes) {
  CSHA1 sha;
  Report(sha, "abc");
  BYTE digest[20] = {};
  ASSERT_TRUE(sha.GetHash(digest));
  EXPECT_EQ(digest[0], 0xA9);
  EXPECT_EQ(digest[19], 0x9D);
}

TEST(Sha1, ACopyContinuesFromTheSameState) {
  const std::string head = "abcdbcdecdefdefgefghfghighijhijkijkljklm";  // not a whole block
  const std::string tail = "klmnlmnomnopnopq";
  CSHA1 original;
  original.Update(reinterpret_cast<const BYTE*>(head.data()), static_cast<UINT>(head.size()));
  CSHA1 assigned;
  assigned = original;
  CSHA1 constructed(original);
  original.Update(reinterpret_cast<const BYTE*>("other"), 5);
  for (CSHA1* sha : {&assigned, &constructed}) {
    sha->Update(reinterpret_cast<const BYTE*>(tail.data()), static_cast<UINT>(tail.size()));
    sha->Final();
    std::u16string text;
    ASSERT_TRUE(sha->ReportHashStl(text, CSHA1::REPORT_HEX_SHORT));
    EXPECT_EQ(text, u"84983E441C3BD26EBAAE4AA1F95129E5E54670F1");
  }
}

TEST(CalcSha1, HashStringDigestsTheUtf16Units) {
  EXPECT_EQ(CCalcSHA1::HashString(_T("abc")), CString(_T("9F04F41A848514162050E3D68C1A7ABB441DC2B5")));
  EXPECT_EQ(CCalcSHA1::HashString(_T("")), CString(_T("DA39A3EE5E6B4B0D3255BFEF95601890AFD80709")));
  EXPECT_EQ(CCalcSHA1::HashString(nullptr), CString(_T("DA39A3EE5E6B4B0D3255BFEF95601890AFD80709")));
}

TEST(CalcSha1, HashStringStopsAfter1024Units) {
  CString text;
  for (int i = 0; i < 200; ++i) text += _T("0123456789");
  ASSERT_EQ(text.GetLength(), 2000);
  EXPECT_EQ(CCalcSHA1::HashString(text), CCalcSHA1::HashString(text.Left(1024)));
  EXPECT_EQ(CCalcSHA1::HashString(text), CString(_T("48E8A791E327D93B936BA00B4E81734ADBF454DA")));
  EXPECT_NE(CCalcSHA1::HashString(text.Left(1023)), CCalcSHA1::HashString(text.Left(1024)));
}

}  // namespace
