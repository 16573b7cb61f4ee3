// The update checker as the main program starts it: a click on the check-for-updates button of
// the main program's page panel starts the real program from the program folder, which asks the
// web service's stand-in. Its question boxes are answered
// from this process by posting the first button's command to them (window handles, posting and
// FindWindow work across processes; a control of another process's window cannot be looked up,
// so no mouse click can be aimed at it). A newer version is downloaded (seen half way under its
// unconfirmed name while the stand-in holds its answer), confirmed, renamed and started with
// "/verysilent"; a wrong digest deletes the download and starts nothing; without a
// connection the window stays until its Finish button is pressed.
// With a parent window of the sibling program in this process, the checker's codes go both
// ways: the start notice, the parent's hide and restore not echoed (and the swallowing ending
// after one code), the parent's close ending the checker without the finished notice, and that
// notice when there is nothing to fetch; the sibling's database archive is put in use. This
// thread answers the checker's sends whenever it waits, and the layer's clock is never
// replaced while a call to another process is waiting: such a call times out on that clock.
#include <gtest/gtest.h>
#include <handleapi.h>
#include <synchapi.h>
#include <winprocess.h>
#include <winreg.h>
#include <winuser.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "DlgBaseMessageBoxWndBase.h"
#include "DlgCheckForUpdate.h"
#include "Registry.h"
#include "DlgLeftDlgBase.h"
#include "HalvoranApp.h"
#include "update_service_testing.h"
#include "zx/clock.h"
#include "zx/input.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;
using std::chrono::steady_clock;

// The checker's texts, each naming its id (a text it cannot find would stop it with a box).
constexpr char kCheckerTexts[] =
    "[CHECKFORUPDATE]\r\n"
    "IDS_APP_UPDATE_DIR_NAME=Updates\r\n"
    "IDS_CANNOT_CONNECT=%s cannot connect to the Internet.\r\n"
    "IDS_OVERALL_PROGRESS_TEXT=Overall progress %d%%\r\n"
    "ProgressBarLeftHeaderProg=%s of %s\r\n"
    "IDS_BTN_VIEWCHANGELOG_TXT=IDS_BTN_VIEWCHANGELOG_TXT\r\n"
    "IDS_BTN_HIDE_TXT=IDS_BTN_HIDE_TXT\r\n"
    "IDS_BTN_CANCEL_TXT=IDS_BTN_CANCEL_TXT\r\n"
    "IDS_BTN_NEXT_TXT=IDS_BTN_NEXT_TXT\r\n"
    "StepOneLookingForUpdatesTxt=StepOneLookingForUpdatesTxt\r\n"
    "IDS_PHY_MEM_KB_1=IDS_PHY_MEM_KB_1\r\n"
    "CommonHeaderDesc=CommonHeaderDesc\r\n"
    "IDS_BTN_FINISH_TXT=IDS_BTN_FINISH_TXT\r\n"
    "HeadingTwo=HeadingTwo\r\n"
    "HeadingOne=HeadingOne\r\n"
    "UpdateAvailableCommonHeaderTxt=UpdateAvailableCommonHeaderTxt\r\n"
    "Step5HeaderTxt1=Step5HeaderTxt1\r\n"
    "Step5HeaderTxt=Step5HeaderTxt\r\n"
    "Step4Failed=Step4Failed\r\n"
    "Step3UpdateCheckFailureTxt=Step3UpdateCheckFailureTxt\r\n"
    "NewSetupAvailableTxt=NewSetupAvailableTxt\r\n"
    "IDS_STARTING_DOWNLOAD_UPDATES_TO_APPDATA_ASK=IDS_STARTING_DOWNLOAD_UPDATES_TO_APPDATA_ASK\r\n"
    "IDS_DOWNLOADING_UPDATES_TO_APPDATA1=IDS_DOWNLOADING_UPDATES_TO_APPDATA1\r\n"
    "IDS_BTN_INSTALL_TXT=IDS_BTN_INSTALL_TXT\r\n"
    "IDS_APP_UPDATES_TXT=IDS_APP_UPDATES_TXT\r\n"
    "IDS_APP_UPDATES_AVAILABLE_TXT=IDS_APP_UPDATES_AVAILABLE_TXT\r\n"
    "DownloadingUpdatesTxt=DownloadingUpdatesTxt\r\n"
    "AppVer=AppVer\r\n"
    "Step3NoUpdatesAvaiLstBoxTxt=Step3NoUpdatesAvaiLstBoxTxt\r\n"
    "Step3NoUpdatesAvaiHeadingDescTxt=Step3NoUpdatesAvaiHeadingDescTxt\r\n"
    "IDS_UPDATES_INSTALLING=IDS_UPDATES_INSTALLING\r\n"
    "IDS_DOWNLOADING_FAILED=IDS_DOWNLOADING_FAILED\r\n"
    "IDS_DownloadingTxt=IDS_DownloadingTxt\r\n"
    "IDS_DownloadedTxt=IDS_DownloadedTxt\r\n"
    "IDS_INSTALLING_UPDATES_TO_APPDATA=IDS_INSTALLING_UPDATES_TO_APPDATA\r\n"
    "CommonHeaderUpdateDone=CommonHeaderUpdateDone\r\n";

