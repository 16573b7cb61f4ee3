// The install road on the shipped laptop profile: the lookup finds the catalogue's updates,
// each package's link is asked for and the package downloaded from the web service's
// stand-in (MD5 checked, a package on disk reused), the drivers backed up, the packages
// unpacked and installed by type (zip through the device installer, 7z with the package's
// setup program, zip through the 64-bit helper), a second scan reads the new versions back
// and "exc.xml" records them; a failed install is reported to the stand-in; a package with
// the wrong MD5 and a cut download leave no package behind.
#include <gtest/gtest.h>
#include <winbase.h>

#include <atomic>
#include <cstdlib>
#include <thread>
#include <filesystem>
#include <fstream>

#include "BackupIndex.h"
#include "DownloaderLibrary.h"
#include "DriverInstallEngine.h"
#include "DriverPackageFetch.h"
#include "DriverScanUpdate.h"
#include "EngineCallbacks.h"
#include "ExclusionList.h"
#include "FileHistory.h"
#include "PackageInstall.h"
#include "Registry.h"
#include "UpdateServiceHelper.h"
#include "cstring_printer.h"
#include "install_testing.h"
#include "road_testing.h"
#include "standin.h"
#include "zx/difxhooks.h"
#include "zx/machineprofile.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;
using road::kDrivers;
using road::kIntelDisplay;
using road::kMouse;
using road::kNvidiaDisplay;
using road::Win7x64Tools;
using road::Inf;

// A cabinet file of stored (uncompressed) entries in one folder, written by hand.
std::string StoredCabinet(const std::vector<std::pair<std::string, std::string>>& files) {
  const auto u16 = [](std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
  };
  const auto u32 = [&u16](std::string& out, unsigned value) {
    u16(out, value & 0xFFFF);
    u16(out, value >> 16);
  };
  std::string stream, entries;
  for (const auto& [name, bytes] : files) {
    u32(entries, static_cast<unsigned>(bytes.size()));
    u32(entries, static_cast<unsigned>(stream.size()));
    u16(entries, 0);
    u16(entries, ((2016 - 1980) << 9) | (10 << 5) | 11);
    u16(entries, 0);
    u16(entries, 0x20);
    entries += name + '\0';
    stream += bytes;
  }
  std::string blocks;
  unsigned blockCount = 0;
  for (std::size_t at = 0; at < stream.size(); at += 32768, ++blockCount) {
    const std::string block = stream.substr(at, 32768);
    u32(blocks, 0);
    u16(blocks, static_cast<unsigned>(block.size()));
    u16(blocks, static_cast<unsigned>(block.size()));
    blocks += block;
  }
  const unsigned filesAt = 36 + 8, dataAt = filesAt + static_cast<unsigned>(entries.size());
  std::string cabinet = "MSCF";
  u32(cabinet, 0);
  u32(cabinet, dataAt + static_cast<unsigned>(blocks.size()));
  u32(cabinet, 0);
  u32(cabinet, filesAt);
  u32(cabinet, 0);
  cabinet += '\x03';
  cabinet += '\x01';
  u16(cabinet, 1);
  u16(cabinet, static_cast<unsigned>(files.size()));
  u16(cabinet, 0);
  u16(cabinet, 0);
  u16(cabinet, 0);
  u32(cabinet, dataAt);
  u16(cabinet, blockCount);
  u16(cabinet, 0);
  return cabinet + entries + blocks;
}

using road::Shell;

using road::CountingList;

class InstallRoad : public InstallTest {
 protected:
  void SetUp() override {
    InstallTest::SetUp();
    // Helper programs are other processes: they find this test's machine through the environment.
    setenv("ZX_MACHINE_ROOT", root().c_str(), 1);
    SetEngineProgressView(&view_);
    CPackageInstall::SetDefaultPause([this](DWORD ms) { paused_ += ms; });
    road::SeedLaptop(root());
  }
  void TearDown() override {
    devices::ClearDifxFailures();
    CPackageInstall::SetDefaultPause(nullptr);
    SetEngineProgressView(nullptr);
    unsetenv("ZX_MACHINE_ROOT");
    InstallTest::TearDown();
  }

  void SetValue(const std::string& section, const std::string& key, const std::string& value) {
    road::SetMachineValue(root(), section, key, value);
  }

  void WriteCatalogue(bool wrongMd5 = false, bool sharedPackage = false) {
    road::WriteCatalogue(catalogue_.path(), wrongMd5, sharedPackage);
  }
  void StartService(bool withCatalogue = true) {
    service_ = road::StartService(root(), withCatalogue ? catalogue_.path() : "", uploads_.path());
    ASSERT_NE(service_, nullptr);
  }
  void ScanAndLookUp(const CExclusionList* installed = nullptr) { road::ScanAndLookUp(engine_, index_, installed); }

  // The version a fresh scan reads for a device.
  CString InstalledVersion(int driver) {
    CEngineProgressView view;
    SetEngineProgressView(&view);
    CDriverScanUpdate again;
    EXPECT_EQ(again.ReportScanEnd(_T("")), kStepCompleted);
    SetEngineProgressView(&view_);
    const tagDeviceDriverInfo* device = again.GetDevices()->GetAt(index_[driver]);
    EXPECT_EQ(CString(device->szText[kSlotHardwareId].Text()), DeviceId(driver));
    return device->szText[kSlotDriverVersion].Text();
  }
  CString DeviceId(int driver) const {
    return engine_->GetDevices()->GetAt(index_[driver])->szText[kSlotHardwareId].Text();
  }

