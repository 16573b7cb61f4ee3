// The classes read from the host's hardware files: DMI fields, processors, memory and
// network adapters, and what is missing or unreadable.
#include <filesystem>

#include "comutil.h"
#include "wmi_testing.h"

namespace {

using zx::test::WmiTest;
using Strings = std::vector<std::string>;

class Hardware : public WmiTest {
 protected:
  void Dmi(const std::string& field, const std::string& value) { HostFile("/sys/class/dmi/id/" + field, value); }
  void Adapter(const std::string& name, const std::string& type, const std::string& index, const std::string& address) {
    const std::string folder = "/sys/class/net/" + name + "/";
    HostFile(folder + "type", type + "\n");
    HostFile(folder + "ifindex", index + "\n");
    HostFile(folder + "address", address + "\n");
    HostFile(folder + "operstate", "up\n");
  }
};

TEST_F(Hardware, BiosFieldsComeFromDmi) {
  Dmi("bios_vendor", "American Megatrends Inc.\n");
  Dmi("bios_version", "1.40  \n");
  Dmi("bios_date", "06/23/2009\n");
  const std::string query = "SELECT * FROM Win32_BIOS";
  EXPECT_EQ(Column(query, "Manufacturer"), Strings{"American Megatrends Inc."});
  EXPECT_EQ(Column(query, "SMBIOSBIOSVersion"), Strings{"1.40"});
  EXPECT_EQ(Column(query, "Name"), Strings{"1.40"});
  EXPECT_EQ(Column(query, "ReleaseDate"), Strings{"20090623000000.000000+000"});
  EXPECT_EQ(Column(query, "PrimaryBIOS"), Strings{"TRUE"});
  EXPECT_EQ(Column(query, "SMBIOSPresent"), Strings{"TRUE"});
}

TEST_F(Hardware, UnreadableEmptyAndDamagedFieldsAreNull) {
  // A folder where the file should be cannot be read, as a root-only serial number cannot.
  std::filesystem::create_directories(HostPath("/sys/class/dmi/id/product_serial"));
  Dmi("bios_vendor", "\n");
  Dmi("bios_date", "2009-06-23\n");
  const std::string query = "SELECT SerialNumber, Manufacturer, ReleaseDate FROM Win32_BIOS";
  EXPECT_EQ(Column(query, "SerialNumber"), Strings{"NULL"});
  EXPECT_EQ(Column(query, "Manufacturer"), Strings{"NULL"});
  EXPECT_EQ(Column(query, "ReleaseDate"), Strings{"NULL"});
}

TEST_F(Hardware, MachineWithoutDmiStillHasOneOfEachBoard) {
  EXPECT_EQ(Column("SELECT * FROM Win32_BIOS", "SMBIOSPresent"), Strings{"FALSE"});
  EXPECT_EQ(Column("SELECT * FROM Win32_BaseBoard", "Product"), Strings{"NULL"});
  EXPECT_EQ(Column("SELECT * FROM Win32_BaseBoard", "Tag"), Strings{"Base Board"});
  EXPECT_EQ(Column("SELECT Model FROM Win32_ComputerSystem", "Model"), Strings{"NULL"});
}

TEST_F(Hardware, BaseBoardAndComputerSystem) {
  Dmi("board_vendor", "ASUSTeK COMPUTER INC.\n");
  Dmi("board_name", "P5Q\n");
  Dmi("board_version", "Rev 1.xx\n");
  Dmi("sys_vendor", "System manufacturer\n");
  Dmi("product_name", "System Product Name\n");
  EXPECT_EQ(Column("SELECT Product FROM Win32_BaseBoard", "Product"), Strings{"P5Q"});
  EXPECT_EQ(Column("SELECT Manufacturer FROM Win32_BaseBoard", "Manufacturer"), Strings{"ASUSTeK COMPUTER INC."});
  EXPECT_EQ(Column("SELECT Version FROM Win32_BaseBoard", "Version"), Strings{"Rev 1.xx"});
  EXPECT_EQ(Column("SELECT Model FROM Win32_ComputerSystem", "Model"), Strings{"System Product Name"});
  EXPECT_EQ(Column("SELECT Manufacturer FROM Win32_ComputerSystem", "Manufacturer"), Strings{"System manufacturer"});
}

TEST_F(Hardware, ProcessorsAndMemoryAreTypedAsWmiTypesThem) {
  HostFile("/proc/cpuinfo",
           "processor\t: 0\nphysical id\t: 0\n\nprocessor\t: 1\nphysical id\t: 0\n\n"
           "processor\t: 2\nphysical id\t: 1\n\nprocessor\t: 3\nphysical id\t: 1\n\n");
  HostFile("/proc/meminfo", "MemTotal:        8388608 kB\nMemFree:  1 kB\n");
  const std::string query = "SELECT * FROM Win32_ComputerSystem";
  EXPECT_EQ(Column(query, "NumberOfLogicalProcessors"), Strings{"4"});
  EXPECT_EQ(Column(query, "NumberOfProcessors"), Strings{"2"});
  EXPECT_EQ(Column(query, "TotalPhysicalMemory"), Strings{"8589934592"});  // uint64 travels as text

  IEnumWbemClassObject* enumerator = nullptr;
  ASSERT_EQ(Run(query, &enumerator), WBEM_S_NO_ERROR);
  IWbemClassObject* object = nullptr;
  ULONG returned = 0;
  ASSERT_EQ(enumerator->Next(WBEM_INFINITE, 1, &object, &returned), WBEM_S_NO_ERROR);
  VARIANT value;
  CIMTYPE type = 0;
  ASSERT_EQ(object->Get(u"NumberOfProcessors", 0, &value, &type, nullptr), WBEM_S_NO_ERROR);
  EXPECT_EQ(value.vt, VT_I4);
  EXPECT_EQ(type, CIM_UINT32);
  ASSERT_EQ(object->Get(u"TotalPhysicalMemory", 0, nullptr, &type, nullptr), WBEM_S_NO_ERROR);
  EXPECT_EQ(type, CIM_UINT64);
  ASSERT_EQ(object->Get(u"PartOfDomain", 0, &value, nullptr, nullptr), WBEM_S_NO_ERROR);
  EXPECT_EQ(value.vt, VT_BOOL);
  EXPECT_EQ(value.boolVal, VARIANT_FALSE);
  object->Release();
  enumerator->Release();
}

TEST_F(Hardware, AdaptersInIndexOrderWithoutLoopback) {
  Adapter("lo", "772", "1", "00:00:00:00:00:00");
  Adapter("wlan0", "1", "3", "02:fc:00:00:00:01");
  Adapter("eth0", "1", "2", "00:50:56:c0:00:08");
  Adapter("dummy0", "1", "4", "00:00:00:00:00:00");
  HostFile("/sys/class/net/eth0/speed", "1000\n");
  const std::string query = "SELECT * FROM Win32_NetworkAdapter";
  EXPECT_EQ(Column(query, "NetConnectionID"), (Strings{"eth0", "wlan0", "dummy0"}));
  EXPECT_EQ(Column(query, "MACAddress"), (Strings{"00:50:56:C0:00:08", "02:FC:00:00:00:01", "NULL"}));
  EXPECT_EQ(Column(query, "Index"), (Strings{"2", "3", "4"}));
  EXPECT_EQ(Column(query, "Speed"), (Strings{"1000000000", "NULL", "NULL"}));
  EXPECT_EQ(Column(query, "NetEnabled"), (Strings{"TRUE", "TRUE", "TRUE"}));
}

TEST_F(Hardware, MemoryModulesFromTheSmbiosTable) {
  // Two memory devices (type 17, 0x22 bytes formatted): 4096 MB in "DIMM_A1" / "BANK 0" by
  // "Samsung", serial "1234ABCD", part "M378B5273CH0", 1333 MHz; and an empty slot.
  const std::string module = std::string(
      "\x11\x22\x40\x00"       // type, length, handle
      "\x3E\x00\xFE\xFF"       // array handle, error handle
      "\x40\x00\x40\x00"       // total and data width
      "\x00\x10"               // size: 4096 MB
      "\x09\x00"               // form factor, set
      "\x01\x02"               // device locator string 1, bank locator string 2
      "\x18\x80\x00"           // memory type, type detail
      "\x35\x05"               // speed 1333
      "\x03\x04\x05\x06"       // manufacturer, serial, asset tag, part number strings
      "\x00\x00\x00\x00\x00\x00\x00",  // rank, extended size, configured speed
      0x22) + std::string("DIMM_A1\0BANK 0\0Samsung\0" "1234ABCD  \0 \0M378B5273CH0\0\0", 50);
  HostFile("/sys/firmware/dmi/entries/17-0/raw", module);
  std::string empty = module;
  empty[0x0C] = empty[0x0D] = '\0';
  HostFile("/sys/firmware/dmi/entries/17-1/raw", empty);
  HostFile("/sys/firmware/dmi/entries/16-0/raw", std::string("\x10\x17", 2));
  HostFile("/sys/firmware/dmi/entries/17-2/raw", std::string("\x11\x40\x00", 3));  // cut short
  const std::string query = "SELECT * FROM Win32_PhysicalMemory";
  EXPECT_EQ(Column(query, "Capacity"), Strings{"4294967296"});
  EXPECT_EQ(Column(query, "DeviceLocator"), Strings{"DIMM_A1"});
  EXPECT_EQ(Column(query, "BankLabel"), Strings{"BANK 0"});
  EXPECT_EQ(Column(query, "Manufacturer"), Strings{"Samsung"});
  EXPECT_EQ(Column(query, "SerialNumber"), Strings{"1234ABCD"});
  EXPECT_EQ(Column(query, "PartNumber"), Strings{"M378B5273CH0"});
  EXPECT_EQ(Column(query, "Speed"), Strings{"1333"});
  EXPECT_EQ(Column(query, "Tag"), Strings{"Physical Memory 0"});
}

TEST_F(Hardware, ClosedSmbiosTableGivesOneModuleOfAllMemory) {
  HostFile("/proc/meminfo", "MemTotal:        2048 kB\n");
  EXPECT_EQ(Column("SELECT Capacity FROM Win32_PhysicalMemory", "Capacity"), Strings{"2097152"});
}

}  // namespace

