// The job runner serving a Tasks folder of 1,000 jobs on the host clock: the share of one
// processor core its thread takes while no job is due (goal: under 1%), and the delay from a
// job's start time to its program's start (goal: under 1 s).
#include <pthread.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>

#include "bench_root.h"
#include "jobrunner.h"
#include "handleapi.h"
#include "synchapi.h"
#include "zx/jobfile.h"
#include "zx/pathmap.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kJobs = 1000;

TASK_TRIGGER Trigger(TASK_TRIGGER_TYPE type, const std::tm& at) {
  TASK_TRIGGER trigger{};
  trigger.cbTriggerSize = sizeof trigger;
  trigger.TriggerType = type;
  trigger.wBeginYear = static_cast<WORD>(at.tm_year + 1900);
  trigger.wBeginMonth = static_cast<WORD>(at.tm_mon + 1);
  trigger.wBeginDay = static_cast<WORD>(at.tm_mday);
  trigger.wStartHour = static_cast<WORD>(at.tm_hour);
  trigger.wStartMinute = static_cast<WORD>(at.tm_min);
  if (type == TASK_TIME_TRIGGER_DAILY) trigger.Type.Daily.DaysInterval = 1;
  return trigger;
}

void WriteJob(const std::string& name, const TASK_TRIGGER& trigger) {
  zx::taskschd::Job job;
  job.applicationName = u"Z:\\bin\\true";
  job.parameters = u"-schedule";
  job.flags = TASK_FLAG_RUN_ONLY_IF_LOGGED_ON;
  job.triggers.push_back(trigger);
  zx::taskschd::WriteFileAtomically(zx::taskschd::TasksFolder() + "/" + name + ".job", zx::taskschd::SerializeJob(job));
}

// 1,000 daily jobs that start in an hour or later.
void WriteIdleJobs() {
  const std::time_t later = std::time(nullptr) + 3600;
  for (int i = 0; i < kJobs; ++i) {
    const std::time_t at = later + 60 * (i % 600);
    std::tm local{};
    localtime_r(&at, &local);
    WriteJob("Job" + std::to_string(i), Trigger(TASK_TIME_TRIGGER_DAILY, local));
  }
}

double ThreadCpuMs(std::thread& thread) {
  clockid_t clock{};
  timespec spent{};
  pthread_getcpuclockid(thread.native_handle(), &clock);
  clock_gettime(clock, &spent);
  return spent.tv_sec * 1e3 + spent.tv_nsec / 1e6;
}

void BM_IdleWith1000Jobs(benchmark::State& state) {
  zx::bench::BenchRoot root("zxtasks");
  WriteIdleJobs();
  const HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  zx::taskscheduler::JobRunner runner([](const std::string&) {});
  std::thread service([&] { runner.Serve(stop); });
  std::this_thread::sleep_for(std::chrono::seconds(1));  // past reading the jobs the first time
  double percent = 0;
  for (auto _ : state) {
    const double before = ThreadCpuMs(service);
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(12));  // a full look at the files included
    const double wallMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    percent = (ThreadCpuMs(service) - before) / wallMs * 100;
    state.SetIterationTime(wallMs / 1e3);
  }
  SetEvent(stop);
  service.join();
  CloseHandle(stop);
  state.counters["cpu_percent_of_core"] = percent;
}
BENCHMARK(BM_IdleWith1000Jobs)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_DelayOfADueJob(benchmark::State& state) {
  zx::bench::BenchRoot root("zxtasks");
  WriteIdleJobs();
  // Local time a few seconds before a whole minute (a zone whose offset has seconds), and a job
  // at that minute.
  const std::time_t now = std::time(nullptr);
  const int offset = static_cast<int>((57 - now % 60 + 60) % 60);
  char zone[32];
  std::snprintf(zone, sizeof zone, "ZXT-00:00:%02d", offset);
  ::setenv("TZ", zone, 1);
  ::tzset();
  const std::time_t due = now + 60 - (now + offset) % 60;
  std::tm local{};
  localtime_r(&due, &local);
  WriteJob("Due", Trigger(TASK_TIME_TRIGGER_ONCE, local));
  const std::string dueFile = zx::taskschd::TasksFolder() + "/Due.job";

  const HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  zx::taskscheduler::JobRunner runner([](const std::string&) {});
  std::thread service([&] { runner.Serve(stop); });
  double delayMs = -1;
  for (auto _ : state) {
    std::vector<std::uint8_t> bytes;
    zx::taskschd::Job job;
    while (std::time(nullptr) < due + 5) {
      if (zx::taskschd::ReadWholeFile(dueFile, bytes) && zx::taskschd::ParseJob(bytes, job) == S_OK &&
          job.lastRun.wYear != 0)
        break;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const auto started = std::chrono::system_clock::now();
    delayMs = std::chrono::duration<double, std::milli>(started - std::chrono::system_clock::from_time_t(due)).count();
    state.SetIterationTime(delayMs / 1e3);
  }
  SetEvent(stop);
  service.join();
  CloseHandle(stop);
  state.counters["start_delay_ms"] = delayMs;
}
BENCHMARK(BM_DelayOfADueJob)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
