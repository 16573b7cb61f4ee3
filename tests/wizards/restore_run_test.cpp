// The driver tree and the running restore of the restore wizard on the laptop profile: a
// backup of every driver unpacked into the staging folder and listed by class, damaged and
// missing archives in a table (back to the first page), Restore with none checked and with
// refused rights, a hostile archive that would write outside the staging folder, and a restore
// whose drivers all fail without the restore program.
#include <atomic>
#include <chrono>
#include <thread>

#include "BackupArchive.h"
#include "BackupIndex.h"
#include "BackupRun.h"
#include "DlgRestore2Select.h"
#include "DlgRestore3Driver.h"
#include "DriverInstallEngine.h"
#include "EngineCallbacks.h"
#include "ZipWriter.h"
#include "wizards_testing.h"
#include "zx/msgbox.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

constexpr LPCTSTR kArchiveName = _T("ZephrinTunevoBackup-Saturday,01-Jan-2000_H00-M00-S00.zip");
constexpr LPCTSTR kArchivePath = _T("C:\\Backups\\ZephrinTunevoBackup-Saturday,01-Jan-2000_H00-M00-S00.zip");

class RestoreRun : public ScannedWizardTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ScannedWizardTest::SetUp());
    // The engine's own boxes (the language layer's complaint about the test's missing
    // language file left out).
    user::SetMessageBoxResponder([this](const user::MessageBoxCall& call) {
      if (call.text.find(u"Language File") == std::u16string::npos) boxes_.push_back(call.text);
      return IDOK;
    });
    ASSERT_TRUE(select_.Create(CDlgRestore2Select::kTemplateId, &host_));
    ASSERT_TRUE(run_.Create(CDlgRestore3Driver::kTemplateId, &host_));
    restore_.engine.SetTrees(nullptr, &select_.GetTree());
  }
  void TearDown() override {
    restore_.engine.SetTrees(nullptr, nullptr);
    run_.DestroyWindow();
    select_.DestroyWindow();
    ScannedWizardTest::TearDown();
  }
  // Every scanned driver backed up into the archive, as the backup wizard makes it.
  void BackUpAll() {
    CDeviceRecordArray& devices = const_cast<CDeviceRecordArray&>(*owner_.engine.GetDevices());
    ASSERT_EQ(RunDriverBackup(_T("C:\\Staging"), kArchivePath, devices, owner_.state.devicesFound,
                              [](CDeviceRecordArray*, int) { return true; }),
              kPacked);
    restore_.list.SetAt(kArchiveName, kArchivePath);
  }
  // What the first page does for the chosen backup, then the tree page's loading.
  void Load(const CString& name) {
    restore_.state.archiveName = name;
    restore_.state.archiveChosen = TRUE;
    select_.ShowWindow(SW_HIDE);
    select_.ShowWindow(SW_SHOW);
    Pump();
    EXPECT_FALSE(restore_.state.archiveChosen);
    ClockTicker ticker(clock_);
    clock_.Advance(CDlgRestore2Select::kLoadDelay);
    Pump();
    ServeUntil([this] { return !restore_.state.busy; });
    EXPECT_EQ(restore_.uiEnabled, (std::vector<bool>{false, true}));
  }
  // Serves the pages (their workers reach the tree through them) until the condition holds.
  static void ServeUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
      Pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(done());
  }
  int CountDrivers() {
    int count = 0;
    CTreeXCtrl& tree = select_.GetTree();
    for (HTREEITEM group = tree.GetRootItem(); group; group = tree.GetNextSiblingItem(group))
      for (HTREEITEM item = tree.GetChildItem(group); item; item = tree.GetNextSiblingItem(item)) ++count;
    return count;
  }

  FakeRestoreOwner restore_;
  CDlgRestore2Select select_{restore_};
  CDlgRestore3Driver run_{restore_, select_};
  std::vector<std::u16string> boxes_;
};

