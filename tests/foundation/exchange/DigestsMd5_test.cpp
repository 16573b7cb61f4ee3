// MD5 text of memory: the RFC 1321 test suite, padding boundaries and the text form.
#include <gtest/gtest.h>

#include <string>

#include "DigestsMd5.h"
#include "cstring_printer.h"

namespace {

CString Md5Of(const std::string& bytes) {
  return CMD5Checksum::DigestHex(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
}

TEST(Md5Text, MatchesTheRfc1321TestSuite) {
  EXPECT_EQ(Md5Of(""), CString(_T("d41d8cd98f00b204e9800998ecf8427e")));
  EXPECT_EQ(Md5Of("a"), CString(_T("0cc175b9c0f1b6a831c399e269772661")));
  EXPECT_EQ(Md5Of("abc"), CString(_T("900150983cd24fb0d6963f7d28e17f72")));
  EXPECT_EQ(Md5Of("message digest"), CString(_T("f96b697d7cb7938d525a2f31aaf161d0")));
  EXPECT_EQ(Md5Of("abcdefghijklmnopqrstuvwxyz"), CString(_T("c3fcd3d76192e4007dfb496cca67e13b")));
  EXPECT_EQ(Md5Of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            CString(_T("d174ab98d277d9f5a5611c2c9f419d9f")));
  std::string digits;
  for (int i = 0; i < 8; ++i) digits += "1234567890";
  EXPECT_EQ(Md5Of(digits), CString(_T("57edf4a22be3c955ac49da2e2107b67a")));
}

TEST(Md5Text, LengthsAroundThePaddingBoundaries) {
  const struct {
    std::size_t length;
    LPCTSTR digest;
  } cases[] = {{55, _T("ef1772b6dff9a122358552954ad0df65")},  {56, _T("3b0c8ac703f828b04c6c197006d17218")},
               {63, _T("b06521f39153d618550606be297466d5")},  {64, _T("014842d480b571495a4a0363793f7367")},
               {65, _T("c743a45e0d2e6a95cb859adae0248435")},  {119, _T("8a7bd0732ed6a28ce75f6dabc90e1613")},
               {120, _T("5f61c0ccad4cac44c75ff505e1f1e537")}, {128, _T("e510683b3f5ffe4093d021808bc6ff70")}};
  for (const auto& c : cases) EXPECT_EQ(Md5Of(std::string(c.length, 'a')), CString(c.digest)) << c.length;
}

TEST(Md5Text, IsAlways32LowerCaseDigits) {
  std::string bytes;
  for (int i = 0; i < 300; ++i) {
    const CString text = Md5Of(bytes);
    ASSERT_EQ(text.GetLength(), 32);
    EXPECT_EQ(text.SpanIncluding(_T("0123456789abcdef")), text);
    bytes += static_cast<char>(i * 37);
  }
}

TEST(Md5Text, AnAbsentBufferIsNoInputOnlyWhenItIsEmpty) {
  EXPECT_EQ(CMD5Checksum::DigestHex(nullptr, 0), CString(_T("d41d8cd98f00b204e9800998ecf8427e")));
  EXPECT_TRUE(CMD5Checksum::DigestHex(nullptr, 5).IsEmpty());
}

}  // namespace
