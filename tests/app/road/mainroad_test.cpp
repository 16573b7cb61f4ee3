// The whole main road through the real main window on the laptop profile, against the web
// service's stand-in, driven only by clicks and keys: Scan now, the scanning page with its
// status lines and progress as they come, the results listed (compared with a golden list),
// two rows chosen and downloaded and installed through the download-and-install popup, the
// restart prompt answered "later", the rows' new states, the summary's counts; then a new
// scan reads the installed versions back, "exc.xml" records the installs and the download
// history the packages. Each page the user stops at is compared with its reference picture.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <chrono>

#include "../../install/road/road_testing.h"
#include "DlgNagDownloadAndInstall.h"
#include "DlgNagRestart.h"
#include "ExclusionList.h"
#include "FileHistory.h"
#include "cstring_printer.h"
#include "road_testing.h"
#include "zx/input.h"
#include "zx/menus.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

constexpr LPCTSTR kIntelId = _T("PCI\\VEN_8086&DEV_0166&SUBSYS_21F317AA");
constexpr LPCTSTR kNvidiaId = _T("PCI\\VEN_10DE&DEV_0FFC&SUBSYS_21F517AA");

// A third driver offered beside the two displays; it is never chosen.
constexpr char kAudioDriver[] =
    "[audio]\nhardwareids = HDAUDIO\\FUNC_01&VEN_10EC&DEV_0269&SUBSYS_17AA21FA&REV_1002\n"
    "version = 6.0.1.6658\ndate = 2016-05-01\ninf = extract\\audio\\audio.inf\npackage = audio.zip\n";

