// Helpers of the road tests.
#include "road_testing.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "../../install/road/road_testing.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DriverInstallEngine.h"
#include "EngineCallbacks.h"
#include "HalvoranApp.h"
#include "LastScanStatus.h"
#include "zx/input.h"
#include "snapshot_compare.h"
#include "zx/pathmap.h"
#include "zx/windowpaint.h"

CVelquorApp theApp;

namespace {

// The status list of the download-and-install popup.
constexpr UINT kRunStatusId = 1394;
// The scan tab of the main window.
constexpr UINT kScanTabId = 1259;

}  // namespace

namespace zx::test {

namespace fs = std::filesystem;

void RoadTest::SetUp() {
  PopupTest::SetUp();
  // The program's own shared texts replace the popup tests' ones.
  PrepareTheProgram();
}

void RoadTest::TearDown() {
  if (main_ && main_->GetSafeHwnd()) main_->DestroyWindow();
  theApp.m_pMainWnd = nullptr;
  main_.reset();
  Pump();
  PopupTest::TearDown();
}

void RoadTest::OpenMainWindow() {
  theApp.FillMainWindowSettings(settings_);
  main_ = std::make_unique<TestVelquorDlg>(theApp);
  main_->SetAppInfo(settings_);
  ASSERT_TRUE(main_->Create(CDlgBaseAppDlg::kTemplateId, nullptr));
  theApp.m_pMainWnd = main_.get();
  main_->ShowWindow(SW_SHOW);
  Pump();
}

std::string RoadTest::ShutdownRequests() const {
  const std::string log = root() + "/shutdowns.log";
  return std::filesystem::exists(log) ? ReadHostFile(log) : "";
}

void MainRoadTest::SetUp() {
  RoadTest::SetUp();
  // The tool programs (the restore program, the archiver, the 64-bit helper) work on the
  // test's machine too.
  setenv("ZX_MACHINE_ROOT", root().c_str(), 1);
  ASSERT_NO_FATAL_FAILURE(road::SeedLaptop(root()));
}

void MainRoadTest::TearDown() {
  // A scan still running is stopped with the window; the stand-in goes after it.
  RoadTest::TearDown();
  service_.reset();
  unsetenv("ZX_MACHINE_ROOT");
}

void MainRoadTest::StartService(const std::string& fault, std::vector<std::string> arguments) {
  service_ = road::StartService(root(), catalogue_.path(), uploads_.path(), fault, std::move(arguments));
  ASSERT_NE(service_, nullptr);
}

void MainRoadTest::StartShippedService(const std::string& fault, std::vector<std::string> arguments) {
  fs::copy_file(ZX_CATALOGUE_DIR "/laptop/catalogue.ini", catalogue_.path() + "/catalogue.ini");
  WriteHostFile(catalogue_.path() + "/package.zip", "package bytes");
  StartService(fault, std::move(arguments));
}

CDlgScan1ScanHome* MainRoadTest::Home() { return dynamic_cast<CDlgScan1ScanHome*>(Page(CVelquorDlg::kScanGroup, 1)); }
CDlgScan2Scanning* MainRoadTest::Scanning() {
  return dynamic_cast<CDlgScan2Scanning*>(Page(CVelquorDlg::kScanGroup, 2));
}
CDlgScan3Results* MainRoadTest::Results() { return dynamic_cast<CDlgScan3Results*>(Page(CVelquorDlg::kScanGroup, 3)); }
CDlgScan5Summary* MainRoadTest::Summary() { return dynamic_cast<CDlgScan5Summary*>(Page(CVelquorDlg::kScanGroup, 5)); }

bool MainRoadTest::Until(const std::function<bool()>& condition, int stepMs) {
  for (int turn = 0; turn < 20000; ++turn) {
    Pump();
    if (condition()) return true;
    Advance(stepMs);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return condition();
}

bool MainRoadTest::ScanEnded() { return !Scanning()->IsScanRunning() && !theApp.m_bTaskBusy; }

std::function<bool()> MainRoadTest::AnswerBox(CString& shown) {
  return [this, &shown] {
    if (const HWND box = RunningMessageBox()) {
      shown = MessageBoxText(box);
      AnswerMessageBox(box);
      return true;
    }
    return Turn();
  };
}

void MainRoadTest::Advance(int ms) { clock_.Advance(ms); }

bool MainRoadTest::Turn() {
  Advance(20);
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
  main_->PostMessage(WM_NULL);
  return false;
}

std::vector<CString> MainRoadTest::StatusLines() {
  std::vector<CString> lines;
  for (int i = 0; i < Scanning()->GetStatusLineCount(); ++i) lines.push_back(Scanning()->GetStatusLine(i, 1));
  return lines;
}

CString MainRoadTest::Stored(int value) {
  CString text = _T("<none>");
  ReadLastScanValue(value, text);
  return text;
}

void MainRoadTest::ShowScanPage(UINT command) { main_->GetGroup(CVelquorDlg::kScanGroup)->PostMessage(WM_COMMAND, command); }

void MainRoadTest::ClickScanNow() {
  ShowScanPage(CScanPagesHost::kHomePage);
  ASSERT_TRUE(Until([&] { return Shown(Home()); }));
  Click(::GetDlgItem(Home()->m_hWnd, CDlgScan1ScanHome::kScanNowId));
}

void MainRoadTest::ClickStop() { Click(::GetDlgItem(Scanning()->m_hWnd, CDlgScan2Scanning::kStopId)); }

void MainRoadTest::ExpectPageMatches(CWnd* panel, CWnd* page, const std::string& name) {
  const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN;
  for (CWnd* window : {static_cast<CWnd*>(main_.get()), panel, page}) {
    window->RedrawWindow(nullptr, nullptr, flags);
    Pump();
  }
  ExpectWindowMatches(main_->m_hWnd, name);
}

void MainRoadTest::HoldTheAnswers(bool held) {
  for (const char* operation : {"GetUpdateInfo", "GetUpdateInfoWithEncryptOptions"}) {
    const std::string file = catalogue_.path() + "/" + operation + ".hold";
    if (held)
      WriteHostFile(file, "");
    else
      fs::remove(file);
  }
}

void MainRoadTest::ExpectProgramWindowMatches(HWND window, const std::string& name) {
  if (!UpdatingSnapshots()) {
    TempFolder temp;
    const std::string drawn = temp.path() + "/" + name, reference = std::string(ZX_UI_SNAPSHOTS) + "/" + name;
    if (remote::WaitFor([&] { return user::SaveRedrawnWindowPng(window, drawn) && DifferentPixels(drawn, reference) == 0; }, 5))
      return;
  }
  ExpectWindowMatches(window, name, true);
}

int MainRoadTest::Count(HWND list) { return list ? static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : -1; }

void MainRoadTest::ClickRowCheck(HWND list, int row) {
  // The band that takes check clicks: from the 16-pixel check column's centre + 8 to + 18, and
  // from half a row - 22 to half a row - 12 below the row's top; its last line lies in the row
  // itself (the first row's band begins above the list).
  RECT r{LVIR_BOUNDS, 0, 0, 0};
  ASSERT_TRUE(::SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r)));
  POINT at{r.left + 8 + 13, r.top + (r.bottom - r.top) / 2 - 12};
  ASSERT_TRUE(::ClientToScreen(list, &at));
  remote::PressAt(list, at);
}

