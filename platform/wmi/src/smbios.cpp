// SMBIOS memory device structures and DMI dates, read from their bytes.
#include "smbios.h"

namespace zx::wmi {
namespace {

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

}  // namespace

std::optional<MemoryDevice> ReadMemoryDevice(const std::string& raw) {
  if (raw.size() < 4) return std::nullopt;
  const Structure structure{raw, static_cast<unsigned char>(raw[1])};
  if (structure.formatted < kSize + 2 || structure.formatted > raw.size()) return std::nullopt;
  MemoryDevice device;
  device.bytes = ModuleBytes(structure);
  if (device.bytes == 0) return std::nullopt;
  device.deviceLocator = structure.String(kDeviceLocator);
  device.bankLabel = structure.String(kBankLocator);
  device.manufacturer = structure.String(kManufacturer);
  device.serialNumber = structure.String(kSerial);
  device.partNumber = structure.String(kPartNumber);
  if (const unsigned speed = structure.Word(kSpeed); speed != 0xFFFF) device.speed = speed;
  return device;
}

Value DmiReleaseDate(const Value& date) {
  if (!date || date->size() != 10 || (*date)[2] != '/' || (*date)[5] != '/') return std::nullopt;
  const std::string digits = date->substr(6, 4) + date->substr(0, 2) + date->substr(3, 2);
  if (digits.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  return digits + "000000.000000+000";
}

}  // namespace zx::wmi
