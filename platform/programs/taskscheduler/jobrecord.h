// What the job runner writes into a job file about its runs, as the Task Scheduler keeps it:
// the last run time, the running count and status while it runs, then the exit code, or the
// error of a start that failed. The file is read afresh and written whole (temporary file,
// then rename), so changes made to the job meanwhile are kept.
#pragma once
#include <string>

#include "mstask.h"

namespace zx::taskscheduler {

// Each answers false when the job can no longer be read or written (it was deleted or
// damaged meanwhile).
bool RecordStarted(const std::u16string& name, const SYSTEMTIME& when);
bool RecordEnded(const std::u16string& name, DWORD exitCode);
bool RecordStartFailed(const std::u16string& name, const SYSTEMTIME& when, HRESULT error);

}  // namespace zx::taskscheduler
