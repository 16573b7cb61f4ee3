// The sizes the downloaders read from HTTP headers: a Content-Length, and the whole size a
// Content-Range names.
#pragma once
#include <afx.h>

#include "HelperApi.h"

// The header text as a size: decimal digits only, within a LONGLONG; -1 for anything else.
ZXHELPER_API LONGLONG ParseContentLength(LPCWSTR text);
// The whole size of a "bytes */N" or "bytes a-b/N" range: the digits after its last "/";
// -1 when there are none or they do not fit.
ZXHELPER_API LONGLONG ParseRangeTotal(LPCWSTR text);
// The decimal digits a Content-Length value starts with (0 for none); false when the number
// does not fit 64 bits, which says nothing of the size.
ZXHELPER_API bool ParseLeadingLength(LPCWSTR text, ULONGLONG& length);
