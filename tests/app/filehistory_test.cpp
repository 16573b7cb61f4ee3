// The download and backup histories: their bytes against vectors laid out by hand, round
// trips, every cut of a good file and absurd counts refused with the file kept aside, and
// saving that never leaves a half-written file.
#include <gtest/gtest.h>

#include <string>

#include "FileHistory.h"
#include "hex_bytes.h"
#include "machine_fixture.h"

using zx::test::HexString;

namespace {

constexpr LPCTSTR kPath = u"C:\\data\\Download.dat";

class FileHistoryTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_TRUE(CreateDirectoryW(u"C:\\data", nullptr));
  }
  std::string HostPath(const char* name = "Download.dat") const { return root() + "/drive_c/data/" + name; }
  std::string Stored() const { return ReadHostFile(HostPath()); }
  void Store(const std::string& bytes) const { WriteHostFile(HostPath(), bytes); }
};

CString Value(const CMapStringToString& map, LPCTSTR key) {
  CString value;
  return map.Lookup(key, value) ? value : CString(u"<missing>");
}

TEST(HistoryFileNames, SelectorPicksTheFile) {
  EXPECT_EQ(CString(GetHistoryFileName(kDownloadHistory)), CString(u"Download.dat"));
  EXPECT_EQ(CString(GetHistoryFileName(kBackupHistory)), CString(u"Backup.dat"));
}

TEST_F(FileHistoryTest, StoredBytesFollowTheLayout) {
  struct Case {
    const char* name;
    std::u16string key, value;
    std::string bytes;
  };
  const std::u16string long255(255, u'x');
  const Case cases[] = {
      {"one pair", u"a", u"b", HexString("01000000 0100 FFFEFF01 6100 FFFEFF01 6200")},
      {"non-Latin key", u"\u00e9\u4e2d", u"C:\\p", HexString("01000000 0100 FFFEFF02 E9002D4E FFFEFF04 43003A005C007000")},
      {"empty value", u"k", u"", HexString("01000000 0100 FFFEFF01 6B00 FFFEFF00")},
      {"255 units take a 16-bit length", u"k", long255,
       HexString("01000000 0100 FFFEFF01 6B00 FFFEFF FFFF00") + std::string(255 * 2, '\0')},
  };
  for (const Case& c : cases) {
    CMapStringToString map;
    map.SetAt(c.key.c_str(), c.value.c_str());
    ASSERT_TRUE(SaveHistoryFile(kPath, map)) << c.name;
    std::string expected = c.bytes;
    if (c.value == long255) {
      for (std::size_t i = 0; i < 255; ++i) expected[expected.size() - 510 + 2 * i] = 'x';
    }
    EXPECT_EQ(Stored(), expected) << c.name;
    CMapStringToString back;
    ASSERT_TRUE(LoadHistoryFile(kPath, back)) << c.name;
    EXPECT_EQ(back.GetCount(), 1);
    EXPECT_EQ(Value(back, c.key.c_str()), CString(c.value.c_str())) << c.name;
  }
}

TEST_F(FileHistoryTest, EmptyHistoryIsACountAndAShortCount) {
  CMapStringToString map;
  ASSERT_TRUE(SaveHistoryFile(kPath, map));
  EXPECT_EQ(Stored(), HexString("00000000 0000"));
  map.SetAt(u"stale", u"x");
  EXPECT_TRUE(LoadHistoryFile(kPath, map));
  EXPECT_EQ(map.GetCount(), 1);  // loading adds
}

TEST_F(FileHistoryTest, SixtyFiveThousandFiveHundredThirtyFiveEntriesTakeTheLongCount) {
  CMapStringToString map;
  for (int i = 0; i < 0xFFFF; ++i) {
    CString key;
    key.Format(u"%x", i);
    map.SetAt(key, u"v");
  }
  ASSERT_TRUE(SaveHistoryFile(kPath, map));
  EXPECT_EQ(Stored().substr(0, 10), HexString("FFFF0000 FFFF FFFF0000"));
  CMapStringToString back;
  ASSERT_TRUE(LoadHistoryFile(kPath, back));
  EXPECT_EQ(back.GetCount(), 0xFFFF);
  EXPECT_EQ(Value(back, u"fffe"), CString(u"v"));
}

