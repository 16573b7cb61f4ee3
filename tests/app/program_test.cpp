// The main program zephrinkx started as a real process on a fresh machine root: its switch on
// the real command line (the pause before a start with arguments, the one-click key), and
// second starts while this test process holds the instance with a main dialog window of the
// program's title: a plain start brings that window to the front, a scheduled, auto-fix or
// shut-down start hands its word over, and with the one-click key present a refused start
// says that the program runs already. The program's own hand-off of a scheduled start carries
// its word inside the message. A first start opens the page its argument names. A start that
// opens the main window is ended through the window's close request once the window is there.
#include <gtest/gtest.h>
#include <handleapi.h>
#include <processthreadsapi.h>
#include <synchapi.h>
#include <winprocess.h>
#include <winreg.h>
#include <winuser.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>
#include <cstdlib>
#include <functional>
#include <string>

#include "HalvoranApp.h"
#include "LauncherLink.h"
#include "VelquorApp.h"
#include "machine_fixture.h"
#include "zx/machine.h"
#include "zx/pathmap.h"

extern char** environ;

namespace zx::test {
namespace {

constexpr LPCTSTR kTitle = _T("Zephrin Tunevo");
constexpr WPARAM kCloseRequest = 1182;
// The close button of a framed popup.
constexpr WPARAM kPopupCloseCommand = 1184;

CString g_received;
WNDPROC g_dialogProc = nullptr;

LRESULT CALLBACK RunningProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA && ReadRunningInstanceText(lParam, g_received)) return 1;
  return CallWindowProcW(g_dialogProc, window, message, wParam, lParam);
}

class MainProgram : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ::setenv("ZX_MACHINE_ROOT", root().c_str(), 1);
    g_received.Empty();
  }
  void TearDown() override {
    if (window_) DestroyWindow(window_);
    ownWindow_ = nullptr;
    if (mutex_) CloseHandle(mutex_);
    ::unsetenv("ZX_MACHINE_ROOT");
  }

  struct Result {
    DWORD code = 99;
    double seconds = 0;
    std::string errors;
  };
  // The main window of a running program, or null.
  static HWND MainWindow() { return FindWindowW(_T("#32770"), kTitle); }

  // Runs the program with the arguments until it ends, answering the messages sent to this
  // process's windows meanwhile. Once its main window opens, `whileOpen` runs and the window
  // is asked to close.
  static Result Run(const std::u16string& arguments, const std::function<void(HWND)>& whileOpen = {},
                    bool closeMainWindow = true) {
    std::u16string line = u"\"" + path::HostToWindows(ZX_MAINPROGRAM) + u"\" " + arguments;
    Result result;
    PROCESS_INFORMATION info{};
    // A start run while another one waits shares the outer one's capture of the errors.
    static int depth = 0;
    const bool capture = depth++ == 0;
    if (capture) testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    const BOOL started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info);
    if (started) {
      bool closed = false;
      while (WaitForSingleObject(info.hProcess, 10) == WAIT_TIMEOUT) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        const HWND window = MainWindow();
        if (!closeMainWindow || closed || window == nullptr || window == ownWindow_) continue;
        if (whileOpen) whileOpen(window);
        PostMessageW(window, WM_COMMAND, kCloseRequest, 0);
        closed = true;
      }
      GetExitCodeProcess(info.hProcess, &result.code);
      CloseHandle(info.hProcess);
      CloseHandle(info.hThread);
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (capture) result.errors = testing::internal::GetCapturedStderr();
    --depth;
    EXPECT_TRUE(started);
    return result;
  }
  static void MakeOneClickKey() {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, CVelquorApp::GetOneClickKeyPath(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  static bool OneClickKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, CVelquorApp::GetOneClickKeyPath(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }
  // Takes the program's instance and opens a hidden main dialog window of its title.
  void HoldTheInstance() {
    CHalvoranApp running(kTitle, _T("velquor.ini"));
    mutex_ = CreateMutexW(nullptr, FALSE, running.GetUniqueKey());
    ASSERT_NE(mutex_, nullptr);
    ASSERT_NE(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    window_ = CreateWindowExW(0, _T("#32770"), kTitle, WS_POPUP | WS_CAPTION, 10, 10, 200, 100, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    ownWindow_ = window_;
    g_dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RunningProc)));
  }

  // The one-click key is left at start only in hidden scan mode; the launcher link's marker is
  // the same key and goes with the link when the hidden run ends, so after a run it is gone in
  // every case. Any argument waits 4096 ms first, except in hidden scan mode; how long a run
  // without the wait takes says nothing (a hidden start scans), so only the wait is timed.
  static void ExpectRealCommandLines(const std::vector<std::u16string>& arguments, bool pauses) {
    for (const std::u16string& argument : arguments) {
      const std::string shown(argument.begin(), argument.end());
      MakeOneClickKey();
      const Result result = Run(argument);
      EXPECT_EQ(result.code, 0u) << shown << "\n" << result.errors;
      if (pauses) {
        EXPECT_GE(result.seconds, 4.0) << shown;
      }
      EXPECT_FALSE(OneClickKeyExists()) << shown;
    }
  }

  HWND window_ = nullptr;
  HANDLE mutex_ = nullptr;
  // This process's stand-in of a running main window, never closed by Run.
  static inline HWND ownWindow_ = nullptr;
};

