// The whole main road through the real program, started as its own process on the laptop
// profile against the web service's stand-in, headless and driven only by clicks injected
// through the window channel: Scan now, the scanning page with its status lines and progress as
// they come (the service's answer held for its picture), the results listed, two rows chosen
// by their check boxes and downloaded and installed through the download-and-install popup,
// its questions answered and the restart prompt answered "later", the rows' new states, the
// summary; then a new scan reads the installed versions back, and once the program has been
// closed the machine holds the new drivers, "exc.xml" records the installs and the download
// history the packages. Each page the user stops at, and each question, is compared with its
// reference picture.
#include <filesystem>
#include <fstream>
#include <string_view>

#include "../../install/road/road_testing.h"
#include "ExclusionList.h"
#include "FileHistory.h"
#include "ProcessControl.h"
#include "cstring_printer.h"
#include "road_testing.h"
#include "zx/input.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

constexpr LPCTSTR kIntelId = _T("PCI\\VEN_8086&DEV_0166&SUBSYS_21F317AA");
constexpr LPCTSTR kNvidiaId = _T("PCI\\VEN_10DE&DEV_0FFC&SUBSYS_21F517AA");


// The status list and the progress bar of the scanning page.
constexpr UINT kStatusListId = 5264;
constexpr UINT kProgressId = 5082;

// The text of the window with the id inside `top`.
std::u16string TextOf(HWND top, UINT id) {
  WCHAR text[128] = {};
  ::GetWindowTextW(remote::Control(top, id), text, 128);
  return text;
}

class MainRoad : public MainRoadTest {
 protected:
  void SetUp() override {
    MainRoadTest::SetUp();
    // A 32-bit Windows: the device installer installs the INF packages itself.
    road::SetMachineValue(root(), "Windows", "Architecture", "x86");
    ASSERT_NO_FATAL_FAILURE(road::WriteCatalogue(catalogue_.path()));
    std::ofstream(catalogue_.path() + "/catalogue.ini", std::ios::binary | std::ios::app) << road::kAudioCatalogueEntry;
    WriteHostFile(catalogue_.path() + "/audio.zip", "audio package bytes");
    ASSERT_NO_FATAL_FAILURE(StartService());
  }
};

