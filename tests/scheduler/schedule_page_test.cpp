// The schedule page against the job files of the machine's Tasks folder, through clicks and
// keys on the test clock: once, every day and every week written and read back, a week
// without days and a one-time run in the past refused with the old job kept, removing the
// schedule, a trigger of another kind, a failed save, and the look of a page without a job.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "DlgSchedule.h"
#include "HalvoranApp.h"
#include "ScheduleJobManager.h"
#include "cstring_printer.h"
#include "job_triggers.h"
#include "objbase.h"
#include "pages_testing.h"
#include "profileapi.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

constexpr LPCWSTR kJob = _T("Zephrin Tunevo");

constexpr char kScheduleTexts[] =
    "[Tunevo]\r\nIDS_SCHEDULE_SCAN=Scheduled scan\r\nIDS_APPLY=Apply\r\n"
    "IDS_SCHED_HELP_PROPER=Let the program scan your drivers at a time that suits you.\r\n"
    "IDS_SELC_SCHE_TYPE=How often:\r\nIDS_DATETIME=Date and time\r\nIDS_WEEKDAYS=Days of the week\r\n"
    "IDS_SHINFO=Scheduled scan.\r\nIDS_SCHEDULE_DESCRIPTION=The program scans on its own.\r\n"
    "IDS_RUNONCE=Once\r\nIDS_EVERYDAY=Every day\r\nIDS_EVERYWEEK=Every week\r\nIDS_DONTSCHEDULE=Not scheduled\r\n"
    "IDS_SUNDAY=Sun\r\nIDS_MONDAY=Mon\r\nIDS_TUESDAY=Tue\r\nIDS_WEDNESDAY=Wed\r\nIDS_THURSDAY=Thu\r\n"
    "IDS_FRIDAY=Fri\r\nIDS_SATURDAY=Sat\r\nSCAN_NOT_SCHEDLUE=No scan is scheduled.\r\n"
    "IDS_WEEK_DAYS=Choose at least one day.\r\nIDS_TIME_ELAPSED=That time has passed.\r\n"
    "IDS_SETTINGS_SAVED=The schedule is saved.\r\nIDS_UNABLE_SAVE_SETTING=The schedule could not be saved.\r\n";

class SchedulePage : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    std::ofstream(LanguageFile()) << kScheduleTexts;
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    g_strAppName = u"Zephrin Tunevo";
    SetAdministrator(true);
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  }
  void TearDown() override {
    page_.reset();
    CoUninitialize();
    g_strAppName.Empty();
    PageTest::TearDown();
  }
  void SetAdministrator(bool administrator) {
    const std::u16string ini = zx::path::HostToWindows(root() + "/machine.ini");
    WritePrivateProfileStringW(u"Machine", u"Administrator", administrator ? u"1" : u"0", ini.c_str());
  }
  std::string JobPath() const { return root() + "/drive_c/Windows/Tasks/Zephrin Tunevo.job"; }
  std::string JobBytes() const { return ReadHostFile(JobPath()); }
  // A fresh page, as when the host shows it.
  void Open() {
    page_ = std::make_unique<CDlgSchedule>();
    ASSERT_TRUE(page_->Create(CDlgSchedule::kTemplateId, &host_));
    page_->ShowWindow(SW_SHOW);
    Pump();
  }
  void Reopen() {
    page_.reset();
    Open();
  }
  void Press(UINT id) { PageTest::Press(*page_, id); }
  bool Checked(UINT id) { return page_->IsDlgButtonChecked(id) == BST_CHECKED; }
  bool Enabled(UINT id) { return PageTest::Enabled(*page_, id); }
  CString Text(UINT id) {
    CString text;
    page_->GetDlgItemText(id, text);
    return text;
  }
  // Clicks the picker, chooses its field (0 the first) and steps it up (or down) by keys.
  void StepPicker(UINT id, int field, int steps) {
    Press(id);
    Tap(VK_HOME);
    for (int i = 0; i < field; ++i) Tap(VK_RIGHT);
    for (int i = 0; i < std::abs(steps); ++i) Tap(steps > 0 ? VK_UP : VK_DOWN);
    Pump();
  }
  // Presses Apply and answers the message box, which must show the text.
  void Apply(const char* expected) {
    CString shown;
    AnswerBox(0, &shown);
    Press(CDlgSchedule::kApplyId);
    ExpectAllStepsRan();
    EXPECT_GE(shown.Find(CString(expected)), 0) << ::testing::PrintToString(shown);
  }
  static int ReadTrigger(TASK_TRIGGER& trigger) {
    CScheduleManager jobs;
    return jobs.GetTaskTrigger(kJob, trigger);
  }
  // A job of the program with this trigger, made as another program would.
  static void MakeJob(const TASK_TRIGGER& trigger) {
    CScheduleManager jobs;
    ASSERT_TRUE(jobs.ReplaceTask(kJob, kJob, _T(""), _T("C:\\P\\z.exe"), _T("C:\\P"), trigger));
  }

  std::unique_ptr<CDlgSchedule> page_;
};

