// Reading the machine's device tree from the registry: device keys, their presence and
// status, and the Class keys of installed drivers.
#include "zx/devicetree.h"

#include <cstring>
#include <memory>
#include <mutex>

#include "objbase.h"
#include "profilecheck.h"
#include "regkey.h"
#include "sysinfoapi.h"
#include "zx/casefold.h"
#include "zx/hive.h"

namespace zx::devices {
namespace {

bool SameNoCase(std::u16string_view a, std::u16string_view b) {
  return CompareNoCase(a.data(), a.size(), b.data(), b.size()) == 0;
}

std::u16string Join(std::u16string_view a, std::u16string_view b) {
  std::u16string path(a);
  path += u'\\';
  path += b;
  return path;
}

// Reads up to `count` decimal numbers separated by `separator`; false for other text.
bool ReadNumbers(std::u16string_view text, char16_t separator, std::size_t count,
                 unsigned long* numbers, std::size_t& found, unsigned long limit) {
  found = 0;
  std::size_t at = 0;
  while (true) {
    if (found == count) return false;
    unsigned long value = 0;
    const std::size_t start = at;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9') {
      value = value * 10 + (text[at] - u'0');
      if (value > limit) return false;
      ++at;
    }
    if (at == start) return false;
    numbers[found++] = value;
    if (at == text.size()) return true;
    if (text[at] != separator) return false;
    ++at;
  }
}

// Every device of the tree (or every present one), read afresh only once the machine's hive
// changed: a scan asks for them through more than one interface.
std::shared_ptr<const std::vector<DeviceNode>> AllDevices(bool presentOnly) {
  struct Kept {
    registry::HiveStamp stamp;
    std::shared_ptr<const std::vector<DeviceNode>> devices;
  };
  static std::mutex lock;
  static Kept kept[2];
  const registry::HiveStamp stamp = registry::MachineHiveStamp();
  std::lock_guard<std::mutex> hold(lock);
  Kept& mine = kept[presentOnly ? 1 : 0];
  if (mine.devices && mine.stamp == stamp) return mine.devices;
  auto devices = std::make_shared<std::vector<DeviceNode>>();
  RegKey root;
  if (root.Open(kEnumKey)) {
    for (const std::u16string& enumerator : root.SubkeyNames()) {
      RegKey enumeratorKey;
      if (!enumeratorKey.Open(enumerator, root.get())) continue;
      for (const std::u16string& device : enumeratorKey.SubkeyNames()) {
        RegKey deviceKey;
        if (!deviceKey.Open(device, enumeratorKey.get())) continue;
        for (const std::u16string& instance : deviceKey.SubkeyNames()) {
          RegKey instanceKey, control;
          if (!instanceKey.Open(instance, deviceKey.get())) continue;
          if (presentOnly && !control.Open(u"Control", instanceKey.get())) continue;
          devices->push_back(DeviceNode{Join(Join(enumerator, device), instance), instanceKey.Values()});
        }
      }
    }
  }
  mine = Kept{stamp, devices};
  return devices;
}

}  // namespace

const RegistryValue* DeviceNode::Find(std::u16string_view name) const {
  for (const RegistryValue& value : values)
    if (SameNoCase(value.name, name)) return &value;
  return nullptr;
}

std::u16string DeviceNode::Text(std::u16string_view name) const {
  const RegistryValue* value = Find(name);
  return value != nullptr && (value->type == REG_SZ || value->type == REG_EXPAND_SZ) ? TextOf(*value)
                                                                                     : std::u16string();
}

std::vector<std::u16string> DeviceNode::List(std::u16string_view name) const {
  const RegistryValue* value = Find(name);
  return value != nullptr && value->type == REG_MULTI_SZ ? ListOf(*value)
                                                         : std::vector<std::u16string>();
}

