// AfxOleInit, the thread's OLE message filter and control containment.
#include "afxdisp.h"

#include <atomic>
#include <memory>

#include "objbase.h"

namespace {

thread_local std::unique_ptr<COleMessageFilter> t_filter;
std::atomic<bool> g_controlContainer{false};

}  // namespace

BOOL AfxOleInit() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return FALSE;
  if (!t_filter) t_filter = std::make_unique<COleMessageFilter>();
  return TRUE;
}

COleMessageFilter* AfxOleGetMessageFilter() { return t_filter.get(); }

void AfxEnableControlContainer() { g_controlContainer = true; }

namespace zx::afx {

bool IsControlContainerEnabled() { return g_controlContainer.load(); }

}  // namespace zx::afx
