// EnumServicesStatusW over the Services keys, each service read through the manager's own
// calls (OpenServiceW, QueryServiceStatus, QueryServiceConfigW); QueryServiceStatusEx over
// QueryServiceStatus, with the process of a service that runs as a program of ours.
#include <cstring>
#include <string>
#include <vector>

#include "errhandlingapi.h"
#include "servicetable.h"
#include "winreg.h"
#include "winsvcenum.h"

namespace {

struct Listed {
  std::u16string name;
  std::u16string display;
  SERVICE_STATUS status{};
};

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

std::vector<std::u16string> ServiceNames() {
  std::vector<std::u16string> names;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SYSTEM\\CurrentControlSet\\Services", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return names;
  for (DWORD i = 0;; ++i) {
    WCHAR name[256];
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  RegCloseKey(key);
  return names;
}

// The service's status and display name; false when it cannot be read.
bool Read(SC_HANDLE manager, const std::u16string& name, Listed& out) {
  SC_HANDLE service = OpenServiceW(manager, name.c_str(), SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG);
  if (!service) return false;
  DWORD needed = 0;
  QueryServiceConfigW(service, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  auto* config = reinterpret_cast<LPQUERY_SERVICE_CONFIGW>(buffer.data());
  const bool ok = needed >= sizeof(QUERY_SERVICE_CONFIGW) && QueryServiceConfigW(service, config, needed, &needed) &&
                  QueryServiceStatus(service, &out.status);
  if (ok) {
    out.name = name;
    out.display = config->lpDisplayName ? config->lpDisplayName : u"";
  }
  CloseServiceHandle(service);
  return ok;
}

bool Wanted(const SERVICE_STATUS& status, DWORD types, DWORD states) {
  if (!(status.dwServiceType & types)) return false;
  const bool active = status.dwCurrentState != SERVICE_STOPPED;
  return (states & (active ? SERVICE_ACTIVE : SERVICE_INACTIVE)) != 0;
}

DWORD Size(const Listed& s) {
  return static_cast<DWORD>(sizeof(ENUM_SERVICE_STATUSW) + (s.name.size() + s.display.size() + 2) * sizeof(WCHAR));
}

}  // namespace

BOOL EnumServicesStatusW(SC_HANDLE manager, DWORD serviceType, DWORD serviceState, LPENUM_SERVICE_STATUSW services,
                         DWORD bufferSize, LPDWORD bytesNeeded, LPDWORD servicesReturned, LPDWORD resumeHandle) {
  const auto owner = zx::ReferenceHandleAs<zx::svc::ManagerObject>(reinterpret_cast<HANDLE>(manager));
  if (!owner) return Fail(ERROR_INVALID_HANDLE);
  if (!(owner->access & SC_MANAGER_ENUMERATE_SERVICE)) return Fail(ERROR_ACCESS_DENIED);
  if (!bytesNeeded || !servicesReturned || (!services && bufferSize)) return Fail(ERROR_INVALID_ADDRESS);
  if (!(serviceType & (SERVICE_WIN32 | SERVICE_DRIVER)) || !(serviceState & SERVICE_STATE_ALL) ||
      (serviceState & ~SERVICE_STATE_ALL))
    return Fail(ERROR_INVALID_PARAMETER);
  std::vector<Listed> listed;
  for (const std::u16string& name : ServiceNames()) {
    Listed s;
    if (Read(manager, name, s) && Wanted(s.status, serviceType, serviceState)) listed.push_back(std::move(s));
  }
  const std::size_t start = resumeHandle ? std::min<std::size_t>(*resumeHandle, listed.size()) : 0;
  // As many records as fit, their texts packed from the buffer's end.
  std::size_t fit = start;
  DWORD used = 0;
  while (fit < listed.size() && used + Size(listed[fit]) <= bufferSize) used += Size(listed[fit++]);
  BYTE* texts = reinterpret_cast<BYTE*>(services) + bufferSize;
  for (std::size_t i = start; i < fit; ++i) {
    ENUM_SERVICE_STATUSW& record = services[i - start];
    for (const std::u16string* text : {&listed[i].name, &listed[i].display}) {
      texts -= (text->size() + 1) * sizeof(WCHAR);
      std::memcpy(texts, text->c_str(), (text->size() + 1) * sizeof(WCHAR));
    }
    record.lpDisplayName = reinterpret_cast<LPWSTR>(texts);
    record.lpServiceName = reinterpret_cast<LPWSTR>(texts + (listed[i].display.size() + 1) * sizeof(WCHAR));
    record.ServiceStatus = listed[i].status;
  }
  *servicesReturned = static_cast<DWORD>(fit - start);
  DWORD rest = 0;
  for (std::size_t i = fit; i < listed.size(); ++i) rest += Size(listed[i]);
  *bytesNeeded = rest;
  if (resumeHandle) *resumeHandle = fit < listed.size() ? static_cast<DWORD>(fit) : 0;
  return fit < listed.size() ? Fail(ERROR_MORE_DATA) : TRUE;
}

BOOL QueryServiceStatusEx(SC_HANDLE service, SC_STATUS_TYPE infoLevel, LPBYTE buffer, DWORD bufferSize,
                          LPDWORD bytesNeeded) {
  if (infoLevel != SC_STATUS_PROCESS_INFO) return Fail(ERROR_INVALID_LEVEL);
  if (!bytesNeeded) return Fail(ERROR_INVALID_ADDRESS);
  *bytesNeeded = sizeof(SERVICE_STATUS_PROCESS);
  if (!buffer || bufferSize < sizeof(SERVICE_STATUS_PROCESS)) return Fail(ERROR_INSUFFICIENT_BUFFER);
  SERVICE_STATUS status{};
  if (!QueryServiceStatus(service, &status)) return FALSE;
  SERVICE_STATUS_PROCESS out{};
  std::memcpy(&out, &status, sizeof status);
  // Only a service of ours has a process.
  const auto object = zx::ReferenceHandleAs<zx::svc::ServiceObject>(reinterpret_cast<HANDLE>(service));
  if (std::string program; object && status.dwCurrentState != SERVICE_STOPPED &&
                           zx::svc::ServiceProgram(object->name, program))
    out.dwProcessId = zx::svc::ServiceProcess(object->name, program);
  std::memcpy(buffer, &out, sizeof out);
  return TRUE;
}
