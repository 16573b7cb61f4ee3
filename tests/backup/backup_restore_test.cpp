// A seeded machine's drivers backed up into a staging folder, packed into the backup zip,
// unpacked again, listed and restored through the restore program's stand-in; and the
// restore's answers for missing, foreign, damaged and hostile catalogues and for a cancel.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>

#include "BackupArchive.h"
#include "BackupIndex.h"
#include "BackupRestore.h"
#include "DriverInstallEngine.h"
#include "DriverRestore.h"
#include "ZipArchive.h"
#include "cstring_printer.h"
#include "scan_testing.h"

namespace zx::test {
namespace {

class BackupRestoreTest : public ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    SeedFile(std::string(ZX_PROFILES_DIR) + "/laptop.profile");
    // The restore program started by the tests finds the same machine.
    setenv("ZX_MACHINE_ROOT", root().c_str(), 1);
    std::filesystem::create_directories(HostPath(_T("C:\\Tools\\Win7")));
    std::filesystem::copy_file(ZX_RAVOLT_PROGRAM, HostPath(_T("C:\\Tools\\Win7\\Ravolt.exe")));
  }
  void TearDown() override { unsetenv("ZX_MACHINE_ROOT"); }

  // The first `count` scanned drivers that have a service and so files to back up.
  void PickDrivers(CDeviceRecordArray& drivers, int count) {
    ScanOutcome outcome = Scan();
    int picked = 0;
    for (const auto& record : outcome.records) {
      if (picked == count) break;
      if (CString(record->szText[kSlotService].Text()).IsEmpty() || CString(record->szText[kSlotDriverKey].Text()).IsEmpty()) continue;
      drivers.ElementAtGrow(picked++).CopyFrom(*record);
    }
    ASSERT_EQ(picked, count);
  }
  static int Backup(CDeviceRecordArray& drivers, int count) {
    CBackupRestore backup(_T("C:\\Windows"));
    backup.SetProgress([](CDeviceRecordArray*, int) { return true; });
    return backup.BackupDriver(_T("C:\\Staging"), drivers, count);
  }
  // Unpacks the zip into the folder as the restore does.
  static void Unpack(LPCTSTR zipPath, LPCTSTR folder) {
    HZIP zip = ZipArchiveOpen(zipPath);
    ASSERT_NE(zip, nullptr);
    ZipItemInfo archive;
    ZipArchiveGetItem(zip, &archive, -1);
    for (int i = 0; i < archive.index; ++i) {
      ZipItemInfo item;
      ASSERT_EQ(ZipArchiveGetItem(zip, &item, i), 0u);
      ZipArchiveSetBaseFolder(zip, folder);
      ASSERT_EQ(ZipArchiveExtractItem(zip, item.name, i), 0u);
    }
    ZipArchiveClose(zip);
  }
};

TEST_F(BackupRestoreTest, BackupZipAndRestoreRoundTrip) {
  CDeviceRecordArray drivers;
  PickDrivers(drivers, 3);
  ASSERT_EQ(Backup(drivers, 3), CBackupRestore::kDone);

  // The catalogue: the mark, three records in order, running counts 1, 2, 3.
  std::vector<BackupIndexRecord> records;
  DWORD declared = 0;
  ASSERT_EQ(ReadBackupIndexFile(_T("C:\\Staging\\index.dat"), records, declared), BackupIndexStatus::kOk);
  ASSERT_EQ(records.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(records[i].texts[0], CString(drivers.GetAt(i)->szText[kSlotDeviceName].Text()));
    EXPECT_EQ(records[i].texts[6], CString(drivers.GetAt(i)->szText[kSlotHardwareId].Text()));
    EXPECT_EQ(records[i].runningCount, static_cast<DWORD>(i + 1));
  }
  // The driver's files lie in its folder: the service binary and the INF.
  const CString service = drivers.GetAt(0)->szText[kSlotService].Text();
  const CString folder = CString(_T("C:\\Staging\\")) + records[0].folder;
  EXPECT_NE(GetFileAttributesW(folder + service + _T(".sys")), INVALID_FILE_ATTRIBUTES) << CStringA(folder).GetString();
  const CString inf = records[0].texts[1].Mid(records[0].texts[1].ReverseFind(_T('\\')) + 1);
  EXPECT_NE(GetFileAttributesW(folder + inf), INVALID_FILE_ATTRIBUTES);

  // A second backup of the same drivers adds no record.
  ASSERT_EQ(Backup(drivers, 3), CBackupRestore::kDone);
  ReadBackupIndexFile(_T("C:\\Staging\\index.dat"), records, declared);
  EXPECT_EQ(records.size(), 3u);

  CreateDirectoryW(_T("C:\\Backups"), nullptr);
  ASSERT_EQ(CompressBackupFolder(_T("C:\\Staging"), _T("C:\\Backups\\backup.zip")), 1);
  Unpack(_T("C:\\Backups\\backup.zip"), _T("C:\\Restore"));
  EXPECT_EQ(ReadHostFile(HostPath(_T("C:\\Restore\\index.dat"))), ReadHostFile(HostPath(_T("C:\\Staging\\index.dat"))));

  int count = 0;
  const auto listed = ReadBackupIndex(_T("C:\\Restore"), count);
  ASSERT_NE(listed, nullptr);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(listed->GetSize(), 4);
  EXPECT_EQ(CString(listed->GetAt(1)->szText[kSlotDeviceName].Text()), CString(drivers.GetAt(1)->szText[kSlotDeviceName].Text()));

  // Restore the second driver: one ticked record and the empty one behind it.
  CDeviceRecordArray ticked(2);
  ticked.ElementAtGrow(0).CopyFrom(*drivers.GetAt(1));
  int failures = -1;
  std::vector<int> percents;
  const int result = RestoreDriversFromIndex(_T("C:\\Restore"), _T("C:\\Tools\\Win7"), ticked, 1, failures,
                                             [&](int percent) { percents.push_back(percent); });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(percents, (std::vector<int>{16, 33, 50, 66, 83, 100}));

  // The restore program that installs nothing (no device has the id) fails the driver.
  ticked.ElementAtGrow(0).szText[kSlotHardwareId].Set(_T("PCI\\VEN_FFFF&DEV_FFFF"));
  EXPECT_EQ(RestoreDriversFromIndex(_T("C:\\Restore"), _T("C:\\Tools\\Win7"), ticked, 1, failures), 0);
  EXPECT_EQ(failures, 1);
}

