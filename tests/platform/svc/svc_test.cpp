// The service control manager: who may open what, the state rules, starting, stopping,
// pausing and continuing, configuration queries and changes, and a start that fails.
#include <gtest/gtest.h>
#include <winreg.h>
#include <winsvc.h>

#include <cstring>
#include <vector>

#include "errhandlingapi.h"
#include "machine_fixture.h"
#include "profileapi.h"
#include "zx/pathmap.h"
#include "zx/servicecontrol.h"

namespace {

class ServiceControl : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    Profile("Machine", "Administrator", u"1");
    AddService(u"winmgmt", 0x20, 2, u"%SystemRoot%\\system32\\svchost.exe -k netsvcs");
    AddService(u"e1cexpress", 1, 3, u"System32\\drivers\\e1c62x64.sys");
    AddService(u"Spooler", 0x10, 3, u"%SystemRoot%\\System32\\spoolsv.exe");
  }
  void TearDown() override {
    for (SC_HANDLE handle : handles_) CloseServiceHandle(handle);
  }
  void Profile(const char* section, const char* key, const char16_t* value) {
    const std::u16string s(section, section + std::strlen(section)), k(key, key + std::strlen(key));
    WritePrivateProfileStringW(s.c_str(), k.c_str(), value, Ini().c_str());
  }
  std::u16string Ini() { return zx::path::HostToWindows(root() + "/machine.ini"); }
  std::u16string State(const char16_t* name) {
    WCHAR text[32];
    GetPrivateProfileStringW(u"Services", name, u"", text, 32, Ini().c_str());
    return text;
  }
  static void AddService(const std::u16string& name, DWORD type, DWORD start, const std::u16string& image) {
    HKEY key = nullptr;
    const std::u16string path = u"SYSTEM\\CurrentControlSet\\Services\\" + name;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, u"Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&type), 4);
    RegSetValueExW(key, u"Start", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&start), 4);
    RegSetValueExW(key, u"ImagePath", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(image.c_str()),
                   static_cast<DWORD>((image.size() + 1) * 2));
    RegCloseKey(key);
  }
  SC_HANDLE Manager(DWORD access = SC_MANAGER_ALL_ACCESS) { return Keep(OpenSCManagerW(nullptr, nullptr, access)); }
  SC_HANDLE Service(const char16_t* name, DWORD access = SERVICE_ALL_ACCESS) {
    return Keep(OpenServiceW(Manager(SC_MANAGER_CONNECT), name, access));
  }
  DWORD CurrentState(SC_HANDLE service) {
    SERVICE_STATUS status{};
    EXPECT_TRUE(QueryServiceStatus(service, &status));
    return status.dwCurrentState;
  }
  SC_HANDLE Keep(SC_HANDLE handle) {
    if (handle != nullptr) handles_.push_back(handle);
    return handle;
  }
  std::vector<SC_HANDLE> handles_;
};

