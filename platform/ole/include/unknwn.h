// IUnknown: reference counting and interface lookup, the base of every COM interface.
#pragma once
#include "guiddef.h"

extern const IID IID_IUnknown;  // {00000000-0000-0000-C000-000000000046}

struct IUnknown {
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  // Objects end through Release, never through a pointer to the interface.
  ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;
