// The main road in the real main window on the laptop profile, against the web service's
// stand-in on loopback: Scan now, the scanning page with its status lines and progress, the
// last-scan status and the summary; a stop during the device scan, the exchange and the parse
// of the answer with the texts and records they leave; a service that does not answer; answers
// decoded without their digest; the one-click popup's list; pictures of the pages.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "DlgOneClickDrvUpdateResultsMain.h"
#include "DlgScan3Results.h"
#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "ExchangeEncoding.h"
#include "IniReader.h"
#include "LastScanStatus.h"
#include "VelquorFancyList.h"
#include "VelquorScan.h"
#include "cstring_printer.h"
#include "road_testing.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

using ScanRoad = MainRoadTest;

TEST_F(ScanRoad, ScanNowScansLooksUpAndRecordsTheOutcome) {
  StartShippedService();
  OpenMainWindow();
  ExpectPageMatches(Home(), "scan_home_before.png");
  tagScanState& state = main_->GetScanHost()->ScanState();
  state.bAllUpToDate = true;  // as after an earlier scan that found nothing to update
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return Shown(Scanning()); }));
  EXPECT_TRUE(theApp.m_bTaskBusy);
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(Scanning()->m_hWnd, CDlgScan2Scanning::kStopId)));
  ASSERT_TRUE(Until([&] { return ScanEnded(); }));
  const int devices = main_->GetScanEngine().GetDeviceCount();
  const int found = main_->GetScanEngine().GetUpdatesFound();
  EXPECT_GT(devices, 0);
  EXPECT_GT(found, 0);
  EXPECT_FALSE(state.bAllUpToDate) << "a scan with updates leaves no update-all mark";
  const std::vector<CString> lines = StatusLines();
  // "Please wait" shows on the label only.
  const std::vector<CString> expected = {u"Preparing the scan",
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
  EXPECT_FALSE(state.bScanRequested) << "the results took the scan request";
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
  ASSERT_TRUE(main_->GetPopupArming().TryDisarm(main_->m_hWnd));  // the launcher's request
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

// A stop while the engine works: the device scan, or the parse of the service's answer. The
// stop writes its request into the engine's step code and waits on the engine's event; the
// engine answers it at once, does no more, and the scan ends with nothing found.
struct EngineStop {
  const char* where;
  bool duringParse;  // else during the device scan
  int linesAtStop;
  int requests;  // reaching the service
  const char* picture;  // of the scanning page at the stop, or null
};

void PrintTo(const EngineStop& stop, std::ostream* out) { *out << stop.where; }

class ScanStop : public MainRoadTest, public ::testing::WithParamInterface<EngineStop> {};

TEST_P(ScanStop, TheEngineAnswersTheStopAndTheScanEndsWithNothingFound) {
  const EngineStop stop = GetParam();
  StartShippedService();
  OpenMainWindow();
  CDriverScanUpdate& engine = main_->GetScanEngine();
  std::atomic<bool> holding{false};
  std::atomic<LONG> seenCode{0};
  if (stop.duringParse) {
    engine.SetParseWatch([&] {
      if (holding.exchange(true)) return;
      for (int wait = 0; wait < 20000 && GetProcessEngine().GetStepCode() != kStepStopScan; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      seenCode = GetProcessEngine().GetStepCode();
    });
  } else {
    HoldDeviceScan(engine, holding);
  }
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return holding.load() && Scanning()->GetStatusLineCount() == stop.linesAtStop; }));
  // Stop is off once the request is with the server; the launcher's abort still posts it.
  EXPECT_EQ(::IsWindowEnabled(::GetDlgItem(Scanning()->m_hWnd, CDlgScan2Scanning::kStopId)) != FALSE,
            !stop.duringParse);
  if (stop.picture) ExpectPageMatches(Scanning(), stop.picture);
  CString shown;
  WhileModal({AnswerBox(shown)});
  const ULONGLONG stoppedAt = GetTickCount64();
  if (stop.duringParse) {
    Scanning()->PostMessage(WM_COMMAND, CDlgScan2Scanning::kStopId);
  } else {
    ClickStop();
    ClickStop();  // a second press while the first stop runs changes nothing
  }
  ASSERT_TRUE(Until([&] { return ScanEnded(); }));
  EXPECT_LT(GetTickCount64() - stoppedAt, CDriverInstallEngine::kStopWaitMs) << "the engine answered the stop";
  ExpectAllStepsRan();
  if (stop.duringParse) {
    EXPECT_EQ(seenCode.load(), kStepStopScan);
  }
  EXPECT_EQ(GetProcessEngine().GetStepCode(), kStepIdle);
  EXPECT_NE(shown.Find(u"The scan was stopped."), -1) << CStringA(shown).GetString();
  EXPECT_EQ(Stored(kLastScanTotal), u"Stopped by the user");
  EXPECT_EQ(Stored(kLastScanOutOfDate), u"--");
  EXPECT_EQ(Stored(kLastScanUpToDate), u"--");
  EXPECT_EQ(engine.GetUpdatesFound(), 0);
  EXPECT_EQ(engine.GetResultRows().GetSize(), 0);
  EXPECT_EQ(Results()->GetList().GetItemCount(), 0);
  for (int request = 0; request < stop.requests; ++request) EXPECT_NE(service_->NextLine(), "");
  EXPECT_EQ(service_->NextLine(200), "") << "no further request reached the service";
  EXPECT_TRUE(fs::is_empty(uploads_.path())) << "a stop sends no error report";
  EXPECT_TRUE(Shown(Home()));
  EXPECT_FALSE(Shown(Results()));
  EXPECT_TRUE(main_->IsUiEnabled());
  EXPECT_FALSE(theApp.m_bTaskBusy);
}

