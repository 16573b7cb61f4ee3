// The scan request built from the machine values the main window gathers: OS identifier,
// machine identifier, application name, the setup's campaign texts, computer name, the
// process's hardware inventory and the user hash, compared whole with a golden request
// (ZX_UPDATE_GOLDEN=1 writes it afresh).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "HalvoranApp.h"
#include "MachineId.h"
#include "Registry.h"
#include "ScanRequest.h"
#include "lookup_testing.h"
#include "scan_testing.h"

namespace zx::test {
namespace {

class RequestMachine : public ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    const std::pair<const char*, std::vector<std::pair<const char*, const char*>>> sections[] = {
        {"Windows", {{"Major", "6"}, {"Minor", "1"}, {"Build", "7601"}, {"Platform", "2"}, {"ProductType", "1"},
                     {"Architecture", "x64"}}},
        {"Machine", {{"ComputerName", "desk-07"}}},
        {"Win32_BIOS", {{"Instances", "1"}, {"Name", "  Desk BIOS "}, {"Manufacturer", "Zx Firmware"},
                        {"SMBIOSBIOSVersion", "1.07"}, {"SerialNumber", " "}}},
        {"Win32_BaseBoard", {{"Instances", "1"}, {"Product", "Z97 <Gaming>"}, {"Manufacturer", "Zx Boards"}}},
        {"NetworkAdapters", {{"Count", "2"}}},
        {"NetworkAdapter.0", {{"Name", "Ethernet"}, {"MACAddress", "00:15:5D:01:02:03"}, {"NetConnectionID", "LAN"}}},
        {"NetworkAdapter.1", {{"Name", "Wireless"}, {"MACAddress", "3C:A9:F4:00:11:22"}, {"NetConnectionID", "WLAN"}}},
    };
    for (const auto& [section, values] : sections)
      for (const auto& [key, value] : values) SetMachineValue(section, key, value);
    CString product;
    GetProductRegistryKey(product);
    product += _T("\\Zephrin Tunevo");
    ASSERT_TRUE(RegWriteString(HKEY_LOCAL_MACHINE, product, _T("utm_source"), _T("partner & co")));
    ASSERT_TRUE(RegWriteString(HKEY_LOCAL_MACHINE, product, _T("utm_campaign"), _T("spring")));
    // The inventory is taken afresh from this machine, as at the program's start.
    CHalvoranApp::m_sUSER_HASH.Empty();
    CHalvoranApp::InitHardwareHash();
    savedAppName_ = g_strAppName;
    g_strAppName = _T("Zephrin Tunevo");
  }
  void TearDown() override {
    g_strAppName = savedAppName_;
    CHalvoranApp::m_sUSER_HASH.Empty();
    ScanTest::TearDown();
  }
  CString savedAppName_;
};

TEST_F(RequestMachine, TheRequestNamesThisMachine) {
  SeedText("device PCI\\VEN_8086&DEV_153B\\3&11583659&0&C8\n name = Intel(R) Ethernet Connection I217-V\n"
           " hwid = PCI\\VEN_8086&DEV_153B&SUBSYS_7C791462&REV_00\n class = Net\n");
  tagScanRequestMachine machine;
  GatherRequestMachine(CHalvoranApp::m_sUSER_HASH, machine);
  EXPECT_EQ(machine.nOsId, 21);
  EXPECT_EQ(Narrow(machine.strComputerName), "DESK-07");
  EXPECT_EQ(machine.strMachineId, CHalvoranApp::m_sUSER_HASH);
  EXPECT_FALSE(machine.strUserHash.IsEmpty());

  CDriverScanUpdate engine;
  engine.SetRequestMachine(machine);
  const ScanOutcome outcome = Scan();
  ASSERT_EQ(outcome.records.size(), 1u);
  auto devices = std::make_unique<CDeviceRecordArray>(1);
  devices->GetAt(0)->CopyFrom(*outcome.records[0]);
  engine.SetScannedDevices(std::move(devices), 1);
  CMarkup document;
  engine.BuildScanRequestXml(engine.GetDevices(), engine.GetDeviceCount(), document);
  std::string request = Narrow(document.GetDocumentText());
  // The machine hash and user hash are the inventory's digest: named here, checked above.
  const std::string hash = Narrow(machine.strMachineId);
  for (std::size_t at = request.find(hash); at != std::string::npos; at = request.find(hash))
    request.replace(at, hash.size(), "HASH");

  const std::string path = ZX_LOOKUP_GOLDEN_DIR "/machine.request.xml";
  const char* flag = std::getenv("ZX_UPDATE_GOLDEN");
  if (flag != nullptr && std::string(flag) == "1") {
    std::ofstream(path, std::ios::binary) << request;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(request, golden.str());
}

}  // namespace
}  // namespace zx::test
