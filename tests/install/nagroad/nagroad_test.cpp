// The download-and-install popup end to end on the laptop profile: the results of a real scan
// and lookup are handed to the popup, whose run fetches the packages from the web service's
// stand-in over loopback (progress, sizes and speed in the status list), asks to install,
// backs the drivers up and installs them through the install road, and marks the rows; a
// fresh scan reads the new versions. A stop during a transfer leaves no package under its
// final name. The main window is disabled while a run works and told as the install starts;
// the backup is packed before the install, its packing shown; "Skip backup" stops the engine's
// backup and the install follows; a backup that cannot be written is told, one box at a time. The layer's host clock runs here: the stand-in and the helper programs are
// other processes.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "BackupCompress.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DlgNagDownloadAndInstall.h"
#include "DlgParentTransculent.h"
#include "DownloaderLibrary.h"
#include "DriverInstallEngine.h"
#include "DriverPackageFetch.h"
#include "EngineCallbacks.h"
#include "ExclusionList.h"
#include "PackageInstall.h"
#include "UpdateServiceHelper.h"
#include "cstring_printer.h"
#include "nag_texts.h"
#include "popups_testing.h"
#include "road_testing.h"
#include "zx/modal.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;
using Dialog = CDlgNagDownloadAndInstall;

// Shows the engine's backup of each driver: at the first, "Skip backup" is pressed, and the
// backup goes on once the stop has reached the engine.
class SkipAtFirstBackup : public CWindowMessenger {
 public:
  HWND dialog = nullptr;
  bool skipped = false;

  void SetText(HWND, const CString&) override {
    if (skipped || dialog == nullptr) return;
    skipped = true;
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (GetProcessEngine().GetStepCode() != kStepStopBackup &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::yield();
  }
  void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    ::PostMessageW(window, message, wParam, lParam);
  }
};

