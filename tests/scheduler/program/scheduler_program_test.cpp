// The real scheduler program started as a process on a fresh machine root: a first start
// opens its one window and ends when its close button is pressed; a second start brings the
// first window to the front, asks it for the product's pane with "SHOWSCHEDULE_MESSAGE"
// (lParam 3) and ends without a window of its own, also while this test process plays the
// running scheduler.
#include <gtest/gtest.h>
#include <handleapi.h>
#include <processthreadsapi.h>
#include <synchapi.h>
#include <winprocess.h>
#include <winuser.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "DlgMainWnd.h"
#include "HalvoranApp.h"
#include "NewSchedulerApp.h"
#include "ProductValues.h"
#include "machine_fixture.h"

namespace zx::test {
namespace {

constexpr LPCTSTR kDialogClass = _T("#32770");
constexpr LPCTSTR kTitle = _T("Scheduler");
constexpr DWORD kProcessWaitMs = 20000;

std::filesystem::path ProgramFile(const char* name) {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
}

std::vector<LPARAM> g_shown;
WNDPROC g_dialogProc = nullptr;

LRESULT CALLBACK RunningProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CNewSchedulerApp::GetShowScheduleMessage()) {
    g_shown.push_back(lParam);
    return 0;
  }
  return CallWindowProcW(g_dialogProc, window, message, wParam, lParam);
}

void PumpFor(std::chrono::milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  } while (std::chrono::steady_clock::now() < end);
}

class SchedulerProgram : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ::setenv("ZX_MACHINE_ROOT", root().c_str(), 1);
    std::ofstream(ProgramFile("lang.lng")) << "[LANGUAGE]\r\n[ENGLISH]\r\n";
    g_shown.clear();
  }
  void TearDown() override {
    if (window_) DestroyWindow(window_);
    for (HANDLE mutex : mutexes_) CloseHandle(mutex);
    if (first_.hProcess) {
      TerminateProcess(first_.hProcess, 1);
      WaitForSingleObject(first_.hProcess, kProcessWaitMs);
      CloseHandle(first_.hProcess);
      CloseHandle(first_.hThread);
    }
    ::unsetenv("ZX_MACHINE_ROOT");
  }

  static BOOL Start(const std::u16string& arguments, PROCESS_INFORMATION& info) {
    std::u16string line = u"ZEPHRINKXNewScheduler.exe " + arguments;
    return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info);
  }
  // Runs the program until it ends, serving this process's windows meanwhile; its exit code.
  static DWORD Run(const std::u16string& arguments) {
    PROCESS_INFORMATION info{};
    testing::internal::CaptureStderr();
    DWORD code = 99;
    const BOOL started = Start(arguments, info);
    if (started) {
      const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kProcessWaitMs);
      while (WaitForSingleObject(info.hProcess, 10) == WAIT_TIMEOUT && std::chrono::steady_clock::now() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      }
      GetExitCodeProcess(info.hProcess, &code);
      CloseHandle(info.hProcess);
      CloseHandle(info.hThread);
    }
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(started);
    return code;
  }
  // The scheduler windows there are.
  static int CountWindows() {
    int count = 0;
    for (HWND at = FindWindowExW(nullptr, nullptr, kDialogClass, kTitle); at;
         at = FindWindowExW(nullptr, at, kDialogClass, kTitle))
      ++count;
    return count;
  }
  // Starts the first scheduler and waits until its window shows.
  HWND StartFirst() {
    EXPECT_TRUE(Start(u"-Tunevo", first_));
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kProcessWaitMs);
    while (std::chrono::steady_clock::now() < end) {
      PumpFor(std::chrono::milliseconds(20));
      const HWND window = FindWindowW(kDialogClass, kTitle);
      if (window && IsWindowVisible(window)) return window;
    }
    return nullptr;
  }
  // Plays the running scheduler: both instance marks and a hidden window of its title.
  void HoldTheInstance() {
    mutexes_.push_back(CreateMutexW(nullptr, FALSE, CNewSchedulerApp::GetInstanceMutexName()));
    CHalvoranApp running(GetModuleDisplayName(CNewSchedulerApp::kModuleIndex),
                         GetModuleIniName(CNewSchedulerApp::kModuleIndex));
    mutexes_.push_back(CreateMutexW(nullptr, FALSE, running.GetUniqueKey()));
    window_ = CreateWindowExW(0, kDialogClass, kTitle, WS_POPUP | WS_CAPTION, 10, 10, 200, 100, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    g_dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RunningProc)));
  }

  PROCESS_INFORMATION first_{};
  HWND window_ = nullptr;
  std::vector<HANDLE> mutexes_;
};

TEST_F(SchedulerProgram, ASecondStartLeavesTheFirstWindowAlone) {
  const HWND first = StartFirst();
  ASSERT_NE(first, nullptr);
  for (const char16_t* arguments : {u"", u"-Tunevo", u"/something else"}) {
    EXPECT_EQ(Run(arguments), 0u);
    EXPECT_EQ(CountWindows(), 1);
    EXPECT_EQ(FindWindowW(kDialogClass, kTitle), first);
    EXPECT_EQ(WaitForSingleObject(first_.hProcess, 0), DWORD(WAIT_TIMEOUT));
  }
  // The close button ends the first.
  PostMessageW(first, WM_COMMAND, CDlgMainWnd::kCloseCommand, 0);
  EXPECT_EQ(WaitForSingleObject(first_.hProcess, kProcessWaitMs), DWORD(WAIT_OBJECT_0));
  DWORD code = 99;
  GetExitCodeProcess(first_.hProcess, &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(CountWindows(), 0);
}

TEST_F(SchedulerProgram, ASecondStartBringsTheRunningOneForwardOnTheProductsPane) {
  HoldTheInstance();
  ASSERT_FALSE(IsWindowVisible(window_));
  EXPECT_EQ(Run(u"-Tunevo"), 0u);
  PumpFor(std::chrono::milliseconds(100));
  EXPECT_TRUE(IsWindowVisible(window_));
  ASSERT_EQ(g_shown.size(), 1u);
  EXPECT_EQ(g_shown[0], LPARAM(CNewSchedulerApp::kProductToolIndex));
  EXPECT_EQ(CountWindows(), 1);
}

TEST_F(SchedulerProgram, WithoutARunningWindowNothingIsAsked) {
  // A scheduler that is starting holds the mark but has no window yet.
  mutexes_.push_back(CreateMutexW(nullptr, FALSE, CNewSchedulerApp::GetInstanceMutexName()));
  CHalvoranApp running(GetModuleDisplayName(CNewSchedulerApp::kModuleIndex),
                       GetModuleIniName(CNewSchedulerApp::kModuleIndex));
  mutexes_.push_back(CreateMutexW(nullptr, FALSE, running.GetUniqueKey()));
  EXPECT_EQ(Run(u""), 0u);
  EXPECT_EQ(CountWindows(), 0);
}

}  // namespace
}  // namespace zx::test
