// The present devices of the machine root as the device installation services give them: the
// name, every hardware and compatible id, and the version of the installed driver.
#pragma once
#include <string>
#include <vector>

namespace zxsample {

struct Device {
  std::u16string name;
  std::vector<std::u16string> ids;  // hardware ids, then compatible ids
  std::u16string version;           // empty without an installed driver
};

// False when the device list cannot be read.
bool ReadDevices(std::vector<Device>& devices);

}  // namespace zxsample