INSTANTIATE_TEST_SUITE_P(Table, ScanStop,
                         ::testing::Values(EngineStop{"DeviceScan", false, 1, 0, "scanning_device_scan.png"},
                                           EngineStop{"Parse", true, 5, 1, nullptr}),
                         [](const auto& info) { return std::string(info.param.where); });

TEST_F(ScanRoad, AStoredCountStaysThroughAStop) {
  StartShippedService();
  OpenMainWindow();
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return Shown(Scanning()); }));
  ASSERT_TRUE(Until([&] { return ScanEnded(); }));
  const CString total = Stored(kLastScanTotal);
  EXPECT_NE(total, u"<none>");
  std::atomic<bool> holding{false};
  HoldDeviceScan(main_->GetScanEngine(), holding);
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return holding.load(); }));
  CString shown;
  WhileModal({AnswerBox(shown)});
  ClickStop();
  ASSERT_TRUE(Until([&] { return ScanEnded(); }));
  ExpectAllStepsRan();
  EXPECT_EQ(Stored(kLastScanTotal), total);
}

// Once the request is with the server, Stop is off and the engine's work value keeps the
// launcher's hold from pressing it; both come back with the scan's end.
TEST_F(ScanRoad, TheRequestWithTheServerIsNotStopped) {
  StartShippedService();
  HoldTheAnswers(true);
  OpenMainWindow();
  ClickScanNow();
  // The line that the request goes out, then the work value as Stop goes off.
  ASSERT_TRUE(Until([&] {
    const std::vector<CString> lines = StatusLines();
    return !lines.empty() && lines.back() == u"Asking the update service for newer drivers" &&
           main_->GetLauncherState().nScanWork.load() == 1;
  }));
  const HWND stop = ::GetDlgItem(Scanning()->m_hWnd, CDlgScan2Scanning::kStopId);
  EXPECT_FALSE(::IsWindowEnabled(stop));
  ClickStop();
  HoldTheAnswers(false);
  ASSERT_TRUE(Until([&] { return ScanEnded(); }, 1000));
  EXPECT_EQ(main_->GetLauncherState().nScanWork.load(), 0);
  EXPECT_GT(main_->GetScanEngine().GetUpdatesFound(), 0) << "the click on the disabled Stop changed nothing";
  EXPECT_TRUE(fs::is_empty(uploads_.path()));
}

