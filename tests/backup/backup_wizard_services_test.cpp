// The services behind the backup pages: the dated archive name and its stamp read back, a
// second backup of the same second kept beside the first, the laptop's drivers backed up all
// or as checked in the backup tree, and the compression step's free-space check, stop and
// failures with the staging folder always removed.
#include <gtest/gtest.h>

#include <commctrl.h>
#include <windows.h>

#include <filesystem>
#include <functional>

#include "BackupArchive.h"
#include "BackupCompress.h"
#include "BackupIndex.h"
#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "EngineCallbacks.h"
#include "cstring_printer.h"
#include "scan_testing.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD weekday) {
  SYSTEMTIME time{};
  time.wYear = year, time.wMonth = month, time.wDay = day, time.wDayOfWeek = weekday;
  time.wHour = hour, time.wMinute = minute, time.wSecond = second;
  return time;
}

TEST(BackupArchiveName, DatedNameAndItsStampReadBack) {
  const SYSTEMTIME friday = Time(2021, 3, 5, 14, 7, 9, 5);
  const CString name = MakeBackupArchiveName(_T("Tunevo-Backup-"), friday);
  EXPECT_EQ(name, CString(_T("Tunevo-Backup-Friday,05-Mar-2021_H14-M07-S09.zip")));
  SYSTEMTIME read{};
  EXPECT_EQ(CDriverScanUpdate::MakeBackupName(name, &read), CString(_T("20210305_140709")));
  EXPECT_EQ(read.wDayOfWeek, 5);
  EXPECT_EQ(CDriverScanUpdate::MakeBackupName(_T("Backup,01-Mar-2010_H10-M05-S07.zip")),
            CString(_T("20100301_100507")));
  // The second backup of a second keeps its stamp.
  EXPECT_EQ(CDriverScanUpdate::MakeBackupName(_T("B,01-Mar-2010_H10-M05-S07_2.zip")), CString(_T("20100301_100507")));
}

TEST(BackupArchiveName, NamesWithoutAStampReadAsNone) {
  const LPCTSTR names[] = {
      _T("Backup,01-Mar-2010_H10-M05-S07"),      _T("Backup01-Mar-2010_H10-M05-S07.zip"),
      _T("B,31-Feb-2021_H10-M05-S07.zip"),       _T("B,00-Mar-2021_H10-M05-S07.zip"),
      _T("B,01-Foo-2021_H10-M05-S07.zip"),       _T("B,01-Mar-2021_H24-M05-S07.zip"),
      _T("B,01-Mar-2021_H10-M60-S07.zip"),       _T("B,01-Mar-2021_H10-M05.zip"),
      _T("B,01-Mar-2021_H10-M05-S07-S08.zip"),   _T("B,01-Mar-2021_H10-M05-S07_x.zip"),
      _T("B,01-Mar-2021_X10-M05-S07.zip"),       _T("B,01-Mar_H10-M05-S07.zip"),
      _T("B,01-Mar-99999_H10-M05-S07.zip"),      _T(".zip"),
      _T("B,-Mar-2021_H10-M05-S07.zip"),         _T("B,01-Mar-2021_H+1-M05-S07.zip"),
  };
  for (const LPCTSTR name : names) {
    SYSTEMTIME read = Time(1, 1, 1, 1, 1, 1, 1);
    EXPECT_EQ(CDriverScanUpdate::MakeBackupName(name, &read), CString()) << CStringA(name).GetString();
    EXPECT_EQ(read.wYear, 1) << CStringA(name).GetString();
  }
}

class BackupWizardServices : public ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    GetProcessEngine().SetStepCode(kStepIdle);
    SetEngineProgressView(&view_);
    InitCommonControls();
    parent_ = CreateWindowExW(0, WC_STATICW, u"parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    ASSERT_TRUE(tree_.Create(WS_CHILD | TVS_CHECKBOXES, CRect(0, 0, 200, 400), CWnd::FromHandle(parent_), 1));
    engine_.SetTrees(&tree_, nullptr);
    SeedFile(std::string(ZX_PROFILES_DIR) + "/laptop.profile");
    ASSERT_EQ(engine_.ReportScanEnd(_T("")), kStepCompleted);
    ASSERT_GT(engine_.GetDeviceCount(), 2);
  }
  void TearDown() override {
    SetEngineProgressView(nullptr);
    tree_.DestroyWindow();
    DestroyWindow(parent_);
    ScanTest::TearDown();
  }
  // The records of the staging folder's catalogue.
  static std::vector<BackupIndexRecord> Catalogue() {
    std::vector<BackupIndexRecord> records;
    DWORD declared = 0;
    EXPECT_EQ(ReadBackupIndexFile(_T("C:\\Staging\\index.dat"), records, declared), BackupIndexStatus::kOk);
    return records;
  }
  int BackUp(BOOL& all) {
    return engine_.BackupSelectedDrivers(_T("C:\\Staging"), all, [](CDeviceRecordArray*, int) { return true; });
  }
  BackupCompressJob Job(ULONGLONG freeBytes = 1ull << 40) {
    BackupCompressJob job;
    job.staging = _T("C:\\Staging");
    job.backupFolder = _T("C:\\Backups\\Drivers");
    job.time = Time(2021, 3, 5, 14, 7, 9, 5);
    job.backupList = &list_;
    job.freeSpace = [this, freeBytes](LPCTSTR volume, ULONGLONG& bytes) {
      volume_ = volume;
      bytes = freeBytes;
      return true;
    };
    return job;
  }

  CEngineProgressView view_;
  CDriverScanUpdate engine_;
  HWND parent_ = nullptr;
  CTreeCtrl tree_;
  CMapStringToString list_;
  CString volume_;
};

