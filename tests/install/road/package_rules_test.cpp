// The rules the fetch and the install apply to names and dates: a package's extension from the
// last segment of its address, its unpacking folder from the last component of its path, its
// kind, the driver date judgement, the link request and answer, and the folder removal that
// never leaves the folder it was given.
#include <gtest/gtest.h>

#include <filesystem>

#include "DriverPackageFetch.h"
#include "ExchangeEncoding.h"
#include "HalvoranApp.h"
#include "PackageInstall.h"
#include "cstring_printer.h"
#include "install_testing.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

std::string Narrow(const CString& text) {
  std::string narrow;
  for (int i = 0; i < text.GetLength(); ++i) narrow += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  return narrow;
}

TEST(PackageExtension, ComesFromTheLastSegmentOfTheAddress) {
  EXPECT_EQ(PackageExtensionOf(_T("http://dl.example/files/pkg.zip")), CString(_T(".zip")));
  EXPECT_EQ(PackageExtensionOf(_T("http://dl.example/files/pkg.tar.7z?x=1#frag")), CString(_T(".7z")));
  // A dot in the host or a folder is not the package's.
  EXPECT_EQ(PackageExtensionOf(_T("http://dl.example/files/package")), CString());
  EXPECT_EQ(PackageExtensionOf(_T("http://dl.example/v1.2/get?name=a.b/c")), CString());
  EXPECT_EQ(PackageExtensionOf(_T("http://dl.example.com")), CString(_T(".com")).Left(0) + CString(_T(".com")));
}

TEST(PackageExtension, TakesLettersAndDigitsOnly) {
  EXPECT_EQ(PackageExtensionOf(_T("http://x/pkg.z\\..\\..\\evil")), CString());
  EXPECT_EQ(PackageExtensionOf(_T("http://x/pkg.zip%00.exe")), CString(_T(".exe")));
  EXPECT_EQ(PackageExtensionOf(_T("http://x/pkg.ex e")), CString());
  EXPECT_EQ(PackageExtensionOf(_T("http://x/pkg.")), CString());
  EXPECT_EQ(PackageExtensionOf(_T("http://x/pkg.abcdefghi")), CString());
}

TEST(PackageFileName, NeverLeavesTheDownloadFolder) {
  EXPECT_EQ(PackageFileBaseName(_T("pciven_10de&dev_0ffc")), CString(_T("pciven_10de&dev_0ffc")));
  EXPECT_EQ(PackageFileBaseName(_T("x../../evil")), CString(_T("x.._.._evil")));
  EXPECT_EQ(PackageFileBaseName(_T("c:*?\"<>|\t")), CString(_T("c________")));
}

TEST(ExtractionFolder, IsTheLastComponentWithoutItsExtension) {
  EXPECT_EQ(PackageExtractionFolder(_T("C:\\dl\\pkg.zip")), CString(_T("C:\\dl\\pkg\\")));
  EXPECT_EQ(PackageExtractionFolder(_T("C:\\dl.v2\\pkg")), CString(_T("C:\\dl.v2\\pkg\\")));
  EXPECT_EQ(PackageExtractionFolder(_T("C:\\dl.v2\\pkg.tar.cab")), CString(_T("C:\\dl.v2\\pkg.tar\\")));
  EXPECT_EQ(PackageExtractionFolder(_T("C:\\dl\\.zip")), CString());
  EXPECT_EQ(PackageExtractionFolder(_T("C:\\dl\\...zip")), CString());
  EXPECT_EQ(PackageExtractionFolder(_T("pkg.zip")), CString());
}

TEST(PackageKind, ComesFromTheFileNamesExtension) {
  EXPECT_EQ(PackageKindOf(_T("C:\\dl\\a.ZIP")), kPackageZip);
  EXPECT_EQ(PackageKindOf(_T("C:\\dl\\a.exe")), kPackageProgram);
  EXPECT_EQ(PackageKindOf(_T("C:\\dl\\a.msi")), kPackageProgram);
  EXPECT_EQ(PackageKindOf(_T("C:\\dl\\a.rar")), kPackageRar);
  EXPECT_EQ(PackageKindOf(_T("C:\\dl\\a.cab")), kPackageCab);
  EXPECT_EQ(PackageKindOf(_T("C:\\dl\\a.7z")), kPackage7z);
  // A folder's name does not make the package a zip.
  EXPECT_EQ(PackageKindOf(_T("C:\\my.zip.files\\a.bin")), kPackageUnknown);
  EXPECT_EQ(PackageKindOf(_T("C:\\dl.exe\\a")), kPackageUnknown);
}

TEST(DriverDates, TheSameDayMatches) {
  CString diagnostic;
  EXPECT_TRUE(DriverDatesMatch(_T("2010-05-04T00:00:00"), _T("5-4-2010"), diagnostic));
  EXPECT_TRUE(diagnostic.IsEmpty());
}

TEST(DriverDates, ADayApartIsADifferenceWithItsDiagnostic) {
  CString diagnostic;
  EXPECT_FALSE(DriverDatesMatch(_T("2010-05-05"), _T("5-4-2010"), diagnostic));
  EXPECT_EQ(diagnostic, CString(_T("Installed: 5-4-2010, UpdateDate:2010-5-5, strUpdateRecordDeviceDrvDate=2010-05-05, ")
                                _T("strUpdatedDeviceDrvDate=5-4-2010")));
}

