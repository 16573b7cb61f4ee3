// Path, folder and file helpers.
#include <gtest/gtest.h>

#include <filesystem>

#include "FileHelpers.h"
#include "PathHelpers.h"
#include "machine_fixture.h"
#include "cstring_printer.h"
#include "zx/machine.h"

namespace {

class PathHelpersTest : public zx::test::MachineTest {
 protected:
  std::string Host(const char* relative) const { return zx::machine::DriveCFolder() + "/" + relative; }
};

TEST(PathJoin, ExactlyOneBackslashBetweenTheParts) {
  CString path = _T("C:\\a\\");
  AppendPathComponent(path, _T("\\b"));
  EXPECT_EQ(path, CString(_T("C:\\a\\b")));
  path = _T("C:\\a");
  AppendPathComponent(path, _T("b"));
  EXPECT_EQ(path, CString(_T("C:\\a\\b")));
  path.Empty();
  AppendPathComponent(path, _T("\\name"));
  EXPECT_EQ(path, CString(_T("\\name")));
  path = _T("C:\\a");
  AppendPathComponent(path, _T(""));
  EXPECT_EQ(path, CString(_T("C:\\a")));
  EXPECT_EQ(JoinPathComponents(_T("C:\\x"), {_T("y\\"), _T("\\z"), _T("f.txt")}),
            CString(_T("C:\\x\\y\\z\\f.txt")));
  EXPECT_EQ(JoinPathComponents(_T("C:\\x"), {}), CString(_T("C:\\x")));
}

TEST_F(PathHelpersTest, CreateDirectoryTreeMakesEveryMissingParent) {
  EXPECT_EQ(CreateDirectoryTree(_T("C:\\One\\Two\\Three\\")), 1);
  EXPECT_TRUE(std::filesystem::is_directory(Host("One/Two/Three")));
  EXPECT_EQ(CreateDirectoryTree(_T("C:\\One\\Two\\Three")), 1);
  // A file in the way.
  WriteHostFile(Host("One/file"), "x");
  EXPECT_EQ(CreateDirectoryTree(_T("C:\\One\\file\\sub")), 0);
}

TEST_F(PathHelpersTest, ExistenceAndKinds) {
  WriteHostFile(Host("Data/f.txt"), "x");
  EXPECT_EQ(PathExists(_T("")), -4);
  EXPECT_EQ(PathExists(nullptr), -4);
  EXPECT_EQ(PathExists(_T("C:\\Data\\f.txt")), 1);
  EXPECT_EQ(PathExists(_T("c:\\DATA\\F.TXT")), 1);
  EXPECT_EQ(PathExists(_T("C:\\Data\\none")), 0);
  EXPECT_EQ(GetPathKind(_T("C:\\Data\\f.txt")), 1);
  EXPECT_EQ(GetPathKind(_T("C:\\Data")), 0);
  EXPECT_EQ(GetPathKind(_T("")), 0);
  EXPECT_EQ(GetPathKind(_T("C:\\Data\\none")), -1);
  EXPECT_EQ(IsFolder(_T("C:\\Data\\")), 1);
  EXPECT_EQ(IsFolder(_T("C:\\Data\\f.txt")), 0);
  EXPECT_EQ(IsFolder(_T("C:")), 0);
}

TEST(PathTrim, TrailingBackslashAndFileSpec) {
  CString path = _T("C\\");
  TrimTrailingBackslash(path, TRUE);
  EXPECT_EQ(path, CString(_T("C\\")));
  path = _T("C:\\");
  TrimTrailingBackslash(path, TRUE);
  EXPECT_EQ(path, CString(_T("C:")));
  path = _T("C:\\a\\");
  EXPECT_EQ(TrimTrailingBackslash(path, TRUE), 1);
  EXPECT_EQ(path, CString(_T("C:\\a")));
  path = _T("C:\\a\\b.txt");
  RemoveFileSpec(path);
  EXPECT_EQ(path, CString(_T("C:\\a")));
}

TEST_F(PathHelpersTest, DataFoldersLieBelowTheBrandAndKeyWords) {
  CString path;
  ASSERT_TRUE(GetUserDataSubFolder(path, _T("Logs")));
  EXPECT_EQ(path.Right(23), CString(_T("\\Zephrin\\ZephrinKX\\Logs")));
  EXPECT_EQ(PathExists(path), 1);
  CString common;
  ASSERT_TRUE(GetCommonDataFolder(common));
  EXPECT_EQ(common.Right(18), CString(_T("\\Zephrin\\ZephrinKX")));
  // A text holding a backslash is no sub-folder name.
  CString text = _T("a\\b");
  ASSERT_TRUE(GetUserDataFolder(text));
  EXPECT_EQ(text.Right(18), CString(_T("\\Zephrin\\ZephrinKX")));
  CString named = _T("Backup");
  ASSERT_TRUE(GetUserDataFolder(named));
  EXPECT_EQ(named.Right(7), CString(_T("\\Backup")));
  EXPECT_EQ(GetProductSubPath(), CString(_T("Zephrin\\ZephrinKX")));
}

TEST_F(PathHelpersTest, ModuleAndProgramFolders) {
  CString folder;
  GetModuleFolder(nullptr, folder);
  CString program;
  EXPECT_EQ(GetProgramFolder(program), 0);
  EXPECT_EQ(program, folder + _T("\\"));
  EXPECT_EQ(PathExists(folder), 1);
}

TEST_F(PathHelpersTest, FileNamesInsideACommandLine) {
  WriteHostFile(Host("Tools/run me.exe"), "x");
  EXPECT_TRUE(FindFileInCommandText(_T("C:\\Tools\\run me.exe")));
  EXPECT_TRUE(FindFileInCommandText(_T("\"C:\\Tools\\run me.exe\" -schedule")));
  EXPECT_FALSE(FindFileInCommandText(_T("open C:\\Tools")));
  EXPECT_FALSE(FindFileInCommandText(_T("C:\\Tools\\missing.exe /x")));
  EXPECT_FALSE(FindFileInCommandText(_T("")));
}

TEST(PathSpec, WildcardsIgnoreCase) {
  EXPECT_TRUE(MatchFileSpec("*.INF", "oem12.inf"));
  EXPECT_TRUE(MatchFileSpec("*.cab;*.zip", "driver.ZIP"));
  EXPECT_FALSE(MatchFileSpec("*.inf", "driver.sys"));
}

TEST_F(PathHelpersTest, ShellDeleteRefusesPathsItWouldCut) {
  WriteHostFile(Host("Keep/inner/f.txt"), "x");
  const CString inner = _T("C:\\Keep\\inner");
  // A length shorter than the text would name the parent folder.
  EXPECT_EQ(ShellDeletePath(inner, 7, FALSE), 0);
  EXPECT_TRUE(std::filesystem::exists(Host("Keep/inner/f.txt")));
  CString longPath = _T("C:\\Keep\\");
  while (longPath.GetLength() < 600) longPath += _T("x");
  EXPECT_EQ(ShellDeletePath(longPath, longPath.GetLength(), FALSE), 0);
  EXPECT_TRUE(std::filesystem::exists(Host("Keep")));
  EXPECT_EQ(ShellDeletePath(inner, inner.GetLength(), FALSE), 1);
  EXPECT_FALSE(std::filesystem::exists(Host("Keep/inner")));
  EXPECT_TRUE(std::filesystem::exists(Host("Keep")));
}

TEST_F(PathHelpersTest, TheShellRecordRefusesLongPaths) {
  CShellFileOperation operation;
  EXPECT_EQ(operation.m_op.fFlags, 0x4654);
  WriteHostFile(Host("f.txt"), "x");
  CString longPath = _T("C:\\");
  while (longPath.GetLength() <= MAX_PATH) longPath += _T("y");
  // A refusal is told apart from the shell's success (0).
  EXPECT_EQ(operation.Delete(longPath, longPath.GetLength()), ERROR_FILENAME_EXCED_RANGE);
  EXPECT_EQ(operation.Delete(_T(""), 0), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(operation.Delete(nullptr, 0), ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(std::filesystem::exists(Host("f.txt")));
  EXPECT_EQ(operation.Delete(_T("C:\\f.txt"), 8), 0);
  EXPECT_FALSE(std::filesystem::exists(Host("f.txt")));
}

TEST_F(PathHelpersTest, MovesIntoAFolder) {
  WriteHostFile(Host("src/a.txt"), "a");
  ASSERT_EQ(CreateDirectoryTree(_T("C:\\dst")), 1);
  EXPECT_EQ(MoveIntoFolder(_T("C:\\src\\a.txt"), _T("C:\\dst")), 1);
  EXPECT_EQ(ReadHostFile(Host("dst/a.txt")), "a");
  EXPECT_EQ(MoveWithShell(_T("C:\\dst\\a.txt"), _T("C:\\src\\b.txt")), 1);
  EXPECT_EQ(ReadHostFile(Host("src/b.txt")), "a");
  EXPECT_EQ(MoveWithShell(_T("C:\\nothing.txt"), _T("C:\\x.txt")), 0);
}

TEST_F(PathHelpersTest, LockedFiles) {
  WriteHostFile(Host("lock.bin"), "x");
  EXPECT_EQ(IsFileLocked(_T("C:\\lock.bin")), 0);
  EXPECT_EQ(IsFileLocked(_T("C:\\")), -1);
  EXPECT_EQ(IsFileLocked(_T("C:\\none.bin")), -1);
  HANDLE held = CreateFileW(_T("C:\\lock.bin"), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(IsFileLocked(_T("C:\\lock.bin")), 1);
  CloseHandle(held);
  // A read-only file is tested and keeps its attribute.
  SetFileAttributesW(_T("C:\\lock.bin"), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(IsFileLocked(_T("C:\\lock.bin")), 0);
  EXPECT_NE(GetFileAttributesW(_T("C:\\lock.bin")) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST(BufferCopy, HoldsTheTextAndTwoTerminators) {
  LPTSTR copy = nullptr;
  ASSERT_TRUE(CopyToNewBuffer(_T("abc"), &copy));
  EXPECT_EQ(CString(copy), CString(_T("abc")));
  EXPECT_EQ(copy[4], 0);
  delete[] copy;
}

}  // namespace
