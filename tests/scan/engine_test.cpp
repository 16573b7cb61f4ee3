// The install engine object: the step code and its stop handshake across threads (with the
// replaceable clock for the 120000 ms wait), a scan stopped on request, and the small
// services it offers.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "DeviceScanner.h"
#include "DriverInstallEngine.h"
#include "EnumRegistry.h"
#include "scan_testing.h"
#include "zx/clock.h"
#include "zx/waits.h"

namespace zx::test {
namespace {

// A manual clock for the test's lifetime.
class ManualTime {
 public:
  ManualTime() { SetClock(&clock_); }
  ~ManualTime() { SetClock(nullptr); }
  ManualClock& clock() { return clock_; }

 private:
  ManualClock clock_;
};

TEST(EngineStep, OtherCodesAnswerAtOnce) {
  CDriverInstallEngine engine;
  EXPECT_EQ(engine.GetStepCode(), 0);
  engine.SetStepCode(kStepIdle);
  EXPECT_FALSE(engine.WaitForStep(23));
  EXPECT_FALSE(engine.WaitForStep(17));
  EXPECT_EQ(engine.GetStepCode(), kStepIdle);
}

TEST(EngineStep, NothingRunningMeansNothingToWaitFor) {
  CDriverInstallEngine engine;
  EXPECT_TRUE(engine.WaitForStep(kStepStopScan));
  EXPECT_EQ(engine.GetStepCode(), kStepIdle);
}

TEST(EngineStep, TheWorkerAnswersAStopRequest) {
  ManualTime time;
  CDriverInstallEngine engine;
  std::atomic<bool> running{false};
  std::thread worker([&] {
    CDriverInstallEngine::COperation operation(engine);
    running = true;
    while (engine.GetStepCode() != kStepStopBackup) std::this_thread::yield();
    EXPECT_TRUE(engine.AcknowledgeStep());
  });
  while (!running) std::this_thread::yield();
  EXPECT_TRUE(engine.WaitForStep(kStepStopBackup));
  EXPECT_EQ(engine.GetStepCode(), kStepIdle);
  worker.join();
  EXPECT_EQ(time.clock().MonotonicMs(), 0u);  // no time had to pass
}

TEST(EngineStep, AnUnansweredRequestGivesUpAfter120000Ms) {
  ManualTime time;
  CDriverInstallEngine engine;
  CDriverInstallEngine::COperation deaf(engine);  // runs, never answers
  std::atomic<int> answer{-1};
  std::thread requester([&] { answer = engine.WaitForStep(kStepStopRestore) ? 1 : 0; });
  ASSERT_TRUE(AwaitBlockedWaiters(1));
  EXPECT_EQ(engine.GetStepCode(), kStepStopRestore);
  time.clock().Advance(119999);
  EXPECT_EQ(answer.load(), -1);
  ASSERT_TRUE(AwaitBlockedWaiters(1));
  time.clock().Advance(1);
  requester.join();
  EXPECT_EQ(answer.load(), 0);
  EXPECT_EQ(engine.GetStepCode(), kStepIdle);
}

TEST(EngineStep, AnOperationEndingReleasesTheRequester) {
  CDriverInstallEngine engine;
  auto operation = std::make_unique<CDriverInstallEngine::COperation>(engine);
  std::thread requester([&] { EXPECT_TRUE(engine.WaitForStep(kStepStopScan)); });
  ASSERT_TRUE(AwaitBlockedWaiters(1));
  operation.reset();
  requester.join();
  EXPECT_EQ(engine.GetStepCode(), kStepIdle);
}

// A scan whose progress callback holds the first device until the stop request is made.
std::atomic<bool> g_reported{false};
BOOL HoldUntilStopAsked(CDeviceRecordArray*, int) {
  g_reported = true;
  while (GetProcessEngine().GetStepCode() != kStepStopScan) std::this_thread::yield();
  return TRUE;
}

using ScanStop = ScanTest;

TEST_F(ScanStop, AScanStopsAtTheNextDeviceAndAnswers) {
  SeedText("device ROOT\\A\\0000\n name = A\n hwid = VENDOR\\A\n"
           "device ROOT\\B\\0000\n name = B\n hwid = VENDOR\\B\n");
  CDriverInstallEngine& engine = GetProcessEngine();
  engine.SetStepCode(kStepIdle);
  g_reported = false;
  std::atomic<int> status{0};
  std::thread worker([&] {
    CDriverInstallEngine::COperation running(engine);
    CDeviceScanner scanner(HoldUntilStopAsked);
    status = scanner.ScanDevices();
  });
  while (!g_reported) std::this_thread::yield();
  EXPECT_TRUE(engine.WaitForStep(kStepStopScan));
  worker.join();
  EXPECT_EQ(status.load(), kStepStopScan);
  EXPECT_EQ(engine.GetStepCode(), kStepIdle);
}

TEST_F(ScanStop, RunDeviceScanKeepsThePathAndReportsTheStatus) {
  SeedText("device ROOT\\A\\0000\n name = A\n hwid = VENDOR\\A\n");
  CDriverInstallEngine engine;
  EXPECT_EQ(engine.RunDeviceScan(u"C:\\scan"), kStepCompleted);
  EXPECT_EQ(engine.GetScanPath(), CString(u"C:\\scan"));
  EXPECT_EQ(engine.GetStepCode(), kStepIdle);
}

TEST(EngineServices, StripsOnlyTheFirstKindOfForbiddenCharacter) {
  CString text = u"a/b:c/d";
  StripFileNameChars(text);
  EXPECT_EQ(text, CString(u"ab:cd"));
  text = u"x\\y/z\\";
  StripFileNameChars(text);
  EXPECT_EQ(text, CString(u"xy/z"));
  text = u"<a|b>";
  StripFileNameChars(text);
  EXPECT_EQ(text, CString(u"a|b>"));
  text = u"plain";
  StripFileNameChars(text);
  EXPECT_EQ(text, CString(u"plain"));
}

TEST(EngineServices, NoInstallClassesAreExactAndTheMapIsEmptiedAfterUse) {
  CMapStringToString map;
  FillNoInstallClassMap(map);
  EXPECT_EQ(map.GetCount(), 46);
  EXPECT_TRUE(IsClassInMap(map, u"Ports"));
  EXPECT_TRUE(map.IsEmpty());
  FillNoInstallClassMap(map);
  EXPECT_FALSE(IsClassInMap(map, u"ports"));
  FillNoInstallClassMap(map);
  EXPECT_FALSE(IsClassInMap(map, u"Net"));
}

using KeyContainer = ScanTest;

TEST_F(KeyContainer, TheEngineMakesTheUsersKeysOnce) {
  CDriverInstallEngine engine;
  EXPECT_TRUE(engine.HasUserKeyContainer());
  EXPECT_TRUE(CDriverInstallEngine::EnsureUserKeyContainer());  // both pairs are there now
}

class Wow64 : public ScanTest {};

TEST_F(Wow64, ThirtyTwoBitWindowsHasNoRedirection) {
  SetMachineValue("Windows", "Architecture", "x86");
  CDriverInstallEngine engine;
  EXPECT_FALSE(engine.IsWow64());
  CDriverInstallEngine::CRedirectionOff off(engine);  // nothing to switch
  SetMachineValue("Windows", "Architecture", "x64");
  CDriverInstallEngine wow64;
  EXPECT_TRUE(wow64.IsWow64());
}

using EnumSearch = ScanTest;

TEST_F(EnumSearch, FindsTheFirstInstanceByHardwareIdOrDriverKey) {
  SeedText("device PCI\\VEN_8086&DEV_10FB\\4&1&0&0001\n name = T\n hwid = PCI\\VEN_8086&DEV_10FB\n class = Net\n inf = a.inf\n"
           "device PCI\\VEN_8086&DEV_10FB\\4&1&0&0000\n name = T\n hwid = PCI\\VEN_8086&DEV_10FB\n class = Net\n inf = a.inf\n");
  EXPECT_EQ(FindEnumInstanceKey(u"pci\\ven_8086&dev_10fb", false),
            CString(u"SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_8086&DEV_10FB\\4&1&0&0000"));
  EXPECT_EQ(FindEnumInstanceKey(u"{4D36E972-E325-11CE-BFC1-08002BE10318}\\0000", true),
            CString(u"SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_8086&DEV_10FB\\4&1&0&0001"));
  EXPECT_TRUE(FindEnumInstanceKey(u"usb\\root_hub", false).IsEmpty());
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SYSTEM\\CurrentControlSet\\Enum\\PCI", 0, KEY_READ, &key), ERROR_SUCCESS);
  CStringArray names;
  EXPECT_TRUE(EnumSubKeyNames(key, names));
  RegCloseKey(key);
  ASSERT_EQ(names.GetSize(), 1);
  EXPECT_EQ(names[0], CString(u"VEN_8086&DEV_10FB"));
}

}  // namespace
}  // namespace zx::test