  std::vector<std::string> Uploads() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(uploads_.path())) names.push_back(entry.path().filename().string());
    return names;
  }

  CEngineProgressView view_;
  TempFolder catalogue_;
  TempFolder uploads_;
  std::unique_ptr<StandIn> service_;
  std::unique_ptr<CDriverScanUpdate> engine_;
  int index_[3] = {-1, -1, -1};
  DWORD paused_ = 0;
};

TEST_F(InstallRoad, UpdatesAreFetchedInstalledByTypeReadBackAndRecorded) {
  SetValue("Windows", "Architecture", "x86");
  WriteCatalogue();
  StartService();
  ScanAndLookUp();
  ASSERT_GE(index_[kNvidiaDisplay], 0);
  ASSERT_GE(index_[kIntelDisplay], 0);
  EXPECT_EQ(index_[kMouse], -1) << "the scan leaves the pointing device out";

  CUpdateServiceHelper helper;
  CDownloaderLibrary library;
  ASSERT_TRUE(library.Load());
  CDriverPackageFetch fetch(*engine_, helper, &library);
  fetch.SetDownloadFolder(_T("C:\\dl"));
  fetch.SetOsIdText(_T("12"));
  for (const int driver : {kNvidiaDisplay, kIntelDisplay}) {
    ASSERT_EQ(fetch.FetchAndDownloadDriver(index_[driver], 0), CDriverPackageFetch::kHandled);
    EXPECT_TRUE(fetch.IsDownloaded()) << kDrivers[driver].name;
  }
  EXPECT_EQ(fetch.GetDownloadCount(), 2);
  // A package already on disk with its MD5 is not fetched again.
  ASSERT_EQ(fetch.FetchAndDownloadDriver(index_[kNvidiaDisplay], 0), CDriverPackageFetch::kHandled);
  EXPECT_TRUE(fetch.IsDownloaded());
  EXPECT_EQ(fetch.GetDownloadCount(), 2);
  CString package;
  ASSERT_TRUE(fetch.GetDownloadedPackages().Lookup(_T("pciven_10de&dev_0ffc&subsys_21f517aa"), package));
  EXPECT_EQ(package, CString(_T("C:\\dl\\pciven_10de&dev_0ffc&subsys_21f517aa.zip")));

  engine_->SetDownloadedPackages(&fetch.GetDownloadedPackages());
  engine_->SetInstallSettings(Win7x64Tools(), 0);
  // The drivers of the chosen rows are backed up first.
  CountingList list;
  engine_->SetResultList(&list);
  ASSERT_EQ(engine_->FillResults(), 1);
  ASSERT_EQ(list.count, 2);
  EXPECT_EQ(engine_->BackupDriversForUpdate(_T("C:\\backup\\run"), {0, 1}), kStepCompleted);
  EXPECT_TRUE(HostFileExists(HostPath(_T("C:\\backup\\run\\index.dat"))));
  EXPECT_EQ(engine_->InstallDownloadedDrivers(index_[kNvidiaDisplay]), kInstallDone);
  EXPECT_EQ(engine_->InstallDownloadedDrivers(index_[kIntelDisplay]), kInstallDone);
  EXPECT_GE(paused_, 2u * 2000u) << "each install waits for the system to settle";

  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("21.21.13.7570")));
  EXPECT_EQ(InstalledVersion(kIntelDisplay), CString(_T("10.18.10.4425")));
  CExclusionList record;
  record.Reload();
  const ExclusionEntry* entry = record.Find(DeviceId(kNvidiaDisplay));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(CString(entry->szText[ExclusionEntry::kInfPath]), CString(_T("nvidia\\nvidia.inf")));
  EXPECT_EQ(record.GetCount(), 2);
  // The unpacked folders are gone; the packages stay for a later install.
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\dl\\pciven_10de&dev_0ffc&subsys_21f517aa"))));
  EXPECT_TRUE(HostFileExists(HostPath(package)));
  EXPECT_TRUE(Uploads().empty());

  // A full backup made now, from the records of the scan before the installs, holds the
  // drivers as they are installed now: the new INF and version.
  BOOL all = TRUE;
  engine_->BackupSelectedDrivers(_T("C:\\backup\\now"), all, [](CDeviceRecordArray*, int) { return true; });
  std::vector<BackupIndexRecord> backedUp;
  DWORD declared = 0;
  ASSERT_EQ(ReadBackupIndexFile(_T("C:\\backup\\now\\index.dat"), backedUp, declared), BackupIndexStatus::kOk);
  const BackupIndexRecord* display = nullptr;
  for (const BackupIndexRecord& r : backedUp)
    if (r.texts[6] == DeviceId(kNvidiaDisplay)) display = &r;
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(display->texts[2], CString(_T("21.21.13.7570")));
  const CString backedUpInf = CString(_T("C:\\backup\\now\\")) + display->folder +
                              display->texts[1].Mid(display->texts[1].ReverseFind(_T('\\')) + 1);
  EXPECT_NE(ReadHostFile(HostPath(backedUpInf)).find("21.21.13.7570"), std::string::npos) << CStringA(backedUpInf).GetString();

  // The backup puts the NVIDIA display's old driver back.
  CStringArray ticked;
  const CString name = engine_->GetDevices()->GetAt(index_[kNvidiaDisplay])->szText[kSlotDeviceName].Text();
  ticked.Add(name);
  CMapStringToString ids;
  ids.SetAt(name, DeviceId(kNvidiaDisplay));
  EXPECT_EQ(engine_->RestoreSelectedDrivers(_T("C:\\backup\\run"), ticked, ids), 1);
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("9.18.13.1106")));
  EXPECT_EQ(InstalledVersion(kIntelDisplay), CString(_T("10.18.10.4425")));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\backup\\run")))) << "the unpacked backup is removed";
  // The next lookup offers the restored display its update again, though the record names it;
  // the Intel display holds its update and is not offered.
  record.Reload();
  ScanAndLookUp(&record);
  EXPECT_GE(index_[kNvidiaDisplay], 0);
  EXPECT_EQ(index_[kIntelDisplay], -1);
}

