// Special folders by CSIDL.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fileapi.h"
#include "machine_fixture.h"
#include "shlobj.h"
#include "zx/machine.h"
#include "zx/winfolders.h"

namespace {

class SpecialFolderTest : public zx::test::MachineTest {};

TEST_F(SpecialFolderTest, CsidlsNameTheMachinesFolders) {
  const std::u16string profile = u"C:\\Users\\" + zx::folders::UserName();
  struct Row {
    int csidl;
    std::u16string path;
  };
  const Row rows[] = {
      {CSIDL_APPDATA, profile + u"\\AppData\\Roaming"},
      {CSIDL_LOCAL_APPDATA, profile + u"\\AppData\\Local"},
      {CSIDL_COMMON_APPDATA, u"C:\\ProgramData"},
      {CSIDL_WINDOWS, u"C:\\Windows"},
      {CSIDL_SYSTEM, u"C:\\Windows\\System32"},
      {CSIDL_SYSTEMX86, u"C:\\Windows\\SysWOW64"},
      {CSIDL_PROGRAM_FILES, u"C:\\Program Files"},
      {CSIDL_PROGRAM_FILESX86, u"C:\\Program Files (x86)"},
      {CSIDL_PERSONAL, profile + u"\\Documents"},
      {CSIDL_DESKTOPDIRECTORY, profile + u"\\Desktop"},
      {CSIDL_FONTS, u"C:\\Windows\\Fonts"},
      {CSIDL_COMMON_DOCUMENTS, u"C:\\Users\\Public\\Documents"},
      {CSIDL_PROFILE, profile},
      {CSIDL_STARTUP, profile + u"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
  };
  for (const Row& row : rows) {
    WCHAR path[MAX_PATH] = {};
    EXPECT_TRUE(SHGetSpecialFolderPathW(nullptr, path, row.csidl, TRUE)) << row.csidl;
    EXPECT_EQ(std::u16string(path), row.path);
    const DWORD attributes = GetFileAttributesW(path);
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    WCHAR again[MAX_PATH] = {};
    EXPECT_EQ(SHGetFolderPathW(nullptr, row.csidl, nullptr, SHGFP_TYPE_CURRENT, again), S_OK);
    EXPECT_EQ(std::u16string(again), row.path);
  }
}

TEST_F(SpecialFolderTest, MissingFoldersAreMadeOnlyWhenAsked) {
  WCHAR path[MAX_PATH] = {u'#'};
  EXPECT_FALSE(SHGetSpecialFolderPathW(nullptr, path, CSIDL_STARTUP, FALSE));
  EXPECT_EQ(path[0], u'\0');
  EXPECT_EQ(SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, 0, path), E_FAIL);
  EXPECT_EQ(SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_DONT_VERIFY, nullptr, 0, path), S_OK);
  EXPECT_EQ(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, 0, path), S_OK);
  EXPECT_EQ(GetFileAttributesW(path), FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(SpecialFolderTest, UnknownCsidlsAreRefused) {
  WCHAR path[MAX_PATH];
  EXPECT_EQ(SHGetFolderPathW(nullptr, 0x00FF, nullptr, 0, path), E_INVALIDARG);
  EXPECT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, nullptr), E_INVALIDARG);
  EXPECT_FALSE(SHGetSpecialFolderPathW(nullptr, path, 0x0003, TRUE));
}

TEST_F(SpecialFolderTest, NarrowFormAnswersWindows1252) {
  char path[MAX_PATH];
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, path, CSIDL_COMMON_APPDATA, FALSE));
  EXPECT_STREQ(path, "C:\\ProgramData");
}

}  // namespace
