// RAR archives through the RAR library: the listing, every entry below the destination
// whatever it is called, links never made, damaged and truncated archives refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "RarArchive.h"
#include "archive_testing.h"

namespace zx::test {
namespace {

using RarArchiveTest = ArchiveTest;

TEST_F(RarArchiveTest, ListsTheEntries) {
  CRarArchive rar;
  ASSERT_TRUE(rar.LoadLibrary());
  ASSERT_TRUE(rar.ListEntries(PlaceFixture("hostile.rar")));
  ASSERT_EQ(rar.GetEntries().size(), 10u);
  EXPECT_EQ(rar.GetEntries().back().name, CString(_T("last.txt")));
  EXPECT_EQ(rar.GetEntries().back().unpackedSize, 11u);
}

TEST_F(RarArchiveTest, HostileNamesLandBelowTheDestination) {
  const CString path = PlaceFixture("hostile.rar");
  const auto before = FilesBelowRoot();
  CRarArchive rar;
  ASSERT_TRUE(rar.LoadLibrary());
  ASSERT_TRUE(rar.ListEntries(path));
  rar.SetDestination(_T("C:\\pkg\\hostile"));
  EXPECT_TRUE(rar.ExtractAll()) << CStringA(rar.GetErrorText()).GetString();
  const auto written = NewFilesBelow(before, _T("C:\\pkg\\hostile"));
  for (const std::string& file : written) EXPECT_EQ(file.rfind("OUTSIDE:", 0), std::string::npos) << file;
  EXPECT_EQ(written.count("first/a.txt"), 1u);
  EXPECT_EQ(written.count("last.txt"), 1u);
  EXPECT_EQ(written.count("x1.txt"), 1u);
  EXPECT_EQ(written.count("x6.txt"), 1u);
  EXPECT_EQ(written.count("link7/x8.txt"), 1u);
  EXPECT_FALSE(std::filesystem::is_symlink(Host(_T("C:\\pkg\\hostile\\link7"))));
  EXPECT_EQ(ReadHostFile(Host(_T("C:\\pkg\\hostile\\last.txt"))), "last entry\n");
}

TEST_F(RarArchiveTest, TruncatedArchiveFailsTheListing) {
  const std::string whole = ReadHostFile(std::string(ZX_ARCHIVES_DIR) + "/hostile.rar");
  for (std::size_t keep : {std::size_t{0}, std::size_t{5}, std::size_t{30}, std::size_t{200}, whole.size() - 10}) {
    CRarArchive rar;
    ASSERT_TRUE(rar.LoadLibrary());
    EXPECT_FALSE(rar.ListEntries(PlaceFixture("hostile.rar", keep))) << keep;
    EXPECT_FALSE(rar.GetErrorText().IsEmpty());
  }
}

TEST_F(RarArchiveTest, DamagedHeaderFailsListingAndExtraction) {
  const CString path = PlaceFixture("hostile.rar");
  std::string bytes = ReadHostFile(Host(path));
  const std::size_t at = bytes.find("last.txt");
  ASSERT_NE(at, std::string::npos);
  bytes[at] = 'L';  // the header's CRC no longer matches
  WriteHostFile(Host(path), bytes);
  CRarArchive rar;
  ASSERT_TRUE(rar.LoadLibrary());
  rar.SetDestination(_T("C:\\pkg\\out"));
  EXPECT_FALSE(rar.ListEntries(path));
  EXPECT_FALSE(rar.ExtractAll());
  EXPECT_FALSE(std::filesystem::exists(Host(_T("C:\\pkg\\out\\Last.txt"))));
}

TEST_F(RarArchiveTest, MissingArchive) {
  CRarArchive rar;
  ASSERT_TRUE(rar.LoadLibrary());
  EXPECT_FALSE(rar.ListEntries(_T("C:\\pkg\\missing.rar")));
  EXPECT_EQ(rar.GetErrorText(), CString(_T("Open Error: Failed to open RAR file")));
}

}  // namespace
}  // namespace zx::test