class LaunchedChecker : public UpdateServiceTest {
 protected:
  void SetUp() override {
    UpdateServiceTest::SetUp();
    SetMachineValue("Machine", "Administrator", "1");
    WriteHostFile(ProgramFolder() + "/checkupdate.ini", kCheckerTexts);
  }
  void TearDown() override {
    // A checker a failed test left open is closed, so it cannot answer the next test's look.
    if (const HWND window = CheckerWindow()) {
      ::PostMessageW(window, WM_CLOSE, 0, 0);
      WaitUntil([] { return CheckerWindow() == nullptr; }, 10);
    }
    UpdateServiceTest::TearDown();
  }
  // Starts the checker as the main program does: a click on the check-for-updates button of
  // the page panel its windows are built on. The launcher holds a second start back for
  // 8192 ms of its clock, which moves on past that for every start.
  static void Launch() {
    static ManualClock clock(1);
    clock.Advance(10000);
    SetClock(&clock);
    const HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(GetResourceModule());
    user::ResetInput();
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), _T("Zephrin Tunevo"), WS_POPUP | WS_VISIBLE,
                              CRect(0, 0, 772, 583), nullptr, 0));
    CDlgLeftDlgBase panel(CDlgLeftDlgBase::kTemplateId, &host);
    EXPECT_TRUE(panel.Create(CDlgLeftDlgBase::kTemplateId, &host));
    panel.MoveWindow(6, 77, 760, 479);
    panel.ShowWindow(SW_SHOW);
    RECT button{};
    ::GetWindowRect(panel.GetCheckForUpdatesButton().GetSafeHwnd(), &button);
    const POINT at{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}) user::InjectMouse(at, message);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    panel.DestroyWindow();
    host.DestroyWindow();
    AfxSetResourceHandle(previous);
    SetClock(nullptr);
  }
  // The checker window's handle as the checker keeps it in the registry while it is open.
  static HWND CheckerWindow() {
    const HWND window = StoredCheckerHandle();
    return window != nullptr && ::IsWindow(window) ? window : nullptr;
  }
  // Waits in real time (the checker runs on its own clock) until the condition holds, serving
  // this thread's windows meanwhile: a checker sending to one of them waits for the answer.
  static bool WaitUntil(const std::function<bool()>& done, int seconds) {
    const auto deadline = steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
      MSG msg;
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
      if (done()) return true;
      if (steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  // Presses a button (the first: Yes, OK) of a box the checker shows in front of its window.
  static bool AnswerBox(HWND checker, UINT button = 0) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(checker, &process);
    return AnswerBoxOfProcess(process, checker, button);
  }
  // The host path of a file of that name anywhere in the machine root; empty when there is none.
  std::string FileNamed(const std::string& name) const {
    std::error_code error;
    for (fs::recursive_directory_iterator it(root(), error), end; it != end; it.increment(error))
      if (it->path().filename() == name) return it->path().string();
    return {};
  }
  // The file the setup stand-in writes when started, wherever the checker put the setup.
  std::string SetupRuns() const { return FileNamed(std::string(kSetupName) + ".runs"); }
  bool AnyFileNamed(const std::string& name) const { return !FileNamed(name).empty(); }
};

