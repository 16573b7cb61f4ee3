// RAR archives through the RAR library: the listing with packed sizes, every entry below the
// destination whatever it is called, links refused, damaged, truncated and short archives
// refused; multi-volume sets of RAR 4 and RAR 5 (written by tests/data/archives/
// make_rar_sets.py) extracted whole, as unar extracts them, or not at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

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

TEST_F(RarArchiveTest, HostileNamesLandBelowTheDestinationAndTheLinkIsSkipped) {
  const CString path = PlaceFixture("hostile.rar");
  const auto before = FilesBelowRoot();
  CRarArchive rar;
  ASSERT_TRUE(rar.LoadLibrary());
  ASSERT_TRUE(rar.ListEntries(path));
  rar.SetDestination(_T("C:\\pkg\\hostile"));
  // The link is passed over and named; the entries before and after it land below the folder.
  EXPECT_TRUE(rar.ExtractAll()) << CStringA(rar.GetErrorText()).GetString();
  EXPECT_EQ(rar.GetSkippedLinks(), std::vector<CString>{CString(_T("link7"))});
  const auto written = NewFilesBelow(before, _T("C:\\pkg\\hostile"));
  for (const std::string& file : written) EXPECT_EQ(file.rfind("OUTSIDE:", 0), std::string::npos) << file;
  const std::set<std::string> expected = {"first/a.txt", "x1.txt", "x2.txt", "abs3.txt", "x4.txt",
                                          "server/share/x5.txt", "x6.txt", "link7/x8.txt", "last.txt"};
  EXPECT_EQ(written, expected);
  EXPECT_FALSE(std::filesystem::is_symlink(Host(_T("C:\\pkg\\hostile\\link7"))));
}

struct VolumeSet {
  const char* first;
  std::vector<const char*> more;
};

const VolumeSet kSets[] = {
    {"set4.rar", {"set4.r00", "set4.r01"}},                          // RAR 4, old naming
    {"set4n.part1.rar", {"set4n.part2.rar", "set4n.part3.rar"}},     // RAR 4, new naming
    {"set5.part1.rar", {"set5.part2.rar", "set5.part3.rar"}},        // RAR 5
    {"set5s.part01.rar", {"set5s.part02.rar", "set5s.part03.rar"}},  // RAR 5, solid
};

TEST_F(RarArchiveTest, VolumeSetsListTheirPackedSizesAndExtractAsUnarExtractsThem) {
  for (const VolumeSet& set : kSets) {
    SCOPED_TRACE(set.first);
    const CString first = PlaceFixture(set.first);
    for (const char* volume : set.more) PlaceFixture(volume);
    CRarArchive rar;
    ASSERT_TRUE(rar.LoadLibrary());
    ASSERT_TRUE(rar.ListEntries(first)) << CStringA(rar.GetErrorText()).GetString();
    // The entry split over three volumes is one entry, packed in all three parts.
    ASSERT_EQ(rar.GetEntries().size(), 4u);
    EXPECT_EQ(rar.GetEntries()[1].packedSize, 1200u);
    EXPECT_EQ(rar.GetEntries()[1].unpackedSize, 1200u);
    EXPECT_EQ(rar.GetEntries()[2].name, CString(_T("\u65E5\u672C\u8A9E/\u30C9\u30E9\u30A4\u30D0.inf")));
    const CString folder = CString(_T("C:\\out\\")) + CString(set.first);
    rar.SetDestination(folder);
    ASSERT_TRUE(rar.ExtractAll()) << CStringA(rar.GetErrorText()).GetString();
    if (!HaveTool("unar")) continue;
    const std::string reference = WorkFolder(set.first);
    ASSERT_TRUE(Shell("unar -q -D -o '" + reference + "' '" + Host(first) + "'"));
    EXPECT_EQ(Tree(Host(folder)), Tree(reference));
  }
}

TEST_F(RarArchiveTest, ASetWithoutItsLastVolumeFailsAndLeavesNoPartOfTheSplitEntry) {
  for (const VolumeSet& set : kSets) {
    SCOPED_TRACE(set.first);
    const CString first = PlaceFixture(set.first);
    PlaceFixture(set.more[0]);
    CRarArchive rar;
    ASSERT_TRUE(rar.LoadLibrary());
    rar.SetDestination(_T("C:\\out\\cut"));
    EXPECT_FALSE(rar.ListEntries(first));
    EXPECT_FALSE(rar.ExtractAll());
    EXPECT_FALSE(std::filesystem::exists(Host(_T("C:\\out\\cut\\x64\\driver.sys"))));
    std::filesystem::remove_all(Host(_T("C:\\pkg")));
  }
}

TEST_F(RarArchiveTest, ASolidRar4SetTheLibraryCannotReadFailsWithoutSuccess) {
  const CString first = PlaceFixture("solid4.part1.rar");
  PlaceFixture("solid4.part2.rar");
  PlaceFixture("solid4.part3.rar");
  CRarArchive rar;
  ASSERT_TRUE(rar.LoadLibrary());
  EXPECT_FALSE(rar.ListEntries(first));
  rar.SetDestination(_T("C:\\out\\solid"));
  EXPECT_FALSE(rar.ExtractAll());
  EXPECT_FALSE(std::filesystem::exists(Host(_T("C:\\out\\solid\\x64\\driver.sys"))));
}

TEST_F(RarArchiveTest, NamesOfMsDosTextAreReadInItsCodePage) {
  CRarArchive rar;
  ASSERT_TRUE(rar.LoadLibrary());
  ASSERT_TRUE(rar.ListEntries(PlaceFixture("oem.rar")));
  ASSERT_EQ(rar.GetEntries().size(), 2u);
  EXPECT_EQ(rar.GetEntries()[0].name, CString(_T("caf\u00E9.inf")));
  rar.SetDestination(_T("C:\\out\\oem"));
  ASSERT_TRUE(rar.ExtractAll());
  const std::map<std::string, std::string> expected = {
      {"caf\xC3\xA9.inf", ReadHostFile(Host(_T("C:\\out\\oem\\caf\u00E9.inf")))},
      {"\xC3\x91/", ""},
      {"\xC3\x91/x64/", ""},
      {"\xC3\x91/x64/\xC3\xA4.sys", ReadHostFile(Host(_T("C:\\out\\oem\\caf\u00E9.inf")))},
  };
  EXPECT_EQ(Tree(Host(_T("C:\\out\\oem"))), expected);
  EXPECT_NE(expected.begin()->second.find("[Version]"), std::string::npos);
}

TEST_F(RarArchiveTest, AnEntryShorterThanItsHeaderSaysFails) {
  // The entry's header says 200 bytes; 120 follow, and their CRC matches them.
  CRarArchive rar;
  ASSERT_TRUE(rar.LoadLibrary());
  ASSERT_TRUE(rar.ListEntries(PlaceFixture("short.rar")));
  ASSERT_EQ(rar.GetEntries().size(), 1u);
  EXPECT_EQ(rar.GetEntries()[0].packedSize, 120u);
  EXPECT_EQ(rar.GetEntries()[0].unpackedSize, 200u);
  rar.SetDestination(_T("C:\\out\\short"));
  EXPECT_FALSE(rar.ExtractAll());
  EXPECT_FALSE(std::filesystem::exists(Host(_T("C:\\out\\short\\short.sys"))));
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
