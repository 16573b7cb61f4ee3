// SHFileOperation: copying, moving, renaming and deleting lists of files and folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "fileapi.h"
#include "machine_fixture.h"
#include "shellapi.h"
#include "zx/machine.h"

namespace {

namespace fs = std::filesystem;

constexpr FILEOP_FLAGS kQuiet = FOF_NO_UI;
constexpr FILEOP_FLAGS kToRecycleBin = 0x4654;  // the flags system code deletes with

class FileOperationTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    WriteHostFile(Host("/src/a.txt"), "a");
    WriteHostFile(Host("/src/b.log"), "b");
    WriteHostFile(Host("/src/tree/deep/c.txt"), "c");
  }
  static std::string Host(const std::string& belowDrive) { return zx::machine::DriveCFolder() + belowDrive; }
  // Runs the operation; the lists are given with '|' between entries.
  static int Run(UINT function, std::u16string from, std::u16string to, FILEOP_FLAGS flags, BOOL* aborted = nullptr) {
    for (char16_t& c : from) c = c == u'|' ? u'\0' : c;
    for (char16_t& c : to) c = c == u'|' ? u'\0' : c;
    from.append(2, u'\0');
    to.append(2, u'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = function;
    op.pFrom = from.c_str();
    op.pTo = to.size() > 2 ? to.c_str() : nullptr;
    op.fFlags = flags;
    op.fAnyOperationsAborted = 7;
    const int result = SHFileOperationW(&op);
    if (aborted != nullptr) *aborted = op.fAnyOperationsAborted;
    return result;
  }
};

TEST(FileOperationLayout, MatchesWindows) {
  EXPECT_EQ(sizeof(SHFILEOPSTRUCTW), 56u);
  EXPECT_EQ(offsetof(SHFILEOPSTRUCTW, pFrom), 16u);
  EXPECT_EQ(offsetof(SHFILEOPSTRUCTW, fFlags), 32u);
  EXPECT_EQ(offsetof(SHFILEOPSTRUCTW, fAnyOperationsAborted), 36u);
  EXPECT_EQ(FOF_NO_UI, 0x0614);
}

TEST_F(FileOperationTest, CopiesFilesAndFoldersWithTheirContents) {
  BOOL aborted = 7;
  EXPECT_EQ(Run(FO_COPY, u"C:\\src\\a.txt|C:\\src\\tree", u"C:\\dst", kQuiet, &aborted), 0);
  EXPECT_FALSE(aborted);
  EXPECT_EQ(ReadHostFile(Host("/dst/a.txt")), "a");
  EXPECT_EQ(ReadHostFile(Host("/dst/tree/deep/c.txt")), "c");
  EXPECT_TRUE(fs::exists(Host("/src/tree/deep/c.txt")));
  // A single file onto a new name.
  EXPECT_EQ(Run(FO_COPY, u"C:\\src\\b.log", u"C:\\dst\\renamed.log", kQuiet), 0);
  EXPECT_EQ(ReadHostFile(Host("/dst/renamed.log")), "b");
  // Wildcards, and an existing file is overwritten.
  WriteHostFile(Host("/dst/a.txt"), "old");
  EXPECT_EQ(Run(FO_COPY, u"C:\\src\\*.txt", u"C:\\dst", kQuiet), 0);
  EXPECT_EQ(ReadHostFile(Host("/dst/a.txt")), "a");
  EXPECT_FALSE(fs::exists(Host("/dst/b.log")));
}

TEST_F(FileOperationTest, MultipleDestinationsPairWithTheSources) {
  EXPECT_EQ(Run(FO_COPY, u"C:\\src\\a.txt|C:\\src\\b.log", u"C:\\one\\x.txt|C:\\two\\y.log", kQuiet | FOF_MULTIDESTFILES), 0);
  EXPECT_EQ(ReadHostFile(Host("/one/x.txt")), "a");
  EXPECT_EQ(ReadHostFile(Host("/two/y.log")), "b");
  EXPECT_EQ(Run(FO_COPY, u"C:\\src\\a.txt|C:\\src\\b.log", u"C:\\one\\x.txt|C:\\two\\y.log|C:\\z", kQuiet | FOF_MULTIDESTFILES),
            ERROR_INVALID_PARAMETER);
}

