// Backup and restore through the main window on the laptop profile, by clicks: every driver
// backed up into a dated archive of the backup folder, a newer display driver downloaded and
// installed from the results page (which backs the old one up too), that driver restored from
// the first archive through the restore tab's pages (the restart prompt answered "later"),
// and a scan that reads the old version back; the window is compared with its reference
// picture at each page the user stops at.
#include <filesystem>

#include "DlgBackup1Type.h"
#include "DlgNagRestart.h"
#include "DlgRestore1Home.h"
#include "DlgRestore2Select.h"
#include "VelquorWizards.h"
#include "../../install/road/road_testing.h"
#include "cstring_printer.h"
#include "road_testing.h"
#include "zx/clock.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

constexpr LPCTSTR kDisplayId = _T("PCI\\VEN_10DE&DEV_0FFC&SUBSYS_21F517AA");
constexpr LPCTSTR kDisplayName = _T("NVIDIA Quadro K1000M");
constexpr LPCTSTR kOldVersion = _T("9.18.13.1106");
constexpr LPCTSTR kArchiveName = _T("ZephrinTunevoBackup-Saturday,01-Jan-2000_H00-M00-S00.zip");
constexpr LPCTSTR kInstallArchiveName = _T("ZephrinTunevoBackup-Saturday,01-Jan-2000_H01-M00-S00.zip");
// One hour in FILETIME units.
constexpr std::uint64_t kHour = 36000000000ull;

class BackupRestoreWindow : public MainRoadTest {
 protected:
  void SetUp() override {
    MainRoadTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(road::WriteCatalogue(catalogue_.path()));
    ASSERT_NO_FATAL_FAILURE(StartService());
    ASSERT_NO_FATAL_FAILURE(OpenRoadWindow());
  }
  static std::string Host(const CString& path) {
    std::string host;
    path::WindowsToHost(std::u16string_view(path.GetString(), path.GetLength()), host);
    return host;
  }
  // A click on the check box of the tree item (found by the tree's own hit test).
  void ClickCheckBox(CTreeCtrl& tree, HTREEITEM item) {
    CRect label;
    ASSERT_TRUE(tree.GetItemRect(item, &label, TRUE));
    CPoint at(label.left - 1, label.CenterPoint().y);
    for (; at.x > 0; --at.x) {
      UINT flags = 0;
      if (tree.HitTest(at, &flags) == item && (flags & TVHT_ONITEMSTATEICON)) break;
    }
    tree.ClientToScreen(&at);
    Advance(1000);
    ClickAt(at);
    Pump();
  }
  static HTREEITEM FindDriver(CTreeCtrl& tree, LPCTSTR name) {
    for (HTREEITEM group = tree.GetRootItem(); group; group = tree.GetNextSiblingItem(group))
      for (HTREEITEM item = tree.GetChildItem(group); item; item = tree.GetNextSiblingItem(item))
        if (tree.GetItemText(item) == name) return item;
    return nullptr;
  }
};

