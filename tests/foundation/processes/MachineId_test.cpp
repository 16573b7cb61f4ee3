// The machine identifier: the machine hash of the inventory, worked out once and kept in the
// application base's hash and identifier, and a hash already known taken as it is.
#include <gtest/gtest.h>

#include "HalvoranApp.h"
#include "MachineId.h"
#include "SysInfo.h"
#include "machine_fixture.h"

namespace {

class MachineIdTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    CHalvoranApp::m_sUSER_HASH.Empty();
    CHalvoranApp::UniqueID.Empty();
    WriteHostFile(root() + "/machine.ini",
                  "[Win32_BIOS]\nInstances=1\nName=Phoenix - AwardBIOS v6.00PG\n"
                  "Manufacturer=Phoenix Technologies, LTD\nSMBIOSBIOSVersion=ASUS P5Q ACPI BIOS Revision 2101\n"
                  "SerialNumber=MS1C82S09200123\nReleaseDate=20090623000000.000000+000\n"
                  "[Win32_BaseBoard]\nInstances=1\nProduct=P5Q\nManufacturer=ASUSTeK Computer INC.\n"
                  "SerialNumber=MS1C82S09200123\nVersion=Rev 1.xx\n"
                  "[Win32_ComputerSystem]\nInstances=1\nModel=System Product Name\nManufacturer=System manufacturer\n"
                  "[Win32_NetworkAdapter]\nInstances=1\nNetConnectionID=x\nMACAddress=001A2B3C4D5E\n");
  }
};

TEST_F(MachineIdTest, IdentifierIsTheMachineHash) {
  EXPECT_EQ(GetMachineId(), CString(_T("6565570633489915588")));
  EXPECT_EQ(CHalvoranApp::m_sUSER_HASH, CString(_T("6565570633489915588")));
  EXPECT_EQ(CHalvoranApp::UniqueID, CString(_T("6565570633489915588")));
  EXPECT_FALSE(GetMachineSysInfo().m_strProcessor.IsEmpty() && GetMachineSysInfo().m_strComputer.IsEmpty());
}

TEST_F(MachineIdTest, KnownHashIsKept) {
  CHalvoranApp::m_sUSER_HASH = _T("1234");
  EXPECT_EQ(GetMachineId(), CString(_T("1234")));
  EXPECT_EQ(CHalvoranApp::UniqueID, CString(_T("1234")));
}

}  // namespace
