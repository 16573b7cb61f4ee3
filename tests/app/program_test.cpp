// The main program zephrinkx started as a real process on a fresh machine root: its switch on
// the real command line (the pause before a start with arguments, the one-click key), and
// second starts while this test process holds the instance with a main dialog window of the
// program's title: a plain start brings that window to the front, a scheduled, auto-fix or
// shut-down start hands its word over, and with the one-click key present a refused start
// says that the program runs already. The program's own hand-off of a scheduled start carries
// its word inside the message.
#include <gtest/gtest.h>
#include <handleapi.h>
#include <processthreadsapi.h>
#include <synchapi.h>
#include <winprocess.h>
#include <winreg.h>
#include <winuser.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "HalvoranApp.h"
#include "VelquorApp.h"
#include "machine_fixture.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

constexpr LPCTSTR kTitle = _T("Zephrin Tunevo");

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
    if (mutex_) CloseHandle(mutex_);
    ::unsetenv("ZX_MACHINE_ROOT");
  }

  struct Result {
    DWORD code = 99;
    double seconds = 0;
    std::string errors;
  };
  // Runs the program with the arguments until it ends, answering the messages sent to this
  // process's windows meanwhile.
  static Result Run(const std::u16string& arguments) {
    std::u16string line = u"\"" + path::HostToWindows(ZX_MAINPROGRAM) + u"\" " + arguments;
    Result result;
    PROCESS_INFORMATION info{};
    testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    const BOOL started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info);
    if (started) {
      while (WaitForSingleObject(info.hProcess, 10) == WAIT_TIMEOUT) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      }
      GetExitCodeProcess(info.hProcess, &result.code);
      CloseHandle(info.hProcess);
      CloseHandle(info.hThread);
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.errors = testing::internal::GetCapturedStderr();
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
    g_dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RunningProc)));
  }

  HWND window_ = nullptr;
  HANDLE mutex_ = nullptr;
};

TEST_F(MainProgram, TheSwitchOfTheRealCommandLine) {
  const struct {
    const char16_t* arguments;
    bool pauses;     // any argument waits 4096 ms, except in hidden scan mode
    bool keyKept;    // the one-click key is left only in hidden scan mode
  } kCases[] = {
      {u"", false, false},
      {u"-runhiddenScan", false, true},
      {u"/RUNHIDDEN-SCAN", false, true},
      {u"13", true, false},
      {u"autorun", true, false},
  };
  for (const auto& c : kCases) {
    const std::string shown(c.arguments, c.arguments + std::char_traits<char16_t>::length(c.arguments));
    MakeOneClickKey();
    const Result result = Run(c.arguments);
    EXPECT_EQ(result.code, 0u) << shown << "\n" << result.errors;
    EXPECT_EQ(result.seconds >= 4.0, c.pauses) << shown << ": " << result.seconds << " s";
    EXPECT_EQ(OneClickKeyExists(), c.keyKept) << shown;
  }
}

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