class MainRoad : public MainRoadTest {
 protected:
  void SetUp() override {
    MainRoadTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(road::WriteCatalogue(catalogue_.path()));
    std::ofstream(catalogue_.path() + "/catalogue.ini", std::ios::binary | std::ios::app) << kAudioDriver;
    WriteHostFile(catalogue_.path() + "/audio.zip", "audio package bytes");
    ASSERT_NO_FATAL_FAILURE(StartService());
    ASSERT_NO_FATAL_FAILURE(OpenRoadWindow());
  }
  // The results list row by row: state, check and the texts of its columns.
  std::string ListedRows() {
    std::ostringstream text;
    text << "# state | checked | device | status kind | value | class | current date | new date\n";
    for (int row = 0; row < List().GetItemCount(); ++row) {
      text << static_cast<int>(List().GetItemData(row)) << " | " << (List().GetCheck(row) ? "x" : "-") << " | "
           << CStringA(List().GetItemDetail(row)).GetString() << " | " << List().GetStatusKind(row) << " | "
           << List().GetValue(row);
      for (int further = 0; further < 3; ++further) text << " | " << CStringA(List().GetFurtherText(row, further)).GetString();
      text << "\n";
    }
    return text.str();
  }
  static void ExpectSameAsGolden(const std::string& text, const std::string& name) {
    const std::string path = std::string(ZX_GOLDEN_DIR) + "/" + name;
    if (const char* update = std::getenv("ZX_UPDATE_GOLDEN"); update && *update == '1') {
      fs::create_directories(ZX_GOLDEN_DIR);
      std::ofstream(path, std::ios::binary) << text;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream golden;
    golden << in.rdbuf();
    EXPECT_EQ(text, golden.str()) << "golden list " << path;
  }
};

TEST_F(MainRoad, ScanChooseDownloadInstallAndSumUpByClicks) {
  ExpectPageMatches(Home(), "main_road_home.png");

  // Scan now: the scanning page, its lines and progress as they come; the device scan is
  // held once it has run, for the page's picture.
  std::atomic<bool> holding{false}, release{false};
  HoldDeviceScan(main_->GetScanEngine(), holding, [&release] { return release.load(); });
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return holding.load() && Scanning()->GetStatusLineCount() == 2; }));
  ASSERT_TRUE(Shown(Scanning()));
  ExpectPageMatches(Scanning(), "main_road_scanning.png");
  release = true;
  std::vector<int> lineCounts{2};
  ASSERT_TRUE(Until([&] {
    if (lineCounts.back() != Scanning()->GetStatusLineCount()) lineCounts.push_back(Scanning()->GetStatusLineCount());
    return ScanEnded();
  }));
  EXPECT_EQ(lineCounts.back(), 6);
  EXPECT_TRUE(std::is_sorted(lineCounts.begin(), lineCounts.end()));
  const auto range = ::SendMessageW(Scanning()->GetProgressWindow(), PBM_GETRANGE, FALSE, 0);
  EXPECT_EQ(::SendMessageW(Scanning()->GetProgressWindow(), PBM_GETPOS, 0, 0), range) << "the progress is full";

  // The results: every found driver listed and checked; two chosen by clicks.
  ASSERT_TRUE(Until([&] { return Shown(Results()); }));
  ExpectSameAsGolden(ListedRows(), "main_road_results.txt");
  ExpectPageMatches(Results(), "main_road_results.png");
  const int intel = RowOf(_T("Intel")), nvidia = RowOf(_T("NVIDIA")), audio = RowOf(_T("Realtek"));

  // The two displays chosen by clicks; the popup downloads, backs up and installs both.
  std::vector<CString> boxes;
  InstallChosen({_T("Intel"), _T("NVIDIA")}, boxes, "main_road_restart.png");
  ASSERT_EQ(boxes.size(), 2u) << "the install question and the closing message";
  EXPECT_NE(boxes[0].Find(u"Install them"), -1) << CStringA(boxes[0]).GetString();
  EXPECT_NE(boxes[1].Find(u"The drivers are installed."), -1) << CStringA(boxes[1]).GetString();
  EXPECT_EQ(ShutdownRequests(), "") << "the restart was put off";
  EXPECT_EQ(List().GetItemData(intel), 2u);
  EXPECT_EQ(List().GetItemData(nvidia), 2u);
  EXPECT_EQ(List().GetItemData(audio), 0u);
  ExpectPageMatches(Results(), "main_road_installed.png");

  // The summary: three out of date, two updated, one left.
  Press(Results(), CDlgScan3Results::kSummaryId);
  ASSERT_TRUE(Until([&] { return Shown(Summary()); }));
  EXPECT_EQ(Summary()->GetCount(0), main_->GetScanEngine().GetDeviceCount());
  EXPECT_EQ(Summary()->GetCount(1), 3);
  EXPECT_EQ(Summary()->GetCount(2), 2);
  EXPECT_EQ(Summary()->GetCount(3), 1);
  EXPECT_EQ(Summary()->GetCount(4), 0);
  ExpectPageMatches(Summary(), "main_road_summary.png");
  Press(Summary(), CDlgScan5Summary::kFinishId);
  ASSERT_TRUE(Until([&] { return Shown(Home()); }));

  // A new scan reads the installed versions back: only the driver left out is offered.
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return Shown(Results()) && ScanEnded(); }));
  ASSERT_EQ(List().GetItemCount(), 1);
  EXPECT_NE(List().GetItemDetail(0).Find(_T("Realtek")), -1);

  // The machine holds the new drivers, the record of installed updates names both, and the
  // download history lists their packages.
  EXPECT_EQ(InstalledVersion(kIntelId), CString(_T("10.18.10.4425")));
  EXPECT_EQ(InstalledVersion(kNvidiaId), CString(_T("21.21.13.7570")));
  CExclusionList installed;
  installed.Reload();
  EXPECT_EQ(installed.GetCount(), 2);
  // Recorded under the devices' hardware ids, their revisions included.
  EXPECT_NE(installed.Find(CString(kIntelId) + _T("&REV_09")), nullptr) << CStringA(installed.BuildXml()).GetString();
  EXPECT_NE(installed.Find(CString(kNvidiaId) + _T("&REV_A1")), nullptr);
  // The drivers replaced were backed up first, into a dated archive of the backup folder.
  std::string backups;
  path::WindowsToHost(std::u16string_view(main_->GetBackupFolder().GetString(), main_->GetBackupFolder().GetLength()),
                      backups, nullptr);
  ASSERT_TRUE(fs::is_directory(backups));
  EXPECT_EQ(std::distance(fs::directory_iterator(backups), fs::directory_iterator()), 1);
  const CString history = main_->GetDataFolder() + _T("\\") + GetHistoryFileName(kDownloadHistory);
  main_->DestroyWindow();
  CMapStringToString downloads;
  ASSERT_TRUE(LoadHistoryFile(history, downloads));
  EXPECT_EQ(downloads.GetCount(), 2);
}

}  // namespace
}  // namespace zx::test
