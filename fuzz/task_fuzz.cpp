// Fuzz target: hostile bytes as the Task Scheduler's stored tasks. The first byte picks the
// kind: even, a 1.0 ".job" file; odd, a 2.0 task file. Reading must never crash; a file that
// reads must write back to a file that reads to the same task and writes the same bytes
// again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../platform/taskschd/src/taskdata.h"
#include "zx/jobfile.h"

namespace {

bool SameJob(const zx::taskschd::Job& a, const zx::taskschd::Job& b) {
  const auto sameTriggers = [&] {
    if (a.triggers.size() != b.triggers.size()) return false;
    for (std::size_t i = 0; i < a.triggers.size(); ++i)
      if (std::memcmp(&a.triggers[i], &b.triggers[i], sizeof(TASK_TRIGGER)) != 0) return false;
    return true;
  };
  return a.productVersion == b.productVersion && std::memcmp(&a.id, &b.id, sizeof a.id) == 0 &&
         a.priority == b.priority && a.maxRunTimeMs == b.maxRunTimeMs && a.exitCode == b.exitCode &&
         a.status == b.status && a.flags == b.flags && std::memcmp(&a.lastRun, &b.lastRun, sizeof a.lastRun) == 0 &&
         a.applicationName == b.applicationName && a.parameters == b.parameters &&
         a.workingDirectory == b.workingDirectory && a.author == b.author && a.comment == b.comment &&
         a.userData == b.userData && a.taskFlags == b.taskFlags && sameTriggers();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if ((data[0] & 1) == 0) {
    const std::vector<std::uint8_t> bytes(data + 1, data + size);
    zx::taskschd::Job job;
    if (zx::taskschd::ParseJob(bytes, job) != S_OK) return 0;
    const std::vector<std::uint8_t> written = zx::taskschd::SerializeJob(job);
    if (written.empty()) std::abort();
    zx::taskschd::Job again;
    if (zx::taskschd::ParseJob(written, again) != S_OK || !SameJob(job, again)) std::abort();
    if (zx::taskschd::SerializeJob(again) != written) std::abort();
    // The runner's look at the triggers, from a fixed time and from the job's own (hostile)
    // last run.
    SYSTEMTIME now{2026, 12, 3, 9, 5, 0, 0, 0}, next{};
    for (const TASK_TRIGGER& trigger : job.triggers) {
      zx::taskschd::ValidTrigger(trigger);
      zx::taskschd::NextTriggerRun(trigger, now, next);
      zx::taskschd::NextTriggerRun(trigger, job.lastRun, next);
    }
    return 0;
  }
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  zx::taskschd::TaskData task;
  if (!zx::taskschd::ParseTask(text, task)) return 0;
  const std::string written = zx::taskschd::FormatTask(task);
  zx::taskschd::TaskData again;
  if (!zx::taskschd::ParseTask(written, again) || zx::taskschd::FormatTask(again) != written) std::abort();
  return 0;
}
