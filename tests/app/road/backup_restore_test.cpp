// Backup and restore in the real program, started as its own process on the laptop profile and
// driven only by clicks through the window channel: every driver backed up into a dated archive
// of the backup folder; an hour later (a second run of the program) a newer display driver
// downloaded and installed from the results page (which backs the old one up too), and that
// driver restored from the first archive through the restore tab's pages (the restart prompt
// answered "later"); then a scan offers its update again and reads the old version back. The
// window is compared with its reference picture at each page the user stops at.
#include <chrono>
#include <cstring>
#include <filesystem>

#include "DlgBackup1Type.h"
#include "DlgBackup4Finish.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DlgRestore1Home.h"
#include "DlgRestore2Select.h"
#include "FileHistory.h"
#include "../../install/road/road_testing.h"
#include "cstring_printer.h"
#include "machine_fixture.h"
#include "road_testing.h"
#include "HalvoranApp.h"
#include "ProcessControl.h"
#include "zx/clock.h"
#include "zx/windowpaint.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

constexpr LPCTSTR kDisplayId = _T("PCI\\VEN_10DE&DEV_0FFC&SUBSYS_21F517AA");
constexpr LPCTSTR kOldVersion = _T("9.18.13.1106");
constexpr LPCTSTR kArchiveName = _T("ZephrinTunevoBackup-Saturday,01-Jan-2000_H00-M00-S00.zip");
constexpr LPCTSTR kInstallArchiveName = _T("ZephrinTunevoBackup-Saturday,01-Jan-2000_H01-M00-S00.zip");
// One hour in FILETIME units.
constexpr std::uint64_t kHour = 36000000000ull;

// The tab buttons of the main window.
constexpr UINT kBackupTabId = 1261, kRestoreTabId = 1262;
// The restore's back button at its end.
constexpr UINT kRestoreBackId = 5187;

class BackupRestoreWindow : public MainRoadTest {
 protected:
  void SetUp() override {
    MainRoadTest::SetUp();
    // A 32-bit Windows: the device installer installs the INF packages itself.
    road::SetMachineValue(root(), "Windows", "Architecture", "x86");
    ASSERT_NO_FATAL_FAILURE(road::WriteCatalogue(catalogue_.path()));
    ASSERT_NO_FATAL_FAILURE(StartService());
  }
  // A click on the check box of the NVIDIA display in the restore page's tree: the first driver
  // of the fifth device class ("Display adapters") the backup holds.
  static void ClickDisplayCheckBox(HWND tree) {
    HTREEITEM group = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (int skip = 0; skip < 4 && group; ++skip)
      group = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(group)));
    ASSERT_NE(group, nullptr);
    const auto display =
        reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(group)));
    ASSERT_NE(display, nullptr);
    RECT label{};
    std::memcpy(&label, &display, sizeof display);
    ASSERT_TRUE(::SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label)));
    // The state image lies just before the label.
    POINT at{label.left - 9, (label.top + label.bottom) / 2};
    ASSERT_TRUE(::ClientToScreen(tree, &at));
    remote::PressAt(tree, at);
  }
  // Whether the backup's finish page is shown and the window takes input again. Neither Next
  // nor Stop showing says nothing: the program hides the first page before it shows the next.
  static bool BackupEnded(const ProgramRun& program) {
    return remote::ShownControl(program.window(), CDlgBackup4Finish::kBackId) != nullptr && program.TakesInput();
  }
  // The program's temporary folder, where a restore unpacks its archive.
  static CString TemporaryFolder() {
    WCHAR temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    CString folder = temp;
    if (folder.Right(1) != _T("\\")) folder += _T("\\");
    return folder + GetAppName() + _T("\\");
  }
  static void ClickRow(HWND list, int row) {
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(::SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r)));
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ASSERT_TRUE(::ClientToScreen(list, &at));
    remote::PressAt(list, at);
  }
};