namespace {

// The real host: every class answers, whatever this machine lets us read.
using RealMachine = zx::test::MachineTest;

TEST_F(RealMachine, EveryClassAnswersWithoutAStandIn) {
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  IWbemLocator* locator = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                             reinterpret_cast<void**>(&locator)),
            S_OK);
  IWbemServices* services = nullptr;
  ASSERT_EQ(locator->ConnectServer(_bstr_t(u"root\\cimv2"), nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services),
            WBEM_S_NO_ERROR);
  for (const char16_t* query : {u"SELECT * FROM Win32_BIOS", u"SELECT * FROM Win32_BaseBoard",
                                u"SELECT * FROM Win32_ComputerSystem", u"SELECT * FROM Win32_NetworkAdapter",
                                u"SELECT * FROM Win32_PhysicalMemory"}) {
    IEnumWbemClassObject* objects = nullptr;
    ASSERT_EQ(services->ExecQuery(_bstr_t(u"WQL"), _bstr_t(query), 0, nullptr, &objects), WBEM_S_NO_ERROR);
    IWbemClassObject* object = nullptr;
    ULONG returned = 0;
    ULONG count = 0;
    while (objects->Next(WBEM_INFINITE, 1, &object, &returned) == WBEM_S_NO_ERROR) {
      EXPECT_NE(zx::test::ValueText(object, "__CLASS"), "<missing>");
      object->Release();
      ++count;
    }
    objects->Release();
    if (std::u16string(query).find(u"BIOS") != std::u16string::npos) {
      EXPECT_EQ(count, 1u);
    }
  }
  services->Release();
  locator->Release();
  CoUninitialize();
}

}  // namespace