TEST_F(MainProgram, TheSwitchOfTheRealCommandLine) {
  ExpectRealCommandLines({u"", u"-runhiddenScan", u"/RUNHIDDEN-SCAN"}, false);
}

TEST_F(MainProgram, AnyOtherArgumentWaitsFirst) { ExpectRealCommandLines({u"13", u"autorun"}, true); }

TEST_F(MainProgram, APlainSecondStartBringsTheRunningWindowToTheFront) {
  HoldTheInstance();
  MakeOneClickKey();
  ASSERT_FALSE(IsWindowVisible(window_));
  const Result result = Run(u"");
  EXPECT_EQ(result.code, 0u);
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_TRUE(g_received.IsEmpty());
  // The start was refused before it touched anything.
  EXPECT_TRUE(OneClickKeyExists());
  EXPECT_LT(result.seconds, 4.0);
}

TEST_F(MainProgram, ScheduledAutoFixAndShutDownStartsHandTheirWordToTheRunningWindow) {
  HoldTheInstance();
  const struct {
    const char16_t* arguments;
    const TCHAR* word;
  } kCases[] = {
      {u"-schedule", _T("schedulescan")},
      {u"/AUTOFIX", _T("autofix")},
      {u"-autofix -shutdown", _T("shutdown")},
  };
  for (const auto& c : kCases) {
    g_received.Empty();
    const Result result = Run(c.arguments);
    EXPECT_EQ(result.code, 0u);
    EXPECT_EQ(g_received, CString(c.word));
    EXPECT_FALSE(IsWindowVisible(window_));
  }
}

TEST_F(MainProgram, ARefusedStartWithTheOneClickKeySaysTheProgramRunsAlready) {
  HoldTheInstance();
  const Result withoutKey = Run(u"");
  EXPECT_EQ(withoutKey.errors.find("already running"), std::string::npos) << withoutKey.errors;
  MakeOneClickKey();
  const Result withKey = Run(u"");
  EXPECT_NE(withKey.errors.find("Zephrin Tunevo is already running."), std::string::npos) << withKey.errors;
}

LRESULT SendCopyData(HWND window, ULONG_PTR code) {
  COPYDATASTRUCT copy{code, 0, nullptr};
  return SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
}

struct PopupSend {
  LRESULT answer = -1;
  bool popupShown = false;
  bool ownerDisabled = false;
};

// Sends the code from a thread of its own, as the launcher does, and closes the popup that the
// window shows before it answers.
PopupSend SendCopyDataClosingThePopup(HWND window, ULONG_PTR code) {
  PopupSend result;
  std::atomic<bool> answered{false};
  std::thread sender([&] {
    result.answer = SendCopyData(window, code);
    answered = true;
  });
  HWND popup = window;
  while (!answered && (popup = GetLastActivePopup(window)) == window) Sleep(10);
  if (popup != window) {
    result.popupShown = true;
    result.ownerDisabled = !IsWindowEnabled(window);
    PostMessageW(popup, WM_COMMAND, kPopupCloseCommand, 0);
  }
  sender.join();
  return result;
}

