// The stop of a scan with real windows: the launcher's ABORTSCAN makes the worker post the
// stop command to the main window, whose thread asks the engine to stop and waits; texts the
// worker sets on that thread's windows meanwhile go through, and the scan answers.
#include <gtest/gtest.h>
#include <winuser.h>

#include <atomic>
#include <thread>

#include "DriverInstallEngine.h"
#include "EngineCallbacks.h"
#include "Registry.h"
#include "scan_testing.h"

namespace zx::test {
namespace {

std::atomic<bool> g_stopAnswered{false};

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kScanStopCommand) {
    g_stopAnswered = GetProcessEngine().WaitForStep(kStepStopScan);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class WindowStop : public ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.lpszClassName = u"ZxScanStopTest";
    RegisterClassW(&windowClass);
    main_ = CreateWindowExW(0, u"ZxScanStopTest", u"main", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    label_ = CreateWindowExW(0, u"ZxScanStopTest", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(main_, nullptr);
    ASSERT_NE(label_, nullptr);
  }
  void TearDown() override {
    SetEngineProgressView(nullptr);
    DestroyWindow(label_);
    DestroyWindow(main_);
    UnregisterClassW(u"ZxScanStopTest", nullptr);
  }
  HWND main_ = nullptr;
  HWND label_ = nullptr;
};

TEST_F(WindowStop, TheLaunchersStopReachesTheScanThroughTheMainWindow) {
  std::string profile;
  for (int i = 0; i < 6; ++i) profile += "device ROOT\\DEV" + std::to_string(i) + "\\0000\n name = Device " + std::to_string(i) +
                                        "\n hwid = VENDOR\\DEV" + std::to_string(i) + "\n";
  SeedText(profile);
  CString product;
  GetProductRegistryKey(product);
  ASSERT_TRUE(RegWriteDWORD(HKEY_CURRENT_USER, product + u"\\SwiftTend", u"ABORTSCAN", 1));

  CEngineProgressView view;
  view.nEngineMode = kModeScan;
  view.bOneClick = true;
  view.hMainWindow = main_;
  view.hCountLabel = label_;
  std::atomic<int> reports{0};
  view.notifyPeer = [&](int, int, const CString&) {
    ++reports;
    // The stop command is posted; once the main window's thread waits for the answer, a text
    // set on its window must still go through.
    while (GetProcessEngine().GetStepCode() != kStepStopScan) std::this_thread::yield();
    SetWindowTextW(label_, u"stopping");
  };
  SetEngineProgressView(&view);

  g_stopAnswered = false;
  std::atomic<int> status{0};
  std::thread worker([&] { status = GetProcessEngine().RunDeviceScan(u"C:\\scan"); });
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  worker.join();

  EXPECT_EQ(status.load(), kStepStopScan);
  EXPECT_TRUE(g_stopAnswered.load());
  EXPECT_EQ(reports.load(), 1);  // the scan stopped at the next device
  EXPECT_EQ(GetProcessEngine().GetStepCode(), kStepIdle);
  WCHAR text[32] = {};
  GetWindowTextW(label_, text, 32);
  EXPECT_EQ(std::u16string(text), u"stopping");
  EXPECT_EQ(view.nScanIndex, 1);
}

}  // namespace
}  // namespace zx::test
