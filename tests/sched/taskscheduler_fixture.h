// Test support for the job runner: a fresh machine that child processes share, jobs written
// as files of its Tasks folder, each running the recorder program in a folder of its own.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "machine_fixture.h"
#include "mstask.h"
#include "zx/jobfile.h"
#include "zx/pathmap.h"

namespace zx::test {

using zx::taskschd::Job;

inline TASK_TRIGGER OnceAt(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
  TASK_TRIGGER trigger{};
  trigger.cbTriggerSize = sizeof trigger;
  trigger.TriggerType = TASK_TIME_TRIGGER_ONCE;
  trigger.wBeginYear = year;
  trigger.wBeginMonth = month;
  trigger.wBeginDay = day;
  trigger.wStartHour = hour;
  trigger.wStartMinute = minute;
  return trigger;
}

class RunnerTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ::setenv("ZX_MACHINE_ROOT", root().c_str(), 1);  // for the programs started
    ::setenv("TZ", "UTC", 1);
    ::tzset();
  }
  void TearDown() override { ::unsetenv("ZX_MACHINE_ROOT"); }

  std::string WorkFolder(const std::string& name) const { return root() + "/work/" + name; }
  std::string JobFile(const std::string& name) const { return root() + "/drive_c/Windows/Tasks/" + name + ".job"; }
  // A job running the recorder with these parameters in its own work folder.
  Job RecorderJob(const std::string& name, const std::u16string& parameters, std::vector<TASK_TRIGGER> triggers) {
    std::filesystem::create_directories(WorkFolder(name));
    Job job;
    job.applicationName = zx::path::HostToWindows(ZX_RECORDER);
    job.parameters = parameters;
    job.workingDirectory = zx::path::HostToWindows(WorkFolder(name));
    job.flags = TASK_FLAG_RUN_ONLY_IF_LOGGED_ON;
    job.triggers = std::move(triggers);
    return job;
  }
  void WriteJob(const std::string& name, const Job& job) {
    const std::vector<std::uint8_t> bytes = zx::taskschd::SerializeJob(job);
    ASSERT_FALSE(bytes.empty());
    WriteHostFile(JobFile(name), std::string(bytes.begin(), bytes.end()));
  }
  Job ReadJob(const std::string& name) const {
    const std::string text = ReadHostFile(JobFile(name));
    Job job;
    EXPECT_EQ(zx::taskschd::ParseJob(std::vector<std::uint8_t>(text.begin(), text.end()), job), S_OK);
    return job;
  }
  // What the recorder wrote for a job, or "<not run>".
  std::string Recorded(const std::string& name) const {
    const std::string path = WorkFolder(name) + "/command.txt";
    return std::filesystem::exists(path) ? ReadHostFile(path) : "<not run>";
  }
  // Waits up to 20 s of host time for the condition.
  static bool Eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 2000; ++i) {
      if (condition()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
  }
  // The job has ended and its exit code is recorded.
  bool Ended(const std::string& name) const {
    const Job job = ReadJob(name);
    return job.status == SCHED_S_TASK_READY && job.runningInstances == 0 && job.lastRun.wYear != 0;
  }
};

}  // namespace zx::test
