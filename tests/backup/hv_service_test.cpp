// The service control helper over the machine's service table: listing services with their
// programs, asking whether one runs, and making sure the Task Scheduler runs: not for a user
// who is not an administrator, nothing when it already runs, a start (made automatic) when it
// is stopped, nothing changed when the start fails.
#include <gtest/gtest.h>

#include <windows.h>
#include <winreg.h>
#include <winsvc.h>

#include "HVService.h"
#include "cstring_printer.h"
#include "machine_fixture.h"
#include "profileapi.h"
#include "zx/pathmap.h"
#include "zx/servicecontrol.h"

namespace zx::test {
namespace {

class HVServiceTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    Profile(u"Machine", u"Administrator", u"1");
    AddService(u"Schedule", u"Task Scheduler", 0x20, SERVICE_DEMAND_START, u"%SystemRoot%\\system32\\svchost.exe -k netsvcs");
    AddService(u"Spooler", u"Print Spooler", 0x10, SERVICE_AUTO_START, u"%SystemRoot%\\System32\\spoolsv.exe");
    AddService(u"e1cexpress", u"Network", 1, SERVICE_DEMAND_START, u"System32\\drivers\\e1c62x64.sys");
  }
  void TearDown() override { zx::svc::FailNextStart(u"Schedule", 0); }

  void Profile(const char16_t* section, const char16_t* key, const char16_t* value) {
    const std::u16string ini = zx::path::HostToWindows(root() + "/machine.ini");
    WritePrivateProfileStringW(section, key, value, ini.c_str());
  }
  static void AddService(const std::u16string& name, const std::u16string& display, DWORD type, DWORD start,
                         const std::u16string& image) {
    HKEY key = nullptr;
    const std::u16string path = u"SYSTEM\\CurrentControlSet\\Services\\" + name;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, u"Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&type), 4);
    RegSetValueExW(key, u"Start", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&start), 4);
    RegSetValueExW(key, u"ImagePath", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(image.c_str()),
                   static_cast<DWORD>((image.size() + 1) * 2));
    RegSetValueExW(key, u"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(display.c_str()),
                   static_cast<DWORD>((display.size() + 1) * 2));
    RegCloseKey(key);
  }
  // The Task Scheduler's state and start type as the service control manager reports them.
  static DWORD State() {
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = OpenServiceW(manager, u"Schedule", SERVICE_QUERY_STATUS);
    SERVICE_STATUS status{};
    QueryServiceStatus(service, &status);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return status.dwCurrentState;
  }
  static DWORD StartType() {
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = OpenServiceW(manager, u"Schedule", SERVICE_QUERY_CONFIG);
    std::vector<BYTE> buffer(4096);
    auto* config = reinterpret_cast<LPQUERY_SERVICE_CONFIGW>(buffer.data());
    DWORD needed = 0;
    const BOOL read = QueryServiceConfigW(service, config, 4096, &needed);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return read ? config->dwStartType : 0xFFFFFFFFu;
  }
};

TEST_F(HVServiceTest, AUserWhoIsNotAnAdministratorStartsNothing) {
  Profile(u"Services", u"Schedule", u"stopped");
  Profile(u"Machine", u"Administrator", u"0");
  CHVService services;
  EXPECT_EQ(services.EnsureServiceRunning(_T("schedule"), TRUE), 0);
  EXPECT_EQ(State(), SERVICE_STOPPED);
  EXPECT_EQ(StartType(), SERVICE_DEMAND_START);
  // Asking whether a service runs needs no administrator.
  EXPECT_FALSE(services.IsServiceRunning(_T("schedule")));
  EXPECT_TRUE(services.IsServiceRunning(_T("Spooler")));
}

TEST_F(HVServiceTest, AServiceThatRunsIsLeftAsItIs) {
  Profile(u"Services", u"Schedule", u"running");
  CHVService services;
  EXPECT_TRUE(services.IsServiceRunning(_T("schedule")));
  EXPECT_EQ(services.EnsureServiceRunning(_T("schedule"), TRUE), 0);
  EXPECT_EQ(State(), SERVICE_RUNNING);
  EXPECT_EQ(StartType(), SERVICE_DEMAND_START);
}

TEST_F(HVServiceTest, AStoppedServiceIsStartedAndMadeAutomatic) {
  struct Case {
    BOOL automatic;
    DWORD startType;
  };
  for (const Case& c : {Case{TRUE, SERVICE_AUTO_START}, Case{FALSE, SERVICE_DEMAND_START}}) {
    SCOPED_TRACE(c.automatic);
    AddService(u"Schedule", u"Task Scheduler", 0x20, SERVICE_DEMAND_START, u"svchost.exe");
    Profile(u"Services", u"Schedule", u"stopped");
    CHVService services;
    EXPECT_FALSE(services.IsServiceRunning(_T("schedule")));
    EXPECT_EQ(services.EnsureServiceRunning(_T("schedule"), c.automatic), 1);
    EXPECT_EQ(State(), SERVICE_RUNNING);
    EXPECT_EQ(StartType(), c.startType);
  }
}

TEST_F(HVServiceTest, AFailedStartChangesNothing) {
  Profile(u"Services", u"Schedule", u"stopped");
  zx::svc::FailNextStart(u"Schedule", ERROR_SERVICE_REQUEST_TIMEOUT);
  CHVService services;
  EXPECT_EQ(services.EnsureServiceRunning(_T("schedule"), TRUE), 0);
  EXPECT_EQ(State(), SERVICE_STOPPED);
  EXPECT_EQ(StartType(), SERVICE_DEMAND_START);
  EXPECT_EQ(services.EnsureServiceRunning(_T("NoSuchService"), TRUE), 0);
}

TEST_F(HVServiceTest, ListsTheProgramServicesWithTheirPrograms) {
  for (const char16_t* administrator : {u"1", u"0"}) {
    Profile(u"Machine", u"Administrator", administrator);
    CHVService services;
    ASSERT_TRUE(services.EnumServices());
    const CArray<HVServiceDetails>& listed = services.GetServices();
    ASSERT_EQ(listed.GetSize(), 2);  // not the driver
    for (const HVServiceDetails& details : {listed[0], listed[1]}) EXPECT_EQ(details.dwFlag, 1u);
    const int schedule = listed[0].strServiceName == _T("Schedule") ? 0 : 1;
    EXPECT_EQ(listed[schedule].strDisplayName, _T("Task Scheduler"));
    EXPECT_EQ(listed[schedule].strBinaryPath, _T("%SystemRoot%\\system32\\svchost.exe -k netsvcs"));
    EXPECT_EQ(listed[1 - schedule].strBinaryPath, _T("%SystemRoot%\\System32\\spoolsv.exe"));
  }
  CString name = _T("NoSuchService");
  CHVService services;
  EXPECT_EQ(services.GetServiceBinaryPath(name), 0);
  EXPECT_EQ(name, _T("NoSuchService"));
}

}  // namespace
}  // namespace zx::test
