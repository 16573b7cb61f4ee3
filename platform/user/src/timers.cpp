// Timers: kept per thread queue by (window, id) and turned into WM_TIMER when the queue has
// nothing else, on the layer's clock. The first expiry comes after exactly the interval asked
// for (so 0 and 1 ms timers fire at the next empty queue); repeats keep at least
// USER_TIMER_MINIMUM apart, as on Windows.
#include <algorithm>
#include <limits>

#include "errhandlingapi.h"
#include "queue.h"
#include "window.h"
#include "zx/waits.h"

namespace zx::user {
namespace {

std::shared_ptr<ThreadQueue> QueueFor(HWND window) {
  if (!window) return CurrentQueueShared();
  const auto w = Find(window);
  if (!w) {
    BadWindow();
    return nullptr;
  }
  return w->queue;
}

Timer* FindTimer(ThreadQueue& queue, HWND window, UINT_PTR id) {
  for (Timer& timer : queue.timers)
    if (timer.window == window && timer.id == id) return &timer;
  return nullptr;
}

}  // namespace

std::uint64_t NextTimerDue(const ThreadQueue& queue, const Filter& filter) {
  std::uint64_t due = std::numeric_limits<std::uint64_t>::max();
  for (const Timer& timer : queue.timers)
    if (timer.due < due && Accepts(filter, timer.window, WM_TIMER)) due = timer.due;
  return due;
}

bool TakeDueTimer(ThreadQueue& queue, const Filter& filter, bool remove, std::uint64_t now,
                  MSG* msg) {
  Timer* chosen = nullptr;
  for (Timer& timer : queue.timers)
    if (timer.due <= now && (!chosen || timer.due < chosen->due) &&
        Accepts(filter, timer.window, WM_TIMER))
      chosen = &timer;
  if (!chosen) return false;
  *msg = MSG{chosen->window, WM_TIMER, chosen->id, reinterpret_cast<LPARAM>(chosen->proc),
             static_cast<DWORD>(now), {}};
  if (remove) chosen->due = now + chosen->repeatMs;
  return true;
}

bool IsTimerProcedure(HWND window, UINT_PTR id, TIMERPROC proc) {
  ThreadQueue& queue = CurrentQueue();
  std::lock_guard<std::mutex> guard(WaitLock());
  const Timer* timer = FindTimer(queue, window, id);
  return timer && timer->proc == proc;
}

}  // namespace zx::user

using namespace zx::user;

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, TIMERPROC procedure) {
  const auto queue = QueueFor(window);
  if (!queue) return 0;
  const UINT first = std::min<UINT>(elapseMs, USER_TIMER_MAXIMUM);
  const UINT repeat = std::max<UINT>(first, USER_TIMER_MINIMUM);
  std::lock_guard<std::mutex> guard(zx::WaitLock());
  const std::uint64_t due = NowMs() + first;
  Timer* timer = (window || id) ? FindTimer(*queue, window, id) : nullptr;
  if (!timer) {
    if (!window) {
      // A thread timer gets an id of its own.
      do {
        id = queue->nextThreadTimer++;
      } while (id == 0 || FindTimer(*queue, nullptr, id));
    }
    queue->timers.push_back(Timer{window, id, repeat, procedure, due});
  } else {
    *timer = Timer{window, id, repeat, procedure, due};
  }
  zx::NotifyWaiters();  // a waiting GetMessage takes the new deadline
  return window && id == 0 ? 1 : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  const auto queue = QueueFor(window);
  if (!queue) return FALSE;
  std::lock_guard<std::mutex> guard(zx::WaitLock());
  auto& timers = queue->timers;
  const auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) {
    return t.window == window && t.id == id;
  });
  if (it == timers.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  timers.erase(it);
  return TRUE;
}
