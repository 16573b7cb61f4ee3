// The scheduled-scan job manager against the job files of the machine's Tasks folder: the
// bytes a created job has, its scan switch, one trigger in place of the old ones, reading back,
// the next-run text, deleting, and that a refused schedule or a failed save keeps the old job.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "HalvoranApp.h"
#include "ScheduleJobManager.h"
#include "cstring_printer.h"
#include "hex_bytes.h"
#include "job_triggers.h"
#include "machine_fixture.h"
#include "profileapi.h"
#include "zx/clock.h"
#include "zx/com.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

constexpr LPCWSTR kJob = _T("ZEPHRINKX-ZEPHRINKXTunevo");

// A job made by CreateTask for "C:\P\z.exe" in "C:\P" with the comment "Job" and no
// parameters: bytes 4 to 19 are its GUID, which the comparison leaves out.
const char kCreatedJob[] =
    "01 05 01 00  00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"  // versions, GUID
    " 46 00 98 00  00 00 00 00  3c 00 0a 00"                         // offsets 70 152, retries, idle
    " 20 00 00 00  00 14 73 0f  00 00 00 00  03 13 04 00"            // normal, 72 h, exit, not run
    " 00 20 00 00"                                                   // run only if logged on
    " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00  00 00"        // last run, instances
    " 0b 00 43 00 3a 00 5c 00 50 00 5c 00 7a 00 2e 00 65 00 78 00 65 00 00 00"  // C:\P\z.exe
    " 0a 00 2d 00 73 00 63 00 68 00 65 00 64 00 75 00 6c 00 65 00 00 00"        // -schedule
    " 05 00 43 00 3a 00 5c 00 50 00 00 00"                                      // C:\P
    " 00 00  04 00 4a 00 6f 00 62 00 00 00"                                     // no author, Job
    " 00 00  08 00 00 00 00 00 00 00 00 00"                                     // user, reserved
    " 00 00";                                                                   // no trigger

// The weekly trigger the schedule page writes: from 2000-01-01 at 14:30, every week on
// Sunday and Saturday.
const char kWeeklyTrigger[] =
    "01 00"                                                   // one trigger
    " 30 00 00 00 d0 07 01 00 01 00  00 00 00 00 00 00"       // size, begin 2000-01-01, no end
    " 0e 00 1e 00  00 00 00 00  00 00 00 00  00 00 00 00"     // 14:30, duration, interval, flags
    " 02 00 00 00  01 00 41 00 00 00 00 00  00 00 00 00";     // weekly, every week, Sun+Sat


// A Task Scheduler that answers like the real one until told to be unreachable.
ITaskScheduler* g_realScheduler = nullptr;
bool g_schedulerUnreachable = false;
HRESULT SwitchableScheduler(REFIID iid, void** object) {
  if (g_schedulerUnreachable) return REGDB_E_CLASSNOTREG;
  return g_realScheduler->QueryInterface(iid, object);
}

class ScheduleJobManagerTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    zx::SetClock(&clock_);  // 2000-01-01 00:00:00, a Saturday
    SetAdministrator(true);
  }
  void TearDown() override {
    g_schedulerUnreachable = false;
    zx::SetClock(nullptr);
  }
  void SetAdministrator(bool administrator) {
    const std::u16string ini = zx::path::HostToWindows(root() + "/machine.ini");
    WritePrivateProfileStringW(u"Machine", u"Administrator", administrator ? u"1" : u"0", ini.c_str());
  }
  std::string JobPath(const std::string& name = "ZEPHRINKX-ZEPHRINKXTunevo") const {
    return root() + "/drive_c/Windows/Tasks/" + name + ".job";
  }
  std::vector<BYTE> JobBytes() const {
    const std::string text = ReadHostFile(JobPath());
    return std::vector<BYTE>(text.begin(), text.end());
  }
  // The file with its GUID blanked.
  std::vector<BYTE> JobBytesWithoutId() const {
    std::vector<BYTE> bytes = JobBytes();
    if (bytes.size() >= 20) std::fill(bytes.begin() + 4, bytes.begin() + 20, 0);
    return bytes;
  }
  BOOL Create(CScheduleManager& manager, LPCWSTR parameters = _T("")) {
    return manager.CreateTask(kJob, _T("Job"), parameters, _T("C:\\P\\z.exe"), _T("C:\\P"));
  }
  BOOL Replace(CScheduleManager& manager, const TASK_TRIGGER& trigger, LPCWSTR application = _T("C:\\P\\z.exe")) {
    return manager.ReplaceTask(kJob, _T("Job"), _T(""), application, _T("C:\\P"), trigger);
  }
  // The parameters, read back once the job has a trigger.
  CString Parameters(CScheduleManager& manager) {
    TASK_TRIGGER trigger = TestTrigger(TASK_TIME_TRIGGER_DAILY, 3, 4);
    CString parameters = _T("<none>");
    EXPECT_TRUE(manager.SetTaskTrigger(kJob, trigger));
    EXPECT_EQ(manager.GetTaskTrigger(kJob, trigger, &parameters), TASK_TIME_TRIGGER_DAILY);
    return parameters;
  }

  zx::ManualClock clock_;
};