// Fetches the packages of the drivers with a fresh fetch against the running stand-in.
class FetchedRoad : public InstallRoad {
 protected:
  void Fetch(std::initializer_list<int> drivers) {
    ASSERT_TRUE(library_.Load());
    fetch_ = std::make_unique<CDriverPackageFetch>(*engine_, helper_, &library_);
    fetch_->SetDownloadFolder(_T("C:\\dl"));
    fetch_->SetOsIdText(_T("21"));
    for (const int driver : drivers) {
      ASSERT_GE(index_[driver], 0);
      ASSERT_EQ(fetch_->FetchAndDownloadDriver(index_[driver], RowOf(driver)), CDriverPackageFetch::kHandled);
      ASSERT_TRUE(fetch_->IsDownloaded());
    }
    engine_->SetDownloadedPackages(&fetch_->GetDownloadedPackages());
    engine_->SetInstallSettings(Win7x64Tools(), 0);
  }
  // The list item of the driver's result row (0 while the results are not filled).
  int RowOf(int driver) const {
    for (INT_PTR i = 0; i < engine_->GetResultRows().GetSize(); ++i)
      if (engine_->GetResultRows()[i].nDeviceIndex == index_[driver]) return engine_->GetResultRows()[i].nListItem;
    return 0;
  }
  CUpdateServiceHelper helper_;
  CDownloaderLibrary library_;
  std::unique_ptr<CDriverPackageFetch> fetch_;
};

TEST_F(FetchedRoad, UnderWow64ThePackageGoesThroughThe64BitHelper) {
  WriteCatalogue();
  StartService();
  ScanAndLookUp();
  Fetch({kNvidiaDisplay});
  EXPECT_EQ(engine_->InstallDownloadedDrivers(index_[kNvidiaDisplay]), kInstallDone);
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("21.21.13.7570")));
  CString key;
  GetProductRegistryKey(key);
  EXPECT_FALSE(RegExistsValue(HKEY_CURRENT_USER, key, _T("IsUpdateSuccessFull"))) << "the helper's values are deleted";
}

TEST_F(FetchedRoad, AFailedInstallIsReportedAndNotTakenForSuccess) {
  SetValue("Windows", "Architecture", "x86");
  WriteCatalogue();
  StartService();
  ScanAndLookUp();
  CountingList list;
  engine_->SetResultList(&list);
  ASSERT_EQ(engine_->FillResults(), 1);
  Fetch({kNvidiaDisplay});
  devices::SetDifxFailure(devices::DifxCall::UpdateDriver, 0xE000020Bu);
  EXPECT_EQ(engine_->InstallDownloadedDrivers(index_[kNvidiaDisplay]), kInstallFailed);
  // Its row says downloaded, not installed.
  int state = -1;
  for (INT_PTR i = 0; i < engine_->GetResultRows().GetSize(); ++i) {
    if (engine_->GetResultRows()[i].nDeviceIndex == index_[kNvidiaDisplay]) state = engine_->GetResultRows()[i].nState;
  }
  EXPECT_EQ(state, kRowDownloaded);
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("9.18.13.1106")));
  // The install-error report reached the misc service's uploads.
  std::string report;
  for (const std::string& name : Uploads())
    if (name.find("InstallError") != std::string::npos) report = ReadHostFile(uploads_.path() + "/" + name);
  ASSERT_FALSE(report.empty());
  EXPECT_NE(report.find("<feedbackreason>1</feedbackreason>"), std::string::npos) << report;
  EXPECT_NE(report.find("<installerrorcode>3758096907</installerrorcode>"), std::string::npos) << report;
  EXPECT_NE(report.find("<IsInstalled>0</IsInstalled>"), std::string::npos) << report;
  EXPECT_NE(report.find("<systemdrvversion>9.18.13.1106</systemdrvversion>"), std::string::npos) << report;
  // The unpacked folder is gone, the package stays.
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\dl\\pciven_10de&dev_0ffc&subsys_21f517aa"))));
}

TEST_F(FetchedRoad, APackageWithTheWrongMd5IsDeletedAndNeverInstalled) {
  SetValue("Windows", "Architecture", "x86");
  WriteCatalogue(true);
  StartService();
  ScanAndLookUp();
  ASSERT_TRUE(library_.Load());
  CDriverPackageFetch fetch(*engine_, helper_, &library_);
  fetch.SetDownloadFolder(_T("C:\\dl"));
  fetch.SetConnectionFlag(TRUE);
  std::vector<std::string> lines;
  fetch.SetStatusLine([&lines](const CString& line) {
    std::string narrow;
    for (int i = 0; i < line.GetLength(); ++i) narrow += static_cast<char>(line[i]);
    lines.push_back(narrow);
  });
  ASSERT_EQ(fetch.FetchAndDownloadDriver(index_[kNvidiaDisplay], 0), CDriverPackageFetch::kHandled);
  EXPECT_FALSE(fetch.IsDownloaded());
  EXPECT_EQ(fetch.GetDownloadCount(), 0);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().rfind("IDS_DOWNABORT_DUEINTERNET", 0), 0u) << lines.back();
  const std::string folder = HostPath(_T("C:\\dl"));
  for (const auto& entry : fs::directory_iterator(folder)) ADD_FAILURE() << entry.path() << " stayed";
  engine_->SetDownloadedPackages(&fetch.GetDownloadedPackages());
  EXPECT_EQ(engine_->InstallDownloadedDrivers(index_[kNvidiaDisplay]), 0) << "nothing downloaded, nothing installed";
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("9.18.13.1106")));
}

