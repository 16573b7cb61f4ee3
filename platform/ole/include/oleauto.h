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
