// The host's hardware as a machine profile, from a sysfs tree of the test's own: PCI
// functions, USB devices (single-interface, composite, root hubs, twins with one serial
// number, control characters in their texts), ACPI devices, drivers and their module
// versions, pci.ids names. Instance ids name a parent by the FNV-1a hash of its sysfs name:
// "0000:00" is ab6ca9c5, "0000:02" a96ca69f, "1-2" e33fd0c3, "1-3" e23fcf30, "usb1" 977676f0.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "machine_fixture.h"
#include "zx/machineprofile.h"

namespace zx::devices {
namespace {

namespace fs = std::filesystem;

class HostHardware : public ::testing::Test {
 protected:
  void File(const std::string& path, const std::string& text) {
    const fs::path full = fs::path(folder_.path()) / path;
    fs::create_directories(full.parent_path());
    std::ofstream(full) << text;
  }
  void Link(const std::string& path, const std::string& target) {
    const fs::path full = fs::path(folder_.path()) / path;
    fs::create_directories(full.parent_path());
    fs::create_symlink(target, full);
  }
  // A PCI function at 0000:00:<slot>.<function> bound to a driver of a module.
  void Pci(const std::string& address, const char* vendor, const char* device, const char* classCode,
           const std::string& driver = "", const std::string& moduleVersion = "") {
    const std::string dir = "sys/bus/pci/devices/" + address + "/";
    File(dir + "vendor", std::string(vendor) + "\n");
    File(dir + "device", std::string(device) + "\n");
    File(dir + "subsystem_vendor", "0x17aa\n");
    File(dir + "subsystem_device", "0x21f3\n");
    File(dir + "revision", "0x04\n");
    File(dir + "class", std::string(classCode) + "\n");
    if (driver.empty()) return;
    Link(dir + "driver", "../../drivers/" + driver);
    Link("sys/bus/pci/drivers/" + driver + "/module", "../../../module/" + driver);
    if (!moduleVersion.empty()) File("sys/module/" + driver + "/version", moduleVersion + "\n");
  }
  HostSources Sources() {
    HostSources sources;
    sources.sysRoot = folder_.path() + "/sys";
    sources.procRoot = folder_.path() + "/proc";
    sources.pciIds = folder_.path() + "/pci.ids";
    return sources;
  }
  const ProfileDevice* Find(const MachineProfile& profile, const std::u16string& id) {
    for (const ProfileDevice& d : profile.devices)
      if (d.instanceId == id) return &d;
    ADD_FAILURE() << "no device " << std::string(id.begin(), id.end());
    return nullptr;
  }
  zx::test::TempFolder folder_;
};

TEST_F(HostHardware, PciFunctionsInWindowsForm) {
  File("proc/sys/kernel/osrelease", "6.1.0-17-amd64\n");
  File("proc/sys/kernel/version", "#1 SMP PREEMPT_DYNAMIC Debian 6.1.69-1 (2023-12-30)\n");
  Pci("0000:00:19.0", "0x8086", "0x1502", "0x020000", "e1000e", "3.2.6-k");
  Pci("0000:00:1f.3", "0x8086", "0x1e22", "0x0c0500", "i801_smbus");
  Pci("0000:02:00.0", "0x1b21", "0x1142", "0xff0000");
  File("pci.ids", "# comment\n8086  Intel Corporation\n\t1502  82579LM Gigabit Network Connection (Lewisville)\n"
                  "\t\t17aa 21f3  ThinkPad T520\n1b21  ASMedia Technology Inc.\nC 02  Network controller\n");
  const MachineProfile profile = ReadHostProfile(Sources());
  ASSERT_EQ(profile.devices.size(), 3u);
  const ProfileDevice* nic = Find(profile, u"PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\\3&ab6ca9c5&0&C8");
  ASSERT_NE(nic, nullptr);
  EXPECT_EQ(nic->hardwareIds, (std::vector<std::u16string>{u"PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04",
                                                           u"PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA",
                                                           u"PCI\\VEN_8086&DEV_1502&CC_020000", u"PCI\\VEN_8086&DEV_1502&CC_0200"}));
  EXPECT_EQ(nic->compatibleIds.size(), 7u);
  EXPECT_EQ(nic->compatibleIds[1], u"PCI\\VEN_8086&DEV_1502");
  EXPECT_EQ(nic->compatibleIds[6], u"PCI\\CC_0200");
  EXPECT_EQ(nic->className, u"Net");
  EXPECT_EQ(nic->name, u"82579LM Gigabit Network Connection (Lewisville)");
  EXPECT_EQ(nic->mfg, u"Intel Corporation");
  EXPECT_EQ(nic->location, u"PCI bus 0, device 25, function 0");
  EXPECT_EQ(nic->service, u"e1000e");
  ASSERT_TRUE(nic->driver.has_value());
  EXPECT_EQ(nic->driver->version, u"3.2.6");  // the module's own version
  EXPECT_EQ(nic->driver->date, u"12-30-2023");
  EXPECT_EQ(nic->driver->inf, u"e1000e.inf");
  EXPECT_EQ(nic->driver->matchingId, u"pci\\ven_8086&dev_1502");

  const ProfileDevice* smbus = Find(profile, u"PCI\\VEN_8086&DEV_1E22&SUBSYS_21F317AA&REV_04\\3&ab6ca9c5&0&FB");
  ASSERT_NE(smbus, nullptr);
  EXPECT_EQ(smbus->className, u"System");
  EXPECT_EQ(smbus->name, u"SM Bus Controller");  // not in the id list: Windows' generic name
  EXPECT_EQ(smbus->driver->version, u"6.1.0.17");  // no module version: the kernel's

  const ProfileDevice* unbound = Find(profile, u"PCI\\VEN_1B21&DEV_1142&SUBSYS_21F317AA&REV_04\\3&a96ca69f&0&00");
  ASSERT_NE(unbound, nullptr);
  EXPECT_TRUE(unbound->service.empty());
  EXPECT_FALSE(unbound->driver.has_value());
  EXPECT_TRUE(unbound->className.empty());
  EXPECT_EQ(unbound->mfg, u"ASMedia Technology Inc.");
}

TEST_F(HostHardware, UsbDevicesInterfacesAndRootHubs) {
  const auto device = [this](const std::string& name, const char* vid, const char* pid, const char* cls) {
    const std::string dir = "sys/bus/usb/devices/" + name + "/";
    File(dir + "idVendor", vid);
    File(dir + "idProduct", pid);
    File(dir + "bcdDevice", "0100");
    File(dir + "bDeviceClass", cls);
    File(dir + "version", " 2.00");
  };
  const auto interface = [this](const std::string& name, const char* number, const char* cls, const std::string& driver) {
    const std::string dir = "sys/bus/usb/devices/" + name + "/";
    File(dir + "bInterfaceNumber", number);
    File(dir + "bInterfaceClass", cls);
    File(dir + "bInterfaceSubClass", "01");
    File(dir + "bInterfaceProtocol", "02");
    if (!driver.empty()) Link(dir + "driver", "../../drivers/" + driver);
  };
  device("usb1", "1d6b", "0002", "09");
  interface("usb1:1.0", "00", "09", "hub");
  device("1-1", "0781", "5567", "00");
  File("sys/bus/usb/devices/1-1/serial", "4C530012450531101593");
  File("sys/bus/usb/devices/1-1/manufacturer", "SanDisk");
  interface("1-1:1.0", "00", "08", "usb-storage");
  device("1-2", "046d", "c52b", "00");
  interface("1-2:1.0", "00", "03", "usbhid");
  interface("1-2:1.1", "01", "03", "usbhid");
  const MachineProfile profile = ReadHostProfile(Sources());
  ASSERT_EQ(profile.devices.size(), 5u);
  const ProfileDevice* stick = Find(profile, u"USB\\VID_0781&PID_5567\\4C530012450531101593");
  ASSERT_NE(stick, nullptr);
  EXPECT_EQ(stick->hardwareIds, (std::vector<std::u16string>{u"USB\\VID_0781&PID_5567&REV_0100", u"USB\\VID_0781&PID_5567"}));
  EXPECT_EQ(stick->compatibleIds[0], u"USB\\Class_08&SubClass_01&Prot_02");
  EXPECT_EQ(stick->name, u"USB Mass Storage Device");
  EXPECT_EQ(stick->mfg, u"SanDisk");
  EXPECT_EQ(stick->service, u"usb-storage");
  const ProfileDevice* composite = Find(profile, u"USB\\VID_046D&PID_C52B\\5&e33fd0c3&0&2");
  ASSERT_NE(composite, nullptr);
  EXPECT_EQ(composite->compatibleIds.back(), u"USB\\COMPOSITE");
  const ProfileDevice* second = Find(profile, u"USB\\VID_046D&PID_C52B&MI_01\\6&e33fd0c3&0&0001");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->hardwareIds[0], u"USB\\VID_046D&PID_C52B&REV_0100&MI_01");
  EXPECT_EQ(second->className, u"HIDClass");
  const ProfileDevice* hub = Find(profile, u"USB\\ROOT_HUB20\\4&977676f0&0");
  ASSERT_NE(hub, nullptr);
  EXPECT_EQ(hub->hardwareIds.back(), u"USB\\ROOT_HUB20");
  EXPECT_EQ(hub->service, u"hub");
}

TEST_F(HostHardware, TwinsAndControlCharactersStillSeed) {
  // Two adapters of one kind sharing a serial number, and two batteries sharing a uid.
  for (const char* name : {"1-2", "1-3"}) {
    const std::string dir = std::string("sys/bus/usb/devices/") + name + "/";
    File(dir + "idVendor", "0403");
    File(dir + "idProduct", "6001");
    File(dir + "bDeviceClass", "00");
    File(dir + "serial", "A50285BI");
    File(dir + "manufacturer", " FT\x04" "DI\tLtd ");  // a device may report control characters
  }
  for (const char* name : {"PNP0C0A:00", "PNP0C0A:01"}) {
    File(std::string("sys/bus/acpi/devices/") + name + "/hid", "PNP0C0A");
    File(std::string("sys/bus/acpi/devices/") + name + "/uid", "1");
  }
  const MachineProfile profile = ReadHostProfile(Sources());
  ASSERT_EQ(profile.devices.size(), 3u);
  const ProfileDevice* first = Find(profile, u"USB\\VID_0403&PID_6001\\A50285BI");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->mfg, u"FTDILtd");
  EXPECT_NE(Find(profile, u"USB\\VID_0403&PID_6001\\5&e23fcf30&0&3"), nullptr);
  EXPECT_NE(Find(profile, u"ACPI\\PNP0C0A\\1"), nullptr);
  MachineProfile again;
  std::string error;
  EXPECT_TRUE(ParseProfile(FormatProfile(profile), "host", again, error)) << error;
}

