// The driver package file list from an INF: CopyFiles sections with their destination
// folders, comments and extra fields, names that try to leave their folder, co-installers,
// the catalog file and the source disk files; the folders of the directory ids real INFs use
// (the INF folder, colour profiles, fonts, help, the package's driver store folder); the
// search for a file in a folder tree.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "DriverInstallEngine.h"
#include "DriverPackageFiles.h"
#include "cstring_printer.h"
#include "machine_fixture.h"

namespace zx::test {
namespace {

const char kInf[] =
    "[Version]\r\n"
    "Signature=\"$WINDOWS NT$\"\r\n"
    "CatalogFile=pkg.cat\r\n"
    "\r\n"
    "[Install.NT]\r\n"
    "CopyFiles=Drivers.Copy, Help.Copy ; two sections\r\n"
    "CopyFiles=Odd.Copy\r\n"
    "\r\n"
    "[Install.NT.CoInstallers]\r\n"
    "CopyFiles=Co.Copy\r\n"
    "\r\n"
    "[Drivers.Copy]\r\n"
    "pkg.sys\r\n"
    "PKG.SYS ; named twice, listed once\r\n"
    "helper.dll,helper_src.dll,,0x00000002   ; copied under another name\r\n"
    ";commented.sys\r\n"
    "..\\..\\evil.sys\r\n"
    "C:\\abs.sys\r\n"
    "\r\n"
    "[Help.Copy]\r\n"
    "pkg.hlp\r\n"
    "\r\n"
    "[Odd.Copy]\r\n"
    "odd.bin\r\n"
    "\r\n"
    "[Co.Copy]\r\n"
    "coinst.dll\r\n"
    "\r\n"
    "[DestinationDirs]\r\n"
    "Drivers.Copy=12\r\n"
    "Help.Copy=18,Sub\r\n"
    "Odd.Copy=77\r\n"
    "DefaultDestDir=11\r\n"
    "\r\n"
    "[SourceDisksFiles]\r\n"
    "pkg.sys=1\r\n"
    "extra.sys=1\r\n"
    "missing.sys=1\r\n";

class DriverPackageFilesTest : public MachineTest {
 protected:
  static std::vector<CString> Files(const CInfPackageFiles& files) {
    std::vector<CString> list;
    for (INT_PTR i = 0; i < files.GetFiles().GetSize(); ++i) list.push_back(files.GetFiles()[i]);
    return list;
  }
};

TEST_F(DriverPackageFilesTest, ListsThePackageFiles) {
  WriteHostFile(HostPath(_T("C:\\Windows\\inf\\pkg.inf")), kInf);
  const CString drivers = CInfPackageFiles::DirectoryIdFolder(12);
  const CString system = CInfPackageFiles::DirectoryIdFolder(11);
  WriteHostFile(HostPath(drivers + _T("extra.sys")), "MZ");
  CInfPackageFiles files(_T("C:\\Windows"));
  files.CollectInfPackageFiles(_T("Install"), _T(".NT"), _T("pkg.inf"));
  const std::vector<CString> expected = {
      drivers + _T("pkg.sys"),
      drivers + _T("helper.dll"),
      CInfPackageFiles::DirectoryIdFolder(18) + _T("Sub\\pkg.hlp"),
      _T("odd.bin"),
      system + _T("coinst.dll"),
      _T("C:\\Windows\\system32\\CatRoot\\{F750E6C3-38EE-11D1-85E5-00C04FC295EE}\\pkg.cat"),
      _T("C:\\Windows\\inf\\pkg.inf"),
      system + _T("drivers\\extra.sys"),
  };
  EXPECT_EQ(Files(files), expected);
}

TEST_F(DriverPackageFilesTest, MissingInfOrSectionGivesNothing) {
  CInfPackageFiles files(_T("C:\\Windows"));
  files.CollectInfPackageFiles(_T("Install"), _T(""), _T("none.inf"));
  EXPECT_EQ(Files(files), std::vector<CString>{CString(_T("C:\\Windows\\inf\\none.inf"))});
  files.CollectInfPackageFiles(_T("Install"), _T(""), _T("..\\..\\secret.inf"));
  EXPECT_TRUE(Files(files).empty());
}

TEST_F(DriverPackageFilesTest, DirectoryIds) {
  EXPECT_TRUE(CInfPackageFiles::DirectoryIdFolder(77).IsEmpty());
  const CString windows = CInfPackageFiles::DirectoryIdFolder(10);
  const CString system = CInfPackageFiles::DirectoryIdFolder(11);
  EXPECT_EQ(windows, CString(_T("C:\\Windows\\")));
  const struct {
    int id;
    CString folder;
  } table[] = {
      {12, system + _T("drivers\\")},
      {17, windows + _T("INF\\")},  // the INF folder, not the Windows folder
      {18, windows + _T("Help\\")},
      {20, windows + _T("Fonts\\")},
      {23, system + _T("spool\\drivers\\color\\")},  // colour profiles
      {24, _T("C:\\")},                                // the system drive's root
      {25, windows},
      {50, windows + _T("System\\")},
      {52, system + _T("spool\\drivers\\")},
      {55, system + _T("spool\\prtprocs\\")},
  };
  for (const auto& row : table) EXPECT_EQ(CInfPackageFiles::DirectoryIdFolder(row.id).CompareNoCase(row.folder), 0) << row.id;
}

TEST_F(DriverPackageFilesTest, ASubFolderOfADestinationIsJoinedByBackslashesOrRefused) {
  // Either separator divides the sub-folder, as on Windows; empty steps go; a rooted folder,
  // a drive or a ".." step leaves the section's files out.
  const CString help = CInfPackageFiles::DirectoryIdFolder(18);
  const struct {
    const char* subFolder;
    CString file;
  } table[] = {
      {"Sub/Dir", help + _T("Sub\\Dir\\pkg.hlp")},
      {"a//b\\\\c\\", help + _T("a\\b\\c\\pkg.hlp")},
      {"06/14/2012", help + _T("06\\14\\2012\\pkg.hlp")},
      {"", help + _T("pkg.hlp")},
      {"Sub\\..\\..", CString()},
      {"../x", CString()},
      {"\\rooted", CString()},
      {"/rooted", CString()},
      {"C:x", CString()},
  };
  for (const auto& row : table) {
    const std::string inf = std::string("[Version]\r\nSignature=\"$WINDOWS NT$\"\r\n[Install]\r\nCopyFiles=Help.Copy\r\n") +
                            "[Help.Copy]\r\npkg.hlp\r\n[DestinationDirs]\r\nHelp.Copy=18," + row.subFolder + "\r\n";
    WriteHostFile(HostPath(_T("C:\\Windows\\inf\\sub.inf")), inf);
    CInfPackageFiles files(_T("C:\\Windows"));
    files.CollectInfPackageFiles(_T("Install"), _T(""), _T("sub.inf"));
    std::vector<CString> expected;
    if (!row.file.IsEmpty()) expected.push_back(row.file);
    expected.push_back(_T("C:\\Windows\\inf\\sub.inf"));
    EXPECT_EQ(Files(files), expected) << row.subFolder;
  }
}

TEST_F(DriverPackageFilesTest, FilesCopiedIntoTheDriverStoreAndSystemFoldersAreFound) {
  const char inf[] =
      "[Version]\r\nSignature=\"$WINDOWS NT$\"\r\n"
      "[Install.NT]\r\nCopyFiles=Store.Copy,Color.Copy,Inf.Copy,Font.Copy\r\n"
      "[Store.Copy]\r\npkg.sys\r\n[Color.Copy]\r\npkg.icm\r\n[Inf.Copy]\r\nextra.inf\r\n[Font.Copy]\r\npkg.ttf\r\n"
      "[DestinationDirs]\r\nStore.Copy=13\r\nColor.Copy=23\r\nInf.Copy=17\r\nFont.Copy=20\r\n";
  // The package as the installation leaves it: oem7.inf in the INF folder, its original
  // in its own folder of the driver store, beside another package's folder.
  const CString repository = _T("C:\\Windows\\System32\\DriverStore\\FileRepository\\");
  WriteHostFile(HostPath(_T("C:\\Windows\\inf\\oem7.inf")), inf);
  WriteHostFile(HostPath(repository + _T("other.inf_amd64_1\\other.inf")), "[Version]\r\n");
  WriteHostFile(HostPath(repository + _T("pkg.inf_amd64_2\\pkg.inf")), inf);
  CInfPackageFiles files(_T("C:\\Windows"));
  files.CollectInfPackageFiles(_T("Install"), _T(".NT"), _T("oem7.inf"));
  const CString system = CInfPackageFiles::DirectoryIdFolder(11);
  const std::vector<CString> expected = {
      repository + _T("pkg.inf_amd64_2\\pkg.sys"),
      system + _T("spool\\drivers\\color\\pkg.icm"),
      _T("C:\\Windows\\INF\\extra.inf"),
      CInfPackageFiles::DirectoryIdFolder(20) + _T("pkg.ttf"),
      _T("C:\\Windows\\inf\\oem7.inf"),
  };
  const std::vector<CString> listed = Files(files);
  ASSERT_EQ(listed.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(listed[i].CompareNoCase(expected[i]), 0) << i;
}

TEST_F(DriverPackageFilesTest, ARealInfListsItsDecoratedInstallSectionsFiles) {
  // The serial gadget INF of the Linux kernel's documentation (Debian's linux-doc), as the
  // installation leaves it in the INF folder: its amd64 install section copies USBSER.sys
  // to the default folder (12) and includes an INF of Windows.
  std::string packed;
  for (const auto& doc : std::filesystem::directory_iterator("/usr/share/doc"))
    if (doc.path().filename().string().rfind("linux-doc-", 0) == 0 &&
        std::filesystem::exists(doc.path() / "Documentation/usb/linux-cdc-acm.inf.gz"))
      packed = (doc.path() / "Documentation/usb/linux-cdc-acm.inf.gz").string();
  if (packed.empty()) GTEST_SKIP() << "linux-doc is not installed";
  const std::string target = HostPath(_T("C:\\Windows\\inf\\oem9.inf"));
  std::filesystem::create_directories(std::filesystem::path(target).parent_path());
  ASSERT_EQ(std::system(("zcat '" + packed + "' > '" + target + "'").c_str()), 0);
  CInfPackageFiles files(_T("C:\\Windows"));
  files.CollectInfPackageFiles(_T("DriverInstall"), _T(".NTamd64"), _T("oem9.inf"));
  const std::vector<CString> expected = {
      _T("C:\\Windows\\inf\\mdmcpq.inf"),
      CInfPackageFiles::DirectoryIdFolder(12) + _T("USBSER.sys"),
      _T("C:\\Windows\\inf\\oem9.inf"),
  };
  EXPECT_EQ(Files(files), expected);
}

TEST_F(DriverPackageFilesTest, SearchesAFolderTree) {
  WriteHostFile(HostPath(_T("C:\\Tree\\a\\b\\target.txt")), "x");
  WriteHostFile(HostPath(_T("C:\\Tree\\c\\other.txt")), "y");
  CInfPackageFiles files(_T("C:\\Windows"));
  files.SetSoughtFile(_T("target.txt"));
  EXPECT_EQ(files.SearchFolderForFile(_T("C:\\Tree\\")), CInfPackageFiles::kFound);
  EXPECT_EQ(files.GetFoundPath().CompareNoCase(_T("C:\\Tree\\a\\b\\target.txt")), 0);
  files.SetSoughtFile(_T("absent.txt"));
  EXPECT_EQ(files.SearchFolderForFile(_T("C:\\Tree\\")), CInfPackageFiles::kNotFound);
  // Collecting lists every entry met.
  files.SetCollectAll(true);
  files.SearchFolderForFile(_T("C:\\Tree\\"));
  EXPECT_EQ(files.GetFoundList().GetSize(), 5);  // a, a\b, its file, c, its file
  // A backup stop request ends the search.
  GetProcessEngine().SetStepCode(kStepStopBackup);
  EXPECT_EQ(files.SearchFolderForFile(_T("C:\\Tree\\")), CInfPackageFiles::kStopped);
  GetProcessEngine().SetStepCode(kStepIdle);
}

}  // namespace
}  // namespace zx::test
