// Win32_PhysicalMemory: the memory devices of the SMBIOS table (DMI type 17) when the host
// lets us read them, else one module holding all of the memory the host reports.
#include <sstream>

#include "hostreaders.h"
#include "smbios.h"
#include "zx/hostinfo.h"

namespace zx::wmi {
namespace {

const std::string kEntries = "/sys/firmware/dmi/entries/";

// A module with the labels every module carries; index counts the modules from 0.
InstanceBuilder NewModule(const ClassInfo& info, std::size_t index, unsigned long long bytes) {
  InstanceBuilder module(info);
  module.Set("Tag", "Physical Memory " + std::to_string(index));
  for (const char* name : {"Caption", "Description", "Name"}) module.Set(name, std::string("Physical Memory"));
  module.Set("Capacity", std::to_string(bytes));
  return module;
}

std::vector<Instance> ReadDmiModules(const ClassInfo& info) {
  std::vector<Instance> modules;
  for (const std::string& entry : host::ListFolder(kEntries)) {
    if (entry.rfind("17-", 0) != 0) continue;
    const auto raw = host::ReadText(kEntries + entry + "/raw");
    const auto device = raw ? ReadMemoryDevice(*raw) : std::nullopt;
    if (!device) continue;
    InstanceBuilder module = NewModule(info, modules.size(), device->bytes);
    module.Set("DeviceLocator", device->deviceLocator);
    module.Set("BankLabel", device->bankLabel);
    module.Set("Manufacturer", device->manufacturer);
    module.Set("SerialNumber", device->serialNumber);
    module.Set("PartNumber", device->partNumber);
    if (device->speed != 0) module.Set("Speed", std::to_string(device->speed));
    modules.push_back(module.Take());
  }
  return modules;
}

}  // namespace

Value HostTotalMemory() {
  std::istringstream lines(host::ReadText("/proc/meminfo").value_or(""));
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("MemTotal:", 0) == 0) {
      unsigned long long kib = 0;
      std::istringstream(line.substr(9)) >> kib;
      if (kib) return std::to_string(kib * 1024);
    }
  return std::nullopt;
}

std::vector<Instance> ReadHostPhysicalMemory(const ClassInfo& info) {
  std::vector<Instance> modules = ReadDmiModules(info);
  if (!modules.empty()) return modules;
  // The SMBIOS table is closed to us: one module holding all the memory the host reports.
  const Value total = HostTotalMemory();
  if (!total) return {};
  return {NewModule(info, 0, std::stoull(*total)).Take()};
}

}  // namespace zx::wmi