TEST_F(FetchedRoad, ADownloadCutInTheMiddleLeavesNoPackage) {
  WriteCatalogue();
  StandIn cutting(StandInOptions(catalogue_.path(), uploads_.path(), "truncated"));
  ASSERT_GT(cutting.port(), 0);
  ASSERT_TRUE(library_.Load());
  engine_ = std::make_unique<CDriverScanUpdate>();
  CDriverPackageFetch fetch(*engine_, helper_, &library_);
  const CString file = _T("C:\\dl\\nvidia.zip");
  CreateDirectoryW(_T("C:\\dl"), nullptr);
  CString address;
  address.Format(_T("http://127.0.0.1:%d/packages/nvidia.zip"), cutting.port());
  EXPECT_FALSE(fetch.DownloadAndVerify(file, address));
  EXPECT_FALSE(HostFileExists(HostPath(file)));
  EXPECT_FALSE(HostFileExists(HostPath(file + _T(".unconfirmed"))));
}

// The install of one package on the scanned laptop, its update record filled by hand: the
// NVIDIA display's package lies in C:\dl.v2 (a dot in the folder's name).
class PackageInstallTest : public InstallRoad {
 protected:
  void SetUp() override {
    InstallRoad::SetUp();
    SetValue("Windows", "Architecture", "x86");
    // The misc service takes the install-error reports.
    StartService(false);
    engine_ = std::make_unique<CDriverScanUpdate>();
    ASSERT_EQ(engine_->ReportScanEnd(_T("")), kStepCompleted);
    for (int i = 0; i < engine_->GetDeviceCount(); ++i)
      if (CString(engine_->GetDevices()->GetAt(i)->szText[kSlotHardwareId].Text()).Find(_T("PCI\\VEN_10DE&DEV_0FFC")) == 0)
        index_[kNvidiaDisplay] = i;
    ASSERT_GE(index_[kNvidiaDisplay], 0);
    tagDeviceDriverInfo& update = *engine_->GetDevices()->GetAt(0)->pLinked->GetAt(index_[kNvidiaDisplay]);
    update.szText[kSlotHardwareId].Set(_T("pci\\ven_10de&dev_0ffc&subsys_21f517aa"));
    update.szText[kSlotDriverVersion].Set(_T("21.21.13.7570"));
    update.szText[kSlotDriverDate].Set(_T("2016-10-11T00:00:00"));
    // A file the user keeps beside the packages.
    WriteHostFile(HostPath(_T("C:\\dl.v2\\keep.txt")), "mine");
  }
  // The NVIDIA package as a zip under the name, holding its INF under "nvidia\".
  CString PlaceZip(const CString& name) {
    const std::string work = catalogue_.path() + "/zip";
    fs::create_directories(work + "/nvidia");
    std::ofstream(work + "/nvidia/nvidia.inf", std::ios::binary) << Inf(kDrivers[kNvidiaDisplay]);
    Shell("cd '" + work + "' && rm -f ../p.zip && zip -qr ../p.zip nvidia");
    const CString path = CString(_T("C:\\dl.v2\\")) + name;
    WriteHostFile(HostPath(path), ReadHostFile(catalogue_.path() + "/p.zip"));
    return path;
  }
  int Install(const CString& package, const CString& deviceClass = _T("Display"), const CString& inf = _T("nvidia\\nvidia.inf")) {
    CDriverInstallEngine engine;
    CPackageInstall install(engine);
    install.SetProgress([this](int percent, LPCTSTR text, int) {
      percents_.push_back(percent);
      if (text != nullptr) texts_.push_back(std::u16string(text));
      return answer_;
    });
    const tagDeviceDriverInfo& device = *engine_->GetDevices()->GetAt(index_[kNvidiaDisplay]);
    return install.Install(inf, _T("C:\\Prog\\Win7\\"), package, 0, _T("pci\\ven_10de&dev_0ffc&subsys_21f517aa"),
                           deviceClass, 0, _T("00112233445566778899aabbccddeeff"), device.szText[kSlotHardwareId].Text(),
                           engine_->GetDevices(), index_[kNvidiaDisplay]);
  }
  void SetUpdateDate(LPCTSTR date) {
    engine_->GetDevices()->GetAt(0)->pLinked->GetAt(index_[kNvidiaDisplay])->szText[kSlotDriverDate].Free();
    engine_->GetDevices()->GetAt(0)->pLinked->GetAt(index_[kNvidiaDisplay])->szText[kSlotDriverDate].Set(date);
  }
  std::vector<int> percents_;
  std::vector<std::u16string> texts_;
  int answer_ = IDNO;  // the answer to every question of the install
};

TEST_F(PackageInstallTest, AZipInstallsAndOnlyItsOwnFolderIsRemoved) {
  const CString package = PlaceZip(_T("nvidia.zip"));
  EXPECT_EQ(Install(package), kInstallDone);
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("21.21.13.7570")));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\dl.v2\\nvidia"))));
  EXPECT_EQ(ReadHostFile(HostPath(_T("C:\\dl.v2\\keep.txt"))), "mine");
  EXPECT_TRUE(HostFileExists(HostPath(package)));
  EXPECT_EQ(percents_, (std::vector<int>{0, 15, 30, 65, 100}));
  EXPECT_EQ(paused_, 2000u + 3000u + 1000u + 1000u);
  CExclusionList record;
  record.Reload();
  EXPECT_EQ(record.GetCount(), 1);
}

