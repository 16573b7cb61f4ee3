// The rules a machine profile's names and values must keep.
#include "profilecheck.h"

#include <unordered_set>

#include "profiletext.h"
#include "zx/deviceclasses.h"
#include "zx/devicetree.h"
#include "objbase.h"

namespace zx::devices {
namespace {

bool IsKeyName(std::u16string_view name) {
  if (name.empty() || name.size() > 255) return false;
  for (char16_t c : name)
    if (c < 0x20 || c == u'\\') return false;
  return true;
}

}  // namespace

bool IsValidInstanceId(std::u16string_view id) {
  const std::size_t first = id.find(u'\\');
  if (first == std::u16string_view::npos) return false;
  const std::size_t second = id.find(u'\\', first + 1);
  if (second == std::u16string_view::npos || id.find(u'\\', second + 1) != std::u16string_view::npos)
    return false;
  return IsKeyName(id.substr(0, first)) && IsKeyName(id.substr(first + 1, second - first - 1)) &&
         IsKeyName(id.substr(second + 1));
}

bool IsValidName(std::u16string_view name) {
  if (!IsKeyName(name) || name == u"." || name == u"..") return false;
  for (char16_t c : name)
    if (c == u'/' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' || c == u'>' ||
        c == u'|')
      return false;
  return true;
}

bool IsValidInfName(std::u16string_view name) {
  return IsValidName(name) && name.size() > 4 && SameText(name.substr(name.size() - 4), u".inf");
}

std::string CheckDevice(const ProfileDevice& device) {
  if (!IsValidInstanceId(device.instanceId)) return "bad instance id (enumerator\\device\\instance)";
  if (device.name.empty()) return "the device has no name";
  if (!device.className.empty() && FindDeviceClass(device.className) == nullptr)
    return "unknown class '" + WideToUtf8(device.className) + "'";
  GUID guid{};
  if (!device.classGuid.empty() && FAILED(CLSIDFromString(device.classGuid.c_str(), &guid)))
    return "bad classguid";
  if (!device.className.empty() && !device.classGuid.empty()) return "give class or classguid, not both";
  if (!device.classGuid.empty() && device.classDescription.empty() &&
      FindDeviceClassByGuid(device.classGuid) == nullptr)
    return "classguid of an unknown class needs classdesc";
  if (!device.service.empty() && !IsValidName(device.service)) return "bad service name";
  if (!device.driver) return {};
  if (device.className.empty() && device.classGuid.empty()) return "a device with a driver needs a class";
  const ProfileDriver& driver = *device.driver;
  if (!IsValidInfName(driver.inf)) return "bad inf name (a file name ending in .inf)";
  ULONGLONG version = 0;
  if (!driver.version.empty() && !PackDriverVersion(driver.version, version))
    return "bad version (up to four numbers of 16 bits)";
  FILETIME date{};
  if (!driver.date.empty() && !ParseDriverDate(driver.date, date)) return "bad date (month-day-year)";
  return {};
}

std::string CheckUnique(const MachineProfile& profile, std::size_t& line) {
  std::unordered_set<std::u16string> seen;
  for (const ProfileDevice& device : profile.devices) {
    if (!seen.insert(Lower(device.instanceId)).second) {
      line = device.line;
      return "a second device " + WideToUtf8(device.instanceId);
    }
  }
  seen.clear();
  for (const ProfileService& service : profile.services) {
    if (!seen.insert(Lower(service.name)).second) {
      line = service.line;
      return "a second service " + WideToUtf8(service.name);
    }
  }
  return {};
}

}  // namespace zx::devices
