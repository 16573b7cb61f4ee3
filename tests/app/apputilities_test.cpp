// The main program's small helpers: trailing backslashes, deleting a tree (and refusing what
// is not one), the memory record of reports, texts with "%1" and "%2", and which folders may
// hold the program's files.
#include <gtest/gtest.h>

#include <filesystem>

#include "AppUtilities.h"
#include "FolderPicker.h"
#include "LangText.h"
#include "Markup.h"
#include "SystemReport.h"
#include "machine_fixture.h"

namespace zx::test {
namespace {

TEST(AppUtilities, RemoveTrailingBackslash) {
  const struct {
    const TCHAR* path;
    const TCHAR* expected;
  } kCases[] = {
      {_T("C:\\Data\\"), _T("C:\\Data")}, {_T("C:\\Data"), _T("C:\\Data")}, {_T("C:\\"), _T("C:\\")},
      {_T(""), _T("")},                   {_T("\\"), _T("\\")},
  };
  for (const auto& c : kCases) {
    CString path = c.path;
    RemoveTrailingBackslash(path);
    EXPECT_EQ(path, CString(c.expected)) << CStringA(c.path).GetString();
  }
}

TEST(LangText, PlaceholdersAreReplacedInOnePass) {
  const struct {
    const TCHAR* text;
    const TCHAR* first;
    const TCHAR* second;
    const TCHAR* expected;
  } kCases[] = {
      {_T("%1 found %2 drivers"), _T("Scan"), _T("3"), _T("Scan found 3 drivers")},
      {_T("%1 and %1"), _T("x"), nullptr, _T("x and x")},
      {_T("%2 before %1"), _T("a"), _T("b"), _T("b before a")},
      {_T("100% done, %3 %"), _T("a"), _T("b"), _T("100% done, %3 %")},
      // A value that holds a placeholder stays as it is.
      {_T("%1 / %2"), _T("%2"), _T("%1"), _T("%2 / %1")},
      {_T("only %2"), _T("a"), nullptr, _T("only %2")},
      {_T(""), _T("a"), _T("b"), _T("")},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(ReplacePlaceholders(c.text, c.first, c.second), CString(c.expected)) << CStringA(c.text).GetString();
}

TEST(LangText, WithoutAnApplicationObjectTheTextIsEmpty) {
  CString text = _T("stale");
  LoadLangStringReplace(text, _T(" IDS_SMALL_DRIVER "), _T("x"));
  EXPECT_TRUE(text.IsEmpty());
  text = _T("stale");
  LoadLangStringReplace2(text, _T("IDS_SMALL_DRIVER"), _T("x"), _T("y"));
  EXPECT_TRUE(text.IsEmpty());
}

class AppFiles : public MachineTest {
 protected:
  std::string Host(const std::string& relative) const { return root() + "/drive_c/" + relative; }
};

TEST_F(AppFiles, DeletePathTreeRemovesTheFolderWithEverythingBelowIt) {
  WriteHostFile(Host("Backups/One/a.txt"), "a");
  WriteHostFile(Host("Backups/One/Two/b.txt"), "b");
  WriteHostFile(Host("Backups/keep.txt"), "k");
  EXPECT_TRUE(DeletePathTree(_T("C:\\Backups\\One\\")));
  EXPECT_FALSE(std::filesystem::exists(Host("Backups/One")));
  EXPECT_TRUE(std::filesystem::exists(Host("Backups/keep.txt")));
  EXPECT_FALSE(DeletePathTree(_T("C:\\Backups\\One")));
}

TEST_F(AppFiles, DeletePathTreeRefusesWhatIsNoTreeOfOurs) {
  WriteHostFile(Host("Backups/One/a.txt"), "a");
  for (const TCHAR* path : {_T(""), _T("C:"), _T("C:\\"), _T("C:\\Backups\\*"), _T("C:\\Back?ps")})
    EXPECT_FALSE(DeletePathTree(path)) << CStringA(path).GetString();
  EXPECT_FALSE(DeletePathTree(nullptr));
  EXPECT_TRUE(std::filesystem::exists(Host("Backups/One/a.txt")));
}

TEST_F(AppFiles, MemoryInfoRecord) {
  WriteHostFile(root() + "/machine.ini", "[Memory]\r\nTotalPhys=8589934592\r\nAvailPhys=4294967296\r\n");
  CMarkup xml;
  ASSERT_TRUE(xml.SetDocumentText(_T("<report/>")));
  ASSERT_TRUE(xml.NextElement());
  ASSERT_TRUE(xml.EnterElement());
  ASSERT_TRUE(AppendMemoryInfo(xml));
  const CString text = xml.GetDocumentText();
  EXPECT_NE(text.Find(_T("<memory_info>\r\n<total_phy>8589934592</total_phy>\r\n<avail_phy>4294967296</avail_phy>")),
            -1)
      << CStringA(text).GetString();
  EXPECT_NE(text.Find(_T("<total_page_file>")), -1);
  EXPECT_NE(text.Find(_T("<avail_page_file>")), -1);
}

// A CD drive, a network drive and a removable drive without a medium are never listed.
TEST_F(AppFiles, DriveInfoListsOnlyTheFixedDrivesThatAnswer) {
  WriteHostFile(root() + "/machine.ini", "[Drives]\r\nD=cdrom\r\nN=remote\r\nE=removable\r\n");
  std::filesystem::create_directories(Host("Windows"));
  ASSERT_EQ(GetLogicalDrives() & 0x2018u, 0x2018u) << "D:, E: and N: are there";
  CMarkup xml;
  ASSERT_TRUE(xml.SetDocumentText(_T("<sys_info/>")));
  ASSERT_TRUE(xml.NextElement());
  AppendDriveInfo(xml);
  const CString text = xml.GetDocumentText();
  EXPECT_NE(text.Find(_T("<drive_name>C:\\</drive_name>")), -1) << CStringA(text).GetString();
  EXPECT_NE(text.Find(_T("<drive_name>Z:\\</drive_name>")), -1);
  for (LPCTSTR absent : {_T("D:"), _T("E:"), _T("N:")})
    EXPECT_EQ(text.Find(CString(_T("<drive_name>")) + absent), -1) << CStringA(absent).GetString();
}

TEST_F(AppFiles, TargetFolders) {
  const struct {
    const TCHAR* path;
    bool valid;
  } kCases[] = {
      {_T("C:\\Program Files\\Backups"), true},
      {_T("C:\\"), true},
      {_T("C:\\$Recycle.Bin\\S-1-5"), false},
      {_T("c:\\RECYCLER"), false},
      {_T("C:\\My Recycled Things"), false},
      {_T("C:\\System Volume Information\\x"), false},
      {_T("\\\\server\\share\\backups"), false},
      {_T("Q:\\Backups"), false},  // no such volume
      {_T("C:"), false},
      {_T(""), false},
  };
  for (const auto& c : kCases) EXPECT_EQ(IsValidTargetFolder(c.path) != FALSE, c.valid) << CStringA(c.path).GetString();
  EXPECT_FALSE(IsValidTargetFolder(nullptr));
}

}  // namespace
}  // namespace zx::test
