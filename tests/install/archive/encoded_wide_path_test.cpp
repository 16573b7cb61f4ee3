// Encoded wide paths: their decoding, and cabinets extracted into and out of folders whose
// names only an encoded path can carry; the cabinet name that may not be encoded, and the
// systems without wide file functions.
#include <gtest/gtest.h>

#include <filesystem>

#include "CabExtractor.h"
#include "EncodedWidePath.h"
#include "archive_testing.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

TEST(EncodedWidePath, Decodes) {
  struct Case {
    const char* narrow;
    const char16_t* wide;
  };
  const Case cases[] = {
      {"C:\\plain\\file.cab", u"C:\\plain\\file.cab"},
      {"C:\\<BBAEMQ>\\x", u"C:\\\u0410\u0431\\x"},
      {"C:\\<BB8EQAQ4BDIENQRC>", u"C:\\\u041f\u0440\u0438\u0432\u0435\u0442"},
      {"<ZeVnLA>.txt", u"\u65e5\u672c.txt"},
      {"<A6k-mega", u"\u03a9-mega"},          // a run ended by "-" keeps it
      {"a<>b", u"a<b"},                        // "<>" is a literal "<"
      {"<AOk>\xe9", u"\u00e9\u00e9"},          // outside the runs: Windows-1252
      {"<>>", u"<>"},
      {"<", u""},
  };
  for (const Case& c : cases) {
    CString wide;
    EXPECT_TRUE(DecodeEncodedWidePath(c.narrow, wide)) << c.narrow;
    EXPECT_EQ(wide, CString(c.wide)) << c.narrow;
  }
  EXPECT_TRUE(IsEncodedWidePath("C:\\<AOk>"));
  EXPECT_FALSE(IsEncodedWidePath("C:\\plain"));
  EXPECT_FALSE(IsEncodedWidePath(nullptr));
}

TEST(EncodedWidePath, RefusesBrokenRuns) {
  for (const char* broken : {"<AOl>", "<AAA>", "C:\\<AAAA>x", "<B>"}) {
    CString wide = _T("left over");
    EXPECT_FALSE(DecodeEncodedWidePath(broken, wide)) << broken;
    EXPECT_TRUE(wide.IsEmpty()) << broken;
  }
}

using EncodedCabinet = ArchiveTest;

TEST_F(EncodedCabinet, ExtractsIntoAndOutOfWideFolders) {
  const std::string hostile = ReadHostFile(std::string(ZX_ARCHIVES_DIR) + "/hostile.cab");
  std::string source;
  ASSERT_TRUE(path::WindowsToHost(u"C:\\\u65e5\u672c", source));
  WriteHostFile(source + "/hostile.cab", hostile);
  CCabExtractor extractor;
  ASSERT_TRUE(extractor.Init());
  ASSERT_TRUE(extractor.ExtractCabinet("C:\\out\\<BBAEMQ>", "C:\\<ZeVnLA>\\hostile.cab"))
      << extractor.GetErrorCode() << " " << extractor.GetCabinetError();
  EXPECT_EQ(ReadHostFile(Host(u"C:\\out\\\u0410\u0431\\first\\a.txt")), "first entry\n");
}

TEST_F(EncodedCabinet, TheCabinetNameIsNeverEncoded) {
  PlaceFixture("hostile.cab");
  CCabExtractor extractor;
  ASSERT_TRUE(extractor.Init());
  EXPECT_FALSE(extractor.ExtractCabinet("C:\\out", "C:\\pkg\\<ZeVnLA>.cab"));
  EXPECT_EQ(extractor.GetErrorCode(), CCabExtractor::kErrorEncodedName);
  EXPECT_FALSE(extractor.ExtractCabinet("C:\\out\\<AOl>", "C:\\pkg\\hostile.cab"));
  EXPECT_EQ(extractor.GetErrorCode(), CCabExtractor::kErrorArguments);
  EXPECT_FALSE(std::filesystem::exists(Host(u"C:\\out")));
}

TEST_F(EncodedCabinet, SystemsWithoutWideFileFunctionsRefuseEncodedFolders) {
  PlaceFixture("hostile.cab");
  const std::u16string ini = path::HostToWindows(root() + "/machine.ini");
  ASSERT_TRUE(WritePrivateProfileStringW(u"Windows", u"Platform", u"1", ini.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(u"Windows", u"Major", u"4", ini.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(u"Windows", u"Minor", u"90", ini.c_str()));
  CCabExtractor extractor;
  ASSERT_TRUE(extractor.Init());
  EXPECT_FALSE(extractor.ExtractCabinet("C:\\out\\<BBAEMQ>", "C:\\pkg\\hostile.cab"));
  EXPECT_EQ(extractor.GetErrorCode(), CCabExtractor::kErrorEncodedNotNt);
  EXPECT_FALSE(extractor.ExtractCabinet("C:\\out", "C:\\<ZeVnLA>\\hostile.cab"));
  EXPECT_EQ(extractor.GetErrorCode(), CCabExtractor::kErrorEncodedNotNt);
  EXPECT_TRUE(extractor.ExtractCabinet("C:\\out", "C:\\pkg\\hostile.cab")) << "plain paths still work";
}

}  // namespace
}  // namespace zx::test
