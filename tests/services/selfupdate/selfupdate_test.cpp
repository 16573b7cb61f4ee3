// The self-update check against the web service's stand-in: the version query and its answer
// file, version comparison, the machine id and its fallbacks, and the database update that
// replaces the archive only with a checked one.
#include <gtest/gtest.h>

#include <filesystem>

#include "AppVersion.h"
#include "DigestsSha1.h"
#include "GlobalUpdate.h"
#include "webservice_testing.h"

namespace zx::test {
namespace {

constexpr const char* kArchiveAddress =
    "http://update.zephrin-tunevo.example/quarnelupdates/CompleteDatabase/Completedatabase.zip";

class SelfUpdate : public WebServiceTest {
 protected:
  void SetUp() override {
    WebServiceTest::SetUp();
    CleanProgramFolder();
  }
  void TearDown() override {
    CleanProgramFolder();
    WebServiceTest::TearDown();
  }
  static std::filesystem::path ProgramFolder() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }
  static void CleanProgramFolder() {
    for (const char* name : {"dbUpdate.ini", "Completedatabase.zip", "DBUpdates", "zephrinkxhelper.res"})
      std::filesystem::remove_all(ProgramFolder() / name);
  }
  void Publish(const std::string& name, const std::string& bytes) { WriteHostFile(catalogue_.path() + "/" + name, bytes); }
  // Publishes an archive and its description naming the digest given (the archive's own when empty).
  void PublishDatabase(const std::string& archive, std::string digest = {}) {
    Publish("Completedatabase.zip", archive);
    if (digest.empty()) digest = Sha1Of(catalogue_.path() + "/Completedatabase.zip");
    Publish("dbUpdate.ini", "[BrovikUpdates]\r\nSHA = " + digest + " \r\nDOWNLOADURL=" + kArchiveAddress + "\r\n");
  }
  static std::string Sha1Of(const std::string& hostPath) {
    CString windows = CString(("Z:" + hostPath).c_str());
    windows.Replace(_T('/'), _T('\\'));
    return std::string(CStringA(CCalcSHA1::GetFileSha1Hash(windows)).GetString());
  }
  // The shared library beside the program gets the version record of this test program.
  static void InstallVersion() {
    std::filesystem::copy_file(ProgramFolder() / "selfupdate_tests.res", ProgramFolder() / "zephrinkxhelper.res",
                               std::filesystem::copy_options::overwrite_existing);
  }
  std::vector<std::string> Requests() {
    std::vector<std::string> lines;
    for (std::string line = NextRequest(200); !line.empty(); line = NextRequest(200)) lines.push_back(line);
    return lines;
  }
};

TEST(VersionTexts, ThePartsAreComparedInOrderAndTheFirstDifferenceDecides) {
  EXPECT_GT(CompareVersionTexts(_T("1.2"), _T("1.1.9.9")), 0);
  EXPECT_LT(CompareVersionTexts(_T("1.0.5.0"), _T("1.1.0.0")), 0);
  EXPECT_EQ(CompareVersionTexts(_T("3.1.648.8773"), _T("3.1.648.8773")), 0);
  EXPECT_EQ(CompareVersionTexts(_T("2"), _T("2.0.0.0")), 0);
  EXPECT_LT(CompareVersionTexts(_T(""), _T("0.0.0.1")), 0);
  EXPECT_GT(CompareVersionTexts(_T("1.10"), _T("1.9")), 0);
  EXPECT_EQ(CompareVersionTexts(_T("1.2beta"), _T("1.2")), 0);  // leading digits only
  EXPECT_EQ(CompareVersionTexts(_T("x.y"), nullptr), 0);
}

TEST_F(SelfUpdate, ANewerPublishedVersionIsReported) {
  Publish("LatestVersion.ini", "[Application]\r\nPROGRAM_VERSION=99.1\r\nPROGRAM_URL=http://x.test/\r\n");
  StartStandIn();
  EXPECT_TRUE(CheckForProductUpdate());
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 2u);  // the size, then the file
  EXPECT_EQ(requests[1], "GET /qvxupdates/update.aspx HTTP/1.1");
}

TEST_F(SelfUpdate, TheSameOrAnOlderVersionIsNotNewer) {
  Publish("LatestVersion.ini", "[Application]\r\nPROGRAM_VERSION=0.0.0.0\r\n");
  StartStandIn();
  EXPECT_FALSE(CheckForProductUpdate());
}

TEST_F(SelfUpdate, TheInstallationsVersionIsTheSharedLibrarysFileVersion) {
  CString version = _T("stale");
  EXPECT_EQ(GetAppVer(version), 0);
  EXPECT_EQ(version, _T(""));
  InstallVersion();
  EXPECT_EQ(GetAppVer(version), 7);
  EXPECT_EQ(version, _T("3.2.1.0"));
}

