// The zip extraction wrapper: describing entries, extracting below the base folder whatever
// the entries are called, entries taken in any order from an archive larger than what the
// reader holds in memory, damaged and truncated archives, and the handle checks.
#include <gtest/gtest.h>

#include <minizip/zip.h>

#include <filesystem>
#include <random>
#include <vector>

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
  // The link entry is refused; every other entry lands below the folder.
  EXPECT_EQ(ExtractAll(zip, _T("C:\\pkg\\hostile")), static_cast<DWORD>(kZipCannotOpen));
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

// Writes a zip of `count` entries "part<i>.bin" of 200 KB of random bytes each (so the archive
// is several times what the reader holds at once) and answers their contents.
std::vector<std::string> WriteLargeZip(const std::string& hostPath, int count) {
  std::mt19937 random(7);
  std::vector<std::string> contents;
  zipFile out = zipOpen64(hostPath.c_str(), APPEND_STATUS_CREATE);
  for (int i = 0; i < count; ++i) {
    std::string bytes(200 * 1024, '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    zip_fileinfo info{};
    const std::string name = "part" + std::to_string(i) + ".bin";
    zipOpenNewFileInZip(out, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 1);
    zipWriteInFileInZip(out, bytes.data(), static_cast<unsigned>(bytes.size()));
    zipCloseFileInZip(out);
    contents.push_back(std::move(bytes));
  }
  zipClose(out, nullptr);
  return contents;
}

TEST_F(ZipArchiveTest, EntriesOfALargeArchiveComeWholeInAnyOrder) {
  std::filesystem::create_directories(Host(_T("C:\\pkg")));
  const std::vector<std::string> contents = WriteLargeZip(Host(_T("C:\\pkg\\large.zip")), 5);
  HZIP zip = ZipArchiveOpen(_T("C:\\pkg\\large.zip"));
  ASSERT_NE(zip, nullptr);
  ASSERT_EQ(ZipArchiveSetBaseFolder(zip, _T("C:\\pkg\\large")), 0u);
  ZipItemInfo item;
  // Backwards, an entry described and then another described before it is extracted, and
  // one entry extracted twice.
  for (int index : {4, 0, 3, 1, 2, 2}) {
    ASSERT_EQ(ZipArchiveGetItem(zip, &item, index), 0u);
    if (index == 3) {
      ASSERT_EQ(ZipArchiveGetItem(zip, &item, 1), 0u);
    }
    ASSERT_EQ(ZipArchiveExtractItem(zip, nullptr, index), 0u) << index;
  }
  EXPECT_EQ(ZipArchiveClose(zip), 0u);
  for (int i = 0; i < 5; ++i) {
    const std::u16string name = u"C:\\pkg\\large\\part" + std::u16string(1, static_cast<char16_t>(u'0' + i)) +
                                u".bin";
    EXPECT_TRUE(ReadHostFile(Host(name.c_str())) == contents[i]) << i;
  }
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
