// Device information sets behind HDEVINFO: the devices a set holds, their driver lists, and
// the process-wide numbers (DEVINST) that name device nodes.
#pragma once
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "cfgmgr32.h"
#include "setupapi.h"
#include "zx/devicetree.h"

namespace zx::devices {

struct SetDevice {
  DeviceNode node;
  GUID classGuid{};
  DEVINST devInst = 0;
  bool deleted = false;
  // The driver list (SetupDiBuildDriverInfoList): the installed driver, or nothing.
  std::vector<InstalledDriver> drivers;
};

class DeviceInfoSet {
 public:
  explicit DeviceInfoSet(std::vector<DeviceNode> nodes);
  std::mutex& mutex() { return mutex_; }
  // The member at an enumeration index (deleted devices skipped); null past the last.
  SetDevice* Member(DWORD index);
  // The device an SP_DEVINFO_DATA names; null (last error set) when it names none of the set.
  SetDevice* Resolve(const SP_DEVINFO_DATA* data);
  void Describe(const SetDevice& device, SP_DEVINFO_DATA& data) const;
  void Delete(SetDevice& device);
  std::vector<SetDevice>& devices() { return devices_; }

 private:
  std::mutex mutex_;
  std::vector<SetDevice> devices_;
  std::vector<std::size_t> live_;  // positions of the members not deleted
};

// The set a handle names; null with ERROR_INVALID_HANDLE.
std::shared_ptr<DeviceInfoSet> ReferenceSet(HDEVINFO handle);

// The device node number of an instance id, given out once per id for the process's life.
DEVINST DevInstOf(const std::u16string& instanceId);
// The instance id of a number; false when the number was never given out.
bool InstanceIdOf(DEVINST devInst, std::u16string& instanceId);

}  // namespace zx::devices
