// The device scanner: the identifier test, percentages, left-out devices, the records'
// fields where the tree holds something unusual (values without bytes, an INF path leading
// out of the INF folder), signers with and without WMI, and the read back of a device's
// driver after an install.
#include <gtest/gtest.h>

#include <winreg.h>

#include <filesystem>
#include <string>

#include "DeviceScanner.h"
#include "DriverInstallEngine.h"
#include "profileapi.h"
#include "scan_testing.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

const char kCard[] =
    "device PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\\3&21436425&0&C8\n"
    "  name = Intel(R) 82579LM Gigabit Network Connection\n"
    "  hwid = PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\n"
    "  hwid = PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA\n"
    "  hwid = PCI\\VEN_8086&DEV_1502&CC_020000\n"
    "  compatid = PCI\\VEN_8086&DEV_1502&REV_04\n"
    "  compatid = PCI\\VEN_8086&CC_020000\n"
    "  compatid = PCI\\CC_0200\n"
    "  class = Net\n"
    "  mfg = Intel\n"
    "  service = e1cexpress\n"
    "  inf = oem12.inf\n"
    "  version = 12.0.150.0\n"
    "  date = 5-31-2012\n"
    "  provider = Intel\n"
    "  signer = Microsoft Windows Hardware Compatibility Publisher\n"
    "  matching = pci\\ven_8086&dev_1502&subsys_21f317aa\n"
    "service e1cexpress\n"
    "  company = Intel Corporation\n";

TEST(IdentifierTest, FollowsTheListsInOrder) {
  const CDeviceScanner scanner;
  // A left-out class, whatever the id.
  EXPECT_TRUE(scanner.TestHardwareId(u"{4d36e966-e325-11ce-bfc1-08002be10318}", u"PCI\\VEN_8086&DEV_1502"));
  // Classes are matched as given: an upper-case GUID is not on the list.
  EXPECT_FALSE(scanner.TestHardwareId(u"{4D36E966-E325-11CE-BFC1-08002BE10318}", u"PCI\\VEN_8086&DEV_1502"));
  EXPECT_FALSE(scanner.TestHardwareId(u"", u""));
  // Kept although "acpi\" is generic.
  EXPECT_FALSE(scanner.TestHardwareId(u"", u"ACPI\\PNP0A03"));
  EXPECT_FALSE(scanner.TestHardwareId(u"", u"acpi\\pnp0f03"));
  EXPECT_TRUE(scanner.TestHardwareId(u"", u"ACPI\\PNP0A08"));
  EXPECT_TRUE(scanner.TestHardwareId(u"", u"*PNP0A03"));
  EXPECT_TRUE(scanner.TestHardwareId(u"", u"USB\\Class_09&SubClass_00"));
  EXPECT_TRUE(scanner.TestHardwareId(u"", u"MS_AGILEVPNMINIPORT"));
  EXPECT_TRUE(scanner.TestHardwareId(u"", u"PCI\\CC_0200"));
  // "pci\ven_" or "hdaudio\func_01" without "dev_".
  EXPECT_TRUE(scanner.TestHardwareId(u"", u"PCI\\VEN_8086&CC_020000"));
  EXPECT_FALSE(scanner.TestHardwareId(u"", u"PCI\\VEN_8086&DEV_1502&CC_020000"));
  EXPECT_TRUE(scanner.TestHardwareId(u"", u"HDAUDIO\\FUNC_01&VEN_10EC"));
  EXPECT_FALSE(scanner.TestHardwareId(u"", u"HDAUDIO\\FUNC_01&VEN_10EC&DEV_0269"));
  EXPECT_FALSE(scanner.TestHardwareId(u"", u"HDAUDIO\\FUNC_02&VEN_14F1"));
  // The hardware-id list: exact, on the lower-cased id; its capitalised keys never match.
  EXPECT_TRUE(scanner.TestHardwareId(u"", u"USB\\ROOT_HUB20"));
  EXPECT_TRUE(scanner.TestHardwareId(u"", u"GenDisk"));
  EXPECT_FALSE(scanner.TestHardwareId(u"", u"Disk"));
  EXPECT_FALSE(scanner.TestHardwareId(u"", u"SCSI\\CdRom"));
  EXPECT_FALSE(scanner.TestHardwareId(u"", u"USB\\ROOT_HUB30"));
}

