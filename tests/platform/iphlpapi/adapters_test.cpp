// The machine's adapter list (host interfaces or the machine profile), GetAdaptersInfo and
// the workstation transports built on it.
#include <gtest/gtest.h>

#include "iphlpapi.h"
#include "lm.h"
#include "machine_fixture.h"
#include "zx/hostinfo.h"
#include "zx/netadapters.h"

namespace {

using Bytes = std::vector<BYTE>;

class Adapters : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    zx::host::UseHostFolder(host_.path());
  }
  void TearDown() override { zx::host::UseHostFolder(""); }
  const std::string& hostFolder() const { return host_.path(); }
  void Profile(const std::string& text) { WriteHostFile(root() + "/machine.ini", text); }
  void Interface(const std::string& name, const std::string& type, const std::string& index,
                 const std::string& address) {
    const std::string folder = host_.path() + "/sys/class/net/" + name + "/";
    WriteHostFile(folder + "type", type + "\n");
    WriteHostFile(folder + "ifindex", index + "\n");
    WriteHostFile(folder + "address", address + "\n");
  }

 private:
  zx::test::TempFolder host_;
};

TEST(HardwareAddress, ReadsPairsWithOneKindOfSeparator) {
  Bytes bytes;
  EXPECT_TRUE(zx::net::ParseHardwareAddress("00:1a:2B:3c:4D:5e", bytes));
  EXPECT_EQ(bytes, (Bytes{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
  EXPECT_TRUE(zx::net::ParseHardwareAddress("00-1A-2B-3C-4D-5E", bytes));
  EXPECT_TRUE(zx::net::ParseHardwareAddress("001A2B3C4D5E", bytes));
  EXPECT_EQ(zx::net::HexAddress(bytes), "001A2B3C4D5E");
  for (const char* bad : {"", "0", "00:1A-2B", "00:1A:", "001A:2B", "0G", "00:11:22:33:44:55:66:77:88", ":00"})
    EXPECT_FALSE(zx::net::ParseHardwareAddress(bad, bytes)) << bad;
  EXPECT_TRUE(bytes.empty());
}

TEST_F(Adapters, HostInterfacesInIndexOrderWithoutLoopback) {
  Interface("lo", "772", "1", "00:00:00:00:00:00");
  Interface("eth1", "1", "3", "00:1a:2b:3c:4d:5f");
  Interface("eth0", "1", "2", "00:1a:2b:3c:4d:5e");
  Interface("sit0", "776", "4", "00:00:00:00");
  const auto adapters = zx::net::Adapters();
  ASSERT_EQ(adapters.size(), 3u);
  EXPECT_EQ(adapters[0].name, "eth0");
  EXPECT_EQ(adapters[0].connectionId, "eth0");
  EXPECT_EQ(adapters[1].name, "eth1");
  EXPECT_TRUE(adapters[2].address.empty());  // all zeros: no address
}

TEST_F(Adapters, NumbersThatDoNotFitAreUnknown) {
  struct Case {
    const char* speed;
    const char* index;
    ULONGLONG bits;
    DWORD read;
  };
  const Case cases[] = {
      {"1000", "2", 1000000000ull, 2},
      {"-1", "3", 0, 3},
      {"18446744073710", "4294967295", 0, 4294967295u},  // megabits past 64 bits of bits
      {"99999999999999999999", "4294967296", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.speed);
    Interface("eth0", "1", c.index, "00:1a:2b:3c:4d:5e");
    WriteHostFile(hostFolder() + "/sys/class/net/eth0/speed", std::string(c.speed) + "\n");
    const auto adapters = zx::net::Adapters();
    ASSERT_EQ(adapters.size(), 1u);
    EXPECT_EQ(adapters[0].speed, c.bits);
    EXPECT_EQ(adapters[0].index, c.read);
  }
}

TEST_F(Adapters, ProfileReplacesTheHostList) {
  Interface("eth0", "1", "2", "00:1a:2b:3c:4d:5e");
  Profile("[NetworkAdapters]\nCount=1\n[NetworkAdapter.0]\nName=Realtek PCIe GBE\nMACAddress=00-E0-4C-68-00-01\n"
          "NetConnectionID=Local Area Connection\nPhysical=0\nSpeed=100000000\n");
  const auto adapters = zx::net::Adapters();
  ASSERT_EQ(adapters.size(), 1u);
  EXPECT_EQ(adapters[0].name, "Realtek PCIe GBE");
  EXPECT_EQ(adapters[0].address, (Bytes{0x00, 0xE0, 0x4C, 0x68, 0x00, 0x01}));
  EXPECT_EQ(adapters[0].index, 1u);
  EXPECT_FALSE(adapters[0].physical);
  EXPECT_EQ(adapters[0].speed, 100000000u);
}

TEST_F(Adapters, GetAdaptersInfoChainsRecordsInTheCallersBuffer) {
  Profile("[NetworkAdapters]\nCount=2\n[NetworkAdapter.0]\nName=first\nMACAddress=001122334455\n"
          "[NetworkAdapter.1]\nName=second\n");
  ULONG size = 0;
  EXPECT_EQ(GetAdaptersInfo(nullptr, &size), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
  EXPECT_EQ(size, 2 * sizeof(IP_ADAPTER_INFO));
  IP_ADAPTER_INFO adapters[2];
  size = sizeof(IP_ADAPTER_INFO);
  EXPECT_EQ(GetAdaptersInfo(adapters, &size), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
  size = sizeof adapters;
  ASSERT_EQ(GetAdaptersInfo(adapters, &size), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(adapters[0].Next, &adapters[1]);
  EXPECT_EQ(adapters[1].Next, nullptr);
  EXPECT_STREQ(adapters[0].AdapterName, "first");
  EXPECT_EQ(adapters[0].AddressLength, 6u);
  EXPECT_EQ(Bytes(adapters[0].Address, adapters[0].Address + 6), (Bytes{0x00, 0x11, 0x22, 0x33, 0x44, 0x55}));
  EXPECT_EQ(adapters[1].AddressLength, 0u);
  EXPECT_STREQ(adapters[1].IpAddressList.IpAddress.String, "0.0.0.0");
  EXPECT_EQ(GetAdaptersInfo(adapters, nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(Adapters, NoAdaptersIsNoData) {
  Profile("[NetworkAdapters]\nCount=0\n");
  ULONG size = 0;
  EXPECT_EQ(GetAdaptersInfo(nullptr, &size), static_cast<DWORD>(ERROR_NO_DATA));
}

TEST_F(Adapters, TransportsCarryTheAddressesAsHexText) {
  Profile("[NetworkAdapters]\nCount=3\n[NetworkAdapter.0]\nName=a\nMACAddress=00:11:22:33:44:55\n"
          "[NetworkAdapter.1]\nName=b\n[NetworkAdapter.2]\nName=c\nMACAddress=0a:0b:0c:0d:0e:0f\n");
  LPBYTE buffer = nullptr;
  DWORD read = 0, total = 0, resume = 7;
  ASSERT_EQ(NetWkstaTransportEnum(nullptr, 0, &buffer, MAX_PREFERRED_LENGTH, &read, &total, &resume),
            static_cast<NET_API_STATUS>(NERR_Success));
  ASSERT_EQ(read, 2u);
  EXPECT_EQ(total, 2u);
  auto* transports = reinterpret_cast<WKSTA_TRANSPORT_INFO_0*>(buffer);
  EXPECT_EQ(std::u16string(transports[0].wkti0_transport_address), u"001122334455");
  EXPECT_EQ(std::u16string(transports[1].wkti0_transport_address), u"0A0B0C0D0E0F");
  EXPECT_EQ(std::u16string(transports[1].wkti0_transport_name), u"\\Device\\NetBT_Tcpip_c");
  EXPECT_EQ(NetApiBufferFree(buffer), static_cast<NET_API_STATUS>(NERR_Success));
}

TEST_F(Adapters, TransportsOnlyAtLevelZeroOfThisMachine) {
  LPBYTE buffer = nullptr;
  DWORD read = 0, total = 0;
  EXPECT_EQ(NetWkstaTransportEnum(nullptr, 1, &buffer, MAX_PREFERRED_LENGTH, &read, &total, nullptr),
            static_cast<NET_API_STATUS>(ERROR_INVALID_LEVEL));
  WCHAR server[] = u"\\\\other";
  EXPECT_EQ(NetWkstaTransportEnum(server, 0, &buffer, MAX_PREFERRED_LENGTH, &read, &total, nullptr),
            static_cast<NET_API_STATUS>(ERROR_BAD_NETPATH));
  EXPECT_EQ(buffer, nullptr);
  EXPECT_EQ(NetWkstaTransportEnum(nullptr, 0, nullptr, MAX_PREFERRED_LENGTH, &read, &total, nullptr),
            static_cast<NET_API_STATUS>(ERROR_INVALID_PARAMETER));
}

}  // namespace
