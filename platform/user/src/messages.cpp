// Posting, sending and taking messages: to windows of this thread (called directly), of other
// threads (through their queues, the sender blocked but serving its own incoming sends), of
// other processes (through the window channel), and to every top-level window (HWND_BROADCAST).
#include "errhandlingapi.h"
#include "keychars.h"
#include "processthreadsapi.h"
#include "queue.h"
#include "remote.h"
#include "sysinfoapi.h"
#include "window.h"
#include "wininput.h"
#include "zx/messagesender.h"
#include "zx/waits.h"

namespace zx::user {
namespace {

// Messages whose parameters point at data the receiver reads while the sender waits.
bool SyncOnly(UINT message) {
  return message == WM_SETTEXT || message == WM_GETTEXT || message == WM_COPYDATA;
}

std::vector<std::shared_ptr<Window>> LocalTopLevel() {
  std::vector<HWND> handles;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    handles = TopLevelLocked();
  }
  std::vector<std::shared_ptr<Window>> out;
  for (HWND h : handles)
    if (auto w = Find(h)) out.push_back(std::move(w));
  return out;
}

// Sends to one window (any thread or process); false on timeout or a gone receiver.
bool SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs,
            LRESULT* result) {
  const auto w = Find(window);
  if (!w) {
    if (remote::IsForeign(window)) return remote::Send(window, message, wParam, lParam, timeoutMs, result);
    return BadWindow();
  }
  if (w->threadId == GetCurrentThreadId()) {
    const SenderScope sender(0);
    *result = Deliver(window, message, wParam, lParam);
    return true;
  }
  auto item = std::make_shared<SentMessage>();
  item->window = window;
  item->message = message;
  item->wParam = wParam;
  item->lParam = lParam;
  const bool done = SendAndWait(*w->queue, item, timeoutMs);
  if (!done) {
    SetLastError(Find(window) ? ERROR_TIMEOUT : ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  *result = item->result;
  return true;
}

// Every top-level window of this process, then of the others.
void Broadcast(UINT message, WPARAM wParam, LPARAM lParam, bool post, DWORD timeoutMs,
               bool includeThisProcess) {
  if (includeThisProcess) {
    for (const auto& w : LocalTopLevel()) {
      LRESULT ignored;
      if (post)
        PostTo(*w->queue, MSG{w->handle, message, wParam, lParam, 0, {}});
      else
        SendTo(w->handle, message, wParam, lParam, timeoutMs, &ignored);
    }
  }
  remote::Broadcast(message, wParam, lParam, post, timeoutMs);
}

// The character a key types with the calling thread's Shift and Caps Lock state (0: none);
// VK_PACKET types the character it carries.
char16_t CharacterOfKey(int key, LPARAM flags) {
  if (key == VK_PACKET) return PacketCharacter(flags);
  return KeyCharacter(key, (GetKeyState(VK_SHIFT) & 0x8000) != 0, (GetKeyState(VK_CAPITAL) & 1) != 0);
}

}  // namespace
}  // namespace zx::user

using namespace zx::user;

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (SyncOnly(message)) {
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return FALSE;
  }
  if (window == HWND_BROADCAST) {
    Broadcast(message, wParam, lParam, true, INFINITE, true);
    return TRUE;
  }
  if (!window) return PostTo(CurrentQueue(), MSG{nullptr, message, wParam, lParam, 0, {}});
  if (const auto w = Find(window)) {
    if (PostTo(*w->queue, MSG{window, message, wParam, lParam, 0, {}})) return TRUE;
    return BadWindow();
  }
  if (remote::IsForeign(window)) return remote::Post(window, message, wParam, lParam);
  return BadWindow();
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  if (SyncOnly(message)) {
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return FALSE;
  }
  const auto queue = QueueOfThread(threadId);
  if (!queue || !PostTo(*queue, MSG{nullptr, message, wParam, lParam, 0, {}})) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  return TRUE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window == HWND_BROADCAST) {
    Broadcast(message, wParam, lParam, false, INFINITE, true);
    return 0;
  }
  LRESULT result = 0;
  return SendTo(window, message, wParam, lParam, INFINITE, &result) ? result : 0;
}

LRESULT SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT,
                            UINT timeoutMs, PDWORD_PTR result) {
  if (window == HWND_BROADCAST) {
    Broadcast(message, wParam, lParam, false, timeoutMs, true);
    if (result) *result = 0;
    return TRUE;
  }
  LRESULT answer = 0;
  if (!SendTo(window, message, wParam, lParam, timeoutMs, &answer)) return 0;
  if (result) *result = static_cast<DWORD_PTR>(answer);
  return TRUE;
}

BOOL SendNotifyMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto w = Find(window);
  if (!w || w->threadId == GetCurrentThreadId()) return SendMessageTimeoutW(window, message, wParam, lParam, 0, INFINITE, nullptr) != 0;
  auto item = std::make_shared<SentMessage>();
  item->window = window;
  item->message = message;
  item->wParam = wParam;
  item->lParam = lParam;
  HandTo(*w->queue, item);
  return TRUE;
}

long BroadcastSystemMessageW(DWORD flags, LPDWORD, UINT message, WPARAM wParam, LPARAM lParam) {
  Broadcast(message, wParam, lParam, (flags & BSF_POSTMESSAGE) != 0, INFINITE,
            !(flags & BSF_IGNORECURRENTTASK));
  return 1;
}

BOOL GetMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
  const auto threadOnly = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));
  if (!msg || (window && window != threadOnly && !Find(window))) {
    SetLastError(msg ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return -1;
  }
  TakeMessage(msg, Filter{window, filterMin, filterMax}, true, true);
  return msg->message != WM_QUIT;
}

BOOL PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TakeMessage(msg, Filter{window, filterMin, filterMax}, (removeFlags & PM_REMOVE) != 0, false);
}

BOOL WaitMessage() {
  MSG msg;
  return TakeMessage(&msg, Filter{}, false, true);
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  const char16_t ch = CharacterOfKey(static_cast<int>(msg->wParam), msg->lParam);
  if (!ch) return FALSE;
  // The character is the next message the thread takes, as on Windows.
  return PostFirst(CurrentQueue(), MSG{msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, ch,
                                       msg->lParam, 0, msg->pt});
}

LRESULT DispatchMessageW(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only a procedure this thread gave SetTimer is called.
    const auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    if (IsTimerProcedure(msg->hwnd, msg->wParam, proc)) proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  const auto w = Find(msg->hwnd);
  if (!w || w->threadId != GetCurrentThreadId()) return 0;
  // The message last taken keeps the process that posted it; any other is this process's.
  const ThreadQueue& me = CurrentQueue();
  const bool taken = me.current && msg->hwnd == me.taken.hwnd && msg->message == me.taken.message &&
                     msg->wParam == me.taken.wParam && msg->lParam == me.taken.lParam;
  const SenderScope sender(taken ? me.current->senderProcess : 0);
  return Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

DWORD zx::user::GetMessageSenderProcessId() {
  const DWORD sender = CurrentQueue().handlingSender;
  return sender != 0 ? sender : GetCurrentProcessId();
}

void PostQuitMessage(int exitCode) {
  ThreadQueue& me = CurrentQueue();
  std::lock_guard<std::mutex> guard(zx::WaitLock());
  me.quit = true;
  me.quitCode = exitCode;
  zx::NotifyWaiters();
}

BOOL InSendMessage() { return CurrentQueue().sendDepth > 0; }

LONG GetMessageTime() { return static_cast<LONG>(CurrentQueue().lastTime); }
