// The reported Windows version (from the machine profile) and the system information:
// structure layouts, defaults, machine.ini parsing and damaged values.
#include <gtest/gtest.h>

#include <bitset>
#include <cstddef>
#include <thread>

#include "machine_fixture.h"
#include "windows.h"

namespace {

static_assert(sizeof(OSVERSIONINFOW) == 276);
static_assert(sizeof(OSVERSIONINFOEXW) == 284);
static_assert(sizeof(OSVERSIONINFOA) == 148);
static_assert(sizeof(OSVERSIONINFOEXA) == 156);
static_assert(offsetof(OSVERSIONINFOEXW, szCSDVersion) == 20);
static_assert(offsetof(OSVERSIONINFOEXW, wServicePackMajor) == 276);
static_assert(offsetof(OSVERSIONINFOEXW, wSuiteMask) == 280);
static_assert(offsetof(OSVERSIONINFOEXW, wProductType) == 282);
static_assert(sizeof(SYSTEM_INFO) == 48);
static_assert(offsetof(SYSTEM_INFO, dwPageSize) == 4);
static_assert(offsetof(SYSTEM_INFO, lpMinimumApplicationAddress) == 8);
static_assert(offsetof(SYSTEM_INFO, dwActiveProcessorMask) == 24);
static_assert(offsetof(SYSTEM_INFO, dwNumberOfProcessors) == 32);
static_assert(offsetof(SYSTEM_INFO, dwAllocationGranularity) == 40);
static_assert(offsetof(SYSTEM_INFO, wProcessorLevel) == 44);

class Version : public zx::test::MachineTest {
 protected:
  void WriteProfile(const std::string& text) { WriteHostFile(root() + "/machine.ini", text); }
  OSVERSIONINFOEXW Read() {
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof info;
    EXPECT_TRUE(GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(&info)));
    return info;
  }
};

TEST_F(Version, WithoutAProfileTheLayerIsWindows7ServicePack1) {
  const OSVERSIONINFOEXW info = Read();
  EXPECT_EQ(info.dwMajorVersion, 6u);
  EXPECT_EQ(info.dwMinorVersion, 1u);
  EXPECT_EQ(info.dwBuildNumber, 7601u);
  EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_EQ(std::u16string(info.szCSDVersion), u"Service Pack 1");
  EXPECT_EQ(info.wServicePackMajor, 1);
  EXPECT_EQ(info.wServicePackMinor, 0);
  EXPECT_EQ(info.wProductType, VER_NT_WORKSTATION);
  // The plain structure is filled as far as it goes.
  OSVERSIONINFOW plain{};
  plain.dwOSVersionInfoSize = sizeof plain;
  ASSERT_TRUE(GetVersionEx(&plain));
  EXPECT_EQ(plain.dwBuildNumber, 7601u);
}

TEST_F(Version, ProfileValuesReplaceTheDefaults) {
  WriteProfile(
      "\xEF\xBB\xBF; machine profile\r\n"
      "[Hardware]\r\nMajor=99\r\n"
      "  [ windows ]  \r\n"
      "major = 10\r\n"
      "# a comment\r\n"
      "MINOR=0\r\nBuild=19045\r\nServicePack=\r\nProductType=3\r\n"
      "[Other]\r\nBuild=1\r\n");
  const OSVERSIONINFOEXW info = Read();
  EXPECT_EQ(info.dwMajorVersion, 10u);
  EXPECT_EQ(info.dwMinorVersion, 0u);
  EXPECT_EQ(info.dwBuildNumber, 19045u);
  EXPECT_EQ(info.dwPlatformId, 2u);
  EXPECT_EQ(info.szCSDVersion[0], u'\0');
  EXPECT_EQ(info.wServicePackMajor, 0);
  EXPECT_EQ(info.wProductType, VER_NT_SERVER);
}

TEST_F(Version, DamagedValuesKeepTheirDefaults) {
  WriteProfile(
      "[Windows]\nMajor=abc\nMinor=99999999999\nBuild=-5\nPlatform=2x\nProductType=300\n"
      "no equals sign here\n=7\n[Windows\nBuild=1\n");
  const OSVERSIONINFOEXW info = Read();
  EXPECT_EQ(info.dwMajorVersion, 6u);
  EXPECT_EQ(info.dwMinorVersion, 1u);
  EXPECT_EQ(info.dwBuildNumber, 7601u);
  EXPECT_EQ(info.dwPlatformId, 2u);
  EXPECT_EQ(info.wProductType, 1);
}

TEST_F(Version, ServicePackTextIsCutTo127Characters) {
  WriteProfile("[Windows]\nServicePack=" + std::string(200, 'x') + " 3\n");
  OSVERSIONINFOEXW info = Read();
  EXPECT_EQ(std::u16string(info.szCSDVersion), std::u16string(127, u'x'));
  WriteProfile("[Windows]\nServicePack=Service Pack 2\n");
  info = Read();
  EXPECT_EQ(info.wServicePackMajor, 2);
}

TEST_F(Version, NarrowFormWritesWindows1252) {
  WriteProfile("[Windows]\nServicePack=Service Pack 3 caf\xC3\xA9\n");
  OSVERSIONINFOEXA info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&info)));
  EXPECT_EQ(std::string(info.szCSDVersion), "Service Pack 3 caf\xE9");
  EXPECT_EQ(info.dwBuildNumber, 7601u);
  OSVERSIONINFOA plain{};
  plain.dwOSVersionInfoSize = sizeof plain;
  EXPECT_TRUE(GetVersionExA(&plain));
}

TEST_F(Version, StructureSizeIsChecked) {
  for (DWORD size : {0u, 275u, 277u, 148u, 1000u}) {
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = size;
    SetLastError(0);
    EXPECT_FALSE(GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(&info))) << size;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(info.dwMajorVersion, 0u);
  }
  OSVERSIONINFOA narrow{};
  narrow.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
  EXPECT_FALSE(GetVersionExA(&narrow));
  EXPECT_EQ(GetVersionExW(nullptr), FALSE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(SystemInfo, DescribesTheHostProcessors) {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
#if defined(__x86_64__)
  EXPECT_EQ(info.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_AMD64);
  EXPECT_EQ(info.dwProcessorType, static_cast<DWORD>(PROCESSOR_AMD_X8664));
#else
  EXPECT_EQ(info.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_INTEL);
#endif
  EXPECT_EQ(info.dwNumberOfProcessors, std::thread::hardware_concurrency());
  if (info.dwNumberOfProcessors < 64) {
    EXPECT_EQ(std::bitset<64>(info.dwActiveProcessorMask).count(), info.dwNumberOfProcessors);
  }
  EXPECT_GE(info.dwPageSize, 4096u);
  EXPECT_EQ(info.dwPageSize & (info.dwPageSize - 1), 0u);
  EXPECT_EQ(info.dwAllocationGranularity, 65536u);
  EXPECT_LT(info.lpMinimumApplicationAddress, info.lpMaximumApplicationAddress);
  SYSTEM_INFO native{};
  GetNativeSystemInfo(&native);
  EXPECT_EQ(native.dwOemId, info.dwOemId);
  EXPECT_EQ(native.dwNumberOfProcessors, info.dwNumberOfProcessors);
}

}  // namespace