TEST_F(RestoreRun, TheBackupsDriversAreListedUnchecked) {
  ASSERT_NO_FATAL_FAILURE(BackUpAll());
  ASSERT_NO_FATAL_FAILURE(Load(kArchiveName));
  EXPECT_TRUE(restore_.pages.empty());
  EXPECT_TRUE(boxes_.empty());
  // Devices that share a driver share its record.
  const int records = restore_.engine.GetRestoreRecordCount();
  EXPECT_GT(records, 2);
  EXPECT_LE(records, owner_.state.devicesFound);
  EXPECT_EQ(CountDrivers(), records);
  EXPECT_EQ(select_.GetNamesToIds().GetCount(), records);
  EXPECT_TRUE(select_.GetTree().IsWindowVisible());
  EXPECT_TRUE(select_.GetDlgItem(CDlgRestore2Select::kRestoreId)->IsWindowEnabled());
  EXPECT_EQ(restore_.leftButtons, (std::vector<int>{0, 1}));
  EXPECT_TRUE(fs::exists(HostPath(restore_.StagingFolder() + _T("index.dat"))));
  ExpectWindowMatches(select_.m_hWnd, "restore2_select.png");

  // None checked: nothing happens but the reminder.
  Answer(_T("Check at least one driver to restore."), 0);
  Press(select_, CDlgRestore2Select::kRestoreId);
  ExpectAllStepsRan();
  EXPECT_TRUE(restore_.prompts.empty());
  // Refused rights go back to the first page.
  Press(select_, CDlgRestore2Select::kSelectAllId);
  restore_.adminAnswer = -1;
  Answer(_T("The restore was aborted."), 0);
  Press(select_, CDlgRestore2Select::kRestoreId);
  ExpectAllStepsRan();
  ASSERT_EQ(restore_.prompts.size(), 1u);
  EXPECT_EQ(restore_.prompts[0], CString(_T("Zephrin Tunevo needs administrator rights to restore drivers.")));
  EXPECT_EQ(restore_.styles[0], 14u);
  EXPECT_EQ(restore_.pages, std::vector<UINT>{CWizardOwner::kFirstPage});
  EXPECT_FALSE(restore_.state.restoreStarted);
  // Granted, the restore page takes over.
  restore_.adminAnswer = 1;
  Press(select_, CDlgRestore2Select::kRestoreId);
  EXPECT_EQ(restore_.pages.back(), CWizardOwner::kThirdPage);
  EXPECT_EQ(restore_.state.driversChosen, records);
  EXPECT_TRUE(restore_.state.restoreStarted);
  EXPECT_EQ(restore_.restores, 1);
}

// Backups the tree page cannot read: each sends the user back to the first page.
TEST_F(RestoreRun, DamagedOrMissingBackupsGoBackToTheFirstPage) {
  WriteHostFile(root() + "/drive_c/Backups/bad.zip", "PK\x03\x04 not a zip archive");
  WriteHostFile(root() + "/drive_c/other/readme.txt", "no catalogue here");
  ASSERT_EQ(CompressBackupFolder(_T("C:\\other"), _T("C:\\Backups\\nocatalogue.zip")), kPacked);
  WriteHostFile(root() + "/drive_c/damaged/index.dat", "not a catalogue at all");
  ASSERT_EQ(CompressBackupFolder(_T("C:\\damaged"), _T("C:\\Backups\\badcatalogue.zip")), kPacked);
  const struct {
    LPCTSTR name;
    LPCTSTR path;
    bool told;  // "IDS_CURRPT_ZIP_FILE" shown
  } kCases[] = {
      {_T("bad.zip"), _T("C:\\Backups\\bad.zip"), true},
      {_T("nocatalogue.zip"), _T("C:\\Backups\\nocatalogue.zip"), true},
      {_T("badcatalogue.zip"), _T("C:\\Backups\\badcatalogue.zip"), true},
      {_T("gone.zip"), _T("C:\\Backups\\gone.zip"), false},
      {_T("unlisted.zip"), nullptr, false},
  };
  for (const auto& entry : kCases) {
    SCOPED_TRACE(CStringA(entry.name).GetString());
    if (entry.path != nullptr) restore_.list.SetAt(entry.name, entry.path);
    restore_.pages.clear();
    restore_.uiEnabled.clear();
    boxes_.clear();
    ASSERT_NO_FATAL_FAILURE(Load(entry.name));
    EXPECT_EQ(restore_.pages, std::vector<UINT>{CWizardOwner::kFirstPage});
    EXPECT_EQ(boxes_.size(), entry.told ? 1u : 0u);
    if (entry.told && !boxes_.empty()) {
      EXPECT_EQ(boxes_[0], u"The backup is damaged.");
    }
    EXPECT_EQ(CountDrivers(), 0);
    EXPECT_EQ(select_.GetNamesToIds().GetCount(), 0);
  }
}

