// The main road in the real main window on the laptop profile, against the web service's
// stand-in on loopback: Scan now, the scanning page with its status lines and progress, the
// last-scan status and the summary; a stop during the device scan and during the exchange
// with the texts and records they leave; a service that does not answer; pictures of the pages.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "DlgOneClickDrvUpdateResultsMain.h"
#include "DlgScan1ScanHome.h"
#include "DlgScan2Scanning.h"
#include "DlgScan3Results.h"
#include "DlgScan5Summary.h"
#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "ExchangeEncoding.h"
#include "LastScanStatus.h"
#include "UpdateAnswer.h"
#include "cstring_printer.h"
#include "road_testing.h"
#include "standin.h"
#include "zx/machineprofile.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

class ScanRoad : public RoadTest {
 protected:
  void SetUp() override {
    RoadTest::SetUp();
    devices::MachineProfile profile;
    std::string error;
    ASSERT_TRUE(devices::LoadProfileFile(std::string(ZX_PROFILES_DIR) + "/laptop.profile", profile, error)) << error;
    ASSERT_EQ(devices::SeedMachine(profile, devices::SeedOptions{false, "laptop.profile"}, error),
              devices::SeedResult::Seeded)
        << error;
    SetMachineValue("Machine", "Administrator", "1");
    SetMachineValue("Network", "Connection", "lan");
  }
  void TearDown() override {
    // A scan still running is stopped with the window; the stand-in goes after it.
    RoadTest::TearDown();
    service_.reset();
  }
  void SetMachineValue(const std::string& section, const std::string& key, const std::string& value) {
    const std::u16string ini = path::HostToWindows(root() + "/machine.ini");
    const std::u16string s(section.begin(), section.end()), k(key.begin(), key.end()), v(value.begin(), value.end());
    ASSERT_TRUE(WritePrivateProfileStringW(s.c_str(), k.c_str(), v.c_str(), ini.c_str()));
  }
  // The stand-in over the laptop's shipped catalogue, with the package file it names.
  void StartService(const std::string& fault = {}, std::vector<std::string> arguments = {}) {
    fs::copy_file(ZX_CATALOGUE_DIR "/laptop/catalogue.ini", catalogue_.path() + "/catalogue.ini");
    WriteHostFile(catalogue_.path() + "/package.zip", "package bytes");
    service_ = std::make_unique<StandIn>(StandInOptions(catalogue_.path(), uploads_.path(), fault, 0, std::move(arguments)));
    ASSERT_GT(service_->port(), 0);
    for (const char* host : {"update.zephrin-tunevo.example", "update2.zephrin-tunevo.example"})
      SetMachineValue("Hosts", host, "127.0.0.1:" + std::to_string(service_->port()));
  }
  CDlgScan1ScanHome* Home() { return dynamic_cast<CDlgScan1ScanHome*>(main_->GetGroupPage(CVelquorDlg::kScanGroup, 1)); }
  CDlgScan2Scanning* Scanning() {
    return dynamic_cast<CDlgScan2Scanning*>(main_->GetGroupPage(CVelquorDlg::kScanGroup, 2));
  }
  CDlgScan5Summary* Summary() { return dynamic_cast<CDlgScan5Summary*>(main_->GetGroupPage(CVelquorDlg::kScanGroup, 5)); }
  static bool Shown(CWnd* page) { return page && page->GetSafeHwnd() && page->IsWindowVisible(); }
  // Lets the window's loop and the scan thread turn, the test clock moving on, until the
  // condition holds (at most about 20 s of host time).
  bool Until(const std::function<bool()>& condition, int stepMs = 20) {
    for (int turn = 0; turn < 20000; ++turn) {
      Pump();
      if (condition()) return true;
      clock_.Advance(stepMs);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return condition();
  }
  bool ScanEnded() { return !Scanning()->IsScanRunning() && !theApp.m_bTaskBusy; }
  // A step of a modal run: once an own message box shows, its text is kept and it is answered.
  std::function<bool()> AnswerBox(CString& shown) {
    return [this, &shown] {
      if (const HWND box = RunningMessageBox()) {
        shown = MessageBoxText(box);
        AnswerMessageBox(box);
        return true;
      }
      clock_.Advance(20);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      main_->PostMessage(WM_NULL);
      return false;
    };
  }
  std::vector<CString> StatusLines() {
    std::vector<CString> lines;
    for (int i = 0; i < Scanning()->GetStatusLineCount(); ++i) lines.push_back(Scanning()->GetStatusLine(i, 1));
    return lines;
  }
  static CString Stored(int value) {
    CString text = _T("<none>");
    ReadLastScanValue(value, text);
    return text;
  }
  void ShowScanPage(UINT command) { main_->GetGroup(CVelquorDlg::kScanGroup)->PostMessage(WM_COMMAND, command); }
  // Scan now on the home page, shown first.
  void ClickScanNow() {
    ShowScanPage(CScanPagesHost::kHomePage);
    ASSERT_TRUE(Until([&] { return Shown(Home()); }));
    Click(::GetDlgItem(Home()->m_hWnd, CDlgScan1ScanHome::kScanNowId));
  }
  void ClickStop() { Click(::GetDlgItem(Scanning()->m_hWnd, CDlgScan2Scanning::kStopId)); }
  // The window drawn again with the shown panel and page last (hidden ones draw too in the
  // test window layer), then compared with its reference picture.
  void ExpectPageMatches(CWnd* page, const std::string& name) {
    const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN;
    for (CWnd* window : {static_cast<CWnd*>(main_.get()), static_cast<CWnd*>(main_->GetGroup(CVelquorDlg::kScanGroup)), page}) {
      window->RedrawWindow(nullptr, nullptr, flags);
      Pump();
    }
    ExpectWindowMatches(main_->m_hWnd, name);
  }

  TempFolder catalogue_;
  TempFolder uploads_;
  std::unique_ptr<StandIn> service_;
};

TEST_F(ScanRoad, ScanNowScansLooksUpAndRecordsTheOutcome) {
  StartService();
  OpenMainWindow();
  ExpectPageMatches(Home(), "scan_home_before.png");
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return Shown(Scanning()); }));
  EXPECT_TRUE(theApp.m_bTaskBusy);
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(Scanning()->m_hWnd, CDlgScan2Scanning::kStopId)));
  ASSERT_TRUE(Until([&] { return ScanEnded(); }));
  const int devices = main_->GetScanEngine().GetDeviceCount();
  const int found = main_->GetScanEngine().GetUpdatesFound();
  EXPECT_GT(devices, 0);
  EXPECT_GT(found, 0);
  const std::vector<CString> lines = StatusLines();
  const std::vector<CString> expected = {u"Preparing the scan",
                                         u"Please wait while the devices are examined...",
                                         u"Collecting the driver information",
                                         u"Asking the update service for newer drivers",
                                         u"The update service answered",
                                         u"Showing the results"};
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(Stored(kLastScanTotal), CString(std::to_string(devices).c_str()) + _T(" Drivers"));
  EXPECT_EQ(Stored(kLastScanOutOfDate), CString(std::to_string(found).c_str()) + (found > 1 ? _T(" Drivers") : _T(" Driver")));
  EXPECT_EQ(Stored(kLastScanUpToDate), CString(std::to_string(devices - found).c_str()) + _T(" Drivers"));
  EXPECT_NE(theApp.m_strLastScanText.Find(_T("<matchingid>")), -1);
  EXPECT_TRUE(main_->IsUiEnabled());
  // The found updates are listed on the results page.
  CDlgBaseWnd* results = main_->GetGroupPage(CVelquorDlg::kScanGroup, 3);
  ASSERT_TRUE(Until([&] { return Shown(results); }));
  EXPECT_EQ(main_->GetScanEngine().GetResultRows().GetSize(), found);
  ExpectPageMatches(results, "scan_results.png");

  // The launcher's popup request shows the same results in the one-click popup, all checked.
  int popupRows = -1, checkedRows = 0;
  WhileModal({[&] {
    auto* popup = dynamic_cast<CDlgOneClickDrvUpdateResultsMain*>(CWnd::FromHandlePermanent(ActiveWindow()));
    if (popup == nullptr || popup->GetResultsPage() == nullptr) return false;
    auto& list = popup->GetResultsPage()->GetList();
    popupRows = list.GetItemCount();
    for (int row = 0; row < popupRows; ++row) checkedRows += list.GetCheck(row) ? 1 : 0;
    popup->EndDialog(IDOK);
    return true;
  }});
  main_->SendMessage(WM_TIMER, kPopupTimerId);
  ExpectAllStepsRan();
  EXPECT_EQ(popupRows, found);
  EXPECT_EQ(checkedRows, popupRows);
  EXPECT_EQ(static_cast<CDlgScan3Results*>(results)->GetList().GetItemCount(), popupRows);

  // The summary counts the devices examined and the updates still to install.
  ShowScanPage(CScanPagesHost::kSummaryPage);
  ASSERT_TRUE(Until([&] { return Shown(Summary()); }));
  EXPECT_EQ(Summary()->GetCount(0), devices);
  EXPECT_EQ(Summary()->GetCount(1), found);
  EXPECT_EQ(Summary()->GetCount(2), 0);
  EXPECT_EQ(Summary()->GetCount(3), found);
  EXPECT_EQ(Summary()->GetColour(0), CDlgScan5Summary::kGoodColour);
  EXPECT_EQ(Summary()->GetColour(3), CDlgScan5Summary::kWarningColour);
  ExpectPageMatches(Summary(), "scan_summary.png");
  Click(::GetDlgItem(Summary()->m_hWnd, CDlgScan5Summary::kFinishId));
  ASSERT_TRUE(Until([&] { return Shown(Home()); }));
  EXPECT_EQ(Home()->GetRowValue(kLastScanTotal), Stored(kLastScanTotal));
  ExpectPageMatches(Home(), "scan_home_after.png");
}

