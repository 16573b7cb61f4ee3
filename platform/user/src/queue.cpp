// Thread message queues: making and ending them, handing over and serving sent messages, and
// taking messages in the order of Windows (sent, posted, WM_QUIT, WM_PAINT, WM_TIMER).
#include "queue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <limits>
#include <unordered_map>

#include "input_model.h"
#include "processthreadsapi.h"
#include "window.h"
#include "zx/clock.h"
#include "zx/waits.h"

namespace zx::user {
namespace {

// Threads that have a queue, by id. Under WaitLock().
std::unordered_map<DWORD, std::shared_ptr<ThreadQueue>>& Queues() {
  static auto* queues = new std::unordered_map<DWORD, std::shared_ptr<ThreadQueue>>;
  return *queues;
}

void Finish(const std::shared_ptr<SentMessage>& item, LRESULT result, bool delivered) {
  if (item->onDone) item->onDone(result, delivered);
  std::lock_guard<std::mutex> guard(WaitLock());
  item->result = result;
  item->delivered = delivered;
  item->done = true;
  NotifyWaiters();
}

// A thread ended: its windows go, its queue stops taking messages, and what was sent to it
// fails.
void EndQueue(const std::shared_ptr<ThreadQueue>& queue) {
  DiscardThreadWindows(queue->threadId);
  std::deque<std::shared_ptr<SentMessage>> unserved;
  {
    std::lock_guard<std::mutex> guard(WaitLock());
    queue->alive = false;
    unserved.swap(queue->sent);
    queue->posted.clear();
    queue->timers.clear();
    queue->needsPaint.clear();
    auto& queues = Queues();
    const auto it = queues.find(queue->threadId);
    if (it != queues.end() && it->second == queue) queues.erase(it);
    if (queue->wakeFd >= 0) ::close(queue->wakeFd);
    queue->wakeFd = -1;
    NotifyWaiters();
  }
  for (const auto& item : unserved) Finish(item, 0, false);
}

struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder() {
    if (queue) EndQueue(queue);
  }
};
thread_local QueueHolder t_queue;

// Serves the oldest message sent to this thread, if any. Called and returns with the lock held.
bool ServeOneSent(ThreadQueue& me, std::unique_lock<std::mutex>& lock) {
  while (!me.sent.empty()) {
    std::shared_ptr<SentMessage> item = std::move(me.sent.front());
    me.sent.pop_front();
    if (item->abandoned) {
      item->done = true;
      continue;
    }
    lock.unlock();
    ++me.sendDepth;
    LRESULT result;
    {
      const SenderScope sender(item->payload ? item->payload->senderProcess : 0);
      result = item->work ? item->work() : Deliver(item->window, item->message, item->wParam, item->lParam);
    }
    --me.sendDepth;
    Finish(item, result, true);
    lock.lock();
    return true;
  }
  return false;
}

bool InRange(const Filter& filter, UINT message) {
  if (filter.first == 0 && filter.last == 0) return true;
  return message >= filter.first && message <= filter.last;
}

// The first message the filter accepts, taken out when remove is set. WaitLock() held.
bool Pick(ThreadQueue& me, const Filter& filter, bool remove, MSG* msg) {
  if (remove) me.takenInput = false;  // a paint, a timer or a hover taken is no input
  for (auto it = me.posted.begin(); it != me.posted.end(); ++it) {
    if (!Accepts(filter, it->msg.hwnd, it->msg.message)) continue;
    *msg = it->msg;
    if (remove) {
      me.current = std::move(it->payload);
      me.taken = it->msg;
      me.takenInput = it->input;
      me.posted.erase(it);
    }
    return true;
  }
  const std::uint64_t now = NowMs();
  if (me.quit && InRange(filter, WM_QUIT)) {
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(me.quitCode), 0, static_cast<DWORD>(now), {}};
    if (remove) me.quit = false;
    return true;
  }
  for (const PaintDue& due : me.needsPaint) {
    const HWND window = due.window;
    if (!Accepts(filter, window, WM_PAINT)) continue;
    *msg = MSG{window, WM_PAINT, 0, 0, static_cast<DWORD>(now), {}};
    return true;
  }
  return TakeDueTimer(me, filter, remove, now, msg) || TakeDueHover(me.threadId, filter, remove, now, msg);
}

}  // namespace

std::uint64_t NowMs() { return CurrentClock().MonotonicMs(); }

ThreadQueue& CurrentQueue() { return *CurrentQueueShared(); }

std::shared_ptr<ThreadQueue> CurrentQueueShared() {
  if (!t_queue.queue) {
    auto queue = std::make_shared<ThreadQueue>();
    queue->threadId = GetCurrentThreadId();
    std::lock_guard<std::mutex> guard(WaitLock());
    Queues()[queue->threadId] = queue;
    t_queue.queue = std::move(queue);
  }
  return t_queue.queue;
}

std::shared_ptr<ThreadQueue> QueueOfThread(DWORD threadId) {
  std::lock_guard<std::mutex> guard(WaitLock());
  const auto it = Queues().find(threadId);
  return it == Queues().end() ? nullptr : it->second;
}

bool PostTo(ThreadQueue& queue, const MSG& msg, std::shared_ptr<Payload> payload, bool input) {
  std::lock_guard<std::mutex> guard(WaitLock());
  if (!queue.alive) return false;
  queue.posted.push_back(PostedMessage{msg, std::move(payload), input});
  queue.posted.back().msg.time = static_cast<DWORD>(NowMs());
  NotifyWaiters();
  return true;
}

