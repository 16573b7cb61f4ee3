// The 64-bit hand-off: the helper found beside the tool folder, started with its seven
// arguments, its result values read back and deleted; a missing helper, one that cannot start
// and one that does not end in time all count as failures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <future>

#include "DriverInstallEngine.h"
#include "Registry.h"
#include "cstring_printer.h"
#include "difx_testing.h"
#include "install_testing.h"
#include "setupapi_testing.h"
#include "zx/clock.h"
#include "zx/waits.h"

namespace {

using zx::test::HostPath;

constexpr LPCTSTR kToolFolder = _T("C:\\Prog\\Win7\\");
constexpr LPCTSTR kHelper = _T("C:\\Prog\\amd64Helper\\Wexor64.exe");
constexpr LPCTSTR kInf = _T("C:\\dl\\e1c\\e1c62x64.inf");
constexpr LPCTSTR kCardId = _T("PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04");

class Helper64Test : public zx::test::InstallTest {
 protected:
  void SetUp() override {
    InstallTest::SetUp();
    // The helper is another process: it finds this test's machine through the environment.
    setenv("ZX_MACHINE_ROOT", root().c_str(), 1);
    zx::devices::SeedText(zx::devices::kTwoCards);
    zx::devices::WriteMachineFile(kInf, zx::devices::NetPackageInf());
    GetProductRegistryKey(key_);
  }
  void TearDown() override {
    unsetenv("ZX_MACHINE_ROOT");
    InstallTest::TearDown();
  }
  // The helper's place holds a script: the helper itself, or any other behaviour.
  void PlaceHelper(const std::string& script, const std::string& shell = "/bin/sh") {
    const std::string path = HostPath(kHelper);
    WriteHostFile(path, "#!" + shell + "\n" + script + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  }
  void PlaceRealHelper() { PlaceHelper(std::string("exec '") + ZX_WEXOR64 + "' \"$@\""); }
  bool Run(LPCTSTR hardwareId) {
    return engine_.RunHelper64(kToolFolder, hardwareId, kInf, _T("HKEY_CURRENT_USER"), key_, _T("IsUpdateSuccessFull"),
                               _T("UpdatePnPErrorCode"), _T("DifxErrorCode"));
  }
  DWORD Result(LPCTSTR name) const { return CDriverInstallEngine::ReadHelperResultDword(_T("HKEY_CURRENT_USER"), key_, name); }
  bool Exists(LPCTSTR name) const { return RegExistsValue(HKEY_CURRENT_USER, key_, name) != FALSE; }

  CDriverInstallEngine engine_;
  CString key_;
};

TEST_F(Helper64Test, TheHelperLiesBesideTheToolFolder) {
  EXPECT_EQ(CDriverInstallEngine::GetHelper64Path(_T("C:\\Prog\\Win7\\")), CString(kHelper));
  EXPECT_EQ(CDriverInstallEngine::GetHelper64Path(_T("C:\\Prog\\Win7")), CString(kHelper));
}

TEST_F(Helper64Test, TheHelperInstallsAndReportsSuccess) {
  PlaceRealHelper();
  ASSERT_TRUE(Run(kCardId));
  EXPECT_EQ(Result(_T("IsUpdateSuccessFull")), 1u);
  EXPECT_EQ(Result(_T("UpdatePnPErrorCode")), 0u);
  EXPECT_TRUE(Exists(_T("DifxErrorCode")));
  const std::u16string driverKey = zx::devices::MachineText(zx::devices::kCard, u"Driver");
  EXPECT_EQ(zx::devices::MachineText(u"SYSTEM\\CurrentControlSet\\Control\\Class\\" + driverKey, u"DriverVersion"),
            u"12.6.45.0");
}

TEST_F(Helper64Test, SuccessCountsEvenWithAPlugAndPlayError) {
  PlaceRealHelper();
  // No device has the id: the update fails, the DIFx install of the package succeeds.
  ASSERT_TRUE(Run(_T("PCI\\VEN_FFFF&DEV_0001")));
  EXPECT_EQ(Result(_T("UpdatePnPErrorCode")), 0xE000020Bu);
  EXPECT_EQ(Result(_T("DifxErrorCode")), 0u);
}

TEST_F(Helper64Test, AFailedInstallReportsItsErrors) {
  PlaceRealHelper();
  zx::devices::WriteMachineFile(kInf, "[Version]\r\nSignature=$DOS$\r\n");
  EXPECT_FALSE(Run(kCardId));
  EXPECT_EQ(Result(_T("IsUpdateSuccessFull")), 0u);
  EXPECT_EQ(Result(_T("UpdatePnPErrorCode")), 0xE0000100u);
  EXPECT_EQ(Result(_T("DifxErrorCode")), 0xE0000100u);
}

TEST_F(Helper64Test, AMissingHelperFailsAndStaleValuesAreGone) {
  RegWriteString(HKEY_CURRENT_USER, key_, _T("IsUpdateSuccessFull"), _T("1"));
  RegWriteString(HKEY_CURRENT_USER, key_, _T("UpdatePnPErrorCode"), _T("5"));
  EXPECT_FALSE(Run(kCardId));
  EXPECT_FALSE(Exists(_T("IsUpdateSuccessFull")));
  EXPECT_FALSE(Exists(_T("UpdatePnPErrorCode")));
  EXPECT_EQ(Result(_T("UpdatePnPErrorCode")), 0u);
}

TEST_F(Helper64Test, AHelperThatCannotStartIsAFailure) {
  PlaceHelper("exit 0", "/nonexistent/shell");
  EXPECT_FALSE(Run(kCardId));
}

TEST_F(Helper64Test, EmptyArgumentsStartNothing) {
  PlaceRealHelper();
  EXPECT_FALSE(engine_.RunHelper64(_T(""), kCardId, kInf, _T("HKEY_CURRENT_USER"), key_, _T("a"), _T("b"), _T("c")));
  EXPECT_FALSE(engine_.RunHelper64(kToolFolder, _T(""), kInf, _T("HKEY_CURRENT_USER"), key_, _T("a"), _T("b"), _T("c")));
  EXPECT_FALSE(engine_.RunHelper64(kToolFolder, kCardId, _T(""), _T("HKEY_CURRENT_USER"), key_, _T("a"), _T("b"), _T("c")));
}

TEST_F(Helper64Test, AHelperThatDoesNotEndInTimeIsAFailure) {
  // The helper writes success only after the engine stopped waiting.
  PlaceHelper("sleep 1");
  zx::ManualClock clock;
  zx::SetClock(&clock);
  auto run = std::async(std::launch::async, [this] { return Run(kCardId); });
  ASSERT_TRUE(zx::AwaitBlockedWaiters(1));  // the 10 ms pause before the start
  clock.Advance(10);
  ASSERT_TRUE(zx::AwaitBlockedWaiters(1));  // the wait on the helper
  clock.Advance(CDriverInstallEngine::kHelperWaitMs);
  EXPECT_FALSE(run.get());
  zx::SetClock(nullptr);
}

TEST_F(Helper64Test, ResultValuesReadAsDecimalText) {
  RegWriteString(HKEY_CURRENT_USER, key_, _T("V"), _T(" 3758096949"));
  EXPECT_EQ(Result(_T("V")), 3758096949u);
  RegWriteDWORD(HKEY_CURRENT_USER, key_, _T("N"), 7);
  EXPECT_EQ(Result(_T("N")), 0u) << "a number value is not the helper's text";
  EXPECT_EQ(CDriverInstallEngine::ReadHelperResultDword(_T("HKEY_USERS"), key_, _T("V")), 0u);
  EXPECT_EQ(CDriverInstallEngine::ReadHelperResultDword(_T("HKEY_CURRENT_USER"), _T("Software\\Nowhere"), _T("V")), 0u);
  EXPECT_FALSE(CDriverInstallEngine::DeleteHelperResultValue(_T("HKEY_CLASSES_ROOT"), key_, _T("V")));
  EXPECT_TRUE(CDriverInstallEngine::DeleteHelperResultValue(_T("HKEY_CURRENT_USER"), _T("Software\\Nowhere"), _T("V")));
  EXPECT_TRUE(CDriverInstallEngine::DeleteHelperResultValue(_T("HKEY_CURRENT_USER"), key_, _T("V")));
  EXPECT_FALSE(Exists(_T("V")));
}

}  // namespace
