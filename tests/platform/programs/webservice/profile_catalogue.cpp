// The catalogue written from a machine profile, for the whole lookups and the road benchmark.
#include "profile_catalogue.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <sstream>
#include <vector>

namespace zx::test {
namespace {

// A version one step newer (the last part plus one) or older (the first part minus one).
std::string Shifted(const std::string& version, int step) {
  std::vector<long> parts;
  std::istringstream in(version);
  for (std::string part; std::getline(in, part, '.');) parts.push_back(std::strtol(part.c_str(), nullptr, 10));
  if (parts.empty()) parts.push_back(1);
  if (step > 0) ++parts.back();
  else parts.front() = std::max(0L, parts.front() - 1);
  std::string text;
  for (std::size_t i = 0; i < parts.size(); ++i) text += (i ? "." : "") + std::to_string(parts[i]);
  return text;
}

}  // namespace

std::string CatalogueOfProfile(const std::string& profileText) {
  struct Device {
    std::vector<std::string> hardwareIds, compatibleIds;
    std::string version;
  };
  std::vector<Device> devices;
  std::istringstream lines(profileText);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("device ", 0) == 0) devices.emplace_back();
    const std::size_t equals = line.find('=');
    if (devices.empty() || equals == std::string::npos) continue;
    std::string key = line.substr(0, equals), value = line.substr(equals + 1);
    key.erase(0, key.find_first_not_of(' '));
    key.erase(key.find_last_not_of(' ') + 1);
    value.erase(0, value.find_first_not_of(' '));
    if (key == "hwid") devices.back().hardwareIds.push_back(value);
    if (key == "compatid") devices.back().compatibleIds.push_back(value);
    if (key == "version") devices.back().version = value;
  }
  std::string catalogue = "; Drivers offered for the devices of this profile (written by the lookup tests).\n";
  int entry = 0;
  const auto add = [&](const std::string& ids, const std::string& version, int severity) {
    ++entry;
    catalogue += "\n[driver-" + std::to_string(entry) + "]\nhardwareids = " + ids + "\nversion = " + version +
                 "\ndate = 2016-0" + std::to_string(1 + entry % 9) + "-1" + std::to_string(entry % 10) +
                 "\ninf = extract\\drv" + std::to_string(entry) + "\\driver.inf\npackage = package.zip\nseverity = " +
                 std::to_string(severity) + "\nmd5 = " + std::string(31, '0') + std::to_string(entry % 10) + "\n";
  };
  std::set<std::string> offered;  // one driver per id: devices of one kind share their ids
  for (std::size_t i = 0; i < devices.size(); ++i) {
    const Device& device = devices[i];
    if (device.hardwareIds.empty() || device.version.empty()) continue;
    if (!offered.insert(device.hardwareIds.front()).second) continue;
    switch (i % 4) {
      case 0: add(device.hardwareIds.front(), Shifted(device.version, 1), 1 + static_cast<int>(i % 3)); break;
      case 1: add(device.hardwareIds.front(), device.version, 2); break;
      case 2: {
        // The most specific compatible id that is no generic class id.
        const auto specific = std::find_if(device.compatibleIds.begin(), device.compatibleIds.end(), [](std::string id) {
          for (char& c : id) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
          return id[0] != '*' && id.find("cc_") == std::string::npos && id.find("class_") == std::string::npos &&
                 id.rfind("acpi\\", 0) != 0;
        });
        if (specific != device.compatibleIds.end()) add(*specific, Shifted(device.version, 1), 3);
        break;
      }
      default: add(device.hardwareIds.front(), Shifted(device.version, -1), 2); break;
    }
  }
  add("PCI\\VEN_ABCD&DEV_0001", "9.9.9.9", 1);
  add("USB\\VID_ABCD&PID_0002|USB\\VID_ABCD", "1.0", 4);
  return catalogue;
}

}  // namespace zx::test