using Scanner = ScanTest;

TEST_F(Scanner, NoDevicesFails) {
  const ScanOutcome outcome = Scan();
  EXPECT_EQ(outcome.status, kStepFailed);
  EXPECT_TRUE(outcome.percents.empty());
}

TEST_F(Scanner, EveryDeviceMovesTheProgressAndTheLastReportsAHundred) {
  SeedText(std::string(kCard) +
           "device ROOT\\LEGACY_BEEP\\0000\n name = Beep\n class = LegacyDriver\n"
           "device ACPI\\PNP0C0A\\1\n name = Battery\n hwid = ACPI\\PNP0C0A\n class = Battery\n"
           "device ROOT\\ZZZ\\0000\n name = Last\n hwid = *ZZZ\n");
  const ScanOutcome outcome = Scan();
  ASSERT_EQ(outcome.status, kStepCompleted);
  EXPECT_EQ(outcome.records.size(), 1u);
  EXPECT_EQ(outcome.leftOut, 3);
  EXPECT_EQ(outcome.percents, (std::vector<int>{25, 50, 75, 100}));
}

TEST_F(Scanner, RecordsTheInstalledDriver) {
  SeedText(kCard);
  const ScanOutcome outcome = Scan();
  ASSERT_EQ(outcome.records.size(), 1u);
  const tagDeviceDriverInfo& r = *outcome.records[0];
  EXPECT_EQ(CString(r.szText[kSlotInfPath].Text()), CString(u"C:\\Windows\\inf\\oem12.inf"));
  EXPECT_EQ(CString(r.szText[kSlotDriverDate].Text()), CString(u"5-31-2012"));
  EXPECT_EQ(CString(r.szText[kSlotMatchingIdList].Text()),
            CString(u"pci\\ven_8086&dev_1502&subsys_21f317aa|PCI\\VEN_8086&DEV_1502&REV_04"));
  EXPECT_EQ(r.arrHardwareIds.GetSize(), 2);
  EXPECT_EQ(r.arrAllHardwareIds.GetSize(), 3);
  EXPECT_EQ(r.arrCompatibleIds.GetSize(), 1);
  EXPECT_EQ(r.arrAllCompatibleIds.GetSize(), 3);
  EXPECT_EQ(r.nDriverRank, 1);
  EXPECT_EQ(r.nInfSigned, 1);
}

TEST_F(Scanner, MissingInfFileFallsBackToTheDriverSearchPath) {
  SeedText(kCard);
  std::filesystem::remove(root() + "/drive_c/Windows/INF/oem12.inf");
  const ScanOutcome outcome = Scan();
  ASSERT_EQ(outcome.records.size(), 1u);
  EXPECT_EQ(CString(outcome.records[0]->szText[kSlotInfPath].Text()), CString(u"C:\\Windows\\INF\\oem12.inf"));
}

TEST_F(Scanner, AnInfPathThatLeavesTheInfFolderIsNotTaken) {
  SeedText(kCard);
  HKEY device = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                          u"SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\\3&21436425&0&C8",
                          0, KEY_READ, &device),
            ERROR_SUCCESS);
  WCHAR driverKey[128] = {};
  DWORD size = sizeof driverKey;
  ASSERT_EQ(RegQueryValueExW(device, u"Driver", nullptr, nullptr, reinterpret_cast<BYTE*>(driverKey), &size), ERROR_SUCCESS);
  RegCloseKey(device);
  HKEY driver = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, CString(u"SYSTEM\\CurrentControlSet\\Control\\Class\\") + driverKey, 0,
                          KEY_WRITE, &driver),
            ERROR_SUCCESS);
  // Each names the INF that exists, by a way that steps out of the INF folder and back.
  for (const char16_t* infPath : {u"..\\INF\\oem12.inf", u"../INF/oem12.inf", u"C:\\Windows\\INF\\oem12.inf"}) {
    const std::u16string value = infPath;
    RegSetValueExW(driver, u"InfPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR)));
    const ScanOutcome outcome = Scan();
    ASSERT_EQ(outcome.records.size(), 1u);
    // The device has no installed driver, and its record names no INF.
    EXPECT_EQ(CString(outcome.records[0]->szText[kSlotInfPath].Text()), CString());
  }
  RegCloseKey(driver);
}

