// Backup and restore through the main window on the laptop profile, by clicks: every driver
// backed up into a dated archive of the backup folder, a newer display driver installed, that
// driver restored from the archive through the restore tab's pages (the restart prompt
// answered "later"), and a scan that reads the old version back; the window is compared with
// its reference picture at each page the user stops at.
#include <setupapi.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "DlgBackup1Type.h"
#include "DlgNagRestart.h"
#include "DlgRestore1Home.h"
#include "DlgRestore2Select.h"
#include "EngineCallbacks.h"
#include "FileHistory.h"
#include "VelquorWizards.h"
#include "cstring_printer.h"
#include "file_size_limit.h"
#include "velquor_testing.h"
#include "zx/input.h"
#include "zx/machineprofile.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

constexpr LPCTSTR kDisplayId = _T("PCI\\VEN_10DE&DEV_0FFC&SUBSYS_21F517AA");
constexpr LPCTSTR kDisplayName = _T("NVIDIA Quadro K1000M");
constexpr LPCTSTR kOldVersion = _T("9.18.13.1106");
constexpr LPCTSTR kArchiveName = _T("ZephrinTunevoBackup-Saturday,01-Jan-2000_H00-M00-S00.zip");

// A newer driver package of the laptop's NVIDIA display: its INF alone.
constexpr char kNewerInf[] =
    "[Version]\r\nSignature=\"$WINDOWS NT$\"\r\nClass=Display\r\n"
    "ClassGuid={4D36E968-E325-11CE-BFC1-08002BE10318}\r\nProvider=%Maker%\r\nDriverVer=10/11/2016,21.21.13.7570\r\n\r\n"
    "[Manufacturer]\r\n%Maker%=Models\r\n\r\n[Models]\r\n%Device%=Install, PCI\\VEN_10DE&DEV_0FFC&SUBSYS_21F517AA\r\n\r\n"
    "[Install.Services]\r\nAddService=nvidia, 2, Service\r\n\r\n[Strings]\r\nMaker=\"Zx nvidia\"\r\n"
    "Device=\"Zx nvidia device\"\r\n";

class BackupRestoreWindow : public VelquorWindow {
 protected:
  void BeforeWindow() override {
    const std::u16string ini = path::HostToWindows(root() + "/machine.ini");
    ASSERT_TRUE(WritePrivateProfileStringW(u"Machine", u"Administrator", u"1", ini.c_str()));
    devices::MachineProfile profile;
    std::string error;
    ASSERT_TRUE(devices::LoadProfileFile(ZX_PROFILES_DIR "/laptop.profile", profile, error)) << error;
    ASSERT_EQ(devices::SeedMachine(profile, devices::SeedOptions{false, "laptop"}, error), devices::SeedResult::Seeded)
        << error;
    SetEngineProgressView(&view_);
    // The restore program works on the test's machine too.
    setenv("ZX_MACHINE_ROOT", root().c_str(), 1);
  }
  void TearDown() override {
    VelquorWindow::TearDown();
    SetEngineProgressView(nullptr);
    unsetenv("ZX_MACHINE_ROOT");
  }
  static std::string Host(const CString& path) {
    std::string host;
    path::WindowsToHost(std::u16string_view(path.GetString(), path.GetLength()), host);
    return host;
  }
  // The restore program in the tool folder of every Windows the engine may pick.
  void PlaceRestoreProgram() {
    const std::string script = "#!/bin/sh\nexec '" ZX_RAVOLT "' \"$@\"\n";
    WriteHostFile(Host(_T("C:\\Tools\\Ravolt.exe")), script);
    fs::permissions(Host(_T("C:\\Tools\\Ravolt.exe")), fs::perms::owner_all);
    tagOsFolders tools;
    tools.strXp = tools.strAmd64 = tools.strIa64 = tools.strVista = tools.strWin7i386 = tools.strWin7amd64 =
        _T("C:\\Tools\\");
    dialog_->GetScanEngine().SetInstallSettings(tools, 0);
  }
  // The display's installed driver version, read by a scan of its own.
  static CString DisplayVersion() {
    CEngineProgressView view;
    CEngineProgressView* previous = GetEngineProgressView();
    SetEngineProgressView(&view);
    CDriverScanUpdate scan;
    EXPECT_EQ(scan.ReportScanEnd(_T("")), kStepCompleted);
    SetEngineProgressView(previous);
    for (int i = 0; i < scan.GetDeviceCount(); ++i) {
      const tagDeviceDriverInfo* device = scan.GetDevices()->GetAt(i);
      // The device's hardware id goes on with its revision.
      if (device != nullptr && CString(device->szText[kSlotHardwareId].Text()).Find(kDisplayId) == 0)
        return device->szText[kSlotDriverVersion].Text();
    }
    return CString();
  }
  // Serves the window (its workers reach its pages through it) until the condition holds; the
  // test clock moves on meanwhile, for the workers' short waits on it.
  void ServeUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(25);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
      Pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      clock_.Advance(1);
    }
    ASSERT_TRUE(done());
  }
  void Press(CWnd* page, UINT id) {
    ASSERT_NE(page, nullptr);
    Click(page->GetDlgItem(id)->m_hWnd);
    Pump();
  }
  void Tab(int tab) {
    Click(dialog_->GetTabButton(tab)->m_hWnd);
    Pump();
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
    clock_.Advance(1000);
    ClickAt(at);
    Pump();
  }
  static HTREEITEM FindDriver(CTreeCtrl& tree, LPCTSTR name) {
    for (HTREEITEM group = tree.GetRootItem(); group; group = tree.GetNextSiblingItem(group))
      for (HTREEITEM item = tree.GetChildItem(group); item; item = tree.GetNextSiblingItem(item))
        if (tree.GetItemText(item) == name) return item;
    return nullptr;
  }
  CDlgBaseWnd* Page(CVelquorDlg::Group group, int place) { return dialog_->GetGroupPage(group, place); }
  static bool Shown(CWnd* page) { return page && page->GetSafeHwnd() && page->IsWindowVisible(); }

  CEngineProgressView view_;
};

