// The restart after installs: the engine enables the shut-down privilege itself and asks for
// a forced reboot, which the machine root records instead of restarting.
#include <gtest/gtest.h>
#include <winshutdown.h>

#include "DriverInstallEngine.h"
#include "machine_fixture.h"

namespace {

class EngineReboot : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    WriteHostFile(root() + "/machine.ini", "[Machine]\nAdministrator=0\n");
    DisableAll();
  }
  void TearDown() override {
    DisableAll();
    MachineTest::TearDown();
  }
  static void DisableAll() {
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    EXPECT_TRUE(AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr));
    CloseHandle(token);
  }
  std::string Log() { return ReadHostFile(root() + "/shutdowns.log"); }
};

TEST_F(EngineReboot, TheEngineEnablesThePrivilegeItNeeds) {
  SetLastError(0);
  ASSERT_FALSE(ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0x80000001u)) << "disabled before the engine asks";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRIVILEGE_NOT_HELD));
  EXPECT_TRUE(CDriverInstallEngine::RebootSystem());
  EXPECT_EQ(Log(), "00000006 80000001\n") << "a forced reboot, planned for hardware maintenance";
}

TEST_F(EngineReboot, EveryRequestIsRecorded) {
  EXPECT_TRUE(CDriverInstallEngine::RebootSystem());
  EXPECT_TRUE(CDriverInstallEngine::RebootSystem());
  EXPECT_EQ(Log(), "00000006 80000001\n00000006 80000001\n");
}

}  // namespace
