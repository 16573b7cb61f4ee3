// The install helper's and the setup program's stand-ins, run as processes on the test's
// seeded machine: what they install, the values and exit codes they leave.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "difx_testing.h"
#include "setupapi_testing.h"

namespace zx::devices {
namespace {

namespace fs = std::filesystem;

constexpr char16_t kResultKey[] = u"Software\\Test\\Results";

class InstallStandInTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    setenv("ZX_MACHINE_ROOT", root().c_str(), 1);
    SeedText(kTwoCards);
    cardClass_ = u"SYSTEM\\CurrentControlSet\\Control\\Class\\" + MachineText(kCard, u"Driver");
  }
  void TearDown() override { unsetenv("ZX_MACHINE_ROOT"); }
  // Runs a program with its arguments (each quoted); its exit code.
  static int Run(const std::string& program, const std::vector<std::string>& arguments) {
    std::string command = "'" + program + "'";
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  static std::u16string UserText(const std::u16string& name) {
    WCHAR text[64];
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, kResultKey, name.c_str(), RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
      return u"<missing>";
    return text;
  }
  std::u16string cardClass_;
};

TEST_F(InstallStandInTest, TheHelperInstallsAndWritesItsThreeValues) {
  WriteMachineFile(u"C:\\pkg\\net.inf", NetPackageInf());
  EXPECT_EQ(Run(ZX_WEXOR64, {"PCI\\VEN_8086&DEV_1502", "C:\\pkg\\net.inf", "HKEY_CURRENT_USER",
                             "Software\\Test\\Results", "ok", "pnp", "difx"}),
            0);
  EXPECT_EQ(UserText(u"ok"), u"1");
  EXPECT_EQ(UserText(u"pnp"), u"0");
  EXPECT_EQ(UserText(u"difx"), u"0");
  EXPECT_EQ(MachineText(cardClass_, u"DriverVersion"), u"12.6.45.0");
}

TEST_F(InstallStandInTest, TheHelperFallsBackToDifxWhenTheUpdateFails) {
  WriteMachineFile(u"C:\\pkg\\net.inf", NetPackageInf("02/14/2013", "12.6.45.0", "PCI\\VEN_1234&DEV_0001"));
  EXPECT_EQ(Run(ZX_WEXOR64, {"PCI\\VEN_8086&DEV_1502", "C:\\pkg\\net.inf", "HKEY_CURRENT_USER",
                             "Software\\Test\\Results", "ok", "pnp", "difx"}),
            0);
  EXPECT_EQ(UserText(u"ok"), u"1") << "the package waits in the store: the DIFx install succeeded";
  EXPECT_EQ(UserText(u"pnp"), u"3758096899") << "the INF has no driver for the card";
  EXPECT_EQ(MachineText(cardClass_, u"DriverVersion"), u"12.0.150.0");
}

TEST_F(InstallStandInTest, TheHelperRefusesABadCommandLine) {
  EXPECT_EQ(Run(ZX_WEXOR64, {"PCI\\X", "C:\\pkg\\net.inf"}), 2);
  EXPECT_EQ(Run(ZX_WEXOR64, {"PCI\\X", "C:\\pkg\\net.inf", "HKEY_USERS", "Software\\Test\\Results", "a", "b", "c"}), 2);
  EXPECT_EQ(UserText(u"a"), u"<missing>");
}

TEST_F(InstallStandInTest, TheSetupProgramInstallsTheInfsOfItsFolder) {
  WriteMachineFile(u"C:\\pkg\\net.inf", NetPackageInf());
  const std::string setup = MachineFileHost(u"C:\\pkg\\Setup.exe");
  fs::copy_file(ZX_SETUP, setup);
  EXPECT_EQ(Run(setup, {"-overall", "-overide", "-overwrite"}), 0);
  EXPECT_EQ(MachineText(cardClass_, u"DriverVersion"), u"12.6.45.0");
}

TEST_F(InstallStandInTest, TheSetupProgramSaysWhenNothingInstalled) {
  const std::string setup = MachineFileHost(u"C:\\pkg\\Setup.exe");
  fs::create_directories(fs::path(setup).parent_path());
  fs::copy_file(ZX_SETUP, setup);
  EXPECT_EQ(Run(setup, {}), 2) << "no INF";
  WriteMachineFile(u"C:\\pkg\\broken.inf", "[Version]\r\nSignature=$DOS$\r\n");
  EXPECT_EQ(Run(setup, {}), 1);
  EXPECT_EQ(MachineText(cardClass_, u"DriverVersion"), u"12.0.150.0");
}

}  // namespace
}  // namespace zx::devices