TEST_F(ScheduleJobManagerTest, CreatedJobHasTheLayoutOfAJobFile) {
  CScheduleManager manager;
  ASSERT_TRUE(Create(manager));
  EXPECT_EQ(JobBytesWithoutId(), Hex(kCreatedJob));
}

TEST_F(ScheduleJobManagerTest, CreateTaskNeedsAnAdministrator) {
  SetAdministrator(false);
  CScheduleManager manager;
  EXPECT_FALSE(Create(manager));
  EXPECT_FALSE(std::filesystem::exists(JobPath()));
  EXPECT_FALSE(manager.TaskExists(kJob));
}

TEST_F(ScheduleJobManagerTest, CreateTaskRefusesANameThatExists) {
  CScheduleManager manager;
  ASSERT_TRUE(Create(manager));
  EXPECT_FALSE(Create(manager, _T(" -autofix")));
  EXPECT_EQ(Parameters(manager), _T("-schedule"));
}

TEST_F(ScheduleJobManagerTest, ParametersComeFromTheCallerTheCommandOrTheChoices) {
  struct Case {
    LPCWSTR given;
    LPCWSTR command;
    BOOL autoFix, shutDown;
    LPCWSTR expected;
  };
  const Case cases[] = {
      {_T(""), _T(""), FALSE, FALSE, _T("-schedule")},
      {_T(""), _T(""), TRUE, FALSE, _T(" -autofix")},
      {_T(""), _T(""), TRUE, TRUE, _T(" -shutdown")},
      {_T(""), _T("-custom"), TRUE, TRUE, _T("-custom")},
      {_T("-given"), _T("-custom"), TRUE, FALSE, _T("-given")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    CScheduleManager manager;
    manager.SetCommandText(c.command);
    manager.SetScanChoices(c.autoFix, c.shutDown);
    ASSERT_TRUE(Create(manager, c.given));
    EXPECT_EQ(Parameters(manager), c.expected);
    EXPECT_EQ(manager.DeleteTask(kJob), 1);
  }
}

TEST_F(ScheduleJobManagerTest, SetTaskTriggerLeavesExactlyTheNewTrigger) {
  CScheduleManager manager;
  ASSERT_TRUE(Create(manager));
  ASSERT_TRUE(manager.SetTaskTrigger(kJob, TestTrigger(TASK_TIME_TRIGGER_DAILY, 3, 4)));
  ASSERT_TRUE(manager.SetTaskTrigger(kJob, TestTrigger(TASK_TIME_TRIGGER_WEEKLY, 14, 30)));
  std::vector<BYTE> expected = Hex(kCreatedJob);
  expected.resize(expected.size() - 2);  // the trigger count follows
  const std::vector<BYTE> trigger = Hex(kWeeklyTrigger);
  expected.insert(expected.end(), trigger.begin(), trigger.end());
  EXPECT_EQ(JobBytesWithoutId(), expected);
  TASK_TRIGGER read{};
  EXPECT_EQ(manager.GetTaskTrigger(kJob, read), TASK_TIME_TRIGGER_WEEKLY);
  EXPECT_EQ(read.Type.Weekly.rgfDaysOfTheWeek, TASK_SUNDAY | TASK_SATURDAY);
}

TEST_F(ScheduleJobManagerTest, ARefusedTriggerKeepsTheOldOne) {
  CScheduleManager manager;
  ASSERT_TRUE(Replace(manager, TestTrigger(TASK_TIME_TRIGGER_DAILY, 3, 4)));
  const std::vector<BYTE> before = JobBytes();
  TASK_TRIGGER noDays = TestTrigger(TASK_TIME_TRIGGER_WEEKLY, 5, 0);
  noDays.Type.Weekly.rgfDaysOfTheWeek = 0;
  TASK_TRIGGER badHour = TestTrigger(TASK_TIME_TRIGGER_DAILY, 24, 0);
  for (const TASK_TRIGGER& refused : {noDays, badHour}) {
    EXPECT_FALSE(manager.SetTaskTrigger(kJob, refused));
    EXPECT_FALSE(Replace(manager, refused, _T("C:\\Other\\y.exe")));
    EXPECT_EQ(JobBytes(), before);
  }
}

TEST_F(ScheduleJobManagerTest, ReplaceTaskCreatesOrChangesTheJobInOneSave) {
  CScheduleManager manager;
  ASSERT_TRUE(Replace(manager, TestTrigger(TASK_TIME_TRIGGER_WEEKLY, 14, 30)));
  std::vector<BYTE> expected = Hex(kCreatedJob);
  expected.resize(expected.size() - 2);
  const std::vector<BYTE> trigger = Hex(kWeeklyTrigger);
  expected.insert(expected.end(), trigger.begin(), trigger.end());
  EXPECT_EQ(JobBytesWithoutId(), expected);

  manager.SetScanChoices(TRUE, FALSE);
  ASSERT_TRUE(Replace(manager, TestTrigger(TASK_TIME_TRIGGER_DAILY, 6, 0)));
  TASK_TRIGGER read{};
  CString parameters;
  EXPECT_EQ(manager.GetTaskTrigger(kJob, read, &parameters), TASK_TIME_TRIGGER_DAILY);
  EXPECT_EQ(parameters, _T(" -autofix"));
  EXPECT_EQ(read.wStartHour, 6);
}

TEST_F(ScheduleJobManagerTest, ASetterTheTaskSchedulerRefusesDoesNotStopTheJob) {
  struct Case {
    LPCWSTR comment;
    LPCWSTR workingFolder;
  };
  // The Task Scheduler refuses a missing text; the job is written with what was taken.
  const Case cases[] = {{nullptr, _T("C:\\P")}, {_T("Job"), nullptr}, {nullptr, nullptr}};
  for (const Case& c : cases) {
    CScheduleManager manager;
    manager.DeleteTask(kJob);
    ASSERT_TRUE(manager.ReplaceTask(kJob, c.comment, _T(""), _T("C:\\P\\z.exe"), c.workingFolder,
                                    TestTrigger(TASK_TIME_TRIGGER_DAILY, 6, 0)));
    TASK_TRIGGER read{};
    CString parameters;
    EXPECT_EQ(manager.GetTaskTrigger(kJob, read, &parameters), TASK_TIME_TRIGGER_DAILY);
    EXPECT_EQ(parameters, _T("-schedule"));
    manager.DeleteTask(kJob);
    EXPECT_TRUE(manager.CreateTask(kJob, c.comment, _T(""), _T("C:\\P\\z.exe"), c.workingFolder));
  }
}

TEST_F(ScheduleJobManagerTest, ReplaceTaskWithoutAdministratorKeepsTheJob) {
  CScheduleManager manager;
  ASSERT_TRUE(Replace(manager, TestTrigger(TASK_TIME_TRIGGER_DAILY, 3, 4)));
  const std::vector<BYTE> before = JobBytes();
  SetAdministrator(false);
  EXPECT_FALSE(Replace(manager, TestTrigger(TASK_TIME_TRIGGER_WEEKLY, 14, 30)));
  EXPECT_EQ(JobBytes(), before);
}

TEST_F(ScheduleJobManagerTest, ReplaceTaskWhoseSaveFailsKeepsTheJob) {
  CScheduleManager manager;
  ASSERT_TRUE(Replace(manager, TestTrigger(TASK_TIME_TRIGGER_DAILY, 3, 4)));
  const std::vector<BYTE> before = JobBytes();
  // The strings of a job must fit its 16-bit offsets: this application name does not.
  const CString huge(_T('x'), 40000);
  EXPECT_FALSE(Replace(manager, TestTrigger(TASK_TIME_TRIGGER_WEEKLY, 14, 30), huge));
  EXPECT_EQ(JobBytes(), before);
}

TEST_F(ScheduleJobManagerTest, ReplaceTaskPutsANewJobInPlaceOfADamagedFile) {
  WriteHostFile(JobPath(), std::string("\x01\x05\x01\x00garbage", 11));
  CScheduleManager manager;
  TASK_TRIGGER read{};
  EXPECT_EQ(manager.GetTaskTrigger(kJob, read), -1);
  ASSERT_TRUE(Replace(manager, TestTrigger(TASK_TIME_TRIGGER_DAILY, 3, 4)));
  EXPECT_EQ(manager.GetTaskTrigger(kJob, read), TASK_TIME_TRIGGER_DAILY);
}

TEST_F(ScheduleJobManagerTest, GetTaskTriggerAnswersMinusOneForEveryFailure) {
  CScheduleManager manager;
  TASK_TRIGGER read{};
  EXPECT_EQ(manager.GetTaskTrigger(kJob, read), -1);  // no such job
  ASSERT_TRUE(Create(manager));
  EXPECT_EQ(manager.GetTaskTrigger(kJob, read), -1);  // no trigger
  EXPECT_EQ(read.cbTriggerSize, sizeof(TASK_TRIGGER));
  ASSERT_TRUE(manager.SetTaskTrigger(kJob, TestTrigger(TASK_TIME_TRIGGER_ONCE, 3, 4)));
  EXPECT_EQ(manager.GetTaskTrigger(kJob, read), TASK_TIME_TRIGGER_ONCE);

  // A Task Scheduler that cannot be reached is a failure, not a one-time trigger.
  if (!g_realScheduler) {
    ASSERT_EQ(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                               reinterpret_cast<void**>(&g_realScheduler)),
              S_OK);
  }
  zx::com::RegisterClassFactory(CLSID_CTaskScheduler, SwitchableScheduler);
  g_schedulerUnreachable = true;
  CString parameters;
  EXPECT_EQ(manager.GetTaskTrigger(kJob, read, &parameters), -1);
  EXPECT_FALSE(manager.TaskExists(kJob));
  EXPECT_EQ(manager.GetNextRunTimeText(kJob), _T(""));
  EXPECT_EQ(manager.DeleteTask(kJob), 0);
  g_schedulerUnreachable = false;
  EXPECT_EQ(manager.GetTaskTrigger(kJob, read), TASK_TIME_TRIGGER_ONCE);
}

