// Windows version identification: the OS identifier table and the version parts the
// machine profile describes; the rank level.
#include <gtest/gtest.h>

#include "AppUtilities.h"
#include "OsVersion.h"
#include "machine_fixture.h"

namespace {

constexpr DWORD kNt = VER_PLATFORM_WIN32_NT, kWin9x = VER_PLATFORM_WIN32_WINDOWS;
constexpr DWORD kWorkstation = VER_NT_WORKSTATION, kServer = VER_NT_SERVER;
constexpr DWORD kX86 = 0, kIa64 = 6, kX64 = 9;

TEST(OsId, TheTable) {
  EXPECT_EQ(OsIdFromVersion(kWin9x, 4, 10, 0, kX86, 0), 1);
  EXPECT_EQ(OsIdFromVersion(kWin9x, 4, 90, 0, kX86, 0), 2);
  EXPECT_EQ(OsIdFromVersion(kNt, 4, 0, kWorkstation, kX86, 0), 10);
  EXPECT_EQ(OsIdFromVersion(kNt, 5, 0, kWorkstation, kIa64, 0), 17);
  EXPECT_EQ(OsIdFromVersion(kNt, 5, 0, kServer, kX86, 0), 3);
  EXPECT_EQ(OsIdFromVersion(kNt, 5, 1, kWorkstation, kX86, 0), 4);
  EXPECT_EQ(OsIdFromVersion(kNt, 5, 2, kWorkstation, kX64, 0), 7);
  EXPECT_EQ(OsIdFromVersion(kNt, 5, 2, kWorkstation, kIa64, 0), 18);
  EXPECT_EQ(OsIdFromVersion(kNt, 5, 2, kServer, kX64, 0), 8);
  EXPECT_EQ(OsIdFromVersion(kNt, 5, 2, kServer, kIa64, 0), 19);
  EXPECT_EQ(OsIdFromVersion(kNt, 5, 2, kServer, kX86, 0), 5);
  EXPECT_EQ(OsIdFromVersion(kNt, 6, 0, kWorkstation, kX64, 0), 9);
  EXPECT_EQ(OsIdFromVersion(kNt, 6, 0, kWorkstation, kX86, 0), 6);
  EXPECT_EQ(OsIdFromVersion(kNt, 6, 0, kServer, kX64, 0), 11);
}

TEST(OsId, WindowsSevenAndItsServer) {
  EXPECT_EQ(OsIdFromVersion(kNt, 6, 1, kWorkstation, kX64, 0), 21);
  EXPECT_EQ(OsIdFromVersion(kNt, 6, 1, kWorkstation, kX86, 0), 12);
  EXPECT_EQ(OsIdFromVersion(kNt, 6, 1, kServer, kX64, 0), -1);
  EXPECT_EQ(OsIdFromVersion(kNt, 6, 1, kServer, kX64, 0x8000), 14);
  EXPECT_EQ(OsIdFromVersion(kNt, 10, 0, kWorkstation, kX64, 0), -1);
  EXPECT_EQ(OsIdFromVersion(kWin9x, 4, 0, 0, kX86, 0), -1);
  EXPECT_EQ(OsIdFromVersion(0, 3, 1, 0, kX86, 0), -1);
}

using OsVersion = zx::test::MachineTest;

TEST_F(OsVersion, PartsOfTheMachinesWindows) {
  WriteHostFile(root() + "/machine.ini",
                "[Windows]\nMajor=6\nMinor=0\nBuild=6002\nServicePack=Service Pack 2\nProductType=1\n");
  DWORD major = 0, minor = 0, servicePack = 0, architecture = 0, build = 0;
  ASSERT_TRUE(GetOsVersionParts(major, minor, servicePack, architecture, build));
  EXPECT_EQ(major, 6u);
  EXPECT_EQ(minor, 0u);
  EXPECT_EQ(servicePack, 2u);
  EXPECT_EQ(build, 6002u);
  DWORD productType = 0;
  const int id = GetOsId(major, minor, productType, architecture);
  EXPECT_EQ(productType, kWorkstation);
  EXPECT_EQ(id, architecture == kX64 ? 9 : 6);
}

TEST(RankLevel, LevelsOutsideOneToFourCountAsFour) {
  EXPECT_EQ(MinRankLevel(0, 3), 3);
  EXPECT_EQ(MinRankLevel(5, 6), 4);
  EXPECT_EQ(MinRankLevel(2, 1), 1);
  EXPECT_EQ(MinRankLevel(-7, 4), 4);
}

}  // namespace