TEST_F(SelfUpdate, OnlyAVersionAboveTheInstalledOneIsNewer) {
  InstallVersion();
  StartStandIn();
  Publish("LatestVersion.ini", "[Application]\r\nPROGRAM_VERSION=3.2.1.0\r\n");
  EXPECT_FALSE(CheckForProductUpdate());
  Publish("LatestVersion.ini", "[Application]\r\nPROGRAM_VERSION=3.1.9\r\n");
  EXPECT_FALSE(CheckForProductUpdate());
  Publish("LatestVersion.ini", "[Application]\r\nPROGRAM_VERSION=3.2.1.1\r\n");
  EXPECT_TRUE(CheckForProductUpdate());
  CString query;
  CGlobalUpdate().BuildUpdateQuery(query);
  EXPECT_NE(query.Find(_T("&currentapplicationid=3.2.1.0&")), -1);
}

TEST_F(SelfUpdate, AMissingVersionAnEmptyFileOrNoFileIsNotNewer) {
  StartStandIn();
  EXPECT_FALSE(CheckForProductUpdate());  // 404
  Publish("LatestVersion.ini", "");
  EXPECT_FALSE(CheckForProductUpdate());
  Publish("LatestVersion.ini", "[Application]\r\nPROGRAM_URL=http://x.test/\r\nDescription=99.0\r\n");
  EXPECT_FALSE(CheckForProductUpdate());
}

TEST_F(SelfUpdate, WithoutAConnectionNothingIsAsked) {
  Publish("LatestVersion.ini", "[Application]\r\nPROGRAM_VERSION=99.1\r\n");
  StartStandIn();
  WriteHostFile(root() + "/machine.ini", "[Network]\nConnection=none\n");
  EXPECT_FALSE(CheckForProductUpdate());
  EXPECT_TRUE(Requests().empty());
}

TEST_F(SelfUpdate, TheQueryNamesProductVersionDatabaseAndMachine) {
  WriteHostFile(root() + "/machine.ini",
                "[NetworkAdapters]\nCount=1\n[NetworkAdapter.0]\nName=eth0\nMACAddress=00:1a:2b:3c:4d:5e\n");
  CGlobalUpdate update;
  CString query;
  const int length = update.BuildUpdateQuery(query);
  EXPECT_EQ(length, query.GetLength());
  EXPECT_EQ(query, _T("http://update.zephrin-tunevo.example/qvxupdates/update.aspx?productname=qvx")
                   _T("&currentapplicationid=&currentdbversionid=1&machineid=001A2B3C4D5E"));
}

TEST_F(SelfUpdate, WithoutAdaptersTheMachineIdIsASequentialUuidsNode) {
  WriteHostFile(root() + "/machine.ini", "[NetworkAdapters]\nCount=0\n");
  CString id;
  CGlobalUpdate::GetMacAddressId(id);
  ASSERT_EQ(id.GetLength(), 12);
  EXPECT_EQ(id.SpanIncluding(_T("0123456789ABCDEF")), id);
  EXPECT_NE(id, _T("111111111111"));
}

TEST_F(SelfUpdate, TheDatabaseArchiveIsFetchedCheckedAndThenKept) {
  PublishDatabase("the complete database");
  StartStandIn();
  ASSERT_TRUE(UpdateDatabase(nullptr));
  EXPECT_EQ(ReadHostFile((ProgramFolder() / "Completedatabase.zip").string()), "the complete database");
  EXPECT_FALSE(std::filesystem::exists(ProgramFolder() / "DBUpdates" / "Completedatabase.zip"));
  Requests();
  // A current archive, whatever the digest's letter case: only the description is asked.
  std::string digest = Sha1Of(catalogue_.path() + "/Completedatabase.zip");
  for (char& c : digest) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  PublishDatabase("the complete database", digest);
  EXPECT_TRUE(UpdateDatabase(nullptr));
  for (const std::string& line : Requests()) EXPECT_EQ(line.find("Completedatabase.zip"), std::string::npos);
}

TEST_F(SelfUpdate, AStaleArchiveIsReplacedByTheNewOne) {
  WriteHostFile((ProgramFolder() / "Completedatabase.zip").string(), "last month's database");
  PublishDatabase("this month's database");
  StartStandIn();
  EXPECT_TRUE(UpdateDatabase(nullptr));
  EXPECT_EQ(ReadHostFile((ProgramFolder() / "Completedatabase.zip").string()), "this month's database");
}

TEST_F(SelfUpdate, AnArchiveThatFailsItsDigestNeverReplacesTheOneInUse) {
  WriteHostFile((ProgramFolder() / "Completedatabase.zip").string(), "last month's database");
  PublishDatabase("this month's database", "0000000000000000000000000000000000000000");
  StartStandIn();
  EXPECT_FALSE(UpdateDatabase(nullptr));
  EXPECT_EQ(ReadHostFile((ProgramFolder() / "Completedatabase.zip").string()), "last month's database");
  EXPECT_FALSE(std::filesystem::exists(ProgramFolder() / "DBUpdates" / "Completedatabase.zip"));
}

TEST_F(SelfUpdate, TheCheckerProgramGetsTheDefaultApplicationAddress) {
  CString application, database = _T("stale");
  GetCheckUpdateUrl(application, database);
  EXPECT_EQ(application.Left(56), _T("http://update.zephrin-tunevo.example/updatekx/c4u.cgi?pr"));
  EXPECT_NE(application.Find(_T("currentapplicationid=3.1.648.8773&currentdbversionid=0&machineid=")), -1);
  EXPECT_EQ(database, _T(""));
}

}  // namespace
}  // namespace zx::test
