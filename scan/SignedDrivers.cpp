// Signers of the scanned devices' drivers: WMI's signed-driver list (with the WMI service
// started when needed), and the company name of a service's file when WMI gives nothing.
#include <objbase.h>
#include <wbemcli.h>
#include <winsvc.h>

#include <mutex>

#include "DeviceScanner.h"
#include "DriverInstallEngine.h"
#include "FileVersionInfo.h"
#include "RegKeyAccess.h"

namespace {

// A service-manager handle closed when it goes out of scope.
class CServiceHandle {
 public:
  explicit CServiceHandle(SC_HANDLE handle) : m_handle(handle) {}
  ~CServiceHandle() {
    if (m_handle != nullptr) CloseServiceHandle(m_handle);
  }
  CServiceHandle(const CServiceHandle&) = delete;
  CServiceHandle& operator=(const CServiceHandle&) = delete;
  SC_HANDLE get() const { return m_handle; }

 private:
  SC_HANDLE m_handle;
};

// A COM interface pointer released when it goes out of scope.
template <class T>
class CComRef {
 public:
  CComRef() = default;
  ~CComRef() {
    if (m_p != nullptr) m_p->Release();
  }
  CComRef(const CComRef&) = delete;
  CComRef& operator=(const CComRef&) = delete;
  T** operator&() { return &m_p; }
  T* operator->() const { return m_p; }
  T* get() const { return m_p; }

 private:
  T* m_p = nullptr;
};

// A BSTR freed when it goes out of scope.
class CBstr {
 public:
  explicit CBstr(LPCWSTR text) : m_text(SysAllocString(text)) {}
  ~CBstr() { SysFreeString(m_text); }
  CBstr(const CBstr&) = delete;
  CBstr& operator=(const CBstr&) = delete;
  operator BSTR() const { return m_text; }

 private:
  BSTR m_text;
};

// COM in the multithreaded model for the query (a thread already in the other model keeps it).
class CComForQuery {
 public:
  CComForQuery() {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    m_usable = SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
    m_balance = SUCCEEDED(result);
  }
  ~CComForQuery() {
    if (m_balance) CoUninitialize();
  }
  CComForQuery(const CComForQuery&) = delete;
  CComForQuery& operator=(const CComForQuery&) = delete;
  bool usable() const { return m_usable; }

 private:
  bool m_usable = false;
  bool m_balance = false;
};

// Process security is set once; a later call is told it is too late, which is fine.
bool SecureProcessOnce() {
  static std::mutex mutex;
  static bool done = false;
  std::lock_guard<std::mutex> lock(mutex);
  if (done) return true;
  const HRESULT result = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT,
                                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  done = result == S_OK || result == RPC_E_TOO_LATE;
  return done;
}

CString PropertyText(IWbemClassObject* object, LPCWSTR name) {
  VARIANT value;
  VariantInit(&value);
  CString text;
  if (SUCCEEDED(object->Get(name, 0, &value, nullptr, nullptr)) && value.vt == VT_BSTR && value.bstrVal != nullptr)
    text = value.bstrVal;
  VariantClear(&value);
  return text;
}

std::u16string Lowered(const CString& text) {
  CString lower = text;
  lower.MakeLower();
  return std::u16string(lower.GetString(), static_cast<std::size_t>(lower.GetLength()));
}

}  // namespace

bool CDeviceScanner::StartWmiService() {
  CServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  if (manager.get() == nullptr) return false;
  CServiceHandle service(OpenServiceW(manager.get(), _T("winmgmt"), SERVICE_ALL_ACCESS));
  SERVICE_STATUS status{};
  if (service.get() == nullptr || !QueryServiceStatus(service.get(), &status)) return false;
  switch (status.dwCurrentState) {
    case SERVICE_STOPPED:
      ChangeServiceConfigW(service.get(), SERVICE_NO_CHANGE, SERVICE_AUTO_START, SERVICE_NO_CHANGE, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr);
      return StartServiceW(service.get(), 0, nullptr) != FALSE;
    case SERVICE_PAUSED:
      return ControlService(service.get(), SERVICE_CONTROL_CONTINUE, &status) != FALSE;
    default:
      return true;
  }
}

bool CDeviceScanner::QuerySignedDrivers() {
  m_signedDrivers.clear();
  m_signerIndex.clear();
  if (!StartWmiService()) return false;
  CComForQuery com;
  if (!com.usable() || !SecureProcessOnce()) return false;
  CComRef<IWbemLocator> locator;
  CComRef<IWbemServices> services;
  CComRef<IEnumWbemClassObject> objects;
  const CBstr space(_T("root\\cimv2")), language(_T("WQL")), query(_T("Select * from Win32_PnPSignedDriver"));
  if (FAILED(CoCreateInstance(CLSID_WbemAdministrativeLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                              reinterpret_cast<void**>(&locator))) ||
      FAILED(locator->ConnectServer(space, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services)) ||
      FAILED(services->ExecQuery(language, query, WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, &objects)) ||
      FAILED(objects->Reset()))
    return false;
  while (true) {
    CComRef<IWbemClassObject> object;
    ULONG returned = 0;
    if (objects->Next(WBEM_INFINITE, 1, &object, &returned) != WBEM_S_NO_ERROR || returned == 0) break;
    m_signedDrivers.push_back(SignedDriver{PropertyText(object.get(), _T("DeviceName")),
                                           PropertyText(object.get(), _T("Signer")),
                                           PropertyText(object.get(), _T("FriendlyName"))});
  }
  // The first row whose device or friendly name equals a name (both lower-cased) gives its
  // signer: indexed once instead of searched per device.
  for (std::size_t row = 0; row < m_signedDrivers.size(); ++row) {
    m_signerIndex.try_emplace(Lowered(m_signedDrivers[row].deviceName), row);
    m_signerIndex.try_emplace(Lowered(m_signedDrivers[row].friendlyName), row);
  }
  return !m_signedDrivers.empty();
}

CString CDeviceScanner::FindSigner(const CString& deviceName) const {
  const auto found = m_signerIndex.find(Lowered(deviceName));
  return found == m_signerIndex.end() ? CString() : m_signedDrivers[found->second].signer;
}

CString CDeviceScanner::GetServiceCompanyName(const CString& service) const {
  CString imagePath;
  {
    CDriverInstallEngine::CRedirectionOff redirection(GetProcessEngine());
    CRegKeyAccess key(HKEY_LOCAL_MACHINE, CRegKeyAccess::kReadOnly);
    if (!key.Open(HKEY_LOCAL_MACHINE, _T("SYSTEM\\CurrentControlSet\\Services\\") + service) ||
        !key.ReadString(_T("ImagePath"), imagePath))
      return CString();
  }
  CString lower = imagePath;
  lower.MakeLower();
  const int system32 = lower.Find(_T("system32"));
  CString candidate = m_strWindowsFolder + _T("\\") + (system32 >= 0 ? lower.Mid(system32) : lower);
  if (GetFileAttributesW(candidate) == INVALID_FILE_ATTRIBUTES)
    candidate = m_strWindowsFolder + _T("\\system32\\drivers\\") + imagePath.Mid(imagePath.ReverseFind(_T('\\')) + 1);
  CFileVersionInfo version;
  if (GetFileAttributesW(candidate) == INVALID_FILE_ATTRIBUTES || !version.Load(candidate)) return CString();
  return version.GetCompanyName();
}
