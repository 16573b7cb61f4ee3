// The running backup page on the laptop profile: all drivers and the checked ones backed up
// into a dated archive of the backup folder whose catalogue and files are right, a stop
// during the copy and one during the packing (no archive, no staging folder, the outcome a
// failure), too little free space with another folder or an abort, and the page's picture.
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "BackupArchive.h"
#include "BackupCompress.h"
#include "BackupIndex.h"
#include "DlgBackup3DriverBkp.h"
#include "DriverInstallEngine.h"
#include "EngineCallbacks.h"
#include "ZipExtract.h"
#include "file_size_limit.h"
#include "wizards_testing.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

class BackupRunPage : public ScannedWizardTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ScannedWizardTest::SetUp());
    ASSERT_TRUE(page_.Create(CDlgBackup3DriverBkp::kTemplateId, &host_));
  }
  void TearDown() override {
    page_.DestroyWindow();
    ScannedWizardTest::TearDown();
  }
  // What the first page does for a backup of all drivers, then the page's timer.
  // Answers the wait line the page shows before its worker starts (which then names each
  // driver's class there).
  CString StartAll() {
    owner_.state.backupAll = owner_.state.allChosen = owner_.state.backupStarted = TRUE;
    owner_.state.driversChosen = owner_.state.devicesFound;
    page_.ShowWindow(SW_SHOW);
    Pump();
    const CString waiting = Text(page_, CDlgBackup3DriverBkp::kWaitId);
    page_.StartTimer();
    clock_.Advance(CDlgBackup3DriverBkp::kStartDelay);
    Pump();
    return waiting;
  }
  // Serves the page until the backup has ended (the last page asked for).
  void WaitForEnd() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (owner_.pages.empty() && std::chrono::steady_clock::now() < deadline) {
      Pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(owner_.pages, std::vector<UINT>{CBackupWizardOwner::kFourthPage});
    EXPECT_FALSE(owner_.state.backupStarted);
    EXPECT_FALSE(owner_.state.busy);
    EXPECT_EQ(owner_.leftButton, 3);
    EXPECT_EQ(owner_.uiEnabled, (std::vector<bool>{false, true}));
    EXPECT_FALSE(fs::exists(HostPath(owner_.StagingFolder())));
  }
  // Blocks the worker until the user's stop has reached the engine and the test has looked at
  // the page after the stop: the worker's answer cannot overtake that look.
  void HoldUntilStopped() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((GetProcessEngine().GetStepCode() != kStepStopBackup || !looked_) &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  void PressStopWhen(std::atomic<bool>& reached) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!reached && std::chrono::steady_clock::now() < deadline) {
      Pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(reached);
    Press(page_, CDlgBackup3DriverBkp::kStopId);
    EXPECT_EQ(Text(page_, CDlgBackup3DriverBkp::kWaitId), CString(_T("Stopping the backup...")));
    EXPECT_FALSE(page_.GetDlgItem(CDlgBackup3DriverBkp::kStopId)->IsWindowEnabled());
    looked_ = true;
  }
  // The archives of the backup folder.
  std::vector<std::string> Archives() {
    std::vector<std::string> names;
    if (!fs::exists(HostPath(_T("C:\\Backups")))) return names;
    for (const auto& entry : fs::directory_iterator(HostPath(_T("C:\\Backups")))) names.push_back(entry.path().filename());
    return names;
  }
  // The catalogue of the archive unpacked, each record's folder holding files.
  std::vector<BackupIndexRecord> Unpack(const CString& archive) {
    int entries = 0;
    EXPECT_TRUE(ExtractWholeZip(archive, _T("C:\\Unpacked"), entries));
    std::vector<BackupIndexRecord> records;
    DWORD declared = 0;
    EXPECT_EQ(ReadBackupIndexFile(_T("C:\\Unpacked\\index.dat"), records, declared), BackupIndexStatus::kOk);
    for (const BackupIndexRecord& record : records)
      EXPECT_FALSE(fs::is_empty(HostPath(_T("C:\\Unpacked\\") + record.folder))) << CStringA(record.folder).GetString();
    return records;
  }

  CDlgBackup3DriverBkp page_{owner_};
  std::atomic<bool> looked_{false};
};

