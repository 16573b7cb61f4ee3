// OLE Automation: BSTR allocation, VARIANT and SAFEARRAY.
#pragma once
#include "wtypes.h"

// Strings. SysAllocStringLen and SysAllocStringByteLen copy exactly the given length (zeros
// included) and add a terminating zero; a null source gives zero-filled text.
BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
BSTR SysAllocStringByteLen(LPCSTR bytes, UINT byteLength);
INT SysReAllocString(BSTR* target, const OLECHAR* text);
INT SysReAllocStringLen(BSTR* target, const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);

struct IUnknown;
using DATE = double;
using SCODE = LONG;

// A typed value. vt names the member in use; VT_BSTR and VT_UNKNOWN values are owned by the
// variant and released by VariantClear.
struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    float fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    CHAR cVal;
    USHORT uiVal;
    ULONG ulVal;
    ULONGLONG ullVal;
    INT intVal;
    UINT uintVal;
    void* byref;
  };
};
using VARIANTARG = VARIANT;
using LPVARIANT = VARIANT*;

void VariantInit(VARIANT* value);
// Frees what the variant owns and leaves it VT_EMPTY. DISP_E_BADVARTYPE (nothing freed) for a
// type this layer does not know, E_INVALIDARG for a null pointer.
HRESULT VariantClear(VARIANT* value);
// Clears target, then copies source into it (a new BSTR, one more reference on an object).
HRESULT VariantCopy(VARIANT* target, const VARIANT* source);
