// A run of three drivers through the real program where two fail, on the laptop's 64-bit
// Windows against the web service's stand-in, driven only by clicks through the window
// channel: the NVIDIA display installs through the 64-bit helper, the Intel display's setup
// program exits with an error and the audio driver's INF is refused by the helper. The run
// ends with the failure texts and no restart question, the two rows stay "not installed",
// "exc.xml" records both failures by their codes and the installed driver with 0, the download
// history keeps the three packages, and the next scan offers the two again. Then one table of
// the ways a package fails, one driver chosen at a time, each run to its texts, record and the
// next scan's offers.
#include <filesystem>
#include <fstream>
#include <set>

#include "../../install/road/road_testing.h"
#include "ExclusionList.h"
#include "FileHistory.h"
#include "ProcessControl.h"
#include "cstring_printer.h"
#include "road_testing.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

constexpr LPCTSTR kIntelId = _T("PCI\\VEN_8086&DEV_0166&SUBSYS_21F317AA&REV_09");
constexpr LPCTSTR kNvidiaId = _T("PCI\\VEN_10DE&DEV_0FFC&SUBSYS_21F517AA&REV_A1");
constexpr LPCTSTR kAudioId = _T("HDAUDIO\\FUNC_01&VEN_10EC&DEV_0269&SUBSYS_17AA21FA&REV_1002");


class FailedInstallRoad : public MainRoadTest {
 protected:
  void SetUp() override {
    MainRoadTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(road::WriteCatalogue(catalogue_.path()));
    road::SpoilPackage(catalogue_.path(), road::PackageFailure::kSetupExitsWithError);
    road::WriteInfPackage(catalogue_.path() + "/work-audio", catalogue_.path() + "/audio.zip", "audio",
                          "no INF at all\r\n");
    std::ofstream(catalogue_.path() + "/catalogue.ini", std::ios::binary | std::ios::app) << road::kAudioCatalogueEntry;
    ASSERT_NO_FATAL_FAILURE(StartService());
  }
};

TEST_F(FailedInstallRoad, TwoOfThreeFailingEndWithTheirFailuresAndAreOfferedAgain) {
  ProgramRun program;
  const HWND main = program.window();
  ASSERT_NE(main, nullptr) << "the program's main window";
  ASSERT_NO_FATAL_FAILURE(ScanInProgram(program));
  const HWND results = remote::ShownPage(main, u"Scan results");
  const HWND list = remote::Control(results, CDlgScan3Results::kListId);
  ASSERT_EQ(Count(list), 3) << "every row listed and checked";

  // The closing message says the installation ended with errors, and no restart is asked; the
  // popup's list says which two were not installed.
  remote::Press(remote::ShownControl(results, CDlgScan3Results::kDownloadId));
  InstallRunSeen seen;
  ASSERT_NO_FATAL_FAILURE(DriveDownloadAndInstall(
      program, {"main_road_install_question.png", "failed_road_closing_message.png"}, {}, seen));
  EXPECT_FALSE(seen.restartAsked);
  ASSERT_NE(seen.leftOpen, nullptr) << "the popup waits for its close button";
  ExpectProgramWindowMatches(seen.leftOpen, "failed_road_popup.png");
  remote::Press(remote::ShownControl(seen.leftOpen, IDOK));
  ASSERT_TRUE(program.AwaitIdle());
  EXPECT_EQ(ShutdownRequests(), "");
  // One row installed, two downloaded and waiting.
  ExpectProgramWindowMatches(main, "failed_road_results.png");

  // The summary: three out of date, one updated, two left.
  remote::Press(remote::ShownControl(results, CDlgScan3Results::kSummaryId));
  ASSERT_TRUE(remote::WaitFor([&] { return remote::ShownPage(main, u"Summary") != nullptr; }));
  ExpectProgramWindowMatches(main, "failed_road_summary.png");

  // The next scan offers the two that failed.
  ASSERT_NO_FATAL_FAILURE(ScanInProgram(program));
  EXPECT_EQ(Count(list), 2);
  ASSERT_TRUE(program.Close());

  EXPECT_EQ(InstalledVersion(kNvidiaId), CString(_T("21.21.13.7570")));
  EXPECT_NE(InstalledVersion(kIntelId), CString(_T("10.18.10.4425")));
  CExclusionList record;
  record.Reload();
  EXPECT_EQ(record.GetCount(), 3) << CStringA(record.BuildXml()).GetString();
  struct Recorded {
    LPCTSTR hardwareId;
    int installError;
  } const recorded[] = {{kNvidiaId, 0}, {kIntelId, 2}, {kAudioId, static_cast<int>(0xE0000100u)}};
  for (const Recorded& r : recorded) {
    SCOPED_TRACE(CStringA(r.hardwareId).GetString());
    const ExclusionEntry* entry = record.Find(r.hardwareId);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->nInstallErrorCode, r.installError);
  }
  // The packages stay listed: the two failed ones for another try.
  CMapStringToString downloads;
  ASSERT_TRUE(LoadHistoryFile(GetAppDataFolder() + _T("\\") + GetHistoryFileName(kDownloadHistory), downloads));
  EXPECT_EQ(downloads.GetCount(), 3);
}

