// CHardwareHash: the WMI inventory lists and the machine hash.
#include "HardwareHash.h"

#include <comutil.h>
#include <objbase.h>
#include <wbemcli.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "DigestsSha1.h"
#include "GlobalConstants.h"
#include "MachineAddresses.h"

namespace {

const CString* const kClassNames[CHardwareHash::WMI_CLASS_COUNT] = {
    &g_strWmiBios, &g_strWmiBaseBoard, &g_strWmiNetworkAdapter, &g_strWmiComputerSystem, &g_strWmiPhysicalMemory};
const LPCTSTR kAdapterQuery =
    _T("select macaddress from Win32_NetworkAdapter where netconnectionid<>NULL and macaddress<>NULL");
const LPCTSTR kNoAddress = _T("111111111111");

// COM for the calling thread for the time of one collection (an apartment-threaded caller
// keeps its own), and the process's COM security, set once.
class ComScope {
 public:
  ComScope() : m_bInitialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
    static std::atomic<bool> securitySet{false};
    if (securitySet) return;
    const HRESULT result = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                                RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    if (result == S_OK || result == RPC_E_TOO_LATE) securitySet = true;
  }
  ~ComScope() {
    if (m_bInitialised) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  const bool m_bInitialised;
};

// The namespace services of root\cimv2 with their proxy blanket set, or null.
IWbemServices* ConnectToWmi() {
  IWbemLocator* locator = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                              reinterpret_cast<LPVOID*>(&locator))))
    return nullptr;
  IWbemServices* services = nullptr;
  const HRESULT connected = locator->ConnectServer(_bstr_t(_T("ROOT\\CIMV2")), nullptr, nullptr, nullptr, 0,
                                                   nullptr, nullptr, &services);
  locator->Release();
  if (FAILED(connected)) return nullptr;
  if (FAILED(CoSetProxyBlanket(services, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                               RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE))) {
    services->Release();
    return nullptr;
  }
  return services;
}

// The text of a property of one object; empty when it is missing or not a string.
CString ReadText(IWbemClassObject* object, const CString& property) {
  VARIANT value;
  VariantInit(&value);
  CString text;
  if (SUCCEEDED(object->Get(property, 0, &value, nullptr, nullptr)) && value.vt == VT_BSTR && value.bstrVal)
    text = CString(value.bstrVal, static_cast<int>(SysStringLen(value.bstrVal)));
  VariantClear(&value);
  return text;
}

ULONGLONG ParseUnsigned(const CString& text) {
  ULONGLONG value = 0;
  for (int i = 0; i < text.GetLength() && text[i] >= u'0' && text[i] <= u'9'; ++i)
    value = value * 10 + static_cast<ULONGLONG>(text[i] - u'0');
  return value;
}

CString Normalised(const CString& text) {
  CString copy = text;
  copy.Trim();
  copy.MakeLower();
  return copy;
}

// Adds an address to the texts unless it is one of the two addresses that never count.
// Answers whether it was added.
bool AddAddress(std::vector<CString>& texts, const CString& address) {
  CString trimmed = address;
  trimmed.Trim();
  if (trimmed.CompareNoCase(g_strIgnoredAdapter1) == 0 || trimmed.CompareNoCase(g_strIgnoredAdapter2) == 0)
    return false;
  texts.push_back(Normalised(trimmed));
  return true;
}

}  // namespace

CHardwareHash::CHardwareHash() = default;
CHardwareHash::~CHardwareHash() = default;

BOOL CHardwareHash::QueryWmiClass(int propertyCount, CKeyValuePairArray& list, int classIndex,
                                  const CString* propertyNames) {
  list.RemoveAll();
  for (int i = 0; i < propertyCount && propertyNames; ++i) {
    CString name = propertyNames[i];
    list.Add({name.Trim(), CString()});
  }
  if (classIndex < 0 || classIndex >= WMI_CLASS_COUNT) return FALSE;
  ComScope com;
  IWbemServices* services = ConnectToWmi();
  if (!services) return FALSE;
  const CString& className = *kClassNames[classIndex];
  ULONGLONG memorySum = 0;
  int addressNumber = 0;
  const INT_PTR queriedPairs = list.GetSize();
  for (INT_PTR pair = 0; pair < queriedPairs; ++pair) {
    const CString property = list[pair].strKey;
    CString query;
    if (classIndex == WMI_NETWORKADAPTER)
      query = kAdapterQuery;
    else
      query.Format(_T("select %s from %s"), property, className);
    IEnumWbemClassObject* objects = nullptr;
    if (FAILED(services->ExecQuery(_bstr_t(_T("WQL")), _bstr_t(query),
                                   WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, &objects)))
      continue;
    IWbemClassObject* object = nullptr;
    ULONG returned = 0;
    while (objects->Next(WBEM_INFINITE, 1, &object, &returned) == WBEM_S_NO_ERROR && returned == 1) {
      const CString value = ReadText(object, property);
      object->Release();
      if (classIndex == WMI_PHYSICALMEMORY) {
        memorySum += ParseUnsigned(value);
        list[pair].strValue.Format(_T("%llu"), memorySum);
      } else if (classIndex == WMI_NETWORKADAPTER) {
        CString name;
        name.Format(_T("macaddress_%d"), addressNumber++);
        list.Add({name, value});
      } else {
        list[pair].strValue = value;
      }
    }
    objects->Release();
  }
  services->Release();
  return TRUE;
}

