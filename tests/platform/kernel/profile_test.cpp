// Private-profile (ini) files: lookups, Windows' answers for short buffers, quoting, editing,
// encodings and damaged files.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "errhandlingapi.h"
#include "machine_fixture.h"
#include "profileapi.h"
#include "zx/machine.h"

namespace {

namespace fs = std::filesystem;

constexpr LPCWSTR kIni = u"C:\\Test\\app.ini";

class ProfileTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    fs::create_directories(Host());
  }
  static std::string Host(const std::string& name = "") { return zx::machine::DriveCFolder() + "/Test" + name; }
  static std::string IniBytes() { return ReadHostFile(Host("/app.ini")); }
  static void SetIni(const std::string& bytes) { WriteHostFile(Host("/app.ini"), bytes); }
  static std::u16string Get(LPCWSTR section, LPCWSTR key, LPCWSTR fallback = u"<default>") {
    WCHAR buffer[256];
    const DWORD n = GetPrivateProfileStringW(section, key, fallback, buffer, 256, kIni);
    return std::u16string(buffer, n);
  }
};

TEST_F(ProfileTest, SectionsAndKeysIgnoreCaseAndBlanks) {
  SetIni("; leading comment\r\n"
         "orphan=before any section\r\n"
         "[Settings]\r\n"
         "  Name  =  Value with  inner blanks  \r\n"
         "Empty=\r\n"
         "no equals sign\r\n"
         ";Commented=yes\r\n"
         "Dup=first\r\n"
         "dup=second\r\n"
         "\tTabbed\t=\tt\t\n"
         "[ Other ]\n"
         "key=other\n");
  EXPECT_EQ(Get(u"settings", u"NAME"), u"Value with  inner blanks");
  EXPECT_EQ(Get(u"SETTINGS", u"empty"), u"");
  EXPECT_EQ(Get(u"Settings", u"Dup"), u"first");
  EXPECT_EQ(Get(u"Settings", u"Tabbed"), u"t");
  EXPECT_EQ(Get(u"Settings", u"Commented"), u"<default>");
  EXPECT_EQ(Get(u"Settings", u";Commented"), u"<default>");
  EXPECT_EQ(Get(u"Settings", u"no equals sign"), u"<default>");
  EXPECT_EQ(Get(u"Settings", u"orphan"), u"<default>");
  EXPECT_EQ(Get(u"other", u"KEY"), u"other");
  EXPECT_EQ(Get(u"Missing", u"key"), u"<default>");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST_F(ProfileTest, MatchingQuotesAreRemoved) {
  struct Row {
    const char* written;
    std::u16string_view read;
  };
  const Row rows[] = {
      {"\"quoted\"", u"quoted"},   {"'single'", u"single"},    {"\"mixed'", u"\"mixed'"},
      {"\"", u"\""},               {"\"\"", u""},              {"  \" padded \"  ", u" padded "},
      {"\"a\" b \"c\"", u"a\" b \"c"}, {"'", u"'"},            {"x\"y\"", u"x\"y\""},
  };
  for (const Row& row : rows) {
    SetIni(std::string("[S]\r\nk=") + row.written + "\r\n");
    EXPECT_EQ(Get(u"S", u"k"), row.read) << row.written;
  }
}

TEST_F(ProfileTest, DefaultsLoseTrailingBlanks) {
  EXPECT_EQ(Get(u"S", u"k", u"  fallback  "), u"  fallback");
  EXPECT_EQ(Get(u"S", u"k", nullptr), u"");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(ProfileTest, ShortBuffersAreCutAsWindowsCutsThem) {
  SetIni("[S]\r\nk=abcdef\r\n");
  struct Row {
    DWORD size;
    DWORD result;
    std::u16string_view text;
  };
  const Row rows[] = {{1, 0, u""}, {2, 1, u"a"}, {3, 2, u"ab"}, {6, 5, u"abcde"}, {7, 6, u"abcdef"}, {50, 6, u"abcdef"}};
  for (const Row& row : rows) {
    std::u16string buffer(64, u'#');
    EXPECT_EQ(GetPrivateProfileStringW(u"S", u"k", u"", buffer.data(), row.size, kIni), row.result) << row.size;
    EXPECT_EQ(std::u16string_view(buffer.c_str()), row.text);
    EXPECT_EQ(buffer[row.size], u'#');  // nothing past the buffer
  }
  std::u16string untouched(4, u'#');
  EXPECT_EQ(GetPrivateProfileStringW(u"S", u"k", u"", untouched.data(), 0, kIni), 0u);
  EXPECT_EQ(untouched, u"####");
}

TEST_F(ProfileTest, ListsAreDoubleTerminatedAndCutShort) {
  SetIni("[one]\r\na=1\r\nb=2\r\n[two]\r\n[ONE]\r\nc=3\r\n");
  struct Row {
    DWORD size;
    DWORD result;
    std::u16string_view bytes;  // the whole buffer written, both terminators included
  };
  const Row rows[] = {
      {9, 8, std::u16string_view(u"one\0two\0\0", 9)},
      {20, 8, std::u16string_view(u"one\0two\0\0", 9)},
      {8, 6, std::u16string_view(u"one\0tw\0\0", 8)},
      {5, 3, std::u16string_view(u"one\0\0", 5)},
      {2, 0, std::u16string_view(u"\0\0", 2)},
  };
  for (const Row& row : rows) {
    std::u16string buffer(32, u'#');
    EXPECT_EQ(GetPrivateProfileStringW(nullptr, nullptr, nullptr, buffer.data(), row.size, kIni), row.result)
        << row.size;
    EXPECT_EQ(std::u16string_view(buffer).substr(0, row.bytes.size()), row.bytes) << row.size;
    std::u16string names(32, u'#');
    EXPECT_EQ(GetPrivateProfileSectionNamesW(names.data(), row.size, kIni), row.result);
    EXPECT_EQ(names, buffer);
  }
  WCHAR keys[16];
  EXPECT_EQ(GetPrivateProfileStringW(u"ONE", nullptr, nullptr, keys, 16, kIni), 4u);
  EXPECT_EQ(std::u16string(keys, 5), std::u16string(u"a\0b\0\0", 5));
  EXPECT_EQ(GetPrivateProfileStringW(u"two", nullptr, nullptr, keys, 16, kIni), 0u);
  EXPECT_EQ(std::u16string(keys, 2), std::u16string(u"\0\0", 2));
  WCHAR section[16];
  EXPECT_EQ(GetPrivateProfileSectionW(u"one", section, 16, kIni), 8u);
  EXPECT_EQ(std::u16string(section, 9), std::u16string(u"a=1\0b=2\0\0", 9));
}

TEST_F(ProfileTest, IntegersReadAsWindowsReadsThem) {
  SetIni("[N]\r\ndec=42\r\nhex=0x1F\r\nneg=-3\r\ntrail=12abc\r\nword=abc\r\nempty=\r\nquoted=\"7\"\r\n");
  struct Row {
    LPCWSTR key;
    UINT value;
  };
  const Row rows[] = {{u"dec", 42},   {u"hex", 31}, {u"neg", 0xFFFFFFFDu}, {u"trail", 12},
                      {u"word", 0},   {u"empty", 0}, {u"quoted", 7},        {u"missing", 99}};
  for (const Row& row : rows) EXPECT_EQ(GetPrivateProfileIntW(u"N", row.key, 99, kIni), row.value);
  EXPECT_EQ(GetPrivateProfileIntA("n", "DEC", 5, "C:\\Test\\app.ini"), 42u);
}

TEST_F(ProfileTest, WritingEditsInPlace) {
  SetIni("; keep me\r\n[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
  ASSERT_TRUE(WritePrivateProfileStringW(u"a", u"X", u"10", kIni));
  ASSERT_TRUE(WritePrivateProfileStringW(u"A", u"new", u"4", kIni));
  ASSERT_TRUE(WritePrivateProfileStringW(u"C", u"w", u"5", kIni));
  EXPECT_EQ(IniBytes(), "; keep me\r\n[A]\r\nX=10\r\ny=2\r\nnew=4\r\n\r\n[B]\r\nz=3\r\n[C]\r\nw=5\r\n");
  ASSERT_TRUE(WritePrivateProfileStringW(u"A", u"y", nullptr, kIni));
  ASSERT_TRUE(WritePrivateProfileStringW(u"b", nullptr, nullptr, kIni));
  ASSERT_TRUE(WritePrivateProfileStringW(u"none", u"none", nullptr, kIni));
  EXPECT_EQ(IniBytes(), "; keep me\r\n[A]\r\nX=10\r\nnew=4\r\n\r\n[C]\r\nw=5\r\n");
  ASSERT_TRUE(WritePrivateProfileSectionW(u"c", u"p=1\0q=2\0", kIni));
  EXPECT_EQ(IniBytes(), "; keep me\r\n[A]\r\nX=10\r\nnew=4\r\n\r\n[C]\r\np=1\r\nq=2\r\n");
  ASSERT_TRUE(WritePrivateProfileSectionW(u"A", nullptr, kIni));
  EXPECT_EQ(IniBytes(), "; keep me\r\n[C]\r\np=1\r\nq=2\r\n");
  EXPECT_TRUE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, kIni));  // the flush request
  EXPECT_FALSE(WritePrivateProfileStringW(nullptr, u"k", u"v", kIni));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ProfileTest, NewFilesAreWindows1252WithCrLf) {
  ASSERT_TRUE(WritePrivateProfileStringW(u"S", u"k", u"caf\u00E9 \u20AC \u4E2D", kIni));
  EXPECT_EQ(IniBytes(), "[S]\r\nk=caf\xE9 \x80 ?\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("S", "n", "\xE9t\xE9", "C:\\Test\\narrow.ini"));
  EXPECT_EQ(ReadHostFile(Host("/narrow.ini")), "[S]\r\nn=\xE9t\xE9\r\n");
  char narrow[16];
  EXPECT_EQ(GetPrivateProfileStringA("s", "K", "", narrow, 16, "C:\\Test\\app.ini"), 8u);
  EXPECT_STREQ(narrow, "caf\xE9 \x80 ?");
  EXPECT_EQ(Get(u"S", u"k"), u"caf\u00E9 \u20AC ?");
}

TEST_F(ProfileTest, Utf16FilesStayUtf16) {
  // "[S]\r\nk=\u00E9\u4E2D\r\n" as UTF-16LE after its mark.
  const std::string utf16("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\x2D\x4E\r\0\n\0", 24);
  SetIni(utf16);
  EXPECT_EQ(Get(u"s", u"K"), u"\u00E9\u4E2D");
  ASSERT_TRUE(WritePrivateProfileStringW(u"S", u"n", u"1", kIni));
  EXPECT_EQ(IniBytes(), utf16 + std::string("n\0=\0" "1\0\r\0\n\0", 10));
}

TEST_F(ProfileTest, Utf8FilesStayUtf8) {
  SetIni("\xEF\xBB\xBF[S]\nk=\xE4\xB8\xAD\n");
  EXPECT_EQ(Get(u"S", u"k"), u"\u4E2D");
  ASSERT_TRUE(WritePrivateProfileStringW(u"S", u"n", u"\u00E9", kIni));
  EXPECT_EQ(IniBytes(), "\xEF\xBB\xBF[S]\r\nk=\xE4\xB8\xAD\r\nn=\xC3\xA9\r\n");
  // Without the mark the same bytes are Windows-1252.
  SetIni("[S]\nk=\xE4\xB8\xAD\n");
  EXPECT_EQ(Get(u"S", u"k"), u"\u00E4\u00B8\u00AD");
}

TEST_F(ProfileTest, BareNamesLiveInTheWindowsFolder) {
  ASSERT_TRUE(WritePrivateProfileStringW(u"S", u"k", u"v", u"bare.ini"));
  EXPECT_EQ(ReadHostFile(zx::machine::DriveCFolder() + "/Windows/bare.ini"), "[S]\r\nk=v\r\n");
  WCHAR value[8];
  EXPECT_EQ(GetPrivateProfileStringW(u"S", u"k", u"", value, 8, u"C:\\WINDOWS\\BARE.INI"), 1u);
}

TEST_F(ProfileTest, WritesNeverLeaveAHalfFile) {
  EXPECT_FALSE(WritePrivateProfileStringW(u"S", u"k", u"v", u"C:\\Missing\\x.ini"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  // A name that cannot be read is not overwritten.
  fs::create_directories(Host("/folder.ini"));
  EXPECT_FALSE(WritePrivateProfileStringW(u"S", u"k", u"v", u"C:\\Test\\folder.ini"));
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(WritePrivateProfileStringW(u"S", u"k", u"v", kIni));
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(Host())) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"app.ini", "folder.ini"}));
}