TEST_F(ScheduleJobManagerTest, NextRunTextIsEmptyWithoutAComingRun) {
  CScheduleManager manager;
  EXPECT_EQ(manager.GetNextRunTimeText(kJob), _T(""));
  ASSERT_TRUE(Create(manager));
  EXPECT_EQ(manager.GetNextRunTimeText(kJob), _T(""));  // no trigger
  ASSERT_TRUE(manager.SetTaskTrigger(kJob, TestTrigger(TASK_TIME_TRIGGER_DAILY, 3, 4)));
  EXPECT_EQ(manager.GetNextRunTimeText(kJob), _T("Jan 01, 2000 03:04:00 hours"));
  clock_.Advance(4 * 3600 * 1000);  // past today's run
  EXPECT_EQ(manager.GetNextRunTimeText(kJob), _T("Jan 02, 2000 03:04:00 hours"));
  // A one-time run already past has no next run: its time has year 0.
  ASSERT_TRUE(manager.SetTaskTrigger(kJob, TestTrigger(TASK_TIME_TRIGGER_ONCE, 3, 4)));
  EXPECT_EQ(manager.GetNextRunTimeText(kJob), _T(""));
}

TEST_F(ScheduleJobManagerTest, DeleteTaskWithoutANameDeletesTheProgramsJob) {
  CHalvoranApp app(_T("Tunevo"), _T("qvx.ini"));
  CScheduleManager manager;
  ASSERT_TRUE(manager.CreateTask(_T("Tunevo"), _T("Tunevo"), _T(""), _T("C:\\P\\z.exe"), _T("C:\\P")));
  ASSERT_TRUE(Create(manager));
  EXPECT_EQ(manager.DeleteTask(_T("")), 1);
  EXPECT_FALSE(manager.TaskExists(_T("Tunevo")));
  EXPECT_TRUE(manager.TaskExists(kJob));
  EXPECT_EQ(manager.DeleteTask(nullptr), 0);  // nothing left of that name
  EXPECT_EQ(manager.DeleteTask(kJob), 1);
  EXPECT_FALSE(std::filesystem::exists(JobPath()));
}

}  // namespace
}  // namespace zx::test