void CHardwareHash::CollectAdapterAddresses() {
  m_arrAdapterFilter.RemoveAll();
  m_arrAdapterFilter.Add({g_strPropNetConnectionId, g_strNullValue});
  m_arrAdapterFilter.Add({g_strPropMacAddress, g_strNullValue});
  QueryWmiClass(1, m_arrAdapterAddresses, WMI_NETWORKADAPTER, &g_strPropMacAddress);
  if (m_arrAdapterAddresses.GetSize() <= 1) m_arrAdapterAddresses.RemoveAll();
}

CString CHardwareHash::ComputeHash() {
  ComScope com;
  for (CKeyValuePairArray* list : {&m_arrBios, &m_arrBaseBoard, &m_arrComputerSystem, &m_arrPhysicalMemory,
                                   &m_arrAdapterAddresses, &m_arrAdapterFilter})
    list->RemoveAll();
  m_arrMacAddresses.RemoveAll();
  if (m_pDigest)
    m_pDigest->Reset();
  else
    m_pDigest = std::make_unique<CSHA1>();

  const CString biosProperties[] = {g_strPropName, g_strPropManufacturer, g_strPropBiosVersion,
                                    g_strPropSerialNumber, g_strPropReleaseDate};
  const CString boardProperties[] = {g_strPropProduct, g_strPropManufacturer, g_strPropSerialNumber,
                                     g_strPropVersion};
  const CString systemProperties[] = {g_strPropModel, g_strPropManufacturer};
  QueryWmiClass(5, m_arrBios, WMI_BIOS, biosProperties);
  QueryWmiClass(4, m_arrBaseBoard, WMI_BASEBOARD, boardProperties);
  CollectAdapterAddresses();
  QueryWmiClass(2, m_arrComputerSystem, WMI_COMPUTERSYSTEM, systemProperties);

  std::vector<CString> texts;
  for (const CKeyValuePairArray* list : {&m_arrBios, &m_arrBaseBoard, &m_arrComputerSystem})
    for (INT_PTR i = 0; i < list->GetSize(); ++i) texts.push_back(Normalised((*list)[i].strValue));
  if (!m_arrAdapterAddresses.IsEmpty()) {
    for (INT_PTR i = 0; i < m_arrAdapterAddresses.GetSize(); ++i) AddAddress(texts, m_arrAdapterAddresses[i].strValue);
  } else {
    bool anyCounted = false;
    for (const CString& address : CollectSystemAdapterAddresses()) {
      m_arrMacAddresses.Add(address);
      anyCounted = AddAddress(texts, address) || anyCounted;
    }
    if (!anyCounted) {
      m_arrMacAddresses.Add(kNoAddress);
      texts.push_back(kNoAddress);
    }
  }

  std::sort(texts.begin(), texts.end());
  texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
  for (const CString& text : texts) {
    std::vector<BYTE> bytes;
    for (int i = 0; i < text.GetLength(); ++i) {
      bytes.push_back(static_cast<BYTE>(text[i] & 0xFF));
      bytes.push_back(static_cast<BYTE>(text[i] >> 8));
    }
    if (!bytes.empty()) m_pDigest->Update(bytes.data(), static_cast<UINT>(bytes.size()));
  }
  m_pDigest->Final();
  TCHAR report[CSHA1::REPORT_BUFFER_CHARS] = {};
  CString digest;
  if (m_pDigest->ReportHash(report, CSHA1::REPORT_HEX_SHORT)) digest = report;
  if (digest.IsEmpty()) digest = CString(_T('1'), 40);
  CString hash;
  hash.Format(_T("%lld"), static_cast<LONGLONG>(Crc64(digest)));
  return hash;
}
