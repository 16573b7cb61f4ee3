// The product's scheduled-scan job as the Task Scheduler keeps it: written for a start at the
// present minute, and its record read back once the Task Scheduler has run it; and the Task
// Scheduler's service, which the main program starts when it finds it stopped.
#pragma once
#include <string>

namespace zxsample {

// The job name the product gives its scan job.
inline constexpr const char16_t* kProductJobName = u"ZEPHRINKX-ZEPHRINKXTunevo";

// Writes the job (replacing an earlier one): the program (a Windows path), its folder as the
// working folder, the parameters, one start today at the present hour and minute. False with
// the reason when the Task Scheduler refuses it.
bool WriteScanJob(const std::u16string& program, const std::u16string& parameters, std::string& reason);

// What the job file records of its last run.
struct JobRun {
  bool ran = false;
  std::string time;  // "HH:MM" of the last start
  unsigned long exitCode = 0;
  std::u16string application, parameters;
};
// False when the job file cannot be read.
bool ReadJobRun(JobRun& run);

// Stops the "Schedule" service when it runs; false when it runs and does not stop.
bool StopTaskSchedulerService();

}  // namespace zxsample