TEST_F(BackupRunPage, AllDriversIntoADatedArchive) {
  EXPECT_EQ(StartAll(), CString(_T("Please wait...")));
  ASSERT_NO_FATAL_FAILURE(WaitForEnd());
  EXPECT_FALSE(owner_.state.failed || owner_.state.aborted);
  EXPECT_FALSE(owner_.state.backupAll);
  EXPECT_EQ(owner_.state.driversHandled, owner_.state.devicesFound);
  // The test clock's local time names the archive: 1 January 2000 was a Saturday.
  const CString name = _T("ZephrinTunevoBackup-Saturday,01-Jan-2000_H00-M00-S00.zip");
  EXPECT_EQ(Archives(), std::vector<std::string>{std::string(CStringA(name).GetString())});
  CString path;
  ASSERT_TRUE(owner_.list.Lookup(name, path));
  EXPECT_EQ(path, CString(_T("C:\\Backups\\")) + name);
  EXPECT_EQ(owner_.listSaves, 1);
  EXPECT_FALSE(Unpack(path).empty());
  EXPECT_EQ(Text(page_, CDlgBackup3DriverBkp::kWaitId), CString(_T("The backup is complete.")));

  // A second backup of the same second is kept beside the first.
  owner_.pages.clear();
  owner_.uiEnabled.clear();
  StartAll();
  ASSERT_NO_FATAL_FAILURE(WaitForEnd());
  EXPECT_EQ(owner_.list.GetCount(), 2);
  EXPECT_TRUE(fs::exists(HostPath(_T("C:\\Backups\\ZephrinTunevoBackup-Saturday,01-Jan-2000_H00-M00-S00_2.zip"))));
}

TEST_F(BackupRunPage, OnlyTheCheckedDrivers) {
  CTreeCtrl tree;
  ASSERT_TRUE(tree.Create(WS_CHILD | TVS_CHECKBOXES, CRect(0, 0, 200, 400), &host_, 1));
  owner_.engine.SetTrees(&tree, nullptr);
  owner_.engine.FillClassTree();
  HTREEITEM group = tree.GetRootItem();
  ASSERT_NE(group, nullptr);
  for (HTREEITEM g = group; g; g = tree.GetNextSiblingItem(g))
    for (HTREEITEM item = tree.GetChildItem(g); item; item = tree.GetNextSiblingItem(item))
      tree.SetItemState(item, INDEXTOSTATEIMAGEMASK(1), TVIS_STATEIMAGEMASK);
  HTREEITEM chosen = tree.GetChildItem(group);
  tree.SetItemState(chosen, INDEXTOSTATEIMAGEMASK(2), TVIS_STATEIMAGEMASK);
  owner_.state.backupStarted = TRUE;
  owner_.state.driversChosen = 1;
  page_.ShowWindow(SW_SHOW);
  page_.StartTimer();
  clock_.Advance(CDlgBackup3DriverBkp::kStartDelay);
  ASSERT_NO_FATAL_FAILURE(WaitForEnd());
  owner_.engine.SetTrees(nullptr, nullptr);
  ASSERT_EQ(owner_.list.GetCount(), 1);
  CString name, path;
  POSITION at = owner_.list.GetStartPosition();
  owner_.list.GetNextAssoc(at, name, path);
  const std::vector<BackupIndexRecord> records = Unpack(path);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].texts[0], tree.GetItemText(chosen));
  tree.DestroyWindow();
}

TEST_F(BackupRunPage, AStopDuringTheCopyLeavesNothing) {
  std::atomic<bool> reached{false};
  owner_.onProgress = [&](int) {
    if (reached.exchange(true)) return;
    HoldUntilStopped();
  };
  StartAll();
  ASSERT_NO_FATAL_FAILURE(PressStopWhen(reached));
  ASSERT_NO_FATAL_FAILURE(WaitForEnd());
  EXPECT_TRUE(owner_.state.aborted);
  EXPECT_TRUE(Archives().empty());
  EXPECT_EQ(owner_.list.GetCount(), 0);
  EXPECT_EQ(Text(page_, CDlgBackup3DriverBkp::kWaitId), CString(_T("The backup did not finish.")));
}

// Once the copy is done the packing runs to its end: Stop is disabled before it starts.
TEST_F(BackupRunPage, StopIsForTheCopyOnly) {
  std::atomic<bool> packing{false}, looked{false};
  owner_.onFreeSpace = [&](LPCTSTR, ULONGLONG& bytes) {
    bytes = 1ull << 40;
    packing = true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!looked && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
  };
  StartAll();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!packing && std::chrono::steady_clock::now() < deadline) {
    Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_TRUE(packing);
  Pump();
  EXPECT_FALSE(page_.GetDlgItem(CDlgBackup3DriverBkp::kStopId)->IsWindowEnabled());
  EXPECT_EQ(Text(page_, CDlgBackup3DriverBkp::kStatusId), CString(_T("Packing the backup")));
  EXPECT_EQ(Text(page_, CDlgBackup3DriverBkp::kWaitId), CString(_T("Packing, please wait...")));
  looked = true;
  ASSERT_NO_FATAL_FAILURE(WaitForEnd());
  EXPECT_FALSE(owner_.state.aborted);
  EXPECT_EQ(Archives().size(), 1u);
}

