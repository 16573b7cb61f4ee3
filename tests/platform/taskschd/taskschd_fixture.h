// Test support for the Task Scheduler objects: a fresh machine on the test clock (UTC,
// 2000-01-01 00:00) with COM started and a scheduler object, and helpers that write job files.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "machine_fixture.h"
#include "mstask.h"
#include "objbase.h"
#include "zx/clock.h"
#include "zx/jobfile.h"

namespace zx::test {

using zx::taskschd::Job;

inline std::vector<std::uint8_t> Serialized(const Job& job) {
  std::vector<std::uint8_t> bytes = zx::taskschd::SerializeJob(job);
  EXPECT_FALSE(bytes.empty());
  return bytes;
}

inline TASK_TRIGGER TriggerOf(TASK_TRIGGER_TYPE type, WORD year, WORD month, WORD day, WORD hour, WORD minute) {
  TASK_TRIGGER trigger{};
  trigger.cbTriggerSize = sizeof trigger;
  trigger.TriggerType = type;
  trigger.wBeginYear = year;
  trigger.wBeginMonth = month;
  trigger.wBeginDay = day;
  trigger.wStartHour = hour;
  trigger.wStartMinute = minute;
  return trigger;
}

class TaskSchedulerTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    zx::SetClock(&clock_);  // 2000-01-01 00:00:00
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_EQ(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                               reinterpret_cast<void**>(&scheduler_)),
              S_OK);
  }
  void TearDown() override {
    if (scheduler_) scheduler_->Release();
    CoUninitialize();
    zx::SetClock(nullptr);
  }
  void WriteJob(const std::string& fileName, const std::vector<std::uint8_t>& bytes) {
    WriteHostFile(root() + "/drive_c/Windows/Tasks/" + fileName,
                  std::string(bytes.begin(), bytes.end()));
  }
  void WriteJob(const std::string& name, const Job& job) { WriteJob(name + ".job", Serialized(job)); }
  ITask* Activate(const char16_t* name, HRESULT* result = nullptr) {
    IUnknown* unknown = nullptr;
    const HRESULT hr = scheduler_->Activate(name, IID_ITask, &unknown);
    if (result) *result = hr;
    return static_cast<ITask*>(static_cast<IScheduledWorkItem*>(reinterpret_cast<ITask*>(unknown)));
  }
  // The next run of a job with these triggers, and the status it came with.
  HRESULT NextRun(std::vector<TASK_TRIGGER> triggers, SYSTEMTIME& next, DWORD flags = 0) {
    Job job;
    job.triggers = std::move(triggers);
    job.flags = flags;
    WriteJob("Next", job);
    ITask* task = Activate(u"Next");
    EXPECT_NE(task, nullptr);
    if (!task) return E_FAIL;
    const HRESULT hr = task->GetNextRunTime(&next);
    task->Release();
    return hr;
  }
  zx::ManualClock clock_;
  ITaskScheduler* scheduler_ = nullptr;
};

}  // namespace zx::test
