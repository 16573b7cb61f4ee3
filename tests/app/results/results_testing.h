// Shared by the results tests: the laptop profile seeded, scanned and looked up against the
// web service's stand-in, a host window, and a results-page host that records what the page
// hands on and keeps a real exclusion file.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DlgScan3Results.h"
#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "DrvExclusionFile.h"
#include "EngineCallbacks.h"
#include "road_machine.h"
#include "UpdateServiceHelper.h"
#include "dialogs_testing.h"
#include "standin.h"
#include "zx/clock.h"

namespace zx::test {

class RecordingHost : public CResultsPageHost {
 public:
  struct Run {
    int mode;
    std::vector<int> rows;
  };
  explicit RecordingHost(CDriverScanUpdate& engine) : engine_(engine), exclusions_(_T("C:\\Data")) {
    exclusions_.SetMarker([this](const CString& id, BOOL mark) { engine_.SetKeyMarked(id, mark); });
  }
  ~RecordingHost() override { images_.Detach(); }  // the engine's list
  CDriverScanUpdate& GetScanEngine() override { return engine_; }
  CImageList* GetClassImages() override { return images_.GetSafeHandle() ? &images_ : nullptr; }
  bool IsOneClickMode() const override { return oneClick_; }
  bool IsLauncherNotifyMode() const override { return notify_; }
  void SetTaskBusy(BOOL busy) override { busy_.push_back(busy); }
  void ClearScanRequested() override { ++scanRequestsCleared_; }
  void ShowResultsTab(CWnd*) override { ++resultsTabs_; }
  void RunDownloadAndInstall(CWnd*, int mode, const std::vector<int>& rows) override { runs_.push_back({mode, rows}); }
  int CheckElevation(CWnd*) override { return elevation_; }
  void RunRestartPrompt(CWnd*) override { ++restartPrompts_; }
  void ReportUpdateCount(int count) override { reported_.push_back(count); }
  int AddExclusion(const CString& name, const CString& id) override { return exclusions_.Add(name, id); }
  int GetExclusionCount() const override { return exclusions_.GetCount(); }
  void GoToExclusionList() override { ++exclusionListShown_; }
  void ShowSummary() override { ++summaries_; }
  void SendFeedback(CWnd*) override { ++feedbacks_; }

  CDriverScanUpdate& engine_;
  CDrvExclusionFile exclusions_;
  CImageList images_;
  std::vector<Run> runs_;
  std::vector<int> reported_;
  std::vector<BOOL> busy_;
  int scanRequestsCleared_ = 0;
  int resultsTabs_ = 0;
  int elevation_ = 1;
  int restartPrompts_ = 0;
  int exclusionListShown_ = 0;
  int summaries_ = 0;
  int feedbacks_ = 0;
  bool notify_ = false;
  bool oneClick_ = false;
};

class ResultsTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    // The program's own texts in place of the shared windows' test texts.
    std::filesystem::copy_file(ZX_PROGRAM_TEXTS,
                               std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvx.ini",
                               std::filesystem::copy_options::overwrite_existing);
    SetEngineProgressView(&view_);
    CreateDirectoryW(u"C:\\Data", nullptr);
    ASSERT_TRUE(host_.CreateEx(0, _T("Static"), _T(""), WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 480), nullptr, 0));
  }
  void TearDown() override {
    page_.reset();
    host_.DestroyWindow();
    SetEngineProgressView(nullptr);
    DialogTest::TearDown();
  }

  // The laptop scanned and its updates looked up in the shipped catalogue. The exchange with
  // the stand-in, another process, runs on the host's clock.
  void ScanLaptop() {
    SetClock(nullptr);
    ScanAndLookUp();
    SetClock(&clock_);
  }
  void ScanAndLookUp() {
    road::SeedLaptopDevices();
    SetMachineValue("Network", "Connection", "lan");
    std::filesystem::copy_file(std::string(ZX_CATALOGUE_DIR) + "/laptop/catalogue.ini",
                               catalogue_.path() + "/catalogue.ini");
    WriteHostFile(catalogue_.path() + "/package.zip", "package bytes");
    const auto service = road::StartService(root(), catalogue_.path(), uploads_.path());
    ASSERT_NE(service, nullptr);
    ASSERT_EQ(engine_.ReportScanEnd(_T("")), kStepCompleted);
    tagScanRequestMachine machine;
    machine.nOsId = 21;
    machine.strMachineId = _T("1234567890");
    machine.strAppName = _T("Zephrin Tunevo");
    engine_.SetRequestMachine(machine);
    CUpdateServiceHelper helper;
    ASSERT_EQ(engine_.LookUpUpdates(helper), kStepCompleted);
  }

  // The page made in the host window, the engine's results written into it and the page shown.
  void OpenPage() {
    if (HIMAGELIST classes = engine_.GetClassImageList(); classes && !pageHost_.images_.GetSafeHandle())
      pageHost_.images_.Attach(classes);
    page_ = std::make_unique<CDlgScan3Results>(pageHost_);
    ASSERT_TRUE(page_->Create(CDlgScan3Results::kTemplateId, &host_));
    engine_.SetResultList(&page_->GetResultView());
    engine_.SetScanDone(TRUE);
    ASSERT_EQ(engine_.FillResults(), 1);
    page_->ShowWindow(SW_SHOW);
    Pump();
  }

  velquor::CFancyListCtrl& List() { return page_->GetList(); }
  POINT OnList(POINT client) {
    ::ClientToScreen(List().m_hWnd, &client);
    return client;
  }
  // Clicks a row's check band.
  void ClickCheck(int row) {
    // The band's last line: the first row's band begins above the list.
    const CRect box = List().GetCheckClickRect(row);
    ClickAt(OnList({box.CenterPoint().x, box.bottom - 1}));
    Pump();
  }
  // A point of the row in the column (x from the column's left).
  POINT InColumn(int row, int column, int dx) {
    CRect r;
    List().GetItemRect(row, &r, LVIR_BOUNDS);
    int x = r.left;
    for (int c = 0; c < column; ++c) x += List().GetColumnWidth(c);
    return OnList({x + dx, r.top + r.Height() / 2});
  }
  void Press(UINT id) {
    Click(page_->GetDlgItem(id)->m_hWnd);
    Pump();
  }
  std::vector<int> CheckedRows() {
    std::vector<int> rows;
    for (int row = 0; row < List().GetItemCount(); ++row)
      if (List().GetCheck(row)) rows.push_back(row);
    return rows;
  }

  CEngineProgressView view_;
  CDriverScanUpdate engine_;
  RecordingHost pageHost_{engine_};
  CWnd host_;
  std::unique_ptr<CDlgScan3Results> page_;
  TempFolder catalogue_;
  TempFolder uploads_;
};

}  // namespace zx::test