TEST_F(BackupWizardServices, AllDriversIntoADatedArchiveOfTheBackupFolder) {
  BOOL all = TRUE;
  ASSERT_EQ(BackUp(all), kStepCompleted);
  EXPECT_FALSE(all);
  EXPECT_TRUE(engine_.IsFinished());
  EXPECT_TRUE(engine_.IsScanDone());
  EXPECT_FALSE(engine_.IsAborted());
  const std::vector<BackupIndexRecord> records = Catalogue();
  ASSERT_FALSE(records.empty());
  const double size = GetBackupFolderSize(_T("C:\\Staging"));
  EXPECT_GT(size, 0);

  CString archive;
  ASSERT_EQ(CompressBackup(Job(), &archive), kCompressDone);
  EXPECT_EQ(volume_, CString(_T("C:\\")));
  const CString name = MakeBackupNamePrefix() + _T("Friday,05-Mar-2021_H14-M07-S09.zip");
  EXPECT_EQ(archive, CString(_T("C:\\Backups\\Drivers\\")) + name);
  EXPECT_EQ(MakeBackupNamePrefix().Find(_T(' ')), -1);
  CString listed;
  EXPECT_TRUE(list_.Lookup(name, listed));
  EXPECT_EQ(listed, archive);
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\Staging"))));
  EXPECT_GT(fs::file_size(HostPath(archive)), 0u);
}

TEST_F(BackupWizardServices, ASecondBackupOfTheSameSecondKeepsTheFirst) {
  for (int run = 0; run < 3; ++run) {
    BOOL all = TRUE;
    ASSERT_EQ(BackUp(all), kStepCompleted);
    ASSERT_EQ(CompressBackup(Job()), kCompressDone);
  }
  const CString base = CString(_T("C:\\Backups\\Drivers\\")) + MakeBackupNamePrefix() + _T("Friday,05-Mar-2021_H14-M07-S09");
  for (const LPCTSTR suffix : {_T(".zip"), _T("_2.zip"), _T("_3.zip")})
    EXPECT_TRUE(fs::exists(HostPath(base + suffix))) << CStringA(suffix).GetString();
  EXPECT_EQ(list_.GetCount(), 3);
}

TEST_F(BackupWizardServices, OnlyTheCheckedDriversOfTheTree) {
  engine_.FillClassTree();
  // Every item unchecked, then the first driver of the first two groups checked.
  std::vector<CString> chosen;
  for (HTREEITEM group = tree_.GetRootItem(); group; group = tree_.GetNextSiblingItem(group)) {
    tree_.SetItemState(group, INDEXTOSTATEIMAGEMASK(1), TVIS_STATEIMAGEMASK);
    for (HTREEITEM item = tree_.GetChildItem(group); item; item = tree_.GetNextSiblingItem(item)) {
      const bool pick = chosen.size() < 2 && item == tree_.GetChildItem(group);
      tree_.SetItemState(item, INDEXTOSTATEIMAGEMASK(pick ? 2 : 1), TVIS_STATEIMAGEMASK);
      if (pick) chosen.push_back(tree_.GetItemText(item));
    }
  }
  ASSERT_EQ(chosen.size(), 2u);
  BOOL all = FALSE;
  ASSERT_EQ(BackUp(all), kStepCompleted);
  const std::vector<BackupIndexRecord> records = Catalogue();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(CString(records[0].texts[kSlotDeviceName]), chosen[0]);
  EXPECT_EQ(CString(records[1].texts[kSlotDeviceName]), chosen[1]);

  // Nothing checked: nothing backed up, and the run still ends.
  for (HTREEITEM group = tree_.GetRootItem(); group; group = tree_.GetNextSiblingItem(group))
    for (HTREEITEM item = tree_.GetChildItem(group); item; item = tree_.GetNextSiblingItem(item))
      tree_.SetItemState(item, INDEXTOSTATEIMAGEMASK(1), TVIS_STATEIMAGEMASK);
  EXPECT_EQ(BackUp(all), kStepFailed);
  EXPECT_TRUE(engine_.IsFinished());
}

