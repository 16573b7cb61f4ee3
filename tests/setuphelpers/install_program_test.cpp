// The install helper run as a process, as the product's installer runs it: two running main
// programs are stopped every time; the jobs, log-on tasks and Run values go unless a switch
// word is on the command line; the exit code is always 0.
#include <afx.h>
#include <gtest/gtest.h>

#include "install_testing.h"

namespace zx::test {
namespace {

using InstallHelperProgram = InstallHelperTest;

struct RunCase {
  const char16_t* arguments;
  bool entriesRemoved;
};

TEST_F(InstallHelperProgram, StopsTheMainProgramsAndRemovesEntriesUnlessASwitchWordIsGiven) {
  const RunCase cases[] = {
      {u"", true},
      {u"stoponly", false},
      {u"/S UPGRADE", false},
      {u"-x-noupgrades-y", false},
      {u"-silent /norestart", true},
  };
  StandInProgram main("zephrinkx");
  for (const RunCase& c : cases) {
    const std::string line = CStringA(c.arguments).GetString();
    WriteProductEntries();
    WriteOtherEntries();
    const HANDLE first = main.Start();
    const HANDLE second = main.Start();
    EXPECT_EQ(RunProgram("installhelper", c.arguments), 0) << line;
    EXPECT_TRUE(StandInProgram::HasEnded(first)) << line;
    EXPECT_TRUE(StandInProgram::HasEnded(second)) << line;
    EXPECT_EQ(ProductEntriesLeft(), c.entriesRemoved ? 0 : kProductEntryCount) << line;
    EXPECT_TRUE(OtherEntriesKept()) << line;
  }
}

TEST_F(InstallHelperProgram, NothingRunningAndNoJobsStillEndsWithZero) {
  EXPECT_EQ(RunProgram("installhelper", u""), 0);
  EXPECT_EQ(RunProgram("installhelper", u"stoponly"), 0);
  EXPECT_EQ(ProductEntriesLeft(), 0);
}

}  // namespace
}  // namespace zx::test
