// The update checker's launcher: real starts of the stand-in beside the shared library, once
// for two launches 8 s apart and twice for 8.2 s, the first start not held back when the
// clock starts at 0, and "checkupdate" in place of empty arguments.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "UpdateCheckerLauncher.h"
#include "launch_log.h"
#include "dialogs_testing.h"

namespace zx::test {
namespace {

using Launcher = DialogTest;

TEST_F(Launcher, StartsOnceWithinTheGuardTimeAndAgainAfterIt) {
  std::filesystem::remove(LaunchLog());
  EXPECT_GT(CheckForUpdates(), 32);  // the clock stands at 0: the first start still goes
  EXPECT_EQ(WaitForLaunches(1), std::vector<std::string>{"checkupdate"});
  clock_.Advance(8000);
  EXPECT_EQ(LaunchUpdateChecker(u"-silent"), 1);
  clock_.Advance(200);  // 8.2 s after the first start
  EXPECT_GT(LaunchUpdateChecker(u"-silent"), 32);
  EXPECT_EQ(WaitForLaunches(2), (std::vector<std::string>{"checkupdate", "-silent"}));
  clock_.Advance(8191);
  EXPECT_EQ(LaunchUpdateChecker(u"-silent"), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(LoggedLaunches().size(), 2u);
  std::filesystem::remove(LaunchLog());
}

}  // namespace
}  // namespace zx::test
