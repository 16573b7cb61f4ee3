// Entry names made safe and the test that a path stays inside its folder.
#include <gtest/gtest.h>

#include "ArchivePaths.h"
#include "cstring_printer.h"

namespace {

TEST(SafeEntryNameTest, NamesThatTryToLeaveStayInside) {
  EXPECT_EQ(MakeSafeEntryName(_T("..\\..\\windows\\x.sys")), CString(_T("windows\\x.sys")));
  EXPECT_EQ(MakeSafeEntryName(_T("C:\\x.sys")), CString(_T("x.sys")));
  EXPECT_EQ(MakeSafeEntryName(_T("../x")), CString(_T("x")));
  EXPECT_EQ(MakeSafeEntryName(_T("/abs/x")), CString(_T("abs\\x")));
  EXPECT_EQ(MakeSafeEntryName(_T("\\\\server\\share\\x")), CString(_T("server\\share\\x")));
  EXPECT_EQ(MakeSafeEntryName(_T("a/../../b")), CString(_T("b")));
  EXPECT_EQ(MakeSafeEntryName(_T("a/b/../c")), CString(_T("a\\c")));
  EXPECT_EQ(MakeSafeEntryName(_T("C:D:..\\x")), CString(_T("x")));
  EXPECT_EQ(MakeSafeEntryName(_T("a/.../x")), CString(_T("x")));
  EXPECT_EQ(MakeSafeEntryName(_T("./a/./b.txt")), CString(_T("a\\b.txt")));
  EXPECT_EQ(MakeSafeEntryName(_T("..")), CString());
  EXPECT_EQ(MakeSafeEntryName(_T("")), CString());
}

TEST(PathInsideFolderTest, ResolvesStepsBeforeComparing) {
  EXPECT_TRUE(IsPathInsideFolder(_T("C:\\pkg\\out\\"), _T("C:\\pkg\\out\\a\\b.txt")));
  EXPECT_TRUE(IsPathInsideFolder(_T("C:\\pkg\\out"), _T("c:\\PKG\\Out\\b.txt")));
  EXPECT_FALSE(IsPathInsideFolder(_T("C:\\pkg\\out\\"), _T("C:\\pkg\\out\\..\\b.txt")));
  EXPECT_FALSE(IsPathInsideFolder(_T("C:\\pkg\\out\\"), _T("C:\\pkg\\outside\\b.txt")));
  EXPECT_FALSE(IsPathInsideFolder(_T("C:\\pkg\\out\\"), _T("C:\\pkg\\out\\")));
  EXPECT_FALSE(IsPathInsideFolder(_T("C:\\pkg\\out\\"), _T("D:\\pkg\\out\\b.txt")));
}

}  // namespace
