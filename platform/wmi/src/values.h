// A property's text value as the VARIANT WMI hands out for its CIM type.
#pragma once
#include "classes.h"

namespace zx::wmi {

// VT_NULL for a missing value and for text that does not fit the type; VT_BSTR for strings,
// dates and 64-bit numbers; VT_I4 for 16- and 32-bit numbers; VT_BOOL for booleans, as WMI
// gives them. E_OUTOFMEMORY when a string cannot be made.
HRESULT ToVariant(const Value& value, CIMTYPE type, VARIANT* out);

}  // namespace zx::wmi
