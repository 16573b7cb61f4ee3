// Cabinets through the cabinet library: every file below the output folder whatever it is
// called, truncated and foreign files refused, and the argument checks.
#include <gtest/gtest.h>

#include "CabExtractor.h"
#include "archive_testing.h"

namespace zx::test {
namespace {

using CabExtractorTest = ArchiveTest;

TEST_F(CabExtractorTest, HostileNamesLandBelowTheOutputFolder) {
  PlaceFixture("hostile.cab");
  const auto before = FilesBelowRoot();
  CCabExtractor extractor;
  ASSERT_TRUE(extractor.Init());
  EXPECT_TRUE(extractor.ExtractCabinet("C:\\pkg\\hostile\\", "C:\\pkg\\hostile.cab"))
      << extractor.GetErrorCode() << " " << extractor.GetCabinetError();
  const std::set<std::string> expected = {"first/a.txt", "x1.txt", "x2.txt", "abs3.txt",
                                          "x4.txt", "server/share/x5.txt", "x6.txt", "last.txt"};
  EXPECT_EQ(NewFilesBelow(before, _T("C:\\pkg\\hostile")), expected);
  EXPECT_EQ(ReadHostFile(Host(_T("C:\\pkg\\hostile\\first\\a.txt"))), "first entry\n");
  EXPECT_EQ(ReadHostFile(Host(_T("C:\\pkg\\hostile\\x4.txt"))), "escaped through C:\\x4.txt\n");
}

TEST_F(CabExtractorTest, TruncatedCabinetFailsAndLeavesNoHalfFile) {
  const std::string whole = ReadHostFile(std::string(ZX_ARCHIVES_DIR) + "/hostile.cab");
  for (std::size_t keep : {std::size_t{0}, std::size_t{20}, std::size_t{60}, whole.size() - 30}) {
    PlaceFixture("hostile.cab", keep);
    const auto before = FilesBelowRoot();
    CCabExtractor extractor;
    ASSERT_TRUE(extractor.Init());
    EXPECT_FALSE(extractor.ExtractCabinet("C:\\pkg\\out", "C:\\pkg\\hostile.cab")) << keep;
    EXPECT_TRUE(extractor.HasError());
    EXPECT_TRUE(NewFilesBelow(before, _T("C:\\pkg\\out")).empty()) << keep;
  }
}

TEST_F(CabExtractorTest, ForeignFileIsNoCabinet) {
  PlaceFixture("hostile.zip");
  CCabExtractor extractor;
  ASSERT_TRUE(extractor.Init());
  EXPECT_FALSE(extractor.ExtractCabinet("C:\\pkg\\out", "C:\\pkg\\hostile.zip"));
  EXPECT_EQ(extractor.GetCabinetError(), FDIERROR_NOT_A_CABINET);
  EXPECT_FALSE(extractor.ExtractCabinet("C:\\pkg\\out", "C:\\pkg\\missing.cab"));
  EXPECT_EQ(extractor.GetCabinetError(), FDIERROR_CABINET_NOT_FOUND);
}

TEST_F(CabExtractorTest, ArgumentChecks) {
  CCabExtractor extractor;
  ASSERT_TRUE(extractor.Init());
  EXPECT_FALSE(extractor.ExtractCabinet("", "C:\\pkg\\a.cab"));
  EXPECT_EQ(extractor.GetErrorCode(), CCabExtractor::kErrorArguments);
  EXPECT_FALSE(extractor.ExtractCabinet("C:\\out", "a.cab"));
  EXPECT_EQ(extractor.GetErrorCode(), CCabExtractor::kErrorArguments);
  EXPECT_FALSE(extractor.ExtractCabinet(std::string(300, 'x').c_str(), "C:\\pkg\\a.cab"));
  EXPECT_EQ(extractor.GetErrorCode(), CCabExtractor::kErrorOutputTooLong);
}

}  // namespace
}  // namespace zx::test