TEST_F(BackupRestoreWindow, ADriverChangedAfterABackupIsRestoredFromIt) {
  ASSERT_EQ(dialog_->GetScanEngine().ReportScanEnd(_T("")), kStepCompleted);
  PlaceRestoreProgram();
  CVelquorWizards& wizards = *dialog_->GetWizards();

  // Back up all drivers: the backup tab, then Next with "all drivers" chosen.
  Tab(3);
  EXPECT_EQ(dialog_->GetCurrentPanel(), dialog_->GetGroup(CVelquorDlg::kBackupGroup));
  ASSERT_TRUE(Shown(Page(CVelquorDlg::kBackupGroup, 1)));
  RedrawAll(dialog_->GetGroup(CVelquorDlg::kBackupGroup));
  ExpectWindowMatches(dialog_->m_hWnd, "velquor_backup_tab.png");
  Press(Page(CVelquorDlg::kBackupGroup, 1), CDlgBackup1Type::kNextId);
  ASSERT_TRUE(Shown(Page(CVelquorDlg::kBackupGroup, 3)));
  clock_.Advance(10);
  ServeUntil([&] { return Shown(Page(CVelquorDlg::kBackupGroup, 4)) && dialog_->IsUiEnabled(); });
  const tagBackupWizardState& backup = wizards.Backup().BackupState();
  EXPECT_FALSE(backup.failed || backup.aborted);
  RedrawAll(dialog_->GetGroup(CVelquorDlg::kBackupGroup));
  ExpectWindowMatches(dialog_->m_hWnd, "velquor_backup_done.png");
  const CString archive = dialog_->GetBackupFolder() + kArchiveName;
  EXPECT_TRUE(fs::exists(Host(archive)));
  CString listed;
  ASSERT_TRUE(dialog_->GetHistory(kBackupHistory).Lookup(kArchiveName, listed));
  EXPECT_EQ(listed, archive);

  // A newer display driver is installed.
  ASSERT_EQ(DisplayVersion(), CString(kOldVersion));
  WriteHostFile(Host(_T("C:\\Newer\\nvidia.inf")), kNewerInf);
  BOOL reboot = FALSE;
  ASSERT_TRUE(UpdateDriverForPlugAndPlayDevicesW(nullptr, kDisplayId, _T("C:\\Newer\\nvidia.inf"), 0, &reboot));
  ASSERT_EQ(DisplayVersion(), CString(_T("21.21.13.7570")));

  // The restore tab lists the archive; Restore opens its drivers.
  Tab(4);
  CDlgLeftDlgBase* restoreGroup = dialog_->GetGroup(CVelquorDlg::kRestoreGroup);
  EXPECT_EQ(dialog_->GetCurrentPanel(), restoreGroup);
  auto* home = dynamic_cast<CDlgRestore1Home*>(Page(CVelquorDlg::kRestoreGroup, 1));
  ASSERT_NE(home, nullptr);
  ASSERT_TRUE(Shown(home));
  ASSERT_EQ(home->GetList().GetItemCount(), 1);
  EXPECT_EQ(home->GetList().GetItemText(0, 0), CString(kArchiveName));
  RedrawAll(restoreGroup);
  ExpectWindowMatches(dialog_->m_hWnd, "velquor_restore_tab.png");
  Press(home, CDlgRestore1Home::kRestoreId);
  auto* select = dynamic_cast<CDlgRestore2Select*>(Page(CVelquorDlg::kRestoreGroup, 2));
  ASSERT_NE(select, nullptr);
  ASSERT_TRUE(Shown(select));
  const tagRestoreWizardState& restore = wizards.Restore().RestoreState();
  clock_.Advance(CDlgRestore2Select::kLoadDelay);
  Pump();
  ServeUntil([&] { return !restore.busy && dialog_->IsUiEnabled(); });
  EXPECT_TRUE(select->GetTree().IsWindowVisible());

  // Only the display is checked and restored.
  const HTREEITEM display = FindDriver(select->GetTree(), kDisplayName);
  ASSERT_NE(display, nullptr);
  ClickCheckBox(select->GetTree(), display);
  ASSERT_TRUE(select->GetTree().IsItemChecked(display));
  RedrawAll(restoreGroup);
  ExpectWindowMatches(dialog_->m_hWnd, "velquor_restore_select.png");
  Press(select, CDlgRestore2Select::kRestoreId);
  ASSERT_TRUE(Shown(Page(CVelquorDlg::kRestoreGroup, 3)));
  clock_.Advance(10);
  Pump();
  clock_.Advance(1000);
  ServeUntil([&] { return Shown(Page(CVelquorDlg::kRestoreGroup, 4)); });
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
  ServeUntil([&] { return asked && dialog_->IsUiEnabled() && !restore.busy; });
  RedrawAll(restoreGroup);
  ExpectWindowMatches(dialog_->m_hWnd, "velquor_restore_done.png");
  ExpectAllStepsRan();
  EXPECT_FALSE(fs::exists(root() + "/shutdowns.log"));

  EXPECT_EQ(DisplayVersion(), CString(kOldVersion));
  EXPECT_FALSE(fs::exists(Host(dialog_->GetTempFolder()))) << "the unpacked backup is removed";
  EXPECT_TRUE(fs::exists(Host(archive))) << "the archive stays for another restore";
}

