// The shared library's own module handle.
#include "HelperModule.h"

#include "zephrinkxsys.h"

HMODULE GetHelperModuleHandle() {
  ReturnBuildOptforZEPHRIN_KX("{9A9A92D3-2AAD-4c02-864C-BD3CE9799898}");
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&GetHelperModuleHandle), &self);
  return self;
}
