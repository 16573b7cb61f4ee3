// The job runner on the test clock, starting the recorder program as real processes: a job
// starts when the clock passes its trigger, with its parameters, and its run is recorded in its
// file; a run by hand starts exactly the jobs that are due, records a program that cannot
// start, and reports a damaged job file while every other job runs.
#include <gtest/gtest.h>

#include <thread>

#include "jobrunner.h"
#include "taskscheduler_fixture.h"
#include "zx/clock.h"
#include "zx/waits.h"

namespace zx::test {
namespace {

class JobRunnerTest : public RunnerTest {
 protected:
  void SetUp() override {
    RunnerTest::SetUp();
    zx::SetClock(&clock_);  // 2000-01-01 00:00:00 (UTC is local time here)
  }
  void TearDown() override {
    zx::SetClock(nullptr);
    RunnerTest::TearDown();
  }
  zx::ManualClock clock_;
  std::vector<std::string> reports_;
};

TEST_F(JobRunnerTest, AJobStartsWhenTheClockPassesItsTrigger) {
  WriteJob("Scan", RecorderJob("Scan", u" -autofix", {OnceAt(2000, 1, 1, 0, 5)}));
  WriteJob("Tomorrow", RecorderJob("Tomorrow", u"-schedule", {OnceAt(2000, 1, 2, 0, 5)}));
  const HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  zx::taskscheduler::JobRunner runner([this](const std::string& text) { reports_.push_back(text); });
  std::thread service([&] { runner.Serve(stop); });

  ASSERT_TRUE(zx::AwaitBlockedWaiters(1));
  clock_.Advance(4 * 60 * 1000);  // 00:04: nothing yet
  ASSERT_TRUE(zx::AwaitBlockedWaiters(1));
  clock_.Advance(60 * 1000);  // 00:05
  EXPECT_TRUE(Eventually([&] { return Ended("Scan"); }));
  SetEvent(stop);
  service.join();
  CloseHandle(stop);

  EXPECT_EQ(Recorded("Scan"), "-autofix\n");
  const Job scan = ReadJob("Scan");
  EXPECT_EQ(scan.exitCode, 23u);
  EXPECT_EQ(std::tuple(scan.lastRun.wYear, scan.lastRun.wMonth, scan.lastRun.wDay, scan.lastRun.wHour,
                       scan.lastRun.wMinute, scan.lastRun.wSecond),
            std::tuple(2000, 1, 1, 0, 5, 0));
  EXPECT_EQ(scan.startError, 0u);
  EXPECT_EQ(Recorded("Tomorrow"), "<not run>");
  EXPECT_EQ(ReadJob("Tomorrow").status, SCHED_S_TASK_HAS_NOT_RUN);
  EXPECT_TRUE(reports_.empty());
}

// Jobs written while the service runs are seen: one put in place as the Task Scheduler objects
// write it (a new file renamed over the old) and one rewritten in place.
TEST_F(JobRunnerTest, JobsChangedWhileTheServiceRunsAreSeen) {
  WriteJob("InPlace", RecorderJob("InPlace", u"-schedule", {OnceAt(2000, 1, 2, 0, 0)}));
  const HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  zx::taskscheduler::JobRunner runner;
  std::thread service([&] { runner.Serve(stop); });
  ASSERT_TRUE(zx::AwaitBlockedWaiters(1));

  const Job replaced = RecorderJob("Replaced", u" -autofix", {OnceAt(2000, 1, 1, 0, 1)});
  const std::vector<std::uint8_t> bytes = zx::taskschd::SerializeJob(replaced);
  ASSERT_EQ(zx::taskschd::WriteFileAtomically(JobFile("Replaced"), bytes), S_OK);
  WriteJob("InPlace", RecorderJob("InPlace", u"-schedule", {OnceAt(2000, 1, 1, 0, 1)}));
  clock_.Advance(60 * 1000);  // 00:01
  EXPECT_TRUE(Eventually([&] { return Ended("Replaced") && Ended("InPlace"); }));
  SetEvent(stop);
  service.join();
  CloseHandle(stop);
  EXPECT_EQ(Recorded("Replaced"), "-autofix\n");
  EXPECT_EQ(Recorded("InPlace"), "-schedule\n");
}

TEST_F(JobRunnerTest, ARunByHandStartsWhatIsDueAndSkipsADamagedFile) {
  WriteJob("Due", RecorderJob("Due", u"-schedule", {OnceAt(1999, 12, 31, 23, 0)}));
  WriteJob("Later", RecorderJob("Later", u"-schedule", {OnceAt(2000, 1, 1, 1, 0)}));
  Job disabled = RecorderJob("Disabled", u"-schedule", {OnceAt(1999, 12, 31, 23, 0)});
  disabled.flags |= TASK_FLAG_DISABLED;
  WriteJob("Disabled", disabled);
  TASK_TRIGGER daily = OnceAt(1999, 12, 30, 23, 0);
  daily.TriggerType = TASK_TIME_TRIGGER_DAILY;
  daily.Type.Daily.DaysInterval = 1;
  Job ran = RecorderJob("Ran", u"-schedule", {daily});
  ran.lastRun = {1999, 12, 5, 31, 23, 30, 0, 0};  // after yesterday's start
  WriteJob("Ran", ran);
  const std::string damaged("\x01\x05\x01\x00 not a job at all", 21);
  WriteHostFile(JobFile("Broken"), damaged);

  zx::taskscheduler::JobRunner runner([this](const std::string& text) { reports_.push_back(text); });
  EXPECT_EQ(runner.RunDueNow(), -1);  // the damaged file is reported

  EXPECT_EQ(Recorded("Due"), "-schedule\n");
  EXPECT_TRUE(Ended("Due"));
  EXPECT_EQ(ReadJob("Due").exitCode, 23u);
  for (const char* skipped : {"Later", "Disabled", "Ran"}) EXPECT_EQ(Recorded(skipped), "<not run>") << skipped;
  EXPECT_EQ(ReadHostFile(JobFile("Broken")), damaged);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find("Broken.job"), std::string::npos);
  EXPECT_NE(reports_[0].find("0x8004130E"), std::string::npos);

  // Once run, the job is not due again until its next start.
  std::filesystem::remove(WorkFolder("Due") + "/command.txt");
  std::filesystem::remove(JobFile("Broken"));
  EXPECT_EQ(zx::taskscheduler::JobRunner().RunDueNow(), 0);
  EXPECT_EQ(Recorded("Due"), "<not run>");
}

TEST_F(JobRunnerTest, AProgramThatCannotStartIsRecorded) {
  Job missing = RecorderJob("Missing", u"-schedule", {OnceAt(1999, 12, 31, 23, 0)});
  missing.applicationName = u"C:\\Program Files\\Nowhere\\zephrinkx.exe";
  WriteJob("Missing", missing);
  WriteJob("Due", RecorderJob("Due", u"-schedule", {OnceAt(1999, 12, 31, 23, 0)}));

  zx::taskscheduler::JobRunner runner([this](const std::string& text) { reports_.push_back(text); });
  EXPECT_EQ(runner.RunDueNow(), -1);
  const Job read = ReadJob("Missing");
  EXPECT_EQ(read.startError, static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)));
  EXPECT_EQ(read.lastRun.wYear, 2000);
  EXPECT_EQ(read.runningInstances, 0);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find("Missing"), std::string::npos);
  EXPECT_EQ(Recorded("Due"), "-schedule\n");
  // Not tried again until its trigger comes round.
  EXPECT_EQ(zx::taskscheduler::JobRunner().RunDueNow(), 0);
}

}  // namespace
}  // namespace zx::test