// The update engine's word that the backup before an install is whole: the main window packs
// the staging folder into a dated archive of the backup folder, stores the backup history and
// lists the archive on the restore tab; a disk that fills under the archive is told and keeps
// no archive.
TEST_F(BackupRestoreWindow, ABackupBeforeAnInstallIsPackedAndListed) {
  auto* home = dynamic_cast<CDlgRestore1Home*>(Page(CVelquorDlg::kRestoreGroup, 1));
  ASSERT_NE(home, nullptr);
  const CString staging = dialog_->GetTempFolder();
  WriteHostFile(Host(staging + _T("index.dat")), std::string("\x0B\0\0\0", 4));
  WriteHostFile(Host(staging + _T("Display\\nvidia.inf")), "[Version]\r\n");
  const CString stored = dialog_->GetDataFolder() + _T("\\") + GetHistoryFileName(kBackupHistory);
  EXPECT_FALSE(fs::exists(Host(stored)));
  ASSERT_EQ(home->GetList().GetItemCount(), 0);

  // Result rows the engine does not know leave nothing more to copy: the backup is whole.
  ASSERT_EQ(dialog_->GetScanEngine().BackupDriversForUpdate(staging, {5}), kStepCompleted);
  Pump();
  const CString archive = dialog_->GetBackupFolder() + kArchiveName;
  ASSERT_TRUE(fs::exists(Host(archive)));
  EXPECT_FALSE(fs::exists(Host(staging)));
  ASSERT_EQ(home->GetList().GetItemCount(), 1);
  EXPECT_EQ(home->GetList().GetItemText(0, 0), CString(kArchiveName));
  CMapStringToString history;
  ASSERT_TRUE(LoadHistoryFile(stored, history));
  CString listed;
  ASSERT_TRUE(history.Lookup(kArchiveName, listed));
  EXPECT_EQ(listed, archive);

  // A word other than "whole" packs nothing.
  WriteHostFile(Host(staging + _T("Display\\nvidia.inf")), "[Version]\r\n");
  dialog_->SendMessage(CDriverScanUpdate::kBackupExistsMessage, 0, 0);
  EXPECT_TRUE(fs::exists(Host(staging)));

  // The disk fills while the next archive is written: told, and no second archive.
  std::string driver(64 * 1024, '\0');
  std::mt19937 random(3);
  for (char& byte : driver) byte = static_cast<char>(random());
  WriteHostFile(Host(staging + _T("Display\\nvidia.sys")), driver);
  CString told;
  AnswerBox(0, &told);
  {
    FileSizeLimit full(4096);
    dialog_->SendMessage(CDriverScanUpdate::kBackupExistsMessage, 1, 0);
  }
  ExpectAllStepsRan();
  EXPECT_NE(told.Find(_T("The backup could not be written; the disk may be full. No archive was kept.")), -1) << CStringA(told).GetString();
  EXPECT_FALSE(fs::exists(Host(staging)));
  EXPECT_EQ(std::distance(fs::directory_iterator(Host(dialog_->GetBackupFolder())), fs::directory_iterator()), 1);
  EXPECT_EQ(home->GetList().GetItemCount(), 1);
}

}  // namespace
}  // namespace zx::test