TEST_F(ServiceControl, ChangesNeedAnAdministrator) {
  Profile("Machine", "Administrator", u"0");
  EXPECT_EQ(Manager(SC_MANAGER_ALL_ACCESS), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  const SC_HANDLE manager = Manager(SC_MANAGER_CONNECT);
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(OpenServiceW(manager, u"winmgmt", SERVICE_START), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  const SC_HANDLE reader = Keep(OpenServiceW(manager, u"winmgmt", SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG));
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(CurrentState(reader), static_cast<DWORD>(SERVICE_RUNNING));
  EXPECT_FALSE(StartServiceW(reader, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(ServiceControl, ManagersOfOtherMachinesAndDatabases) {
  EXPECT_EQ(OpenSCManagerW(u"\\\\server", nullptr, SC_MANAGER_CONNECT), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(RPC_S_SERVER_UNAVAILABLE));
  EXPECT_EQ(OpenSCManagerW(nullptr, u"ServicesFailed", SC_MANAGER_CONNECT), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DATABASE_DOES_NOT_EXIST));
  EXPECT_NE(Keep(OpenSCManagerW(u"", u"ServicesActive", SC_MANAGER_CONNECT)), nullptr);
}

TEST_F(ServiceControl, UnknownServicesAndHandles) {
  EXPECT_EQ(Service(u"nosuch"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
  EXPECT_EQ(Service(u"a\\b"), nullptr);
  EXPECT_EQ(OpenServiceW(nullptr, u"winmgmt", SERVICE_ALL_ACCESS), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SERVICE_STATUS status{};
  EXPECT_FALSE(QueryServiceStatus(Manager(), &status));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(CloseServiceHandle(nullptr));
}

TEST_F(ServiceControl, StatesWithoutARecordFollowTheStartType) {
  EXPECT_EQ(CurrentState(Service(u"winmgmt")), static_cast<DWORD>(SERVICE_RUNNING));
  EXPECT_EQ(CurrentState(Service(u"E1CEXPRESS")), static_cast<DWORD>(SERVICE_RUNNING));  // a driver on demand
  EXPECT_EQ(CurrentState(Service(u"Spooler")), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST_F(ServiceControl, StartingAStoppedService) {
  const SC_HANDLE spooler = Service(u"Spooler");
  ASSERT_TRUE(StartServiceW(spooler, 0, nullptr));
  EXPECT_EQ(CurrentState(spooler), static_cast<DWORD>(SERVICE_RUNNING));
  EXPECT_EQ(State(u"Spooler"), u"running");
  EXPECT_FALSE(StartServiceW(spooler, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_ALREADY_RUNNING));
}

TEST_F(ServiceControl, DisabledServicesStartOnlyAfterTheirStartTypeChanges) {
  Profile("Services", "winmgmt", u"disabled");
  const SC_HANDLE wmi = Service(u"winmgmt");
  EXPECT_EQ(CurrentState(wmi), static_cast<DWORD>(SERVICE_STOPPED));
  EXPECT_FALSE(StartServiceW(wmi, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_DISABLED));
  ASSERT_TRUE(ChangeServiceConfigW(wmi, SERVICE_NO_CHANGE, SERVICE_AUTO_START, SERVICE_NO_CHANGE, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(State(u"winmgmt"), u"stopped");
  ASSERT_TRUE(StartServiceW(wmi, 0, nullptr));
  EXPECT_EQ(State(u"winmgmt"), u"running");
}

TEST_F(ServiceControl, PauseContinueAndStop) {
  const SC_HANDLE wmi = Service(u"winmgmt");
  SERVICE_STATUS status{};
  ASSERT_TRUE(ControlService(wmi, SERVICE_CONTROL_PAUSE, &status));
  EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_PAUSED));
  ASSERT_TRUE(ControlService(wmi, SERVICE_CONTROL_CONTINUE, &status));
  EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
  EXPECT_EQ(status.dwControlsAccepted, static_cast<DWORD>(SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE));
  ASSERT_TRUE(ControlService(wmi, SERVICE_CONTROL_INTERROGATE, &status));
  ASSERT_TRUE(ControlService(wmi, SERVICE_CONTROL_STOP, &status));
  EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
  EXPECT_FALSE(ControlService(wmi, SERVICE_CONTROL_STOP, &status));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_NOT_ACTIVE));
  EXPECT_FALSE(ControlService(wmi, 99, &status));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SERVICE_CONTROL));
  // Drivers stop but do not pause.
  EXPECT_FALSE(ControlService(Service(u"e1cexpress"), SERVICE_CONTROL_PAUSE, &status));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SERVICE_CONTROL));
}

TEST_F(ServiceControl, ControlNeedsItsRight) {
  const SC_HANDLE service = Service(u"winmgmt", SERVICE_QUERY_STATUS);
  SERVICE_STATUS status{};
  EXPECT_FALSE(ControlService(service, SERVICE_CONTROL_STOP, &status));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(ServiceControl, ConfigurationWithItsTextsInTheBuffer) {
  const SC_HANDLE wmi = Service(u"winmgmt");
  DWORD needed = 0;
  EXPECT_FALSE(QueryServiceConfigW(wmi, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  std::vector<BYTE> buffer(needed);
  auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
  ASSERT_TRUE(QueryServiceConfigW(wmi, config, needed, &needed));
  EXPECT_EQ(config->dwServiceType, 0x20u);
  EXPECT_EQ(config->dwStartType, static_cast<DWORD>(SERVICE_AUTO_START));
  EXPECT_EQ(std::u16string(config->lpBinaryPathName), u"%SystemRoot%\\system32\\svchost.exe -k netsvcs");
  EXPECT_EQ(std::u16string(config->lpServiceStartName), u"LocalSystem");
  EXPECT_EQ(std::u16string(config->lpDisplayName), u"winmgmt");
  EXPECT_GE(reinterpret_cast<BYTE*>(config->lpDisplayName), buffer.data());
  EXPECT_LT(reinterpret_cast<BYTE*>(config->lpDisplayName), buffer.data() + needed);
  ASSERT_TRUE(ChangeServiceConfigW(wmi, SERVICE_NO_CHANGE, SERVICE_DISABLED, SERVICE_NO_CHANGE, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, u"WMI"));
  ASSERT_TRUE(QueryServiceConfigW(wmi, nullptr, 0, &needed) || GetLastError() == ERROR_INSUFFICIENT_BUFFER);
  buffer.resize(needed);
  config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
  ASSERT_TRUE(QueryServiceConfigW(wmi, config, needed, &needed));
  EXPECT_EQ(config->dwStartType, static_cast<DWORD>(SERVICE_DISABLED));
  EXPECT_EQ(std::u16string(config->lpDisplayName), u"WMI");
  EXPECT_FALSE(ChangeServiceConfigW(wmi, SERVICE_NO_CHANGE, 9, SERVICE_NO_CHANGE, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ServiceControl, AStartThatFails) {
  zx::svc::FailNextStart(u"SPOOLER", ERROR_SERVICE_REQUEST_TIMEOUT);
  const SC_HANDLE spooler = Service(u"Spooler");
  EXPECT_FALSE(StartServiceW(spooler, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_REQUEST_TIMEOUT));
  EXPECT_EQ(CurrentState(spooler), static_cast<DWORD>(SERVICE_STOPPED));
  EXPECT_TRUE(StartServiceW(spooler, 0, nullptr));  // only the next start failed
}

TEST_F(ServiceControl, AServiceDeletedWhileOpen) {
  const SC_HANDLE spooler = Service(u"Spooler");
  ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, u"SYSTEM\\CurrentControlSet\\Services\\Spooler"), ERROR_SUCCESS);
  SERVICE_STATUS status{};
  EXPECT_FALSE(QueryServiceStatus(spooler, &status));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
}

}  // namespace
