// QHTM_Initialize: the modules that started the HTML text control. The control draws without
// per-module state, so the start-up only keeps which modules asked for it.
#include <mutex>
#include <set>

#include "qhtm.h"
#include "zx/qhtm.h"

namespace {

std::mutex g_lock;

std::set<HINSTANCE>& StartedModules() {
  static std::set<HINSTANCE> modules;
  return modules;
}

}  // namespace

BOOL QHTM_Initialize(HINSTANCE instance) {
  if (instance == nullptr) return FALSE;
  std::lock_guard<std::mutex> hold(g_lock);
  StartedModules().insert(instance);
  return TRUE;
}

namespace zx::html {

BOOL IsControlStartedFor(HINSTANCE instance) {
  std::lock_guard<std::mutex> hold(g_lock);
  return StartedModules().count(instance) != 0;
}

}  // namespace zx::html