TEST_F(SchedulePage, WithoutAJobNothingIsScheduled) {
  Open();
  EXPECT_EQ(page_->GetScheduleState(), CDlgSchedule::kNotScheduled);
  EXPECT_TRUE(Checked(CDlgSchedule::kNotScheduledId));
  EXPECT_EQ(Text(CDlgSchedule::kNextRunId), CString(_T("No scan is scheduled.")));
  EXPECT_FALSE(Enabled(CDlgSchedule::kApplyId));
  EXPECT_FALSE(Enabled(CDlgSchedule::kTimeId));
  EXPECT_FALSE(Enabled(CDlgSchedule::kDateId));
  EXPECT_FALSE(Enabled(CDlgSchedule::kSundayId));
  ExpectWindowMatches(page_->m_hWnd, "schedule_none.png");
}

// Each radio enables exactly the controls its schedule uses, and Apply.
TEST_F(SchedulePage, RadiosEnableTheirControls) {
  struct Case {
    UINT radio;
    int state;
    bool days, date, time;
  };
  const Case cases[] = {{CDlgSchedule::kRunOnceId, CDlgSchedule::kOnce, false, true, true},
                        {CDlgSchedule::kEveryDayId, CDlgSchedule::kEveryDay, false, false, true},
                        {CDlgSchedule::kEveryWeekId, CDlgSchedule::kEveryWeek, true, false, true},
                        {CDlgSchedule::kNotScheduledId, CDlgSchedule::kNotScheduled, false, false, false}};
  Open();
  for (const Case& c : cases) {
    Press(c.radio);
    EXPECT_EQ(page_->GetScheduleState(), c.state) << c.radio;
    EXPECT_EQ(Enabled(CDlgSchedule::kSaturdayId), c.days) << c.radio;
    EXPECT_EQ(Enabled(CDlgSchedule::kDateId), c.date) << c.radio;
    EXPECT_EQ(Enabled(CDlgSchedule::kTimeId), c.time) << c.radio;
    EXPECT_TRUE(Enabled(CDlgSchedule::kApplyId)) << c.radio;
  }
}

// After a job is read back, a day box or a picker change alone enables Apply.
TEST_F(SchedulePage, ADayOrAPickerChangeEnablesApply) {
  TASK_TRIGGER weekly = TestTrigger(TASK_TIME_TRIGGER_DAILY, 3, 0);
  weekly.TriggerType = TASK_TIME_TRIGGER_WEEKLY;
  weekly.Type.Weekly.WeeksInterval = 1;
  weekly.Type.Weekly.rgfDaysOfTheWeek = TASK_MONDAY;
  MakeJob(weekly);
  Open();
  EXPECT_FALSE(Enabled(CDlgSchedule::kApplyId));
  Press(CDlgSchedule::kSundayId + 5);
  EXPECT_TRUE(Enabled(CDlgSchedule::kApplyId));
  Reopen();
  EXPECT_FALSE(Enabled(CDlgSchedule::kApplyId));
  StepPicker(CDlgSchedule::kTimeId, 1, 1);
  EXPECT_TRUE(Enabled(CDlgSchedule::kApplyId));
  EXPECT_EQ(Text(CDlgSchedule::kTimeId), CString(_T("03:01")));
}

TEST_F(SchedulePage, OnceIsWrittenAndReadBack) {
  Open();
  Press(CDlgSchedule::kRunOnceId);
  StepPicker(CDlgSchedule::kDateId, 1, 1);     // the day: 1/2/2000
  StepPicker(CDlgSchedule::kTimeId, 0, 14);    // 14:00
  StepPicker(CDlgSchedule::kTimeId, 1, -30);   // 14:30
  Apply("The schedule is saved.");
  TASK_TRIGGER trigger{};
  ASSERT_EQ(ReadTrigger(trigger), TASK_TIME_TRIGGER_ONCE);
  EXPECT_EQ(trigger.wBeginYear, 2000);
  EXPECT_EQ(trigger.wBeginMonth, 1);
  EXPECT_EQ(trigger.wBeginDay, 2);
  EXPECT_EQ(trigger.wStartHour, 14);
  EXPECT_EQ(trigger.wStartMinute, 30);
  EXPECT_FALSE(Enabled(CDlgSchedule::kApplyId));

  Reopen();
  EXPECT_TRUE(Checked(CDlgSchedule::kRunOnceId));
  EXPECT_EQ(Text(CDlgSchedule::kDateId), CString(_T("1/2/2000")));
  EXPECT_EQ(Text(CDlgSchedule::kTimeId), CString(_T("14:30")));
  EXPECT_EQ(Text(CDlgSchedule::kNextRunId), CString(_T("Jan 02, 2000 14:30:00 hours")));
}

