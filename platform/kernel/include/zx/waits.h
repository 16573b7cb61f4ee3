// The one wait primitive of the layer. Everything that blocks a thread until some state
// changes or a timeout passes (kernel object waits, Sleep, and later window timers, message
// queues, named pipes) uses it, so that every timeout is measured on zx::CurrentClock() and a
// test's ManualClock::Advance wakes them all.
//
// How to use it from a component:
//   1. Keep the state a waiter looks at under zx::WaitLock().
//   2. To wait:  std::unique_lock<std::mutex> lock(zx::WaitLock());
//                bool ready = zx::WaitUntil(lock, [&] { return state_is_ready; }, timeoutMs);
//      WaitUntil returns with the lock held: act on the state before letting go.
//   3. After changing that state (under the lock), call zx::NotifyWaiters() (lock held or not).
// With the host clock a waiter sleeps until its deadline or a notification (no spinning);
// with a ManualClock it sleeps until a notification or Advance.
//
// Kernel objects that a HANDLE wait can name derive from zx::Waitable.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>

#include "wintypes.h"
#include "zx/handles.h"

namespace zx {

// The lock that guards every waitable state of the process.
std::mutex& WaitLock();
// Wakes every waiter so that it re-checks its condition.
void NotifyWaiters();

// Waits, with `lock` holding WaitLock(), until ready() is true (answers true) or timeoutMs
// have passed on the current clock (answers ready() one last time). INFINITE never times out;
// 0 checks once. pollMs > 0 re-checks at least that often in host time, for state that
// changes outside this process (another process's lock); it never shortens the timeout.
bool WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
               DWORD timeoutMs, DWORD pollMs = 0);

// Test support: returns true once at least `count` threads are blocked in WaitUntil (so a
// following ManualClock::Advance reaches them), false after 10 s of host time.
bool AwaitBlockedWaiters(std::size_t count);

// Counts PulseEvent calls; a waiter remembers the value it saw when its wait began.
std::uint64_t WaitEpoch();
std::uint64_t NextWaitEpoch();

// Who waits, and since when (the WaitEpoch at the start of the wait).
struct WaitTicket {
  DWORD threadId;
  std::uint64_t since;
};

// A kernel object that WaitForSingleObject / WaitForMultipleObjects can wait on. All members
// are called with WaitLock() held.
class Waitable : public KernelObject {
 public:
  // Would a wait by this waiter be satisfied now?
  virtual bool IsSignalled(const WaitTicket& waiter) = 0;
  // The wait was satisfied: consume the signal (auto-reset events reset, mutexes gain their
  // owner). Answers true when the object was an abandoned mutex.
  virtual bool Acquire(const WaitTicket& /*waiter*/) { return false; }
  // Host-time re-check interval for state that changes outside this process; 0 when every
  // change here is followed by NotifyWaiters.
  virtual DWORD PollMs() const { return 0; }
};

// Waits for one (waitAll false) or all objects; answers WAIT_OBJECT_0 + i, WAIT_ABANDONED_0 + i
// or WAIT_TIMEOUT. The objects must be distinct and non-null.
DWORD WaitForObjects(std::span<const std::shared_ptr<Waitable>> objects, bool waitAll,
                     DWORD timeoutMs);

}  // namespace zx