TEST_F(MainProgram, OpensItsMainWindowAnswersTheLauncherCodesAndSavesTheHistoriesWhenClosed) {
  bool visible = false;
  CString title;
  std::vector<LRESULT> answers;
  PopupSend hiddenScan;
  const Result result = Run(u"", [&](HWND window) {
    visible = IsWindowVisible(window) != FALSE;
    WCHAR text[64] = {};
    GetWindowTextW(window, text, 64);
    title = text;
    // The question, progress notify, then hidden scan mode, answered once the one-click
    // results popup is closed.
    for (ULONG_PTR code : {30, 20}) answers.push_back(SendCopyData(window, code));
    hiddenScan = SendCopyDataClosingThePopup(window, 10);
    answers.push_back(hiddenScan.answer);
    answers.push_back(SendCopyData(window, 77));
  });
  EXPECT_EQ(result.code, 0u) << result.errors;
  EXPECT_TRUE(visible);
  EXPECT_EQ(title, CString(kTitle));
  EXPECT_TRUE(hiddenScan.popupShown);
  EXPECT_TRUE(hiddenScan.ownerDisabled);
  EXPECT_EQ(answers, (std::vector<LRESULT>{17, 17, 16, 0}));
  // Empty histories: the 32-bit entry count, then the map's 16-bit count.
  const std::string empty(6, '\0');
  EXPECT_EQ(FindInRoot("Download.dat"), empty);
  EXPECT_EQ(FindInRoot("Backup.dat"), empty);
}

// A scheduled second start hands the window a scan, which asks the user its questions; the
// in-process main-window tests follow that hand-off.
TEST_F(MainProgram, SecondStartsReachTheOpenWindowWithoutASecondOne) {
  Result plain;
  bool shownAgain = false, stillThere = false;
  const Result first = Run(u"", [&](HWND window) {
    ShowWindow(window, SW_HIDE);
    plain = Run(u"", {}, false);
    shownAgain = IsWindowVisible(window) != FALSE;
    stillThere = MainWindow() == window && IsWindow(window);
  });
  EXPECT_EQ(first.code, 0u) << first.errors;
  EXPECT_EQ(plain.code, 0u);
  EXPECT_LT(plain.seconds, 4.0);
  EXPECT_TRUE(shownAgain);
  EXPECT_TRUE(stillThere);
}

TEST_F(MainProgram, AHiddenStartTellsTheLauncherThatItIsReadyAndThatItCloses) {
  const std::string log = root() + "/launcher.log";
  const char* argv[] = {ZX_LAUNCHER, "serve", log.c_str(), nullptr};
  pid_t launcher = 0;
  ASSERT_EQ(::posix_spawn(&launcher, ZX_LAUNCHER, nullptr, nullptr, const_cast<char* const*>(argv), environ), 0);
  auto lines = [&] {
    std::ifstream in(log);
    std::vector<std::string> read;
    for (std::string line; std::getline(in, line);) read.push_back(line);
    return read;
  };
  for (int round = 0; round < 2000 && lines().empty(); ++round) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const Result result = Run(u"-runhiddenScan");
  ::kill(launcher, SIGKILL);
  ::waitpid(launcher, nullptr, 0);
  EXPECT_EQ(result.code, 0u) << result.errors;
  std::vector<int> codes;
  for (const std::string& line : lines())
    if (line.rfind("status ", 0) == 0) codes.push_back(std::stoi(line.substr(line.find(" code=") + 6)));
  EXPECT_EQ(codes, (std::vector<int>{kLauncherReady, kLauncherClosing}));
}

// The window's text, its class, and whether it shows.
struct Seen {
  std::u16string className, text;
  bool visible = false;
};
Seen Look(HWND window) {
  WCHAR text[128] = {}, className[64] = {};
  GetWindowTextW(window, text, 128);
  GetClassNameW(window, className, 64);
  return {className, text, IsWindowVisible(window) != FALSE};
}

// The first shown dialog among the window's children.
HWND ShownDialogChild(HWND parent) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const Seen seen = Look(child);
    if (seen.visible && seen.className == u"#32770") return child;
  }
  return nullptr;
}

