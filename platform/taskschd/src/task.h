// The task object of the Task Scheduler 1.0 over one job, and the task-memory strings the
// scheduler's objects hand out. Platform-internal.
#pragma once
#include <string>

#include "zx/jobfile.h"

namespace zx::taskschd {

// A task (ITask, IScheduledWorkItem, IPersistFile) over `job` that saves to the job file of
// `name`; answers interface iid of it.
HRESULT MakeTask(Job job, std::u16string name, REFIID iid, void** object);

// A copy of the text in task memory (CoTaskMemFree).
HRESULT TaskText(const std::u16string& text, LPWSTR* out);

}  // namespace zx::taskschd
