// Protected places and file types.
#include <gtest/gtest.h>

#include "ProtectedLocations.h"
#include "cstring_printer.h"
#include "machine_fixture.h"

namespace {

class ClassifierTest : public zx::test::MachineTest {
 protected:
  void FileProtection(bool running) {
    WriteHostFile(root() + "/machine.ini",
                  running ? "[Machine]\nFileProtection=1\n" : "[Machine]\nFileProtection=0\n");
  }
};

TEST(ProtectedPaths, SystemFoldersAndHiveNamesAreProtected) {
  EXPECT_FALSE(IsUnprotectedPath(_T("C:\\Windows\\System32\\drivers\\x.sys")));
  EXPECT_FALSE(IsUnprotectedPath(_T("C:\\WINDOWS\\SYSTEM32\\X.DLL")));
  EXPECT_FALSE(IsUnprotectedPath(_T("C:\\Documents and Settings\\u\\NTUSER.DAT")));
  EXPECT_FALSE(IsUnprotectedPath(_T("C:\\Program Files\\Common Files\\x.txt")));
  EXPECT_TRUE(IsUnprotectedPath(_T("D:\\Docs\\report.txt")));
}

TEST(ProtectedPaths, WordsWithoutABackslashMatchAnywhere) {
  EXPECT_FALSE(IsUnprotectedPath(_T("D:\\Docs\\system report.txt")));
  EXPECT_FALSE(IsUnprotectedPath(_T("D:\\Default\\a.txt")));
  EXPECT_FALSE(IsUnprotectedPath(_T("D:\\Samples\\a.txt")));  // "sam"
}

TEST(ProtectedPaths, RecycleFoldersCountOnlyRightAfterTheDrive) {
  EXPECT_FALSE(IsUnprotectedPath(_T("E:\\RECYCLER\\f.doc")));
  EXPECT_TRUE(IsUnprotectedPath(_T("E:\\old\\recycler\\f.doc")));
}

TEST(ProtectedPaths, AnEmptyPathIsUnprotected) {
  EXPECT_TRUE(IsUnprotectedPath(_T("")));
  EXPECT_TRUE(IsUnprotectedFile(_T("")));
  EXPECT_FALSE(IsSensitiveFileType(_T("")));
}

TEST(ProtectedPaths, FolderPatternsAreAppendedInOrder) {
  CStringArray patterns;
  patterns.Add(_T("mine"));
  AddProtectedFolderPatterns(patterns);
  ASSERT_EQ(patterns.GetSize(), 1 + 106);
  EXPECT_EQ(patterns[0], CString(_T("mine")));
  EXPECT_EQ(patterns[1], CString(_T("\\system32\\")));
  EXPECT_EQ(patterns[51], CString(_T(":\\recycle")));
  EXPECT_EQ(patterns[106], CString(_T("\\winsxs")));
}

TEST(FileTypes, SensitiveExtensionsWhateverTheirCase) {
  EXPECT_TRUE(IsSensitiveFileType(_T("C:\\Data\\tool.EXE")));
  EXPECT_TRUE(IsSensitiveFileType(_T("C:\\Data\\macro.Vbs")));
  EXPECT_TRUE(IsSensitiveFileType(_T("C:\\Data\\odd. VBS")));  // a blank after the dot
  EXPECT_TRUE(IsSensitiveFileType(_T("C:\\Data\\project.vsmacros")));
  EXPECT_FALSE(IsSensitiveFileType(_T("C:\\Data\\notes.txt")));
  EXPECT_FALSE(IsSensitiveFileType(_T("C:\\Data\\README")));
  // Only the last component's extension counts.
  EXPECT_FALSE(IsSensitiveFileType(_T("C:\\app.exe\\README")));
}

TEST_F(ClassifierTest, SystemProgramTypesAreNeverUnprotected) {
  FileProtection(true);
  EXPECT_FALSE(IsUnprotectedFile(_T("C:\\Data\\tool.EXE")));
  EXPECT_FALSE(IsUnprotectedFile(_T("C:\\Data\\lib.dll")));
  EXPECT_FALSE(IsUnprotectedFile(_T("C:\\Data\\letter.dot")));
  EXPECT_TRUE(IsUnprotectedFile(_T("C:\\Data\\notes.txt")));
}

TEST_F(ClassifierTest, TheTypeTestFollowsTheFileProtectionService) {
  FileProtection(true);
  // Outside every pattern, but in the Windows folder the service guards.
  EXPECT_TRUE(IsUnprotectedPath(_T("C:\\Windows\\Temp\\notes.txt")));
  EXPECT_FALSE(IsUnprotectedFile(_T("C:\\Windows\\Temp\\notes.txt")));
  EXPECT_TRUE(IsUnprotectedFile(_T("C:\\Data\\notes.txt")));
}

TEST_F(ClassifierTest, WithoutTheServiceEveryTypedFileIsProtected) {
  FileProtection(false);
  EXPECT_FALSE(IsUnprotectedFile(_T("C:\\Data\\notes.txt")));
  // A file without an extension needs no answer from the service.
  EXPECT_TRUE(IsUnprotectedFile(_T("C:\\Data\\README")));
}

TEST_F(ClassifierTest, AProtectedPlaceIsNotAskedAboutItsType) {
  FileProtection(true);
  EXPECT_FALSE(IsUnprotectedFile(_T("C:\\Windows\\System32\\notes.txt")));
}

TEST_F(ClassifierTest, ALongPathKeepsItsExtension) {
  FileProtection(true);
  const CString folder(u'q', 400);
  EXPECT_TRUE(IsUnprotectedPath(_T("C:\\") + folder + _T("\\tool.exe")));
  EXPECT_FALSE(IsUnprotectedFile(_T("C:\\") + folder + _T("\\tool.exe")));
  EXPECT_TRUE(IsSensitiveFileType(_T("C:\\") + folder + _T("\\tool.exe")));
}

}  // namespace