// "Back up" before any scan: the question offers a scan, and once that scan has found the
// devices the backup tab is shown again, where Next now backs up without asking.
TEST_F(BackupRestoreWindow, ABackupAskedForBeforeAnyScanComesBackAfterIt) {
  ProgramRun program(ManualClock::kDefaultWallTime);
  const HWND main = program.window();
  ASSERT_NE(main, nullptr);
  remote::Press(remote::ShownControl(main, kBackupTabId));
  ASSERT_TRUE(remote::WaitFor([&] { return remote::ShownControl(main, CDlgBackup1Type::kNextId) != nullptr; }));
  remote::Press(remote::ShownControl(main, CDlgBackup1Type::kNextId));
  int questions = 0;
  // Whether the scan was seen to run after the answer: the backup page left or the window
  // taking no input. Until then the backup page still showing says nothing (the answer's click
  // and the tab change it posts may not have been taken yet on a busy machine).
  bool scanSeen = false;
  ASSERT_TRUE(remote::WaitFor([&] {
    for (HWND popup : program.Popups())
      if (const HWND yes = remote::ShownControl(popup, kMessageBoxFirstButton); yes && questions == 0) {
        ++questions;
        remote::Press(yes);
        return false;
      }
    const bool onBackupPage = remote::ShownControl(main, CDlgBackup1Type::kNextId) != nullptr;
    if (questions == 1 && (!onBackupPage || !program.TakesInput())) scanSeen = true;
    return scanSeen && program.Popups().empty() && remote::ShownPage(main, u"Scan results") == nullptr &&
           onBackupPage && program.TakesInput();
  }, 30));
  remote::Press(remote::ShownControl(main, CDlgBackup1Type::kNextId));
  ASSERT_TRUE(remote::WaitFor([&] { return BackupEnded(program); }));
  EXPECT_EQ(questions, 1);
  EXPECT_TRUE(program.Popups().empty());
  EXPECT_TRUE(fs::exists(HostPath(GetAppDataFolder() + _T("\\Backup\\") + kArchiveName)))
      << "pages shown: " << remote::ShownPageTitles(main);
  ASSERT_TRUE(program.Close());
}