TEST_F(FileHistoryTest, MissingFileEmptiesTheMapAndCreatesNothing) {
  CMapStringToString map;
  map.SetAt(u"old", u"x");
  EXPECT_TRUE(LoadHistoryFile(kPath, map));
  EXPECT_TRUE(map.IsEmpty());
  EXPECT_EQ(GetFileAttributesW(kPath), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FileHistoryTest, LoadingTwiceKeepsOnePairPerKeyWithTheStoredValue) {
  Store(HexString("02000000 0200 FFFEFF01 6100 FFFEFF01 3100 FFFEFF01 6200 FFFEFF01 3200"));
  CMapStringToString map;
  map.SetAt(u"a", u"old");
  ASSERT_TRUE(LoadHistoryFile(kPath, map));
  ASSERT_TRUE(LoadHistoryFile(kPath, map));
  EXPECT_EQ(map.GetCount(), 2);
  EXPECT_EQ(Value(map, u"a"), CString(u"1"));
  EXPECT_EQ(Value(map, u"b"), CString(u"2"));
}

// The leading count is not what is read: the map's own count is.
TEST_F(FileHistoryTest, LeadingCountIsNotTrusted) {
  Store(HexString("FFFFFFFF 0100 FFFEFF01 6100 FFFEFF01 3100"));
  CMapStringToString map;
  EXPECT_TRUE(LoadHistoryFile(kPath, map));
  EXPECT_EQ(map.GetCount(), 1);
}

TEST_F(FileHistoryTest, EveryCutOfAGoodFileIsRefusedAndKeptAside) {
  CMapStringToString map;
  map.SetAt(u"first", u"C:\\Download\\one.zip");
  map.SetAt(u"second", u"C:\\Download\\two.cab");
  ASSERT_TRUE(SaveHistoryFile(kPath, map));
  const std::string whole = Stored();
  for (std::size_t length = 0; length < whole.size(); ++length) {
    Store(whole.substr(0, length));
    CMapStringToString read;
    EXPECT_FALSE(LoadHistoryFile(kPath, read)) << length;
    EXPECT_LE(read.GetCount(), 1) << length;
    EXPECT_EQ(GetFileAttributesW(kPath), INVALID_FILE_ATTRIBUTES) << length;
    EXPECT_EQ(ReadHostFile(HostPath("Download.dat.damaged")), whole.substr(0, length)) << length;
    ASSERT_TRUE(DeleteFileW(u"C:\\data\\Download.dat.damaged"));
  }
}

TEST_F(FileHistoryTest, DamagedFilesAreRefusedWithoutLosingWhatWasRead) {
  const struct {
    const char* name;
    std::string bytes;
    int pairsRead;
  } cases[] = {
      {"only the leading count", HexString("00000000"), 0},
      {"absurd short count", HexString("01000000 FEFF FFFEFF01 6100 FFFEFF01 3100"), 0},
      {"absurd long count", HexString("01000000 FFFF FFFFFF7F FFFEFF01 6100"), 0},
      {"absurd string length", HexString("01000000 0100 FFFEFFFF FFFF FFFFFF7F 6100"), 0},
      {"second pair cut", HexString("02000000 0200 FFFEFF01 6100 FFFEFF01 3100 FFFEFF05 6200"), 1},
  };
  for (const auto& c : cases) {
    Store(c.bytes);
    CMapStringToString map;
    EXPECT_FALSE(LoadHistoryFile(kPath, map)) << c.name;
    EXPECT_EQ(map.GetCount(), c.pairsRead) << c.name;
    EXPECT_EQ(ReadHostFile(HostPath("Download.dat.damaged")), c.bytes) << c.name;
    ASSERT_TRUE(DeleteFileW(u"C:\\data\\Download.dat.damaged"));
  }
}

TEST_F(FileHistoryTest, AnEarlierDamagedCopyIsNotOverwritten) {
  Store("x");
  CMapStringToString map;
  EXPECT_FALSE(LoadHistoryFile(kPath, map));
  Store("yy");
  EXPECT_FALSE(LoadHistoryFile(kPath, map));
  EXPECT_EQ(ReadHostFile(HostPath("Download.dat.damaged")), "x");
  EXPECT_EQ(ReadHostFile(HostPath("Download.dat.damaged.1")), "yy");
}

TEST_F(FileHistoryTest, FailedSaveLeavesTheOldFileWhole) {
  CMapStringToString map;
  map.SetAt(u"a", u"b");
  ASSERT_TRUE(SaveHistoryFile(kPath, map));
  const std::string before = Stored();
  // A folder where the temporary file would go makes the save fail before anything changes.
  ASSERT_TRUE(CreateDirectoryW(u"C:\\data\\Download.dat.tmp", nullptr));
  map.SetAt(u"c", u"d");
  EXPECT_FALSE(SaveHistoryFile(kPath, map));
  EXPECT_EQ(Stored(), before);
  EXPECT_FALSE(SaveHistoryFile(u"C:\\missing\\Backup.dat", map));
}

}  // namespace
