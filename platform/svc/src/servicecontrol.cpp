// The service control manager's API: handles of the manager and its services, status and
// configuration queries, configuration changes, starting and controlling services.
#include <cstring>

#include "errhandlingapi.h"
#include "servicetable.h"
#include "zx/security.h"

namespace {

using zx::svc::ServiceConfig;
using zx::svc::StateRecord;

// Rights anybody may have; anything else needs an administrator.
constexpr DWORD kGenericRead = 0x80000000u, kReadControl = 0x00020000u;
constexpr DWORD kManagerReadRights = SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE |
                                     SC_MANAGER_QUERY_LOCK_STATUS | kGenericRead | kReadControl;
constexpr DWORD kServiceReadRights = SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS | SERVICE_ENUMERATE_DEPENDENTS |
                                     SERVICE_INTERROGATE | kGenericRead | kReadControl;

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

SC_HANDLE FailHandle(DWORD error) {
  SetLastError(error);
  return nullptr;
}

// The service a handle names, with the right asked for; null with the last error set.
std::shared_ptr<zx::svc::ServiceObject> Service(SC_HANDLE handle, DWORD right, ServiceConfig& config) {
  auto service = zx::ReferenceHandleAs<zx::svc::ServiceObject>(handle);
  if (!service) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if ((service->access & right) != right) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  if (!zx::svc::ReadConfig(service->name, config)) {
    SetLastError(ERROR_SERVICE_DOES_NOT_EXIST);  // deleted since it was opened
    return nullptr;
  }
  return service;
}

// Drivers and the services of our programs take no pause.
bool Pausable(const ServiceConfig& config) {
  std::string program;
  return config.type != SERVICE_KERNEL_DRIVER && config.type != SERVICE_FILE_SYSTEM_DRIVER &&
         !zx::svc::ServiceProgram(config.name, program);
}

void FillStatus(const ServiceConfig& config, DWORD state, SERVICE_STATUS& status) {
  std::memset(&status, 0, sizeof status);
  status.dwServiceType = config.type;
  status.dwCurrentState = state;
  if (state != SERVICE_STOPPED)
    status.dwControlsAccepted = SERVICE_ACCEPT_STOP | (Pausable(config) ? SERVICE_ACCEPT_PAUSE_CONTINUE : 0);
}

// Appends a text after the record and answers where it lies.
LPWSTR PlaceText(BYTE*& next, const std::u16string& text) {
  LPWSTR placed = reinterpret_cast<LPWSTR>(next);
  std::memcpy(next, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
  next += (text.size() + 1) * sizeof(WCHAR);
  return placed;
}

}  // namespace

SC_HANDLE OpenSCManagerW(LPCWSTR machineName, LPCWSTR databaseName, DWORD desiredAccess) {
  if (machineName != nullptr && machineName[0] != 0) return FailHandle(RPC_S_SERVER_UNAVAILABLE);
  if (databaseName != nullptr && std::u16string_view(databaseName) != u"ServicesActive")
    return FailHandle(ERROR_DATABASE_DOES_NOT_EXIST);
  if ((desiredAccess & ~kManagerReadRights) != 0 && !zx::security::UserIsAdministrator())
    return FailHandle(ERROR_ACCESS_DENIED);
  auto manager = std::make_shared<zx::svc::ManagerObject>();
  manager->access = desiredAccess == SC_MANAGER_ALL_ACCESS ? SC_MANAGER_ALL_ACCESS : desiredAccess | SC_MANAGER_CONNECT;
  return reinterpret_cast<SC_HANDLE>(zx::InsertHandle(std::move(manager)));
}

SC_HANDLE OpenServiceW(SC_HANDLE manager, LPCWSTR serviceName, DWORD desiredAccess) {
  const auto owner = zx::ReferenceHandleAs<zx::svc::ManagerObject>(manager);
  if (!owner) return FailHandle(ERROR_INVALID_HANDLE);
  if (serviceName == nullptr) return FailHandle(ERROR_INVALID_ADDRESS);
  ServiceConfig config;
  if (!zx::svc::ReadConfig(serviceName, config)) return FailHandle(ERROR_SERVICE_DOES_NOT_EXIST);
  if ((desiredAccess & ~kServiceReadRights) != 0 && !zx::security::UserIsAdministrator())
    return FailHandle(ERROR_ACCESS_DENIED);
  auto service = std::make_shared<zx::svc::ServiceObject>();
  service->name = config.name;
  service->access = desiredAccess;
  return reinterpret_cast<SC_HANDLE>(zx::InsertHandle(std::move(service)));
}

BOOL CloseServiceHandle(SC_HANDLE handle) {
  const auto object = zx::ReferenceHandle(handle);
  if (!std::dynamic_pointer_cast<zx::svc::ServiceObject>(object) &&
      !std::dynamic_pointer_cast<zx::svc::ManagerObject>(object))
    return Fail(ERROR_INVALID_HANDLE);
  zx::RemoveHandle(handle);
  return TRUE;
}

BOOL QueryServiceStatus(SC_HANDLE handle, LPSERVICE_STATUS status) {
  ServiceConfig config;
  if (status == nullptr) return Fail(ERROR_INVALID_ADDRESS);
  if (!Service(handle, SERVICE_QUERY_STATUS, config)) return FALSE;
  FillStatus(config, zx::svc::CurrentState(config), *status);
  return TRUE;
}

BOOL QueryServiceConfigW(SC_HANDLE handle, LPQUERY_SERVICE_CONFIGW config, DWORD bufferSize, LPDWORD bytesNeeded) {
  ServiceConfig read;
  if (bytesNeeded == nullptr) return Fail(ERROR_INVALID_ADDRESS);
  if (!Service(handle, SERVICE_QUERY_CONFIG, read)) return FALSE;
  const bool driver = read.type == SERVICE_KERNEL_DRIVER || read.type == SERVICE_FILE_SYSTEM_DRIVER;
  const std::u16string account = driver ? u"" : u"LocalSystem";
  const std::size_t texts = read.imagePath.size() + read.group.size() + account.size() + read.displayName.size() + 4;
  const DWORD needed = static_cast<DWORD>(sizeof(QUERY_SERVICE_CONFIGW) + (texts + 2) * sizeof(WCHAR));
  *bytesNeeded = needed;
  if (config == nullptr || bufferSize < needed) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::memset(config, 0, sizeof *config);
  config->dwServiceType = read.type;
  config->dwStartType = zx::svc::IsDisabled(read) ? SERVICE_DISABLED : read.start;
  config->dwErrorControl = read.errorControl;
  BYTE* next = reinterpret_cast<BYTE*>(config + 1);
  config->lpBinaryPathName = PlaceText(next, read.imagePath);
  config->lpLoadOrderGroup = PlaceText(next, read.group);
  config->lpDependencies = PlaceText(next, std::u16string(1, u'\0'));  // an empty list
  config->lpServiceStartName = PlaceText(next, account);
  config->lpDisplayName = PlaceText(next, read.displayName);
  return TRUE;
}

BOOL ChangeServiceConfigW(SC_HANDLE handle, DWORD serviceType, DWORD startType, DWORD errorControl,
                          LPCWSTR binaryPathName, LPCWSTR loadOrderGroup, LPDWORD, LPCWSTR, LPCWSTR, LPCWSTR,
                          LPCWSTR displayName) {
  ServiceConfig config;
  if (!Service(handle, SERVICE_CHANGE_CONFIG, config)) return FALSE;
  if ((startType != SERVICE_NO_CHANGE && startType > SERVICE_DISABLED) ||
      (errorControl != SERVICE_NO_CHANGE && errorControl > 3))
    return Fail(ERROR_INVALID_PARAMETER);
  if (serviceType != SERVICE_NO_CHANGE) config.type = serviceType;
  if (startType != SERVICE_NO_CHANGE) config.start = startType;
  if (errorControl != SERVICE_NO_CHANGE) config.errorControl = errorControl;
  if (binaryPathName != nullptr) config.imagePath = binaryPathName;
  if (loadOrderGroup != nullptr) config.group = loadOrderGroup;
  if (displayName != nullptr) config.displayName = displayName;
  if (!zx::svc::WriteConfig(config)) return Fail(ERROR_ACCESS_DENIED);
  // A start type other than disabled lifts a disabled record; the service stays stopped.
  if (startType != SERVICE_NO_CHANGE && startType != SERVICE_DISABLED &&
      zx::svc::ReadStateRecord(config.name) == StateRecord::Disabled)
    zx::svc::WriteStateRecord(config.name, StateRecord::Stopped);
  return TRUE;
}

BOOL StartServiceW(SC_HANDLE handle, DWORD, LPCWSTR*) {
  ServiceConfig config;
  if (!Service(handle, SERVICE_START, config)) return FALSE;
  if (zx::svc::IsDisabled(config)) return Fail(ERROR_SERVICE_DISABLED);
  if (zx::svc::CurrentState(config) != SERVICE_STOPPED) return Fail(ERROR_SERVICE_ALREADY_RUNNING);
  if (const DWORD failure = zx::svc::TakeStartFailure(config.name); failure != 0) return Fail(failure);
  if (std::string program; zx::svc::ServiceProgram(config.name, program)) {
    if (const DWORD error = zx::svc::StartServiceProcess(config.name, program); error != ERROR_SUCCESS)
      return Fail(error);
  }
  if (!zx::svc::WriteStateRecord(config.name, StateRecord::Running)) return Fail(ERROR_ACCESS_DENIED);
  return TRUE;
}

BOOL ControlService(SC_HANDLE handle, DWORD control, LPSERVICE_STATUS status) {
  static constexpr DWORD kRights[] = {0, SERVICE_STOP, SERVICE_PAUSE_CONTINUE, SERVICE_PAUSE_CONTINUE,
                                      SERVICE_INTERROGATE};
  if (status == nullptr) return Fail(ERROR_INVALID_ADDRESS);
  if (control == 0 || control > SERVICE_CONTROL_INTERROGATE) return Fail(ERROR_INVALID_SERVICE_CONTROL);
  ServiceConfig config;
  if (!Service(handle, kRights[control], config)) return FALSE;
  const DWORD state = zx::svc::CurrentState(config);
  FillStatus(config, state, *status);
  if (state == SERVICE_STOPPED) return Fail(ERROR_SERVICE_NOT_ACTIVE);
  if (!Pausable(config) && (control == SERVICE_CONTROL_PAUSE || control == SERVICE_CONTROL_CONTINUE))
    return Fail(ERROR_INVALID_SERVICE_CONTROL);
  if (control == SERVICE_CONTROL_INTERROGATE) return TRUE;
  if (std::string program; control == SERVICE_CONTROL_STOP && zx::svc::ServiceProgram(config.name, program))
    zx::svc::StopServiceProcess(config.name, program);
  const StateRecord record = control == SERVICE_CONTROL_STOP    ? StateRecord::Stopped
                             : control == SERVICE_CONTROL_PAUSE ? StateRecord::Paused
                                                                : StateRecord::Running;
  if (!zx::svc::WriteStateRecord(config.name, record)) return Fail(ERROR_ACCESS_DENIED);
  FillStatus(config, zx::svc::CurrentState(config), *status);
  return TRUE;
}