TEST_F(Scanner, EmptyIdListsAndTextsAreNone) {
  SeedText(kCard);
  HKEY device = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                          u"SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\\3&21436425&0&C8",
                          0, KEY_WRITE, &device),
            ERROR_SUCCESS);
  // Values with no bytes at all, as another program may leave them.
  for (const auto& [name, type] : {std::pair{u"HardwareID", REG_MULTI_SZ}, std::pair{u"CompatibleIDs", REG_MULTI_SZ},
                                   std::pair{u"Mfg", REG_SZ}})
    ASSERT_EQ(RegSetValueExW(device, name, 0, type, nullptr, 0), ERROR_SUCCESS);
  RegCloseKey(device);
  const ScanOutcome outcome = Scan();
  ASSERT_EQ(outcome.status, kStepCompleted);
  ASSERT_EQ(outcome.records.size(), 1u);
  EXPECT_EQ(CString(outcome.records[0]->szText[kSlotHardwareId].Text()), CString());
  EXPECT_EQ(outcome.records[0]->arrAllHardwareIds.GetSize(), 0);
}

TEST_F(Scanner, UnnamedDevicesAndOtherDevices) {
  SeedText("device PCI\\VEN_1912&DEV_0015&SUBSYS_00000000&REV_02\\4&1&0&0010\n name = X\n"
           " hwid = PCI\\VEN_1912&DEV_0015&SUBSYS_00000000&REV_02\n");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                          u"SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_1912&DEV_0015&SUBSYS_00000000&REV_02\\4&1&0&0010", 0,
                          KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  RegDeleteValueW(key, u"DeviceDesc");
  RegCloseKey(key);
  const ScanOutcome outcome = Scan();
  ASSERT_EQ(outcome.records.size(), 1u);
  const tagDeviceDriverInfo& r = *outcome.records[0];
  EXPECT_EQ(CString(r.szText[kSlotDeviceName].Text()), CString(u"Unknown Device"));
  EXPECT_EQ(CString(r.szText[kSlotClassName].Text()), CString(u"Other devices"));
  EXPECT_EQ(r.nDriverRank, -1);
  EXPECT_EQ(r.nInfSigned, 0);
  EXPECT_EQ(r.nProblem, 28);
  EXPECT_EQ(CString(r.szText[kSlotInfPath].Text()), CString());
}

TEST_F(Scanner, IdListsLongerThanTheUsualBufferAreReadWhole) {
  std::string profile = "device ROOT\\MANY\\0000\n name = Many ids\n class = System\n";
  for (int i = 0; i < 40; ++i) profile += " hwid = VENDORBUS\\A_LONG_HARDWARE_IDENTIFIER_NUMBER_" + std::to_string(i) + "\n";
  SeedText(profile);
  const ScanOutcome outcome = Scan();
  ASSERT_EQ(outcome.records.size(), 1u);
  EXPECT_EQ(CString(outcome.records[0]->szText[kSlotHardwareId].Text()),
            CString(u"VENDORBUS\\A_LONG_HARDWARE_IDENTIFIER_NUMBER_0"));
  EXPECT_EQ(outcome.records[0]->arrAllHardwareIds.GetSize(), 40);
}

TEST_F(Scanner, SignersComeFromTheServiceFileWhenWmiCannotRun) {
  SeedText(kCard);
  SetMachineValue("Machine", "Administrator", "0");
  SetMachineValue("Services", "winmgmt", "stopped");
  const ScanOutcome outcome = Scan();
  ASSERT_EQ(outcome.records.size(), 1u);
  EXPECT_EQ(CString(outcome.records[0]->szText[kSlotSigner].Text()), CString(u"Intel Corporation"));
}

