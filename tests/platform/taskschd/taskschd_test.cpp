// The Task Scheduler objects: a trigger record read back byte for byte against a hand-written
// vector, lookups of jobs by name, damaged job files refused, and next run times of every
// trigger type on the test clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>

#include "taskschd_fixture.h"

namespace {

using zx::taskschd::Job;
using zx::test::Serialized;

// A weekly trigger: every week on Tuesday, from 2030-03-05 at 14:30, no end, flags 0.
const std::uint8_t kWeeklyTrigger[48] = {
    0x30, 0x00, 0x00, 0x00, 0xEE, 0x07, 0x03, 0x00, 0x05, 0x00, 0x00, 0x00,  // size, begin
    0x00, 0x00, 0x00, 0x00, 0x0E, 0x00, 0x1E, 0x00, 0x00, 0x00, 0x00, 0x00,  // end, 14:30
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,  // flags, weekly
    0x01, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}; // 1 week, Tuesday

using zx::test::TaskSchedulerTest;
using zx::test::TriggerOf;

TEST_F(TaskSchedulerTest, TriggerRecordReadsBackByteForByte) {
  Job job;
  job.applicationName = u"C:\\Program Files\\Zephrin\\zephrinkx.exe";
  job.parameters = u"-schedule";
  TASK_TRIGGER trigger;
  std::memcpy(&trigger, kWeeklyTrigger, sizeof trigger);
  job.triggers.push_back(trigger);
  WriteJob("Weekly Scan", job);

  ITask* task = Activate(u"weekly scan");  // names are matched without regard to case
  ASSERT_NE(task, nullptr);
  WORD count = 0;
  ASSERT_EQ(task->GetTriggerCount(&count), S_OK);
  EXPECT_EQ(count, 1);
  ITaskTrigger* read = nullptr;
  ASSERT_EQ(task->GetTrigger(0, &read), S_OK);
  TASK_TRIGGER back{};
  ASSERT_EQ(read->GetTrigger(&back), S_OK);
  read->Release();
  EXPECT_EQ(std::memcmp(&back, kWeeklyTrigger, sizeof back), 0);
  EXPECT_EQ(back.TriggerType, TASK_TIME_TRIGGER_WEEKLY);
  EXPECT_EQ(back.wBeginYear, 2030);
  EXPECT_EQ(back.Type.Weekly.rgfDaysOfTheWeek, TASK_TUESDAY);
  EXPECT_EQ(task->GetTrigger(1, &read), SCHED_E_TRIGGER_NOT_FOUND);
  LPWSTR parameters = nullptr;
  ASSERT_EQ(task->GetParameters(&parameters), S_OK);
  EXPECT_EQ(std::u16string(parameters), u"-schedule");
  CoTaskMemFree(parameters);
  task->Release();
}

TEST_F(TaskSchedulerTest, JobFileLaysOutItsSections) {
  Job job;
  job.applicationName = u"a";
  TASK_TRIGGER trigger;
  std::memcpy(&trigger, kWeeklyTrigger, sizeof trigger);
  job.triggers.push_back(trigger);
  const std::vector<std::uint8_t> bytes = Serialized(job);
  // 68 fixed bytes, instances (2), "a" (2 + 4), four empty strings (8), user data (2),
  // reserved data (2 + 8), trigger count (2), one trigger (48).
  ASSERT_EQ(bytes.size(), 68u + 2 + 6 + 8 + 2 + 10 + 2 + 48);
  EXPECT_EQ(bytes[2], 1);     // file version
  EXPECT_EQ(bytes[20], 70);   // application name count offset
  EXPECT_EQ(bytes[22], 96);   // trigger count offset
  EXPECT_EQ(bytes[70], 2);    // "a" and its terminator
  EXPECT_EQ(bytes[72], 'a');
  EXPECT_EQ(bytes[96], 1);    // one trigger
  EXPECT_EQ(std::memcmp(bytes.data() + 98, kWeeklyTrigger, 48), 0);
}

TEST_F(TaskSchedulerTest, MissingJobAndBadNamesFail) {
  HRESULT hr = S_OK;
  EXPECT_EQ(Activate(u"Nothing", &hr), nullptr);
  EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  for (const char16_t* bad : {u"", u"..", u"..\\..\\x", u"a/b", u"c:x"}) {
    EXPECT_EQ(Activate(bad, &hr), nullptr);
    EXPECT_EQ(hr, E_INVALIDARG) << std::string(bad, bad + std::char_traits<char16_t>::length(bad));
  }
}

TEST_F(TaskSchedulerTest, DamagedJobFilesAreRefusedWhole) {
  Job job;
  job.applicationName = u"app";
  job.triggers.push_back(TriggerOf(TASK_TIME_TRIGGER_DAILY, 2000, 1, 1, 8, 0));
  const std::vector<std::uint8_t> bytes = Serialized(job);
  HRESULT hr = S_OK;
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    WriteJob("Cut.job", std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + length));
    EXPECT_EQ(Activate(u"Cut", &hr), nullptr) << length;
    EXPECT_TRUE(FAILED(hr)) << length;
  }
  std::vector<std::uint8_t> version = bytes;
  version[2] = 2;
  WriteJob("Version.job", version);
  EXPECT_EQ(Activate(u"Version", &hr), nullptr);
  EXPECT_EQ(hr, SCHED_E_UNKNOWN_OBJECT_VERSION);
  std::vector<std::uint8_t> size = bytes;
  size[bytes.size() - 48] = 47;  // the trigger's size field
  WriteJob("Size.job", size);
  EXPECT_EQ(Activate(u"Size", &hr), nullptr);
  EXPECT_EQ(hr, SCHED_E_INVALID_TASK);
  std::vector<std::uint8_t> unterminated = bytes;
  unterminated[70 + 2 + 6] = 'x';  // the terminator of "app"
  WriteJob("Open.job", unterminated);
  EXPECT_EQ(Activate(u"Open", &hr), nullptr);
  EXPECT_EQ(hr, SCHED_E_INVALID_TASK);
}

