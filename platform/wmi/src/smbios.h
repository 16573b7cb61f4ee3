// What the WMI classes read from the firmware's tables: an SMBIOS memory device structure
// (type 17, as the host's "raw" entry file holds it) and a DMI BIOS date.
#pragma once
#include <optional>
#include <string>

#include "classes.h"

namespace zx::wmi {

struct MemoryDevice {
  unsigned long long bytes = 0;  // never 0
  Value deviceLocator, bankLabel, manufacturer, serialNumber, partNumber;
  unsigned speed = 0;  // MT/s; 0 when unknown
};

// The structure's module; nullopt when the bytes are no whole structure or the slot holds no
// module of known size. A string is missing when its number is 0, past the strings, or it is
// empty or blanks only; trailing blanks are dropped.
std::optional<MemoryDevice> ReadMemoryDevice(const std::string& raw);

// "MM/DD/YYYY" as a CIM date-time, "YYYYMMDD000000.000000+000"; anything else is missing.
Value DmiReleaseDate(const Value& date);

}  // namespace zx::wmi
