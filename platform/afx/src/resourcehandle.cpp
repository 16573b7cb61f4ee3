// The class library's current resource module.
#include <atomic>

#include "afxwin.h"

namespace {
std::atomic<HINSTANCE> g_resourceHandle{nullptr};
}

HINSTANCE AfxGetResourceHandle() {
  HINSTANCE module = g_resourceHandle.load();
  return module ? module : GetModuleHandleW(nullptr);
}

void AfxSetResourceHandle(HINSTANCE module) { g_resourceHandle.store(module); }
