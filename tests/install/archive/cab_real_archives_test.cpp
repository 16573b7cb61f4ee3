// Cabinets written by gcab, compressed and not, with folders and UTF-8 names: every file
// extracts as cabextract extracts it; two entries that would land on one file fail it.
#include <gtest/gtest.h>

#include <filesystem>

#include "CabExtractor.h"
#include "archive_testing.h"

namespace zx::test {
namespace {

class CabRealArchiveTest : public ArchiveTest {
 protected:
  // A folder of driver files, one of them named in two scripts.
  std::string DriverFolder() const {
    const std::string folder = WorkFolder("source");
    WriteHostFile(folder + "/driver.inf", "[Version]\r\nSignature=\"$Windows NT$\"\r\n");
    std::string sys;
    for (int i = 0; i < 6000; ++i) sys += static_cast<char>((i * 131) % 251);
    WriteHostFile(folder + "/x64/driver.sys", sys);
    WriteHostFile(folder + "/Ünïcödé/设备.inf", "unicode");
    return folder;
  }

  // Extracts the cabinet at the host path from C:\pkg\<name> into C:\out\<name>.
  static bool Extract(CCabExtractor& extractor, const std::string& hostCabinet, const std::string& name) {
    const std::string cabinet = "C:\\pkg\\" + name;
    WriteHostFile(Host(CString(cabinet.c_str())), ReadHostFile(hostCabinet));
    return extractor.Init() && extractor.ExtractCabinet(("C:\\out\\" + name).c_str(), cabinet.c_str());
  }
};

TEST_F(CabRealArchiveTest, GcabCabinetsExtractAsCabextractExtractsThem) {
  ZX_REQUIRE_TOOL("gcab");
  ZX_REQUIRE_TOOL("cabextract");
  const std::string source = DriverFolder();
  for (const char* kind : {"stored", "mszip"}) {
    SCOPED_TRACE(kind);
    const std::string name = std::string(kind) + ".cab";
    const std::string cabinet = source + "/../" + name;
    ASSERT_TRUE(Shell("cd '" + source + "' && gcab -c " + (std::string(kind) == "mszip" ? "-z " : "") + "'" + cabinet +
                      "' driver.inf x64/driver.sys 'Ünïcödé/设备.inf'"));
    const std::string reference = WorkFolder(std::string("cabextract-") + kind);
    ASSERT_TRUE(Shell("cabextract -q -d '" + reference + "' '" + cabinet + "'"));
    CCabExtractor extractor;
    ASSERT_TRUE(Extract(extractor, cabinet, name)) << extractor.GetErrorCode() << " " << extractor.GetCabinetError();
    const auto expected = Tree(reference);
    EXPECT_EQ(expected.size(), 5u);  // three files, two folders
    EXPECT_EQ(Tree(Host(CString(("C:\\out\\" + name).c_str()))), expected);
  }
}

TEST_F(CabRealArchiveTest, TwoEntriesThatLandOnOneFileFailTheCabinet) {
  ZX_REQUIRE_TOOL("gcab");
  // Two files whose names differ only in case are one file on Windows.
  const std::string source = WorkFolder("case");
  WriteHostFile(source + "/DRIVER.INF", "first");
  WriteHostFile(source + "/driver.inf", "second");
  ASSERT_TRUE(Shell("cd '" + source + "' && gcab -c ../case.cab DRIVER.INF driver.inf"));
  CCabExtractor extractor;
  EXPECT_FALSE(Extract(extractor, source + "/../case.cab", "case.cab"));
  EXPECT_EQ(extractor.GetErrorCode(), CCabExtractor::kErrorTargetFile);
  const auto tree = Tree(Host(_T("C:\\out\\case.cab")));
  ASSERT_EQ(tree.size(), 1u);
  EXPECT_EQ(tree.begin()->second, "first");
}

}  // namespace
}  // namespace zx::test