TEST_F(TaskSchedulerTest, NextRunOfEachTimeTrigger) {
  SYSTEMTIME next{};
  ASSERT_EQ(NextRun({TriggerOf(TASK_TIME_TRIGGER_ONCE, 2030, 3, 5, 14, 30)}, next), S_OK);
  EXPECT_EQ(std::tuple(next.wYear, next.wMonth, next.wDay, next.wHour, next.wMinute),
            std::tuple(2030, 3, 5, 14, 30));

  TASK_TRIGGER daily = TriggerOf(TASK_TIME_TRIGGER_DAILY, 1999, 12, 30, 10, 0);
  daily.Type.Daily.DaysInterval = 2;
  ASSERT_EQ(NextRun({daily}, next), S_OK);
  EXPECT_EQ(std::tuple(next.wYear, next.wMonth, next.wDay, next.wHour), std::tuple(2000, 1, 1, 10));

  TASK_TRIGGER weekly = TriggerOf(TASK_TIME_TRIGGER_WEEKLY, 2000, 1, 1, 9, 0);  // a Saturday
  weekly.Type.Weekly = {1, TASK_TUESDAY};
  ASSERT_EQ(NextRun({weekly}, next), S_OK);
  EXPECT_EQ(std::tuple(next.wMonth, next.wDay, next.wDayOfWeek), std::tuple(1, 4, 2));

  TASK_TRIGGER byDate = TriggerOf(TASK_TIME_TRIGGER_MONTHLYDATE, 1999, 1, 1, 0, 0);
  byDate.Type.MonthlyDate = {1u << 14, 0x0FFF};
  ASSERT_EQ(NextRun({byDate}, next), S_OK);
  EXPECT_EQ(std::tuple(next.wMonth, next.wDay), std::tuple(1, 15));

  TASK_TRIGGER lastFriday = TriggerOf(TASK_TIME_TRIGGER_MONTHLYDOW, 1999, 1, 1, 18, 0);
  lastFriday.Type.MonthlyDOW = {TASK_LAST_WEEK, TASK_FRIDAY, TASK_JANUARY};
  ASSERT_EQ(NextRun({lastFriday}, next), S_OK);
  EXPECT_EQ(std::tuple(next.wYear, next.wMonth, next.wDay), std::tuple(2000, 1, 28));

  // Repeated every 5 minutes for 30 minutes from 23:50 yesterday: 00:05 today.
  TASK_TRIGGER repeated = TriggerOf(TASK_TIME_TRIGGER_DAILY, 1999, 12, 31, 23, 50);
  repeated.Type.Daily.DaysInterval = 1;
  repeated.MinutesInterval = 5;
  repeated.MinutesDuration = 30;
  ASSERT_EQ(NextRun({repeated}, next), S_OK);
  EXPECT_EQ(std::tuple(next.wDay, next.wHour, next.wMinute), std::tuple(1, 0, 5));
}

