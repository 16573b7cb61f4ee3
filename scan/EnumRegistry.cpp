// Walking the device tree's Enum keys.
#include "EnumRegistry.h"

#include <functional>

#include "RegKeyAccess.h"

namespace {

constexpr LPCTSTR kEnumKey = _T("SYSTEM\\CurrentControlSet\\Enum");

// Calls visit(key path, open instance key) for every instance in registry order until it
// answers false.
void WalkInstances(const std::function<bool(const CString&, const CRegKeyAccess&)>& visit) {
  CStringArray enumerators;
  HKEY rootKey = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kEnumKey, 0, KEY_READ, &rootKey) != ERROR_SUCCESS) return;
  EnumSubKeyNames(rootKey, enumerators);
  RegCloseKey(rootKey);
  for (INT_PTR e = 0; e < enumerators.GetSize(); ++e) {
    const CString enumeratorPath = CString(kEnumKey) + _T("\\") + enumerators[e];
    HKEY enumeratorKey = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, enumeratorPath, 0, KEY_READ, &enumeratorKey) != ERROR_SUCCESS) continue;
    CStringArray devices;
    EnumSubKeyNames(enumeratorKey, devices);
    RegCloseKey(enumeratorKey);
    for (INT_PTR d = 0; d < devices.GetSize(); ++d) {
      const CString devicePath = enumeratorPath + _T("\\") + devices[d];
      HKEY deviceKey = nullptr;
      if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, devicePath, 0, KEY_READ, &deviceKey) != ERROR_SUCCESS) continue;
      CStringArray instances;
      EnumSubKeyNames(deviceKey, instances);
      RegCloseKey(deviceKey);
      for (INT_PTR i = 0; i < instances.GetSize(); ++i) {
        const CString path = devicePath + _T("\\") + instances[i];
        CRegKeyAccess instance(HKEY_LOCAL_MACHINE, CRegKeyAccess::kReadOnly);
        if (instance.Open(HKEY_LOCAL_MACHINE, path) && !visit(path, instance)) return;
      }
    }
  }
}

CString FirstHardwareId(const CRegKeyAccess& instance) {
  CStringArray ids;
  if (!instance.ReadMultiString(_T("HardwareID"), ids) || ids.IsEmpty()) return CString();
  CString first = ids[0];
  return first.MakeLower();
}

}  // namespace

bool EnumSubKeyNames(HKEY key, CStringArray& names) {
  WCHAR name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.Add(CString(name, static_cast<int>(length)));
  }
  return !names.IsEmpty();
}

CString FindEnumInstanceKey(const CString& text, bool byDriver) {
  CString found;
  WalkInstances([&](const CString& path, const CRegKeyAccess& instance) {
    CString value;
    if (byDriver) instance.ReadString(_T("Driver"), value);
    else value = FirstHardwareId(instance);
    if (value.IsEmpty() || value.CompareNoCase(text) != 0) return true;
    found = path;
    return false;
  });
  return found;
}
