// GlobalMemoryStatusEx: the host's memory, or the machine profile's.
#include <gtest/gtest.h>

#include "errhandlingapi.h"
#include "machine_fixture.h"
#include "sysinfoapi.h"

namespace {

class MemoryStatusTest : public zx::test::MachineTest {
 protected:
  void Profile(const std::string& text) { WriteHostFile(root() + "/machine.ini", text); }
  static MEMORYSTATUSEX Status() {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    EXPECT_TRUE(GlobalMemoryStatusEx(&status));
    return status;
  }
};

TEST_F(MemoryStatusTest, HostMemoryIsReported) {
  const MEMORYSTATUSEX status = Status();
  EXPECT_GT(status.ullTotalPhys, 0u);
  EXPECT_LE(status.ullAvailPhys, status.ullTotalPhys);
  EXPECT_LE(status.dwMemoryLoad, 100u);
  EXPECT_EQ(status.ullTotalVirtual, 0x7FFE0000u);
}

TEST_F(MemoryStatusTest, ProfileGivesTheMachinesMemory) {
  Profile("[Memory]\nTotalPhys=8589934592\nAvailPhys=2147483648\n");
  const MEMORYSTATUSEX status = Status();
  EXPECT_EQ(status.ullTotalPhys, 8589934592u);
  EXPECT_EQ(status.ullAvailPhys, 2147483648u);
  EXPECT_EQ(status.dwMemoryLoad, 75u);
}

TEST_F(MemoryStatusTest, DamagedProfileValuesAreIgnored) {
  Profile("[Memory]\nTotalPhys=8GB\nAvailPhys=99999999999999999999999\n");
  const MEMORYSTATUSEX status = Status();
  EXPECT_GT(status.ullTotalPhys, 0u);
  EXPECT_LE(status.ullAvailPhys, status.ullTotalPhys);
}

TEST_F(MemoryStatusTest, WrongLengthIsRefused) {
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof status - 1;
  SetLastError(0);
  EXPECT_FALSE(GlobalMemoryStatusEx(&status));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(GlobalMemoryStatusEx(nullptr));
}

}  // namespace
