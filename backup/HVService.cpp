// CHVService: listing services, asking whether one runs, starting it when it does not.
#include "HVService.h"

#include <winsvc.h>

#include <vector>

#include "SystemHelpers.h"

IMPLEMENT_DYNAMIC(CHVService, CObject)

namespace {

constexpr DWORD kListBufferBytes = 73728;
constexpr DWORD kConfigBufferBytes = 4096;
constexpr DWORD kGenericRead = 0x80000000u;

// A manager or service handle, closed exactly once.
class CServiceHandle {
 public:
  explicit CServiceHandle(SC_HANDLE handle) : m_handle(handle) {}
  ~CServiceHandle() {
    if (m_handle) CloseServiceHandle(m_handle);
  }
  CServiceHandle(const CServiceHandle&) = delete;
  CServiceHandle& operator=(const CServiceHandle&) = delete;
  operator SC_HANDLE() const { return m_handle; }

 private:
  SC_HANDLE m_handle;
};

}  // namespace

BOOL CHVService::EnumServices() {
  m_arrServices.RemoveAll();
  CServiceHandle manager(OpenSCManagerW(nullptr, nullptr, kGenericRead | SC_MANAGER_ENUMERATE_SERVICE));
  if (!manager) return FALSE;
  std::vector<BYTE> buffer(kListBufferBytes);
  auto* listed = reinterpret_cast<LPENUM_SERVICE_STATUSW>(buffer.data());
  DWORD needed = 0, count = 0;
  if (!EnumServicesStatusW(manager, SERVICE_WIN32, SERVICE_STATE_ALL, listed, kListBufferBytes, &needed, &count,
                           nullptr))
    return FALSE;
  for (DWORD i = 0; i < count; ++i) {
    HVServiceDetails details;
    details.strServiceName = listed[i].lpServiceName;
    details.strDisplayName = listed[i].lpDisplayName;
    details.strBinaryPath = listed[i].lpServiceName;
    details.dwFlag = 1;
    if (GetServiceBinaryPath(details.strBinaryPath)) m_arrServices.Add(details);
  }
  return TRUE;
}

BOOL CHVService::IsServiceRunning(LPCWSTR serviceName) {
  // Asking needs only the rights every user has.
  CServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager || !serviceName) return FALSE;
  CServiceHandle service(OpenServiceW(manager, serviceName, SERVICE_QUERY_STATUS));
  SERVICE_STATUS_PROCESS status{};
  DWORD needed = 0;
  if (!service || !QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<LPBYTE>(&status),
                                        sizeof status, &needed))
    return FALSE;
  return status.dwCurrentState != SERVICE_STOPPED && status.dwCurrentState != SERVICE_STOP_PENDING;
}

int CHVService::EnsureServiceRunning(LPCWSTR serviceName, BOOL bSetAutomatic) {
  if (!IsUserAdmin() || !serviceName) return 0;
  CServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  if (!manager) return 0;
  CServiceHandle service(OpenServiceW(manager, serviceName, SERVICE_ALL_ACCESS));
  if (!service || IsServiceRunning(serviceName)) return 0;
  if (!StartServiceW(service, 0, nullptr)) return 0;
  if (bSetAutomatic)
    ChangeServiceConfigW(service, SERVICE_NO_CHANGE, SERVICE_AUTO_START, SERVICE_NO_CHANGE, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr);
  return 1;
}

int CHVService::GetServiceBinaryPath(CString& serviceName) {
  CServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return 0;
  CServiceHandle service(OpenServiceW(manager, serviceName, SERVICE_QUERY_CONFIG));
  std::vector<BYTE> buffer(kConfigBufferBytes);
  auto* config = reinterpret_cast<LPQUERY_SERVICE_CONFIGW>(buffer.data());
  DWORD needed = 0;
  if (!service || !QueryServiceConfigW(service, config, kConfigBufferBytes, &needed)) return 0;
  serviceName = config->lpBinaryPathName ? config->lpBinaryPathName : _T("");
  return 1;
}
