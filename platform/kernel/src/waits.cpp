// The wait primitive: one lock and one condition variable for every waitable state of the
// process, with deadlines measured on the layer's clock.
#include "zx/waits.h"

#include <chrono>
#include <condition_variable>
#include <optional>

#include "processthreadsapi.h"
#include "synchapi.h"
#include "zx/clock.h"

namespace zx {
namespace {

struct WaitState {
  std::mutex lock;
  std::condition_variable changed;         // some waitable state or the clock moved
  std::condition_variable blockedChanged;  // a thread started to block (test support)
  std::size_t blocked = 0;
  std::uint64_t epoch = 0;
};

WaitState& State() {
  static WaitState* state = new WaitState;  // lives past static destruction
  return *state;
}

}  // namespace

std::mutex& WaitLock() { return State().lock; }

void NotifyWaiters() { State().changed.notify_all(); }

bool WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
               DWORD timeoutMs, DWORD pollMs) {
  WaitState& s = State();
  const std::uint64_t start = CurrentClock().MonotonicMs();
  for (;;) {
    if (ready()) return true;
    const Clock& clock = CurrentClock();
    // How long to sleep in host time; none means until notified.
    std::optional<std::uint64_t> sleepMs;
    if (timeoutMs != INFINITE) {
      const std::uint64_t elapsed = clock.MonotonicMs() - start;
      if (elapsed >= timeoutMs) return false;
      if (clock.MovesByItself()) sleepMs = timeoutMs - elapsed;
    }
    if (pollMs != 0 && (!sleepMs || *sleepMs > pollMs)) sleepMs = pollMs;
    ++s.blocked;
    s.blockedChanged.notify_all();
    if (sleepMs)
      s.changed.wait_for(lock, std::chrono::milliseconds(*sleepMs));
    else
      s.changed.wait(lock);
    --s.blocked;
  }
}

bool AwaitBlockedWaiters(std::size_t count) {
  WaitState& s = State();
  std::unique_lock<std::mutex> lock(s.lock);
  return s.blockedChanged.wait_for(lock, std::chrono::seconds(10),
                                   [&] { return s.blocked >= count; });
}

std::uint64_t WaitEpoch() { return State().epoch; }
std::uint64_t NextWaitEpoch() { return ++State().epoch; }

DWORD WaitForObjects(std::span<const std::shared_ptr<Waitable>> objects, bool waitAll,
                     DWORD timeoutMs) {
  std::unique_lock<std::mutex> lock(WaitLock());
  const WaitTicket me{GetCurrentThreadId(), WaitEpoch()};
  DWORD pollMs = 0;
  for (const auto& object : objects) {
    const DWORD p = object->PollMs();
    if (p != 0 && (pollMs == 0 || p < pollMs)) pollMs = p;
  }
  std::size_t chosen = 0;
  auto ready = [&] {
    for (std::size_t i = 0; i < objects.size(); ++i) {
      const bool signalled = objects[i]->IsSignalled(me);
      if (waitAll && !signalled) return false;
      if (!waitAll && signalled) {
        chosen = i;
        return true;
      }
    }
    return waitAll;
  };
  if (!WaitUntil(lock, ready, timeoutMs, pollMs)) return WAIT_TIMEOUT;
  if (!waitAll)
    return static_cast<DWORD>((objects[chosen]->Acquire(me) ? WAIT_ABANDONED_0 : WAIT_OBJECT_0) +
                              chosen);
  DWORD result = WAIT_OBJECT_0;
  for (std::size_t i = 0; i < objects.size(); ++i)
    if (objects[i]->Acquire(me) && result == WAIT_OBJECT_0)
      result = static_cast<DWORD>(WAIT_ABANDONED_0 + i);
  return result;
}

}  // namespace zx
