// The zip writer: archives byte for byte against vectors written from the format (local
// header with its 17-byte time field, central entries made by 0x0B17 with the 9-byte one, the
// 22-byte end record), stored and deflated entries by name, attributes and times; archives
// read back by Python's zipfile, Info-ZIP's unzip and the program's own extraction; and the
// limits of the format and the handle checks.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "ZipArchive.h"
#include "ZipWriter.h"
#include "hex_bytes.h"
#include "machine_fixture.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

constexpr ULONGLONG kUnixEpochUnits = 116444736000000000ull;

CString Wide(const std::string& utf8) {
  WCHAR text[MAX_PATH] = {};
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text, MAX_PATH - 1);
  return text;
}

FILETIME FromUnix(ULONGLONG seconds) {
  const ULONGLONG units = seconds * 10000000ull + kUnixEpochUnits;
  return FILETIME{static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
}

std::string Le32(DWORD value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
  return bytes;
}

class ZipWriterTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    CreateDirectoryW(_T("C:\\In"), nullptr);
  }

  // Writes a file below C:\In with its last write and access times (Unix seconds); answers
  // its creation time as Unix seconds, which the file system chose.
  static DWORD MakeFile(LPCTSTR name, const std::string& bytes, ULONGLONG written, ULONGLONG accessed) {
    const CString path = CString(_T("C:\\In\\")) + name;
    WriteHostFile(HostPath(path), bytes);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    const FILETIME writeTime = FromUnix(written), accessTime = FromUnix(accessed);
    EXPECT_TRUE(SetFileTime(file, nullptr, &accessTime, &writeTime));
    BY_HANDLE_FILE_INFORMATION info{};
    EXPECT_TRUE(GetFileInformationByHandle(file, &info));
    CloseHandle(file);
    const ULONGLONG created = static_cast<ULONGLONG>(info.ftCreationTime.dwHighDateTime) << 32 | info.ftCreationTime.dwLowDateTime;
    return static_cast<DWORD>((created - kUnixEpochUnits) / 10000000ull);
  }

  // Packs the files (source below C:\In, name in the archive) into C:\Out.zip; its bytes.
  static std::string Pack(std::initializer_list<std::pair<LPCTSTR, LPCTSTR>> files) {
    HZIP zip = ZipArchiveCreate(_T("C:\\Out.zip"));
    EXPECT_NE(zip, nullptr);
    for (const auto& [source, name] : files) {
      EXPECT_EQ(ZipArchiveAddFile(zip, CString(_T("C:\\In\\")) + source, name), 0u) << CStringA(name).GetString();
    }
    EXPECT_EQ(ZipArchiveCloseWriter(zip), 0u);
    return ReadHostFile(HostPath(_T("C:\\Out.zip")));
  }
};

// 2010-03-01 10:05:07 UTC and 2011-01-01 00:00:00 UTC.
constexpr ULONGLONG kWritten = 1267437907;
constexpr ULONGLONG kAccessed = 1293840000;

TEST_F(ZipWriterTest, AnArchiveWithoutEntriesIsTheEndRecordAlone) {
  EXPECT_EQ(Pack({}), HexString("504B0506 0000 0000 0000 0000 00000000 00000000 0000"));
  EXPECT_EQ(ZipLastError(), 0u);
}

TEST_F(ZipWriterTest, StoredEntryByteForByte) {
  const DWORD created = MakeFile(_T("a.zip"), "hello", kWritten, kAccessed);
  const std::string name = "dir/a.zip";
  const std::string expected =
      // local header: version 20, flags 0, stored, DOS time 10:05:06, date 2010-03-01, CRC,
      // sizes 5 and 5, name length 9, extra length 17
      HexString("504B0304 1400 0000 0000 A350 613C 86A61036 05000000 05000000 0900 1100") + name +
      HexString("5554 0D00 07") + Le32(kWritten) + Le32(kAccessed) + Le32(created) + "hello" +
      // central entry: made by 0x0B17, external attributes 0x81800020, offset 0
      HexString("504B0102 170B 1400 0000 0000 A350 613C 86A61036 05000000 05000000 0900 0900 0000 0000 0000"
          "20008081 00000000") +
      name + HexString("5554 0500 07") + Le32(kWritten) +
      // end record: one entry, directory of 64 bytes at 61
      HexString("504B0506 0000 0000 0100 0100 40000000 3D000000 0000");
  EXPECT_EQ(Pack({{_T("a.zip"), _T("dir\\a.zip")}}), expected);
}