TEST_F(LaunchedChecker, ANewerVersionIsDownloadedConfirmedAndItsSetupStartedOnceTheUserAgrees) {
  Publish(Offer());
  // The stand-in holds the setup's answer at its middle while this file exists.
  const std::string hold = catalogue_.path() + "/" + kSetupName + ".hold";
  WriteHostFile(hold, "");
  StartService();
  Launch();
  HWND checker = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (checker = CheckerWindow()) != nullptr; }, 20)) << "no checker window";
  ASSERT_TRUE(WaitUntil([&] { return AnswerBox(checker); }, 20)) << "no question about the new version";
  // Half downloaded, the setup lies only under its unconfirmed name.
  const std::string partialName = std::string(kSetupName) + ".unconfirmed";
  std::string partial;
  ASSERT_TRUE(WaitUntil([&] {
    partial = FileNamed(partialName);
    std::error_code error;
    return !partial.empty() && fs::file_size(partial, error) == setupBytes_.size() / 2;
  }, 20)) << "no half download under " << partialName;
  EXPECT_FALSE(AnyFileNamed(kSetupName));
  EXPECT_EQ(SetupRuns(), "");
  fs::remove(hold);
  std::string runs;
  ASSERT_TRUE(WaitUntil([&] { return !(runs = SetupRuns()).empty(); }, 20)) << "the setup was never started";
  const std::string setup = runs.substr(0, runs.size() - 5);
  EXPECT_EQ(SetupRecord(setup, true), SetupSha1() + " /verysilent");
  EXPECT_FALSE(fs::exists(setup + ".unconfirmed"));
  EXPECT_TRUE(WaitUntil([] { return CheckerWindow() == nullptr; }, 20)) << "the checker stayed open";
}

TEST_F(LaunchedChecker, AWrongDigestDeletesTheDownloadAndStartsNothing) {
  Offer offer;
  offer.hash = std::string(40, '0');
  Publish(offer);
  StartService();
  Launch();
  HWND checker = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (checker = CheckerWindow()) != nullptr; }, 20));
  ASSERT_TRUE(WaitUntil([&] { return AnswerBox(checker); }, 20));
  // The download came and went: the stand-in served it, and no copy of it is left.
  ASSERT_TRUE(WaitUntil([&] {
    for (const std::string& line : Requests())
      if (line.find(std::string("/setups/") + kSetupName) != std::string::npos) return true;
    return false;
  }, 20)) << "the setup was never fetched";
  EXPECT_TRUE(WaitUntil([&] {
    return !AnyFileNamed(kSetupName) && !AnyFileNamed(std::string(kSetupName) + ".unconfirmed");
  }, 20)) << "the download was kept";
  // The failure page waits for the user.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(CheckerWindow(), checker) << "the checker closed by itself";
  EXPECT_EQ(SetupRuns(), "");
  ::PostMessageW(checker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(WaitUntil([] { return CheckerWindow() == nullptr; }, 20)) << "Finish did not close the checker";
  EXPECT_EQ(SetupRuns(), "");
}

TEST_F(LaunchedChecker, WithoutAConnectionTheCheckerSaysSoAndWaitsForFinish) {
  SetMachineValue("Network", "Connection", "none");
  Launch();
  HWND checker = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (checker = CheckerWindow()) != nullptr; }, 20));
  ASSERT_TRUE(WaitUntil([&] { return AnswerBox(checker); }, 20)) << "no word about the connection";
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(CheckerWindow(), checker) << "the checker closed by itself";
  ::PostMessageW(checker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(WaitUntil([] { return CheckerWindow() == nullptr; }, 20));
  EXPECT_EQ(SetupRuns(), "");
}


