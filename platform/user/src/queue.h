// Thread message queues: posted and sent messages, WM_QUIT, timers and pending paints of one
// thread. Queue state is kept under zx::WaitLock() so that every wait goes through the
// layer's one wait primitive and its replaceable clock.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "winuser.h"

namespace zx::user {

// Data a message's parameter points into when the data came from elsewhere (another
// process); kept alive until the message has been handled.
struct Payload {
  std::u16string text;       // text carried in (lParam points at it)
  std::vector<BYTE> bytes;   // WM_COPYDATA bytes
  COPYDATASTRUCT copyData{}; // WM_COPYDATA (lParam points at it)
  std::u16string buffer;     // room for text to be answered (lParam points at it)
  RECT rect{};               // a rectangle carried in and answered (lParam points at it)
  DWORD senderProcess = 0;   // the process the message came from
};

struct PostedMessage {
  MSG msg;
  std::shared_ptr<Payload> payload;
  bool input = false;  // mouse input, aimed at its window when it happened
};

// A message sent to another thread, or work to run on the thread that owns a window.
struct SentMessage {
  HWND window = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::shared_ptr<Payload> payload;
  std::function<LRESULT()> work;  // when set, runs instead of the message
  // Called once on completion: on the receiving thread after handling (delivered true), or
  // wherever the receiver was found gone (delivered false).
  std::function<void(LRESULT result, bool delivered)> onDone;
  // Under WaitLock().
  bool done = false;
  bool delivered = false;
  bool abandoned = false;  // the sender stopped waiting: the message is dropped unhandled
  LRESULT result = 0;
};

struct Timer {
  HWND window;
  UINT_PTR id;
  UINT repeatMs;
  TIMERPROC proc;
  std::uint64_t due;
};

// A window waiting for WM_PAINT, with how deep it lies below its top-level window.
struct PaintDue {
  HWND window;
  int depth;
};

struct ThreadQueue {
  DWORD threadId = 0;
  // Under WaitLock().
  bool alive = true;
  std::deque<PostedMessage> posted;
  std::deque<std::shared_ptr<SentMessage>> sent;
  bool quit = false;
  int quitCode = 0;
  std::vector<Timer> timers;
  UINT_PTR nextThreadTimer = 0x7FF0;
  // Parents before their children: a parent paints first, so it never paints over a child
  // that was drawn before it (a child invalidated while its page was hidden, say).
  std::vector<PaintDue> needsPaint;
  // Touched only by the owning thread.
  std::shared_ptr<Payload> current;  // payload of the message last taken
  MSG taken{};                       // the message last taken
  bool takenInput = false;           // whether it was mouse input
  DWORD handlingSender = 0;          // sender of the message being handled (0: this process)
  DWORD lastTime = 0;
  HWND focus = nullptr;
  HWND active = nullptr;
  int sendDepth = 0;  // handling a message sent by another thread
  // Signalled when a message is sent to the thread, for a thread that waits on a socket
  // rather than on WaitLock(); -1 until such a wait first needs it. Set under WaitLock().
  int wakeFd = -1;
};

// Which messages a retrieval accepts.
struct Filter {
  HWND window = nullptr;  // null: all; (HWND)-1: thread messages only; else it and its children
  UINT first = 0;
  UINT last = 0;  // 0 and 0: every message
};

// The calling thread's queue (made on first use) and another thread's (null when it has
// none or ended).
ThreadQueue& CurrentQueue();
std::shared_ptr<ThreadQueue> QueueOfThread(DWORD threadId);
std::shared_ptr<ThreadQueue> CurrentQueueShared();

// Milliseconds of the layer's clock as messages carry them.
std::uint64_t NowMs();

// Adds a posted message; false when the thread has ended. PostFirst puts it before every
// posted message (the characters TranslateMessage makes come next).
bool PostTo(ThreadQueue& queue, const MSG& msg, std::shared_ptr<Payload> payload = nullptr, bool input = false);
bool PostFirst(ThreadQueue& queue, const MSG& msg);
// Hands a sent message to a thread without waiting; a gone thread fails it at once.
void HandTo(ThreadQueue& queue, const std::shared_ptr<SentMessage>& item);
// Hands it over and waits for its handling, serving the calling thread's own incoming sent
// messages meanwhile. False on timeout (the message is then dropped) or when the receiver
// ended first.
bool SendAndWait(ThreadQueue& queue, const std::shared_ptr<SentMessage>& item, DWORD timeoutMs);
// The calling thread's wake descriptor (made on first use; -1 when none can be had), and
// serving every message sent to it that waits, for a thread waiting on a socket.
int QueueWakeFd();
void ServeIncomingSent();
// Waits until ready() is true (checked with WaitLock() held), serving incoming sent messages.
bool WaitServing(const std::function<bool()>& ready, DWORD timeoutMs);

// Marks, for its lifetime, the calling thread as handling a message of the sender (0: this
// process); the mark before it comes back at its end.
class SenderScope {
 public:
  explicit SenderScope(DWORD sender) : queue_(CurrentQueue()), before_(queue_.handlingSender) {
    queue_.handlingSender = sender;
  }
  ~SenderScope() { queue_.handlingSender = before_; }
  SenderScope(const SenderScope&) = delete;
  SenderScope& operator=(const SenderScope&) = delete;

 private:
  ThreadQueue& queue_;
  DWORD before_;
};

// Calls a window's procedure on the calling thread (0 when the window is gone).
LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Runs work on the thread that owns the window (at once when that is the calling thread)
// and answers its result; 0 when the window or its thread is gone.
LRESULT RunOnOwner(HWND window, std::function<LRESULT()> work);

// GetMessage / PeekMessage: answers true with a message, false when none (wait false).
bool TakeMessage(MSG* msg, const Filter& filter, bool remove, bool wait);

// Drops what a queue holds for a window being destroyed.
void ForgetWindow(HWND window, DWORD threadId);

// Timers (timers.cpp), with WaitLock() held: the earliest due time of a timer the filter
// accepts (UINT64_MAX: none) and taking a due one as WM_TIMER.
std::uint64_t NextTimerDue(const ThreadQueue& queue, const Filter& filter);
bool TakeDueTimer(ThreadQueue& queue, const Filter& filter, bool remove, std::uint64_t now,
                  MSG* msg);
// Whether a WM_TIMER's procedure is one of this thread's timers (DispatchMessage calls only those).
bool IsTimerProcedure(HWND window, UINT_PTR id, TIMERPROC proc);

// Runs the calling thread's idle hook, if any (modal.cpp).
void RunIdleHook();

// Does the filter accept a message for this window? Takes TableLock().
bool Accepts(const Filter& filter, HWND window, UINT message);

}  // namespace zx::user
