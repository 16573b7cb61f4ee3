// Platform-internal COM helpers: the class table CoCreateInstance reads, a reference-counted
// base for the platform's objects, and a reset of the process security state for tests.
#pragma once
#include <atomic>
#include <string>

#include "objbase.h"
#include "oleauto.h"

namespace zx::com {

// Creates an object of one class and answers the interface iid of it.
using ClassFactory = HRESULT (*)(REFIID iid, void** object);
// Makes a class known to CoCreateInstance; registering a class again replaces its factory.
void RegisterClassFactory(REFCLSID clsid, ClassFactory factory);

// Forgets that CoInitializeSecurity ran, so the next call answers S_OK again (tests).
void ResetProcessSecurity();

// Reference counting and QueryInterface for an object that implements one interface. Made
// with a count of one, which the creator hands to its caller.
template <class Interface>
class Object : public Interface {
 public:
  explicit Object(REFIID iid) : iid_(iid) {}
  virtual ~Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == iid_) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  const IID iid_;
  std::atomic<ULONG> references_{1};
};

// Answers interface iid of a new object, releasing the creator's reference (the object ends
// when the interface is not offered).
template <class Interface>
HRESULT Hand(Object<Interface>* created, REFIID iid, void** object) {
  const HRESULT result = created->QueryInterface(iid, object);
  created->Release();
  return result;
}

// The text of a BSTR (null reads as empty, zero characters kept).
inline std::u16string TextOf(BSTR text) { return text ? std::u16string(text, SysStringLen(text)) : std::u16string(); }

// Hands a text out as a new BSTR that the caller frees.
inline HRESULT CopyToBstr(const std::u16string& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace zx::com