// A parent window of the sibling program in this process, the checker in its own: the codes
// the checker sends it are recorded; the ones the parent sends go as WM_COPYDATA.
class CheckerWithParent : public LaunchedChecker {
 protected:
  struct Received {
    ULONG_PTR code;
    std::u16string text;
  };
  void SetUp() override {
    LaunchedChecker::SetUp();
    received_.clear();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &ParentProc;
    windowClass.lpszClassName = u"ZxCheckerParent";
    ::RegisterClassW(&windowClass);
    parent_ = ::CreateWindowExW(0, u"ZxCheckerParent", u"Parent", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(parent_, nullptr);
    // The checker notifies its parent only while the sibling program runs.
    ASSERT_TRUE(Start(u"ZEPHRINKXVelmor.exe 60", &sibling_));
  }
  void TearDown() override {
    LaunchedChecker::TearDown();  // closes a checker left open while this thread still answers it
    if (checker_.hProcess) {
      ::WaitForSingleObject(checker_.hProcess, 10000);
      ::CloseHandle(checker_.hProcess);
    }
    if (sibling_.hProcess) {
      ::TerminateProcess(sibling_.hProcess, 0);
      ::WaitForSingleObject(sibling_.hProcess, 10000);
      ::CloseHandle(sibling_.hProcess);
    }
    ::DestroyWindow(parent_);
  }
  static bool Start(std::u16string line, PROCESS_INFORMATION* info) {
    return ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, info) != 0;
  }
  // Starts the checker with this window as its sibling parent and waits for its window.
  HWND StartChecker() {
    const std::string handle = std::to_string(static_cast<UINT_PTR>(reinterpret_cast<UINT_PTR>(parent_)));
    const std::u16string line = u"ZEPHRINKXCheckUpdate.exe parentwnd=\"" + std::u16string(handle.begin(), handle.end()) +
                                u"\" isQuarnelParent=\"1\"";
    EXPECT_TRUE(Start(line, &checker_));
    HWND checker = nullptr;
    const bool shown = WaitUntil([&] {
      return (checker = CheckerWindow()) != nullptr || ::WaitForSingleObject(checker_.hProcess, 0) == WAIT_OBJECT_0;
    }, 20);
    DWORD code = 0;
    ::GetExitCodeProcess(checker_.hProcess, &code);
    EXPECT_TRUE(shown && checker != nullptr) << "no checker window; exit code " << code;
    return checker;
  }
  static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return ::DefWindowProcW(window, message, wParam, lParam);
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    std::u16string text(static_cast<const char16_t*>(data->lpData), data->cbData / 2);
    received_.push_back({data->dwData, text});
    return 1;
  }
  // Sends a code to the checker as the parent does; the checker's answer.
  LRESULT SendCode(HWND checker, ULONG_PTR code) {
    COPYDATASTRUCT data{};
    data.dwData = code;
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(checker, WM_COPYDATA, reinterpret_cast<WPARAM>(parent_), reinterpret_cast<LPARAM>(&data),
                               SMTO_NORMAL, 10000, &answer))
      return -1;
    return static_cast<LRESULT>(answer);
  }
  static std::vector<ULONG_PTR> Codes() {
    std::vector<ULONG_PTR> codes;
    for (const Received& r : received_) codes.push_back(r.code);
    return codes;
  }
  // Lets the checker work for a moment while this thread answers it.
  static void Settle() { WaitUntil([] { return false; }, 1); }
  bool CheckerEnded() {
    return WaitUntil([&] { return ::WaitForSingleObject(checker_.hProcess, 0) == WAIT_OBJECT_0; }, 20);
  }

  static inline std::vector<Received> received_;
  HWND parent_ = nullptr;
  PROCESS_INFORMATION sibling_{};
  PROCESS_INFORMATION checker_{};
};

