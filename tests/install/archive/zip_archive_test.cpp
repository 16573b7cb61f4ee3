// The zip extraction wrapper: describing entries, extracting below the base folder whatever
// the entries are called, damaged and truncated archives, and the handle checks.
#include <gtest/gtest.h>

#include <filesystem>

#include "ZipArchive.h"
#include "archive_testing.h"

namespace zx::test {
namespace {

class ZipArchiveTest : public ArchiveTest {
 protected:
  // Extracts every item as the install engine does; answers the first failure (0 if none).
  static DWORD ExtractAll(HZIP zip, LPCTSTR folder) {
    ZipItemInfo archive;
    if (ZipArchiveGetItem(zip, &archive, -1) != 0) return ZipLastError();
    DWORD firstFailure = 0;
    for (int i = 0; i < archive.index; ++i) {
      ZipItemInfo item;
      ZipArchiveGetItem(zip, &item, i);
      ZipArchiveSetBaseFolder(zip, folder);
      const DWORD result = ZipArchiveExtractItem(zip, item.name, i);
      if (result != 0 && firstFailure == 0) firstFailure = result;
    }
    return firstFailure;
  }
};

TEST_F(ZipArchiveTest, HostileNamesLandBelowTheBaseFolder) {
  const CString path = PlaceFixture("hostile.zip");
  const auto before = FilesBelowRoot();
  HZIP zip = ZipArchiveOpen(path);
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(ExtractAll(zip, _T("C:\\pkg\\hostile")), 0u);
  EXPECT_EQ(ZipArchiveClose(zip), 0u);
  const std::set<std::string> expected = {"first/a.txt", "x1.txt", "x2.txt", "abs3.txt", "x4.txt",
                                          "server/share/x5.txt", "x6.txt", "link7/x8.txt", "last.txt"};
  EXPECT_EQ(NewFilesBelow(before, _T("C:\\pkg\\hostile")), expected);
  EXPECT_EQ(ReadHostFile(Host(_T("C:\\pkg\\hostile\\last.txt"))), "last entry\n");
  // The link entry made no link: link7 is a plain folder.
  EXPECT_FALSE(std::filesystem::is_symlink(Host(_T("C:\\pkg\\hostile\\link7"))));
}

TEST_F(ZipArchiveTest, DescribesEntriesAndTheArchive) {
  HZIP zip = ZipArchiveOpen(PlaceFixture("hostile.zip"));
  ASSERT_NE(zip, nullptr);
  ZipItemInfo item;
  ASSERT_EQ(ZipArchiveGetItem(zip, &item, -1), 0u);
  EXPECT_EQ(item.index, 10);
  EXPECT_EQ(item.name[0], 0);
  ASSERT_EQ(ZipArchiveGetItem(zip, &item, 6), 0u);
  EXPECT_EQ(CString(item.name), CString(_T("x6.txt")));
  EXPECT_EQ(item.unc_size, 31u);
  ASSERT_EQ(ZipArchiveGetItem(zip, &item, 1), 0u);  // walking back re-reads from the start
  EXPECT_EQ(CString(item.name), CString(_T("x1.txt")));
  EXPECT_EQ(ZipArchiveGetItem(zip, &item, 10), static_cast<DWORD>(kZipBadArgument));
  EXPECT_EQ(ZipArchiveGetItem(zip, &item, -2), static_cast<DWORD>(kZipBadArgument));
  EXPECT_EQ(ZipLastError(), static_cast<DWORD>(kZipBadArgument));
  ZipArchiveClose(zip);
}

TEST_F(ZipArchiveTest, HandleChecks) {
  EXPECT_EQ(ZipArchiveClose(nullptr), static_cast<DWORD>(kZipBadArgument));
  ZipHandle writer{kZipHandleWrite, nullptr};
  EXPECT_EQ(ZipArchiveClose(&writer), static_cast<DWORD>(kZipWrongHandle));
  EXPECT_EQ(ZipArchiveExtractItem(&writer, _T("x"), 0), static_cast<DWORD>(kZipWrongHandle));
  EXPECT_EQ(ZipArchiveOpen(_T("C:\\pkg\\missing.zip")), nullptr);
  EXPECT_EQ(ZipLastError(), static_cast<DWORD>(kZipCannotOpen));
}

TEST_F(ZipArchiveTest, TruncatedArchiveDoesNotOpen) {
  for (std::size_t keep : {0u, 10u, 600u, 1200u}) {
    EXPECT_EQ(ZipArchiveOpen(PlaceFixture("hostile.zip", keep)), nullptr) << keep;
    EXPECT_EQ(ZipLastError(), static_cast<DWORD>(kZipCannotOpen));
  }
}

TEST_F(ZipArchiveTest, DamagedDataLeavesNoHalfFile) {
  // Flip bytes inside the deflated data of the last entry: its CRC no longer matches.
  const CString path = PlaceFixture("hostile.zip");
  std::string bytes = ReadHostFile(Host(path));
  const std::size_t at = bytes.find("last.txt");
  ASSERT_NE(at, std::string::npos);
  for (std::size_t i = at + 8 + 2; i < at + 8 + 8; ++i) bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
  WriteHostFile(Host(path), bytes);
  HZIP zip = ZipArchiveOpen(path);
  ASSERT_NE(zip, nullptr);
  ZipArchiveSetBaseFolder(zip, _T("C:\\pkg\\out"));
  ZipItemInfo item;
  ASSERT_EQ(ZipArchiveGetItem(zip, &item, 9), 0u);
  EXPECT_EQ(ZipArchiveExtractItem(zip, item.name, 9), static_cast<DWORD>(kZipDecompressFailed));
  EXPECT_FALSE(std::filesystem::exists(Host(_T("C:\\pkg\\out\\last.txt"))));
  ZipArchiveClose(zip);
}

}  // namespace
}  // namespace zx::test
