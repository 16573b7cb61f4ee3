// Seeding a machine root: the device tree as Windows keeps it, the INF folder and the
// drivers' files, seeding twice, another profile, and profiles that cannot be seeded.
#include <gtest/gtest.h>
#include <winver.h>

#include <filesystem>

#include "fileapi.h"
#include "profileapi.h"
#include "sysinfoapi.h"
#include "setupapi_testing.h"
#include "zx/pathmap.h"
#include "zx/versionresource.h"

namespace zx::devices {
namespace {

using SeedTest = zx::test::MachineTest;

TEST_F(SeedTest, WritesTheEnumKeysOfEveryDevice) {
  SeedText(kTwoCards);
  EXPECT_EQ(MachineText(kCard, u"DeviceDesc"), u"Intel(R) 82579LM Gigabit Network Connection");
  EXPECT_EQ(MachineText(kCard, u"ClassGUID"), u"{4d36e972-e325-11ce-bfc1-08002be10318}");
  EXPECT_EQ(MachineText(kCard, u"Class"), u"Net");
  EXPECT_EQ(MachineText(kCard, u"Driver"), u"{4d36e972-e325-11ce-bfc1-08002be10318}\\0000");
  EXPECT_EQ(MachineText(kCard, u"Service"), u"e1cexpress");
  EXPECT_EQ(MachineText(kCard, u"Mfg"), u"Intel");
  EXPECT_EQ(MachineDword(kCard, u"ConfigFlags"), 0u);
  EXPECT_EQ(MachineDword(kCard + u"\\Control", u"StatusFlags"), 0x0180200Au);
  EXPECT_EQ(MachineDword(kCard + u"\\Control", u"ProblemCode"), 0u);
  // HardwareID as a REG_MULTI_SZ of the two ids.
  WCHAR list[256];
  DWORD size = sizeof list, type = 0;
  ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, kCard.c_str(), u"HardwareID", RRF_RT_REG_MULTI_SZ, &type, list, &size),
            ERROR_SUCCESS);
  const std::u16string expected =
      std::u16string(u"PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04") + u'\0' + u"PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA" + u'\0' + u'\0';
  EXPECT_EQ(std::u16string(list, size / 2), expected);
}

TEST_F(SeedTest, DriverlessAndAbsentDevices) {
  SeedText(kTwoCards);
  const std::u16string smbus = kEnum + u"PCI\\VEN_8086&DEV_1E22&SUBSYS_21F317AA&REV_04\\3&21436425&0&FB";
  EXPECT_EQ(MachineDword(smbus + u"\\Control", u"ProblemCode"), 28u);
  EXPECT_EQ(MachineDword(smbus + u"\\Control", u"StatusFlags"), 0x01802400u);
  EXPECT_EQ(MachineText(smbus, u"Driver"), u"<missing>");
  EXPECT_EQ(MachineText(smbus, u"ClassGUID"), u"<missing>");
  const std::u16string stick = kEnum + u"USB\\VID_0781&PID_5567\\4C530012450531101593";
  EXPECT_TRUE(KeyExists(stick));
  EXPECT_FALSE(KeyExists(stick + u"\\Control"));
}