TEST(DriverDates, DatesThatDoNotReadKeepTheMatch) {
  CString diagnostic;
  EXPECT_TRUE(DriverDatesMatch(_T(""), _T("5-4-2010"), diagnostic));
  EXPECT_TRUE(DriverDatesMatch(_T("2010-05"), _T("5-4-2010"), diagnostic));
  EXPECT_TRUE(DriverDatesMatch(_T("2010-02-30"), _T("5-4-2010"), diagnostic));
  EXPECT_TRUE(DriverDatesMatch(_T("2010-05-04"), _T("5/4/2010"), diagnostic));
  EXPECT_TRUE(DriverDatesMatch(_T("2010--04"), _T("5-4-2010"), diagnostic));
  EXPECT_TRUE(diagnostic.IsEmpty());
}

TEST(LinkAnswer, ReadsTheAddressAndANonEmptyChecksum) {
  CString answer = _T("<newdataset><Table><URL> http://x/p.zip </URL><hashstring></hashstring>")
                   _T("<HashString>ABCDEF</HashString></Table></newdataset>");
  CString address, checksum = _T("kept");
  ASSERT_TRUE(CDriverPackageFetch::ParseLinkAnswerXml(answer, FALSE, address, checksum));
  EXPECT_EQ(address, CString(_T("http://x/p.zip")));
  EXPECT_EQ(checksum, CString(_T("ABCDEF")));
  EXPECT_TRUE(answer.IsEmpty());
}

TEST(LinkAnswer, AnEncipheredAnswerIsDecodedFirstAndADamagedOneRefused) {
  CString plain = _T("<newdataset><url>http://x/p.cab</url><hashstring>00ff</hashstring></newdataset>");
  CString encoded;
  ASSERT_TRUE(EncipherTextToHex(plain, encoded));
  CString address, checksum;
  ASSERT_TRUE(CDriverPackageFetch::ParseLinkAnswerXml(encoded, TRUE, address, checksum));
  EXPECT_EQ(address, CString(_T("http://x/p.cab")));
  EXPECT_EQ(checksum, CString(_T("00ff")));
  CString damaged = _T("0123XYZ");
  address.Empty();
  EXPECT_FALSE(CDriverPackageFetch::ParseLinkAnswerXml(damaged, TRUE, address, checksum));
  EXPECT_TRUE(address.IsEmpty());
}

class LinkRequest : public InstallTest {};

TEST_F(LinkRequest, NamesTheDeviceTheMachineAndTheProduct) {
  CString document;
  ASSERT_TRUE(CDriverPackageFetch::BuildLinkRequestXml(_T("PCI\\VEN_10DE&DEV_0FFC"), _T("21"), document));
  document.Remove(_T('\r'));
  document.Remove(_T('\n'));
  EXPECT_EQ(document.Find(_T("<newdataset><device><hardwareid>PCI\\VEN_10DE&amp;DEV_0FFC</hardwareid><osid>21</osid>")
                          _T("</device><key><machineid>")),
            0)
      << Narrow(document);
  EXPECT_GE(document.Find(_T("DownloadXml-dt</file_name_initials></saveXmlFileName><dbref><dbinitials>ZephrinZephrinKX")),
            0)
      << Narrow(document);
  EXPECT_GE(document.Find(_T("<user_hash><user_hash_data>")), 0) << Narrow(document);
  EXPECT_LT(document.Find(_T("DownloadXml-dt </")), 0);
}

TEST_F(LinkRequest, SendsTheStoredMachineIdentifierAndUserHash) {
  const CString saved = CHalvoranApp::m_sUSER_HASH;
  CHalvoranApp::m_sUSER_HASH = _T("4711-stored");
  CString document;
  const bool built = CDriverPackageFetch::BuildLinkRequestXml(_T("PCI\\VEN_1"), _T("21"), document);
  CHalvoranApp::m_sUSER_HASH = saved;
  ASSERT_TRUE(built);
  EXPECT_GE(document.Find(_T("<machineid>4711-stored</machineid>")), 0) << Narrow(document);
  EXPECT_GE(document.Find(_T("<user_hash_data>4711-stored</user_hash_data>")), 0) << Narrow(document);
}

class FolderRemoval : public MachineTest {};

TEST_F(FolderRemoval, RemovesEverythingBelowAndNothingALinkNames) {
  namespace fs = std::filesystem;
  std::string host;
  ASSERT_TRUE(zx::path::WindowsToHost(u"C:\\dl\\pkg", host, nullptr));
  fs::create_directories(host + "/a/b");
  WriteHostFile(host + "/a/b/x.inf", "x");
  WriteHostFile(host + "/top.sys", "y");
  const std::string outside = root() + "/drive_c/keep";
  fs::create_directories(outside);
  WriteHostFile(outside + "/precious.txt", "z");
  fs::create_directory_symlink(outside, host + "/a/link");
  EXPECT_TRUE(DeleteFolderTree(_T("C:\\dl\\pkg\\")));
  EXPECT_FALSE(fs::exists(host));
  EXPECT_EQ(ReadHostFile(outside + "/precious.txt"), "z");
  EXPECT_FALSE(DeleteFolderTree(_T("C:\\dl\\missing")));
}

}  // namespace
}  // namespace zx::test