// The device scan held until the stop reaches it, as a long scan would be.
void HoldDeviceScanUntilStopped(CDriverScanUpdate& engine, std::atomic<bool>& holding) {
  engine.SetDeviceScan([&holding](LPCTSTR path) {
    CDriverInstallEngine& process = GetProcessEngine();
    CDriverInstallEngine::COperation running(process);
    process.RunDeviceScan(path);
    holding = true;
    for (int wait = 0; wait < 20000 && process.GetStepCode() != kStepStopScan; ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    process.AcknowledgeStep();
    return static_cast<int>(kStepStopScan);
  });
}

TEST_F(ScanRoad, AStopDuringTheDeviceScanSendsNoRequestAndRecordsTheAbort) {
  StartService();
  OpenMainWindow();
  std::atomic<bool> holding{false};
  HoldDeviceScanUntilStopped(main_->GetScanEngine(), holding);
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return holding.load() && Scanning()->GetStatusLineCount() == 2; }));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(Scanning()->m_hWnd, CDlgScan2Scanning::kStopId)));
  ExpectPageMatches(Scanning(), "scanning_device_scan.png");
  CString shown;
  WhileModal({AnswerBox(shown)});
  ClickStop();
  ClickStop();  // a second press while the first stop runs changes nothing
  ASSERT_TRUE(Until([&] { return ScanEnded(); }));
  ExpectAllStepsRan();
  EXPECT_NE(shown.Find(u"The scan was stopped."), -1) << CStringA(shown).GetString();
  EXPECT_EQ(Stored(kLastScanTotal), u"Stopped by the user");
  EXPECT_EQ(Stored(kLastScanOutOfDate), u"--");
  EXPECT_EQ(Stored(kLastScanUpToDate), u"--");
  EXPECT_EQ(service_->NextLine(200), "") << "no request reached the service";
  EXPECT_TRUE(fs::is_empty(uploads_.path())) << "a stop sends no error report";
  EXPECT_TRUE(Shown(Home()));
  EXPECT_TRUE(main_->IsUiEnabled());
  EXPECT_FALSE(theApp.m_bTaskBusy);

  // The next scan runs whole, and a stored count now stays through a stop.
  main_->GetScanEngine().SetDeviceScan(nullptr);
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return Shown(Scanning()); }));
  ASSERT_TRUE(Until([&] { return ScanEnded(); }));
  const CString total = Stored(kLastScanTotal);
  EXPECT_NE(total, u"Stopped by the user");
  HoldDeviceScanUntilStopped(main_->GetScanEngine(), holding);
  holding = false;
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return holding.load(); }));
  WhileModal({AnswerBox(shown)});
  ClickStop();
  ASSERT_TRUE(Until([&] { return ScanEnded(); }));
  EXPECT_EQ(Stored(kLastScanTotal), total);
}

