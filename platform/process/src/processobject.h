// The kernel object behind a process handle. Process-component-internal.
#pragma once
#include <memory>
#include <optional>

#include "wintypes.h"
#include "zx/waits.h"

namespace zx::process {

// Guarded by WaitLock. Signalled once the process has ended; a process this process started
// is reaped here, so its exit status is known.
class ProcessObject : public Waitable {
 public:
  ProcessObject(DWORD id, bool child, unsigned long long startTime);
  ~ProcessObject() override;
  bool IsSignalled(const WaitTicket& waiter) override;
  DWORD PollMs() const override { return 5; }

  // Looks at the host; true once the process has ended.
  bool Ended();
  DWORD ExitCode();

  const DWORD id;
  const bool child;
  const unsigned long long startTime;
  std::optional<DWORD> terminatedWith;

 private:
  bool ended_ = false;
  DWORD exitCode_ = 0;
};

// The object of a running process (the same one while a handle to it is open), or null with
// ERROR_INVALID_PARAMETER when no such process runs.
std::shared_ptr<ProcessObject> ObjectOfProcess(DWORD id);
// Remembers a process this process has just started.
std::shared_ptr<ProcessObject> AdoptChild(DWORD id);
// The object a process handle names (GetCurrentProcess() included); null with
// ERROR_INVALID_HANDLE.
std::shared_ptr<ProcessObject> ProcessOf(HANDLE handle);

}  // namespace zx::process