TEST_F(PackageInstallTest, ARestartIsAskedForAndOnlyAYesRestartsWindows) {
  const CString package = PlaceZip(_T("nvidia.zip"));
  const std::string log = root() + "/shutdowns.log";
  // Without a restart due nothing is asked.
  EXPECT_EQ(Install(package), kInstallDone);
  EXPECT_EQ(std::count(texts_.begin(), texts_.end(), std::u16string(u"IDS_STRING_RESTART")), 0);
  devices::SetDifxRebootRequired(true);
  for (const int answer : {IDNO, IDYES}) {
    answer_ = answer;
    texts_.clear();
    EXPECT_EQ(Install(package), kInstallDone);
    EXPECT_EQ(std::count(texts_.begin(), texts_.end(), std::u16string(u"IDS_STRING_RESTART")), 1);
    EXPECT_EQ(ReadHostFile(log), answer == IDYES ? "00000006 80000001\n" : "")
        << "only a yes restarts, forced, planned for hardware maintenance";
  }
}

TEST_F(PackageInstallTest, ASelfExtractingZipIsUnpackedNotRun) {
  EXPECT_EQ(Install(PlaceZip(_T("nvidia-setup.exe"))), kInstallDone);
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("21.21.13.7570")));
}

TEST_F(PackageInstallTest, MissingInputIsRefusedBeforeAnythingHappens) {
  EXPECT_EQ(Install(_T("")), kInstallMissingInput);
  EXPECT_EQ(Install(PlaceZip(_T("nvidia.zip")), _T("Display"), _T("")), kInstallMissingInput);
  EXPECT_EQ(Install(_T("C:\\dl.v2\\absent.zip")), kInstallMissingInput);
  EXPECT_EQ(texts_, (std::vector<std::u16string>{u"IDS_STRING_UNKWN_FILE_PATH"}));
}

TEST_F(PackageInstallTest, ARefusedDeviceClassUnpacksNothing) {
  EXPECT_EQ(Install(PlaceZip(_T("nvidia.zip")), _T("Ports")), kInstallFailed);
  EXPECT_EQ(texts_, (std::vector<std::u16string>{u"IDS_STRING_INSTALL_FILE_CATEGORY"}));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\dl.v2\\nvidia"))));
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("9.18.13.1106")));
}

TEST_F(PackageInstallTest, ARarWithALinkInstallsItsFilesAndNamesTheLink) {
  // The package's INF between a symbolic link and another file, written by the fixtures'
  // own RAR writer.
  const std::string work = catalogue_.path() + "/rarlink";
  fs::create_directories(work);
  std::ofstream(work + "/nvidia.inf", std::ios::binary) << Inf(kDrivers[kNvidiaDisplay]);
  Shell("cd '" + work + "' && python3 -c \"import sys; sys.path.insert(0, '" ZX_ARCHIVES_DIR "'); "
        "import make_archives as m; d = 'nvidia' + chr(92); m.save_rar('p.rar', [m.rar_file(d + 'link', b'/etc', "
        "host=3, attributes=0o120777), m.rar_file(d + 'nvidia.inf', open('nvidia.inf', 'rb').read()), "
        "m.rar_file(d + 'readme.txt', b'after the link')])\"");
  WriteHostFile(HostPath(_T("C:\\dl.v2\\nvidia.rar")), ReadHostFile(work + "/p.rar"));
  EXPECT_EQ(Install(_T("C:\\dl.v2\\nvidia.rar")), kInstallDone);
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("21.21.13.7570")));
  const std::u16string named = u"IDS_STRING_INSTALL_LINKS_SKIPPED nvidia/link";
  EXPECT_EQ(std::count(texts_.begin(), texts_.end(), named), 1);
}

TEST_F(PackageInstallTest, DamagedAndUnknownPackagesFailClearly) {
  WriteHostFile(HostPath(_T("C:\\dl.v2\\broken.zip")), "PK\x03\x04 not really a zip");
  EXPECT_EQ(Install(_T("C:\\dl.v2\\broken.zip")), kInstallFailed);
  WriteHostFile(HostPath(_T("C:\\dl.v2\\driver.bin")), "bytes");
  EXPECT_EQ(Install(_T("C:\\dl.v2\\driver.bin")), kInstallFailed);
  EXPECT_EQ(texts_, (std::vector<std::u16string>{u"IDS_STRING_INSTALL_FILE_CORRUPT", u"IDS_STRING_INSTALL_FILE_CORRUPT"}));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\dl.v2\\broken"))));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\dl.v2\\driver"))));
  EXPECT_EQ(ReadHostFile(HostPath(_T("C:\\dl.v2\\keep.txt"))), "mine");
}

TEST_F(PackageInstallTest, AnInfPathLeadingOutOfThePackageStaysInside) {
  WriteHostFile(HostPath(_T("C:\\Windows\\INF\\nvidia\\nvidia.inf")), Inf(kDrivers[kNvidiaDisplay]));
  devices::SetDifxFailure(devices::DifxCall::UpdateDriver, 0xE0000235u);
  devices::SetDifxFailure(devices::DifxCall::PackageInstall, 0xE0000203u);
  // The path names ..\..\Windows\INF\nvidia\nvidia.inf: taken inside the package, where no
  // such INF lies, so nothing installs it.
  EXPECT_EQ(Install(PlaceZip(_T("nvidia.zip")), _T("Sound, video and game controllers"),
                    _T("..\\..\\Windows\\INF\\nvidia\\nvidia.inf")),
            kInstallFailed);
  EXPECT_EQ(texts_.back(), u"IDS_STRING_INSTALL_FAILED");
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("9.18.13.1106")));
}