TEST_F(RestoreRun, AHostileArchiveWritesNothingOutsideTheStagingFolder) {
  // A catalogue whose record leads out by ".." beside files named to leave the folder by
  // "..", by a drive and by a leading backslash.
  BackupIndexRecord record;
  record.texts[0] = _T("Generic PnP Monitor");
  record.texts[1] = _T("..\\..\\escape.inf");
  record.folder = _T("..\\..\\");
  record.runningCount = 1;
  WriteHostFile(root() + "/drive_c/In/index.dat", BackupIndexMarkBytes() + BackupIndexRecordBytes(record));
  WriteHostFile(root() + "/drive_c/In/escape.txt", "out");
  fs::create_directories(HostPath(_T("C:\\Backups")));
  HZIP zip = ZipArchiveCreate(_T("C:\\Backups\\hostile.zip"));
  ASSERT_NE(zip, nullptr);
  ASSERT_EQ(ZipArchiveAddFile(zip, _T("C:\\In\\index.dat"), _T("index.dat")), 0u);
  for (LPCTSTR name : {_T("..\\..\\escape.txt"), _T("C:\\escape.txt"), _T("\\escape.txt"), _T("a\\..\\..\\escape.txt")})
    ASSERT_EQ(ZipArchiveAddFile(zip, _T("C:\\In\\escape.txt"), name), 0u);
  ASSERT_EQ(ZipArchiveCloseWriter(zip), 0u);
  fs::remove_all(HostPath(_T("C:\\In")));
  restore_.list.SetAt(_T("hostile.zip"), _T("C:\\Backups\\hostile.zip"));
  ASSERT_NO_FATAL_FAILURE(Load(_T("hostile.zip")));
  // The catalogue that leads out is refused as a damaged backup.
  EXPECT_EQ(restore_.pages, std::vector<UINT>{CWizardOwner::kFirstPage});
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], u"The backup is damaged.");
  EXPECT_EQ(CountDrivers(), 0);
  // Whatever the archive held stayed below the staging folder, or was not written at all.
  const std::string staging = HostPath(owner_.StagingFolder());
  for (const auto& entry : fs::recursive_directory_iterator(root())) {
    if (entry.path().filename() != "escape.txt") continue;
    EXPECT_EQ(entry.path().string().rfind(staging, 0), 0u) << entry.path();
  }
}

TEST_F(RestoreRun, WithoutTheRestoreProgramEveryDriverFails) {
  ASSERT_NO_FATAL_FAILURE(BackUpAll());
  ASSERT_NO_FATAL_FAILURE(Load(kArchiveName));
  CTreeXCtrl& tree = select_.GetTree();
  const HTREEITEM first = tree.GetChildItem(tree.GetRootItem());
  const HTREEITEM second = tree.GetNextSiblingItem(first) ? tree.GetNextSiblingItem(first)
                                                         : tree.GetChildItem(tree.GetNextSiblingItem(tree.GetRootItem()));
  tree.SetCheckState(first, TRUE);
  tree.SetCheckState(second, TRUE);
  const std::vector<CString> ticked{tree.GetItemText(first), tree.GetItemText(second)};
  restore_.uiEnabled.clear();
  restore_.state.restoreStarted = TRUE;
  // The wizard goes on to the next page as the main window does: the tree's page leaves.
  select_.ShowWindow(SW_HIDE);
  run_.ShowWindow(SW_SHOW);
  Pump();
  EXPECT_EQ(Text(run_, CDlgRestore3Driver::kStatusId), CString(_T("Restoring the drivers")));
  ExpectWindowMatches(run_.m_hWnd, "restore3_driver.png");
  run_.StartTimer();
  clock_.Advance(CDlgRestore3Driver::kStartDelay);
  Pump();
  EXPECT_TRUE(restore_.state.busy);
  EXPECT_TRUE(restore_.uiEnabled.empty()) << "the pages stay enabled during the pause";
  Answer(_T("2 drivers could not be restored."), 0);
  clock_.Advance(CDlgRestore3Driver::kPauseMs);
  {
    ClockTicker ticker(clock_);
    ServeUntil([this] { return !restore_.pages.empty(); });
  }
  ExpectAllStepsRan();
  // The status text names the last driver the restore came to.
  const CString shown = Text(run_, CDlgRestore3Driver::kStatusId);
  EXPECT_TRUE(shown == ticked[0] || shown == ticked[1]) << CStringA(shown).GetString();
  EXPECT_EQ(restore_.pages, std::vector<UINT>{CWizardOwner::kFourthPage});
  EXPECT_EQ(restore_.leftButtons, std::vector<int>{3});
  EXPECT_EQ(restore_.state.driversChosen, 2);
  EXPECT_EQ(restore_.state.driversHandled, 2);
  EXPECT_EQ(restore_.state.driversFailed, 2);
  EXPECT_FALSE(restore_.state.noFailure);
  EXPECT_FALSE(restore_.state.restoreStarted);
  EXPECT_TRUE(restore_.state.busy) << "until the pause after the restore";
  EXPECT_FALSE(fs::exists(HostPath(restore_.StagingFolder()))) << "the unpacked backup is removed";
  clock_.Advance(CDlgRestore3Driver::kPauseMs);
  Pump();
  EXPECT_FALSE(restore_.state.busy);
  EXPECT_EQ(restore_.uiEnabled, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace zx::test