TEST_F(BackupRestoreWindow, ADriverChangedAfterABackupIsRestoredFromIt) {
  // A scan lists the devices and finds the newer drivers.
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return Shown(Results()) && ScanEnded(); }));
  CVelquorWizards& wizards = *main_->GetWizards();

  // Back up all drivers: the backup tab, then Next with "all drivers" chosen.
  PinWallTime(ManualClock::kDefaultWallTime);
  Tab(3);
  CDlgLeftDlgBase* backupGroup = main_->GetGroup(CVelquorDlg::kBackupGroup);
  EXPECT_EQ(main_->GetCurrentPanel(), backupGroup);
  ASSERT_TRUE(Shown(Page(CVelquorDlg::kBackupGroup, 1)));
  ExpectPageMatches(backupGroup, Page(CVelquorDlg::kBackupGroup, 1), "velquor_backup_tab.png");
  Press(Page(CVelquorDlg::kBackupGroup, 1), CDlgBackup1Type::kNextId);
  ASSERT_TRUE(Shown(Page(CVelquorDlg::kBackupGroup, 3)));
  ASSERT_TRUE(Until([&] { return Shown(Page(CVelquorDlg::kBackupGroup, 4)) && main_->IsUiEnabled(); }, 1));
  const tagBackupWizardState& backup = wizards.Backup().BackupState();
  EXPECT_FALSE(backup.failed || backup.aborted);
  ExpectPageMatches(backupGroup, Page(CVelquorDlg::kBackupGroup, 4), "velquor_backup_done.png");
  const CString archive = main_->GetBackupFolder() + kArchiveName;
  EXPECT_TRUE(fs::exists(Host(archive)));
  CString listed;
  ASSERT_TRUE(main_->GetHistory(kBackupHistory).Lookup(kArchiveName, listed));
  EXPECT_EQ(listed, archive);

  // The newer display driver is downloaded and installed from the results page.
  ASSERT_EQ(InstalledVersion(kDisplayId), CString(kOldVersion));
  PinWallTime(ManualClock::kDefaultWallTime + kHour);
  Tab(1);
  ShowScanPage(CScanPagesHost::kResultsPage);
  ASSERT_TRUE(Until([&] { return Shown(Results()); }));
  std::vector<CString> boxes;
  InstallChosen({_T("NVIDIA")}, boxes);
  ASSERT_EQ(InstalledVersion(kDisplayId), CString(_T("21.21.13.7570")));

  // The restore tab lists both archives, latest first; Restore opens the first backup's drivers.
  Tab(4);
  CDlgLeftDlgBase* restoreGroup = main_->GetGroup(CVelquorDlg::kRestoreGroup);
  EXPECT_EQ(main_->GetCurrentPanel(), restoreGroup);
  auto* home = dynamic_cast<CDlgRestore1Home*>(Page(CVelquorDlg::kRestoreGroup, 1));
  ASSERT_NE(home, nullptr);
  ASSERT_TRUE(Shown(home));
  ASSERT_EQ(home->GetList().GetItemCount(), 2);
  EXPECT_EQ(home->GetList().GetItemText(0, 0), CString(kInstallArchiveName));
  ASSERT_EQ(home->GetList().GetItemText(1, 0), CString(kArchiveName));
  CRect row;
  home->GetList().GetItemRect(1, &row, LVIR_BOUNDS);
  home->GetList().ClientToScreen(&row);
  ClickAt(row.CenterPoint());
  Pump();
  ExpectPageMatches(restoreGroup, home, "velquor_restore_tab.png");
  Press(home, CDlgRestore1Home::kRestoreId);
  auto* select = dynamic_cast<CDlgRestore2Select*>(Page(CVelquorDlg::kRestoreGroup, 2));
  ASSERT_NE(select, nullptr);
  ASSERT_TRUE(Shown(select));
  const tagRestoreWizardState& restore = wizards.Restore().RestoreState();
  EXPECT_EQ(restore.archiveName, CString(kArchiveName));
  Advance(CDlgRestore2Select::kLoadDelay);
  Pump();
  ASSERT_TRUE(Until([&] { return !restore.busy && main_->IsUiEnabled(); }, 1));
  EXPECT_TRUE(select->GetTree().IsWindowVisible());

  // Only the display is checked and restored.
  const HTREEITEM display = FindDriver(select->GetTree(), kDisplayName);
  ASSERT_NE(display, nullptr);
  ClickCheckBox(select->GetTree(), display);
  ASSERT_TRUE(select->GetTree().IsItemChecked(display));
  ExpectPageMatches(restoreGroup, select, "velquor_restore_select.png");
  Press(select, CDlgRestore2Select::kRestoreId);
  ASSERT_TRUE(Shown(Page(CVelquorDlg::kRestoreGroup, 3)));
  Advance(10);
  Pump();
  Advance(1000);
  ASSERT_TRUE(Until([&] { return Shown(Page(CVelquorDlg::kRestoreGroup, 4)); }, 1));
  EXPECT_EQ(restore.driversChosen, 1);
  EXPECT_EQ(restore.driversHandled, 1);
  EXPECT_EQ(restore.driversFailed, 0);
  EXPECT_TRUE(restore.noFailure);
  // The restore went through its catalogue: with the restart left to the user, the restart
  // prompt asks, and "later" leaves Windows running.
  bool asked = false;
  WhileModal({[&] {
    auto* prompt = dynamic_cast<CDlgNagRestart*>(CWnd::FromHandle(ActiveWindow()));
    if (prompt == nullptr) return false;
    asked = true;
    Click(::GetDlgItem(prompt->m_hWnd, IDCANCEL));
    return true;
  }});
  ASSERT_TRUE(Until([&] { return asked && main_->IsUiEnabled() && !restore.busy; }, 1));
  ExpectPageMatches(restoreGroup, Page(CVelquorDlg::kRestoreGroup, 4), "velquor_restore_done.png");
  ExpectAllStepsRan();
  EXPECT_EQ(ShutdownRequests(), "");

  EXPECT_EQ(InstalledVersion(kDisplayId), CString(kOldVersion));
  EXPECT_FALSE(fs::exists(Host(main_->GetTempFolder()))) << "the unpacked backup is removed";
  EXPECT_TRUE(fs::exists(Host(archive))) << "the archive stays for another restore";
}

}  // namespace
}  // namespace zx::test
