// The locator: namespaces, credentials, and the WMI service's state in the machine profile.
#include "comutil.h"
#include "wmi_testing.h"

namespace {

using zx::test::WmiTest;

class Connect : public WmiTest {
 protected:
  HRESULT ConnectTo(const char16_t* path, const char16_t* user = nullptr, const CLSID& clsid = CLSID_WbemLocator) {
    IWbemLocator* locator = nullptr;
    HRESULT created = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                       reinterpret_cast<void**>(&locator));
    if (FAILED(created)) return created;
    IWbemServices* services = reinterpret_cast<IWbemServices*>(1);
    const HRESULT result = locator->ConnectServer(_bstr_t(path), user ? _bstr_t(user) : _bstr_t(), nullptr,
                                                  nullptr, 0, nullptr, nullptr, &services);
    EXPECT_EQ(SUCCEEDED(result), services != nullptr);
    if (services) services->Release();
    locator->Release();
    return result;
  }
};

TEST_F(Connect, LocalCimv2InEveryWritingIsServed) {
  for (const char16_t* path : {u"ROOT\\CIMV2", u"root\\cimv2", u"\\\\.\\root\\cimv2", u"//./root/cimv2"})
    EXPECT_EQ(ConnectTo(path), WBEM_S_NO_ERROR);
  EXPECT_EQ(ConnectTo(u"root\\cimv2", nullptr, CLSID_WbemAdministrativeLocator), WBEM_S_NO_ERROR);
}

TEST_F(Connect, OtherNamespacesMachinesAndCredentialsAreRefused) {
  EXPECT_EQ(ConnectTo(u"root\\default"), WBEM_E_INVALID_NAMESPACE);
  EXPECT_EQ(ConnectTo(u""), WBEM_E_INVALID_NAMESPACE);
  EXPECT_EQ(ConnectTo(u"\\\\server\\root\\cimv2"), static_cast<HRESULT>(0x800706BAu));
  EXPECT_EQ(ConnectTo(u"root\\cimv2", u"Administrator"), WBEM_E_LOCAL_CREDENTIALS);
}

TEST_F(Connect, StoppedServiceFailsTheConnection) {
  Profile("[Services]\nWinmgmt=stopped\n");
  EXPECT_EQ(ConnectTo(u"ROOT\\CIMV2"), static_cast<HRESULT>(0x800706BAu));
}

TEST_F(Connect, DisabledServiceFailsWithItsOwnError) {
  Profile("[Services]\nWinmgmt=Disabled\n");
  EXPECT_EQ(ConnectTo(u"ROOT\\CIMV2"), static_cast<HRESULT>(0x80070422u));
}

TEST_F(Connect, NullArgumentsAreRefused) {
  IWbemLocator* locator = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_ALL, IID_IWbemLocator,
                             reinterpret_cast<void**>(&locator)),
            S_OK);
  IWbemServices* services = nullptr;
  EXPECT_EQ(locator->ConnectServer(nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services),
            WBEM_E_INVALID_PARAMETER);
  EXPECT_EQ(locator->ConnectServer(_bstr_t(u"root\\cimv2"), nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr),
            WBEM_E_INVALID_PARAMETER);
  void* other = nullptr;
  EXPECT_EQ(locator->QueryInterface(IID_IWbemServices, &other), E_NOINTERFACE);
  locator->Release();
}

}  // namespace
