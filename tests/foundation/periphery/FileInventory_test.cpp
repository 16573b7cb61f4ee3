// File records, their resumable checksum and CRC, and folder scans.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "FileInventory.h"
#include "cstring_printer.h"
#include "machine_fixture.h"
#include "zx/machine.h"

namespace {

DWORD ReferenceCrc(const std::string& bytes) {
  DWORD crc = 0xFFFFFFFFu;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1) != 0 ? 0xEDB88320u : 0);
  }
  return ~crc;
}

DWORD ReferenceWordSum(const std::string& bytes) {
  DWORD sum = 0;
  for (std::size_t at = 0; at < bytes.size(); at += 4) {
    DWORD word = 0;
    for (std::size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
      word |= static_cast<DWORD>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    sum += word;
  }
  return sum;
}

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + 7) % 251);
  return bytes;
}

class InventoryTest : public zx::test::MachineTest {
 protected:
  static std::string Host(const std::string& name) { return zx::machine::DriveCFolder() + "/" + name; }
  static void Put(const std::string& name, const std::string& bytes) { WriteHostFile(Host(name), bytes); }
  static CFileInfo Record(LPCTSTR path) {
    CFileInfo record;
    record.Create(path, 0);
    return record;
  }
};

TEST_F(InventoryTest, ARecordDescribesItsFile) {
  Put("Data/Report.Final.txt", "12345");
  SetFileAttributesW(_T("C:\\Data\\Report.Final.txt"), FILE_ATTRIBUTE_HIDDEN);
  const CFileInfo record = Record(_T("C:\\Data\\Report.Final.txt"));
  EXPECT_EQ(record.GetFilePath(), CString(_T("C:\\Data\\Report.Final.txt")));
  EXPECT_EQ(record.GetFileName(), CString(_T("Report.Final.txt")));
  EXPECT_EQ(record.GetFileTitle(), CString(_T("Report.Final")));
  EXPECT_EQ(record.GetFileExt(), CString(_T(".txt")));
  EXPECT_EQ(record.GetFileDir(), CString(_T("C:\\Data\\")));
  EXPECT_EQ(record.GetFileDrive(), CString(_T("C:")));
  EXPECT_EQ(record.GetFileRoot(), CString(_T("C:\\")));
  EXPECT_EQ(record.GetLength64(), 5u);
  EXPECT_TRUE(record.IsHidden());
  EXPECT_FALSE(record.IsDirectory());
  EXPECT_FALSE(record.IsNormal());
  EXPECT_GT(record.GetLastAccessTime().GetTime(), 0);
  const CFileInfo folder = Record(_T("C:\\Data"));
  EXPECT_TRUE(folder.IsDirectory());
}

