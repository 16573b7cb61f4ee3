// COM set-up: the apartment model of each thread and the process-wide security call.
#include <atomic>

#include "objbase.h"
#include "zx/com.h"
#include "apartment.h"

namespace {

struct ThreadApartment {
  ULONG initCount = 0;
  DWORD model = COINIT_MULTITHREADED;
};
thread_local ThreadApartment g_apartment;
std::atomic<bool> g_securitySet{false};

constexpr DWORD kKnownFlags =
    COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE | COINIT_SPEED_OVER_MEMORY;

}  // namespace

namespace zx::com {

bool ThreadHasCom() { return g_apartment.initCount > 0; }

void ResetProcessSecurity() { g_securitySet = false; }

}  // namespace zx::com

HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit) {
  if (reserved || (coInit & ~kKnownFlags)) return E_INVALIDARG;
  const DWORD model = coInit & COINIT_APARTMENTTHREADED;
  if (g_apartment.initCount > 0) {
    if (g_apartment.model != model) return RPC_E_CHANGED_MODE;
    ++g_apartment.initCount;
    return S_FALSE;
  }
  g_apartment.model = model;
  g_apartment.initCount = 1;
  return S_OK;
}

HRESULT CoInitialize(LPVOID reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize() {
  if (g_apartment.initCount > 0) --g_apartment.initCount;
}

HRESULT CoInitializeSecurity(void*, LONG, void*, void*, DWORD, DWORD, void*, DWORD, void*) {
  if (!zx::com::ThreadHasCom()) return CO_E_NOTINITIALIZED;
  bool expected = false;
  return g_securitySet.compare_exchange_strong(expected, true) ? S_OK : RPC_E_TOO_LATE;
}
