// Driver package installation over a seeded device tree: the INF folder and driver store,
// the devices' Class keys after DIFx installs and Plug and Play updates, downgrades, damaged
// INFs, the models section chosen for the platform, and the failure hooks.
#include <gtest/gtest.h>

#include <difxapi.h>
#include <setupapi.h>

#include <filesystem>
#include <string>
#include <vector>

#include "difx_testing.h"
#include "errhandlingapi.h"
#include "setupapi_testing.h"
#include "sysinfoapi.h"
#include "zx/devicetree.h"
#include "zx/difxhooks.h"

namespace zx::devices {
namespace {

constexpr char16_t kPackage[] = u"C:\\dl\\e1c\\e1c62x64.inf";

class DifxTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    SeedText(kTwoCards);
    cardDriver_ = MachineText(kCard, u"Driver");
  }
  void TearDown() override { ClearDifxFailures(); }
  std::u16string CardClassKey() const { return u"SYSTEM\\CurrentControlSet\\Control\\Class\\" + cardDriver_; }
  static std::vector<std::string> InfFolder() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(MachineFileHost(kInfFolder)))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::u16string cardDriver_;
};

TEST_F(DifxTest, InstallGivesTheMatchingDeviceThePackagesDriver) {
  WriteMachineFile(kPackage, NetPackageInf());
  WriteMachineFile(u"C:\\dl\\e1c\\e1c62x64.sys", "driver image");
  BOOL reboot = TRUE;
  ASSERT_EQ(DriverPackageInstallW(kPackage, 0, nullptr, &reboot), 0u);
  EXPECT_FALSE(reboot);
  EXPECT_EQ(MachineText(kCard, u"Driver"), cardDriver_) << "the device keeps its driver key";
  EXPECT_EQ(MachineText(CardClassKey(), u"DriverVersion"), u"12.6.45.0");
  EXPECT_EQ(MachineText(CardClassKey(), u"DriverDate"), u"2-14-2013");
  EXPECT_EQ(MachineText(CardClassKey(), u"ProviderName"), u"Intel");
  EXPECT_EQ(MachineText(CardClassKey(), u"DriverDesc"), u"Intel(R) 82579LM Gigabit Network Connection");
  EXPECT_EQ(MachineText(CardClassKey(), u"InfPath"), u"oem32.inf");
  EXPECT_EQ(MachineText(CardClassKey(), u"InfSection"), u"E1502.ndi");
  EXPECT_EQ(MachineText(CardClassKey(), u"MatchingDeviceId"), u"pci\\ven_8086&dev_1502");
  EXPECT_EQ(MachineText(CardClassKey(), u"DriverSigner"), u"<missing>") << "the package has no catalogue";
  EXPECT_EQ(MachineText(kCard, u"Service"), u"e1cexpress");

  InstalledDriver driver;
  ASSERT_TRUE(ReadInstalledDriver(cardDriver_, driver));
  FILETIME expected{};
  ASSERT_TRUE(ParseDriverDate(u"2-14-2013", expected));
  EXPECT_EQ(driver.dateData.dwLowDateTime, expected.dwLowDateTime);
  EXPECT_EQ(driver.dateData.dwHighDateTime, expected.dwHighDateTime);

  EXPECT_EQ(zx::test::MachineTest::ReadHostFile(MachineFileHost(u"C:\\Windows\\INF\\oem32.inf")), NetPackageInf());
  bool stored = false;
  for (const auto& entry : std::filesystem::directory_iterator(
           MachineFileHost(u"C:\\Windows\\System32\\DriverStore\\FileRepository"))) {
    stored = std::filesystem::exists(entry.path() / "e1c62x64.inf") && std::filesystem::exists(entry.path() / "e1c62x64.sys");
  }
  EXPECT_TRUE(stored);
}

// The package with one models section per decoration, each naming the card with an install
// section named after it.
std::string DecoratedInf(const std::string& decorations, const std::vector<std::string>& sections) {
  std::string inf = NetPackageInf();
  const std::size_t manufacturer = inf.find("%Intel%=Intel,NTamd64");
  inf.replace(manufacturer, std::string("%Intel%=Intel,NTamd64").size(), "%Intel%=Intel" + decorations);
  const std::size_t models = inf.find("[Intel.NTamd64]");
  const std::size_t end = inf.find("\r\n\r\n", models);
  std::string text;
  for (const std::string& section : sections) {
    const std::string name = section.empty() ? "Intel" : "Intel." + section;
    text += "[" + name + "]\r\n%E1502NC.DeviceDesc%=" + (section.empty() ? "Plain" : section) +
            ".ndi, PCI\\VEN_8086&DEV_1502\r\n\r\n";
  }
  return inf.replace(models, end + 4 - models, text);
}

