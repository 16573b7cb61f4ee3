// The hardware inventory and the machine hash over machine profiles: exact lists, exact
// hash texts (expected digests worked out apart from this code), the addresses that never
// count, and a machine whose WMI service does not run.
#include <gtest/gtest.h>

#include "HardwareHash.h"
#include "cstring_printer.h"
#include "machine_fixture.h"

namespace {

// The inventory every profile below shares: one BIOS, one board, one computer system.
const char kInventory[] =
    "[Win32_BIOS]\nInstances=1\nName=Phoenix - AwardBIOS v6.00PG\nManufacturer=Phoenix Technologies, LTD\n"
    "SMBIOSBIOSVersion=ASUS P5Q ACPI BIOS Revision 2101\nSerialNumber=MS1C82S09200123\n"
    "ReleaseDate=20090623000000.000000+000\nVersion=ignored by the inventory\n"
    "[Win32_BaseBoard]\nInstances=1\nProduct=P5Q\nManufacturer=ASUSTeK Computer INC.\n"
    "SerialNumber=MS1C82S09200123\nVersion=Rev 1.xx\n"
    "[Win32_ComputerSystem]\nInstances=1\nModel=System Product Name\nManufacturer=System manufacturer\n";

class HardwareHashTest : public zx::test::MachineTest {
 protected:
  void Profile(const std::string& text) { WriteHostFile(root() + "/machine.ini", text); }
  using PairList = std::vector<std::pair<CString, CString>>;
  static PairList Pairs(const CKeyValuePairArray& list) {
    PairList pairs;
    for (INT_PTR i = 0; i < list.GetSize(); ++i) pairs.emplace_back(list[i].strKey, list[i].strValue);
    return pairs;
  }
  CHardwareHash hash_;
};

TEST_F(HardwareHashTest, ListsHoldThePropertiesInTheirOrder) {
  Profile(std::string(kInventory) +
          "[Win32_NetworkAdapter]\nInstances=4\n"
          "[Win32_NetworkAdapter.0]\nMACAddress=00:1A:2B:3C:4D:5E\nNetConnectionID=Local Area Connection\n"
          "[Win32_NetworkAdapter.1]\nMACAddress=00:50:56:C0:00:08\nNetConnectionID=VMware Network Adapter VMnet8\n"
          "[Win32_NetworkAdapter.2]\nMACAddress=00:1A:2B:3C:4D:5F\n"
          "[Win32_NetworkAdapter.3]\nNetConnectionID=Bluetooth Network Connection\n");
  hash_.ComputeHash();
  EXPECT_EQ(Pairs(hash_.m_arrBios),
            (PairList{{_T("Name"), _T("Phoenix - AwardBIOS v6.00PG")},
                     {_T("Manufacturer"), _T("Phoenix Technologies, LTD")},
                     {_T("SMBIOSBIOSVersion"), _T("ASUS P5Q ACPI BIOS Revision 2101")},
                     {_T("SerialNumber"), _T("MS1C82S09200123")},
                     {_T("ReleaseDate"), _T("20090623000000.000000+000")}}));
  EXPECT_EQ(Pairs(hash_.m_arrBaseBoard),
            (PairList{{_T("Product"), _T("P5Q")}, {_T("Manufacturer"), _T("ASUSTeK Computer INC.")},
                     {_T("SerialNumber"), _T("MS1C82S09200123")}, {_T("Version"), _T("Rev 1.xx")}}));
  EXPECT_EQ(Pairs(hash_.m_arrComputerSystem),
            (PairList{{_T("Model"), _T("System Product Name")}, {_T("Manufacturer"), _T("System manufacturer")}}));
  // Only adapters with a connection and an address, numbered in the order WMI returns them.
  EXPECT_EQ(Pairs(hash_.m_arrAdapterAddresses),
            (PairList{{_T("macaddress"), _T("")},
                     {_T("macaddress_0"), _T("00:1A:2B:3C:4D:5E")},
                     {_T("macaddress_1"), _T("00:50:56:C0:00:08")}}));
  EXPECT_EQ(Pairs(hash_.m_arrAdapterFilter),
            (PairList{{_T("netconnectionid"), _T("NULL")}, {_T("macaddress"), _T("NULL")}}));
  EXPECT_TRUE(hash_.m_arrPhysicalMemory.IsEmpty());
  EXPECT_EQ(hash_.m_arrMacAddresses.GetSize(), 0);
}

TEST_F(HardwareHashTest, AddressesWithSeparatorsCountAsTheyAre) {
  Profile(std::string(kInventory) +
          "[Win32_NetworkAdapter]\nInstances=2\nNetConnectionID=Local Area Connection\n"
          "[Win32_NetworkAdapter.0]\nMACAddress=00:1A:2B:3C:4D:5E\n"
          "[Win32_NetworkAdapter.1]\nMACAddress=00:50:56:C0:00:08\n");
  // SHA-1 97A618628B80C41C0A9C15ABFEADE810A86AC417 over the sorted lower-case texts.
  EXPECT_EQ(hash_.ComputeHash(), CString(_T("4665790225340399077")));
}

TEST_F(HardwareHashTest, TheTwoVirtualAddressesNeverCount) {
  Profile(std::string(kInventory) +
          "[Win32_NetworkAdapter]\nInstances=3\nNetConnectionID=Local Area Connection\n"
          "[Win32_NetworkAdapter.0]\nMACAddress=005056C00001\n"
          "[Win32_NetworkAdapter.1]\nMACAddress= 001A2B3C4D5E \n"
          "[Win32_NetworkAdapter.2]\nMACAddress=005056c00008\n");
  // SHA-1 F7604E02DECB69374C88C745B5A8E9C02A9F42AD.
  EXPECT_EQ(hash_.ComputeHash(), CString(_T("6565570633489915588")));
}

TEST_F(HardwareHashTest, TheSameInventoryGivesTheSameHash) {
  Profile(std::string(kInventory) + "[Win32_NetworkAdapter]\nInstances=1\nNetConnectionID=x\nMACAddress=001A2B3C4D5E\n");
  const CString first = hash_.ComputeHash();
  EXPECT_EQ(hash_.ComputeHash(), first);
  CHardwareHash other;
  EXPECT_EQ(other.ComputeHash(), first);
  EXPECT_EQ(first, CString(_T("6565570633489915588")));  // the ignored addresses changed nothing
}

TEST_F(HardwareHashTest, WithoutWmiTheSystemSourcesGiveTheAddresses) {
  Profile(std::string(kInventory) +
          "[Services]\nWinmgmt=stopped\n"
          "[NetworkAdapters]\nCount=2\n[NetworkAdapter.0]\nMACAddress=00:50:56:C0:00:01\n"
          "[NetworkAdapter.1]\nMACAddress=00:1A:2B:3C:4D:5E\n");
  // Eleven empty inventory values and 001a2b3c4d5e: SHA-1 B3495FAE0A0540910A038BCB5D53BF3D491E69D4.
  EXPECT_EQ(hash_.ComputeHash(), CString(_T("5099398864338753045")));
  EXPECT_EQ(Pairs(hash_.m_arrBios).size(), 5u);
  for (const auto& pair : Pairs(hash_.m_arrBios)) EXPECT_EQ(pair.second, CString());
  EXPECT_TRUE(hash_.m_arrAdapterAddresses.IsEmpty());
  // Adapter list, transports, then the node of a sequential UUID (the first adapter's).
  ASSERT_EQ(hash_.m_arrMacAddresses.GetSize(), 5);
  EXPECT_EQ(hash_.m_arrMacAddresses[0], CString(_T("005056C00001")));
  EXPECT_EQ(hash_.m_arrMacAddresses[1], CString(_T("001A2B3C4D5E")));
  EXPECT_EQ(hash_.m_arrMacAddresses[2], CString(_T("005056C00001")));
  EXPECT_EQ(hash_.m_arrMacAddresses[3], CString(_T("001A2B3C4D5E")));
  EXPECT_EQ(hash_.m_arrMacAddresses[4], CString(_T("005056C00001")));
}

TEST_F(HardwareHashTest, NoAddressAnywhereGivesTheOnesAddress) {
  Profile("[Services]\nWinmgmt=disabled\n[NetworkAdapters]\nCount=0\n");
  // Eleven empty values and 111111111111: SHA-1 CC8C74F0C167354F47793D7A85C1827A52B630D0.
  EXPECT_EQ(hash_.ComputeHash(), CString(_T("-3926636101731858162")));
  ASSERT_EQ(hash_.m_arrMacAddresses.GetSize(), 1);
  EXPECT_EQ(hash_.m_arrMacAddresses[0], CString(_T("111111111111")));
}

TEST_F(HardwareHashTest, OnlyVirtualAdaptersAlsoGiveTheOnesAddress) {
  Profile("[Services]\nWinmgmt=stopped\n[NetworkAdapters]\nCount=1\n[NetworkAdapter.0]\nMACAddress=00:50:56:C0:00:08\n");
  EXPECT_EQ(hash_.ComputeHash(), CString(_T("-3926636101731858162")));
}

TEST_F(HardwareHashTest, MemoryCapacitiesAreSummed) {
  Profile("[Win32_PhysicalMemory]\nInstances=3\n[Win32_PhysicalMemory.0]\nCapacity=4294967296\n"
          "[Win32_PhysicalMemory.1]\nCapacity=2147483648\n[Win32_PhysicalMemory.2]\nCapacity=\n");
  const CString capacity[] = {_T(" Capacity ")};
  EXPECT_TRUE(hash_.QueryWmiClass(1, hash_.m_arrPhysicalMemory, CHardwareHash::WMI_PHYSICALMEMORY, capacity));
  EXPECT_EQ(Pairs(hash_.m_arrPhysicalMemory), (PairList{{_T("Capacity"), _T("6442450944")}}));
}

TEST_F(HardwareHashTest, FailedQueriesLeaveEmptyValues) {
  const CString names[] = {_T("Model"), _T("NoSuchProperty")};
  CKeyValuePairArray list;
  EXPECT_FALSE(hash_.QueryWmiClass(2, list, 9, names));
  EXPECT_EQ(Pairs(list), (PairList{{_T("Model"), _T("")}, {_T("NoSuchProperty"), _T("")}}));
  Profile("[Win32_ComputerSystem]\nInstances=1\nModel=M\n");
  EXPECT_TRUE(hash_.QueryWmiClass(2, list, CHardwareHash::WMI_COMPUTERSYSTEM, names));
  EXPECT_EQ(Pairs(list), (PairList{{_T("Model"), _T("M")}, {_T("NoSuchProperty"), _T("")}}));
  Profile("[Services]\nWinmgmt=stopped\n");
  EXPECT_FALSE(hash_.QueryWmiClass(2, list, CHardwareHash::WMI_COMPUTERSYSTEM, names));
  EXPECT_EQ(Pairs(list), (PairList{{_T("Model"), _T("")}, {_T("NoSuchProperty"), _T("")}}));
}

TEST(Crc64, ReadsTheTextLowerCasedTrimmedAsUtf16) {
  // CRC-64/WE over "123456789" in UTF-16LE, over the lone terminator, and over "abc".
  EXPECT_EQ(CHardwareHash::Crc64(_T("123456789")), 0xFF73DF5436E14EDDull);
  EXPECT_EQ(CHardwareHash::Crc64(_T("")), 0xE15A528AE9B20842ull);
  EXPECT_EQ(CHardwareHash::Crc64(_T("  ABC ")), 0xFC99A9AE7DFA5BFCull);
  EXPECT_EQ(CHardwareHash::Crc64(_T("abc")), CHardwareHash::Crc64(_T("ABC")));
}

}  // namespace