TEST_F(SchedulePage, EveryDayIsWrittenAndReadBack) {
  Open();
  Press(CDlgSchedule::kEveryDayId);
  StepPicker(CDlgSchedule::kTimeId, 0, 9);
  StepPicker(CDlgSchedule::kTimeId, 1, 15);
  Apply("The schedule is saved.");
  TASK_TRIGGER trigger{};
  ASSERT_EQ(ReadTrigger(trigger), TASK_TIME_TRIGGER_DAILY);
  EXPECT_EQ(trigger.Type.Daily.DaysInterval, 1);
  EXPECT_EQ(trigger.wBeginDay, 1);
  EXPECT_EQ(trigger.wStartHour, 9);
  EXPECT_EQ(trigger.wStartMinute, 15);

  Reopen();
  EXPECT_TRUE(Checked(CDlgSchedule::kEveryDayId));
  EXPECT_FALSE(Checked(CDlgSchedule::kNotScheduledId));
  EXPECT_EQ(Text(CDlgSchedule::kTimeId), CString(_T("09:15")));
  EXPECT_EQ(Text(CDlgSchedule::kNextRunId), CString(_T("Jan 01, 2000 09:15:00 hours")));
}

// Sunday and Saturday, the two ends of the week-day mask, come back as exactly those boxes.
TEST_F(SchedulePage, EveryWeekKeepsExactlyTheCheckedDays) {
  Open();
  Press(CDlgSchedule::kEveryWeekId);
  Press(CDlgSchedule::kSundayId);
  Press(CDlgSchedule::kSaturdayId);
  StepPicker(CDlgSchedule::kTimeId, 0, 6);
  Apply("The schedule is saved.");
  TASK_TRIGGER trigger{};
  ASSERT_EQ(ReadTrigger(trigger), TASK_TIME_TRIGGER_WEEKLY);
  EXPECT_EQ(trigger.Type.Weekly.rgfDaysOfTheWeek, TASK_SUNDAY | TASK_SATURDAY);
  EXPECT_EQ(trigger.Type.Weekly.WeeksInterval, 1);
  EXPECT_EQ(trigger.wStartHour, 6);

  Reopen();
  EXPECT_TRUE(Checked(CDlgSchedule::kEveryWeekId));
  for (UINT day = CDlgSchedule::kSundayId; day <= CDlgSchedule::kSaturdayId; ++day)
    EXPECT_EQ(Checked(day), day == CDlgSchedule::kSundayId || day == CDlgSchedule::kSaturdayId) << day;
}

TEST_F(SchedulePage, AWeekWithoutDaysKeepsTheJob) {
  MakeJob(TestTrigger(TASK_TIME_TRIGGER_DAILY, 3, 0));
  const std::string before = JobBytes();
  Open();
  Press(CDlgSchedule::kEveryWeekId);
  Apply("Choose at least one day.");
  EXPECT_EQ(JobBytes(), before);
}

// A one-time run whose minute has passed is refused before the job is touched.
TEST_F(SchedulePage, APastOneTimeRunKeepsTheJob) {
  MakeJob(TestTrigger(TASK_TIME_TRIGGER_DAILY, 3, 0));
  const std::string before = JobBytes();
  Open();
  Press(CDlgSchedule::kRunOnceId);
  StepPicker(CDlgSchedule::kTimeId, 0, -3);  // today at 00:00, read back as 03:00
  clock_.Advance(2 * 60 * 1000);
  Apply("That time has passed.");
  EXPECT_EQ(JobBytes(), before);
  EXPECT_TRUE(Enabled(CDlgSchedule::kApplyId));
}

TEST_F(SchedulePage, NotScheduledRemovesTheJob) {
  MakeJob(TestTrigger(TASK_TIME_TRIGGER_DAILY, 3, 0));
  Open();
  EXPECT_TRUE(Checked(CDlgSchedule::kEveryDayId));
  Press(CDlgSchedule::kNotScheduledId);
  Apply("The schedule is saved.");
  EXPECT_FALSE(std::filesystem::exists(JobPath()));
  EXPECT_TRUE(Checked(CDlgSchedule::kNotScheduledId));
  EXPECT_EQ(Text(CDlgSchedule::kNextRunId), CString(_T("No scan is scheduled.")));
}