void MainRoadTest::ScanInProgram(ProgramRun& program) {
  const HWND main = program.window();
  remote::Press(remote::ShownControl(main, kScanTabId));
  bool scanPressed = false;
  // The last button pressed and when: the same one is pressed again only after 2 s.
  HWND last = nullptr;
  auto lastAt = std::chrono::steady_clock::time_point{};
  ASSERT_TRUE(remote::WaitFor([&] {
    if (scanPressed && remote::ShownPage(main, u"Scan results") != nullptr && program.TakesInput()) return true;
    if (!program.TakesInput()) return false;
    const HWND scanNow = remote::ShownControl(main, CDlgScan1ScanHome::kScanNowId);
    HWND next = scanNow;
    // The tab shows the page of the last scan's step: home again through the summary.
    if (next == nullptr && !scanPressed) next = remote::ShownControl(main, CDlgScan5Summary::kFinishId);
    if (next == nullptr && !scanPressed) next = remote::ShownControl(main, CDlgScan3Results::kSummaryId);
    const auto now = std::chrono::steady_clock::now();
    if (next == nullptr || (next == last && now - lastAt < std::chrono::seconds(2))) return false;
    remote::Press(next);
    scanPressed = scanPressed || next == scanNow;
    last = next;
    lastAt = now;
    return false;
  }, 30));
}

