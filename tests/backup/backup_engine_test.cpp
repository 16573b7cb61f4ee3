// The backup engine on a machine of hand-made INF files: "index.dat" byte for byte (running
// counts, drivers sharing a folder and its record, the skipped empty driver), device names
// that would lead out of the staging folder, the driver store folder the setup log names,
// links left out, a stop while copying and while packing, and a disk that fills up under the
// catalogue and the archive.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "BackupArchive.h"
#include "BackupIndex.h"
#include "BackupRestore.h"
#include "BackupRun.h"
#include "DriverInstallEngine.h"
#include "ZipArchive.h"
#include "cstring_printer.h"
#include "file_size_limit.h"
#include "hex_bytes.h"
#include "machine_fixture.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

class BackupEngineTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    GetProcessEngine().SetStepCode(kStepIdle);
    for (const char* name : {"a.inf", "b.inf", "c.inf"}) WriteHostFile(HostPath(_T("C:\\Windows\\inf")) + "/" + name, "[Version]\r\n");
  }

  // A driver with a name and an INF of the Windows INF folder.
  void AddDriver(LPCTSTR name, LPCTSTR inf, int value = 0) {
    tagDeviceDriverInfo& driver = drivers_.ElementAtGrow(drivers_.GetSize());
    driver.szText[kSlotDeviceName].Set(name);
    driver.szText[kSlotInfPath].Set(inf);
    driver.nValues[0] = value;
  }

  int Backup(const CBackupRestore::Progress& progress = [](CDeviceRecordArray*, int) { return true; }) {
    CBackupRestore backup(_T("C:\\Windows"));
    backup.SetProgress(progress);
    const int result = backup.BackupDriver(_T("C:\\Staging"), drivers_, static_cast<int>(drivers_.GetSize()));
    skippedLinks_ = backup.GetSkippedLinks();
    return result;
  }

  static std::string Index() { return ReadHostFile(HostPath(_T("C:\\Staging\\index.dat"))); }

  // The driver's Class key with the given values.
  static void SetClassKey(LPCTSTR driverKey, std::initializer_list<std::pair<LPCTSTR, LPCTSTR>> values) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, CString(_T("SYSTEM\\CurrentControlSet\\Control\\Class\\")) + driverKey,
                              0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (const auto& [name, value] : values) {
      RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                     static_cast<DWORD>((CString(value).GetLength() + 1) * sizeof(WCHAR)));
    }
    RegCloseKey(key);
  }

  CDeviceRecordArray drivers_;
  int skippedLinks_ = 0;
};

// The records of "Net" (a.inf, value 7, count 1), "Disk" (b.inf, count 2) and "Cam" (c.inf,
// count 3): per record eleven texts, the value, the folder and the running count.
const char kNetRecord[] =
    "0300 4E006500 7400  0500 61002E00 69006E00 6600  0000 0000 0000 0000 0000 0000 0000 0000 0000"
    "07000000  0400 4E006500 74005C00  01000000";
const char kDiskRecord[] =
    "0400 44006900 73006B00  0500 62002E00 69006E00 6600  0000 0000 0000 0000 0000 0000 0000 0000 0000"
    "00000000  0500 44006900 73006B00 5C00  02000000";
const char kCamRecord[] =
    "0300 43006100 6D00  0500 63002E00 69006E00 6600  0000 0000 0000 0000 0000 0000 0000 0000 0000"
    "00000000  0400 43006100 6D005C00  03000000";