TEST_F(BackupRestoreWindow, ADriverChangedAfterABackupIsRestoredFromIt) {
  const CString backups = GetAppDataFolder() + _T("\\Backup\\");
  const CString archive = backups + kArchiveName;
  {
    // A scan lists the devices; then all drivers are backed up: the backup tab, then Next with
    // "all drivers" chosen.
    ProgramRun program(ManualClock::kDefaultWallTime);
    const HWND main = program.window();
    ASSERT_NE(main, nullptr);
    ASSERT_NO_FATAL_FAILURE(ScanInProgram(program));
    remote::Press(remote::ShownControl(main, kBackupTabId));
    ASSERT_TRUE(remote::WaitFor([&] { return remote::ShownControl(main, CDlgBackup1Type::kNextId) != nullptr; }));
    ExpectProgramWindowMatches(main, "velquor_backup_tab.png");
    remote::Press(remote::ShownControl(main, CDlgBackup1Type::kNextId));
    ASSERT_TRUE(remote::WaitFor([&] { return BackupEnded(program); }));
    ExpectProgramWindowMatches(main, "velquor_backup_done.png");
    EXPECT_TRUE(fs::exists(HostPath(archive)));
    CMapStringToString listed;
    ASSERT_TRUE(LoadHistoryFile(GetAppDataFolder() + _T("\\") + GetHistoryFileName(kBackupHistory), listed));
    CString entry;
    ASSERT_TRUE(listed.Lookup(kArchiveName, entry));
    EXPECT_EQ(entry, archive);
    ASSERT_TRUE(program.Close());
  }

  // An hour later the newer display driver is downloaded and installed from the results page.
  ASSERT_EQ(InstalledVersion(kDisplayId), CString(kOldVersion));
  ProgramRun program(ManualClock::kDefaultWallTime + kHour);
  const HWND main = program.window();
  ASSERT_NE(main, nullptr);
  ASSERT_NO_FATAL_FAILURE(ScanInProgram(program));
  const HWND results = remote::ShownPage(main, u"Scan results");
  const HWND list = remote::Control(results, CDlgScan3Results::kListId);
  ASSERT_EQ(Count(list), 2);
  ClickRowCheck(list, 0);  // the Intel display stays as it is
  remote::Press(remote::ShownControl(results, CDlgScan3Results::kDownloadId));
  ASSERT_NO_FATAL_FAILURE(AnswerDownloadAndInstall(
      program, {"main_road_install_question.png", "main_road_installed_message.png"}));
  ASSERT_EQ(InstalledVersion(kDisplayId), CString(_T("21.21.13.7570")));
  EXPECT_TRUE(fs::exists(HostPath(backups + kInstallArchiveName))) << "the install backed the old driver up";
  ASSERT_TRUE(remote::WaitFor([&] { return program.TakesInput(); }));

  // The restore tab lists both archives, latest first; Restore opens the first backup's drivers.
  remote::Press(remote::ShownControl(main, kRestoreTabId));
  HWND archives = nullptr;
  ASSERT_TRUE(remote::WaitFor([&] { return (archives = remote::ShownControl(main, CDlgRestore1Home::kListId)) != nullptr; }));
  ASSERT_EQ(Count(archives), 2);
  ASSERT_TRUE(remote::WaitFor([&] { return program.TakesInput(); }));
  // The tab's page fills its list again once it shows, choosing the first row: the click on the
  // second is repeated until it holds.
  ASSERT_TRUE(remote::WaitFor([&] {
    ClickRow(archives, 1);
    return ::SendMessageW(archives, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == 1;
  }));
  ExpectProgramWindowMatches(main, "velquor_restore_tab.png");
  remote::Press(remote::ShownControl(main, CDlgRestore1Home::kRestoreId));
  HWND tree = nullptr;
  ASSERT_TRUE(remote::WaitFor([&] {
    tree = remote::ShownControl(main, CDlgRestore2Select::kTreeId);
    return tree != nullptr && remote::ShownControl(main, CDlgRestore2Select::kLoadingTextId) == nullptr &&
           program.TakesInput();
  }));

  // Only the display is checked and restored.
  ASSERT_NO_FATAL_FAILURE(ClickDisplayCheckBox(tree));
  ExpectProgramWindowMatches(main, "velquor_restore_select.png");
  remote::Press(remote::ShownControl(main, CDlgRestore2Select::kRestoreId));
  // The restore went through its catalogue: with the restart left to the user, the restart
  // prompt asks, and "later" leaves Windows running.
  bool asked = false;
  ASSERT_TRUE(remote::WaitFor([&] {
    for (HWND popup : program.Popups())
      if (const HWND later = remote::ShownControl(popup, IDCANCEL); later && !asked) {
        asked = true;
        remote::Press(later);
      }
    return asked && program.Popups().empty() && remote::ShownControl(main, kRestoreBackId) != nullptr &&
           program.TakesInput();
  }));
  ExpectProgramWindowMatches(main, "velquor_restore_done.png");
  EXPECT_EQ(ShutdownRequests(), "");
  // A scan offers the restored display its update again, though the record of installed
  // updates names it: both displays are listed, as before the install.
  ASSERT_NO_FATAL_FAILURE(ScanInProgram(program));
  EXPECT_EQ(Count(remote::Control(remote::ShownPage(main, u"Scan results"), CDlgScan3Results::kListId)), 2);
  ASSERT_TRUE(program.Close());

  EXPECT_EQ(InstalledVersion(kDisplayId), CString(kOldVersion));
  EXPECT_FALSE(fs::exists(HostPath(TemporaryFolder()))) << "the unpacked backup is removed";
  EXPECT_TRUE(fs::exists(HostPath(archive))) << "the archive stays for another restore";
}

}  // namespace
}  // namespace zx::test