TEST_F(Scanner, AStoppedWmiServiceIsStarted) {
  SeedText(kCard);
  SetMachineValue("Services", "winmgmt", "disabled");
  const ScanOutcome outcome = Scan();
  ASSERT_EQ(outcome.records.size(), 1u);
  EXPECT_EQ(CString(outcome.records[0]->szText[kSlotSigner].Text()),
            CString(u"Microsoft Windows Hardware Compatibility Publisher"));
  WCHAR state[32];
  GetPrivateProfileStringW(u"Services", u"winmgmt", u"", state, 32, path::HostToWindows(root() + "/machine.ini").c_str());
  EXPECT_EQ(std::u16string(state), u"running");
}

// Two identical cards of one class, each with its own driver key and driver.
const char kTwins[] =
    "device PCI\\VEN_8086&DEV_10FB&SUBSYS_000C8086&REV_01\\4&1&0&0000\n name = Twin\n"
    " hwid = PCI\\VEN_8086&DEV_10FB&SUBSYS_000C8086&REV_01\n class = Net\n inf = oem5.inf\n"
    " version = 3.9.58.9101\n date = 10-17-2014\n"
    "device PCI\\VEN_8086&DEV_10FB&SUBSYS_000C8086&REV_01\\4&1&0&0001\n name = Twin\n"
    " hwid = PCI\\VEN_8086&DEV_10FB&SUBSYS_000C8086&REV_01\n class = Net\n inf = oem5.inf\n"
    " version = 4.0.0.0\n date = 1-2-2016\n problem = 10\n";

TEST_F(Scanner, ReadBackTakesTheDeviceWhoseDriverKeyMatches) {
  SeedText(kTwins);
  CDeviceScanner scanner;
  CString date, version;
  int problem = -1;
  ASSERT_EQ(scanner.ReadDeviceDriverDateVersion(u"{4d36e972-e325-11ce-bfc1-08002be10318}\\0000",
                                                u"pci\\ven_8086&dev_10fb&subsys_000c8086&rev_01", date, version, problem),
            1);
  EXPECT_EQ(version, CString(u"3.9.58.9101"));
  EXPECT_EQ(date, CString(u"10-17-2014"));
  EXPECT_EQ(problem, 0);
  ASSERT_EQ(scanner.ReadDeviceDriverDateVersion(u"{4D36E972-E325-11CE-BFC1-08002BE10318}\\0001",
                                                u"PCI\\VEN_8086&DEV_10FB&SUBSYS_000C8086&REV_01", date, version, problem),
            1);
  EXPECT_EQ(version, CString(u"4.0.0.0"));
  EXPECT_EQ(problem, 10);
}

TEST_F(Scanner, ReadBackFindsNothingElsewhere) {
  SeedText(kTwins);
  CDeviceScanner scanner;
  CString date, version;
  int problem = -1;
  // Another class, another id, or no class at all.
  EXPECT_EQ(scanner.ReadDeviceDriverDateVersion(u"{4d36e97d-e325-11ce-bfc1-08002be10318}\\0000",
                                                u"PCI\\VEN_8086&DEV_10FB&SUBSYS_000C8086&REV_01", date, version, problem),
            0);
  EXPECT_EQ(scanner.ReadDeviceDriverDateVersion(u"{4d36e972-e325-11ce-bfc1-08002be10318}\\0000", u"PCI\\VEN_1234",
                                                date, version, problem),
            0);
  EXPECT_EQ(scanner.ReadDeviceDriverDateVersion(u"nonsense\\0000", u"PCI\\VEN_8086&DEV_10FB&SUBSYS_000C8086&REV_01",
                                                date, version, problem),
            0);
  EXPECT_TRUE(date.IsEmpty());
  EXPECT_EQ(problem, -1);
}

}  // namespace
}  // namespace zx::test