TEST_F(BackupEngineTest, CatalogueByteForByte) {
  AddDriver(_T("Net"), _T("a.inf"), 7);
  AddDriver(_T("N*et"), _T("b.inf"));  // the same folder as "Net": its files join it, no record
  AddDriver(_T(""), _T(""));           // neither name nor driver key: skipped
  AddDriver(_T("Disk"), _T("b.inf"));
  AddDriver(_T("Cam"), _T("c.inf"));
  std::vector<int> percents;
  ASSERT_EQ(Backup([&](CDeviceRecordArray*, int percent) {
              percents.push_back(percent);
              return true;
            }),
            CBackupRestore::kDone);
  EXPECT_EQ(Index(), HexString("0B000000") + HexString(kNetRecord) + HexString(kDiskRecord) + HexString(kCamRecord));
  // Five steps for each driver with a record, four for the one without, one for the skipped.
  EXPECT_EQ(percents.size(), 5u + 4u + 1u + 5u + 5u + 1u);
  EXPECT_EQ(percents.back(), 100);
  EXPECT_TRUE(fs::exists(HostPath(_T("C:\\Staging\\Net\\a.inf"))));
  EXPECT_TRUE(fs::exists(HostPath(_T("C:\\Staging\\Net\\b.inf"))));
  EXPECT_TRUE(fs::exists(HostPath(_T("C:\\Staging\\Cam\\c.inf"))));

  // A second backup into the same folder adds nothing: every folder has its record.
  ASSERT_EQ(Backup(), CBackupRestore::kDone);
  EXPECT_EQ(Index(), HexString("0B000000") + HexString(kNetRecord) + HexString(kDiskRecord) + HexString(kCamRecord));
  std::vector<BackupIndexRecord> records;
  DWORD declared = 0;
  EXPECT_EQ(ReadBackupIndexFile(_T("C:\\Staging\\index.dat"), records, declared), BackupIndexStatus::kOk);
  EXPECT_EQ(declared, 3u);
}

TEST_F(BackupEngineTest, ARecordIsWrittenOncePerFolderAndName) {
  struct Case {
    std::vector<LPCTSTR> names;  // the drivers, all with a.inf
    LPCTSTR earlier;             // the first text of a record already in the catalogue, folder "Old\"
    std::size_t records;         // records after the backup
    LPCTSTR first;               // the first record's first text
  };
  const Case cases[] = {
      {{_T("N*et"), _T("Net")}, nullptr, 1, _T("N*et")},   // the first name kept, though it is not the folder's
      {{_T("Net"), _T("NET")}, nullptr, 1, _T("Net")},    // folders are the same whatever the case
      {{_T("Net"), _T("Disk")}, nullptr, 2, _T("Net")},
      {{_T("Net")}, _T("Net"), 1, _T("Net")},             // the catalogue names the driver already
      {{_T("Net")}, _T("N*et"), 2, _T("N*et")},
  };
  for (const Case& c : cases) {
    std::error_code error;
    fs::remove_all(HostPath(_T("C:\\Staging")), error);
    fs::create_directories(HostPath(_T("C:\\Staging")));
    if (c.earlier != nullptr) {
      tagDeviceDriverInfo earlier;
      earlier.szText[kSlotDeviceName].Set(c.earlier);
      WriteHostFile(HostPath(_T("C:\\Staging\\index.dat")),
                    BackupIndexMarkBytes() + BackupIndexRecordBytes(MakeBackupIndexRecord(earlier, _T("Old\\"), 1)));
    }
    drivers_.RemoveAll();
    for (LPCTSTR name : c.names) AddDriver(name, _T("a.inf"));
    ASSERT_EQ(Backup(), CBackupRestore::kDone);
    std::vector<BackupIndexRecord> records;
    DWORD declared = 0;
    ASSERT_EQ(ReadBackupIndexFile(_T("C:\\Staging\\index.dat"), records, declared), BackupIndexStatus::kOk);
    EXPECT_EQ(records.size(), c.records) << CStringA(c.names[0]).GetString();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records[0].texts[0], CString(c.first));
  }
}