TEST_F(ZipWriterTest, DeflatedEntryAndReadOnlyAttributes) {
  const DWORD created = MakeFile(_T("index.dat"), "aaaaaaaaaa", kWritten, kAccessed);
  ASSERT_TRUE(SetFileAttributesW(_T("C:\\In\\index.dat"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  const std::string expected =
      HexString("504B0304 1400 0000 0800 A350 613C F0CD114C 05000000 0A000000 0900 1100") + "index.dat" +
      HexString("5554 0D00 07") + Le32(kWritten) + Le32(kAccessed) + Le32(created) + HexString("4B4C840100") +
      HexString("504B0102 170B 1400 0000 0800 A350 613C F0CD114C 05000000 0A000000 0900 0900 0000 0000 0000"
          "21000081 00000000") +
      "index.dat" + HexString("5554 0500 07") + Le32(kWritten) +
      HexString("504B0506 0000 0000 0100 0100 40000000 3D000000 0000");
  EXPECT_EQ(Pack({{_T("index.dat"), _T("index.dat")}}), expected);
}

TEST_F(ZipWriterTest, StoredOrDeflatedByTheNamesExtension) {
  struct Case {
    LPCTSTR name;
    bool stored;
  };
  const Case cases[] = {{_T("x.cab"), false}, {_T("x.ZIP"), true},  {_T("x.zip"), true},  {_T("x.Z"), true},
                        {_T("x.z"), true},    {_T("x.tgz"), true},  {_T("x.gz"), true},   {_T("x.zoo"), true},
                        {_T("x.arc"), true},  {_T("x.lzh"), true},  {_T("x.arj"), true},  {_T("x.sys"), false},
                        {_T("index.dat"), false}, {_T("nodot"), false}, {_T("a.zip\\b"), false}, {_T("x.zipx"), false}};
  for (const Case& c : cases) EXPECT_EQ(IsStoredZipEntryName(c.name), c.stored) << CStringA(c.name).GetString();
}

TEST_F(ZipWriterTest, DosTimesAreHeldToTheYearsTheyCarry) {
  MakeFile(_T("old.txt"), "x", 0, 0);                       // 1970: before DOS times
  MakeFile(_T("late.txt"), "x", 4354819200ull, 4354819200ull);  // 2108-01-01: after them
  const std::string bytes = Pack({{_T("old.txt"), _T("old.txt")}, {_T("late.txt"), _T("late.txt")}});
  // DOS time and date of the first local header, then of the second.
  EXPECT_EQ(bytes.substr(10, 4), HexString("0000 2100"));
  const std::size_t second = bytes.find("PK\x03\x04", 4);
  ASSERT_NE(second, std::string::npos);
  EXPECT_EQ(bytes.substr(second + 10, 4), HexString("7DBF 9FFF"));
}

// Files of every kind a backup holds: text, binary, empty, a stored archive, deep folders,
// a name outside ASCII.
class ZipWriterReadBackTest : public ZipWriterTest {
 protected:
  void SetUp() override {
    ZipWriterTest::SetUp();
    std::mt19937 random(7);
    std::string binary(300000, '\0');
    for (char& byte : binary) byte = static_cast<char>(random() & 0x3F);
    std::string text;
    for (int i = 0; i < 4000; ++i) text += "[SourceDisksFiles]\r\ndriver" + std::to_string(i % 17) + ".sys = 1\r\n";
    contents_ = {{"drv.sys", binary}, {"drv.inf", text}, {"empty.txt", ""}, {"pkg.cab", binary.substr(0, 5000)},
                 {"Ger\xC3\xA4t.inf", "umlaut"}};
    for (const auto& [name, bytes] : contents_) {
      WriteHostFile(HostPath(_T("C:\\In")) + "/" + name, bytes);
    }
    HZIP zip = ZipArchiveCreate(_T("C:\\Out.zip"));
    ASSERT_NE(zip, nullptr);
    for (const auto& [name, bytes] : contents_) {
      const CString wide = Wide(name);
      ASSERT_EQ(ZipArchiveAddFile(zip, _T("C:\\In\\") + wide, _T("Driver One\\deep\\") + wide), 0u);
    }
    ASSERT_EQ(ZipArchiveCloseWriter(zip), 0u);
    archive_ = HostPath(_T("C:\\Out.zip"));
  }

  std::vector<std::pair<std::string, std::string>> contents_;
  std::string archive_;
};

TEST_F(ZipWriterReadBackTest, PythonsZipfileReadsEveryEntry) {
  if (std::system("command -v python3 > /dev/null") != 0) GTEST_SKIP() << "no python3";
  std::string script = "import sys, zipfile\nz = zipfile.ZipFile(sys.argv[1])\nassert z.testzip() is None\n";
  for (const auto& [name, bytes] : contents_) {
    script += "assert z.read('Driver One/deep/" + name + "') == open(sys.argv[2] + '/" + name + "', 'rb').read()\n";
  }
  WriteHostFile(root() + "/check.py", script);
  const std::string command = "python3 " + root() + "/check.py '" + archive_ + "' '" + HostPath(_T("C:\\In")) + "'";
  EXPECT_EQ(std::system(command.c_str()), 0);
}

TEST_F(ZipWriterReadBackTest, InfoZipTestsTheArchiveWhole) {
  if (std::system("command -v unzip > /dev/null") != 0) GTEST_SKIP() << "no unzip";
  EXPECT_EQ(std::system(("unzip -tq '" + archive_ + "' > /dev/null").c_str()), 0);
}

TEST_F(ZipWriterReadBackTest, TheProgramsExtractionUnpacksIt) {
  HZIP zip = ZipArchiveOpen(_T("C:\\Out.zip"));
  ASSERT_NE(zip, nullptr);
  ZipItemInfo archive{};
  ASSERT_EQ(ZipArchiveGetItem(zip, &archive, -1), 0u);
  ASSERT_EQ(archive.index, static_cast<int>(contents_.size()));
  ZipArchiveSetBaseFolder(zip, _T("C:\\Unpacked"));
  for (int i = 0; i < archive.index; ++i) {
    ZipItemInfo item{};
    ASSERT_EQ(ZipArchiveGetItem(zip, &item, i), 0u);
    EXPECT_EQ(item.attr & 0x37, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_EQ(ZipArchiveExtractItem(zip, item.name, i), 0u);
  }
  ZipArchiveClose(zip);
  for (const auto& [name, bytes] : contents_) {
    EXPECT_EQ(ReadHostFile(HostPath(_T("C:\\Unpacked\\Driver One\\deep")) + "/" + name), bytes) << name;
  }
}

TEST_F(ZipWriterTest, HandlesNamesAndSourcesThatCannotBeAdded) {
  MakeFile(_T("a.txt"), "a", kWritten, kAccessed);
  HZIP zip = ZipArchiveCreate(_T("C:\\Out.zip"));
  ASSERT_NE(zip, nullptr);
  const CString longest(_T('n'), kZipMaxNameBytes);
  const CString tooLong(_T('n'), kZipMaxNameBytes + 1);
  CString wideTooLong;  // 131 two-byte characters: 262 bytes of UTF-8
  for (int i = 0; i < 131; ++i) wideTooLong += CString(u"\u00e4");
  EXPECT_EQ(ZipArchiveAddFile(zip, _T("C:\\In\\a.txt"), _T("")), static_cast<DWORD>(kZipBadArgument));
  EXPECT_EQ(ZipArchiveAddFile(zip, _T("C:\\In\\a.txt"), tooLong), static_cast<DWORD>(kZipBadArgument));
  EXPECT_EQ(ZipArchiveAddFile(zip, _T("C:\\In\\a.txt"), wideTooLong), static_cast<DWORD>(kZipBadArgument));
  EXPECT_EQ(ZipLastError(), static_cast<DWORD>(kZipBadArgument));
  EXPECT_EQ(ZipArchiveAddFile(zip, _T("C:\\In\\missing.txt"), _T("m.txt")), static_cast<DWORD>(kZipCannotOpen));
  EXPECT_EQ(ZipArchiveAddFile(zip, _T("C:\\In\\a.txt"), longest), 0u);
  EXPECT_EQ(ZipArchiveAddFile(nullptr, _T("C:\\In\\a.txt"), _T("a")), static_cast<DWORD>(kZipBadArgument));
  ZipHandle reader{kZipHandleExtract, nullptr};
  EXPECT_EQ(ZipArchiveAddFile(&reader, _T("C:\\In\\a.txt"), _T("a")), static_cast<DWORD>(kZipWrongHandle));
  EXPECT_EQ(ZipArchiveCloseWriter(&reader), static_cast<DWORD>(kZipWrongHandle));
  EXPECT_EQ(ZipArchiveClose(zip), static_cast<DWORD>(kZipWrongHandle));
  EXPECT_EQ(ZipArchiveCloseWriter(zip), 0u);
  EXPECT_EQ(ZipArchiveCloseWriter(nullptr), static_cast<DWORD>(kZipBadArgument));
  // The refused entries left nothing behind: one entry, whole.
  HZIP check = ZipArchiveOpen(_T("C:\\Out.zip"));
  ASSERT_NE(check, nullptr);
  ZipItemInfo archive{};
  ZipArchiveGetItem(check, &archive, -1);
  EXPECT_EQ(archive.index, 1);
  ZipArchiveClose(check);
  EXPECT_EQ(ZipArchiveCreate(_T("C:\\No\\Such\\Folder\\x.zip")), nullptr);
  EXPECT_EQ(ZipLastError(), static_cast<DWORD>(kZipCannotOpen));
}

TEST_F(ZipWriterTest, AnEntryPastFourGibibytesIsRefusedNotWrapped) {
  MakeFile(_T("small.txt"), "small", kWritten, kAccessed);
  // A sparse file one byte longer than 32-bit sizes hold.
  WriteHostFile(HostPath(_T("C:\\In\\huge.bin")), "");
  fs::resize_file(HostPath(_T("C:\\In\\huge.bin")), 0x100000000ull);
  HZIP zip = ZipArchiveCreate(_T("C:\\Out.zip"));
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(ZipArchiveAddFile(zip, _T("C:\\In\\huge.bin"), _T("huge.bin")), static_cast<DWORD>(kZipTooLarge));
  EXPECT_EQ(ZipArchiveAddFile(zip, _T("C:\\In\\small.txt"), _T("small.txt")), 0u);
  EXPECT_EQ(ZipArchiveCloseWriter(zip), 0u);
  EXPECT_LT(fs::file_size(HostPath(_T("C:\\Out.zip"))), 200u);
}

}  // namespace
}  // namespace zx::test
