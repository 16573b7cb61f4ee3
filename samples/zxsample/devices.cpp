// The machine root's devices through SetupAPI and the driver keys of HKLM.
#include "devices.h"

#include <setupapi.h>
#include <winreg.h>

namespace zxsample {
namespace {

// A property of the device as raw UTF-16 units (empty when it has none).
std::u16string Property(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
  DWORD size = 0;
  SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr, nullptr, 0, &size);
  if (size < sizeof(char16_t)) return {};
  std::u16string units(size / sizeof(char16_t), u'\0');
  if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr, reinterpret_cast<PBYTE>(units.data()),
                                         size, nullptr))
    return {};
  return units;
}

// The strings of a REG_MULTI_SZ or REG_SZ value.
void AddStrings(const std::u16string& units, std::vector<std::u16string>& out) {
  std::size_t at = 0;
  while (at < units.size()) {
    const std::size_t end = units.find(u'\0', at);
    const std::u16string one = units.substr(at, end == std::u16string::npos ? std::u16string::npos : end - at);
    if (one.empty()) break;
    out.push_back(one);
    if (end == std::u16string::npos) break;
    at = end + 1;
  }
}

std::u16string FirstString(const std::u16string& units) {
  std::vector<std::u16string> strings;
  AddStrings(units, strings);
  return strings.empty() ? std::u16string() : strings.front();
}

// The DriverVersion of the device's driver key under the Class keys.
std::u16string DriverVersion(const std::u16string& driverKey) {
  if (driverKey.empty()) return {};
  const std::u16string path = u"SYSTEM\\CurrentControlSet\\Control\\Class\\" + driverKey;
  char16_t text[128] = {};
  DWORD size = sizeof text - sizeof(char16_t);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), u"DriverVersion", RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS)
    return {};
  return text;
}

}  // namespace

bool ReadDevices(std::vector<Device>& devices) {
  devices.clear();
  const HDEVINFO set = SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return false;
  SP_DEVINFO_DATA info{};
  info.cbSize = sizeof info;
  for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &info); ++index) {
    Device device;
    device.name = FirstString(Property(set, info, SPDRP_FRIENDLYNAME));
    if (device.name.empty()) device.name = FirstString(Property(set, info, SPDRP_DEVICEDESC));
    AddStrings(Property(set, info, SPDRP_HARDWAREID), device.ids);
    AddStrings(Property(set, info, SPDRP_COMPATIBLEIDS), device.ids);
    device.version = DriverVersion(FirstString(Property(set, info, SPDRP_DRIVER)));
    devices.push_back(std::move(device));
  }
  SetupDiDestroyDeviceInfoList(set);
  return true;
}

}  // namespace zxsample