// The counts of the last scan that got its answer stay; only the date of the try is written.
TEST_F(ScanRoad, AServiceThatDoesNotAnswerIsToldOnceAndKeepsTheLastCounts) {
  StartShippedService("http500");
  // As an earlier scan left the record.
  WriteLastScanValue(kLastScanTotal, u"41 Drivers");
  WriteLastScanValue(kLastScanOutOfDate, u"4 Drivers");
  WriteLastScanValue(kLastScanUpToDate, u"37 Drivers");
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
  const CString failure =
      u"The update service could not be reached. Please check your Internet connection and your firewall.";
  EXPECT_NE(shown.Find(failure), -1) << CStringA(shown).GetString();
  EXPECT_EQ(shown.Find(u"not checked"), -1) << "the one text alone";
  EXPECT_EQ(StatusLines().back(), failure);
  const CString date = Stored(kLastScanDate);  // "%m/%d/%Y %H:%M"
  EXPECT_TRUE(date.GetLength() == 16 && date[2] == u'/' && date[5] == u'/' && date[13] == u':')
      << CStringA(date).GetString();
  EXPECT_EQ(Stored(kLastScanTotal), u"41 Drivers");
  EXPECT_EQ(Stored(kLastScanOutOfDate), u"4 Drivers");
  EXPECT_EQ(Stored(kLastScanUpToDate), u"37 Drivers");
  EXPECT_TRUE(fs::is_empty(uploads_.path())) << "a connection failure sends no error report";
  EXPECT_TRUE(Shown(Home()));
}

// While the one-click popup is open its list hides the status column's action texts, which
// the main window's list shows, and a check clicked in it is handed on to the main window's
// list; closed, the switches are off again.
TEST_F(ScanRoad, TheOneClickPopupHandsItsCheckClicksToTheMainList) {
  StartShippedService();
  OpenMainWindow();
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return ScanEnded(); }));
  auto* results = static_cast<CDlgScan3Results*>(main_->GetGroupPage(CVelquorDlg::kScanGroup, 3));
  ASSERT_TRUE(Until([&] { return Shown(results); }));
  velquor::CFancyListCtrl& mainList = results->GetList();
  const auto actionPixels = [](HWND list) {
    SIZE size{};
    const std::vector<COLORREF> pixels = Pixels(list, size);
    return std::count(pixels.begin(), pixels.end(), velquor::CFancyListCtrl::kStatusColour);
  };
  EXPECT_GT(actionPixels(mainList.m_hWnd), 0);
  for (int row = 0; row < mainList.GetItemCount(); ++row) mainList.SetCheck(row, TRUE);
  int clicked = -1;
  BOOL popupChecked = TRUE, mainChecked = TRUE, switchesOn = FALSE;
  std::ptrdiff_t popupActionPixels = -1;
  velquor::CFancyListCtrl* popupList = nullptr;
  CDlgOneClickDrvUpdateResultsMain* popup = nullptr;
  WhileModal({[&] {
                popup = dynamic_cast<CDlgOneClickDrvUpdateResultsMain*>(CWnd::FromHandlePermanent(ActiveWindow()));
                if (popup == nullptr || popup->GetResultsPage() == nullptr) return false;
                popupList = &popup->GetResultsPage()->GetList();
                switchesOn = velquor::DriverListSwitches().bPopupOpen && velquor::DriverListSwitches().bStatusTextsHidden;
                popupActionPixels = actionPixels(popupList->m_hWnd);
                CRect client;
                popupList->GetClientRect(&client);
                for (int row = 0; row < popupList->GetItemCount() && clicked < 0; ++row) {
                  const CRect band = popupList->GetCheckClickRect(row);
                  if (static_cast<LONG_PTR>(popupList->GetItemData(row)) == -1 || band.IsRectEmpty() || band.top < 0 ||
                      band.bottom > client.bottom)
                    continue;
                  clicked = row;
                  CPoint at = band.CenterPoint();
                  popupList->ClientToScreen(&at);
                  ClickAt(at);
                }
                return true;
              },
              [&] {
                if (clicked >= 0) {
                  popupChecked = popupList->GetCheck(clicked);
                  mainChecked = mainList.GetCheck(clicked);
                }
                popup->EndDialog(IDOK);
                return true;
              }});
  ASSERT_TRUE(main_->GetPopupArming().TryDisarm(main_->m_hWnd));  // the launcher's request
  main_->SendMessage(WM_TIMER, kPopupTimerId);
  ExpectAllStepsRan();
  EXPECT_TRUE(switchesOn);
  EXPECT_EQ(popupActionPixels, 0) << "the popup's list shows no action texts";
  ASSERT_GE(clicked, 0) << "no row of the popup showed its check band";
  EXPECT_FALSE(popupChecked);
  EXPECT_FALSE(mainChecked) << "the main window's list follows the popup's click";
  EXPECT_FALSE(velquor::DriverListSwitches().bPopupOpen);
  EXPECT_FALSE(velquor::DriverListSwitches().bStatusTextsHidden);
}