TEST_F(ScanRoad, AStopDuringTheExchangeEndsTheScanWithoutAReport) {
  StartService("noanswer");
  OpenMainWindow();
  ClickScanNow();
  ASSERT_TRUE(Until([&] {
    const std::vector<CString> lines = StatusLines();
    return !lines.empty() && lines.back() == u"Asking the update service for newer drivers";
  }));
  CString shown;
  WhileModal({AnswerBox(shown)});
  ClickStop();
  ASSERT_TRUE(Until([&] { return ScanEnded(); }, 1000));
  ExpectAllStepsRan();
  EXPECT_NE(shown.Find(u"The scan was stopped."), -1) << CStringA(shown).GetString();
  EXPECT_TRUE(fs::is_empty(uploads_.path()));
  EXPECT_TRUE(Shown(Home()));
  EXPECT_FALSE(theApp.m_bTaskBusy);
}

// The answer is deciphered while it is read; the error report of an answer whose digest is
// wrong still carries the answer as it came, whose payload deciphers to the answer document.
TEST_F(ScanRoad, AnAnswerWithAWrongDigestIsReportedAsItCame) {
  StartService({}, {"--hostile-answer", "wrongdigest"});
  OpenMainWindow();
  CString shown;
  WhileModal({AnswerBox(shown)});
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return ScanEnded(); }, 1000));
  std::vector<fs::path> reports;
  for (const auto& entry : fs::directory_iterator(uploads_.path())) reports.push_back(entry.path());
  ASSERT_EQ(reports.size(), 1u);
  const std::string report = ReadHostFile(reports[0].string());
  EXPECT_NE(report.find("<error_desc>getOutputStrFromHex</error_desc>"), std::string::npos);
  const std::size_t start = report.find("<output_hex>");
  const std::size_t end = report.find("</output_hex>");
  ASSERT_TRUE(start != std::string::npos && end != std::string::npos);
  const std::string sent = report.substr(start + 12, end - start - 12);
  CString answer(std::u16string(sent.begin(), sent.end()).c_str());
  EXPECT_EQ(DecodeExchangeAnswer(answer), kAnswerWrongDigest);
  ASSERT_TRUE(getOutputStrFromHex(answer));
  EXPECT_EQ(answer.Find(_T("<newdataset")), 0) << CStringA(answer.Left(100)).GetString();
}

TEST_F(ScanRoad, AServiceThatDoesNotAnswerIsToldOnceAndRecordedAsUnknown) {
  StartService("http500");
  OpenMainWindow();
  CString shown;
  int boxes = 0;
  WhileModal({[&] {
                if (RunningMessageBox()) ++boxes;
                return AnswerBox(shown)();
              },
              [&] {
                if (RunningMessageBox()) ++boxes;
                return ScanEnded();
              }});
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return ScanEnded(); }, 1000));
  EXPECT_EQ(boxes, 1);
  EXPECT_NE(shown.Find(u"The update service could not be reached. Please check your Internet connection and your "
                       u"firewall. The drivers were not checked for updates."),
            -1)
      << CStringA(shown).GetString();
  EXPECT_EQ(StatusLines().back(), u"The update service could not be reached. Please check your Internet connection and your firewall.");
  EXPECT_EQ(Stored(kLastScanOutOfDate), u"--");
  EXPECT_EQ(Stored(kLastScanUpToDate), u"--");
  EXPECT_TRUE(fs::is_empty(uploads_.path())) << "a connection failure sends no error report";
  EXPECT_TRUE(Shown(Home()));
}

}  // namespace
}  // namespace zx::test
