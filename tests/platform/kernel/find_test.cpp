// Folder listings (FindFirstFile, FindNextFile, FindClose) and Windows wildcard matching.
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "errhandlingapi.h"
#include "fileapi.h"
#include "handleapi.h"
#include "machine_fixture.h"
#include "zx/handles.h"
#include "zx/machine.h"
#include "zx/wildcard.h"

namespace {

class FindTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    const std::string folder = zx::machine::DriveCFolder() + "/Data";
    for (const char* name : {"a.txt", "B.TXT", "readme", "c.log", "archive.tar.gz"}) WriteHostFile(folder + "/" + name, name);
    std::filesystem::create_directories(folder + "/sub");
  }
  // Every name the listing answers, in order; "<error n>" when FindFirstFile fails.
  static std::vector<std::u16string> List(std::u16string_view pattern) {
    WIN32_FIND_DATAW data{};
    const std::u16string text(pattern);
    HANDLE find = FindFirstFileW(text.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return {u"<error " + Number(GetLastError()) + u">"};
    std::vector<std::u16string> names;
    do {
      names.emplace_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(find));
    return names;
  }
  static std::u16string Number(DWORD value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
  }
  using Names = std::vector<std::u16string>;
};

TEST_F(FindTest, WildcardsMatchWithoutRegardToCase) {
  struct Row {
    std::u16string_view pattern;
    Names names;
  };
  const Row rows[] = {
      {u"C:\\Data\\*", {u".", u"..", u"a.txt", u"archive.tar.gz", u"B.TXT", u"c.log", u"readme", u"sub"}},
      {u"C:\\Data\\*.*", {u".", u"..", u"a.txt", u"archive.tar.gz", u"B.TXT", u"c.log", u"readme", u"sub"}},
      {u"c:\\data\\*.txt", {u"a.txt", u"B.TXT"}},
      {u"C:\\Data\\?.TxT", {u"a.txt", u"B.TXT"}},
      {u"C:\\Data\\*.gz", {u"archive.tar.gz"}},
      {u"C:\\Data\\*.tar", {u"<error 2>"}},
      {u"C:\\Data\\readme.*", {u"readme"}},
      {u"C:\\Data\\r*", {u"readme"}},
      {u"C:\\Data\\*e*", {u"archive.tar.gz", u"readme"}},
      {u"C:\\Data\\??????", {u"readme"}},
      {u"C:\\Data\\???", {u"sub"}},
      {u"C:/Data/*.LOG", {u"c.log"}},
      {u"C:\\Data\\nothing*", {u"<error 2>"}},
  };
  for (const Row& row : rows) EXPECT_EQ(List(row.pattern), row.names) << std::string(row.pattern.begin(), row.pattern.end());
}

