// CoCreateInstance over the platform's class table, and CoSetProxyBlanket.
#include <map>
#include <mutex>

#include "apartment.h"
#include "objbase.h"
#include "zx/com.h"

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

struct GuidLess {
  bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
};

struct ClassTable {
  std::mutex lock;
  std::map<CLSID, zx::com::ClassFactory, GuidLess> factories;
};

// Built on first use, so classes may register from static construction in any order.
ClassTable& Classes() {
  static ClassTable table;
  return table;
}

}  // namespace

namespace zx::com {

void RegisterClassFactory(REFCLSID clsid, ClassFactory factory) {
  ClassTable& table = Classes();
  std::lock_guard<std::mutex> guard(table.lock);
  table.factories[clsid] = factory;
}

}  // namespace zx::com

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD, REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!zx::com::ThreadHasCom()) return CO_E_NOTINITIALIZED;
  if (outer) return CLASS_E_NOAGGREGATION;
  zx::com::ClassFactory factory = nullptr;
  {
    ClassTable& table = Classes();
    std::lock_guard<std::mutex> guard(table.lock);
    const auto found = table.factories.find(clsid);
    if (found == table.factories.end()) return REGDB_E_CLASSNOTREG;
    factory = found->second;
  }
  return factory(iid, object);
}

HRESULT CoSetProxyBlanket(IUnknown* proxy, DWORD, DWORD, OLECHAR*, DWORD, DWORD, void*, DWORD) {
  return proxy ? S_OK : E_INVALIDARG;
}