TEST_F(HostHardware, AcpiDevicesThatArePresent) {
  File("sys/bus/acpi/devices/PNP0303:00/hid", "PNP0303");
  File("sys/bus/acpi/devices/PNP0303:00/status", "15");
  File("sys/bus/acpi/devices/PNP0C0A:00/hid", "PNP0C0A");
  File("sys/bus/acpi/devices/PNP0C0A:00/status", "0");  // not present
  File("sys/bus/acpi/devices/LNXSYSTM:00/hid", "LNXSYSTM");
  File("sys/bus/acpi/devices/device:00/path", "\\_SB_.PCI0");  // no id
  const MachineProfile profile = ReadHostProfile(Sources());
  ASSERT_EQ(profile.devices.size(), 1u);
  EXPECT_EQ(profile.devices[0].instanceId, u"ACPI\\PNP0303\\0");
  EXPECT_EQ(profile.devices[0].hardwareIds, (std::vector<std::u16string>{u"ACPI\\PNP0303", u"*PNP0303"}));
  EXPECT_EQ(profile.devices[0].className, u"Keyboard");
}

TEST_F(HostHardware, NothingToReadIsAnEmptyMachine) {
  EXPECT_TRUE(ReadHostProfile(Sources()).devices.empty());
}

TEST_F(HostHardware, TheProfileOfAHostReadsBack) {
  Pci("0000:00:19.0", "0x8086", "0x1502", "0x020000", "e1000e");
  const MachineProfile profile = ReadHostProfile(Sources());
  MachineProfile again;
  std::string error;
  ASSERT_TRUE(ParseProfile(FormatProfile(profile), "host", again, error)) << error;
  EXPECT_EQ(FormatProfile(again), FormatProfile(profile));
}

}  // namespace
}  // namespace zx::devices
