// CComPtr: a counted reference to a COM interface (AddRef on taking, Release on letting go).
#pragma once
#include <utility>

#include "unknwn.h"

template <class T>
class CComPtr {
 public:
  CComPtr() = default;
  CComPtr(T* p) : p(p) {  // NOLINT: converting, as the class library's is
    if (p) p->AddRef();
  }
  CComPtr(const CComPtr& other) : CComPtr(other.p) {}
  CComPtr(CComPtr&& other) noexcept : p(std::exchange(other.p, nullptr)) {}
  ~CComPtr() { Release(); }

  CComPtr& operator=(T* other) {
    if (other) other->AddRef();
    Release();
    p = other;
    return *this;
  }
  CComPtr& operator=(const CComPtr& other) { return *this = other.p; }
  CComPtr& operator=(CComPtr&& other) noexcept {
    if (this != &other) {
      Release();
      p = std::exchange(other.p, nullptr);
    }
    return *this;
  }

  // Lets go of the reference (the pointer becomes null).
  void Release() {
    if (T* old = std::exchange(p, nullptr)) old->Release();
  }
  // Takes over a reference without adding one.
  void Attach(T* other) {
    Release();
    p = other;
  }
  T* Detach() { return std::exchange(p, nullptr); }
  // Asks the held object for another interface into a counted reference.
  template <class Q>
  HRESULT QueryInterface(REFIID iid, Q** out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    return p ? p->QueryInterface(iid, reinterpret_cast<void**>(out)) : E_POINTER;
  }

  operator T*() const { return p; }
  T* operator->() const { return p; }
  T& operator*() const { return *p; }
  // For out-parameters: the pointer must be empty.
  T** operator&() { return &p; }
  bool operator!() const { return p == nullptr; }

  T* p = nullptr;
};
