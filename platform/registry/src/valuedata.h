// Value data as the Reg*Value functions hand it out, shared by the W and A forms.
#pragma once
#include <vector>

#include "wintypes.h"

namespace zx::registry {

// Copies data out: the size alone when out is null, ERROR_MORE_DATA with the size needed
// when *outSize is too small.
LONG CopyData(const BYTE* data, std::size_t size, LPBYTE out, LPDWORD outSize);
// The type and data of hKey's value `name` (null: the default value).
LONG ReadValue(HKEY hKey, LPCWSTR name, DWORD& type, std::vector<BYTE>& data);
// True for REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ.
bool IsTextType(DWORD type);

}  // namespace zx::registry