TEST_F(BackupEngineTest, AStopAskedDuringAProgressReportIsSeenBeforeTheNextStep) {
  struct Case {
    int stopAt;         // the progress report during which the user stops
    bool netFolder;     // what is left of the first driver
    bool netFile;
    bool record;
  };
  const Case cases[] = {
      {1, false, false, false}, {2, true, false, false}, {3, true, true, false},
      {4, true, true, false},   {5, true, true, true},
  };
  for (const Case& c : cases) {
    std::error_code error;
    fs::remove_all(HostPath(_T("C:\\Staging")), error);
    GetProcessEngine().SetStepCode(kStepIdle);
    drivers_.RemoveAll();
    AddDriver(_T("Net"), _T("a.inf"));
    AddDriver(_T("Disk"), _T("b.inf"));
    int steps = 0;
    EXPECT_EQ(Backup([&](CDeviceRecordArray*, int) {
                if (++steps == c.stopAt) GetProcessEngine().SetStepCode(kStepStopBackup);
                return true;
              }),
              CBackupRestore::kStopped);
    EXPECT_EQ(steps, c.stopAt) << c.stopAt;
    EXPECT_EQ(GetProcessEngine().GetStepCode(), kStepIdle);
    EXPECT_EQ(fs::exists(HostPath(_T("C:\\Staging\\Net"))), c.netFolder) << c.stopAt;
    EXPECT_EQ(fs::exists(HostPath(_T("C:\\Staging\\Net\\a.inf"))), c.netFile) << c.stopAt;
    EXPECT_EQ(fs::exists(HostPath(_T("C:\\Staging\\index.dat"))), c.record) << c.stopAt;
    EXPECT_FALSE(fs::exists(HostPath(_T("C:\\Staging\\Disk")))) << c.stopAt;
  }
}

TEST_F(BackupEngineTest, EveryDriverLooksInTheDriverStoreFirst) {
  // A published package: "oem3.inf" in the INF folder, the original in the driver store.
  const std::string store = HostPath(_T("C:\\Windows\\System32\\DriverStore\\FileRepository")) + "/net.inf_1";
  WriteHostFile(store + "/net.inf", "[Version]\r\n");
  WriteHostFile(store + "/net.sys", "driver");
  WriteHostFile(HostPath(_T("C:\\Windows\\inf")) + "/oem3.inf", "[Version]\r\n");
  const LPCTSTR driverKey = _T("{4d36e972-e325-11ce-bfc1-08002be10318}\\0001");
  SetClassKey(driverKey, {{_T("InfPath"), _T("oem3.inf")}});
  AddDriver(_T("Plain"), _T("a.inf"));  // not in the store: its INF's files
  AddDriver(_T("Net"), _T("C:\\Windows\\System32\\DriverStore\\FileRepository\\net.inf_1\\net.inf"));
  drivers_.GetAt(1)->szText[kSlotDriverKey].Set(driverKey);
  ASSERT_EQ(Backup(), CBackupRestore::kDone);
  EXPECT_TRUE(fs::exists(HostPath(_T("C:\\Staging\\Plain\\a.inf"))));
  EXPECT_EQ(ReadHostFile(HostPath(_T("C:\\Staging\\Net\\net.sys"))), "driver");
  EXPECT_TRUE(fs::exists(HostPath(_T("C:\\Staging\\Net\\net.inf"))));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\Staging\\Net\\oem3.inf"))));
}