TEST_F(DifxTest, TheModelsSectionDecoratedForThePlatformIsTaken) {
  OSVERSIONINFOW os{};
  os.dwOSVersionInfoSize = sizeof os;
  ASSERT_TRUE(GetVersionExW(&os));
  const std::string running = std::to_string(os.dwMajorVersion) + "." + std::to_string(os.dwMinorVersion);
  const std::string later = std::to_string(os.dwMajorVersion + 1) + ".0";
  const std::string earlier = std::to_string(os.dwMajorVersion) + ".0";
  struct Case {
    std::string decorations;
    std::vector<std::string> sections;  // "" is the undecorated section
    std::u16string chosen;              // empty: the package has no driver for this machine
  };
  // The machine is 64-bit: only sections decorated for amd64 count.
  const std::vector<Case> cases = {
      {",NTx86,NTamd64,NT", {"", "NTx86", "NTamd64", "NT"}, u"NTamd64.ndi"},
      {",ntAMD64", {"", "ntAMD64"}, u"ntAMD64.ndi"},
      // The latest version not later than the running Windows.
      {",NTamd64." + earlier + ",NTamd64." + running + ",NTamd64." + later,
       {"", "NTamd64." + earlier, "NTamd64." + running, "NTamd64." + later},
       u"NTamd64." + std::u16string(running.begin(), running.end()) + u".ndi"},
      // Decorated for x86 and ia64 only, or not for an architecture: no fall-back to the
      // generic or the undecorated section.
      {",NTx86,NTia64", {"", "NTx86", "NTia64"}, u""},
      {",NT,NTx86", {"", "NT", "NTx86"}, u""},
      {"", {""}, u""},
      // A decoration named on the line without its section is passed over.
      {",NTamd64,NT", {"", "NT"}, u""},
      {",NTamd64." + later + ",NT", {"", "NTamd64." + later, "NT"}, u""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.decorations);
    WriteMachineFile(kPackage, DecoratedInf(test.decorations, test.sections));
    BOOL reboot = FALSE;
    const std::u16string before = MachineText(CardClassKey(), u"InfSection");
    const DWORD expected = test.chosen.empty() ? ERROR_NO_DRIVER_SELECTED : 0u;
    ASSERT_EQ(DriverPackageInstallW(kPackage, DRIVER_PACKAGE_FORCE, nullptr, &reboot), expected);
    // A package without a driver for the machine changes nothing.
    EXPECT_EQ(MachineText(CardClassKey(), u"InfSection"), test.chosen.empty() ? before : test.chosen);
  }
}

TEST_F(DifxTest, OtherDevicesKeepTheirDrivers) {
  const std::u16string wireless = kEnum + u"PCI\\VEN_8086&DEV_0085&SUBSYS_13118086&REV_34\\4&31C7BDF7&0&00E2";
  const std::u16string key = u"SYSTEM\\CurrentControlSet\\Control\\Class\\" + MachineText(wireless, u"Driver");
  WriteMachineFile(kPackage, NetPackageInf());
  ASSERT_EQ(DriverPackageInstallW(kPackage, 0, nullptr, nullptr), 0u);
  EXPECT_EQ(MachineText(key, u"DriverVersion"), u"15.1.1.1");
}

TEST_F(DifxTest, TheSameInfTwiceKeepsOneName) {
  WriteMachineFile(kPackage, NetPackageInf());
  ASSERT_EQ(DriverPackagePreinstallW(kPackage, DRIVER_PACKAGE_LEGACY_MODE), 0u);
  const std::vector<std::string> once = InfFolder();
  ASSERT_EQ(DriverPackageInstallW(kPackage, 0, nullptr, nullptr), 0u);
  EXPECT_EQ(InfFolder(), once);
  EXPECT_EQ(MachineText(CardClassKey(), u"InfPath"), u"oem32.inf");
}

TEST_F(DifxTest, PreinstallLeavesTheDevicesAlone) {
  WriteMachineFile(kPackage, NetPackageInf());
  ASSERT_EQ(DriverPackagePreinstallW(kPackage, DRIVER_PACKAGE_LEGACY_MODE), 0u);
  EXPECT_EQ(MachineText(CardClassKey(), u"DriverVersion"), u"12.0.150.0");
  EXPECT_TRUE(std::filesystem::exists(MachineFileHost(u"C:\\Windows\\INF\\oem32.inf")));
}