TEST_F(FileOperationTest, MovesMergeAndRenameOnCollision) {
  EXPECT_EQ(Run(FO_MOVE, u"C:\\src\\tree", u"C:\\moved", kQuiet), 0);
  EXPECT_FALSE(fs::exists(Host("/src/tree")));
  EXPECT_EQ(ReadHostFile(Host("/moved/deep/c.txt")), "c");
  // Into an existing folder of the same name: the folders merge.
  WriteHostFile(Host("/back/moved/other.txt"), "o");
  EXPECT_EQ(Run(FO_MOVE, u"C:\\moved", u"C:\\back", kQuiet), 0);
  EXPECT_EQ(ReadHostFile(Host("/back/moved/deep/c.txt")), "c");
  EXPECT_EQ(ReadHostFile(Host("/back/moved/other.txt")), "o");
  EXPECT_FALSE(fs::exists(Host("/moved")));
  // The flags system code moves a file into a folder with.
  WriteHostFile(Host("/into/a.txt"), "first");
  EXPECT_EQ(Run(FO_MOVE, u"C:\\src\\a.txt", u"C:\\into\\a.txt", 0x465C), 0);
  EXPECT_EQ(ReadHostFile(Host("/into/a.txt")), "first");
  EXPECT_EQ(ReadHostFile(Host("/into/a (2).txt")), "a");
  EXPECT_FALSE(fs::exists(Host("/src/a.txt")));
  // A folder cannot go into itself.
  EXPECT_EQ(Run(FO_MOVE, u"C:\\back", u"C:\\back\\moved\\inner", kQuiet), ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(fs::exists(Host("/back/moved/other.txt")));
}

TEST_F(FileOperationTest, RenamesRefuseAnExistingTarget) {
  EXPECT_EQ(Run(FO_RENAME, u"C:\\src\\a.txt", u"new.txt", kQuiet), 0);
  EXPECT_EQ(ReadHostFile(Host("/src/new.txt")), "a");
  BOOL aborted = FALSE;
  EXPECT_EQ(Run(FO_RENAME, u"C:\\src\\new.txt", u"C:\\src\\b.log", kQuiet, &aborted), ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(aborted);
  EXPECT_EQ(Run(FO_RENAME, u"C:\\src\\new.txt|C:\\src\\b.log", u"x", kQuiet), ERROR_INVALID_PARAMETER);
}

TEST_F(FileOperationTest, DeletesForeverOrIntoTheRecycleBin) {
  ASSERT_TRUE(SetFileAttributesW(u"C:\\src\\tree\\deep\\c.txt", FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Run(FO_DELETE, u"C:\\src\\tree", u"", 0x4414), 0);
  EXPECT_FALSE(fs::exists(Host("/src/tree")));
  EXPECT_FALSE(fs::exists(Host("/$Recycle.Bin")));

  EXPECT_EQ(Run(FO_DELETE, u"C:\\src\\a.txt|C:\\src\\b.log", u"", kToRecycleBin), 0);
  EXPECT_FALSE(fs::exists(Host("/src/a.txt")));
  std::vector<std::string> recycled;
  for (const auto& entry : fs::recursive_directory_iterator(Host("/$Recycle.Bin")))
    if (entry.is_regular_file()) recycled.push_back(ReadHostFile(entry.path().string()) + " " + entry.path().filename().string());
  std::sort(recycled.begin(), recycled.end());
  EXPECT_EQ(recycled, (std::vector<std::string>{"a a.txt", "b b.log"}));
}

TEST_F(FileOperationTest, DeleteFailuresLeaveTheRest) {
  BOOL aborted = FALSE;
  EXPECT_EQ(Run(FO_DELETE, u"C:\\src\\none.txt", u"", kQuiet, &aborted), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(aborted);
  EXPECT_EQ(Run(FO_DELETE, u"C:\\", u"", kQuiet), ERROR_ACCESS_DENIED);
  EXPECT_EQ(Run(FO_DELETE, u"", u"", kQuiet), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Run(7, u"C:\\src\\a.txt", u"", kQuiet), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(SHFileOperationW(nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(fs::exists(Host("/src/a.txt")));
  // Wildcards that match nothing do nothing.
  EXPECT_EQ(Run(FO_DELETE, u"C:\\src\\*.none", u"", kQuiet), 0);
}

TEST_F(FileOperationTest, DeletingALinkKeepsWhatItNames) {
  fs::create_directory_symlink(Host("/src/tree"), Host("/link"));
  EXPECT_EQ(Run(FO_DELETE, u"C:\\link", u"", kQuiet), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(Host("/link"))));
  EXPECT_TRUE(fs::exists(Host("/src/tree/deep/c.txt")));
}

}  // namespace