TEST_F(BackupEngineTest, DeviceNamesNeverLeadOutOfTheStagingFolder) {
  struct Case {
    LPCTSTR name;
    LPCTSTR folder;
  };
  const Case cases[] = {
      {_T("Net"), _T("Net")},           {_T(".."), _T("")},         {_T("..\\..\\Windows"), _T("....Windows")},
      {_T("C:\\x/y"), _T("Cxy")},       {_T(" a. "), _T("a")},      {_T("a\tb"), _T("ab")},
      {_T("\"<>|?*"), _T("")},          {_T("..."), _T("")},        {_T(".hidden"), _T(".hidden")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CBackupRestore::DriverFolderName(c.name), CString(c.folder)) << CStringA(c.name).GetString();
  }
  EXPECT_EQ(CBackupRestore::DriverFolderName(CString(_T('x'), 300)).GetLength(), 255);

  AddDriver(_T(".."), _T("a.inf"));
  AddDriver(_T("..\\..\\Windows"), _T("b.inf"));
  ASSERT_EQ(Backup(), CBackupRestore::kDone);
  // Nothing beside the staging folder; the second driver's folder is a plain name in it.
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\b.inf"))));
  EXPECT_TRUE(fs::exists(HostPath(_T("C:\\Staging\\....Windows\\b.inf"))));
  std::vector<BackupIndexRecord> records;
  DWORD declared = 0;
  ASSERT_EQ(ReadBackupIndexFile(_T("C:\\Staging\\index.dat"), records, declared), BackupIndexStatus::kOk);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_TRUE(IsSafeRelativeFolder(records[0].folder));
}

TEST_F(BackupEngineTest, AMissingPackageFileIsFoundOutsideTheWindowsFolder) {
  // An INF whose install section copies "vendor.sys" into the drivers folder, where it is not;
  // the file lies in a folder of its own on the drive.
  WriteHostFile(HostPath(_T("C:\\Windows\\inf")) + "/d.inf",
                "[Version]\r\nSignature=\"$Windows NT$\"\r\n[Inst]\r\nCopyFiles=Files\r\n[Files]\r\nvendor.sys\r\n"
                "[DestinationDirs]\r\nDefaultDestDir=12\r\n");
  WriteHostFile(HostPath(_T("C:\\Vendor")) + "/vendor.sys", "driver");
  const LPCTSTR driverKey = _T("{4d36e972-e325-11ce-bfc1-08002be10318}\\0000");
  SetClassKey(driverKey, {{_T("InfPath"), _T("d.inf")}, {_T("InfSection"), _T("Inst")}});
  for (LPCTSTR name : {_T("First"), _T("Second")}) {
    AddDriver(name, _T(""));
    drivers_.GetAt(drivers_.GetSize() - 1)->szText[kSlotDriverKey].Set(driverKey);
  }
  ASSERT_EQ(Backup(), CBackupRestore::kDone);
  EXPECT_EQ(ReadHostFile(HostPath(_T("C:\\Staging\\First\\vendor.sys"))), "driver");
  EXPECT_EQ(ReadHostFile(HostPath(_T("C:\\Staging\\Second\\vendor.sys"))), "driver");
  EXPECT_TRUE(fs::exists(HostPath(_T("C:\\Staging\\Second\\d.inf"))));
}