TEST_F(BackupRestoreTest, CatalogueAnswers) {
  CDeviceRecordArray ticked(1);
  int failures = 0;
  int count = -1;
  EXPECT_EQ(RestoreDriversFromIndex(_T("C:\\Nothing"), _T("C:\\Tools\\Win7"), ticked, 0, failures), 34);
  EXPECT_EQ(ReadBackupIndex(_T("C:\\Nothing"), count), nullptr);
  EXPECT_EQ(count, 0);
  WriteHostFile(HostPath(_T("C:\\Foreign\\index.dat")), std::string("\x0C\0\0\0", 4));
  EXPECT_EQ(RestoreDriversFromIndex(_T("C:\\Foreign\\"), _T("C:\\Tools\\Win7"), ticked, 0, failures), 33);
  EXPECT_EQ(ReadBackupIndex(_T("C:\\Foreign\\"), count), nullptr);
  // The mark alone: an empty catalogue, nothing to divide by.
  WriteHostFile(HostPath(_T("C:\\Empty\\index.dat")), BackupIndexMarkBytes());
  EXPECT_EQ(RestoreDriversFromIndex(_T("C:\\Empty"), _T("C:\\Tools\\Win7"), ticked, 0, failures), 0);
  const auto empty = ReadBackupIndex(_T("C:\\Empty"), count);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(count, 0);
  // A record cut short: refused whole.
  BackupIndexRecord record;
  record.texts[0] = _T("Dev");
  record.runningCount = 1;
  const std::string whole = BackupIndexMarkBytes() + BackupIndexRecordBytes(record);
  WriteHostFile(HostPath(_T("C:\\Damaged\\index.dat")), whole.substr(0, whole.size() - 3));
  EXPECT_EQ(RestoreDriversFromIndex(_T("C:\\Damaged"), _T("C:\\Tools\\Win7"), ticked, 0, failures), 33);
}

TEST_F(BackupRestoreTest, RecordsThatLeadOutsideAreNotRestored) {
  // A catalogue whose records point their INF at the machine's own INF folder: by ".." steps,
  // by a drive, by a leading backslash; their INF paths are longer than the writer keeps.
  std::string catalogue = BackupIndexMarkBytes();
  const LPCTSTR folders[] = {_T("..\\..\\Windows\\inf\\"), _T("C:\\Windows\\inf\\"), _T("\\Windows\\inf\\"),
                             _T("a\\..\\..\\..\\Windows\\inf\\")};
  DWORD count = 0;
  for (LPCTSTR folder : folders) {
    BackupIndexRecord record;
    record.texts[0] = _T("PCI bus");
    record.texts[1] = CString(_T("C:\\Windows\\inf\\")) + CString(_T('x'), 240) + _T("machine.inf");
    record.texts[6] = _T("ACPI\\PNP0A08");
    record.folder = folder;
    record.runningCount = ++count;
    catalogue += BackupIndexRecordBytes(record);
  }
  WriteHostFile(HostPath(_T("C:\\Hostile\\index.dat")), catalogue);
  const auto before = std::distance(std::filesystem::directory_iterator(HostPath(_T("C:\\Windows\\inf"))),
                                    std::filesystem::directory_iterator());
  CDeviceRecordArray ticked(2);
  ticked.ElementAtGrow(0).szText[kSlotDeviceName].Set(_T("PCI bus"));
  ticked.ElementAtGrow(0).szText[kSlotHardwareId].Set(_T("ACPI\\PNP0A08"));
  int failures = 0;
  EXPECT_EQ(RestoreDriversFromIndex(_T("C:\\Hostile"), _T("C:\\Tools\\Win7"), ticked, 1, failures), 0);
  EXPECT_EQ(failures, 4);
  const auto after = std::distance(std::filesystem::directory_iterator(HostPath(_T("C:\\Windows\\inf"))),
                                   std::filesystem::directory_iterator());
  EXPECT_EQ(after, before);
}

TEST_F(BackupRestoreTest, ACancelRequestStopsTheRestore) {
  BackupIndexRecord record;
  record.texts[0] = _T("Dev");
  record.runningCount = 1;
  WriteHostFile(HostPath(_T("C:\\Backup\\index.dat")), BackupIndexMarkBytes() + BackupIndexRecordBytes(record));
  CDeviceRecordArray ticked(1);
  int failures = 0;
  GetProcessEngine().SetStepCode(kStepStopRestore);
  EXPECT_EQ(RestoreDriversFromIndex(_T("C:\\Backup"), _T("C:\\Tools\\Win7"), ticked, 0, failures), 20);
  EXPECT_EQ(GetProcessEngine().GetStepCode(), kStepIdle);
}

}  // namespace
}  // namespace zx::test
