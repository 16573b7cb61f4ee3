// StopProductPrograms in this process: running copies of the stand-in program named as the
// product's programs are ended (and gone before it answers); other names are left alone.
#include <gtest/gtest.h>
#include <winprocess.h>

#include <memory>
#include <vector>

#include "InstallHelper.h"
#include "install_testing.h"

namespace zx::test {
namespace {

using InstallStop = InstallHelperTest;

struct ProgramCase {
  const char* file;  // in the program folder, so listed as "<file>.exe"
  bool stopped;
};

TEST_F(InstallStop, ProductProgramsAreEndedByTheirNamesInAnyCase) {
  const ProgramCase cases[] = {
      {"zephrinkx", true},
      {"ZEPHRINKXCheckUpdate", true},
      {"Ravolt", true},
      {"ZEPHRINKXNewScheduler", true},
      {"ZEPHRINKXBeforeUninstall", true},
      {"ZephrinKX", true},
      {"zephrinkxcheckupdate", true},
      {"zephrinkxlauncher", false},
      {"Wexor64", false},
      {"zephrinkx2", false},
  };
  std::vector<std::unique_ptr<StandInProgram>> programs;
  std::vector<HANDLE> processes;
  for (const ProgramCase& c : cases) {
    programs.push_back(std::make_unique<StandInProgram>(c.file));
    processes.push_back(programs.back()->Start());
  }
  EXPECT_TRUE(StopProductPrograms());
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(StandInProgram::HasEnded(processes[i]), cases[i].stopped) << cases[i].file;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(processes[i], &code);
    EXPECT_EQ(code, cases[i].stopped ? 0u : static_cast<DWORD>(STILL_ACTIVE)) << cases[i].file;
  }
}

TEST_F(InstallStop, EveryInstanceOfTheMainProgramIsEnded) {
  StandInProgram main("zephrinkx");
  const HANDLE first = main.Start();
  const HANDLE second = main.Start();
  const HANDLE third = main.Start();
  EXPECT_TRUE(StopProductPrograms());
  for (HANDLE process : {first, second, third}) EXPECT_TRUE(StandInProgram::HasEnded(process));
  EXPECT_TRUE(StopProductPrograms());  // nothing left to end
}

}  // namespace
}  // namespace zx::test