// A monthly trigger is none of the page's choices: not scheduled, with its next run shown.
TEST_F(SchedulePage, AForeignTriggerReadsAsNotScheduledWithItsNextRun) {
  TASK_TRIGGER monthly = TestTrigger(TASK_TIME_TRIGGER_DAILY, 10, 0);
  monthly.TriggerType = TASK_TIME_TRIGGER_MONTHLYDATE;
  monthly.Type.MonthlyDate.rgfDays = 1 << 4;  // the 5th
  monthly.Type.MonthlyDate.rgfMonths = 0xFFF;
  MakeJob(monthly);
  Open();
  EXPECT_TRUE(Checked(CDlgSchedule::kNotScheduledId));
  EXPECT_EQ(page_->GetScheduleState(), CDlgSchedule::kNotScheduled);
  EXPECT_EQ(Text(CDlgSchedule::kNextRunId), CString(_T("Jan 05, 2000 10:00:00 hours")));
}

// A save the Task Scheduler refuses says so and keeps the old schedule.
TEST_F(SchedulePage, AFailedSaveKeepsTheOldJob) {
  MakeJob(TestTrigger(TASK_TIME_TRIGGER_DAILY, 3, 0));
  const std::string before = JobBytes();
  SetAdministrator(false);
  Open();
  Press(CDlgSchedule::kEveryWeekId);
  Press(CDlgSchedule::kSundayId + 1);
  Apply("The schedule could not be saved.");
  EXPECT_EQ(JobBytes(), before);
  EXPECT_TRUE(Enabled(CDlgSchedule::kApplyId));
}

// The scan switch of the job is kept by a page that does not show the choices.
TEST_F(SchedulePage, TheJobsAutoFixChoiceIsKept) {
  CScheduleManager jobs;
  jobs.SetScanChoices(TRUE, FALSE);
  ASSERT_TRUE(
      jobs.ReplaceTask(kJob, kJob, _T(""), _T("C:\\P\\z.exe"), _T("C:\\P"), TestTrigger(TASK_TIME_TRIGGER_DAILY, 3, 0)));
  Open();
  EXPECT_TRUE(Checked(CDlgSchedule::kAutoFixId));
  EXPECT_FALSE(Checked(CDlgSchedule::kShutDownId));
  StepPicker(CDlgSchedule::kTimeId, 0, 1);
  Apply("The schedule is saved.");
  TASK_TRIGGER trigger{};
  CString parameters;
  ASSERT_EQ(jobs.GetTaskTrigger(kJob, trigger, &parameters), TASK_TIME_TRIGGER_DAILY);
  EXPECT_EQ(parameters, CString(_T(" -autofix")));
  EXPECT_EQ(trigger.wStartHour, 4);
}

// The boxes are hidden in the product's pane, yet a click that reaches them still sets the
// choices the next save writes; shut-down comes only with auto-fix.
TEST_F(SchedulePage, TheChoiceBoxesSetTheScanSwitch) {
  struct Case {
    std::vector<std::pair<UINT, bool>> clicks;  // box and the check it is clicked into
    const char16_t* parameters;
    bool shutDownEnabled;
  };
  const Case cases[] = {
      {{{CDlgSchedule::kAutoFixId, true}}, u" -autofix", true},
      {{{CDlgSchedule::kAutoFixId, true}, {CDlgSchedule::kShutDownId, true}}, u" -shutdown", true},
      {{{CDlgSchedule::kAutoFixId, true}, {CDlgSchedule::kShutDownId, true}, {CDlgSchedule::kAutoFixId, false}},
       u"-schedule", false},
  };
  for (const Case& c : cases) {
    Open();
    Press(CDlgSchedule::kEveryDayId);
    for (const auto& [id, check] : c.clicks) {
      page_->CheckDlgButton(id, check ? BST_CHECKED : BST_UNCHECKED);
      page_->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(page_->GetDlgItem(id)->m_hWnd));
    }
    EXPECT_EQ(Enabled(CDlgSchedule::kShutDownId), c.shutDownEnabled);
    EXPECT_FALSE(page_->GetDlgItem(CDlgSchedule::kShutDownId)->IsWindowVisible());
    Apply("The schedule is saved.");
    TASK_TRIGGER trigger{};
    CString parameters;
    CScheduleManager jobs;
    ASSERT_EQ(jobs.GetTaskTrigger(kJob, trigger, &parameters), TASK_TIME_TRIGGER_DAILY);
    EXPECT_EQ(parameters, CString(c.parameters));
    // The description ends with the next run.
    EXPECT_EQ(Text(CDlgSchedule::kDescriptionId),
              CString(_T("Scheduled scan. The program scans on its own. ")) + Text(CDlgSchedule::kNextRunId));
  }
}

}  // namespace
}  // namespace zx::test