// The answer is deciphered while it is read, its digest field never compared: an answer whose
// digest names another text lists its updates; one shorter than the digest field ends the scan
// with the decoder's report, which carries the answer as it came, and the up-to-date message,
// in a hidden run for the launcher too.
struct HostileAnswerCase {
  const char* mode;
  bool reported;
  bool hidden;
  friend void PrintTo(const HostileAnswerCase& c, std::ostream* os) { *os << c.mode << (c.hidden ? " hidden" : ""); }
};

class ScanAnswer : public MainRoadTest, public ::testing::WithParamInterface<HostileAnswerCase> {};

TEST_P(ScanAnswer, IsDecodedWithoutItsDigest) {
  StartShippedService({}, {"--hostile-answer", GetParam().mode});
  OpenMainWindow();
  CString shown;
  if (GetParam().hidden) {
    // The launcher's hidden-scan request: its one-click results popup is closed at once.
    WhileModal({[] {
      auto* popup = dynamic_cast<CDlgOneClickDrvUpdateResultsMain*>(CWnd::FromHandlePermanent(ActiveWindow()));
      if (popup == nullptr) return false;
      popup->EndDialog(IDOK);
      return true;
    }});
    COPYDATASTRUCT request{CVelquorDlg::kCopyHiddenScan, 0, nullptr};
    theApp.m_pMainWnd = main_.get();
    main_->SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request));
    ExpectAllStepsRan();
    ASSERT_TRUE(main_->GetLauncherState().bHiddenScanMode);
  }
  if (GetParam().reported) WhileModal({AnswerBox(shown)});
  ClickScanNow();
  ASSERT_TRUE(Until([&] { return ScanEnded(); }, 1000));
  std::vector<fs::path> reports;
  for (const auto& entry : fs::directory_iterator(uploads_.path())) reports.push_back(entry.path());
  if (!GetParam().reported) {
    EXPECT_TRUE(reports.empty());
    EXPECT_GT(main_->GetScanEngine().GetUpdatesFound(), 0);
    EXPECT_TRUE(Until([&] { return Shown(main_->GetGroupPage(CVelquorDlg::kScanGroup, 3)); }));
    return;
  }
  ExpectAllStepsRan();
  EXPECT_NE(shown.Find(GetLangString(_T("IDS_DRIVER_UPTODATE"), _T("Tunevo"))), -1) << CStringA(shown).GetString();
  ASSERT_EQ(reports.size(), 1u);
  const std::string report = ReadHostFile(reports[0].string());
  EXPECT_NE(report.find("<error_desc>getOutputStrFromHex</error_desc>"), std::string::npos);
  const std::size_t start = report.find("<output_hex>");
  const std::size_t end = report.find("</output_hex>");
  ASSERT_TRUE(start != std::string::npos && end != std::string::npos);
  EXPECT_EQ(end - start - 12, 31u) << "the answer as it came";
  EXPECT_EQ(main_->GetScanEngine().GetUpdatesFound(), 0);
  if (!GetParam().hidden) {
    EXPECT_TRUE(Shown(Home()));
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ScanAnswer,
                         ::testing::Values(HostileAnswerCase{"wrongdigest", false, false},
                                           HostileAnswerCase{"short", true, false}, HostileAnswerCase{"short", true, true}),
                         [](const auto& info) { return std::string(info.param.mode) + (info.param.hidden ? "Hidden" : ""); });

}  // namespace
}  // namespace zx::test