void MainRoadTest::DriveDownloadAndInstall(ProgramRun& program, const std::vector<std::string>& questionPictures,
                                           const std::string& restartPicture, InstallRunSeen& seen) {
  seen = InstallRunSeen{};
  std::set<HWND> answered;
  bool running = false;
  // How long the popup has waited alone with its close button, every question answered: a
  // restart question may still follow a moment later.
  auto waitingSince = std::chrono::steady_clock::time_point{};
  ASSERT_TRUE(remote::WaitFor([&] {
    // The questions first: the popup's close button may show while one waits.
    HWND runPopup = nullptr;
    for (HWND popup : program.Popups()) {
      if (answered.count(popup)) continue;
      if (const HWND first = remote::ShownControl(popup, kMessageBoxFirstButton)) {
        if (seen.questions < questionPictures.size()) ExpectProgramWindowMatches(popup, questionPictures[seen.questions]);
        ++seen.questions;
        remote::Press(first);
        answered.insert(popup);
        return false;
      }
      if (remote::Control(popup, kRunStatusId)) {
        runPopup = popup;
      } else if (const HWND later = remote::ShownControl(popup, IDCANCEL)) {
        seen.restartAsked = true;
        if (!restartPicture.empty()) ExpectProgramWindowMatches(popup, restartPicture);
        remote::Press(later);
        answered.insert(popup);
        return false;
      }
    }
    // The run is over once its stop button has shown, the questions were answered and it
    // closed itself, a moment after the restart question; or it waits for its close button.
    if (runPopup && remote::ShownControl(runPopup, IDCANCEL)) running = true;
    if (running && !runPopup && program.Popups().empty()) return true;
    const bool waiting = running && runPopup && seen.questions >= questionPictures.size() &&
                         remote::ShownControl(runPopup, IDOK) && !remote::ShownControl(runPopup, IDCANCEL);
    if (!waiting) {
      waitingSince = {};
      return false;
    }
    const auto now = std::chrono::steady_clock::now();
    if (waitingSince == std::chrono::steady_clock::time_point{}) waitingSince = now;
    if (now - waitingSince < std::chrono::milliseconds(1500)) return false;
    seen.leftOpen = runPopup;
    return true;
  }, 25)) << "the download-and-install run did not end: " << seen.questions << " questions answered, run "
            << (running ? "seen" : "never seen") << ", " << program.Popups().size() << " popups open";
  EXPECT_EQ(seen.questions, questionPictures.size()) << "the install question and the closing message";
}

void MainRoadTest::AnswerDownloadAndInstall(ProgramRun& program, const std::vector<std::string>& questionPictures,
                                            const std::string& restartPicture) {
  InstallRunSeen seen;
  ASSERT_NO_FATAL_FAILURE(DriveDownloadAndInstall(program, questionPictures, restartPicture, seen));
  EXPECT_TRUE(seen.restartAsked);
  EXPECT_EQ(seen.leftOpen, nullptr) << "the popup closes itself after the restart question";
}

void HoldDeviceScan(CDriverScanUpdate& engine, std::atomic<bool>& holding, std::function<bool()> release) {
  engine.SetDeviceScan([&holding, release = std::move(release)](LPCTSTR path) {
    CDriverInstallEngine& process = GetProcessEngine();
    CDriverInstallEngine::COperation running(process);
    const int scanned = process.RunDeviceScan(path);
    holding = true;
    for (int wait = 0; wait < 20000 && process.GetStepCode() != kStepStopScan && !release(); ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (process.GetStepCode() != kStepStopScan) return scanned;
    process.AcknowledgeStep();
    return static_cast<int>(kStepStopScan);
  });
}

CString InstalledVersion(LPCTSTR hardwareId) {
  CEngineProgressView view;
  CEngineProgressView* previous = GetEngineProgressView();
  SetEngineProgressView(&view);
  CDriverScanUpdate scan;
  EXPECT_EQ(scan.ReportScanEnd(_T("")), kStepCompleted);
  SetEngineProgressView(previous);
  for (int i = 0; i < scan.GetDeviceCount(); ++i) {
    const tagDeviceDriverInfo* device = scan.GetDevices()->GetAt(i);
    // The device's hardware id goes on with its revision.
    if (device != nullptr && CString(device->szText[kSlotHardwareId].Text()).Find(hardwareId) == 0)
      return device->szText[kSlotDriverVersion].Text();
  }
  return CString();
}

}  // namespace zx::test