TEST_F(SeedTest, WritesClassKeysAndInstalledDrivers) {
  SeedText(kTwoCards);
  EXPECT_EQ(MachineText(kNetClass, u""), u"Network adapters");
  EXPECT_EQ(MachineText(kNetClass, u"Class"), u"Net");
  const std::u16string first = kNetClass + u"\\0000", second = kNetClass + u"\\0001";
  EXPECT_EQ(MachineText(first, u"InfPath"), u"oem12.inf");
  EXPECT_EQ(MachineText(first, u"InfSection"), u"oem12_Install");
  EXPECT_EQ(MachineText(first, u"DriverVersion"), u"12.0.150.0");
  EXPECT_EQ(MachineText(first, u"DriverDate"), u"5-31-2012");
  EXPECT_EQ(MachineText(first, u"ProviderName"), u"Intel");
  EXPECT_EQ(MachineText(first, u"DriverDesc"), u"Intel(R) 82579LM Gigabit Network Connection");
  EXPECT_EQ(MachineText(first, u"MatchingDeviceId"), u"pci\\ven_8086&dev_1502");
  EXPECT_EQ(MachineText(first, u"DriverSigner"), u"Microsoft Windows Hardware Compatibility Publisher");
  // Matched by the second compatible id, signed.
  EXPECT_EQ(MachineDword(first, u"DriverRank"), 0x1001u);
  // The date as a FILETIME: 2012-05-31 00:00 UTC.
  FILETIME date{};
  DWORD size = sizeof date;
  ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, first.c_str(), u"DriverDateData", RRF_RT_REG_BINARY, nullptr, &date, &size),
            ERROR_SUCCESS);
  SYSTEMTIME day{};
  ASSERT_TRUE(FileTimeToSystemTime(&date, &day));
  EXPECT_EQ(day.wYear, 2012);
  EXPECT_EQ(day.wMonth, 5);
  EXPECT_EQ(day.wDay, 31);
  // The unsigned driver: rank of its first hardware id plus the unsigned penalty.
  EXPECT_EQ(MachineDword(second, u"DriverRank"), 0x00FF0000u);
  EXPECT_EQ(MachineText(second, u"DriverSigner"), u"<missing>");
}

TEST_F(SeedTest, WritesServicesAndTheStandardOnes) {
  SeedText(kTwoCards + std::string("service winmgmt\n state = stopped\n"));
  const std::u16string services = u"SYSTEM\\CurrentControlSet\\Services\\";
  EXPECT_EQ(MachineDword(services + u"e1cexpress", u"Type"), 1u);
  EXPECT_EQ(MachineDword(services + u"e1cexpress", u"Start"), 3u);
  EXPECT_EQ(MachineText(services + u"e1cexpress", u"ImagePath"), u"System32\\drivers\\e1cexpress.sys");
  EXPECT_EQ(MachineText(services + u"Schedule", u"DisplayName"), u"Task Scheduler");
  EXPECT_EQ(MachineDword(services + u"Schedule", u"Start"), 2u);
  // The profile's record changes only the state of the standard service.
  EXPECT_EQ(MachineDword(services + u"winmgmt", u"Type"), 0x20u);
  EXPECT_EQ(MachineText(services + u"winmgmt", u"ImagePath"), u"%SystemRoot%\\system32\\svchost.exe -k netsvcs");
  WCHAR state[32];
  GetPrivateProfileStringW(u"Services", u"winmgmt", u"", state, 32,
                           zx::path::HostToWindows(root() + "/machine.ini").c_str());
  EXPECT_EQ(std::u16string(state), u"stopped");
}

TEST_F(SeedTest, WritesTheInfFileOfEachPackage) {
  SeedText(kTwoCards);
  const std::string inf = ReadHostFile(root() + "/drive_c/Windows/INF/oem12.inf");
  EXPECT_NE(inf.find("[Version]\r\nSignature=\"$WINDOWS NT$\"\r\nClass=Net\r\n"), std::string::npos) << inf;
  EXPECT_NE(inf.find("DriverVer=05/31/2012,12.0.150.0\r\n"), std::string::npos) << inf;
  EXPECT_NE(inf.find("CatalogFile=oem12.cat\r\n"), std::string::npos);
  EXPECT_NE(inf.find("%Device0%=oem12_Install,pci\\ven_8086&dev_1502\r\n"), std::string::npos);
  EXPECT_NE(inf.find("[oem12_Install.CopyFiles]\r\ne1cexpress.sys\r\n"), std::string::npos);
  EXPECT_NE(inf.find("Provider=\"Intel\"\r\n"), std::string::npos);
  // The unsigned package has no catalog.
  EXPECT_EQ(ReadHostFile(root() + "/drive_c/Windows/INF/oem31.inf").find("CatalogFile"), std::string::npos);
}

