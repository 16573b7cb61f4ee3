// WMI test fixture.
#include "wmi_testing.h"

#include "comutil.h"
#include "zx/hostinfo.h"

namespace zx::test {

void WmiTest::SetUp() {
  MachineTest::SetUp();
  host::UseHostFolder(host_.path());
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
}

void WmiTest::TearDown() {
  if (services_) services_->Release();
  CoUninitialize();
  host::UseHostFolder("");
}

void WmiTest::Profile(const std::string& text) { WriteHostFile(root() + "/machine.ini", text); }

void WmiTest::HostFile(const std::string& linuxPath, const std::string& bytes) {
  WriteHostFile(HostPath(linuxPath), bytes);
}

IWbemServices* WmiTest::Connect() {
  if (services_) return services_;
  IWbemLocator* locator = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                             reinterpret_cast<void**>(&locator)),
            S_OK);
  if (!locator) return nullptr;
  EXPECT_EQ(locator->ConnectServer(_bstr_t(u"ROOT\\CIMV2"), nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services_),
            WBEM_S_NO_ERROR);
  locator->Release();
  return services_;
}

HRESULT WmiTest::Run(const std::string& query, IEnumWbemClassObject** enumerator, LONG flags) {
  IWbemServices* services = Connect();
  if (!services) return E_FAIL;
  return services->ExecQuery(_bstr_t(u"WQL"), _bstr_t(std::u16string(query.begin(), query.end()).c_str()), flags,
                             nullptr, enumerator);
}

std::vector<std::string> WmiTest::Column(const std::string& query, const std::string& property) {
  std::vector<std::string> values;
  IEnumWbemClassObject* enumerator = nullptr;
  EXPECT_EQ(Run(query, &enumerator), WBEM_S_NO_ERROR) << query;
  if (!enumerator) return values;
  IWbemClassObject* object = nullptr;
  ULONG returned = 0;
  while (enumerator->Next(WBEM_INFINITE, 1, &object, &returned) == WBEM_S_NO_ERROR && returned == 1) {
    values.push_back(ValueText(object, property));
    object->Release();
  }
  enumerator->Release();
  return values;
}

std::string ValueText(IWbemClassObject* object, const std::string& property) {
  VARIANT value;
  VariantInit(&value);
  const std::u16string name(property.begin(), property.end());
  if (object->Get(name.c_str(), 0, &value, nullptr, nullptr) != WBEM_S_NO_ERROR) return "<missing>";
  std::string text;
  switch (value.vt) {
    case VT_NULL: text = "NULL"; break;
    case VT_BOOL: text = value.boolVal == VARIANT_TRUE ? "TRUE" : "FALSE"; break;
    case VT_I4: text = std::to_string(value.lVal); break;
    case VT_BSTR: {
      const std::u16string wide(value.bstrVal, SysStringLen(value.bstrVal));
      text.assign(wide.begin(), wide.end());
      break;
    }
    default: text = "<type " + std::to_string(value.vt) + ">";
  }
  VariantClear(&value);
  return text;
}

}  // namespace zx::test
