// The install helper's work: stopping the product's running programs and removing what
// starts them (Task Scheduler jobs, log-on tasks, Run values), and the helper's run over its
// command-line arguments.
#pragma once
#include <afx.h>

// The product's display name: the name of its Run value's task and of its own job and task.
constexpr LPCTSTR kProductDisplayName = _T("Zephrin Tunevo");

// Ends, with exit code 0, every running process whose file name is one of the product's
// programs (compared without regard to case), and waits a short while for each to be gone
// so that its files can be replaced. Processes that cannot be opened are passed over.
// FALSE when the process list cannot be taken.
BOOL StopProductPrograms();

// Deletes the product's Task Scheduler 1.0 jobs. TRUE when the last of the three deletions
// succeeded; FALSE when it failed (that job too may simply not be there) or the Task
// Scheduler cannot be reached.
BOOL DeleteStartupJobs();

// Deletes the product's Task Scheduler 2.0 tasks from the root folder: the log-on task under
// the name the main program registers it with and under the older spaced name, and the task
// of the display name. Always FALSE: nothing is learnt from the deletions.
BOOL DeleteStartupTasks();

// Deletes the main program's start-at-log-on Run value from HKEY_LOCAL_MACHINE and from
// HKEY_CURRENT_USER. TRUE when neither holds it any more.
BOOL DeleteStartupRunValues();

// The helper: stops the programs and, unless the arguments hold a switch word, removes the
// jobs, tasks and Run values. Every step is best effort; the answer, the process's exit code,
// is always 0.
int RunInstallHelper(LPCTSTR arguments);