TEST_F(InventoryTest, APathNotFoundLeavesTheRecordAlone) {
  const CFileInfo record = Record(_T("C:\\nothing.txt"));
  EXPECT_EQ(record.GetFilePath(), CString());
  EXPECT_EQ(record.GetAttributes(), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(record.GetLength64(), 0u);
  CFileInfoArray files;
  EXPECT_EQ(files.AddPath(_T("C:\\nothing.txt"), kFileInfoAppend), 0);
  EXPECT_EQ(files[0].GetAttributes(), INVALID_FILE_ATTRIBUTES);
}

TEST_F(InventoryTest, AMaximumIsRoundedUpToWholeWords) {
  const std::string bytes = Pattern(100);
  Put("w.bin", bytes);
  CFileInfo record = Record(_T("C:\\w.bin"));
  volatile LONGLONG progress = 0;
  EXPECT_EQ(record.ComputeWordSum(10, TRUE, nullptr, &progress), ReferenceWordSum(bytes.substr(0, 12)));
  EXPECT_EQ(progress, 12);
}

TEST_F(InventoryTest, ResumedChecksumsEqualOneWholeRun) {
  const std::string bytes = Pattern(16001);  // ends in a group of one byte
  Put("w.bin", bytes);
  CFileInfo stepped = Record(_T("C:\\w.bin"));
  stepped.ComputeWordSum(8, TRUE, nullptr, nullptr);
  const DWORD resumed = stepped.ComputeWordSum(0, FALSE, nullptr, nullptr);
  CFileInfo whole = Record(_T("C:\\w.bin"));
  EXPECT_EQ(resumed, whole.ComputeWordSum(0, TRUE, nullptr, nullptr));
  EXPECT_EQ(resumed, ReferenceWordSum(bytes));
}

TEST_F(InventoryTest, AnAbortAlreadySetTakesNothingIn) {
  Put("w.bin", Pattern(1000));
  CFileInfo record = Record(_T("C:\\w.bin"));
  volatile LONG abort = 1;
  volatile LONGLONG progress = 0;
  EXPECT_EQ(record.ComputeWordSum(0, TRUE, &abort, &progress), 0u);
  EXPECT_EQ(record.ComputeCrc32(0, TRUE, &abort, &progress), 0xFFFFFFFFu);
  EXPECT_EQ(progress, 0);
  abort = 0;
  EXPECT_EQ(record.ComputeCrc32(0, FALSE, &abort, &progress), ReferenceCrc(Pattern(1000)));
  EXPECT_EQ(progress, 1000);
}

TEST_F(InventoryTest, TheCrcIsThePublishedOneInOneOrSeveralCalls) {
  const std::string bytes = Pattern(40003);
  Put("c.bin", bytes);
  CFileInfo once = Record(_T("C:\\c.bin"));
  EXPECT_EQ(once.ComputeCrc32(0, TRUE, nullptr, nullptr), ReferenceCrc(bytes));
  CFileInfo stepped = Record(_T("C:\\c.bin"));
  stepped.ComputeCrc32(5000, TRUE, nullptr, nullptr);
  stepped.ComputeCrc32(17000, FALSE, nullptr, nullptr);
  EXPECT_EQ(stepped.ComputeCrc32(0, FALSE, nullptr, nullptr), ReferenceCrc(bytes));
  // Later calls answer the final value unchanged.
  EXPECT_EQ(stepped.ComputeCrc32(0, FALSE, nullptr, nullptr), ReferenceCrc(bytes));
}

TEST_F(InventoryTest, AnEmptyFileHasTheCrcOfNoBytes) {
  Put("empty.bin", "");
  CFileInfo record = Record(_T("C:\\empty.bin"));
  EXPECT_EQ(record.ComputeCrc32(0, TRUE, nullptr, nullptr), 0u);
  EXPECT_EQ(record.ComputeWordSum(0, TRUE, nullptr, nullptr), 0u);
}

TEST_F(InventoryTest, TheLastBlockStopsAtTheTarget) {
  Put("c.bin", Pattern(40000));
  CFileInfo record = Record(_T("C:\\c.bin"));
  volatile LONGLONG progress = 0;
  record.ComputeWordSum(20000, TRUE, nullptr, &progress);
  EXPECT_EQ(progress, 20000);  // not 32768: the second block is cut to the target
  record.ComputeWordSum(0, FALSE, nullptr, &progress);
  EXPECT_EQ(progress, 40000);
  EXPECT_EQ(record.ComputeWordSum(0, FALSE, nullptr, nullptr), ReferenceWordSum(Pattern(40000)));
}

TEST_F(InventoryTest, ProgressCountersAre64Bit) {
  Put("c.bin", Pattern(100));
  CFileInfo record = Record(_T("C:\\c.bin"));
  volatile LONGLONG progress = 0xFFFFFFF0LL;
  record.ComputeCrc32(0, TRUE, nullptr, &progress);
  EXPECT_EQ(progress, 0xFFFFFFF0LL + 100);
  Put("One/x.txt", "x");
  volatile LONGLONG counter = 0xFFFFFFFFLL;
  CFileInfoArray files;
  files.ScanFolder(_T("C:\\One\\"), _T("*"), FALSE, kFileInfoAppend, FALSE, nullptr, &counter);
  EXPECT_EQ(counter, 0x100000000LL);
}

TEST_F(InventoryTest, AFileThatCannotBeReadKeepsTheValueAsItStood) {
  Put("gone.bin", Pattern(64));
  CFileInfo record = Record(_T("C:\\gone.bin"));
  std::filesystem::remove(Host("gone.bin"));
  EXPECT_EQ(record.ComputeWordSum(0, TRUE, nullptr, nullptr), 0u);
  EXPECT_EQ(record.ComputeCrc32(0, TRUE, nullptr, nullptr), 0xFFFFFFFFu);
}

TEST(FileInfoArray, SortedInsertionPlacesTheNewRecordFirstAmongEquals) {
  auto sized = [](ULONGLONG size, LPCTSTR name) {
    WIN32_FIND_DATAW entry{};
    entry.nFileSizeLow = static_cast<DWORD>(size);
    std::char_traits<WCHAR>::copy(entry.cFileName, name, std::char_traits<WCHAR>::length(name) + 1);
    CFileInfo record;
    record.Create(entry, _T("C:\\"), 0);
    return record;
  };
  CFileInfoArray files;
  CFileInfo five = sized(5, _T("b")), nine = sized(9, _T("d")), seven = sized(7, _T("a"));
  files.AddFileInfo(five, kFileInfoBySizeAscending);
  files.AddFileInfo(nine, kFileInfoBySizeAscending);
  EXPECT_EQ(files.AddFileInfo(seven, kFileInfoBySizeAscending), 1);
  CFileInfo otherSeven = sized(7, _T("c"));
  EXPECT_EQ(files.AddFileInfo(otherSeven, kFileInfoBySizeAscending), 1);  // first among equals
  EXPECT_EQ(files[1].GetFileName(), CString(_T("c")));

  CFileInfoArray descending;
  for (CFileInfo* r : {&five, &nine, &seven}) descending.AddFileInfo(*r, kFileInfoBySizeDescending);
  EXPECT_EQ(descending[0].GetLength64(), 9u);
  EXPECT_EQ(descending[2].GetLength64(), 5u);

  CFileInfoArray byPath;
  for (CFileInfo* r : {&nine, &five, &seven}) byPath.AddFileInfo(*r, kFileInfoByPathAscending);
  EXPECT_EQ(byPath[0].GetFileName(), CString(_T("a")));
  EXPECT_EQ(byPath[2].GetFileName(), CString(_T("d")));
  CFileInfoArray byPathDown;
  for (CFileInfo* r : {&five, &seven, &nine}) byPathDown.AddFileInfo(*r, kFileInfoByPathDescending);
  EXPECT_EQ(byPathDown[0].GetFileName(), CString(_T("d")));

  CFileInfoArray appended;
  for (CFileInfo* r : {&nine, &five}) appended.AddFileInfo(*r, 17);
  EXPECT_EQ(appended[1].GetFileName(), CString(_T("b")));
}

TEST(FileInfoArray, ABadIndexThrows) {
  CFileInfoArray files;
  try {
    files.GetAt(0);
    ADD_FAILURE() << "no exception";
  } catch (CInvalidArgException* error) {
    error->Delete();
  }
}

TEST_F(InventoryTest, ScanningAnEmptyFolderAddsNothing) {
  std::filesystem::create_directories(Host("Empty"));
  CFileInfoArray files;
  EXPECT_EQ(files.ScanFolder(_T("C:\\Empty\\"), _T("*.*"), TRUE, kFileInfoAppend, TRUE, nullptr, nullptr), 0);
  EXPECT_EQ(files.ScanFolder(_T("C:\\Missing\\"), _T("*.*"), TRUE, kFileInfoAppend, TRUE, nullptr, nullptr),
            0);
}

TEST_F(InventoryTest, AFolderRecordComesBeforeItsContents) {
  Put("Top/Sub/inner.txt", "x");
  CFileInfoArray files;
  volatile LONGLONG counter = 0;
  EXPECT_EQ(files.ScanFolder(_T("C:\\Top\\"), _T("*.*"), TRUE, kFileInfoAppend, TRUE, nullptr, &counter), 2);
  EXPECT_EQ(counter, 2);
  ASSERT_EQ(files.GetSize(), 2);
  EXPECT_EQ(files[0].GetFilePath(), CString(_T("C:\\Top\\Sub")));
  EXPECT_TRUE(files[0].IsDirectory());
  EXPECT_EQ(files[1].GetFilePath(), CString(_T("C:\\Top\\Sub\\inner.txt")));
}

TEST_F(InventoryTest, TheMaskAppliesToFilesOnlyAndTheFolderMayLackItsBackslash) {
  Put("M/a.txt", "1");
  Put("M/b.log", "2");
  Put("M/Sub.log/c.txt", "3");
  CFileInfoArray files;
  EXPECT_EQ(
      files.ScanFolder(_T("C:\\M"), _T("*.txt"), TRUE, kFileInfoByPathAscending, TRUE, nullptr, nullptr), 3);
  EXPECT_EQ(files[0].GetFilePath(), CString(_T("C:\\M\\Sub.log")));
  EXPECT_EQ(files[1].GetFilePath(), CString(_T("C:\\M\\Sub.log\\c.txt")));
  EXPECT_EQ(files[2].GetFilePath(), CString(_T("C:\\M\\a.txt")));
}

TEST_F(InventoryTest, AnAbortStopsTheScan) {
  Put("A/1.txt", "1");
  Put("A/2.txt", "2");
  CFileInfoArray files;
  volatile LONG abort = 1;
  EXPECT_EQ(files.ScanFolder(_T("C:\\A\\"), _T("*"), TRUE, kFileInfoAppend, TRUE, &abort, nullptr), 0);
  abort = 0;
  EXPECT_EQ(files.ScanFolder(_T("C:\\A\\"), _T("*"), TRUE, kFileInfoAppend, TRUE, &abort, nullptr), 2);
}

// A tree of 100 folders of 1,000 files each. Each folder's files are links to its first
// one, which the host makes much faster than new files.
TEST_F(InventoryTest, AnInventoryOfAHundredThousandFiles) {
  constexpr int kFolders = 100, kFiles = 1000;
  char name[64];
  for (int f = 0; f < kFolders; ++f) {
    std::snprintf(name, sizeof name, "Tree/d%03d/", f);
    const std::string folder = Host(name);
    Put(std::string(name) + "f0000.dat", "x");
    for (int i = 1; i < kFiles; ++i) {
      std::snprintf(name, sizeof name, "f%04d.dat", i);
      std::filesystem::create_hard_link(folder + "f0000.dat", folder + name);
    }
  }
  CFileInfoArray files;
  volatile LONGLONG counter = 0;
  const INT_PTR added =
      files.ScanFolder(_T("C:\\Tree\\"), _T("*.dat"), TRUE, kFileInfoAppend, TRUE, nullptr, &counter);
  EXPECT_EQ(added, kFolders + kFolders * kFiles);
  EXPECT_EQ(counter, added);
  ASSERT_EQ(files.GetSize(), added);
  EXPECT_EQ(files[0].GetFilePath(), CString(_T("C:\\Tree\\d000")));
  EXPECT_EQ(files[1].GetFilePath(), CString(_T("C:\\Tree\\d000\\f0000.dat")));
  EXPECT_EQ(files[1001].GetFilePath(), CString(_T("C:\\Tree\\d001")));
  EXPECT_EQ(files[added - 1].GetFilePath(), CString(_T("C:\\Tree\\d099\\f0999.dat")));
  EXPECT_EQ(files[added - 1].GetLength64(), 1u);
}

}  // namespace