TEST_F(BackupEngineTest, TheSetupLogNamesOnePublishedStoreFolder) {
  // oem7.inf was published from "pkg.inf_amd64_2" of the driver store; beside it lie a
  // package whose folder name starts the same and another one.
  const CString repository = _T("C:\\Windows\\System32\\DriverStore\\FileRepository\\");
  WriteHostFile(HostPath(_T("C:\\Windows\\inf\\oem7.inf")), "[Version]\r\n");
  for (LPCTSTR file : {_T("pkg.inf_amd64_2\\pkg.inf"), _T("pkg.inf_amd64_2\\pkg.sys"), _T("pkg.inf_amd64_22\\pkg.inf"),
                       _T("Other.inf_amd64_1\\other.inf")})
    WriteHostFile(HostPath(repository + file), "x");
  struct Case {
    const char* logLine;
    std::set<std::string> files;
  };
  // The INF alone is what the package files of an INF without sections come to.
  const Case cases[] = {
      {"idb: published 'pkg.inf_amd64_2\\pkg.inf' to c:\\windows\\inf\\oem7.inf", {"oem7.inf", "pkg.inf", "pkg.sys"}},
      {"  IDB: Published 'OTHER.INF_AMD64_1\\other.inf' to C:\\Windows\\INF\\oem7.inf  ", {"oem7.inf", "other.inf"}},
      {"idb: published 'inf\\x' to c:\\windows\\inf\\oem7.inf", {"oem7.inf"}},
      {"idb: published 'c:\\windows\\system32' to c:\\windows\\inf\\oem7.inf", {"oem7.inf"}},
      {"idb: published '..\\..' to c:\\windows\\inf\\oem7.inf", {"oem7.inf"}},
      {"idb: published 'pkg.inf_amd64_2\\pkg.inf' to c:\\windows\\inf\\oem8.inf", {"oem7.inf"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logLine);
    WriteHostFile(HostPath(_T("C:\\Windows\\inf\\setupapi.dev.log")), std::string(">>> [Device Install]\r\n") + c.logLine + "\r\n");
    fs::remove_all(HostPath(_T("C:\\Staging")));
    drivers_.RemoveAll();
    AddDriver(_T("Pad"), _T("oem7.inf"));
    ASSERT_EQ(Backup(), CBackupRestore::kDone);
    std::set<std::string> copied;
    for (const auto& entry : fs::directory_iterator(HostPath(_T("C:\\Staging\\Pad")))) copied.insert(entry.path().filename());
    EXPECT_EQ(copied, c.files);
  }
}

TEST_F(BackupEngineTest, LinksAreLeftOutAndCounted) {
  fs::create_symlink(HostPath(_T("C:\\Windows\\inf\\a.inf")), HostPath(_T("C:\\Windows\\inf\\link.inf")));
  AddDriver(_T("Linked"), _T("link.inf"));
  AddDriver(_T("Plain"), _T("a.inf"));
  ASSERT_EQ(Backup(), CBackupRestore::kDone);
  EXPECT_EQ(skippedLinks_, 1);
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\Staging\\Linked\\link.inf"))));
  EXPECT_TRUE(fs::exists(HostPath(_T("C:\\Staging\\Plain\\a.inf"))));

  // The packer leaves out a link to a folder (here the whole Windows folder) and to a file.
  fs::create_directory_symlink(HostPath(_T("C:\\Windows")), HostPath(_T("C:\\Staging\\Plain\\windows")));
  fs::create_symlink(HostPath(_T("C:\\Windows\\inf\\b.inf")), HostPath(_T("C:\\Staging\\Plain\\b.inf")));
  BackupPackReport report;
  ASSERT_EQ(CompressBackupFolder(_T("C:\\Staging"), _T("C:\\Backup.zip"), &report), kPacked);
  EXPECT_EQ(report.skippedLinks, 2);
  EXPECT_EQ(report.files, 2);  // Plain\a.inf and index.dat
}

TEST_F(BackupEngineTest, AStopWhileCopyingLeavesNoStagingFolderAndNoArchive) {
  AddDriver(_T("Net"), _T("a.inf"));
  AddDriver(_T("Disk"), _T("b.inf"));
  AddDriver(_T("Cam"), _T("c.inf"));
  int steps = 0;
  // The user stops during the second driver.
  const auto progress = [&](CDeviceRecordArray*, int) {
    if (++steps == 7) GetProcessEngine().SetStepCode(kStepStopBackup);
    return true;
  };
  EXPECT_EQ(RunDriverBackup(_T("C:\\Staging"), _T("C:\\Backups\\b.zip"), drivers_, 3, progress), kPackStopped);
  EXPECT_EQ(GetProcessEngine().GetStepCode(), kStepIdle);
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\Staging"))));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\Backups\\b.zip"))));

  // Without a stop the same run leaves the archive (its folder made) and no staging folder.
  BackupPackReport report;
  EXPECT_EQ(RunDriverBackup(_T("C:\\Staging"), _T("C:\\Backups\\b.zip"), drivers_, 3,
                            [](CDeviceRecordArray*, int) { return true; }, &report),
            kPacked);
  EXPECT_EQ(report.files, 4);
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\Staging"))));
  EXPECT_TRUE(fs::exists(HostPath(_T("C:\\Backups\\b.zip"))));
}

