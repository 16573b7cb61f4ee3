// Device information sets: building a set from the device tree, walking and trimming it,
// instance ids and device registry properties.
#include "devinfoset.h"

#include <cstring>
#include <unordered_map>

#include "errhandlingapi.h"
#include "zx/casefold.h"

namespace zx::devices {
namespace {

struct SetTable {
  std::mutex mutex;
  std::unordered_map<ULONG_PTR, std::shared_ptr<DeviceInfoSet>> sets;
  ULONG_PTR next = 0x5E70;
};

SetTable& Sets() {
  static SetTable table;
  return table;
}

struct NodeNumbers {
  std::mutex mutex;
  std::unordered_map<std::u16string, DEVINST> byFoldedId;
  std::vector<std::u16string> ids;  // DEVINST n names ids[n - 1]
};

NodeNumbers& Numbers() {
  static NodeNumbers numbers;
  return numbers;
}

std::u16string Folded(const std::u16string& text) {
  std::u16string folded = text;
  for (char16_t& c : folded) c = FoldCase(c);
  return folded;
}

// The registry value each device property is kept in.
const char16_t* PropertyValueName(DWORD property) {
  switch (property) {
    case SPDRP_DEVICEDESC: return u"DeviceDesc";
    case SPDRP_HARDWAREID: return u"HardwareID";
    case SPDRP_COMPATIBLEIDS: return u"CompatibleIDs";
    case SPDRP_SERVICE: return u"Service";
    case SPDRP_CLASS: return u"Class";
    case SPDRP_CLASSGUID: return u"ClassGUID";
    case SPDRP_DRIVER: return u"Driver";
    case SPDRP_CONFIGFLAGS: return u"ConfigFlags";
    case SPDRP_MFG: return u"Mfg";
    case SPDRP_FRIENDLYNAME: return u"FriendlyName";
    case SPDRP_LOCATION_INFORMATION: return u"LocationInformation";
    case SPDRP_CAPABILITIES: return u"Capabilities";
    case SPDRP_UI_NUMBER: return u"UINumber";
    case SPDRP_UPPERFILTERS: return u"UpperFilters";
    case SPDRP_LOWERFILTERS: return u"LowerFilters";
    default: return nullptr;
  }
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

DeviceInfoSet::DeviceInfoSet(std::vector<DeviceNode> nodes) {
  devices_.reserve(nodes.size());
  for (DeviceNode& node : nodes) {
    SetDevice device;
    device.classGuid = node.ClassGuid();
    device.devInst = DevInstOf(node.instanceId);
    device.node = std::move(node);
    live_.push_back(devices_.size());
    devices_.push_back(std::move(device));
  }
}

SetDevice* DeviceInfoSet::Member(DWORD index) {
  return index < live_.size() ? &devices_[live_[index]] : nullptr;
}

SetDevice* DeviceInfoSet::Resolve(const SP_DEVINFO_DATA* data) {
  if (data == nullptr || data->cbSize != sizeof(SP_DEVINFO_DATA)) {
    SetLastError(ERROR_INVALID_USER_BUFFER);
    return nullptr;
  }
  const ULONG_PTR position = data->Reserved - 1;
  if (data->Reserved == 0 || position >= devices_.size() || devices_[position].deleted ||
      devices_[position].devInst != data->DevInst) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return &devices_[position];
}

void DeviceInfoSet::Describe(const SetDevice& device, SP_DEVINFO_DATA& data) const {
  data.ClassGuid = device.classGuid;
  data.DevInst = device.devInst;
  data.Reserved = static_cast<ULONG_PTR>(&device - devices_.data()) + 1;
}

void DeviceInfoSet::Delete(SetDevice& device) {
  device.deleted = true;
  device.drivers.clear();
  const std::size_t position = static_cast<std::size_t>(&device - devices_.data());
  std::erase(live_, position);
}

std::shared_ptr<DeviceInfoSet> ReferenceSet(HDEVINFO handle) {
  SetTable& table = Sets();
  std::lock_guard<std::mutex> lock(table.mutex);
  const auto found = table.sets.find(reinterpret_cast<ULONG_PTR>(handle));
  if (found == table.sets.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return found->second;
}

DEVINST DevInstOf(const std::u16string& instanceId) {
  NodeNumbers& numbers = Numbers();
  std::lock_guard<std::mutex> lock(numbers.mutex);
  const auto [at, added] = numbers.byFoldedId.try_emplace(Folded(instanceId), 0);
  if (added) {
    numbers.ids.push_back(instanceId);
    at->second = static_cast<DEVINST>(numbers.ids.size());
  }
  return at->second;
}

bool InstanceIdOf(DEVINST devInst, std::u16string& instanceId) {
  NodeNumbers& numbers = Numbers();
  std::lock_guard<std::mutex> lock(numbers.mutex);
  if (devInst == 0 || devInst > numbers.ids.size()) return false;
  instanceId = numbers.ids[devInst - 1];
  return true;
}

}  // namespace zx::devices

using zx::devices::DeviceInfoSet;
using zx::devices::SetDevice;

HDEVINFO SetupDiGetClassDevsW(const GUID* classGuid, LPCWSTR enumerator, HWND, DWORD flags) {
  if ((flags & DIGCF_DEVICEINTERFACE) != 0) {
    zx::devices::Fail(ERROR_INVALID_FLAGS);
    return INVALID_HANDLE_VALUE;
  }
  if ((flags & DIGCF_ALLCLASSES) == 0 && classGuid == nullptr) {
    zx::devices::Fail(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  zx::devices::DeviceQuery query;
  query.presentOnly = (flags & DIGCF_PRESENT) != 0;
  query.enumerator = enumerator != nullptr ? std::u16string_view(enumerator) : std::u16string_view();
  query.classGuid = (flags & DIGCF_ALLCLASSES) != 0 ? nullptr : classGuid;
  auto set = std::make_shared<DeviceInfoSet>(zx::devices::ReadDevices(query));
  auto& table = zx::devices::Sets();
  std::lock_guard<std::mutex> lock(table.mutex);
  const ULONG_PTR handle = table.next;
  table.next += 8;
  table.sets.emplace(handle, std::move(set));
  SetLastError(ERROR_SUCCESS);
  return reinterpret_cast<HDEVINFO>(handle);
}

BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) {
  auto& table = zx::devices::Sets();
  std::lock_guard<std::mutex> lock(table.mutex);
  if (table.sets.erase(reinterpret_cast<ULONG_PTR>(set)) == 0) return zx::devices::Fail(ERROR_INVALID_HANDLE);
  return TRUE;
}

BOOL SetupDiEnumDeviceInfo(HDEVINFO handle, DWORD memberIndex, PSP_DEVINFO_DATA deviceInfo) {
  const auto set = zx::devices::ReferenceSet(handle);
  if (!set) return FALSE;
  if (deviceInfo == nullptr || deviceInfo->cbSize != sizeof(SP_DEVINFO_DATA))
    return zx::devices::Fail(ERROR_INVALID_USER_BUFFER);
  std::lock_guard<std::mutex> lock(set->mutex());
  const SetDevice* device = set->Member(memberIndex);
  if (device == nullptr) return zx::devices::Fail(ERROR_NO_MORE_ITEMS);
  set->Describe(*device, *deviceInfo);
  return TRUE;
}

BOOL SetupDiDeleteDeviceInfo(HDEVINFO handle, PSP_DEVINFO_DATA deviceInfo) {
  const auto set = zx::devices::ReferenceSet(handle);
  if (!set) return FALSE;
  std::lock_guard<std::mutex> lock(set->mutex());
  SetDevice* device = set->Resolve(deviceInfo);
  if (device == nullptr) return FALSE;
  set->Delete(*device);
  return TRUE;
}

BOOL SetupDiGetDeviceInstanceIdW(HDEVINFO handle, PSP_DEVINFO_DATA deviceInfo, LPWSTR instanceId,
                                 DWORD size, PDWORD requiredSize) {
  const auto set = zx::devices::ReferenceSet(handle);
  if (!set) return FALSE;
  std::lock_guard<std::mutex> lock(set->mutex());
  const SetDevice* device = set->Resolve(deviceInfo);
  if (device == nullptr) return FALSE;
  const std::u16string& id = device->node.instanceId;
  const DWORD needed = static_cast<DWORD>(id.size() + 1);
  if (requiredSize != nullptr) *requiredSize = needed;
  if (instanceId == nullptr || size < needed) return zx::devices::Fail(ERROR_INSUFFICIENT_BUFFER);
  std::memcpy(instanceId, id.c_str(), needed * sizeof(WCHAR));
  return TRUE;
}

BOOL SetupDiGetDeviceRegistryPropertyW(HDEVINFO handle, PSP_DEVINFO_DATA deviceInfo, DWORD property,
                                       PDWORD regDataType, PBYTE buffer, DWORD bufferSize,
                                       PDWORD requiredSize) {
  const auto set = zx::devices::ReferenceSet(handle);
  if (!set) return FALSE;
  std::lock_guard<std::mutex> lock(set->mutex());
  const SetDevice* device = set->Resolve(deviceInfo);
  if (device == nullptr) return FALSE;
  const char16_t* name = zx::devices::PropertyValueName(property);
  if (name == nullptr) return zx::devices::Fail(ERROR_INVALID_REG_PROPERTY);
  const zx::devices::RegistryValue* value = device->node.Find(name);
  if (value == nullptr) return zx::devices::Fail(ERROR_INVALID_DATA);
  const DWORD size = static_cast<DWORD>(value->data.size());
  if (regDataType != nullptr) *regDataType = value->type;
  if (requiredSize != nullptr) *requiredSize = size;
  if (buffer == nullptr || bufferSize < size) return zx::devices::Fail(ERROR_INSUFFICIENT_BUFFER);
  if (size != 0) std::memcpy(buffer, value->data.data(), size);
  return TRUE;
}

BOOL SetupDiGetDeviceInstallParamsW(HDEVINFO handle, PSP_DEVINFO_DATA deviceInfo,
                                    PSP_DEVINSTALL_PARAMS_W params) {
  const auto set = zx::devices::ReferenceSet(handle);
  if (!set) return FALSE;
  if (params == nullptr || params->cbSize != sizeof(SP_DEVINSTALL_PARAMS_W))
    return zx::devices::Fail(ERROR_INVALID_USER_BUFFER);
  std::lock_guard<std::mutex> lock(set->mutex());
  if (deviceInfo != nullptr && set->Resolve(deviceInfo) == nullptr) return FALSE;
  std::memset(params, 0, sizeof *params);
  params->cbSize = sizeof(SP_DEVINSTALL_PARAMS_W);
  return TRUE;
}