TEST_F(BackupRunPage, ADiskThatFillsWhilePackingSaysSoAndKeepsNoArchive) {
  // The volume reports room, then fills up under the archive.
  std::unique_ptr<FileSizeLimit> full;
  owner_.onFreeSpace = [&](LPCTSTR, ULONGLONG& bytes) {
    bytes = 1ull << 40;
    full = std::make_unique<FileSizeLimit>(4096);
    return true;
  };
  Answer(_T("The backup could not be written; the disk may be full."), 0);
  StartAll();
  ASSERT_NO_FATAL_FAILURE(WaitForEnd());
  full.reset();
  ExpectAllStepsRan();
  EXPECT_TRUE(owner_.state.failed);
  EXPECT_FALSE(owner_.state.aborted);
  EXPECT_TRUE(Archives().empty());
  EXPECT_EQ(owner_.list.GetCount(), 0);
  EXPECT_EQ(Text(page_, CDlgBackup3DriverBkp::kWaitId), CString(_T("The backup did not finish.")));
}

TEST_F(BackupRunPage, TooLittleSpaceAndNoOtherFolderAborts) {
  owner_.onFreeSpace = [](LPCTSTR, ULONGLONG& bytes) {
    bytes = 10;
    return true;
  };
  Answer(_T("There is not enough free space."), 1);
  StartAll();
  ASSERT_NO_FATAL_FAILURE(WaitForEnd());
  ExpectAllStepsRan();
  EXPECT_TRUE(owner_.state.failed);
  EXPECT_TRUE(Archives().empty());
  EXPECT_EQ(Text(page_, CDlgBackup3DriverBkp::kWaitId), CString(_T("The backup was aborted")));
}

TEST_F(BackupRunPage, TooLittleSpaceThenAnotherFolder) {
  // The backup folder's volume is full; the one of the folder chosen next has room.
  std::atomic<int> asked{0};
  owner_.onFreeSpace = [&](LPCTSTR, ULONGLONG& bytes) {
    bytes = asked++ == 0 ? 10 : 1ull << 40;
    return true;
  };
  owner_.otherFolder = _T("C:\\Saved");
  Answer(_T("There is not enough free space."), 0);
  StartAll();
  ASSERT_NO_FATAL_FAILURE(WaitForEnd());
  ExpectAllStepsRan();
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(owner_.state.failed);
  EXPECT_EQ(owner_.storedFolder, CString(_T("C:\\Saved")));
  EXPECT_TRUE(Archives().empty());
  EXPECT_FALSE(fs::is_empty(HostPath(_T("C:\\Saved"))));
}

TEST_F(BackupRunPage, TooLittleSpaceTwiceAborts) {
  owner_.onFreeSpace = [](LPCTSTR, ULONGLONG& bytes) {
    bytes = 10;
    return true;
  };
  owner_.otherFolder = _T("C:\\Saved");
  WhileModal({BoxStep(CString(), 0), BoxStep(_T("The backup was aborted."), 0)});
  StartAll();
  ASSERT_NO_FATAL_FAILURE(WaitForEnd());
  ExpectAllStepsRan();
  EXPECT_TRUE(owner_.state.failed);
  EXPECT_TRUE(owner_.storedFolder.IsEmpty());
  EXPECT_EQ(Text(page_, CDlgBackup3DriverBkp::kWaitId), CString(_T("The backup was aborted")));
}

TEST_F(BackupRunPage, ThePageWhileTheCopyRuns) {
  std::atomic<bool> reached{false};
  owner_.onProgress = [&](int) {
    if (reached.exchange(true)) return;
    HoldUntilStopped();
  };
  StartAll();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!reached && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  Pump();
  // The first driver's name and class.
  const tagDeviceDriverInfo* first = owner_.engine.GetDevices()->GetAt(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(Text(page_, CDlgBackup3DriverBkp::kStatusId), CString(first->szText[kSlotDeviceName].Text()));
  EXPECT_EQ(Text(page_, CDlgBackup3DriverBkp::kWaitId), CString(first->szText[kSlotClassName].Text()));
  EXPECT_EQ(Text(page_, CDlgBackup3DriverBkp::kStatusLineId), CString(_T("Backup")));
  page_.SendDlgItemMessage(CDlgBackup3DriverBkp::kProgressId, PBM_SETPOS, 40, 0);
  Pump();
  ExpectWindowMatches(page_.m_hWnd, "backup3_running.png");
  looked_ = true;
  Press(page_, CDlgBackup3DriverBkp::kStopId);
  ASSERT_NO_FATAL_FAILURE(WaitForEnd());
}

}  // namespace
}  // namespace zx::test