// A package that fails as real ones do, in the catalogue in place of the driver's own.
struct FailingPackage {
  const char* failure;
  road::PackageFailure kind;
  const char* architecture;
  int recordedCode;  // the install error code "exc.xml" records; 0: nothing recorded
};

// One driver chosen in the program at a time, its package failing: the run ends with "no
// driver was installed" and no restart question, the device keeps its driver, "exc.xml" names
// the failure by its code and the install-error report, which says not installed, carries it
// (when no installer ran, neither is made), and the next scan offers the driver again.
class FailingPackageRoad : public MainRoadTest {
 protected:
  // The install-error reports the stand-in took (its files), leaving out those of `known`.
  std::set<std::string> Reports(const std::set<std::string>& known = {}) const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(uploads_.path()))
      if (entry.path().filename().string().find("InstallError") != std::string::npos && !known.count(entry.path()))
        names.insert(entry.path());
    return names;
  }
  void ExpectEachFails(const std::vector<FailingPackage>& cases) {
    for (const FailingPackage& c : cases) {
      SCOPED_TRACE(c.failure);
      const int driver = road::FailingDriver(c.kind);
      road::SetMachineValue(root(), "Windows", "Architecture", c.architecture);
      ASSERT_NO_FATAL_FAILURE(road::WriteCatalogue(catalogue_.path()));
      road::SpoilPackage(catalogue_.path(), c.kind);
      service_.reset();
      ASSERT_NO_FATAL_FAILURE(StartService());
      const LPCTSTR hardwareId = driver == road::kIntelDisplay ? kIntelId : kNvidiaId;
      const CString before = InstalledVersion(hardwareId);
      CExclusionList record;
      const CString recorded = record.BuildXml();
      const std::set<std::string> reportsBefore = Reports();

      ProgramRun program;
      ASSERT_NE(program.window(), nullptr);
      ASSERT_NO_FATAL_FAILURE(ScanInProgram(program));
      const HWND results = remote::ShownPage(program.window(), u"Scan results");
      const HWND list = remote::Control(results, CDlgScan3Results::kListId);
      ASSERT_EQ(Count(list), 2) << "both displays offered";
      // The rows are the Intel display's and the NVIDIA display's: the other one unchecked.
      ClickRowCheck(list, driver == road::kIntelDisplay ? 1 : 0);
      remote::Press(remote::ShownControl(results, CDlgScan3Results::kDownloadId));
      InstallRunSeen seen;
      ASSERT_NO_FATAL_FAILURE(DriveDownloadAndInstall(
          program, {"main_road_install_question.png", "failed_road_none_installed.png"}, {}, seen));
      EXPECT_FALSE(seen.restartAsked);
      ASSERT_NE(seen.leftOpen, nullptr);
      remote::Press(remote::ShownControl(seen.leftOpen, IDOK));
      ASSERT_TRUE(program.AwaitIdle());
      ASSERT_NO_FATAL_FAILURE(ScanInProgram(program));
      EXPECT_EQ(Count(list), 2) << "offered again";
      ASSERT_TRUE(program.Close());

      EXPECT_EQ(InstalledVersion(hardwareId), before);
      record.Reload();
      std::string report;
      for (const std::string& name : Reports(reportsBefore)) report += ReadHostFile(name);
      if (c.recordedCode == 0) {
        EXPECT_EQ(record.BuildXml(), recorded) << "nothing recorded";
        EXPECT_EQ(report, "") << "nothing reported";
      } else {
        const ExclusionEntry* entry = record.Find(hardwareId);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->nInstallErrorCode, c.recordedCode);
        EXPECT_NE(report.find("<installerrorcode>" + std::to_string(static_cast<unsigned>(c.recordedCode)) +
                              "</installerrorcode>"),
                  std::string::npos)
            << report;
        EXPECT_NE(report.find("<IsInstalled>0</IsInstalled>"), std::string::npos);
      }
    }
  }
};

TEST_F(FailingPackageRoad, AnInfForOtherHardwareOrADamagedArchiveInstallsNothing) {
  ExpectEachFails({
      {"an INF for other hardware", road::PackageFailure::kInfForOtherHardware, "x86", static_cast<int>(0xE0000203u)},
      {"a damaged archive", road::PackageFailure::kDamagedArchive, "x86", 0},
  });
}

TEST_F(FailingPackageRoad, AFailingSetupProgramOrARefusing64BitHelperInstallsNothing) {
  ExpectEachFails({
      {"a setup program that exits with an error", road::PackageFailure::kSetupExitsWithError, "x64", 2},
      {"the 64-bit helper refusing", road::PackageFailure::kDamagedInf, "x64", static_cast<int>(0xE0000100u)},
  });
}

}  // namespace
}  // namespace zx::test