TEST_F(ProfileTest, DamagedFilesReadCleanly) {
  const std::string damaged[] = {
      std::string("\xFF\xFE[\0S\0]", 7),  // odd length
      std::string("[S\0]\r\nk\0=v\r\n", 12),
      "[[[[\r\n]]]]\r\n=\r\n==\r\n[S]\r\n=v\r\nk==v\r\n",
      std::string(10000, '['),
      "\xFF\xFE",
      "\xEF\xBB\xBF\xC3\x28\xA0\xA1\r\n[S]\r\nk=\xF0\x28\x8C\xBC",
  };
  for (const std::string& bytes : damaged) {
    SetIni(bytes);
    WCHAR buffer[64];
    GetPrivateProfileStringW(u"S", u"k", u"", buffer, 64, kIni);
    GetPrivateProfileStringW(nullptr, nullptr, u"", buffer, 64, kIni);
    EXPECT_TRUE(WritePrivateProfileStringW(u"S", u"k", u"fixed", kIni));
    EXPECT_EQ(Get(u"S", u"k"), u"fixed");
  }
  SetIni("[S]\r\nk==v\r\n");
  EXPECT_EQ(Get(u"S", u"k"), u"=v");
}

// A file read once is kept decoded; every change made to it after that is seen, also one in
// place that keeps its size, made by another writer within the same tick of the file times.
TEST_F(ProfileTest, ReadsSeeEveryChangeOfAKeptFile) {
  const auto setModified = [](const timespec& when) {
    const timespec times[2] = {{0, UTIME_OMIT}, when};
    ASSERT_EQ(::utimensat(AT_FDCWD, Host("/app.ini").c_str(), times, 0), 0);
  };
  // The file's last change made to lie a second back, as a language file's does.
  const auto settle = [&] {
    timespec past{};
    ::clock_gettime(CLOCK_REALTIME, &past);
    past.tv_sec -= 1;
    setModified(past);
  };
  SetIni("[S]\r\nk=1\r\n");
  // A change that has not settled, however slowly this test runs: its time lies ahead.
  timespec ahead{};
  ::clock_gettime(CLOCK_REALTIME, &ahead);
  ahead.tv_sec += 60;
  setModified(ahead);
  struct stat first {};
  ASSERT_EQ(::stat(Host("/app.ini").c_str(), &first), 0);
  EXPECT_EQ(Get(u"S", u"k"), u"1");
  // Same size and inode, and the time a coarse clock would have given both writes.
  SetIni("[S]\r\nk=2\r\n");
  setModified(first.st_mtim);
  EXPECT_EQ(Get(u"S", u"k"), u"2");
  settle();
  EXPECT_EQ(Get(u"S", u"k"), u"2");
  EXPECT_EQ(Get(u"S", u"k"), u"2");  // now kept
  SetIni("[S]\r\nk=3\r\n");
  EXPECT_EQ(Get(u"S", u"k"), u"3");
  settle();
  EXPECT_EQ(Get(u"S", u"k"), u"3");
  ASSERT_TRUE(WritePrivateProfileStringW(u"S", u"k", u"4", kIni));
  EXPECT_EQ(Get(u"S", u"k"), u"4");
  EXPECT_EQ(GetPrivateProfileIntW(u"S", u"k", 0, kIni), 4u);
  fs::remove(Host("/app.ini"));
  EXPECT_EQ(Get(u"S", u"k"), u"<default>");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