TEST_F(SeedTest, DriverFilesCarryAVersionResource) {
  SeedText(kTwoCards);
  const LPCWSTR file = u"C:\\Windows\\System32\\drivers\\e1cexpress.sys";
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(file, &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(file, handle, size, data.data()));
  LPVOID value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), u"\\StringFileInfo\\040904b0\\CompanyName", &value, &length));
  EXPECT_EQ(std::u16string(static_cast<LPCWSTR>(value)), u"Intel");
  ASSERT_TRUE(VerQueryValueW(data.data(), u"\\", &value, &length));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x000C0000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00960000u);
  EXPECT_EQ(fixed->dwFileType, VFT_DRV);
}

TEST_F(SeedTest, SeedingTheSameProfileAgainChangesNothing) {
  SeedText(kTwoCards);
  // A change made since (an installed driver) survives a second seeding of the same profile.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, (kNetClass + u"\\0000").c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  const std::u16string version = u"13.0.0.0";
  RegSetValueExW(key, u"DriverVersion", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()), 18);
  RegCloseKey(key);
  SeedText(kTwoCards, SeedResult::AlreadySeeded);
  EXPECT_EQ(MachineText(kNetClass + u"\\0000", u"DriverVersion"), u"13.0.0.0");
  EXPECT_FALSE(KeyExists(kNetClass + u"\\0002"));
}

TEST_F(SeedTest, AnotherProfileIsRefusedUnlessReplacing) {
  SeedText(kTwoCards);
  MachineProfile other;
  std::string error;
  ASSERT_TRUE(ParseProfile("device ROOT\\OTHER\\0000\n name = Other\n class = System\n inf = other.inf\n", "other.profile",
                           other, error));
  EXPECT_EQ(SeedMachine(other, SeedOptions{false, "other.profile"}, error), SeedResult::Refused);
  EXPECT_NE(error.find("seeded from test.profile"), std::string::npos) << error;
  EXPECT_TRUE(KeyExists(kCard));
  EXPECT_EQ(SeedMachine(other, SeedOptions{true, "other.profile"}, error), SeedResult::Seeded) << error;
  EXPECT_FALSE(KeyExists(kCard));
  EXPECT_FALSE(KeyExists(kNetClass));
  EXPECT_TRUE(KeyExists(kEnum + u"ROOT\\OTHER\\0000"));
  EXPECT_FALSE(std::filesystem::exists(root() + "/drive_c/Windows/INF/oem12.inf"));
  EXPECT_FALSE(std::filesystem::exists(root() + "/drive_c/Windows/System32/drivers/e1cexpress.sys"));
  EXPECT_TRUE(std::filesystem::exists(root() + "/drive_c/Windows/INF/other.inf"));
}

TEST_F(SeedTest, ProfileThatCannotBeSeededWritesNothing) {
  MachineProfile profile;
  ProfileDevice device;
  device.instanceId = u"ROOT\\X\\0000";
  device.name = u"X";
  profile.devices = {device, device};
  std::string error;
  EXPECT_EQ(SeedMachine(profile, SeedOptions{false, "made"}, error), SeedResult::Refused);
  EXPECT_EQ(error, "made: a second device ROOT\\X\\0000");
  profile.devices.resize(1);
  profile.devices[0].instanceId = u"ROOT\\..\\X\\Y";
  EXPECT_EQ(SeedMachine(profile, SeedOptions{false, "made"}, error), SeedResult::Refused);
  EXPECT_FALSE(KeyExists(u"SYSTEM\\CurrentControlSet\\Enum"));
}

TEST_F(SeedTest, ShippedLaptopSeeds) {
  MachineProfile profile;
  std::string error;
  ASSERT_TRUE(LoadProfileFile(ZX_PROFILES_DIR "/laptop.profile", profile, error)) << error;
  EXPECT_EQ(SeedMachine(profile, SeedOptions{false, "laptop"}, error), SeedResult::Seeded) << error;
  EXPECT_EQ(MachineText(kEnum + u"ROOT\\LEGACY_BEEP\\0000", u"Class"), u"LegacyDriver");
  EXPECT_EQ(MachineText(u"SYSTEM\\CurrentControlSet\\Control\\Class\\{8ecc055d-047f-11d1-a537-0000f8753ed1}", u""),
            u"Non-Plug and Play Drivers");
}

}  // namespace
}  // namespace zx::devices
