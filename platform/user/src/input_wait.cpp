// Waiting for handles or queue input (MsgWaitForMultipleObjects(Ex)) and the queue's status
// in QS_ terms, on the layer's clock.
#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "errhandlingapi.h"
#include "input_model.h"
#include "processthreadsapi.h"
#include "queue.h"
#include "synchapi.h"
#include "zx/waits.h"

namespace zx::user {
namespace {

DWORD KindOf(UINT message) {
  if (message >= WM_KEYFIRST && message <= WM_KEYLAST) return QS_KEY;
  if (message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE) return QS_MOUSEMOVE;
  if ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
      (message >= WM_NCLBUTTONDOWN && message <= WM_NCMBUTTONDBLCLK))
    return QS_MOUSEBUTTON;
  return QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
}

// The kinds of input the queue holds now. WaitLock() held.
DWORD StatusLocked(const ThreadQueue& q) {
  DWORD status = 0;
  for (const PostedMessage& p : q.posted) status |= KindOf(p.msg.message);
  if (q.quit) status |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
  if (!q.needsPaint.empty()) status |= QS_PAINT;
  if (!q.sent.empty()) status |= QS_SENDMESSAGE;
  if (NextTimerDue(q, Filter{}) <= NowMs()) status |= QS_TIMER;
  return status;
}

}  // namespace
}  // namespace zx::user

using namespace zx::user;

DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD timeoutMs,
                                  DWORD wakeMask, DWORD flags) {
  if (count > MAXIMUM_WAIT_OBJECTS - 1 || (count && !handles)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<zx::Waitable>> objects;
  for (DWORD i = 0; i < count; ++i) {
    auto object = zx::ReferenceHandleAs<zx::Waitable>(handles[i]);
    if (!object) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    objects.push_back(std::move(object));
  }
  const bool waitAll = (flags & MWMO_WAITALL) != 0;
  ThreadQueue& me = CurrentQueue();
  const zx::WaitTicket ticket{GetCurrentThreadId(), zx::WaitEpoch()};
  DWORD answer = WAIT_TIMEOUT;
  // With MWMO_WAITALL every object and some input; otherwise the first signalled object,
  // then input.
  auto ready = [&] {
    const bool input = (StatusLocked(me) & wakeMask) != 0;
    if (waitAll) {
      if (!input) return false;
      for (const auto& object : objects)
        if (!object->IsSignalled(ticket)) return false;
      for (const auto& object : objects) object->Acquire(ticket);
      answer = objects.empty() ? WAIT_OBJECT_0 + count : WAIT_OBJECT_0;
      return true;
    }
    for (std::size_t i = 0; i < objects.size(); ++i) {
      if (!objects[i]->IsSignalled(ticket)) continue;
      answer = static_cast<DWORD>((objects[i]->Acquire(ticket) ? WAIT_ABANDONED_0 : WAIT_OBJECT_0) + i);
      return true;
    }
    if (!input) return false;
    answer = WAIT_OBJECT_0 + count;
    return true;
  };
  const std::uint64_t start = NowMs();
  for (;;) {
    // Timers fall due on the clock without a notification: wake for the next one.
    DWORD slice = timeoutMs;
    {
      std::lock_guard<std::mutex> guard(zx::WaitLock());
      const std::uint64_t due = NextTimerDue(me, Filter{});
      const std::uint64_t now = NowMs();
      if (timeoutMs != INFINITE) slice = static_cast<DWORD>(timeoutMs - std::min<std::uint64_t>(now - start, timeoutMs));
      if ((wakeMask & QS_TIMER) && due != std::numeric_limits<std::uint64_t>::max())
        slice = std::min<DWORD>(slice, static_cast<DWORD>(std::min<std::uint64_t>(due > now ? due - now : 0, 0x7FFFFFFF)));
    }
    if (WaitServing(ready, slice)) return answer;
    if (timeoutMs != INFINITE && NowMs() - start >= timeoutMs) return WAIT_TIMEOUT;
  }
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD timeoutMs,
                                DWORD wakeMask) {
  return MsgWaitForMultipleObjectsEx(count, handles, timeoutMs, wakeMask,
                                     waitAll ? MWMO_WAITALL : 0u);
}

DWORD GetQueueStatus(UINT flags) {
  ThreadQueue& me = CurrentQueue();
  std::lock_guard<std::mutex> guard(zx::WaitLock());
  const DWORD status = StatusLocked(me) & flags;
  return MAKELONG(status, status);
}
