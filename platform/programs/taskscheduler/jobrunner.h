// The Task Scheduler's job runner: starts the program of every job whose time has come, with
// the job's parameters in the job's working folder, on the layer's clock and in local time,
// and records each run in its job file. A job file that cannot be read is reported and
// skipped; the other jobs run as ever.
//
// A job is due at `now` when one of its enabled time triggers starts after both `since` and
// the job's last run, and not after now. A disabled job, or one whose program still runs from
// its last start, is not started.
#pragma once
#include <functional>
#include <map>
#include <string>

#include "jobfolder.h"
#include "windows.h"

namespace zx::taskscheduler {

class JobRunner {
 public:
  using Report = std::function<void(const std::string&)>;
  // Reports go to standard error unless a receiver is given.
  explicit JobRunner(Report report = nullptr);
  ~JobRunner();
  JobRunner(const JobRunner&) = delete;
  JobRunner& operator=(const JobRunner&) = delete;

  // The service: from the moment it starts, every start of a job is run when it comes, until
  // `stop` is set. Idle, it looks at the Tasks folder once a second.
  void Serve(HANDLE stop);
  // Run by hand: every job that has a start since its last run (a job that never ran: since
  // its first) up to now is started once; answers when all of them have ended. The answer is
  // the number of jobs started, or -1 when a job file could not be read or a program could
  // not be started.
  int RunDueNow();

 private:
  struct Running {
    std::u16string name;
    HANDLE process;
  };

  // Starts the due jobs; false when a program could not be started.
  bool StartDue(const SYSTEMTIME& since, const SYSTEMTIME& now);
  bool Start(const KnownJob& job, const SYSTEMTIME& now);
  // Records every started job that has ended.
  void CollectEnded();
  // Waits for `stop`, the end of a running job, or timeoutMs.
  bool WaitForWork(HANDLE stop, DWORD timeoutMs);
  // Milliseconds from now until the earliest coming start, at most `limit`.
  DWORD UntilNextStart(const SYSTEMTIME& now, DWORD limit) const;

  Report report_;
  JobFolder folder_;
  std::map<std::u16string, Running> running_;  // by folded name
  bool failed_ = false;
};

}  // namespace zx::taskscheduler
