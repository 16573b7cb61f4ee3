// The install helper's clean-ups in this process: the product's Task Scheduler jobs, its
// log-on tasks under both names and its Run values go; other programs' entries stay. The jobs'
// clean-up answers for its last deletion only, the tasks' always FALSE.
#include <gtest/gtest.h>

#include <filesystem>

#include "InstallHelper.h"
#include "install_testing.h"

namespace zx::test {
namespace {

using InstallCleanup = InstallHelperTest;

TEST_F(InstallCleanup, EveryProductEntryGoesAndOthersStay) {
  WriteProductEntries();
  WriteOtherEntries();
  ASSERT_EQ(ProductEntriesLeft(), kProductEntryCount);
  EXPECT_TRUE(DeleteStartupJobs());
  EXPECT_FALSE(DeleteStartupTasks());
  EXPECT_TRUE(DeleteStartupRunValues());
  EXPECT_EQ(ProductEntriesLeft(), 0);
  EXPECT_TRUE(OtherEntriesKept());
}

TEST_F(InstallCleanup, TheJobsAnswerIsTheLastDeletionsAndNoRunValueIsNoFailure) {
  EXPECT_FALSE(DeleteStartupJobs());  // "Zephrin Tunevo" is not there
  WriteJob("ZEPHRINKX-ZEPHRINKXTunevo");
  EXPECT_FALSE(DeleteStartupJobs());
  EXPECT_FALSE(JobExists("ZEPHRINKX-ZEPHRINKXTunevo"));
  WriteJob("Zephrin Tunevo");
  EXPECT_TRUE(DeleteStartupJobs());
  EXPECT_TRUE(DeleteStartupRunValues());
  WriteRunValue(HKEY_CURRENT_USER, u"Other");  // a Run key without the product's value
  EXPECT_TRUE(DeleteStartupRunValues());
  EXPECT_TRUE(RunValueExists(HKEY_CURRENT_USER, u"Other"));
}

TEST_F(InstallCleanup, LogonTaskGoesUnderEachOfItsNames) {
  for (const char* name : {"ZephrinTunevoRunAtStartup", "Zephrin Tunevo RunAtStartup", "zephrintunevorunatstartup"}) {
    WriteTask(name);
    DeleteStartupTasks();
    EXPECT_FALSE(TaskExists(name)) << name;
  }
}

TEST_F(InstallCleanup, JobsAreMatchedWithoutRegardToCaseAndDamagedOnesGoToo) {
  WriteJob("zephrinkx-zephrinkxtunevo");
  WriteHostFile(root() + "/drive_c/Windows/Tasks/Zephrin Tunevo.job", "not a job");
  EXPECT_TRUE(DeleteStartupJobs());
  EXPECT_FALSE(JobExists("zephrinkx-zephrinkxtunevo"));
  EXPECT_FALSE(JobExists("Zephrin Tunevo"));
}

TEST_F(InstallCleanup, AJobThatStaysLeavesTheOthersToGo) {
  // The scheduled-scan job cannot be removed; the later deletions succeed, and the last one
  // is the answer.
  std::filesystem::create_directories(root() + "/drive_c/Windows/Tasks/ZEPHRINKX-ZEPHRINKXTunevo.job");
  WriteJob("Tunevo - Zephrin Tunevo");
  WriteJob("Zephrin Tunevo");
  EXPECT_TRUE(DeleteStartupJobs());
  EXPECT_FALSE(JobExists("Tunevo - Zephrin Tunevo"));
  EXPECT_FALSE(JobExists("Zephrin Tunevo"));
}

}  // namespace
}  // namespace zx::test
