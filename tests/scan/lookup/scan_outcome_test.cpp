// The update engine's scan outcomes (flags and status texts), a stop nobody answers, the
// choice of the per-system tool folder, the backup reported to the main window, and the
// restart of Windows with and without a pending install.
#include <gtest/gtest.h>

#include <winshutdown.h>

#include <atomic>
#include <thread>

#include "DriverInstallEngine.h"
#include "EngineCallbacks.h"
#include "ScanServices.h"
#include "lookup_testing.h"
#include "scan_testing.h"
#include "zx/clock.h"
#include "zx/waits.h"

namespace zx::test {
namespace {

class ScanOutcomes : public ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    SetEngineProgressView(&view_);
    status_ = CreateWindowExW(0, u"Static", u"before", 0, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    progress_ = CreateWindowExW(0, u"Static", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(status_, nullptr);
    engine_.SetScanWindows(progress_, status_, [](LPCTSTR id) { return CString(_T("text of ")) + id; });
  }
  void TearDown() override {
    SetEngineProgressView(nullptr);
    GetProcessEngine().SetStepCode(kStepIdle);
    DestroyWindow(status_);
    DestroyWindow(progress_);
    ScanTest::TearDown();
  }
  std::string StatusText() {
    WCHAR text[128] = {};
    GetWindowTextW(status_, text, 128);
    return Narrow(CString(text));
  }
  bool ProgressWasTold() {
    MSG msg;
    return PeekMessageW(&msg, progress_, 1026, 1026, PM_REMOVE) != FALSE && msg.wParam == 0 && msg.lParam == 0;
  }

  CEngineProgressView view_;
  CDriverScanUpdate engine_;
  HWND status_ = nullptr;
  HWND progress_ = nullptr;
};

TEST_F(ScanOutcomes, EachResultSetsItsFlagsAndText) {
  struct Case {
    int result;
    bool scanDone, connectionProblem;
    const char* text;
  };
  const Case cases[] = {
      {kStepCompleted, true, false, "text of IDS_SCAN_COMPLETED"},
      {38, false, true, "text of IDS_PRB_INTERNET_CONN"},
      {kStepStopScan, true, false, "text of IDS_SCAN_ABORTED"},
      {kStepFailed, false, false, "before"},
  };
  for (const Case& c : cases) {
    SetWindowTextW(status_, u"before");
    engine_.SetDeviceScan([&](LPCTSTR path) {
      EXPECT_EQ(Narrow(path), "C:\\scan");
      return c.result;
    });
    EXPECT_EQ(engine_.ReportScanEnd(_T("C:\\scan")), c.result);
    EXPECT_TRUE(ProgressWasTold()) << c.result;
    EXPECT_EQ(engine_.IsScanDone(), c.scanDone) << c.result;
    EXPECT_EQ(engine_.HasConnectionProblem(), c.connectionProblem) << c.result;
    EXPECT_EQ(StatusText(), c.text) << c.result;
    EXPECT_EQ(engine_.GetUpdatesFound(), 0);
  }
}

// The install engine's own scan: no devices fail it (33); a stop asked for during the scan is
// answered (18).
TEST_F(ScanOutcomes, TheDeviceScanFailsOnAnEmptyMachineAndAnswersAStop) {
  EXPECT_EQ(engine_.ReportScanEnd(_T("")), kStepFailed);
  EXPECT_FALSE(engine_.IsScanDone());
  EXPECT_EQ(StatusText(), "before");

  SeedText("device ROOT\\A\\0000\n name = A\n hwid = VENDOR\\A\n"
           "device ROOT\\B\\0000\n name = B\n hwid = VENDOR\\B\n");
  view_.bOneClick = true;
  view_.notifyPeer = [](int, int, const CString&) { GetProcessEngine().SetStepCode(kStepStopScan); };
  EXPECT_EQ(engine_.ReportScanEnd(_T("")), kStepStopScan);
  EXPECT_TRUE(engine_.IsScanDone());
  EXPECT_EQ(StatusText(), "text of IDS_SCAN_ABORTED");
  EXPECT_EQ(GetProcessEngine().GetStepCode(), kStepIdle);
}

// A backup that never answers its stop: after 120000 ms of the test clock the engine gives up
// and clears the finished and aborted flags.
TEST_F(ScanOutcomes, AStopNobodyAnswersClearsTheFlagsAfter120000Ms) {
  ManualClock clock;
  SetClock(&clock);
  engine_.StopOperation(FALSE);  // nothing running: answered at once
  ASSERT_TRUE(engine_.IsFinished() && engine_.IsAborted());
  {
    CDriverInstallEngine::COperation deaf(GetProcessEngine());
    std::thread requester([&] { engine_.StopOperation(FALSE); });
    ASSERT_TRUE(AwaitBlockedWaiters(1));
    clock.Advance(119999);
    ASSERT_TRUE(AwaitBlockedWaiters(1));
    EXPECT_TRUE(engine_.IsFinished()) << "still waiting";
    clock.Advance(1);
    requester.join();
  }
  SetClock(nullptr);
  EXPECT_FALSE(engine_.IsFinished());
  EXPECT_FALSE(engine_.IsAborted());
  EXPECT_FALSE(engine_.IsScanDone());
}

TEST(OsFolders, EachSystemTakesItsFolder) {
  tagOsFolders folders;
  folders.strXp = _T("xp");
  folders.strAmd64 = _T("amd64");
  folders.strIa64 = _T("ia64");
  folders.strVista = _T("vista");
  folders.strWin7i386 = _T("win7i386");
  folders.strWin7amd64 = _T("win7amd64");
  struct Case {
    int osId;
    DWORD major, minor, architecture;
    const char* folder;
  };
  const Case cases[] = {
      {4, 5, 1, 0, "xp"},         {5, 5, 2, 0, "xp"},          {3, 5, 0, 0, "xp"},
      {7, 5, 2, 9, "amd64"},      {8, 5, 2, 9, "amd64"},       {17, 5, 0, 6, "ia64"},
      {18, 5, 2, 6, "ia64"},      {19, 5, 2, 6, "ia64"},       {6, 6, 0, 0, "vista"},
      {9, 6, 0, 9, "vista"},      {11, 6, 0, 9, "vista"},      {12, 6, 1, 0, "win7i386"},
      {21, 6, 1, 9, "win7amd64"}, {-1, 6, 1, 9, "win7amd64"},  {-1, 6, 1, 0, "win7i386"},
      {-1, 10, 0, 9, "win7amd64"}, {-1, 6, 2, 0, "win7i386"},  {14, 6, 0, 0, "vista"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Narrow(SelectOsFolder(folders, c.osId, c.major, c.minor, c.architecture)), c.folder)
        << c.osId << " " << c.major << "." << c.minor << " arch " << c.architecture;
}

// A backup of the chosen result rows that completes is told to the main window.
TEST_F(ScanOutcomes, AWholeBackupIsToldToTheMainWindow) {
  HWND main = CreateWindowExW(0, u"Static", u"main", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  engine_.SetMainWindow(main);
  MSG msg;
  EXPECT_EQ(engine_.BackupDriversForUpdate(_T("C:\\backup"), {}), 0);
  EXPECT_FALSE(PeekMessageW(&msg, main, CDriverScanUpdate::kBackupExistsMessage,
                            CDriverScanUpdate::kBackupExistsMessage, PM_REMOVE));
  // No item of the list is known: nothing to back up, which completes.
  EXPECT_EQ(engine_.BackupDriversForUpdate(_T("C:\\backup"), {5}), kStepCompleted);
  ASSERT_TRUE(PeekMessageW(&msg, main, CDriverScanUpdate::kBackupExistsMessage,
                           CDriverScanUpdate::kBackupExistsMessage, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 1u);
  DestroyWindow(main);
}

class Restart : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    SetClock(&clock_);
  }
  void TearDown() override {
    SetClock(nullptr);
    MachineTest::TearDown();
  }
  std::string Log() { return ReadHostFile(root() + "/shutdowns.log"); }
  // The exit code of a quit message waiting in this thread's queue, or -1.
  static int QuitCode() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) ? static_cast<int>(msg.wParam) : -1;
  }
  ManualClock clock_;
};

TEST_F(Restart, WithoutAPendingInstallWindowsRestarts) {
  RestartComputer();
  EXPECT_EQ(Log(), "00000006 80000001\n") << "a forced reboot, planned for hardware maintenance";
  EXPECT_EQ(QuitCode(), -1);
  EXPECT_EQ(clock_.MonotonicMs(), 0u);
}

TEST_F(Restart, APendingInstallEndsTheProgramWithCode18Instead) {
  WriteHostFile(root() + "/drive_c/Windows/winsxs/pending.xml", "<pending/>");
  RestartComputer();
  EXPECT_EQ(QuitCode(), 18);
  EXPECT_EQ(Log(), "") << "no restart asked for";
  EXPECT_EQ(clock_.MonotonicMs(), 0u);
}

}  // namespace
}  // namespace zx::test