// Each start page on the real command line of a first start, each start in a machine root of
// its own so that the starts wait out their pause side by side; offline, so that a start that
// scans at once shows that it has no connection instead of scanning. What the window shows
// once it opens: the page of the shown panel, and the question of the scan.
TEST_F(MainProgram, AFirstStartOpensItsStartPage) {
  const struct {
    const char16_t* arguments;
    const char16_t* page;
    bool scans;
  } kCases[] = {
      {u"-schedule", u"Scan home", true}, {u"abc", u"Scan home", false}, {u"13", u"Back up drivers", false},
      {u"14", u"Restore drivers", false}, {u"15", u"Scan home", true},
  };
  struct Started {
    std::string root;
    PROCESS_INFORMATION info{};
  };
  std::vector<Started> started;
  for (const auto& c : kCases) {
    Started start{root() + "/" + std::to_string(started.size())};
    std::filesystem::create_directories(start.root);
    WriteHostFile(start.root + "/machine.ini", "[Network]\nConnection=none\n");
    ::setenv("ZX_MACHINE_ROOT", start.root.c_str(), 1);
    std::u16string line = u"\"" + path::HostToWindows(ZX_MAINPROGRAM) + u"\" " + c.arguments;
    EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &start.info));
    started.push_back(start);
  }
  for (std::size_t i = 0; i < started.size(); ++i) {
    const auto& c = kCases[i];
    const std::string shown(c.arguments, c.arguments + std::char_traits<char16_t>::length(c.arguments));
    machine::UseRoot(started[i].root);
    // The program's dialogs: its main window (owned by nobody) and the question it asks.
    HWND main = nullptr, question = nullptr;
    const auto look = [&] {
      main = question = nullptr;
      for (HWND top = FindWindowExW(nullptr, nullptr, u"#32770", nullptr); top;
           top = FindWindowExW(nullptr, top, u"#32770", nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(top, &process);
        if (process != started[i].info.dwProcessId) continue;
        (GetWindow(top, GW_OWNER) ? question : main) = top;
      }
    };
    for (int round = 0; round < 3000 && (main == nullptr || (c.scans && question == nullptr)); ++round) {
      if (WaitForSingleObject(started[i].info.hProcess, 10) != WAIT_TIMEOUT) break;
      look();
    }
    ASSERT_NE(main, nullptr) << shown;
    // A round trip: the window has taken what its start posted to itself before this.
    COPYDATASTRUCT query{30, 0, nullptr};
    EXPECT_EQ(SendMessageW(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&query)), 17) << shown;
    look();
    EXPECT_EQ(question != nullptr, c.scans) << shown;
    const HWND panel = ShownDialogChild(main);
    const HWND page = panel ? ShownDialogChild(panel) : nullptr;
    EXPECT_EQ(page ? Look(page).text : u"", std::u16string(c.page)) << shown;
    if (question) PostMessageW(question, WM_CLOSE, 0, 0);
    PostMessageW(main, WM_COMMAND, kCloseRequest, 0);
    EXPECT_EQ(WaitForSingleObject(started[i].info.hProcess, 30000), WAIT_OBJECT_0) << shown;
    DWORD code = 99;
    GetExitCodeProcess(started[i].info.hProcess, &code);
    EXPECT_EQ(code, 0u) << shown;
    CloseHandle(started[i].info.hProcess);
    CloseHandle(started[i].info.hThread);
  }
  machine::UseRoot(root());
}

CString g_scheduleText;
WNDPROC g_scheduleProc = nullptr;

LRESULT CALLBACK ScheduleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (message == WM_COPYDATA && copy->dwData == GetSchedulerWorkMessage()) {
    g_scheduleText = CString(static_cast<const WCHAR*>(copy->lpData), copy->cbData / sizeof(WCHAR) - 1);
    return 1;
  }
  return CallWindowProcW(g_scheduleProc, window, message, wParam, lParam);
}

TEST(SchedulerHandOff, TheWordTravelsWithTheMessage) {
  constexpr LPCTSTR kProbe = _T("ZX Scheduler Hand-off Probe");
  EXPECT_FALSE(HandScheduleToRunningWindow(kProbe));
  const HWND window = CreateWindowExW(0, _T("#32770"), kProbe, WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  g_scheduleProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ScheduleProc)));
  EXPECT_TRUE(HandScheduleToRunningWindow(kProbe));
  EXPECT_EQ(g_scheduleText, CString(_T("scheduleScan")));
  DestroyWindow(window);
}

}  // namespace
}  // namespace zx::test
