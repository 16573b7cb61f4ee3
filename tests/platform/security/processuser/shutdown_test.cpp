// Privileges of the process token and ExitWindowsEx: names to numbers, enabling with the
// previous state answered, privileges the user does not hold, and shut-downs recorded in the
// machine root only with SeShutdownPrivilege enabled.
#include <gtest/gtest.h>

#include "errhandlingapi.h"
#include "handleapi.h"
#include "machine_fixture.h"
#include "processthreadsapi.h"
#include "winshutdown.h"

namespace zx::test {
namespace {

class Privileges : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    WriteHostFile(root() + "/machine.ini", "[Machine]\nAdministrator=0\n");
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token_));
    ASSERT_TRUE(AdjustTokenPrivileges(token_, TRUE, nullptr, 0, nullptr, nullptr));
  }
  void TearDown() override {
    AdjustTokenPrivileges(token_, TRUE, nullptr, 0, nullptr, nullptr);
    CloseHandle(token_);
    MachineTest::TearDown();
  }
  BOOL Enable(LPCWSTR name, DWORD attributes = SE_PRIVILEGE_ENABLED) {
    TOKEN_PRIVILEGES tp{1, {{LUID{}, attributes}}};
    if (!LookupPrivilegeValueW(nullptr, name, &tp.Privileges[0].Luid)) return FALSE;
    return AdjustTokenPrivileges(token_, FALSE, &tp, 0, nullptr, nullptr);
  }
  std::string Log() { return ReadHostFile(root() + "/shutdowns.log"); }
  HANDLE token_ = nullptr;
};

TEST_F(Privileges, NamesHaveTheirNumbers) {
  LUID luid{7, 7};
  ASSERT_TRUE(LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &luid));
  EXPECT_EQ(luid.LowPart, 19u);
  EXPECT_EQ(luid.HighPart, 0);
  ASSERT_TRUE(LookupPrivilegeValueW(u"", u"sebackupprivilege", &luid));
  EXPECT_EQ(luid.LowPart, 17u);
  SetLastError(0);
  EXPECT_FALSE(LookupPrivilegeValueW(nullptr, u"SeMadeUpPrivilege", &luid));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_SUCH_PRIVILEGE));
  EXPECT_FALSE(LookupPrivilegeValueW(u"\\\\OTHER", SE_SHUTDOWN_NAME, &luid));
  EXPECT_FALSE(LookupPrivilegeValueW(nullptr, nullptr, &luid));
}

TEST_F(Privileges, ShuttingDownNeedsThePrivilegeEnabled) {
  SetLastError(0);
  EXPECT_FALSE(ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0x80000001u));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRIVILEGE_NOT_HELD));
  EXPECT_EQ(Log(), "");
  ASSERT_TRUE(Enable(SE_SHUTDOWN_NAME));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_TRUE(ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0x80000001u));
  ASSERT_TRUE(ExitWindowsEx(EWX_SHUTDOWN, 0x10));
  EXPECT_EQ(Log(), "00000006 80000001\n00000001 00000010\n");
}

TEST_F(Privileges, LoggingOffNeedsNoPrivilege) {
  ASSERT_TRUE(ExitWindowsEx(EWX_LOGOFF, 0));
  EXPECT_EQ(Log(), "00000000 00000000\n");
}

TEST_F(Privileges, ThePreviousStateComesBackForTheChangedOnes) {
  TOKEN_PRIVILEGES tp{1, {{LUID{}, SE_PRIVILEGE_ENABLED}}};
  LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &tp.Privileges[0].Luid);
  TOKEN_PRIVILEGES previous{};
  DWORD length = 0;
  ASSERT_TRUE(AdjustTokenPrivileges(token_, FALSE, &tp, sizeof previous, &previous, &length));
  EXPECT_EQ(length, static_cast<DWORD>(sizeof previous));
  ASSERT_EQ(previous.PrivilegeCount, 1u);
  EXPECT_EQ(previous.Privileges[0].Luid.LowPart, 19u);
  EXPECT_EQ(previous.Privileges[0].Attributes, 0u);  // was disabled
  ASSERT_TRUE(AdjustTokenPrivileges(token_, FALSE, &previous, 0, nullptr, nullptr));  // put back
  EXPECT_FALSE(ExitWindowsEx(EWX_POWEROFF, 0));
  // A buffer too small for the previous state changes nothing.
  EXPECT_FALSE(AdjustTokenPrivileges(token_, FALSE, &tp, 4, &previous, &length));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_FALSE(ExitWindowsEx(EWX_POWEROFF, 0));
}

TEST_F(Privileges, PrivilegesTheUserLacksAreNotAssigned) {
  EXPECT_TRUE(Enable(u"SeBackupPrivilege"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ALL_ASSIGNED));
  WriteHostFile(root() + "/machine.ini", "[Machine]\nAdministrator=1\n");
  EXPECT_TRUE(Enable(u"SeBackupPrivilege"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST_F(Privileges, BadTokensAndArgumentsAreRefused) {
  TOKEN_PRIVILEGES tp{1, {{LUID{19, 0}, SE_PRIVILEGE_ENABLED}}};
  EXPECT_FALSE(AdjustTokenPrivileges(nullptr, FALSE, &tp, 0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(AdjustTokenPrivileges(GetCurrentProcess(), FALSE, &tp, 0, nullptr, nullptr));
  EXPECT_FALSE(AdjustTokenPrivileges(token_, FALSE, nullptr, 0, nullptr, nullptr));
  EXPECT_FALSE(ExitWindowsEx(EWX_SHUTDOWN, 0));
}

}  // namespace
}  // namespace zx::test