TEST_F(CheckerWithParent, HideAndRestoreFromTheParentAreNotEchoedAndItsCloseEndsTheCheckerWithoutFinished) {
  // The question about the new version holds the checker open while the codes go back and forth.
  Publish(Offer());
  StartService();
  const HWND checker = StartChecker();
  ASSERT_NE(checker, nullptr);
  ASSERT_TRUE(WaitUntil([] { return !received_.empty(); }, 20)) << "no start notice";
  // The start notice carries the checker's window in place of its code, and the code as text.
  EXPECT_EQ(received_[0].code, reinterpret_cast<ULONG_PTR>(checker));
  EXPECT_EQ(received_[0].text, std::u16string(u"153\0", 4));

  EXPECT_EQ(SendCode(checker, kCopyHidden), 16);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(checker); }, 10)) << "810 did not hide the window";
  // The tray menu's Restore right after the parent's 810 brings the window back silently.
  ::PostMessageW(checker, WM_COMMAND, CDlgCheckForUpdate::kCommandRestore, 0);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(checker) != FALSE; }, 10)) << "Restore did not show it";
  // The swallowing rule takes exactly one code: the Hide button is reported again.
  ::PostMessageW(checker, WM_COMMAND, MAKEWPARAM(4, BN_CLICKED), 0);
  EXPECT_TRUE(WaitUntil([] { return received_.back().code == kCopyHidden; }, 10)) << "the Hide button's 810 lost";
  EXPECT_EQ(received_.back().text, std::u16string(u"810\0", 4));
  EXPECT_EQ(SendCode(checker, kCopyRestored), 16);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(checker) != FALSE; }, 10)) << "540 did not show the window";
  Settle();
  EXPECT_EQ(Codes(), (std::vector<ULONG_PTR>{reinterpret_cast<ULONG_PTR>(checker), kCopyHidden}));

  // 450: the checker ends on its own, and tells its parent nothing more.
  EXPECT_EQ(SendCode(checker, kCopyClose), 16);
  ASSERT_TRUE(CheckerEnded()) << "450 did not end the checker";
  DWORD code = 99;
  ::GetExitCodeProcess(checker_.hProcess, &code);
  EXPECT_EQ(code, 0u);
  Settle();
  EXPECT_EQ(Codes(), (std::vector<ULONG_PTR>{reinterpret_cast<ULONG_PTR>(checker), kCopyHidden}));
  EXPECT_EQ(SetupRuns(), "");
}

TEST_F(CheckerWithParent, WithNothingToFetchTheCheckerTellsItsParentItFinishedAndEnds) {
  SetMachineValue("Network", "Connection", "none");
  const HWND checker = StartChecker();
  ASSERT_NE(checker, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return AnswerBox(checker); }, 20)) << "no word about the connection";
  ASSERT_TRUE(CheckerEnded()) << "the checker stayed open";
  EXPECT_EQ(Codes(), (std::vector<ULONG_PTR>{reinterpret_cast<ULONG_PTR>(checker), kCopyFinished}));
  ASSERT_FALSE(received_.empty());
  EXPECT_EQ(received_.back().text, std::u16string(u"900\0", 4));
}

TEST_F(CheckerWithParent, TheSiblingsDatabaseArchiveIsFetchedConfirmedAndPutInUse) {
  Offer offer;
  offer.version = "5.1.0.10";  // no newer program: the sibling's database is asked for
  Publish(offer);
  const std::string archive = "PK the sibling's database " + std::string(5000, 's');
  WriteHostFile(catalogue_.path() + "/completedatabase.zip", archive);
  WriteHostFile(catalogue_.path() + "/LatestVersionDB.htm",
                "[BrovikUpdates]\r\nSHA={sha1:completedatabase.zip}\r\n"
                "DOWNLOADURL=http://{host}/setups/completedatabase.zip\r\n");
  WriteHostFile(DatabaseArchive(), "the archive in use");
  StartService();
  const HWND checker = StartChecker();
  ASSERT_NE(checker, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return ReadHostFile(DatabaseArchive()) == archive; }, 20)) << "the archive was not put in use";
  EXPECT_TRUE(NothingStaged());
  EXPECT_EQ(SendCode(checker, kCopyClose), 16);
  ASSERT_TRUE(CheckerEnded()) << "450 did not end the checker";
  EXPECT_EQ(SetupRuns(), "");
}

}  // namespace
}  // namespace zx::test
