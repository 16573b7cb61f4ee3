// What seeding a profile writes, with every default filled in: the classes, the devices and
// their installed drivers (with their driver keys), the services and the INF files.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "zx/machineprofile.h"

namespace zx::devices {

struct PlannedClass {
  std::u16string guid;  // lower case, braced
  std::u16string name;
  std::u16string description;
};

struct PlannedDriver {
  std::u16string key;  // "{class guid}\0003"
  std::u16string description;
  std::u16string provider;
  std::u16string version;
  std::u16string date;  // "M-D-YYYY"
  FILETIME dateData{};
  std::u16string infPath;
  std::u16string infSection;
  std::u16string matchingId;
  std::u16string signer;
  DWORD rank = 0;
};

struct PlannedDevice {
  const ProfileDevice* source = nullptr;
  std::u16string classGuid;
  std::u16string className;
  DWORD status = 0;
  DWORD problem = 0;
  std::optional<PlannedDriver> driver;
};

struct PlannedService {
  std::u16string name;
  std::u16string display;
  DWORD type = 0;
  DWORD start = 0;
  std::optional<ServiceState> state;  // as the profile states it
  std::u16string image;
  std::u16string group;
  std::u16string company;
  std::u16string version;
  // For a kernel driver: its file, C:\Windows\System32\drivers\<file name>; else empty.
  std::u16string driverFile;
};

struct PlannedInf {
  std::u16string name;
  std::vector<std::size_t> devices;  // positions in SeedPlan::devices, in profile order
};

struct SeedPlan {
  std::vector<PlannedClass> classes;
  std::vector<PlannedDevice> devices;
  std::vector<PlannedService> services;
  std::vector<PlannedInf> infs;
};

// The profile must have passed CheckDevice and CheckUnique.
SeedPlan PlanSeed(const MachineProfile& profile);
// The rank a driver gets by default (see zx/machineprofile.h).
DWORD DefaultRank(const ProfileDevice& device, const std::u16string& matchingId, bool isSigned);
// The text of an INF file (Windows-1252, CRLF line ends).
std::string FormatInf(const PlannedInf& inf, const SeedPlan& plan);

}  // namespace zx::devices