GUID DeviceNode::ClassGuid() const {
  GUID guid{};
  const std::u16string text = Text(u"ClassGUID");
  if (FAILED(CLSIDFromString(text.c_str(), &guid))) guid = GUID{};
  return guid;
}

std::vector<DeviceNode> ReadDevices(const DeviceQuery& query) {
  const std::shared_ptr<const std::vector<DeviceNode>> all = AllDevices(query.presentOnly);
  std::vector<DeviceNode> devices;
  for (const DeviceNode& node : *all) {
    if (!query.enumerator.empty() &&
        !SameNoCase(std::u16string_view(node.instanceId).substr(0, node.instanceId.find(u'\\')), query.enumerator))
      continue;
    if (query.classGuid != nullptr && !IsEqualGUID(node.ClassGuid(), *query.classGuid)) continue;
    devices.push_back(node);
  }
  return devices;
}

bool ReadNodeStatus(std::u16string_view instanceId, NodeStatus& status) {
  RegKey control;
  if (!control.Open(Join(Join(kEnumKey, instanceId), u"Control"))) return false;
  status = NodeStatus{};
  control.Dword(u"StatusFlags", status.flags);
  control.Dword(u"ProblemCode", status.problem);
  return true;
}

bool ReadInstalledDriver(std::u16string_view driverKey, InstalledDriver& driver) {
  RegKey key;
  if (driverKey.empty() || !key.Open(Join(kClassKey, driverKey))) return false;
  InstalledDriver read;
  read.infPath = key.Text(u"InfPath");
  // The INF is a file of the INF folder: a path there ("..\\x") names no installed driver.
  if (!IsValidInfName(read.infPath)) return false;
  read.description = key.Text(u"DriverDesc");
  read.provider = key.Text(u"ProviderName");
  read.version = key.Text(u"DriverVersion");
  read.date = key.Text(u"DriverDate");
  read.infSection = key.Text(u"InfSection");
  read.matchingId = key.Text(u"MatchingDeviceId");
  read.signer = key.Text(u"DriverSigner");
  key.Dword(u"DriverRank", read.rank);
  RegistryValue dateData;
  if (key.Query(u"DriverDateData", dateData) && dateData.type == REG_BINARY &&
      dateData.data.size() == sizeof(FILETIME))
    std::memcpy(&read.dateData, dateData.data.data(), sizeof(FILETIME));
  else
    ParseDriverDate(read.date, read.dateData);
  driver = std::move(read);
  return true;
}

bool PackDriverVersion(std::u16string_view text, ULONGLONG& version) {
  unsigned long parts[4] = {};
  std::size_t found = 0;
  if (!ReadNumbers(text, u'.', 4, parts, found, 0xFFFF)) return false;
  version = static_cast<ULONGLONG>(parts[0]) << 48 | static_cast<ULONGLONG>(parts[1]) << 32 |
            static_cast<ULONGLONG>(parts[2]) << 16 | parts[3];
  return true;
}

bool ParseDriverDate(std::u16string_view text, FILETIME& date) {
  unsigned long parts[3] = {};
  std::size_t found = 0;
  if (!ReadNumbers(text, u'-', 3, parts, found, 9999) || found != 3 || parts[2] < 1601) return false;
  SYSTEMTIME day{};
  day.wYear = static_cast<WORD>(parts[2]);
  day.wMonth = static_cast<WORD>(parts[0]);
  day.wDay = static_cast<WORD>(parts[1]);
  FILETIME converted{};
  if (!SystemTimeToFileTime(&day, &converted)) return false;
  date = converted;
  return true;
}

std::u16string NormalDriverDate(std::u16string_view text) {
  unsigned long parts[3] = {};
  std::size_t found = 0;
  if (!ReadNumbers(text, u'-', 3, parts, found, 9999) || found != 3) return std::u16string(text);
  std::string ascii = std::to_string(parts[0]) + "-" + std::to_string(parts[1]) + "-" +
                      std::to_string(parts[2]);
  return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace zx::devices