// A staging folder of many files of random bytes, slow enough to pack that a stop lands
// while the archive is being written.
void FillStaging(int files, std::size_t size) {
  std::mt19937 random(3);
  std::string bytes(size, '\0');
  fs::create_directories(HostPath(_T("C:\\Staging\\Big")));
  for (int i = 0; i < files; ++i) {
    for (char& byte : bytes) byte = static_cast<char>(random());
    std::ofstream(HostPath(_T("C:\\Staging\\Big")) + "/f" + std::to_string(i) + ".sys", std::ios::binary) << bytes;
  }
}

TEST_F(BackupEngineTest, AStopWhilePackingDeletesThePartialArchive) {
  FillStaging(400, 64 * 1024);
  CDriverInstallEngine& engine = GetProcessEngine();
  std::atomic<bool> answered{false}, packed{false};
  int result = 0;
  {
    CDriverInstallEngine::COperation running(engine);
    std::thread user([&] {
      // The user presses Stop once the archive has bytes in it, and waits for the answer.
      const std::string part = HostPath(_T("C:\\Backup.zip.part"));
      std::error_code error;
      const auto written = [&] {
        const std::uintmax_t size = fs::file_size(part, error);
        return error ? 0 : size;
      };
      while (!packed && written() < 100000) std::this_thread::yield();
      if (!packed) answered = engine.WaitForStep(kStepStopBackup);
    });
    result = CompressBackupFolder(_T("C:\\Staging"), _T("C:\\Backup.zip"));
    packed = result != kPackStopped;
    user.join();
  }
  EXPECT_EQ(result, kPackStopped);
  EXPECT_TRUE(answered);
  EXPECT_EQ(engine.GetStepCode(), kStepIdle);
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\Backup.zip.part"))));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\Backup.zip"))));
}

TEST_F(BackupEngineTest, AFullDiskWhilePackingFailsAndLeavesNoArchive) {
  FillStaging(4, 64 * 1024);
  BackupPackReport report;
  int result = 0;
  {
    FileSizeLimit disk(100000);
    result = CompressBackupFolder(_T("C:\\Staging"), _T("C:\\Backup.zip"), &report);
  }
  EXPECT_EQ(result, kPackFailed);
  EXPECT_EQ(report.zipResult, static_cast<DWORD>(kZipWriteFailed));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\Backup.zip.part"))));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\Backup.zip"))));
}

TEST_F(BackupEngineTest, AnEmptyCatalogueGetsItsMark) {
  WriteHostFile(HostPath(_T("C:\\Staging\\index.dat")), "");
  AddDriver(_T("Net"), _T("a.inf"), 7);
  ASSERT_EQ(Backup(), CBackupRestore::kDone);
  EXPECT_EQ(Index(), HexString("0B000000") + HexString(kNetRecord));
}

TEST_F(BackupEngineTest, AFullDiskUnderTheCatalogueLeavesItReadable) {
  AddDriver(_T("Net"), _T("a.inf"), 7);
  AddDriver(_T("Disk"), _T("b.inf"));
  {
    // Room for part of the mark and the first record: nothing stays.
    FileSizeLimit disk(10);
    EXPECT_EQ(Backup(), CBackupRestore::kDone);
  }
  EXPECT_EQ(Index(), "");
  {
    // Room for the mark and the first record, part of the second.
    FileSizeLimit disk(HexString(kNetRecord).size() + 4 + 20);
    EXPECT_EQ(Backup(), CBackupRestore::kDone);
  }
  EXPECT_EQ(Index(), HexString("0B000000") + HexString(kNetRecord));
  // With room again the next backup adds the missing record, counted on.
  ASSERT_EQ(Backup(), CBackupRestore::kDone);
  EXPECT_EQ(Index(), HexString("0B000000") + HexString(kNetRecord) + HexString(kDiskRecord));
}

}  // namespace
}  // namespace zx::test
