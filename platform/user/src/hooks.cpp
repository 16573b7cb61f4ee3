// Thread hooks: SetWindowsHookEx for WH_CBT and WH_MSGFILTER on the calling thread or another
// thread of this process, the chain CallNextHookEx walks, and CallMsgFilter.
#include <algorithm>
#include <mutex>
#include <vector>

#include "errhandlingapi.h"
#include "hooks.h"
#include "processthreadsapi.h"

namespace zx::user {
namespace {

struct Hook {
  HHOOK handle;
  int type;
  HOOKPROC proc;
  DWORD threadId;
};

struct Hooks {
  std::mutex lock;
  std::vector<Hook> list;  // newest last
  ULONG_PTR next = 0x48000;
};

Hooks& TheHooks() {
  static auto* hooks = new Hooks;
  return *hooks;
}

// The hook after `after` in the chain of a type and thread (newest first); the newest when
// after is null.
HOOKPROC NextProc(int type, DWORD threadId, HHOOK after, HHOOK* found) {
  Hooks& hooks = TheHooks();
  std::lock_guard<std::mutex> guard(hooks.lock);
  bool passed = after == nullptr;
  for (auto it = hooks.list.rbegin(); it != hooks.list.rend(); ++it) {
    if (it->type != type || it->threadId != threadId) continue;
    if (passed) {
      *found = it->handle;
      return it->proc;
    }
    passed = it->handle == after;
  }
  return nullptr;
}

int TypeOf(HHOOK hook, DWORD* threadId) {
  Hooks& hooks = TheHooks();
  std::lock_guard<std::mutex> guard(hooks.lock);
  for (const Hook& h : hooks.list)
    if (h.handle == hook) {
      *threadId = h.threadId;
      return h.type;
    }
  return 0;
}

}  // namespace

bool CbtHookStops(int code, WPARAM wParam, LPARAM lParam) {
  HHOOK hook = nullptr;
  const HOOKPROC proc = NextProc(WH_CBT, GetCurrentThreadId(), nullptr, &hook);
  return proc && proc(code, wParam, lParam) != 0;
}

}  // namespace zx::user

using namespace zx::user;

HHOOK SetWindowsHookExW(int type, HOOKPROC procedure, HINSTANCE, DWORD threadId) {
  const bool known = type == WH_CBT || type == WH_MSGFILTER;
  if (!known || !procedure) {
    SetLastError(!known ? ERROR_INVALID_HOOK_FILTER : ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Hooks& hooks = TheHooks();
  std::lock_guard<std::mutex> guard(hooks.lock);
  const auto handle = reinterpret_cast<HHOOK>(hooks.next++);
  hooks.list.push_back(Hook{handle, type, procedure, threadId ? threadId : GetCurrentThreadId()});
  return handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
  Hooks& hooks = TheHooks();
  std::lock_guard<std::mutex> guard(hooks.lock);
  const auto it = std::find_if(hooks.list.begin(), hooks.list.end(),
                               [&](const Hook& h) { return h.handle == hook; });
  if (it == hooks.list.end()) {
    SetLastError(ERROR_INVALID_HOOK_HANDLE);
    return FALSE;
  }
  hooks.list.erase(it);
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  DWORD threadId = 0;
  const int type = TypeOf(hook, &threadId);
  if (!type) return 0;
  HHOOK next = nullptr;
  const HOOKPROC proc = NextProc(type, threadId, hook, &next);
  return proc ? proc(code, wParam, lParam) : 0;
}

BOOL CallMsgFilterW(LPMSG msg, int code) {
  HHOOK hook = nullptr;
  const HOOKPROC proc = NextProc(WH_MSGFILTER, GetCurrentThreadId(), nullptr, &hook);
  return msg && proc && proc(code, 0, reinterpret_cast<LPARAM>(msg)) != 0;
}
