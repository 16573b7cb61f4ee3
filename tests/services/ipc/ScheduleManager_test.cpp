// NewCScheduleManager: the first trigger's type and the next-run text of jobs in the Tasks
// folder, and COM undone only when this object did initialise it.
#include <gtest/gtest.h>

#include <objbase.h>

#include <cstdlib>
#include <ctime>

#include "ScheduleManager.h"
#include "machine_fixture.h"
#include "zx/clock.h"
#include "zx/jobfile.h"

namespace {

class ScheduleManagerTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    zx::SetClock(&clock_);  // 2000-01-01 00:00:00
  }
  void TearDown() override { zx::SetClock(nullptr); }
  void WriteJob(const std::string& name, std::vector<TASK_TRIGGER> triggers) {
    zx::taskschd::Job job;
    job.applicationName = u"C:\\Program Files\\Zephrin\\zephrinkx.exe";
    job.triggers = std::move(triggers);
    const auto bytes = zx::taskschd::SerializeJob(job);
    WriteHostFile(root() + "/drive_c/Windows/Tasks/" + name + ".job", std::string(bytes.begin(), bytes.end()));
  }
  static TASK_TRIGGER Trigger(TASK_TRIGGER_TYPE type, WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    TASK_TRIGGER trigger{};
    trigger.TriggerType = type;
    trigger.wBeginYear = year, trigger.wBeginMonth = month, trigger.wBeginDay = day;
    trigger.wStartHour = hour, trigger.wStartMinute = minute;
    return trigger;
  }
  zx::ManualClock clock_;
};

TEST_F(ScheduleManagerTest, MissingJobGivesMinusOneAndNoText) {
  NewCScheduleManager manager;
  TASK_TRIGGER trigger{};
  EXPECT_EQ(manager.GetTriggerType(&trigger, _T("Nothing")), -1);
  EXPECT_TRUE(manager.GetNextRunTimeText(_T("Nothing")).IsEmpty());
}

TEST_F(ScheduleManagerTest, WeeklyFirstTriggerGivesTwo) {
  TASK_TRIGGER weekly = Trigger(TASK_TIME_TRIGGER_WEEKLY, 2000, 1, 1, 9, 0);
  weekly.Type.Weekly = {1, TASK_MONDAY | TASK_FRIDAY};
  WriteJob("Scan", {weekly, Trigger(TASK_TIME_TRIGGER_ONCE, 2000, 1, 1, 8, 0)});
  NewCScheduleManager manager;
  TASK_TRIGGER trigger{};
  EXPECT_EQ(manager.GetTriggerType(&trigger, _T("Scan")), 2);
  EXPECT_EQ(trigger.cbTriggerSize, sizeof(TASK_TRIGGER));
  EXPECT_EQ(trigger.Type.Weekly.rgfDaysOfTheWeek, TASK_MONDAY | TASK_FRIDAY);
  EXPECT_EQ(manager.GetNextRunTimeText(_T("Scan")), CString(_T("Jan 01, 2000 08:00:00 hours")));
}

TEST_F(ScheduleManagerTest, JobWithoutTriggersGivesMinusOneAndNoText) {
  WriteJob("Bare", {});
  NewCScheduleManager manager;
  TASK_TRIGGER trigger{};
  EXPECT_EQ(manager.GetTriggerType(&trigger, _T("Bare")), -1);
  EXPECT_TRUE(manager.GetNextRunTimeText(_T("Bare")).IsEmpty());
}

TEST_F(ScheduleManagerTest, NextRunTextOfTheFifthOfMarch) {
  WriteJob("Once", {Trigger(TASK_TIME_TRIGGER_ONCE, 2030, 3, 5, 14, 30)});
  NewCScheduleManager manager;
  EXPECT_EQ(manager.GetNextRunTimeText(_T("Once")), CString(_T("Mar 05, 2030 14:30:00 hours")));
}

TEST_F(ScheduleManagerTest, PastOnlyJobHasNoText) {
  WriteJob("Past", {Trigger(TASK_TIME_TRIGGER_ONCE, 1999, 3, 5, 14, 30)});
  NewCScheduleManager manager;
  TASK_TRIGGER trigger{};
  EXPECT_EQ(manager.GetTriggerType(&trigger, _T("Past")), 0);
  EXPECT_TRUE(manager.GetNextRunTimeText(_T("Past")).IsEmpty());
}

// On a thread already in the multithreaded model the manager's CoInitialize fails; its end
// must not undo the thread's own initialisation.
TEST_F(ScheduleManagerTest, ComOfTheThreadSurvivesAManagerThatCouldNotInitialise) {
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  { NewCScheduleManager manager; }
  ITaskScheduler* scheduler = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                             reinterpret_cast<void**>(&scheduler)),
            S_OK);
  if (scheduler) scheduler->Release();
  CoUninitialize();
}

TEST_F(ScheduleManagerTest, ManagerIsAClassLibraryObject) {
  NewCScheduleManager manager;
  EXPECT_TRUE(manager.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_TRUE(manager.IsKindOf(RUNTIME_CLASS(NewCScheduleManager)));
}

}  // namespace
