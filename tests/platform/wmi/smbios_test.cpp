// SMBIOS memory device structures read from their bytes: sizes in their three forms, strings
// by number, and structures cut short; DMI BIOS dates.
#include <gtest/gtest.h>

#include <string>

#include "smbios.h"

namespace zx::wmi {
namespace {

// A type 17 structure of 0x28 formatted bytes: sizeWord at 0x0C, strings 1-5 named at
// 0x10, 0x11, 0x17, 0x18 and 0x1A, speed 2400 at 0x15, extendedSize at 0x1C.
std::string MemoryDevice17(unsigned sizeWord, unsigned extendedSize, const std::string& strings) {
  std::string raw(0x28, '\0');
  raw[0] = 17;
  raw[1] = 0x28;
  raw[0x0C] = static_cast<char>(sizeWord & 0xFF);
  raw[0x0D] = static_cast<char>(sizeWord >> 8);
  raw[0x10] = 1, raw[0x11] = 2, raw[0x17] = 3, raw[0x18] = 4, raw[0x1A] = 5;
  raw[0x15] = static_cast<char>(2400 & 0xFF), raw[0x16] = static_cast<char>(2400 >> 8);
  for (int i = 0; i < 4; ++i) raw[0x1C + i] = static_cast<char>(extendedSize >> (8 * i));
  return raw + strings;
}

TEST(SmbiosTest, MemoryDevices) {
  using namespace std::string_literals;
  const std::string names = "DIMM A1\0BANK 0\0Samsung\0   \0M471A1K43CB1-CTD    \0\0"s;
  struct Case {
    std::string raw;
    bool module;
    unsigned long long bytes;
  };
  const Case cases[] = {
      {MemoryDevice17(8192, 0, names), true, 8192ull << 20},
      {MemoryDevice17(0x8000 | 512, 0, names), true, 512ull << 10},
      {MemoryDevice17(0x7FFF, 65536, names), true, 65536ull << 20},
      {MemoryDevice17(0, 0, names), false, 0},
      {MemoryDevice17(0xFFFF, 0, names), false, 0},
      {MemoryDevice17(8192, 0, names).substr(0, 0x27), false, 0},
      {MemoryDevice17(8192, 0, "DIMM A1"), true, 8192ull << 20},
  };
  for (const Case& c : cases) {
    const auto device = ReadMemoryDevice(c.raw);
    ASSERT_EQ(device.has_value(), c.module) << c.raw.size();
    if (device) {
      EXPECT_EQ(device->bytes, c.bytes);
    }
  }
  const auto device = ReadMemoryDevice(cases[0].raw);
  ASSERT_TRUE(device);
  EXPECT_EQ(device->deviceLocator, "DIMM A1");
  EXPECT_EQ(device->bankLabel, "BANK 0");
  EXPECT_EQ(device->manufacturer, "Samsung");
  EXPECT_EQ(device->serialNumber, std::nullopt);  // blanks only
  EXPECT_EQ(device->partNumber, "M471A1K43CB1-CTD");
  EXPECT_EQ(device->speed, 2400u);
  // Strings that never end are missing.
  EXPECT_EQ(ReadMemoryDevice(cases[6].raw)->deviceLocator, std::nullopt);
}

TEST(SmbiosTest, ReleaseDates) {
  const std::pair<Value, Value> cases[] = {
      {"03/14/2024", "20240314000000.000000+000"}, {"3/14/2024", std::nullopt},
      {"03-14-2024", std::nullopt},                {"03/14/20x4", std::nullopt},
      {std::nullopt, std::nullopt},
  };
  for (const auto& [date, expected] : cases) EXPECT_EQ(DmiReleaseDate(date), expected) << date.value_or("null");
}

}  // namespace
}  // namespace zx::wmi