namespace zx::test {

namespace {

constexpr LPCTSTR kProgramTitle = _T("Zephrin Tunevo");
constexpr WPARAM kProgramCloseCommand = 1182;
// Host time a program run may take before the watchdog ends it.
constexpr auto kProgramLimit = std::chrono::seconds(90);

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  return process;
}

bool AllShown(HWND window, HWND top) {
  for (HWND at = window; at && at != top; at = ::GetParent(at))
    if (!::IsWindowVisible(at)) return false;
  return true;
}

// The first window under `top` (depth first) that the test accepts.
HWND FindInside(HWND top, const std::function<bool(HWND)>& wanted) {
  for (HWND child = ::GetWindow(top, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (wanted(child)) return child;
    if (const HWND inner = FindInside(child, wanted)) return inner;
  }
  return nullptr;
}

CString TextOf(HWND window) {
  WCHAR text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return text;
}

CString ClassOf(HWND window) {
  WCHAR name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

}  // namespace

ProgramRun::ProgramRun(std::uint64_t wallTime) {
  std::u16string line = u"\"" + path::HostToWindows(ZX_MAINPROGRAM) + u"\"";
  // Its wall time stands where the test puts it, whenever the test runs, and its own pauses
  // pass on its clock at once.
  ::setenv("ZX_FIXED_WALL_TIME", std::to_string(wallTime).c_str(), 1);
  ::setenv("ZX_SKIP_PAUSES", "1", 1);
  const BOOL started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info_);
  ::unsetenv("ZX_SKIP_PAUSES");
  ::unsetenv("ZX_FIXED_WALL_TIME");
  if (!started) return;
  watchdog_ = std::thread([this] {
    std::unique_lock<std::mutex> guard(lock_);
    if (!ended_.wait_for(guard, kProgramLimit, [this] { return over_; })) {
      ADD_FAILURE() << "the program ran past " << kProgramLimit.count() << " s and was ended";
      ::TerminateProcess(info_.hProcess, 1);
    }
  });
  remote::WaitFor([this] {
    for (HWND at = ::FindWindowW(_T("#32770"), kProgramTitle); at; at = ::FindWindowExW(nullptr, at, _T("#32770"), kProgramTitle))
      if (ProcessOf(at) == info_.dwProcessId && ::IsWindowVisible(at)) window_ = at;
    return window_ != nullptr || ::WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0;
  });
}

ProgramRun::~ProgramRun() { End(); }

void ProgramRun::End() {
  if (!info_.hProcess) return;
  {
    std::lock_guard<std::mutex> guard(lock_);
    over_ = true;
  }
  ended_.notify_all();
  if (watchdog_.joinable()) watchdog_.join();
  ::TerminateProcess(info_.hProcess, 1);
  ::WaitForSingleObject(info_.hProcess, 10000);
  ::CloseHandle(info_.hProcess);
  ::CloseHandle(info_.hThread);
  info_ = PROCESS_INFORMATION{};
}

std::vector<HWND> ProgramRun::Popups() const {
  std::vector<HWND> popups;
  for (HWND at = ::FindWindowExW(nullptr, nullptr, nullptr, nullptr); at; at = ::FindWindowExW(nullptr, at, nullptr, nullptr))
    if (at != window_ && ProcessOf(at) == info_.dwProcessId && ::IsWindowVisible(at)) popups.push_back(at);
  return popups;
}

bool ProgramRun::TakesInput() const {
  const HWND close = remote::Control(window_, static_cast<UINT>(kProgramCloseCommand));
  return close && ::IsWindowEnabled(close);
}

::testing::AssertionResult ProgramRun::AwaitIdle() const {
  if (remote::WaitFor([this] { return Popups().empty() && TakesInput(); })) return ::testing::AssertionSuccess();
  ::testing::AssertionResult failure = ::testing::AssertionFailure();
  failure << (TakesInput() ? "the main window takes input" : "the main window takes no input");
  for (HWND popup : Popups()) {
    RECT r{};
    ::GetWindowRect(popup, &r);
    failure << "; open: " << CStringA(ClassOf(popup)).GetString() << " \"" << CStringA(TextOf(popup)).GetString()
            << "\" at " << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
  }
  return failure;
}

bool ProgramRun::Close() {
  if (!info_.hProcess) return false;
  ::PostMessageW(window_, WM_COMMAND, kProgramCloseCommand, 0);
  return remote::WaitFor([this] { return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; });
}

namespace remote {

bool WaitFor(const std::function<bool()>& condition, int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

HWND Control(HWND top, UINT id) {
  return FindInside(top, [id](HWND w) { return static_cast<UINT>(::GetWindowLongPtrW(w, GWLP_ID)) == id; });
}

HWND ShownControl(HWND top, UINT id) {
  return FindInside(top, [top, id](HWND w) {
    return static_cast<UINT>(::GetWindowLongPtrW(w, GWLP_ID)) == id && AllShown(w, top);
  });
}

HWND ShownPage(HWND top, LPCWSTR title) {
  return FindInside(top, [top, title](HWND w) {
    return ClassOf(w) == _T("#32770") && TextOf(w) == title && AllShown(w, top);
  });
}

std::string ShownPageTitles(HWND top) {
  std::string titles;
  FindInside(top, [top, &titles](HWND w) {
    if (ClassOf(w) == _T("#32770") && AllShown(w, top))
      titles += (titles.empty() ? "\"" : ", \"") + std::string(CStringA(TextOf(w)).GetString()) + "\"";
    return false;
  });
  return titles;
}

void PressAt(HWND window, POINT at) {
  for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP})
    EXPECT_NE(user::InjectMouseTo(window, at, message), nullptr) << "a click at " << at.x << "," << at.y;
}

void Press(HWND window) {
  ASSERT_NE(window, nullptr);
  RECT r{};
  ::GetWindowRect(window, &r);
  PressAt(window, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

}  // namespace remote
}  // namespace zx::test