TEST_F(PackageInstallTest, TheRestoreProgramIsTheLastResortAndTheReadBackConfirmsIt) {
  devices::SetDifxFailure(devices::DifxCall::UpdateDriver, 0xE0000235u);
  devices::SetDifxFailure(devices::DifxCall::PackageInstall, 0xE0000203u);
  EXPECT_EQ(Install(PlaceZip(_T("nvidia.zip"))), kInstallDone);
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("21.21.13.7570")));
}

TEST_F(PackageInstallTest, SoundDevicesDoNotGoToTheRestoreProgram) {
  devices::SetDifxFailure(devices::DifxCall::UpdateDriver, 0xE0000235u);
  devices::SetDifxFailure(devices::DifxCall::PackageInstall, 0xE0000203u);
  EXPECT_EQ(Install(PlaceZip(_T("nvidia.zip")), _T("Sound, video and game controllers")), kInstallFailed);
  EXPECT_EQ(texts_.back(), u"IDS_STRING_INSTALL_FAILED");
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("9.18.13.1106")));
  // The driver date differs after the install: reported with reason 3 and the dates.
  ASSERT_EQ(Uploads().size(), 1u);
  const std::string report = ReadHostFile(uploads_.path() + "/" + Uploads().front());
  EXPECT_NE(report.find("<feedbackreason>3</feedbackreason>"), std::string::npos) << report;
  EXPECT_NE(report.find("<someotherinfo>Installed: 1-22-2013, UpdateDate:2016-10-11"), std::string::npos) << report;
}

TEST_F(PackageInstallTest, AHelperThatFailsIsNoSuccessUnlessTheDeviceChanged) {
  SetValue("Windows", "Architecture", "x64");
  // A helper that ends without installing or writing its values.
  WriteHostFile(HostPath(_T("C:\\Prog\\amd64Helper\\Wexor64.exe")), "#!/bin/sh\nexit 0\n");
  fs::permissions(HostPath(_T("C:\\Prog\\amd64Helper\\Wexor64.exe")), fs::perms::owner_all);
  EXPECT_EQ(Install(PlaceZip(_T("nvidia.zip"))), kInstallFailed);
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("9.18.13.1106")));
  // The helper said it failed, yet the device shows the new driver: success.
  road::PlaceProgram(u"C:\\Prog\\amd64Helper\\Wexor64.exe", ZX_WEXOR64);
  ASSERT_EQ(Install(PlaceZip(_T("nvidia.zip"))), kInstallDone);
  WriteHostFile(HostPath(_T("C:\\Prog\\amd64Helper\\Wexor64.exe")), "#!/bin/sh\nexit 0\n");
  fs::permissions(HostPath(_T("C:\\Prog\\amd64Helper\\Wexor64.exe")), fs::perms::owner_all);
  EXPECT_EQ(Install(PlaceZip(_T("nvidia.zip"))), kInstallDone);
}

TEST_F(PackageInstallTest, APackageThatIsASetupProgramRunsAndIsJudgedByTheDevice) {
  WriteHostFile(HostPath(_T("C:\\dl.v2\\nvidia.inf")), Inf(kDrivers[kNvidiaDisplay]));
  const std::string setup = HostPath(_T("C:\\dl.v2\\nvidia-setup.exe"));
  fs::copy_file(ZX_SETUP_PROGRAM, setup);
  fs::permissions(setup, fs::perms::owner_all);
  EXPECT_EQ(Install(_T("C:\\dl.v2\\nvidia-setup.exe")), kInstallDone);
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("21.21.13.7570")));
  // A setup program that fails and leaves the device as it was is a failure.
  fs::remove(HostPath(_T("C:\\dl.v2\\nvidia.inf")));
  SetUpdateDate(_T("2017-01-01"));
  EXPECT_EQ(Install(_T("C:\\dl.v2\\nvidia-setup.exe")), kInstallFailed);
}

TEST_F(PackageInstallTest, ACabinetInstalls) {
  WriteHostFile(HostPath(_T("C:\\dl.v2\\nvidia.cab")),
                StoredCabinet({{"nvidia\\nvidia.inf", Inf(kDrivers[kNvidiaDisplay])}, {"readme.txt", "notes"}}));
  EXPECT_EQ(Install(_T("C:\\dl.v2\\nvidia.cab")), kInstallDone);
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("21.21.13.7570")));
  EXPECT_EQ(percents_, (std::vector<int>{0, 25, 65, 100}));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\dl.v2\\nvidia"))));
}

TEST_F(PackageInstallTest, ADamagedCabinetFails) {
  std::string cabinet = StoredCabinet({{"nvidia\\nvidia.inf", Inf(kDrivers[kNvidiaDisplay])}});
  cabinet.resize(cabinet.size() / 2);
  WriteHostFile(HostPath(_T("C:\\dl.v2\\nvidia.cab")), cabinet);
  EXPECT_EQ(Install(_T("C:\\dl.v2\\nvidia.cab")), kInstallFailed);
  EXPECT_EQ(texts_, (std::vector<std::u16string>{u"IDS_STRING_INSTALL_CAB_FILE_CORRUPT"}));
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("9.18.13.1106")));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\dl.v2\\nvidia")))) << "what was unpacked is removed";
}

