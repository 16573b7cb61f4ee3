// Win32_PnPSignedDriver: one instance per present device of the machine's device tree, with
// its installed driver's version, date, provider, INF and signer.
#include "wmi_testing.h"
#include "zx/machineprofile.h"

namespace {

using zx::test::WmiTest;
using Strings = std::vector<std::string>;

class SignedDrivers : public WmiTest {
 protected:
  void SetUp() override {
    WmiTest::SetUp();
    zx::devices::MachineProfile profile;
    std::string error;
    ASSERT_TRUE(zx::devices::ParseProfile(
        "device PCI\\VEN_8086&DEV_1502\\3&1&0&C8\n name = Intel(R) 82579LM\n friendly = Ethernet\n"
        " hwid = PCI\\VEN_8086&DEV_1502&REV_04\n compatid = PCI\\VEN_8086&DEV_1502\n class = Net\n mfg = Intel\n"
        " inf = oem12.inf\n version = 12.0.150.0\n date = 5-31-2012\n provider = Intel\n"
        " signer = Microsoft Windows Hardware Compatibility Publisher\n"
        "device PCI\\VEN_10EC&DEV_8168\\3&1&0&E0\n name = Realtek PCIe GBE\n hwid = PCI\\VEN_10EC&DEV_8168\n"
        " class = Net\n inf = oem40.inf\n version = 7.1.0.0\n provider = Realtek\n"
        "device PCI\\VEN_8086&DEV_1E22\\3&1&0&FB\n name = SM Bus Controller\n hwid = PCI\\VEN_8086&DEV_1E22\n"
        "device USB\\VID_0781&PID_5567\\1\n name = Gone\n hwid = USB\\VID_0781&PID_5567\n present = no\n",
        "drivers.profile", profile, error))
        << error;
    ASSERT_EQ(zx::devices::SeedMachine(profile, zx::devices::SeedOptions{false, "drivers"}, error),
              zx::devices::SeedResult::Seeded)
        << error;
  }
};

TEST_F(SignedDrivers, OneInstancePerPresentDevice) {
  EXPECT_EQ(Column("SELECT DeviceID FROM Win32_PnPSignedDriver", "DeviceID"),
            (Strings{"PCI\\VEN_10EC&DEV_8168\\3&1&0&E0", "PCI\\VEN_8086&DEV_1502\\3&1&0&C8", "PCI\\VEN_8086&DEV_1E22\\3&1&0&FB"}));
}

TEST_F(SignedDrivers, TheInstalledDriversFields) {
  const std::string query = "SELECT * FROM Win32_PnPSignedDriver WHERE DeviceID = 'PCI\\\\VEN_8086&DEV_1502\\\\3&1&0&C8'";
  EXPECT_EQ(Column(query, "DeviceName"), Strings{"Intel(R) 82579LM"});
  EXPECT_EQ(Column(query, "FriendlyName"), Strings{"Ethernet"});
  EXPECT_EQ(Column(query, "Signer"), Strings{"Microsoft Windows Hardware Compatibility Publisher"});
  EXPECT_EQ(Column(query, "IsSigned"), Strings{"TRUE"});
  EXPECT_EQ(Column(query, "DriverVersion"), Strings{"12.0.150.0"});
  EXPECT_EQ(Column(query, "DriverDate"), Strings{"20120531000000.******+000"});
  EXPECT_EQ(Column(query, "DriverProviderName"), Strings{"Intel"});
  EXPECT_EQ(Column(query, "InfName"), Strings{"oem12.inf"});
  EXPECT_EQ(Column(query, "HardWareID"), Strings{"PCI\\VEN_8086&DEV_1502&REV_04"});
  EXPECT_EQ(Column(query, "CompatID"), Strings{"PCI\\VEN_8086&DEV_1502"});
  EXPECT_EQ(Column(query, "DeviceClass"), Strings{"Net"});
  EXPECT_EQ(Column(query, "ClassGuid"), Strings{"{4d36e972-e325-11ce-bfc1-08002be10318}"});
  EXPECT_EQ(Column(query, "Manufacturer"), Strings{"Intel"});
}

TEST_F(SignedDrivers, UnsignedAndDriverlessDevices) {
  EXPECT_EQ(Column("SELECT DeviceName FROM Win32_PnPSignedDriver WHERE IsSigned = FALSE", "DeviceName"),
            Strings{"Realtek PCIe GBE"});
  EXPECT_EQ(Column("SELECT Signer FROM Win32_PnPSignedDriver WHERE DeviceName = 'Realtek PCIe GBE'", "Signer"),
            Strings{"NULL"});
  EXPECT_EQ(Column("SELECT DriverDate FROM Win32_PnPSignedDriver WHERE DeviceName = 'Realtek PCIe GBE'", "DriverDate"),
            Strings{"NULL"});
  EXPECT_EQ(Column("SELECT IsSigned FROM Win32_PnPSignedDriver WHERE DeviceName = 'SM Bus Controller'", "IsSigned"),
            Strings{"NULL"});
}

TEST_F(SignedDrivers, TheMachineProfileCanReplaceValues) {
  Profile("[Win32_PnPSignedDriver.2]\nSigner=Overridden\n");
  EXPECT_EQ(Column("SELECT Signer FROM Win32_PnPSignedDriver", "Signer"), (Strings{"NULL", "Microsoft Windows Hardware Compatibility Publisher", "Overridden"}));
}

}  // namespace
