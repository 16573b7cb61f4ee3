// Fuzz target: hostile bytes as a job file of the Tasks folder, read as the Task Scheduler
// objects and the job runner read it. Reading must never crash; a job that reads writes a file
// that reads back to the same bytes again; and the runner's look at its triggers from its
// last run (hostile dates included) must answer without crashing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "zx/jobfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  zx::taskschd::Job job;
  if (FAILED(zx::taskschd::ParseJob(bytes, job))) return 0;
  for (const TASK_TRIGGER& trigger : job.triggers) {
    SYSTEMTIME next{};
    zx::taskschd::ValidTrigger(trigger);
    zx::taskschd::NextTriggerRun(trigger, job.lastRun, next);
  }
  // The written form has room for 8 bytes of reserved data the read one may lack.
  const std::vector<std::uint8_t> written = zx::taskschd::SerializeJob(job);
  if (written.empty()) return 0;
  zx::taskschd::Job again;
  if (zx::taskschd::ParseJob(written, again) != S_OK || zx::taskschd::SerializeJob(again) != written) std::abort();
  return 0;
}
