// Test support of the device service tests: seeding a profile text into the test's root, and
// reading registry values back.
#pragma once
#include <gtest/gtest.h>
#include <winreg.h>

#include <string>

#include "machine_fixture.h"
#include "zx/machineprofile.h"

namespace zx::devices {

inline void SeedText(const std::string& text, SeedResult expected = SeedResult::Seeded) {
  MachineProfile profile;
  std::string error;
  ASSERT_TRUE(ParseProfile(text, "test.profile", profile, error)) << error;
  EXPECT_EQ(SeedMachine(profile, SeedOptions{false, "test.profile"}, error), expected) << error;
}

// A REG_SZ value of HKLM; "<missing>" when it cannot be read.
inline std::u16string MachineText(const std::u16string& key, const std::u16string& name) {
  WCHAR text[1024];
  DWORD size = sizeof text;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                   nullptr, text, &size) != ERROR_SUCCESS)
    return u"<missing>";
  return text;
}

inline DWORD MachineDword(const std::u16string& key, const std::u16string& name) {
  DWORD value = 0xDEADBEEF, size = sizeof value;
  RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

inline bool KeyExists(const std::u16string& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

// Two devices of the network class and one without a driver: the profile most tests seed.
inline const char kTwoCards[] =
    "device PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\\3&21436425&0&C8\n"
    "  name = Intel(R) 82579LM Gigabit Network Connection\n"
    "  hwid = PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\n"
    "  hwid = PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA\n"
    "  compatid = PCI\\VEN_8086&DEV_1502&REV_04\n"
    "  compatid = PCI\\VEN_8086&DEV_1502\n"
    "  class = Net\n"
    "  mfg = Intel\n"
    "  service = e1cexpress\n"
    "  inf = oem12.inf\n"
    "  version = 12.0.150.0\n"
    "  date = 05-31-2012\n"
    "  provider = Intel\n"
    "  signer = Microsoft Windows Hardware Compatibility Publisher\n"
    "  matching = PCI\\VEN_8086&DEV_1502\n"
    "device PCI\\VEN_8086&DEV_0085&SUBSYS_13118086&REV_34\\4&31C7BDF7&0&00E2\n"
    "  name = Intel(R) Centrino(R) Advanced-N 6205\n"
    "  friendly = Wireless Network Connection\n"
    "  hwid = PCI\\VEN_8086&DEV_0085&SUBSYS_13118086&REV_34\n"
    "  class = Net\n"
    "  service = NETwNs64\n"
    "  inf = oem31.inf\n"
    "  version = 15.1.1.1\n"
    "  date = 7-10-2012\n"
    "  provider = Intel\n"
    "device PCI\\VEN_8086&DEV_1E22&SUBSYS_21F317AA&REV_04\\3&21436425&0&FB\n"
    "  name = SM Bus Controller\n"
    "  hwid = PCI\\VEN_8086&DEV_1E22&SUBSYS_21F317AA&REV_04\n"
    "device USB\\VID_0781&PID_5567\\4C530012450531101593\n"
    "  name = USB Mass Storage Device\n"
    "  hwid = USB\\VID_0781&PID_5567\n"
    "  class = USB\n"
    "  present = no\n";

inline const std::u16string kEnum = u"SYSTEM\\CurrentControlSet\\Enum\\";
inline const std::u16string kNetClass = u"SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e972-e325-11ce-bfc1-08002be10318}";
inline const std::u16string kCard = kEnum + u"PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\\3&21436425&0&C8";

}  // namespace zx::devices
