// The machine profile over the host's values: per class, per instance, whole classes, and
// damaged values.
#include "wmi_testing.h"

namespace {

using zx::test::WmiTest;
using Strings = std::vector<std::string>;

TEST_F(WmiTest, ClassSectionReplacesPropertiesOfTheHostInstance) {
  HostFile("/sys/class/dmi/id/bios_vendor", "Host Vendor\n");
  HostFile("/sys/class/dmi/id/bios_version", "Host 1.0\n");
  Profile("[Win32_BIOS]\nManufacturer = Phoenix Technologies LTD\nSMBIOSBIOSVersion=\n");
  EXPECT_EQ(Column("SELECT Manufacturer FROM Win32_BIOS", "Manufacturer"), Strings{"Phoenix Technologies LTD"});
  EXPECT_EQ(Column("SELECT SMBIOSBIOSVersion FROM Win32_BIOS", "SMBIOSBIOSVersion"), Strings{"NULL"});
  EXPECT_EQ(Column("SELECT Name FROM Win32_BIOS", "Name"), Strings{"Host 1.0"});
}

TEST_F(WmiTest, InstancesCountMakesTheProfileTheWholeClass) {
  HostFile("/sys/class/net/eth0/type", "1\n");
  HostFile("/sys/class/net/eth0/address", "02:fc:00:00:00:01\n");
  Profile("[Win32_NetworkAdapter]\nInstances=3\nAdapterType=Ethernet 802.3\n"
          "[Win32_NetworkAdapter.0]\nMACAddress=00:50:56:C0:00:01\nNetConnectionID=VMware Network Adapter VMnet1\n"
          "[Win32_NetworkAdapter.2]\nMACAddress=00:1A:2B:3C:4D:5E\nNetConnectionID=Local Area Connection\n");
  const std::string query = "SELECT * FROM Win32_NetworkAdapter";
  EXPECT_EQ(Column(query, "MACAddress"), (Strings{"00:50:56:C0:00:01", "NULL", "00:1A:2B:3C:4D:5E"}));
  EXPECT_EQ(Column(query, "AdapterType"), (Strings{"Ethernet 802.3", "Ethernet 802.3", "Ethernet 802.3"}));
  EXPECT_EQ(Column(query, "Index"), (Strings{"NULL", "NULL", "NULL"}));
}

TEST_F(WmiTest, DamagedCountsAndValuesDoNotBreakTheClass) {
  Profile("[Win32_PhysicalMemory]\nInstances=lots\n"
          "[Win32_ComputerSystem]\nInstances=1\nNumberOfProcessors=99999999999\nTotalPhysicalMemory=12GB\n"
          "PartOfDomain=maybe\nNumberOfLogicalProcessors=4294967295\n");
  EXPECT_TRUE(Column("SELECT * FROM Win32_PhysicalMemory", "Capacity").empty());
  const std::string query = "SELECT * FROM Win32_ComputerSystem";
  EXPECT_EQ(Column(query, "NumberOfProcessors"), Strings{"NULL"});
  EXPECT_EQ(Column(query, "TotalPhysicalMemory"), Strings{"NULL"});
  EXPECT_EQ(Column(query, "PartOfDomain"), Strings{"NULL"});
  EXPECT_EQ(Column(query, "NumberOfLogicalProcessors"), Strings{"-1"});  // uint32 in a VT_I4, as WMI gives it
}

TEST_F(WmiTest, ProfileAdaptersFeedTheAdapterClass) {
  Profile("[NetworkAdapters]\nCount=2\n[NetworkAdapter.0]\nName=Intel(R) PRO/1000\nMACAddress=001122334455\n"
          "NetConnectionID=Local Area Connection\n[NetworkAdapter.1]\nName=Bluetooth\n");
  const std::string query = "SELECT * FROM Win32_NetworkAdapter";
  EXPECT_EQ(Column(query, "MACAddress"), (Strings{"00:11:22:33:44:55", "NULL"}));
  EXPECT_EQ(Column(query, "NetConnectionID"), (Strings{"Local Area Connection", "NULL"}));
  EXPECT_EQ(Column(query, "Caption"), (Strings{"[00000001] Intel(R) PRO/1000", "[00000002] Bluetooth"}));
}

}  // namespace