TEST_F(MainRoad, ScanChooseDownloadInstallAndSumUpByClicks) {
  ProgramRun program;
  const HWND main = program.window();
  ASSERT_NE(main, nullptr) << "the program's main window";
  ASSERT_TRUE(remote::WaitFor([&] { return remote::ShownControl(main, CDlgScan1ScanHome::kScanNowId) != nullptr; }));
  ExpectProgramWindowMatches(main, "main_road_home.png");
  for (UINT row = 0; row < 4; ++row)
    EXPECT_EQ(TextOf(main, CDlgScan1ScanHome::kFirstValueId + row), u"Not scanned yet") << "home value " << row;

  // Scan now: the scanning page, its lines and progress as they come; the service's answer is
  // held while the page asks for it, for its picture.
  HoldTheAnswers(true);
  remote::Press(remote::ShownControl(main, CDlgScan1ScanHome::kScanNowId));
  ASSERT_NE(service_->NextLineStarting("POST GetUpdateInfo", 20000), "");
  const HWND scanning = remote::ShownPage(main, u"Scanning");
  ASSERT_NE(scanning, nullptr);
  const HWND status = remote::Control(scanning, kStatusListId);
  ASSERT_TRUE(remote::WaitFor([&] { return Count(status) == 3; }));
  ExpectProgramWindowMatches(main, "main_road_scanning.png");
  HoldTheAnswers(false);
  std::vector<int> lineCounts{3};
  ASSERT_TRUE(remote::WaitFor([&] {
    if (lineCounts.back() != Count(status)) lineCounts.push_back(Count(status));
    return remote::ShownPage(main, u"Scan results") != nullptr;
  }));
  EXPECT_EQ(Count(status), 5);
  EXPECT_TRUE(std::is_sorted(lineCounts.begin(), lineCounts.end()));
  const HWND progress = remote::Control(scanning, kProgressId);
  EXPECT_EQ(::SendMessageW(progress, PBM_GETPOS, 0, 0), ::SendMessageW(progress, PBM_GETRANGE, FALSE, 0))
      << "the progress is full";

  // The results: every found driver listed and checked; two chosen by clicks.
  ASSERT_TRUE(remote::WaitFor([&] { return program.TakesInput(); }));
  const HWND results = remote::ShownPage(main, u"Scan results");
  const HWND list = remote::Control(results, CDlgScan3Results::kListId);
  ASSERT_EQ(Count(list), 3);
  ExpectProgramWindowMatches(main, "main_road_results.png");
  // A row's context menu speaks the language file's texts; Escape closes it.
  RECT first{LVIR_BOUNDS, 0, 0, 0};
  ASSERT_TRUE(::SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)));
  POINT onRow{first.left + 150, (first.top + first.bottom) / 2};
  ASSERT_TRUE(::ClientToScreen(list, &onRow));
  for (UINT message : {WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP}) user::InjectMouseTo(list, onRow, message);
  HWND menu = nullptr;
  ASSERT_TRUE(remote::WaitFor([&] {
    WCHAR name[16] = {};
    for (HWND popup : program.Popups())
      if (::GetClassNameW(popup, name, 16) && std::u16string_view(name) == u"#32768") menu = popup;
    return menu != nullptr;
  }));
  ExpectProgramWindowMatches(menu, "main_road_menu.png");
  // The key goes up over the list once the menu has gone with its press.
  user::InjectKeyTo(menu, VK_ESCAPE, true);
  ASSERT_TRUE(remote::WaitFor([&] { return program.Popups().empty(); }));
  user::InjectKeyTo(list, VK_ESCAPE, false);
  // Every row unchecked by a click on its check box, then the two displays checked again.
  for (int row : {0, 1, 2, 0, 1}) ClickRowCheck(list, row);
  ExpectProgramWindowMatches(main, "main_road_chosen.png");
  // The popup downloads, backs up and installs both.
  remote::Press(remote::ShownControl(results, CDlgScan3Results::kDownloadId));
  ASSERT_NO_FATAL_FAILURE(AnswerDownloadAndInstall(
      program, {"main_road_install_question.png", "main_road_installed_message.png"}, "main_road_restart.png"));
  EXPECT_EQ(ShutdownRequests(), "") << "the restart was put off";
  ASSERT_TRUE(remote::WaitFor([&] { return program.TakesInput(); }));
  ExpectProgramWindowMatches(main, "main_road_installed.png");

  // The summary: three out of date, two updated, one left.
  remote::Press(remote::ShownControl(results, CDlgScan3Results::kSummaryId));
  ASSERT_TRUE(remote::WaitFor([&] { return remote::ShownPage(main, u"Summary") != nullptr; }));
  ExpectProgramWindowMatches(main, "main_road_summary.png");
  const std::u16string kSummed[] = {u"28 drivers", u"3 drivers", u"2 drivers", u"1 drivers", u"0 drivers"};
  for (UINT row = 0; row < 5; ++row)
    EXPECT_EQ(TextOf(main, CDlgScan5Summary::kFirstValueId + row), kSummed[row]) << "summary value " << row;
  remote::Press(remote::ShownControl(main, CDlgScan5Summary::kFinishId));
  ASSERT_TRUE(remote::WaitFor([&] { return remote::ShownControl(main, CDlgScan1ScanHome::kScanNowId) != nullptr; }));

  // A new scan reads the installed versions back: only the driver left out is offered.
  remote::Press(remote::ShownControl(main, CDlgScan1ScanHome::kScanNowId));
  ASSERT_TRUE(remote::WaitFor(
      [&] { return remote::ShownPage(main, u"Scan results") != nullptr && Count(list) == 1 && program.TakesInput(); }));
  ExpectProgramWindowMatches(main, "main_road_rescanned.png");
  ASSERT_TRUE(program.Close()) << "the program ends when its window is closed";

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
  const CString backupFolder = GetAppDataFolder() + _T("\\Backup");
  path::WindowsToHost(std::u16string_view(backupFolder.GetString(), backupFolder.GetLength()), backups, nullptr);
  ASSERT_TRUE(fs::is_directory(backups));
  EXPECT_EQ(std::distance(fs::directory_iterator(backups), fs::directory_iterator()), 1);
  CMapStringToString downloads;
  ASSERT_TRUE(LoadHistoryFile(GetAppDataFolder() + _T("\\") + GetHistoryFileName(kDownloadHistory), downloads));
  EXPECT_EQ(downloads.GetCount(), 2);
}

}  // namespace
}  // namespace zx::test
