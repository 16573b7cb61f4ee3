// Listing services: types and states chosen, records and texts in one buffer, a buffer too
// small resumed, the manager's right to enumerate, and QueryServiceStatusEx.
#include <gtest/gtest.h>
#include <winreg.h>

#include <set>
#include <string>
#include <vector>

#include "errhandlingapi.h"
#include "machine_fixture.h"
#include "profileapi.h"
#include "winsvcenum.h"
#include "zx/pathmap.h"

namespace {

class ServiceList : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    AddService(u"schedule", 0x20, 2, u"Task Scheduler");                       // running
    AddService(u"Spooler", 0x10, 3, u"Print Spooler");                        // stopped
    AddService(u"e1cexpress", 1, 3, u"Intel network driver");                 // a driver
    manager_ = OpenSCManagerW(nullptr, nullptr, 0x80000000u | SC_MANAGER_ENUMERATE_SERVICE);
    ASSERT_NE(manager_, nullptr);
  }
  void TearDown() override { CloseServiceHandle(manager_); }
  static void AddService(const std::u16string& name, DWORD type, DWORD start, const std::u16string& display) {
    HKEY key = nullptr;
    const std::u16string path = u"SYSTEM\\CurrentControlSet\\Services\\" + name;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, u"Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&type), 4);
    RegSetValueExW(key, u"Start", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&start), 4);
    RegSetValueExW(key, u"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(display.c_str()),
                   static_cast<DWORD>((display.size() + 1) * 2));
    RegCloseKey(key);
  }
  std::set<std::u16string> Names(DWORD types, DWORD states) {
    std::vector<BYTE> buffer(65536);
    DWORD needed = 0, count = 0;
    auto* records = reinterpret_cast<LPENUM_SERVICE_STATUSW>(buffer.data());
    EXPECT_TRUE(EnumServicesStatusW(manager_, types, states, records, 65536, &needed, &count, nullptr));
    std::set<std::u16string> names;
    for (DWORD i = 0; i < count; ++i) names.insert(records[i].lpServiceName);
    return names;
  }
  SC_HANDLE manager_ = nullptr;
};

TEST_F(ServiceList, TypesAndStatesChooseTheServices) {
  EXPECT_EQ(Names(SERVICE_WIN32, SERVICE_STATE_ALL), (std::set<std::u16string>{u"schedule", u"Spooler"}));
  EXPECT_EQ(Names(SERVICE_WIN32, SERVICE_ACTIVE), (std::set<std::u16string>{u"schedule"}));
  EXPECT_EQ(Names(SERVICE_WIN32, SERVICE_INACTIVE), (std::set<std::u16string>{u"Spooler"}));
  EXPECT_EQ(Names(SERVICE_DRIVER, SERVICE_STATE_ALL), (std::set<std::u16string>{u"e1cexpress"}));
}

TEST_F(ServiceList, RecordsCarryTheirTextsAndStatus) {
  std::vector<BYTE> buffer(4096, 0xCC);
  DWORD needed = 0, count = 0;
  auto* records = reinterpret_cast<LPENUM_SERVICE_STATUSW>(buffer.data());
  ASSERT_TRUE(EnumServicesStatusW(manager_, SERVICE_WIN32, SERVICE_ACTIVE, records, 4096, &needed, &count, nullptr));
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(needed, 0u);
  EXPECT_EQ(std::u16string(records[0].lpServiceName), u"schedule");
  EXPECT_EQ(std::u16string(records[0].lpDisplayName), u"Task Scheduler");
  EXPECT_EQ(records[0].ServiceStatus.dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
  EXPECT_EQ(records[0].ServiceStatus.dwServiceType, 0x20u);
  // The texts lie inside the buffer.
  const auto* begin = reinterpret_cast<const BYTE*>(buffer.data());
  const auto* name = reinterpret_cast<const BYTE*>(records[0].lpServiceName);
  EXPECT_GE(name, begin + sizeof(ENUM_SERVICE_STATUSW));
  EXPECT_LT(name, begin + buffer.size());
}

TEST_F(ServiceList, ASmallBufferIsResumed) {
  const DWORD one = sizeof(ENUM_SERVICE_STATUSW) + 64 * sizeof(WCHAR);
  std::vector<BYTE> buffer(one);
  DWORD needed = 0, count = 0, resume = 0;
  auto* records = reinterpret_cast<LPENUM_SERVICE_STATUSW>(buffer.data());
  SetLastError(0);
  EXPECT_FALSE(EnumServicesStatusW(manager_, SERVICE_WIN32, SERVICE_STATE_ALL, records, one, &needed, &count, &resume));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(count, 1u);
  EXPECT_GT(needed, 0u);
  EXPECT_EQ(resume, 1u);
  const std::u16string first = records[0].lpServiceName;
  ASSERT_TRUE(EnumServicesStatusW(manager_, SERVICE_WIN32, SERVICE_STATE_ALL, records, one, &needed, &count, &resume));
  EXPECT_EQ(count, 1u);
  EXPECT_NE(std::u16string(records[0].lpServiceName), first);
  EXPECT_EQ(resume, 0u);
  // Nothing fits into nothing: the whole size is asked for.
  EXPECT_FALSE(EnumServicesStatusW(manager_, SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0, &needed, &count, nullptr));
  EXPECT_GE(needed, 2 * sizeof(ENUM_SERVICE_STATUSW));
}

TEST_F(ServiceList, TheManagerMustBeAllowedToEnumerate) {
  SC_HANDLE connect = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  DWORD needed = 0, count = 0;
  EXPECT_FALSE(EnumServicesStatusW(connect, SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0, &needed, &count, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CloseServiceHandle(connect);
  EXPECT_FALSE(EnumServicesStatusW(nullptr, SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0, &needed, &count, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(EnumServicesStatusW(manager_, 0, SERVICE_STATE_ALL, nullptr, 0, &needed, &count, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ServiceList, StatusWithItsProcess) {
  SC_HANDLE service = OpenServiceW(manager_, u"schedule", SERVICE_QUERY_STATUS);
  ASSERT_NE(service, nullptr);
  SERVICE_STATUS_PROCESS status{};
  DWORD needed = 0;
  EXPECT_FALSE(QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<LPBYTE>(&status), 8, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(needed, static_cast<DWORD>(sizeof status));
  ASSERT_TRUE(QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<LPBYTE>(&status), sizeof status, &needed));
  EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
  EXPECT_EQ(status.dwProcessId, 0u);
  EXPECT_FALSE(QueryServiceStatusEx(service, static_cast<SC_STATUS_TYPE>(1), reinterpret_cast<LPBYTE>(&status), sizeof status, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
  CloseServiceHandle(service);
}

}  // namespace
