// Scanning the machine the tests run on: its PCI functions come back as device records with
// hardware ids in Windows form (skipped where sysfs has no PCI bus).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "DriverInstallEngine.h"
#include "scan_testing.h"
#include "zx/machineprofile.h"

namespace zx::test {
namespace {

unsigned SysfsNumber(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string text;
  in >> text;
  return static_cast<unsigned>(std::strtoul(text.c_str(), nullptr, 16));
}

std::string Narrow(LPCWSTR text) {
  std::string out;
  for (; *text != 0; ++text) out += static_cast<char>(*text);
  return out;
}

using HostScan = ScanTest;

TEST_F(HostScan, ThisMachinesPciFunctionsInWindowsForm) {
  const std::filesystem::path bus = "/sys/bus/pci/devices";
  std::error_code ec;
  if (!std::filesystem::exists(bus, ec)) GTEST_SKIP() << "this machine has no PCI bus in sysfs";
  // Each function's first hardware id, written from sysfs here; serial ports (a class the
  // scanner leaves out once a driver runs them) need not come back.
  std::set<std::string> expected, optional;
  for (const auto& entry : std::filesystem::directory_iterator(bus, ec)) {
    char id[80];
    std::snprintf(id, sizeof id, "PCI\\VEN_%04X&DEV_%04X&SUBSYS_%04X%04X&REV_%02X", SysfsNumber(entry.path() / "vendor"),
                  SysfsNumber(entry.path() / "device"), SysfsNumber(entry.path() / "subsystem_device"),
                  SysfsNumber(entry.path() / "subsystem_vendor"), SysfsNumber(entry.path() / "revision"));
    const unsigned code = SysfsNumber(entry.path() / "class");
    (code >> 16 == 0x07 && (code >> 8 & 0xFF) <= 1 ? optional : expected).insert(id);
  }
  std::string error;
  ASSERT_EQ(devices::SeedMachine(devices::ReadHostProfile(devices::DefaultHostSources()), devices::SeedOptions{false, "host"},
                                 error),
            devices::SeedResult::Seeded)
      << error;
  const ScanOutcome outcome = Scan();
  ASSERT_EQ(outcome.status, kStepCompleted);
  const std::regex windowsForm(R"(PCI\\VEN_[0-9A-F]{4}&DEV_[0-9A-F]{4}&SUBSYS_[0-9A-F]{8}&REV_[0-9A-F]{2})");
  std::set<std::string> found;
  for (const auto& record : outcome.records) {
    const std::string id = Narrow(record->szText[kSlotHardwareId].Text());
    if (id.rfind("PCI\\", 0) != 0) continue;
    EXPECT_TRUE(std::regex_match(id, windowsForm)) << id;
    EXPECT_TRUE(expected.count(id) + optional.count(id) > 0) << id;
    found.insert(id);
  }
  for (const std::string& id : expected) EXPECT_TRUE(found.count(id) > 0) << "missing " << id;
}

}  // namespace
}  // namespace zx::test
