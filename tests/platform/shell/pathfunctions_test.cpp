// The light-weight shell library's path and string helpers.
#include <gtest/gtest.h>

#include <string>

#include "machine_fixture.h"
#include "shlwapi.h"
#include "zx/machine.h"

namespace {

TEST(PathMatchSpec, MatchesListsWithoutRegardToCase) {
  struct Row {
    std::u16string_view file;
    std::u16string_view patterns;
    bool matches;
  };
  const Row rows[] = {
      {u"setup.INF", u"*.inf", true},           {u"setup.inf", u"*.sys;*.inf", true},
      {u"setup.inf", u"*.sys; *.inf", true},    {u"setup.inf", u"*.sys;*.cat", false},
      {u"C:\\drv\\a.inf", u"*.inf", true},      {u"readme", u"*.*", true},
      {u"readme", u"", false},                  {u"a.b", u";;a.?", true},
      {u"oem12.inf", u"OEM??.INF", true},       {u"oem123.inf", u"oem??.inf", false},
  };
  for (const Row& row : rows) {
    const std::u16string file(row.file), patterns(row.patterns);
    EXPECT_EQ(PathMatchSpecW(file.c_str(), patterns.c_str()), row.matches ? TRUE : FALSE)
        << std::string(patterns.begin(), patterns.end());
  }
  EXPECT_TRUE(PathMatchSpecA("caf\xC9.TXT", "CAF\xE9.*"));
  EXPECT_FALSE(PathMatchSpecW(nullptr, u"*"));
}

TEST(PathRemoveFileSpec, CutsTheLastComponent) {
  struct Row {
    std::u16string_view in;
    std::u16string_view out;
    BOOL result;
  };
  const Row rows[] = {
      {u"C:\\dir\\file.txt", u"C:\\dir", TRUE}, {u"C:\\file.txt", u"C:\\", TRUE}, {u"C:\\", u"C:\\", FALSE},
      {u"C:\\dir\\", u"C:\\dir", TRUE},         {u"file.txt", u"", TRUE},         {u"\\file", u"\\", TRUE},
      {u"C:file", u"C:", TRUE},                 {u"", u"", FALSE},                {u"a/b", u"a", TRUE},
  };
  for (const Row& row : rows) {
    WCHAR buffer[MAX_PATH] = {};
    row.in.copy(buffer, row.in.size());
    EXPECT_EQ(PathRemoveFileSpecW(buffer), row.result) << std::string(row.in.begin(), row.in.end());
    EXPECT_EQ(std::u16string_view(buffer), row.out);
  }
}

TEST(PathParts, FileNameAndExtension) {
  const WCHAR path[] = u"C:\\dir.d\\name.tar.gz";
  EXPECT_EQ(PathFindFileNameW(path), path + 9);
  EXPECT_EQ(PathFindExtensionW(path), path + 17);
  EXPECT_EQ(std::u16string_view(PathFindFileNameW(u"C:\\dir\\")), u"dir\\");
  EXPECT_EQ(std::u16string_view(PathFindFileNameW(u"C:name")), u"name");
  EXPECT_EQ(std::u16string_view(PathFindFileNameW(u"plain")), u"plain");
  const WCHAR noExtension[] = u"C:\\dir.d\\name";
  EXPECT_EQ(PathFindExtensionW(noExtension), noExtension + 13);
  EXPECT_EQ(std::u16string_view(PathFindExtensionW(u"a.b c")), u"");
  EXPECT_EQ(PathFindExtensionW(nullptr), nullptr);
}

TEST(PathParts, AddBackslashAndAppend) {
  WCHAR path[MAX_PATH] = u"C:\\dir";
  LPWSTR end = PathAddBackslashW(path);
  EXPECT_EQ(std::u16string_view(path), u"C:\\dir\\");
  EXPECT_EQ(end, path + 7);
  EXPECT_EQ(PathAddBackslashW(path), path + 7);

  struct Row {
    std::u16string_view base;
    std::u16string_view more;
    std::u16string_view joined;
  };
  const Row rows[] = {
      {u"C:\\dir", u"file.txt", u"C:\\dir\\file.txt"}, {u"C:\\dir\\", u"\\file.txt", u"C:\\dir\\file.txt"},
      {u"C:\\a\\b", u"..\\c", u"C:\\a\\c"},             {u"C:\\", u"..\\..\\x", u"C:\\x"},
      {u"name_1\\name_2", u"..\\name_3", u"name_1\\name_3"}, {u"C:\\a", u".\\b\\.\\c", u"C:\\a\\b\\c"},
      {u"", u"x", u"x"},                                 {u"C:\\a", u"", u"C:\\a"},
  };
  for (const Row& row : rows) {
    WCHAR buffer[MAX_PATH] = {};
    row.base.copy(buffer, row.base.size());
    const std::u16string more(row.more);
    EXPECT_TRUE(PathAppendW(buffer, more.c_str()));
    EXPECT_EQ(std::u16string_view(buffer), row.joined);
  }
  // 258 characters take a backslash; 259 are full.
  WCHAR full[MAX_PATH] = {};
  std::u16string(MAX_PATH - 2, u'a').copy(full, MAX_PATH - 2);
  EXPECT_EQ(PathAddBackslashW(full), full + MAX_PATH - 1);
  full[MAX_PATH - 2] = u'a';
  EXPECT_EQ(PathAddBackslashW(full), nullptr);
  EXPECT_FALSE(PathAppendW(full, u"more"));
  EXPECT_EQ(std::u16string_view(full).size(), static_cast<std::size_t>(MAX_PATH - 1));
}

TEST(PathParts, RemoveBackslashKeepsTheRoot) {
  WCHAR path[MAX_PATH] = u"C:\\dl\\e1c\\";
  LPWSTR end = PathRemoveBackslashW(path);
  EXPECT_EQ(std::u16string(path), u"C:\\dl\\e1c");
  EXPECT_EQ(end, path + 9);
  EXPECT_EQ(*end, u'\0');
  end = PathRemoveBackslashW(path);
  EXPECT_EQ(std::u16string(path), u"C:\\dl\\e1c") << "only a trailing backslash goes";
  EXPECT_EQ(end, path + 8) << "the last character when nothing was removed";
  for (const char16_t* root : {u"C:\\", u"\\", u"\\\\"}) {
    std::u16string text = root;
    WCHAR buffer[MAX_PATH] = {};
    text.copy(buffer, text.size());
    EXPECT_EQ(PathRemoveBackslashW(buffer), buffer + text.size() - 1);
    EXPECT_EQ(std::u16string(buffer), text) << "a root keeps its backslash";
  }
  WCHAR twice[MAX_PATH] = u"C:\\dl\\\\";
  PathRemoveBackslashW(twice);
  EXPECT_EQ(std::u16string(twice), u"C:\\dl\\") << "one backslash per call";
  WCHAR empty[4] = {};
  EXPECT_EQ(PathRemoveBackslashW(empty), empty);
  EXPECT_EQ(PathRemoveBackslashW(nullptr), nullptr);
}

TEST(PathParts, RelativeAndCompare) {
  EXPECT_TRUE(PathIsRelativeW(u"dir\\file"));
  EXPECT_TRUE(PathIsRelativeW(u""));
  EXPECT_FALSE(PathIsRelativeW(u"C:\\x"));
  EXPECT_FALSE(PathIsRelativeW(u"C:x"));
  EXPECT_FALSE(PathIsRelativeW(u"\\x"));
  EXPECT_EQ(StrCmpIW(u"Hello", u"hELLO"), 0);
  EXPECT_LT(StrCmpIW(u"apple", u"Banana"), 0);
  EXPECT_GT(StrCmpIW(u"\u00C9t\u00E9", u"ETE"), 0);
}

class PathFileExistsTest : public zx::test::MachineTest {};

TEST_F(PathFileExistsTest, AsksTheFileSystem) {
  WriteHostFile(zx::machine::DriveCFolder() + "/Windows/INF/oem1.inf", "x");
  EXPECT_TRUE(PathFileExistsW(u"c:\\windows\\inf\\OEM1.INF"));
  EXPECT_TRUE(PathFileExistsW(u"C:\\Windows"));
  EXPECT_FALSE(PathFileExistsW(u"C:\\Windows\\INF\\oem2.inf"));
  EXPECT_FALSE(PathFileExistsW(nullptr));
}

}  // namespace