// Packages that cannot be extracted exactly as they were packed: each fails with its
// type's corrupt-package text, installs nothing and leaves no unpacked files.
TEST_F(PackageInstallTest, APackageThatCannotBeExtractedWholeInstallsNothing) {
  const std::string work = catalogue_.path() + "/whole";
  const std::string inf = Inf(kDrivers[kNvidiaDisplay]);
  fs::create_directories(work + "/nvidia");
  fs::create_directories(work + "/NVIDIA");
  std::ofstream(work + "/nvidia/nvidia.inf", std::ios::binary) << inf;
  std::ofstream(work + "/NVIDIA/nvidia.inf", std::ios::binary) << "another file of the same name on Windows";
  fs::create_symlink("/etc/passwd", work + "/nvidia/link");
  // A method no reader decodes; two entries that are one file on Windows; a link.
  Shell("cd '" + work + "' && 7zz a -tzip -mm=PPMd ppmd.zip nvidia/nvidia.inf > /dev/null");
  Shell("cd '" + work + "' && zip -q twice.zip nvidia/nvidia.inf NVIDIA/nvidia.inf");
  Shell("cd '" + work + "' && zip -q -y link.zip nvidia/nvidia.inf nvidia/link");
  struct Case {
    std::string source;  // a file of the work folder, or a fixture of the archive tests
    std::vector<std::string> more;
    CString package;
    std::u16string text;
  };
  const std::string fixtures = ZX_ARCHIVES_DIR;
  const std::vector<Case> cases = {
      {work + "/ppmd.zip", {}, _T("C:\\dl.v2\\nvidia.zip"), u"IDS_STRING_INSTALL_FILE_CORRUPT"},
      // Packages that would unpack to 1 GiB.
      {fixtures + "/bomb.zip", {}, _T("C:\\dl.v2\\nvidia.zip"), u"IDS_STRING_INSTALL_FILE_TOO_LARGE"},
      {fixtures + "/bomb.rar", {}, _T("C:\\dl.v2\\nvidia.rar"), u"IDS_STRING_INSTALL_FILE_TOO_LARGE"},
      {fixtures + "/bomb.cab", {}, _T("C:\\dl.v2\\nvidia.cab"), u"IDS_STRING_INSTALL_FILE_TOO_LARGE"},
      {fixtures + "/bomb.7z", {}, _T("C:\\dl.v2\\nvidia.7z"), u"IDS_STRING_INSTALL_FILE_TOO_LARGE"},
      {work + "/twice.zip", {}, _T("C:\\dl.v2\\nvidia.zip"), u"IDS_STRING_INSTALL_FILE_CORRUPT"},
      {work + "/link.zip", {}, _T("C:\\dl.v2\\nvidia.zip"), u"IDS_STRING_INSTALL_FILE_CORRUPT"},
      {fixtures + "/short.rar", {}, _T("C:\\dl.v2\\nvidia.rar"), u"IDS_STRING_INSTALL_RAR_FILE_CORRUPT"},
      // The third volume of the set is missing.
      {fixtures + "/set5.part1.rar", {fixtures + "/set5.part2.rar"}, _T("C:\\dl.v2\\nvidia.part1.rar"),
       u"IDS_STRING_INSTALL_RAR_FILE_CORRUPT"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.source);
    texts_.clear();
    WriteHostFile(HostPath(test.package), ReadHostFile(test.source));
    for (std::size_t i = 0; i < test.more.size(); ++i)
      WriteHostFile(HostPath(_T("C:\\dl.v2\\nvidia.part") + CString(std::to_string(i + 2).c_str()) + _T(".rar")),
                    ReadHostFile(test.more[i]));
    EXPECT_EQ(Install(test.package), kInstallFailed);
    EXPECT_EQ(texts_, std::vector<std::u16string>{test.text});
    EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("9.18.13.1106")));
    const CString folder = test.package.Left(test.package.ReverseFind(_T('.')));
    EXPECT_FALSE(fs::exists(HostPath(folder))) << "what was unpacked is removed";
    fs::remove(HostPath(test.package));
  }
  // A cabinet whose two entries are one file on Windows.
  texts_.clear();
  WriteHostFile(HostPath(_T("C:\\dl.v2\\nvidia.cab")),
                StoredCabinet({{"nvidia\\nvidia.inf", inf}, {"NVIDIA\\NVIDIA.INF", "another"}}));
  EXPECT_EQ(Install(_T("C:\\dl.v2\\nvidia.cab")), kInstallFailed);
  EXPECT_EQ(texts_, (std::vector<std::u16string>{u"IDS_STRING_INSTALL_CAB_FILE_CORRUPT"}));
  EXPECT_EQ(InstalledVersion(kNvidiaDisplay), CString(_T("9.18.13.1106")));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\dl.v2\\nvidia"))));
}

TEST_F(FetchedRoad, TwoDriversOfOneAddressCauseOneTransfer) {
  SetValue("Windows", "Architecture", "x86");
  WriteCatalogue(false, true);
  StartService();
  ScanAndLookUp();
  Fetch({kNvidiaDisplay, kIntelDisplay});
  EXPECT_EQ(fetch_->GetDownloadCount(), 2);
  int transfers = 0;
  for (std::string line = service_->NextLine(1000); !line.empty(); line = service_->NextLine(300))
    transfers += line.rfind("GET /packages/nvidia.zip", 0) == 0 ? 1 : 0;
  EXPECT_EQ(transfers, 1);
  CString first, second;
  ASSERT_TRUE(fetch_->GetDownloadedPackages().Lookup(_T("pciven_10de&dev_0ffc&subsys_21f517aa"), first));
  ASSERT_TRUE(fetch_->GetDownloadedPackages().Lookup(_T("pciven_8086&dev_0166&subsys_21f317aa"), second));
  EXPECT_EQ(first, second);
}

