// Win32_PhysicalMemory: the memory devices of the SMBIOS table (DMI type 17) when the host
// lets us read them, else one module holding all of the memory the host reports.
#include <sstream>

#include "hostreaders.h"
#include "zx/hostinfo.h"

namespace zx::wmi {
namespace {

const std::string kEntries = "/sys/firmware/dmi/entries/";

// Offsets in a memory device structure.
constexpr std::size_t kSize = 0x0C;
constexpr std::size_t kDeviceLocator = 0x10;
constexpr std::size_t kBankLocator = 0x11;
constexpr std::size_t kSpeed = 0x15;
constexpr std::size_t kManufacturer = 0x17;
constexpr std::size_t kSerial = 0x18;
constexpr std::size_t kPartNumber = 0x1A;
constexpr std::size_t kExtendedSize = 0x1C;

struct Structure {
  std::string bytes;
  std::size_t formatted;  // length of the formatted part; strings follow it

  unsigned Byte(std::size_t at) const { return at < formatted ? static_cast<unsigned char>(bytes[at]) : 0; }
  unsigned Word(std::size_t at) const { return Byte(at) | (Byte(at + 1) << 8); }
  unsigned long Dword(std::size_t at) const { return Word(at) | (static_cast<unsigned long>(Word(at + 2)) << 16); }

  // String number n (from 1) of the strings after the formatted part; 0 or a number past the
  // end is missing, and so is an empty string or one of blanks only.
  Value String(std::size_t at) const {
    const unsigned number = Byte(at);
    if (number == 0) return std::nullopt;
    std::size_t begin = formatted;
    for (unsigned i = 1; begin < bytes.size(); ++i) {
      const std::size_t end = bytes.find('\0', begin);
      if (end == std::string::npos || end == begin) return std::nullopt;
      if (i == number) {
        std::string text = bytes.substr(begin, end - begin);
        const auto last = text.find_last_not_of(' ');
        if (last == std::string::npos) return std::nullopt;
        text.erase(last + 1);
        return text;
      }
      begin = end + 1;
    }
    return std::nullopt;
  }
};

// Module size in bytes; 0 when no module sits in the slot or the size is unknown.
unsigned long long ModuleBytes(const Structure& device) {
  const unsigned size = device.Word(kSize);
  if (size == 0 || size == 0xFFFF) return 0;
  if (size == 0x7FFF) return static_cast<unsigned long long>(device.Dword(kExtendedSize) & 0x7FFFFFFF) << 20;
  if (size & 0x8000) return static_cast<unsigned long long>(size & 0x7FFF) << 10;
  return static_cast<unsigned long long>(size) << 20;
}

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
    if (!raw || raw->size() < 4) continue;
    const Structure device{*raw, static_cast<unsigned char>((*raw)[1])};
    if (device.formatted < kSize + 2 || device.formatted > raw->size()) continue;
    const unsigned long long bytes = ModuleBytes(device);
    if (bytes == 0) continue;
    InstanceBuilder module = NewModule(info, modules.size(), bytes);
    module.Set("DeviceLocator", device.String(kDeviceLocator));
    module.Set("BankLabel", device.String(kBankLocator));
    module.Set("Manufacturer", device.String(kManufacturer));
    module.Set("SerialNumber", device.String(kSerial));
    module.Set("PartNumber", device.String(kPartNumber));
    if (const unsigned speed = device.Word(kSpeed); speed != 0 && speed != 0xFFFF)
      module.Set("Speed", std::to_string(speed));
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