TEST_F(TaskSchedulerTest, EarliestTriggerWinsAndTheClockMovesIt) {
  SYSTEMTIME next{};
  TASK_TRIGGER daily = TriggerOf(TASK_TIME_TRIGGER_DAILY, 2000, 1, 1, 12, 0);
  daily.Type.Daily.DaysInterval = 1;
  ASSERT_EQ(NextRun({TriggerOf(TASK_TIME_TRIGGER_ONCE, 2000, 1, 1, 18, 0), daily}, next), S_OK);
  EXPECT_EQ(next.wHour, 12);
  clock_.Advance(13ull * 3600 * 1000);  // 13:00
  ASSERT_EQ(NextRun({TriggerOf(TASK_TIME_TRIGGER_ONCE, 2000, 1, 1, 18, 0), daily}, next), S_OK);
  EXPECT_EQ(next.wHour, 18);
}

// Within a minute the next start is the coming minute's, not the one after it.
TEST_F(TaskSchedulerTest, NextRunInTheMiddleOfAMinute) {
  SYSTEMTIME next{};
  TASK_TRIGGER everyMinute = TriggerOf(TASK_TIME_TRIGGER_DAILY, 2000, 1, 1, 0, 0);
  everyMinute.Type.Daily.DaysInterval = 1;
  everyMinute.MinutesInterval = 1;
  everyMinute.MinutesDuration = 1440;
  clock_.Advance(30 * 1000);  // 00:00:30
  ASSERT_EQ(NextRun({TriggerOf(TASK_TIME_TRIGGER_ONCE, 2000, 1, 1, 0, 1)}, next), S_OK);
  EXPECT_EQ(std::tuple(next.wHour, next.wMinute), std::tuple(0, 1));
  ASSERT_EQ(NextRun({everyMinute}, next), S_OK);
  EXPECT_EQ(std::tuple(next.wHour, next.wMinute), std::tuple(0, 1));
  clock_.Advance(30 * 1000);  // 00:01:00: that start is now, not after it
  ASSERT_EQ(NextRun({everyMinute}, next), S_OK);
  EXPECT_EQ(std::tuple(next.wHour, next.wMinute), std::tuple(0, 2));
}

TEST_F(TaskSchedulerTest, JobsWithoutAComingRun) {
  SYSTEMTIME next{};
  EXPECT_EQ(NextRun({}, next), SCHED_S_TASK_NO_VALID_TRIGGERS);
  EXPECT_EQ(next.wYear, 0);
  EXPECT_EQ(NextRun({TriggerOf(TASK_TIME_TRIGGER_ONCE, 1999, 5, 5, 8, 0)}, next), SCHED_S_TASK_NO_VALID_TRIGGERS);
  TASK_TRIGGER disabled = TriggerOf(TASK_TIME_TRIGGER_ONCE, 2030, 1, 1, 8, 0);
  disabled.rgFlags = TASK_TRIGGER_FLAG_DISABLED;
  EXPECT_EQ(NextRun({disabled}, next), SCHED_S_TASK_NO_VALID_TRIGGERS);
  TASK_TRIGGER ended = TriggerOf(TASK_TIME_TRIGGER_DAILY, 1999, 1, 1, 8, 0);
  ended.Type.Daily.DaysInterval = 1;
  ended.rgFlags = TASK_TRIGGER_FLAG_HAS_END_DATE;
  ended.wEndYear = 1999, ended.wEndMonth = 12, ended.wEndDay = 31;
  EXPECT_EQ(NextRun({ended}, next), SCHED_S_TASK_NO_VALID_TRIGGERS);
  EXPECT_EQ(NextRun({TriggerOf(TASK_EVENT_TRIGGER_AT_LOGON, 2000, 1, 1, 0, 0)}, next), SCHED_S_EVENT_TRIGGER);
  EXPECT_EQ(NextRun({TriggerOf(TASK_TIME_TRIGGER_ONCE, 2030, 1, 1, 8, 0)}, next, TASK_FLAG_DISABLED),
            SCHED_S_TASK_DISABLED);
  EXPECT_EQ(next.wYear, 0);
}

}  // namespace
