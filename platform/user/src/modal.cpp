// Nested message loops and the per-thread idle hook.
#include "queue.h"
#include "zx/modal.h"

namespace zx::user {
namespace {

thread_local IdleHook t_idleHook;

}  // namespace

IdleHook SetIdleHook(IdleHook hook) {
  IdleHook previous = std::move(t_idleHook);
  t_idleHook = std::move(hook);
  return previous;
}

void RunIdleHook() {
  if (!t_idleHook) return;
  // The hook may install another one while it runs.
  IdleHook hook = t_idleHook;
  hook();
}

bool RunModalLoop(const std::function<bool()>& done) {
  MSG msg;
  while (!done()) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

}  // namespace zx::user