TEST_F(FetchedRoad, AFetchCreatesTheWorkFoldersReportsTheFullItemAndSavesThePackageList) {
  SetValue("Windows", "Architecture", "x86");
  WriteCatalogue();
  StartService();
  ScanAndLookUp();
  ASSERT_TRUE(library_.Load());
  CDriverPackageFetch fetch(*engine_, helper_, &library_);
  fetch.SetDownloadFolder(_T("C:\\work\\dl"));
  fetch.SetWorkFolders(_T("C:\\work\\backup\\temp"), _T("C:\\work\\backup\\zips"));
  fetch.SetFileListPath(_T("C:\\work\\Download.dat"));
  std::vector<int> percents;
  fetch.SetProgress([&percents](int percent) { percents.push_back(percent); });
  ASSERT_EQ(fetch.FetchAndDownloadDriver(index_[kNvidiaDisplay], 0), CDriverPackageFetch::kHandled);
  ASSERT_TRUE(fetch.IsDownloaded());
  for (const LPCTSTR folder : {_T("C:\\work\\dl"), _T("C:\\work\\backup\\temp"), _T("C:\\work\\backup\\zips")})
    EXPECT_TRUE(fs::is_directory(HostPath(folder)));
  EXPECT_EQ(percents, std::vector<int>{100});

  CMapStringToString stored;
  ASSERT_TRUE(LoadHistoryFile(_T("C:\\work\\Download.dat"), stored));
  CString package;
  ASSERT_TRUE(stored.Lookup(_T("pciven_10de&dev_0ffc&subsys_21f517aa"), package));
  EXPECT_EQ(package, CString(_T("C:\\work\\dl\\pciven_10de&dev_0ffc&subsys_21f517aa.zip")));

  // A listed package that is gone from the disk leaves the stored list before it is fetched again.
  ASSERT_TRUE(DeleteFileW(package));
  int storedAtStart = -1;
  fetch.SetStatusLine([&storedAtStart](const CString& line) {
    if (line.Find(_T("IDS_START_DOWNLOADING")) != 0) return;
    CMapStringToString list;
    if (LoadHistoryFile(_T("C:\\work\\Download.dat"), list)) storedAtStart = static_cast<int>(list.GetCount());
  });
  ASSERT_EQ(fetch.FetchAndDownloadDriver(index_[kNvidiaDisplay], 0), CDriverPackageFetch::kHandled);
  EXPECT_EQ(storedAtStart, 0);
  EXPECT_TRUE(HostFileExists(HostPath(package)));
}

TEST_F(FetchedRoad, AStopAsTheTransferStartsTellsTheUserAndKeepsNoPackage) {
  SetValue("Windows", "Architecture", "x86");
  WriteCatalogue();
  StartService();
  ScanAndLookUp();
  ASSERT_TRUE(library_.Load());
  for (const BOOL notify : {FALSE, TRUE}) {
    CDriverPackageFetch fetch(*engine_, helper_, &library_);
    fetch.SetDownloadFolder(_T("C:\\dl"));
    fetch.SetProgressNotify(notify);
    std::vector<CString> lines;
    fetch.SetStatusLine([&](const CString& line) {
      lines.push_back(line);
      if (line.Find(_T("IDS_START_DOWNLOADING")) == 0) fetch.RequestStop();
    });
    std::vector<std::pair<CString, UINT>> messages;
    fetch.SetMessageBox([&messages](const CString& text, UINT icon) { messages.emplace_back(text, icon); });
    EXPECT_EQ(fetch.FetchAndDownloadDriver(index_[kNvidiaDisplay], 0), CDriverPackageFetch::kStopped);
    EXPECT_FALSE(fetch.IsDownloaded());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().Find(_T("IDS_DOWN_STOPEED2")), 0);
    if (notify) {
      EXPECT_TRUE(messages.empty()) << "nothing is shown while a launcher follows the progress";
    } else {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0].first, CString(_T("IDS_DOWN_STOPEED")));
      EXPECT_EQ(messages[0].second, static_cast<UINT>(MB_ICONINFORMATION));
    }
    EXPECT_FALSE(HostFileExists(HostPath(_T("C:\\dl\\pciven_10de&dev_0ffc&subsys_21f517aa.zip"))));
  }
}

TEST_F(FetchedRoad, AStoppedTransferLeavesNoPackageUnderItsName) {
  WriteCatalogue();
  StandIn slow(StandInOptions(catalogue_.path(), uploads_.path(), "slow"));
  ASSERT_GT(slow.port(), 0);
  ASSERT_TRUE(library_.Load());
  engine_ = std::make_unique<CDriverScanUpdate>();
  CDriverPackageFetch fetch(*engine_, helper_, &library_);
  CreateDirectoryW(_T("C:\\dl"), nullptr);
  const CString file = _T("C:\\dl\\nvidia.zip");
  WriteHostFile(HostPath(file), "an older package");
  CString address;
  address.Format(_T("http://127.0.0.1:%d/packages/nvidia.zip"), slow.port());
  std::atomic<int> result{-1};
  std::thread transfer([&] { result = fetch.DownloadThroughLibrary(address, file, false); });
  ASSERT_EQ(slow.NextLine(5000).rfind("GET /packages/nvidia.zip", 0), 0u);
  fetch.RequestStop();
  transfer.join();
  EXPECT_EQ(result.load(), 0);
  EXPECT_TRUE(fetch.IsStopRequested());
  EXPECT_FALSE(HostFileExists(HostPath(file)));
}

}  // namespace
}  // namespace zx::test
