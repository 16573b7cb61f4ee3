// VARIANT: initialise, clear and copy, for the value types the layer hands out.
#include "oleauto.h"
#include "unknwn.h"

namespace {

bool KnownType(VARTYPE vt) {
  if (vt & VT_BYREF) return true;  // borrowed: nothing to free or copy deeply
  switch (vt) {
    case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_DATE:
    case VT_BSTR: case VT_ERROR: case VT_BOOL: case VT_UNKNOWN: case VT_I1: case VT_UI1:
    case VT_UI2: case VT_UI4: case VT_I8: case VT_UI8: case VT_INT: case VT_UINT:
      return true;
    default:
      return false;
  }
}

}  // namespace

void VariantInit(VARIANT* value) {
  if (!value) return;
  value->vt = VT_EMPTY;
  value->wReserved1 = value->wReserved2 = value->wReserved3 = 0;
  value->llVal = 0;
}

HRESULT VariantClear(VARIANT* value) {
  if (!value) return E_INVALIDARG;
  if (!KnownType(value->vt)) return DISP_E_BADVARTYPE;
  if (value->vt == VT_BSTR)
    SysFreeString(value->bstrVal);
  else if (value->vt == VT_UNKNOWN && value->punkVal)
    value->punkVal->Release();
  VariantInit(value);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* target, const VARIANT* source) {
  if (!target || !source) return E_INVALIDARG;
  if (!KnownType(source->vt)) return DISP_E_BADVARTYPE;
  if (target == source) return S_OK;
  if (const HRESULT cleared = VariantClear(target); FAILED(cleared)) return cleared;
  if (source->vt == VT_BSTR && source->bstrVal) {
    BSTR copy = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(source->bstrVal),
                                      SysStringByteLen(source->bstrVal));
    if (!copy) return E_OUTOFMEMORY;
    *target = *source;
    target->bstrVal = copy;
    return S_OK;
  }
  *target = *source;
  if (target->vt == VT_UNKNOWN && target->punkVal) target->punkVal->AddRef();
  return S_OK;
}
