// The WMI locator (both its classes) and ConnectServer; the identifiers of the WMI
// interfaces. Creating a locator registers nothing: the classes are registered with COM when
// the component is loaded.
#include "objects.h"
#include "text.h"
#include "zx/com.h"
#include "zx/machine.h"

const CLSID CLSID_WbemLocator = {0x4590F811, 0x1D3A, 0x11D0, {0x89, 0x1F, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
const CLSID CLSID_WbemAdministrativeLocator = {0xCB8555CC, 0x9128, 0x11D1, {0xAD, 0x9B, 0x00, 0xC0, 0x4F, 0xD8, 0xFD, 0xFF}};
const IID IID_IWbemLocator = {0xDC12A687, 0x737F, 0x11CF, {0x88, 0x4D, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
const IID IID_IWbemServices = {0x9556DC99, 0x828C, 0x11CF, {0xA3, 0x7E, 0x00, 0xAA, 0x00, 0x32, 0x40, 0xC7}};
const IID IID_IEnumWbemClassObject = {0x027947E1, 0xD731, 0x11CE, {0xA3, 0x57, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
const IID IID_IWbemClassObject = {0xDC12A681, 0x737F, 0x11CF, {0x88, 0x4D, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};

namespace zx::wmi {
namespace {

bool Given(const BSTR text) { return text && text[0]; }

// The WMI service's state in the machine profile: S_OK when it runs, else the error a
// client meets when it connects.
HRESULT ServiceState() {
  const std::string state = machine::ProfileValue("Services", "Winmgmt", "running");
  if (SameName(state, "stopped")) return HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
  if (SameName(state, "disabled")) return HRESULT_FROM_WIN32(ERROR_SERVICE_DISABLED);
  return S_OK;
}

// The namespace path without a local machine prefix, with backslashes.
std::string LocalNamespace(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  if (path.rfind("\\\\.\\", 0) == 0) path.erase(0, 4);
  return path;
}

class Locator final : public com::Object<IWbemLocator> {
 public:
  Locator() : Object(IID_IWbemLocator) {}

  HRESULT ConnectServer(const BSTR networkResource, const BSTR user, const BSTR password,
                        const BSTR, LONG, const BSTR, IWbemContext*, IWbemServices** services) override {
    if (!services || !networkResource) return WBEM_E_INVALID_PARAMETER;
    *services = nullptr;
    if (const HRESULT state = ServiceState(); FAILED(state)) return state;
    std::size_t length = 0;
    while (networkResource[length]) ++length;
    const std::string path = LocalNamespace(ToUtf8(networkResource, length));
    if (path.rfind("\\\\", 0) == 0) return HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
    if (!SameName(path, "root\\cimv2")) return WBEM_E_INVALID_NAMESPACE;
    if (Given(user) || Given(password)) return WBEM_E_LOCAL_CREDENTIALS;
    *services = NewServices();
    return WBEM_S_NO_ERROR;
  }
};

HRESULT CreateLocator(REFIID iid, void** object) { return com::Hand<IWbemLocator>(new Locator(), iid, object); }

const bool g_registered = [] {
  com::RegisterClassFactory(CLSID_WbemLocator, CreateLocator);
  com::RegisterClassFactory(CLSID_WbemAdministrativeLocator, CreateLocator);
  return true;
}();

}  // namespace
}  // namespace zx::wmi