TEST_F(BackupWizardServices, TooLittleFreeSpaceKeepsTheStagingFolderForAnotherFolder) {
  BOOL all = TRUE;
  ASSERT_EQ(BackUp(all), kStepCompleted);
  const auto size = static_cast<ULONGLONG>(GetBackupFolderSize(_T("C:\\Staging")));
  EXPECT_EQ(CompressBackup(Job(size - 1)), kCompressNoSpace);
  EXPECT_TRUE(fs::exists(HostPath(_T("C:\\Staging\\index.dat"))));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\Backups\\Drivers"))));
  // A backup folder on another volume is checked against that volume.
  BackupCompressJob other = Job(size - 1);
  other.backupFolder = _T("D:\\Elsewhere\\Backups");
  EXPECT_EQ(CompressBackup(other), kCompressNoSpace);
  EXPECT_EQ(volume_, CString(_T("D:\\")));
  // A free space that cannot be read counts as too little.
  BackupCompressJob unknown = Job();
  unknown.freeSpace = [](LPCTSTR, ULONGLONG&) { return false; };
  EXPECT_EQ(CompressBackup(unknown), kCompressNoSpace);
  // Just enough room: packed.
  EXPECT_EQ(CompressBackup(Job(size)), kCompressDone);
  EXPECT_EQ(list_.GetCount(), 1);
}

TEST_F(BackupWizardServices, AStopWhilePackingLeavesNoArchiveAndNoStagingFolder) {
  BOOL all = TRUE;
  ASSERT_EQ(BackUp(all), kStepCompleted);
  GetProcessEngine().SetStepCode(kStepStopBackup);
  EXPECT_EQ(CompressBackup(Job()), kCompressStopped);
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\Staging"))));
  EXPECT_TRUE(fs::is_empty(HostPath(_T("C:\\Backups\\Drivers"))));
  EXPECT_EQ(list_.GetCount(), 0);
}

TEST_F(BackupWizardServices, AStopWhileCopyingMarksTheRunAborted) {
  BOOL all = TRUE;
  int steps = 0;
  const int result = engine_.BackupSelectedDrivers(_T("C:\\Staging"), all, [&](CDeviceRecordArray*, int) {
    if (++steps == 3) GetProcessEngine().SetStepCode(kStepStopBackup);
    return true;
  });
  EXPECT_EQ(result, kStepStopBackup);
  EXPECT_TRUE(engine_.IsAborted());
  EXPECT_TRUE(engine_.IsFinished());
}

// A backup folder or an archive that cannot be made is met like a full volume: the staging
// folder stays for a try in another folder, which then takes the archive.
TEST_F(BackupWizardServices, ABackupFolderOrArchiveThatCannotBeMadeKeepsTheCopyForAnotherFolder) {
  const CString name = MakeBackupNamePrefix() + _T("Friday,05-Mar-2021_H14-M07-S09.zip");
  struct Case {
    const char* what;
    std::function<void()> block;
  };
  const Case cases[] = {
      // The backup folder's place is taken by a file.
      {"folder", [] { WriteHostFile(HostPath(_T("C:\\Backups\\Drivers")), "x"); }},
      // The archive's working file is a folder.
      {"archive", [&] { fs::create_directories(HostPath(_T("C:\\Backups\\Drivers\\") + name + _T(".part"))); }},
  };
  for (const Case& c : cases) {
    std::error_code error;
    fs::remove_all(HostPath(_T("C:\\Backups")), error);
    fs::remove_all(HostPath(_T("C:\\Other")), error);
    list_.RemoveAll();
    BOOL all = TRUE;
    ASSERT_EQ(BackUp(all), kStepCompleted);
    c.block();
    EXPECT_EQ(CompressBackup(Job()), kCompressNoSpace) << c.what;
    EXPECT_TRUE(fs::exists(HostPath(_T("C:\\Staging\\index.dat")))) << c.what;
    EXPECT_EQ(list_.GetCount(), 0) << c.what;
    BackupCompressJob other = Job();
    other.backupFolder = _T("C:\\Other");
    CString archive;
    EXPECT_EQ(CompressBackup(other, &archive), kCompressDone) << c.what;
    EXPECT_EQ(archive, CString(_T("C:\\Other\\")) + name) << c.what;
    EXPECT_FALSE(fs::exists(HostPath(_T("C:\\Staging")))) << c.what;
  }
}

TEST_F(BackupWizardServices, NothingToPack) {
  fs::create_directories(HostPath(_T("C:\\Staging")));
  EXPECT_EQ(CompressBackup(Job()), kCompressNothing);
  EXPECT_EQ(list_.GetCount(), 0);
}

}  // namespace
}  // namespace zx::test
