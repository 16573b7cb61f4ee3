// Writing a job's run fields: read the file, change them, write it whole.
#include "jobrecord.h"

#include <functional>

#include "zx/jobfile.h"

namespace zx::taskscheduler {
namespace {

bool Update(const std::u16string& name, const std::function<void(taskschd::Job&)>& change) {
  std::string host;
  std::vector<std::uint8_t> bytes;
  taskschd::Job job;
  if (!taskschd::JobPath(name, host) || !taskschd::ReadWholeFile(host, bytes) ||
      FAILED(taskschd::ParseJob(bytes, job)))
    return false;
  change(job);
  const std::vector<std::uint8_t> written = taskschd::SerializeJob(job);
  return !written.empty() && SUCCEEDED(taskschd::WriteFileAtomically(host, written));
}

}  // namespace

bool RecordStarted(const std::u16string& name, const SYSTEMTIME& when) {
  return Update(name, [&](taskschd::Job& job) {
    job.lastRun = when;
    job.status = SCHED_S_TASK_RUNNING;
    job.runningInstances = 1;
    job.startError = 0;
  });
}

bool RecordEnded(const std::u16string& name, DWORD exitCode) {
  return Update(name, [&](taskschd::Job& job) {
    job.exitCode = exitCode;
    job.status = SCHED_S_TASK_READY;
    job.runningInstances = 0;
  });
}

bool RecordStartFailed(const std::u16string& name, const SYSTEMTIME& when, HRESULT error) {
  return Update(name, [&](taskschd::Job& job) {
    job.lastRun = when;
    job.status = SCHED_S_TASK_READY;
    job.startError = static_cast<DWORD>(error);
  });
}

}  // namespace zx::taskscheduler
