// System helpers: the administrator test, WOW64, drive space, the processor meter and the
// library's lock guard.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "Locks.h"
#include "OSVersionInfo.h"
#include "SystemHelpers.h"
#include "machine_fixture.h"
#include "cstring_printer.h"
#include "zx/clock.h"

namespace {

class SystemHelpersTest : public zx::test::MachineTest {
 protected:
  void WriteProfile(const std::string& text) { WriteHostFile(root() + "/machine.ini", text); }
};

TEST_F(SystemHelpersTest, TheAdministratorTestFollowsTheMachine) {
  WriteProfile("[Machine]\nAdministrator=1\n");
  EXPECT_TRUE(IsUserAdmin());
  WriteProfile("[Machine]\nAdministrator=0\n");
  EXPECT_FALSE(IsUserAdmin());
}

TEST_F(SystemHelpersTest, OurProgramsRunUnderWow64OnA64BitWindows) {
  // The answer is kept for the process; the default machine is 64-bit.
  EXPECT_TRUE(IsWow64());
  EXPECT_EQ(GetSystemWow64Folder(), CString(_T("C:\\Windows\\SysWOW64")));
  PVOID old = reinterpret_cast<PVOID>(1);
  EXPECT_TRUE(DisableWow64Redirection(&old));
  EXPECT_TRUE(RevertWow64Redirection(old));
}

TEST_F(SystemHelpersTest, TheWindowsVersionComesFromTheMachineProfile) {
  WriteProfile("[Windows]\nMajor=5\nMinor=1\nBuild=2600\n");
  const COSVersionInfo info;
  EXPECT_TRUE(info.IsWinXP());
  EXPECT_EQ(info.dwBuildNumber, 2600u);
}

TEST_F(SystemHelpersTest, DriveFreeSpaceIsAPercentage) {
  double percent = -1;
  const CString text = GetDriveFreeText(&percent, FALSE);
  EXPECT_GT(percent, 0.0);
  EXPECT_LE(percent, 100.0);
  EXPECT_EQ(text.Right(1), CString(_T("%")));
  EXPECT_EQ(text.Find(_T('.')), text.GetLength() - 4);
  double all = -1;
  GetDriveFreeText(&all, TRUE);
  EXPECT_GT(all, 0.0);
}

TEST_F(SystemHelpersTest, TheProcessorMeterAnswersPercentages) {
  CCpuUsageMeter meter;
  EXPECT_EQ(meter.GetCpuUsage(), 0);  // the first sample only records
  Sleep(250);
  const short usage = meter.GetCpuUsage();
  EXPECT_GE(usage, 0);
  EXPECT_LE(usage, 100);
  // Within 200 ms the last average is answered again.
  EXPECT_EQ(meter.GetCpuUsage(), usage);
}

// A guard that finds its section busy waits for the holder alone, not for a clock that a test
// holds still: the second thread reaches the section's own wait and gets in once it is left.
TEST(EnterLockTest, ABusySectionIsWaitedForWhileTheClockStandsStill) {
  zx::ManualClock clock;
  zx::SetClock(&clock);
  CRITICAL_SECTION section;
  InitLock(&section);
  std::atomic<bool> entered{false};
  std::thread second;
  {
    EnterLock holder(&section);
    second = std::thread([&] {
      EnterLock guard(&section);
      entered = true;
    });
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::atomic_ref<LONG>(section.LockCount).load() < 1 &&
           std::chrono::steady_clock::now() < limit) {
      std::this_thread::yield();
    }
    EXPECT_GE(std::atomic_ref<LONG>(section.LockCount).load(), 1)
        << "the second guard never reached the section's wait";
  }
  clock.Advance(1);  // frees a guard that waits on the clock, so the thread always ends
  second.join();
  EXPECT_TRUE(entered);
  DeleteCriticalSection(&section);
  zx::SetClock(nullptr);
}

}  // namespace
