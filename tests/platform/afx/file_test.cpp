// CFile over the kernel file API on a fresh machine root: open modes, reading and writing,
// seeking, sharing, errors as CFileException, and archives stored in real files.
#include <gtest/gtest.h>

#include <filesystem>

#include "afx_test_support.h"
#include "machine_fixture.h"
#include "zx/handles.h"
#include "zx/machine.h"

namespace {

using zx::afxtest::ArchiveCause;

class FileTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    std::filesystem::create_directories(zx::machine::DriveCFolder() + "/data");
  }
  static std::string Host(const char* name) { return zx::machine::DriveCFolder() + "/data/" + name; }

  // The CFileException cause f throws, or -1.
  template <class F>
  static int FileCause(F f) {
    try {
      f();
    } catch (CFileException* e) {
      const int cause = e->m_cause;
      e->Delete();
      return cause;
    }
    return -1;
  }
};

TEST_F(FileTest, WriteSeekReadAndResize) {
  const std::size_t handles = zx::OpenHandleCount();
  {
    CFile file(u"C:\\data\\report.bin", CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary);
    EXPECT_NE(file.m_hFile, CFile::hFileNull);
    file.Write("hello world", 11);
    EXPECT_EQ(file.GetLength(), 11u);
    EXPECT_EQ(file.Seek(-5, CFile::end), 6u);
    char word[8] = {};
    EXPECT_EQ(file.Read(word, 8), 5u);
    EXPECT_STREQ(word, "world");
    EXPECT_EQ(file.Read(word, 8), 0u);
    file.SeekToBegin();
    EXPECT_EQ(file.GetPosition(), 0u);
    file.SetLength(5);
    EXPECT_EQ(file.GetPosition(), 5u);
    EXPECT_EQ(file.SeekToEnd(), 5u);
    file.Flush();
    EXPECT_EQ(file.GetFileName(), u"report.bin");
    EXPECT_EQ(file.GetFileTitle(), u"report");
    EXPECT_EQ(file.GetFilePath().Right(16), u"\\data\\report.bin");
  }  // closed by the destructor
  EXPECT_EQ(zx::OpenHandleCount(), handles);
  EXPECT_EQ(ReadHostFile(Host("report.bin")), "hello");
}

TEST_F(FileTest, CreateTruncatesUnlessNoTruncate) {
  WriteHostFile(Host("keep.txt"), "old");
  CFile file;
  ASSERT_TRUE(file.Open(u"C:\\data\\keep.txt", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
  EXPECT_EQ(file.GetLength(), 3u);
  file.Close();
  EXPECT_EQ(file.m_hFile, CFile::hFileNull);
  ASSERT_TRUE(file.Open(u"C:\\data\\keep.txt", CFile::modeCreate | CFile::modeWrite));
  EXPECT_EQ(file.GetLength(), 0u);
}

TEST_F(FileTest, FailuresReportTheirCause) {
  CFile file;
  CFileException error;
  EXPECT_FALSE(file.Open(u"C:\\data\\missing.txt", CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(error.m_lOsError, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(error.m_strFileName, u"C:\\data\\missing.txt");
  EXPECT_FALSE(file.Open(nullptr, CFile::modeRead));
  EXPECT_EQ(FileCause([] { CFile(u"C:\\data\\missing.txt", CFile::modeRead); }), CFileException::fileNotFound);
  EXPECT_NE(FileCause([] { CFile::Remove(u"C:\\data\\missing.txt"); }), -1);
  EXPECT_NE(FileCause([] { CFile::Rename(u"C:\\data\\missing.txt", u"C:\\data\\other.txt"); }), -1);

  WriteHostFile(Host("ro.txt"), "x");
  CFile readOnly(u"C:\\data\\ro.txt", CFile::modeRead);
  EXPECT_NE(FileCause([&] { readOnly.Write("y", 1); }), -1);
}

TEST_F(FileTest, ExclusiveShareKeepsOthersOut) {
  CFile first(u"C:\\data\\locked.txt", CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
  CFile second;
  CFileException error;
  EXPECT_FALSE(second.Open(u"C:\\data\\locked.txt", CFile::modeRead | CFile::shareDenyNone, &error));
  EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
}

TEST_F(FileTest, RenameAndRemove) {
  WriteHostFile(Host("a.txt"), "a");
  CFile::Rename(u"C:\\data\\a.txt", u"C:\\data\\b.txt");
  EXPECT_TRUE(std::filesystem::exists(Host("b.txt")));
  CFile::Remove(u"C:\\data\\b.txt");
  EXPECT_FALSE(std::filesystem::exists(Host("b.txt")));
}

TEST_F(FileTest, ArchivesInFilesAndTruncatedFiles) {
  {
    CFile file(u"C:\\data\\list.dat", CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    CStringArray names;
    names.Add(u"\u0416\u0451");
    names.Add(CString(u'n', 5000));
    names.Serialize(ar);
    ar.Close();
  }
  std::string bytes = ReadHostFile(Host("list.dat"));
  EXPECT_EQ(bytes.size(), 2u + (4u + 4u) + (6u + 10000u));  // count, short string, long string
  CFile file(u"C:\\data\\list.dat", CFile::modeRead);
  CArchive ar(&file, CArchive::load);
  EXPECT_EQ(ar.m_strFileName, file.GetFilePath());
  CStringArray names;
  names.Serialize(ar);
  ASSERT_EQ(names.GetSize(), 2);
  EXPECT_EQ(names[0], u"\u0416\u0451");
  ar.Close();
  file.Close();

  bytes.resize(bytes.size() - 1);
  WriteHostFile(Host("list.dat"), bytes);
  CFile cut(u"C:\\data\\list.dat", CFile::modeRead);
  CArchive cutAr(&cut, CArchive::load);
  EXPECT_EQ(ArchiveCause([&] { names.Serialize(cutAr); }), CArchiveException::endOfFile);
}

}  // namespace
