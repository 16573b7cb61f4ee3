// A module standing in for an older shell library: its DllGetVersion answers 4.71.
#include "shellnotify.h"

extern "C" __attribute__((visibility("default"))) HRESULT DllGetVersion(DLLVERSIONINFO* info) {
  if (!info || info->cbSize != sizeof(DLLVERSIONINFO)) return E_INVALIDARG;
  info->dwMajorVersion = 4;
  info->dwMinorVersion = 71;
  info->dwBuildNumber = 3110;
  info->dwPlatformID = DLLVER_PLATFORM_WINDOWS;
  return S_OK;
}
