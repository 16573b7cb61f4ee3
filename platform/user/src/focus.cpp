// Input state: enabled windows, keyboard focus and the active window of each thread, and the
// machine's foreground window (shared by every process through the runtime folder).
#include "channel.h"
#include "errhandlingapi.h"
#include "processthreadsapi.h"
#include "queue.h"
#include "remote.h"
#include "window.h"

namespace zx::user {
namespace {

HWND LiveOrNull(HWND window) { return window && Find(window) ? window : nullptr; }

bool OwnedByThisThread(HWND window, HWND* root) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  if (!w || w->threadId != GetCurrentThreadId()) return false;
  while (w->parent) w = FindLocked(w->parent);
  *root = w->handle;
  return true;
}

LRESULT Enable(HWND window, bool enable) {
  bool wasDisabled;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    Window* w = FindLocked(window);
    if (!w) return BadWindow();
    wasDisabled = (w->style & WS_DISABLED) != 0;
    if (wasDisabled != enable) return wasDisabled;
    w->style ^= WS_DISABLED;
  }
  if (!enable) {
    const HWND focus = GetFocus();
    if (focus && (focus == window || IsChild(window, focus))) SetFocus(nullptr);
  }
  SendMessageW(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

}  // namespace

// Forgets a window being destroyed as focus or active window of its (the calling) thread.
void ForgetInputState(HWND window) {
  ThreadQueue& me = CurrentQueue();
  if (me.focus && (me.focus == window || IsChild(window, me.focus))) me.focus = nullptr;
  if (me.active == window) me.active = nullptr;
}

}  // namespace zx::user

using namespace zx::user;

BOOL EnableWindow(HWND window, BOOL enable) {
  if (remote::IsForeign(window)) {
    std::int64_t value = 0;
    return remote::Act(window, remote::Action::kEnable, enable ? 1 : 0, &value) && value != 0;
  }
  if (!Find(window)) return BadWindow();
  return static_cast<BOOL>(RunOnOwner(window, [=] { return Enable(window, enable != 0); }));
}

BOOL IsWindowEnabled(HWND window) {
  {
    std::lock_guard<std::mutex> guard(TableLock());
    if (const Window* w = FindLocked(window)) return (w->style & WS_DISABLED) == 0;
  }
  std::int64_t value = 0;
  return remote::QueryValue(window, remote::Query::kEnabled, &value) && value != 0;
}

HWND SetFocus(HWND window) {
  ThreadQueue& me = CurrentQueue();
  HWND root = nullptr;
  if (window && !OwnedByThisThread(window, &root)) {
    if (!Find(window)) BadWindow();
    return nullptr;
  }
  if (root && LiveOrNull(me.active) != root) SetActiveWindow(root);
  const HWND old = LiveOrNull(me.focus);
  if (old == window) return old;
  me.focus = window;
  if (old) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
  if (window && me.focus == window) SendMessageW(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() { return LiveOrNull(CurrentQueue().focus); }

HWND SetActiveWindow(HWND window) {
  ThreadQueue& me = CurrentQueue();
  HWND root = nullptr;
  if (window && !OwnedByThisThread(window, &root)) {
    if (!Find(window)) BadWindow();
    return nullptr;
  }
  const HWND old = LiveOrNull(me.active);
  if (old == root) return old;
  me.active = root;
  if (old) {
    SendMessageW(old, WM_NCACTIVATE, FALSE, 0);
    SendMessageW(old, WM_ACTIVATE, MAKELONG(WA_INACTIVE, IsIconic(old) ? 1 : 0),
                 reinterpret_cast<LPARAM>(root));
  }
  if (root) {
    {
      std::lock_guard<std::mutex> guard(TableLock());
      Window* w = FindLocked(root);
      for (Window* owner = w; owner; owner = owner->owner ? FindLocked(owner->owner) : nullptr)
        owner->lastActivePopup = root;
    }
    channel::WriteForeground(root);
    SendMessageW(root, WM_NCACTIVATE, TRUE, 0);
    SendMessageW(root, WM_ACTIVATE, MAKELONG(WA_ACTIVE, IsIconic(root) ? 1 : 0),
                 reinterpret_cast<LPARAM>(old));
  }
  return old;
}

HWND GetActiveWindow() { return LiveOrNull(CurrentQueue().active); }

BOOL SetForegroundWindow(HWND window) {
  if (remote::IsForeign(window)) {
    std::int64_t value = 0;
    return remote::Act(window, remote::Action::kSetForeground, 0, &value) && value != 0;
  }
  const HWND root = GetAncestor(window, GA_ROOT);
  if (!root) return BadWindow();
  RunOnOwner(root, [root] {
    SetActiveWindow(root);
    return LRESULT{1};
  });
  channel::WriteForeground(root);
  return TRUE;
}

HWND GetForegroundWindow() {
  const HWND window = channel::ReadForeground();
  return window && IsWindow(window) ? window : nullptr;
}

HWND GetLastActivePopup(HWND window) {
  {
    std::lock_guard<std::mutex> guard(TableLock());
    if (const Window* w = FindLocked(window)) {
      const Window* popup = w->lastActivePopup ? FindLocked(w->lastActivePopup) : nullptr;
      const bool usable = popup && (popup->style & WS_VISIBLE) && !(popup->style & WS_DISABLED);
      return usable ? popup->handle : window;
    }
  }
  std::int64_t value = 0;
  if (!remote::QueryValue(window, remote::Query::kLastActivePopup, &value)) return nullptr;
  return MakeHandle(static_cast<std::uint32_t>(value));
}