bool PostFirst(ThreadQueue& queue, const MSG& msg) {
  std::lock_guard<std::mutex> guard(WaitLock());
  if (!queue.alive) return false;
  queue.posted.push_front(PostedMessage{msg, nullptr});
  queue.posted.front().msg.time = static_cast<DWORD>(NowMs());
  NotifyWaiters();
  return true;
}

void HandTo(ThreadQueue& queue, const std::shared_ptr<SentMessage>& item) {
  {
    std::lock_guard<std::mutex> guard(WaitLock());
    if (queue.alive) {
      queue.sent.push_back(item);
      NotifyWaiters();
      if (queue.wakeFd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(queue.wakeFd, &one, sizeof one);
      }
      return;
    }
  }
  Finish(item, 0, false);
}

int QueueWakeFd() {
  ThreadQueue& me = CurrentQueue();
  std::lock_guard<std::mutex> guard(WaitLock());
  if (me.wakeFd < 0) me.wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  return me.wakeFd;
}

void ServeIncomingSent() {
  ThreadQueue& me = CurrentQueue();
  std::unique_lock<std::mutex> lock(WaitLock());
  while (ServeOneSent(me, lock)) {
  }
}

bool WaitServing(const std::function<bool()>& ready, DWORD timeoutMs) {
  ThreadQueue& me = CurrentQueue();
  std::unique_lock<std::mutex> lock(WaitLock());
  const std::uint64_t start = NowMs();
  for (;;) {
    if (ready()) return true;
    if (ServeOneSent(me, lock)) continue;
    DWORD remaining = INFINITE;
    if (timeoutMs != INFINITE) {
      const std::uint64_t elapsed = NowMs() - start;
      if (elapsed >= timeoutMs) return false;
      remaining = static_cast<DWORD>(timeoutMs - elapsed);
    }
    WaitUntil(lock, [&] { return ready() || !me.sent.empty(); }, remaining);
  }
}

bool SendAndWait(ThreadQueue& queue, const std::shared_ptr<SentMessage>& item, DWORD timeoutMs) {
  HandTo(queue, item);
  if (WaitServing([&] { return item->done; }, timeoutMs)) return item->delivered;
  std::lock_guard<std::mutex> guard(WaitLock());
  if (item->done) return item->delivered;
  item->abandoned = true;
  return false;
}

LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = nullptr;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    const Window* w = FindLocked(window);
    if (!w) return 0;
    proc = w->proc;
  }
  return proc ? proc(window, message, wParam, lParam) : 0;
}

LRESULT RunOnOwner(HWND window, std::function<LRESULT()> work) {
  const auto w = Find(window);
  if (!w) return 0;
  if (w->threadId == GetCurrentThreadId()) return work();
  auto item = std::make_shared<SentMessage>();
  item->window = window;
  item->work = std::move(work);
  SendAndWait(*w->queue, item, INFINITE);
  return item->result;
}

namespace {

// Whether mouse input taken now still reaches the window it was aimed at: not once that
// window or its top-level window was disabled in the meantime (a modal box opened over it, a
// button switched off by the click before), unless the window holds the capture.
bool StillReaches(HWND window) {
  if (!window || window == GetCapture()) return true;
  return IsWindowEnabled(window) && IsWindowEnabled(GetAncestor(window, GA_ROOT));
}

}  // namespace

bool TakeMessage(MSG* msg, const Filter& filter, bool remove, bool wait) {
  ThreadQueue& me = CurrentQueue();
  std::unique_lock<std::mutex> lock(WaitLock());
  bool idled = false;
  for (;;) {
    if (ServeOneSent(me, lock)) continue;
    if (Pick(me, filter, remove, msg)) {
      if (remove && me.takenInput) {
        lock.unlock();
        const bool reaches = StillReaches(msg->hwnd);
        lock.lock();
        if (!reaches) continue;
      }
      if (remove) {
        me.lastTime = msg->time;
        NoteTakenInput(*msg);
      }
      return true;
    }
    if (!wait) return false;
    if (!idled) {
      idled = true;
      lock.unlock();
      RunIdleHook();
      lock.lock();
      continue;
    }
    DWORD timeout = INFINITE;
    const std::uint64_t due = std::min(NextTimerDue(me, filter), HoverDue(me.threadId));
    if (due != std::numeric_limits<std::uint64_t>::max()) {
      const std::uint64_t now = NowMs();
      timeout = static_cast<DWORD>(std::min<std::uint64_t>(due > now ? due - now : 0, 0x7FFFFFFF));
    }
    MSG scratch;
    WaitUntil(lock, [&] { return !me.sent.empty() || Pick(me, filter, false, &scratch); }, timeout);
  }
}

void ForgetWindow(HWND window, DWORD threadId) {
  const auto queue = QueueOfThread(threadId);
  if (!queue) return;
  std::lock_guard<std::mutex> guard(WaitLock());
  auto& posted = queue->posted;
  posted.erase(std::remove_if(posted.begin(), posted.end(),
                              [&](const PostedMessage& p) { return p.msg.hwnd == window; }),
               posted.end());
  auto& timers = queue->timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(),
                              [&](const Timer& t) { return t.window == window; }),
               timers.end());
  std::erase_if(queue->needsPaint, [window](const PaintDue& due) { return due.window == window; });
}

bool Accepts(const Filter& filter, HWND window, UINT message) {
  if (!InRange(filter, message)) return false;
  if (!filter.window) return true;
  if (filter.window == reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1))) return window == nullptr;
  if (window == filter.window) return true;
  if (!window) return false;
  std::lock_guard<std::mutex> guard(TableLock());
  return IsAncestorLocked(filter.window, window);
}

}  // namespace zx::user
