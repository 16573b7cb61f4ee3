// A run of three drivers through the real program where two fail, on the laptop's 64-bit
// Windows against the web service's stand-in, driven only by clicks through the window
// channel: the NVIDIA display installs through the 64-bit helper, the Intel display's setup
// program exits with an error and the audio driver's INF is refused by the helper. The run
// ends with the failure texts and no restart question, the two rows stay "not installed",
// "exc.xml" records both failures by their codes and the installed driver with 0, the download
// history keeps the three packages, and the next scan offers the two again.
#include <filesystem>
#include <fstream>

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
    // The Intel display's 7z holds its setup program alone, which exits with 2.
    road::WriteSetupOnlyPackage(catalogue_.path() + "/setup-only", catalogue_.path() + "/igfx.7z");
    const std::string audio = catalogue_.path() + "/work-audio";
    fs::create_directories(audio + "/audio");
    std::ofstream(audio + "/audio/audio.inf", std::ios::binary) << "no INF at all\r\n";
    road::Shell("cd '" + audio + "' && zip -qr ../audio.zip audio");
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
  ASSERT_TRUE(remote::WaitFor([&] { return program.Popups().empty() && program.TakesInput(); }));
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

}  // namespace
}  // namespace zx::test
