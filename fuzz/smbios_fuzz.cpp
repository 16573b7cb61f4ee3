// Fuzz target: SMBIOS memory device structures as the host's DMI entry files hold them, and
// DMI BIOS dates (first byte even: a structure; odd: a date). A module read has a size, and
// each of its strings is a non-empty part of the structure's strings without a zero or
// trailing blanks; a date read is the CIM form of the date's digits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../platform/wmi/src/smbios.h"

namespace {

void CheckString(const zx::wmi::Value& text, const std::string& raw) {
  if (!text) return;
  if (text->empty() || text->back() == ' ' || text->find('\0') != std::string::npos ||
      raw.find(*text, static_cast<unsigned char>(raw[1])) == std::string::npos)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string raw(reinterpret_cast<const char*>(data) + 1, size - 1);
  if ((data[0] & 1) != 0) {
    const zx::wmi::Value date = zx::wmi::DmiReleaseDate(raw);
    if (date && (date->size() != 25 || date->substr(0, 4) != raw.substr(6, 4) || date->substr(4, 2) != raw.substr(0, 2) ||
                 date->substr(6, 2) != raw.substr(3, 2)))
      std::abort();
    return 0;
  }
  const auto device = zx::wmi::ReadMemoryDevice(raw);
  if (!device) return 0;
  if (device->bytes == 0) std::abort();
  for (const auto* text : {&device->deviceLocator, &device->bankLabel, &device->manufacturer, &device->serialNumber,
                           &device->partNumber})
    CheckString(*text, raw);
  return 0;
}
