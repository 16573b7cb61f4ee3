// Automation dispatch: IDispatch and the parameter blocks of its Invoke, as script objects
// and HTML documents answer them.
#pragma once
#include "oleauto.h"
#include "unknwn.h"

using DISPID = LONG;
using MEMBERID = DISPID;

#define DISPID_UNKNOWN (-1)
#define DISPID_VALUE 0
#define DISPID_PROPERTYPUT (-3)

// Invoke's kinds of call.
#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8

// The arguments of a call: rgvarg holds them last first; named ones are not taken here.
struct DISPPARAMS {
  VARIANTARG* rgvarg;
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
};

// What a failing call with DISP_E_EXCEPTION says about the failure.
struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  void* pvReserved;
  HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
  SCODE scode;
};

struct ITypeInfo;

extern const IID IID_IDispatch;  // {00020400-0000-0000-C000-000000000046}
extern const IID IID_NULL;       // all zeros

// Late-bound calls by name: GetIDsOfNames turns names into ids (DISP_E_UNKNOWNNAME and
// DISPID_UNKNOWN for a name the object lacks), Invoke calls by id.
struct IDispatch : IUnknown {
  virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
  virtual HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) = 0;
  virtual HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) = 0;
  virtual HRESULT Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                         VARIANT* result, EXCEPINFO* exception, UINT* argumentError) = 0;

 protected:
  ~IDispatch() = default;
};
using LPDISPATCH = IDispatch*;

#ifndef DISP_E_UNKNOWNINTERFACE
#define DISP_E_UNKNOWNINTERFACE (static_cast<HRESULT>(0x80020001u))
#endif
#ifndef DISP_E_NONAMEDARGS
#define DISP_E_NONAMEDARGS (static_cast<HRESULT>(0x80020007u))
#endif