TEST_F(FindTest, APlainNameFindsTheEntryAsSpelledOnDisk) {
  EXPECT_EQ(List(u"C:\\DATA\\A.TXT"), Names{u"a.txt"});
  EXPECT_EQ(List(u"C:\\Data\\SUB"), Names{u"sub"});
  EXPECT_EQ(List(u"c:\\data"), Names{u"Data"});
  EXPECT_EQ(List(u"C:\\Data\\readme."), Names{u"readme"});
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW(u"C:\\Data\\sub", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
  FindClose(find);
  find = FindFirstFileW(u"C:\\Data\\archive.tar.gz", &data);
  EXPECT_EQ(data.nFileSizeLow, 14u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(data.cAlternateFileName[0], u'\0');
  FindClose(find);
}

TEST_F(FindTest, DotEntriesAppearBelowTheRootOnly) {
  const Names root = List(u"C:\\*");
  EXPECT_EQ(root.front(), u"Data");
  for (const std::u16string& name : root) {
    EXPECT_NE(name, u".");
    EXPECT_NE(name, u"..");
  }
  EXPECT_EQ(List(u"C:\\Data\\sub\\*"), (Names{u".", u".."}));
  EXPECT_NE(List(u"Z:\\*").front(), u".");
}

TEST_F(FindTest, RelativePatternsUseTheCurrentFolder) {
  ASSERT_TRUE(SetCurrentDirectoryW(u"C:\\Data"));
  EXPECT_EQ(List(u"*.log"), Names{u"c.log"});
  EXPECT_EQ(List(u"C:*.log"), Names{u"c.log"});
  EXPECT_EQ(List(u"sub\\..\\b.*"), Names{u"B.TXT"});
}

TEST_F(FindTest, FailuresSayWhy) {
  EXPECT_EQ(List(u"C:\\None\\*"), Names{u"<error 3>"});
  EXPECT_EQ(List(u"C:\\Data\\a.txt\\*"), Names{u"<error 3>"});
  EXPECT_EQ(List(u"C:\\Data\\"), Names{u"<error 2>"});
  EXPECT_EQ(List(u"C:\\Data\\a|b"), Names{u"<error 123>"});
  EXPECT_EQ(List(u"\\\\server\\share\\*"), Names{u"<error 53>"});
  EXPECT_EQ(FindFirstFileW(nullptr, nullptr), INVALID_HANDLE_VALUE);
  WIN32_FIND_DATAW data{};
  EXPECT_FALSE(FindNextFileW(reinterpret_cast<HANDLE>(0x7FF0), &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
  // A file handle is no find handle.
  HANDLE file = CreateFileW(u"C:\\Data\\a.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_FALSE(FindClose(file));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  CloseHandle(file);
}

TEST_F(FindTest, NamesWindowsCannotSpellAreLeftOut) {
  const std::string folder = zx::machine::DriveCFolder() + "/Odd";
  WriteHostFile(folder + "/\xFF\xFE.bin", "x");
  WriteHostFile(folder + "/a:b", "x");
  WriteHostFile(folder + "/back\\slash", "x");
  WriteHostFile(folder + "/ok.bin", "x");
  EXPECT_EQ(List(u"C:\\Odd\\*"), (Names{u".", u"..", u"ok.bin"}));
}

TEST_F(FindTest, TheListingIsASnapshotAndHandlesAreReleased) {
  const std::size_t before = zx::OpenHandleCount();
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW(u"C:\\Data\\*.txt", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_EQ(zx::OpenHandleCount(), before + 1);
  ASSERT_TRUE(DeleteFileW(u"C:\\Data\\B.TXT"));
  EXPECT_TRUE(FindNextFileW(find, &data));
  EXPECT_EQ(std::u16string(data.cFileName), u"B.TXT");
  EXPECT_FALSE(FindNextFileW(find, &data));
  EXPECT_FALSE(FindNextFileW(find, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(find));
  EXPECT_EQ(zx::OpenHandleCount(), before);
}

TEST_F(FindTest, NarrowFormsAnswerWindows1252) {
  WriteHostFile(zx::machine::DriveCFolder() + "/Data/caf\xC3\xA9.txt", "x");
  WriteHostFile(zx::machine::DriveCFolder() + "/Data/\xE4\xB8\xAD.txt", "x");
  WIN32_FIND_DATAA data{};
  HANDLE find = FindFirstFileA("C:\\Data\\c*.txt", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(data.cFileName, "caf\xE9.txt");
  FindClose(find);
  find = FindFirstFileA("C:\\Data\\?.txt", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  std::vector<std::string> names;
  do {
    names.emplace_back(data.cFileName);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  // The name the code page cannot spell reads as '?', as Windows answers it.
  EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "B.TXT", "?.txt"}));
}

TEST(FindDataLayout, MatchesWindows) {
  EXPECT_EQ(sizeof(WIN32_FIND_DATAW), 592u);
  EXPECT_EQ(offsetof(WIN32_FIND_DATAW, ftCreationTime), 4u);
  EXPECT_EQ(offsetof(WIN32_FIND_DATAW, nFileSizeHigh), 28u);
  EXPECT_EQ(offsetof(WIN32_FIND_DATAW, cFileName), 44u);
  EXPECT_EQ(offsetof(WIN32_FIND_DATAW, cAlternateFileName), 564u);
  EXPECT_EQ(sizeof(WIN32_FIND_DATAA), 320u);
  EXPECT_EQ(offsetof(WIN32_FIND_DATAA, cAlternateFileName), 304u);
  EXPECT_EQ(sizeof(WIN32_FILE_ATTRIBUTE_DATA), 36u);
  EXPECT_EQ(sizeof(OVERLAPPED), 32u);
}

TEST(Wildcard, MatchesAsWindows) {
  struct Row {
    std::u16string_view pattern;
    std::u16string_view name;
    bool matches;
  };
  const Row rows[] = {
      {u"*", u"anything", true},          {u"*.*", u"noext", true},       {u"*.*", u"a.b.c", true},
      {u"*.txt", u"A.TXT", true},         {u"*.txt", u"a.txt.bak", false}, {u"*.txt", u".txt", true},
      {u"a?c", u"abc", true},             {u"a?c", u"ac", false},          {u"a?c", u"abbc", false},
      {u"*.", u"readme", true},           {u"*.", u"read.me", false},      {u"readme.*", u"README", true},
      {u"readme.*", u"readme.txt", true}, {u"readme.*", u"readmex", false}, {u"*a*b*", u"xxaxxbxx", true},
      {u"*a*b*", u"xxbxxaxx", false},     {u"**", u"", true},              {u"", u"", true},
      {u"", u"a", false},                 {u"?", u"", false},              {u"\u00C9T\u00C9", u"\u00E9t\u00E9", true},
      {u"*ab", u"aab", true},             {u"a*a*a*a*b", u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
  };
  for (const Row& row : rows)
    EXPECT_EQ(zx::MatchWildcard(row.pattern, row.name), row.matches)
        << std::string(row.pattern.begin(), row.pattern.end()) << " / " << std::string(row.name.begin(), row.name.end());
}

}  // namespace