class NagRoad : public PopupTest {
 protected:
  void SetUp() override {
    PopupTest::SetUp();
    std::ofstream(fs::read_symlink("/proc/self/exe").parent_path() / "qvx.ini", std::ios::binary) << kNagTexts;
    SetClock(nullptr);
    setenv("ZX_MACHINE_ROOT", root().c_str(), 1);
    SetEngineProgressView(&view_);
    CPackageInstall::SetDefaultPause([](DWORD) {});
    road::SeedLaptop(root());
    road::SetMachineValue(root(), "Windows", "Architecture", "x86");
    road::WriteCatalogue(catalogue_.path());
  }
  void TearDown() override {
    CPackageInstall::SetDefaultPause(nullptr);
    SetEngineProgressView(nullptr);
    unsetenv("ZX_MACHINE_ROOT");
    PopupTest::TearDown();
  }
  // Looks the updates up and hands every found one to the popup, ticked and not downloaded.
  void ChooseUpdates(const std::string& fault = {}) {
    service_ = road::StartService(root(), catalogue_.path(), uploads_.path());
    ASSERT_NE(service_, nullptr);
    road::ScanAndLookUp(engine_, index_);
    ASSERT_GE(index_[road::kNvidiaDisplay], 0);
    ASSERT_GE(index_[road::kIntelDisplay], 0);
    engine_->SetResultList(&list_);
    ASSERT_EQ(engine_->FillResults(), 1);
    for (INT_PTR i = 0; i < engine_->GetResultRows().GetSize(); ++i) {
      NagResultRow row;
      row.nDriverIndex = engine_->GetResultRows()[i].nDeviceIndex;
      row.bChecked = TRUE;
      row.strName = engine_->GetDevices()->GetAt(row.nDriverIndex)->szText[kSlotDeviceName].Text();
      rows_.push_back(row);
    }
    ASSERT_EQ(rows_.size(), 2u);
    if (!fault.empty()) {
      service_ = road::StartService(root(), catalogue_.path(), uploads_.path(), fault);
      ASSERT_NE(service_, nullptr);
    }
    ASSERT_TRUE(library_.Load());
    fetch_ = std::make_unique<CDriverPackageFetch>(*engine_, helper_, &library_);
    fetch_->SetDownloadFolder(_T("C:\\dl"));
    fetch_->SetOsIdText(_T("12"));
    fetch_->SetFileListPath(_T("C:\\dl\\Download.dat"));
    engine_->SetInstallSettings(road::Win7x64Tools(), 0);
  }
  // Runs the selected-drivers run; message boxes get the button `answer` picks, every line
  // the list shows is kept, `during` runs at each wait. The popup is closed when a run has
  // ended with its close button shown, unless it closed itself.
  void Drive(Dialog& dialog, const std::function<int(const CString&)>& answer,
             const std::function<void()>& during = [] {}) {
    dialog.SetResultRows(rows_);
    dialog.UseDriverRoad(*engine_, *fetch_, _T("C:\\backup\\run"), pack_);
    dialog.SetMainWindowLinks({[this](BOOL enable) { enabled_.push_back(enable); },
                               [this](UINT command) { commands_.push_back(command); },
                               [this](HWND popup) { popups_.push_back(popup); },
                               [this](int installedRows) { summaries_.push_back(installedRows); }});
    dialog.SetStartMode(Dialog::kModeDownloadSelected);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    WhileModal({[&] {
      if (dialog.GetSafeHwnd() == nullptr) return true;
      for (int i = 0; i < dialog.GetStatusLineCount(); ++i) seen_.insert(dialog.GetStatusLine(i));
      lines_.clear();
      for (int i = 0; i < dialog.GetStatusLineCount(); ++i)
        if (!dialog.GetStatusLine(i).IsEmpty()) lines_.push_back(dialog.GetStatusLine(i));
      if (const HWND box = RunningMessageBox()) {
        boxes_.push_back(MessageBoxText(box));
        const HWND button = ::GetDlgItem(box, kMessageBoxFirstButton + answer(boxes_.back()));
        Click(button != nullptr ? button : ::GetDlgItem(box, kMessageBoxFirstButton));
      } else {
        during();
        if ((dialog.GetMode() != Dialog::kModeNone && !dialog.IsRunning() &&
             ::IsWindowVisible(::GetDlgItem(dialog.GetSafeHwnd(), IDOK))) ||
            std::chrono::steady_clock::now() > deadline) {
          dialog.SendMessage(WM_COMMAND, IDOK);
          return true;
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      dialog.PostMessage(WM_NULL);
      return false;
    }});
    RunModalWithBackdrop(&owner_, &dialog, Dialog::kTemplateId);
    user::SetIdleHook(nullptr);
  }
  bool AnySeen(const char16_t* piece) const {
    for (const CString& line : seen_)
      if (line.Find(piece) >= 0) return true;
    return false;
  }
  std::vector<int> States(const Dialog& dialog) const {
    std::vector<int> states;
    for (const NagResultRow& row : dialog.GetResultRows()) states.push_back(row.nState);
    return states;
  }

  CEngineProgressView view_;
  TempFolder catalogue_;
  TempFolder uploads_;
  std::unique_ptr<StandIn> service_;
  std::unique_ptr<CDriverScanUpdate> engine_;
  road::CountingList list_;
  int index_[3] = {-1, -1, -1};
  std::vector<NagResultRow> rows_;
  CUpdateServiceHelper helper_;
  CDownloaderLibrary library_;
  std::unique_ptr<CDriverPackageFetch> fetch_;
  std::set<CString> seen_;
  // Packs the staging folder as the main program does, into C:\\backup\\zips.
  std::function<int()> pack_ = [] {
    BackupCompressJob job;
    job.staging = _T("C:\\backup\\run");
    job.backupFolder = _T("C:\\backup\\zips");
    GetLocalTime(&job.time);
    return CompressBackup(job);
  };
  std::vector<CString> lines_;
  std::vector<CString> boxes_;
  std::vector<BOOL> enabled_;
  std::vector<UINT> commands_;
  std::vector<HWND> popups_;
  std::vector<int> summaries_;
};

TEST_F(NagRoad, TheChosenUpdatesAreDownloadedBackedUpAndInstalledAndTheirRowsFollow) {
  ChooseUpdates();
  Dialog dialog(&owner_);
  // The packing is shown with the stop button off before the archive is written, and before
  // any driver is installed.
  bool stopOff = false;
  int installedWhenPacked = -1;
  const std::function<int()> pack = pack_;
  pack_ = [&] {
    const HWND stop = ::GetDlgItem(dialog.GetSafeHwnd(), IDCANCEL);
    for (int wait = 0; wait < 5000 && !stopOff; ++wait) {
      stopOff = !::IsWindowEnabled(stop);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    CExclusionList installed;
    installed.Reload();
    installedWhenPacked = installed.GetCount();
    return pack();
  };
  Drive(dialog, [](const CString& text) { return text.Find(u"Restart") >= 0 ? 1 : 0; });
  // Disabled by the download, enabled at its end; again by the backup and install, enabled at
  // its end (and as the popup closes itself). The scan group goes to its install step.
  ASSERT_GE(enabled_.size(), 4u);
  EXPECT_EQ(std::vector<BOOL>(enabled_.begin(), enabled_.begin() + 4), (std::vector<BOOL>{FALSE, TRUE, FALSE, TRUE}));
  EXPECT_TRUE(std::all_of(enabled_.begin() + 4, enabled_.end(), [](BOOL enable) { return enable; }));
  EXPECT_EQ(commands_, std::vector<UINT>{Dialog::kInstallStartCommand});
  // The main window heard of the popup's window as it opened, and of its end.
  ASSERT_EQ(popups_.size(), 2u);
  EXPECT_NE(popups_[0], nullptr);
  EXPECT_EQ(popups_[1], nullptr);
  EXPECT_TRUE(stopOff) << "the backup's packing cannot be skipped";
  EXPECT_EQ(installedWhenPacked, 0);
  const auto packing = std::find(lines_.begin(), lines_.end(), CString(u"Packing the backup"));
  EXPECT_LT(packing, std::find(lines_.begin(), lines_.end(), CString(u"Backup complete")));
  EXPECT_EQ(States(dialog), (std::vector<int>{2, 2}));
  for (INT_PTR i = 0; i < engine_->GetResultRows().GetSize(); ++i)
    EXPECT_EQ(engine_->GetResultRows()[i].nState, 2) << "the engine's result row " << i;
  EXPECT_EQ(dialog.GetInstalledCount(), 2);
  EXPECT_EQ(summaries_, std::vector<int>{2}) << "the install run's end hands its rows to the summary";
  EXPECT_EQ(boxes_.size(), 3u) << "install prompt, closing message, restart question";
  EXPECT_TRUE(AnySeen(u"Downloaded")) << "a package arrived";
  EXPECT_TRUE(AnySeen(u"/s")) << "the transfer's sizes and speed were shown";
  EXPECT_TRUE(AnySeen(u"The drivers are backed up"));
  EXPECT_EQ(lines_.back(), CString(u"Installation complete"));
  for (const NagResultRow& row : rows_) EXPECT_TRUE(seen_.count(CString(u"Installed ") + row.strName) ||
                                                    seen_.count(CString(u"Installed") + row.strName));
  // The packages stay for a later install and are listed; the backup holds the old drivers.
  EXPECT_TRUE(fs::is_regular_file(HostPath(_T("C:\\dl\\pciven_10de&dev_0ffc&subsys_21f517aa.zip"))));
  EXPECT_TRUE(fs::is_regular_file(HostPath(_T("C:\\dl\\Download.dat"))));
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\backup\\run")))) << "the staging folder went once packed";
  std::vector<fs::path> archives;
  for (const auto& entry : fs::directory_iterator(HostPath(_T("C:\\backup\\zips")))) archives.push_back(entry.path());
  ASSERT_EQ(archives.size(), 1u);
  EXPECT_NE(ReadHostFile(archives[0].string()).find("index.dat"), std::string::npos) << "the archive holds the catalogue";
  CExclusionList record;
  record.Reload();
  EXPECT_EQ(record.GetCount(), 2) << "both installs are recorded";
  EXPECT_FALSE(fs::exists(root() + "/shutdowns.log")) << "the restart was declined";
}

TEST_F(NagRoad, AStopDuringATransferLeavesNoPackageUnderItsFinalName) {
  ChooseUpdates("slowpackages");
  Dialog dialog(&owner_);
  bool stopped = false;
  Drive(dialog, [](const CString&) { return 0; }, [&] {
    if (stopped || !AnySeen(u" of ")) return;
    Click(::GetDlgItem(dialog.GetSafeHwnd(), IDCANCEL));
    stopped = true;
  });
  ASSERT_TRUE(stopped);
  EXPECT_EQ(States(dialog), (std::vector<int>{0, 0}));
  for (INT_PTR i = 0; i < engine_->GetResultRows().GetSize(); ++i) EXPECT_EQ(engine_->GetResultRows()[i].nState, 0);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_GE(boxes_[0].Find(u"The download was stopped."), 0);
  EXPECT_TRUE(AnySeen(u"Please wait while the run stops..."));
  EXPECT_TRUE(AnySeen(u"Download stopped:"));
  for (const auto& entry : fs::directory_iterator(HostPath(_T("C:\\dl"))))
    EXPECT_NE(entry.path().extension(), ".zip") << entry.path();
}

TEST_F(NagRoad, SkipBackupStopsTheEnginesBackupAndTheInstallFollows) {
  ChooseUpdates();
  Dialog dialog(&owner_);
  SkipAtFirstBackup skipper;
  view_.pMessenger = &skipper;
  view_.nEngineMode = kModeBackup;
  view_.hBackupName = owner_.GetSafeHwnd();
  Drive(dialog, [](const CString& text) { return text.Find(u"Restart") >= 0 ? 1 : 0; },
        [&] { skipper.dialog = dialog.GetSafeHwnd(); });
  view_.pMessenger = nullptr;
  ASSERT_TRUE(skipper.skipped);
  EXPECT_TRUE(AnySeen(u"Backup stopped"));
  EXPECT_TRUE(std::any_of(boxes_.begin(), boxes_.end(), [](const CString& box) { return box.Find(u"The backup was stopped") >= 0; }))
      << ::testing::PrintToString(boxes_);
  EXPECT_FALSE(fs::exists(HostPath(_T("C:\\backup\\run")))) << "a stopped backup keeps no folder";
  EXPECT_EQ(GetProcessEngine().GetStepCode(), kStepIdle);
  EXPECT_EQ(States(dialog), (std::vector<int>{2, 2})) << "the install follows";
}

TEST_F(NagRoad, ABackupThatCannotBeWrittenIsToldAndTheInstallFollows) {
  ChooseUpdates();
  Dialog dialog(&owner_);
  pack_ = [] { return static_cast<int>(kCompressWriteFailed); };
  Drive(dialog, [](const CString& text) { return text.Find(u"Restart") >= 0 ? 1 : 0; });
  // Each box in its turn, as the run told them.
  ASSERT_GE(boxes_.size(), 3u) << ::testing::PrintToString(boxes_);
  EXPECT_NE(boxes_[1].Find(u"The backup could not be written"), -1) << CStringA(boxes_[1]).GetString();
  EXPECT_NE(boxes_[2].Find(u"The backup was stopped"), -1) << CStringA(boxes_[2]).GetString();
  EXPECT_TRUE(AnySeen(u"Backup stopped"));
  EXPECT_FALSE(AnySeen(u"Backup complete"));
  EXPECT_EQ(States(dialog), (std::vector<int>{2, 2})) << "the install follows";
}

}  // namespace
}  // namespace zx::test