TEST_F(DifxTest, AnOlderPackageNeedsForce) {
  WriteMachineFile(kPackage, NetPackageInf("01/05/2011", "11.0.0.0"));
  EXPECT_EQ(DriverPackageInstallW(kPackage, 0, nullptr, nullptr), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
  EXPECT_EQ(MachineText(CardClassKey(), u"DriverVersion"), u"12.0.150.0");
  EXPECT_FALSE(UpdateDriverForPlugAndPlayDevicesW(nullptr, u"PCI\\VEN_8086&DEV_1502", kPackage, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
  ASSERT_EQ(DriverPackageInstallW(kPackage, DRIVER_PACKAGE_FORCE, nullptr, nullptr), 0u);
  EXPECT_EQ(MachineText(CardClassKey(), u"DriverVersion"), u"11.0.0.0");
}

TEST_F(DifxTest, APackageForNoPresentDeviceWaitsInTheStore) {
  WriteMachineFile(kPackage, NetPackageInf("02/14/2013", "1.0.0.0", "PCI\\VEN_1234&DEV_5678"));
  EXPECT_EQ(DriverPackageInstallW(kPackage, DRIVER_PACKAGE_ONLY_IF_DEVICE_PRESENT, nullptr, nullptr),
            static_cast<DWORD>(ERROR_NO_SUCH_DEVINST));
  EXPECT_FALSE(std::filesystem::exists(MachineFileHost(u"C:\\Windows\\INF\\oem32.inf")));
  EXPECT_EQ(DriverPackageInstallW(kPackage, 0, nullptr, nullptr), 0u);
  EXPECT_TRUE(std::filesystem::exists(MachineFileHost(u"C:\\Windows\\INF\\oem32.inf")));
}

TEST_F(DifxTest, ADeviceWithoutDriverGetsANewDriverKey) {
  const std::u16string bus = kEnum + u"PCI\\VEN_8086&DEV_1E22&SUBSYS_21F317AA&REV_04\\3&21436425&0&FB";
  WriteMachineFile(kPackage,
                   "[Version]\r\nSignature=$Chicago$\r\nClass=System\r\n"
                   "ClassGuid={4d36e97d-e325-11ce-bfc1-08002be10318}\r\nProvider=Intel\r\nDriverVer=3/1/2012,9.3.0.1019\r\n"
                   "[Manufacturer]\r\nIntel=Models,NTamd64\r\n[Models.NTamd64]\r\n\"SM Bus\"=SMB,PCI\\VEN_8086&DEV_1E22&SUBSYS_21F317AA&REV_04\r\n");
  ASSERT_EQ(DriverPackageInstallW(kPackage, 0, nullptr, nullptr), 0u);
  EXPECT_EQ(MachineText(bus, u"Driver"), u"{4d36e97d-e325-11ce-bfc1-08002be10318}\\0000");
  EXPECT_EQ(MachineText(bus, u"Class"), u"System");
  EXPECT_EQ(MachineText(u"SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e97d-e325-11ce-bfc1-08002be10318}\\0000",
                        u"DriverVersion"),
            u"9.3.0.1019");
  EXPECT_EQ(MachineText(bus, u"DeviceDesc"), u"SM Bus");
}

TEST_F(DifxTest, PlugAndPlayUpdateTakesTheDevicesWithTheId) {
  WriteMachineFile(kPackage, NetPackageInf());
  BOOL reboot = TRUE;
  ASSERT_TRUE(UpdateDriverForPlugAndPlayDevicesW(nullptr, u"pci\\ven_8086&dev_1502", kPackage, 0, &reboot));
  EXPECT_FALSE(reboot);
  EXPECT_EQ(MachineText(CardClassKey(), u"DriverVersion"), u"12.6.45.0");
  EXPECT_FALSE(UpdateDriverForPlugAndPlayDevicesW(nullptr, u"PCI\\VEN_1234&DEV_0001", kPackage, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_SUCH_DEVINST));
  EXPECT_FALSE(UpdateDriverForPlugAndPlayDevicesW(nullptr, u"PCI\\VEN_8086&DEV_0085&SUBSYS_13118086&REV_34",
                                                  kPackage, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_DRIVER_SELECTED));
  EXPECT_FALSE(UpdateDriverForPlugAndPlayDevicesW(nullptr, nullptr, kPackage, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(DifxTest, CopyOemInfAnswersTheNewName) {
  WriteMachineFile(kPackage, NetPackageInf());
  WCHAR name[64] = {};
  DWORD required = 0;
  LPWSTR component = nullptr;
  EXPECT_FALSE(SetupCopyOEMInfW(kPackage, nullptr, SPOST_PATH, 0, name, 5, &required, &component));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(required, 25u);
  EXPECT_FALSE(std::filesystem::exists(MachineFileHost(u"C:\\Windows\\INF\\oem32.inf")));
  ASSERT_TRUE(SetupCopyOEMInfW(kPackage, nullptr, SPOST_PATH, 0, name, 64, &required, &component));
  EXPECT_EQ(std::u16string(name), u"C:\\Windows\\INF\\oem32.inf");
  EXPECT_EQ(std::u16string(component), u"oem32.inf");
  EXPECT_FALSE(SetupCopyOEMInfW(kPackage, nullptr, SPOST_PATH, SP_COPY_NOOVERWRITE, name, 64, &required, &component));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_EQ(MachineText(CardClassKey(), u"DriverVersion"), u"12.0.150.0");
}

TEST_F(DifxTest, AUtf16InfReadsAsWell) {
  const std::string text = NetPackageInf();
  std::string wide = "\xFF\xFE";
  for (char c : text) {
    wide += c;
    wide += '\0';
  }
  WriteMachineFile(kPackage, wide);
  ASSERT_EQ(DriverPackageInstallW(kPackage, 0, nullptr, nullptr), 0u);
  EXPECT_EQ(MachineText(CardClassKey(), u"DriverVersion"), u"12.6.45.0");
}

std::vector<std::u16string> g_log;
void CollectLog(DIFXAPI_LOG, DWORD, LPCWSTR text, PVOID) { g_log.push_back(text); }

TEST_F(DifxTest, TheLogCallbackHearsTheSteps) {
  WriteMachineFile(kPackage, NetPackageInf());
  g_log.clear();
  DIFXAPISetLogCallbackW(CollectLog, nullptr);
  EXPECT_EQ(DriverPackageInstallW(kPackage, 0, nullptr, nullptr), 0u);
  DIFXAPISetLogCallbackW(nullptr, nullptr);
  EXPECT_EQ(DriverPackageInstallW(kPackage, 0, nullptr, nullptr), 0u);
  ASSERT_EQ(g_log.size(), 2u);
  EXPECT_EQ(g_log[0], u"The package is stored as oem32.inf");
  EXPECT_EQ(g_log[1], u"The package is installed");
  // A package for other machines says so.
  WriteMachineFile(kPackage, DecoratedInf(",NTx86,NTia64", {"", "NTx86", "NTia64"}));
  g_log.clear();
  DIFXAPISetLogCallbackW(CollectLog, nullptr);
  EXPECT_EQ(DriverPackageInstallW(kPackage, 0, nullptr, nullptr), static_cast<DWORD>(ERROR_NO_DRIVER_SELECTED));
  DIFXAPISetLogCallbackW(nullptr, nullptr);
  EXPECT_EQ(g_log, std::vector<std::u16string>{std::u16string(u"The INF has no driver for this machine: ") + kPackage});
}

TEST_F(DifxTest, EachHookGivesItsChosenError) {
  WriteMachineFile(kPackage, NetPackageInf());
  SetDifxFailure(DifxCall::PackageInstall, 0xE000022Bu);
  SetDifxFailure(DifxCall::PackagePreinstall, ERROR_ACCESS_DENIED);
  SetDifxFailure(DifxCall::UpdateDriver, 0xE0000235u);
  SetDifxFailure(DifxCall::CopyOemInf, ERROR_DISK_FULL);
  EXPECT_EQ(DriverPackageInstallW(kPackage, 0, nullptr, nullptr), 0xE000022Bu);
  EXPECT_EQ(DriverPackagePreinstallW(kPackage, 0), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(UpdateDriverForPlugAndPlayDevicesW(nullptr, u"PCI\\VEN_8086&DEV_1502", kPackage, 0, nullptr));
  EXPECT_EQ(GetLastError(), 0xE0000235u);
  EXPECT_FALSE(SetupCopyOEMInfW(kPackage, nullptr, SPOST_PATH, 0, nullptr, 0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
  EXPECT_EQ(MachineText(CardClassKey(), u"DriverVersion"), u"12.0.150.0");
  EXPECT_FALSE(std::filesystem::exists(MachineFileHost(u"C:\\Windows\\INF\\oem32.inf")));
  ClearDifxFailures();
  EXPECT_EQ(DriverPackageInstallW(kPackage, 0, nullptr, nullptr), 0u);
}

TEST_F(DifxTest, TheRestartHookMarksOnlySuccessfulInstalls) {
  WriteMachineFile(kPackage, NetPackageInf());
  SetDifxRebootRequired(true);
  BOOL reboot = FALSE;
  EXPECT_FALSE(UpdateDriverForPlugAndPlayDevicesW(nullptr, u"PCI\\VEN_1234&DEV_0001", kPackage, 0, &reboot));
  EXPECT_FALSE(reboot) << "a failed update needs no restart";
  ASSERT_TRUE(UpdateDriverForPlugAndPlayDevicesW(nullptr, u"PCI\\VEN_8086&DEV_1502", kPackage, 0, &reboot));
  EXPECT_TRUE(reboot);
  reboot = FALSE;
  ASSERT_EQ(DriverPackageInstallW(kPackage, DRIVER_PACKAGE_FORCE, nullptr, &reboot), 0u);
  EXPECT_TRUE(reboot);
  ClearDifxFailures();
  ASSERT_EQ(DriverPackageInstallW(kPackage, DRIVER_PACKAGE_FORCE, nullptr, &reboot), 0u);
  EXPECT_FALSE(reboot) << "clearing the hooks clears the restart too";
}

struct Damaged {
  const char* name;
  std::string text;
  DWORD error;
};

class DamagedInfTest : public DifxTest, public ::testing::WithParamInterface<Damaged> {};

TEST_P(DamagedInfTest, IsRefusedWithNothingChanged) {
  WriteMachineFile(kPackage, GetParam().text);
  const std::vector<std::string> before = InfFolder();
  EXPECT_EQ(DriverPackageInstallW(kPackage, 0, nullptr, nullptr), GetParam().error);
  EXPECT_FALSE(UpdateDriverForPlugAndPlayDevicesW(nullptr, u"PCI\\VEN_8086&DEV_1502", kPackage, 0, nullptr));
  EXPECT_EQ(GetLastError(), GetParam().error);
  EXPECT_EQ(InfFolder(), before);
  EXPECT_EQ(MachineText(CardClassKey(), u"DriverVersion"), u"12.0.150.0");
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Infs, DamagedInfTest,
    ::testing::Values(
        Damaged{"NoVersion", Replace(NetPackageInf(), "[Version]", "[Versions]"), ERROR_WRONG_INF_STYLE},
        Damaged{"Signature", Replace(NetPackageInf(), "$WINDOWS NT$", "$DOS$"), ERROR_WRONG_INF_STYLE},
        Damaged{"DriverDate", NetPackageInf("14/02/2013"), ERROR_GENERAL_SYNTAX},
        Damaged{"DriverVersion", NetPackageInf("02/14/2013", "12.x.1"), ERROR_GENERAL_SYNTAX},
        Damaged{"NoClass", Replace(NetPackageInf(), "ClassGuid", "ClassGuide"), ERROR_INVALID_CLASS},
        Damaged{"BadClass", Replace(NetPackageInf(), "{4D36E972", "{4D36E97"), ERROR_INVALID_CLASS},
        Damaged{"NoManufacturer", Replace(NetPackageInf(), "[Manufacturer]", "[Makers]"), ERROR_SECTION_NOT_FOUND},
        Damaged{"NoModels", Replace(NetPackageInf(), "[Intel.NTamd64]", "[Other]"), ERROR_SECTION_NOT_FOUND},
        Damaged{"EmptyModels", Replace(NetPackageInf(), "%E1502NC.DeviceDesc%=E1502.ndi, ", "; "),
                ERROR_LINE_NOT_FOUND},
        Damaged{"OpenSection", Replace(NetPackageInf(), "[Strings]", "[Strings"), ERROR_GENERAL_SYNTAX},
        Damaged{"Binary", std::string("[Version]\r\nSig\0nature=x\r\n", 26), ERROR_GENERAL_SYNTAX},
        Damaged{"Empty", "", ERROR_WRONG_INF_STYLE}),
    [](const ::testing::TestParamInfo<Damaged>& info) { return std::string(info.param.name); });

TEST_F(DifxTest, AMissingInfIsNotFound) {
  EXPECT_EQ(DriverPackageInstallW(u"C:\\nowhere\\x.inf", 0, nullptr, nullptr), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(DriverPackageInstallW(nullptr, 0, nullptr, nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(DriverPackagePreinstallW(u"", 0), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
}  // namespace zx::devices
