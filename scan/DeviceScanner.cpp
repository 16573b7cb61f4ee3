// CDeviceScanner: the device scan, step by step, and the read-back of a device's driver.
#include "DeviceScanner.h"

#include <cfgmgr32.h>
#include <objbase.h>
#include <shlobj.h>

#include "DriverInstallEngine.h"
#include "RegKeyAccess.h"

namespace {

constexpr LPCTSTR kClassKeyPrefix = _T("SYSTEM\\CurrentControlSet\\Control\\Class\\");
constexpr int kPropertyBufferBytes = 1024;
constexpr int kClassDescriptionChars = 260;

// COM on the scanning thread for the scan's lifetime.
class CComThread {
 public:
  CComThread() : m_initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~CComThread() {
    if (m_initialised) CoUninitialize();
  }
  CComThread(const CComThread&) = delete;
  CComThread& operator=(const CComThread&) = delete;

 private:
  bool m_initialised;
};

// Wide text at the start of a property's bytes, up to its terminator or its end.
CString TextOf(const std::vector<BYTE>& bytes) {
  const int chars = static_cast<int>(bytes.size() / sizeof(WCHAR));
  const WCHAR* text = reinterpret_cast<const WCHAR*>(bytes.data());
  int length = 0;
  while (length < chars && text[length] != 0) ++length;
  return CString(text, length);
}

// A device property's bytes; empty when the device has none. A value bigger than the usual
// buffer is read whole rather than dropped.
std::vector<BYTE> PropertyBytes(HDEVINFO set, const SP_DEVINFO_DATA& device, DWORD property) {
  std::vector<BYTE> bytes(kPropertyBufferBytes);
  SP_DEVINFO_DATA data = device;
  DWORD type = 0, needed = 0;
  if (SetupDiGetDeviceRegistryPropertyW(set, &data, property, &type, bytes.data(), static_cast<DWORD>(bytes.size()),
                                        &needed)) {
    bytes.resize(needed);
    return bytes;
  }
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
  bytes.assign(needed, 0);
  if (!SetupDiGetDeviceRegistryPropertyW(set, &data, property, &type, bytes.data(), needed, &needed)) return {};
  return bytes;
}

// The strings of a REG_MULTI_SZ property's bytes, up to the first empty one.
void StringsOf(const std::vector<BYTE>& bytes, CStringArray& strings) {
  strings.RemoveAll();
  const int chars = static_cast<int>(bytes.size() / sizeof(WCHAR));
  const WCHAR* text = reinterpret_cast<const WCHAR*>(bytes.data());
  for (int at = 0; at < chars && text[at] != 0;) {
    int end = at;
    while (end < chars && text[end] != 0) ++end;
    strings.Add(CString(text + at, end - at));
    at = end + 1;
  }
}

// The first string of a device property ("" when the device has none).
CString FirstString(HDEVINFO set, const SP_DEVINFO_DATA& device, DWORD property) {
  return TextOf(PropertyBytes(set, device, property));
}

// An empty device record of the device services, its size set.
SP_DEVINFO_DATA NewDeviceInfo() {
  SP_DEVINFO_DATA data{};
  data.cbSize = sizeof data;
  return data;
}

CString GuidText(const GUID& guid) {
  WCHAR text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

// A driver date through the user's date picture "MM-dd-yyyy", with any "/" made a "-".
CString DateText(const FILETIME& date) {
  SYSTEMTIME day{};
  WCHAR text[32] = {};
  if (!FileTimeToSystemTime(&date, &day) ||
      GetDateFormatW(LOCALE_USER_DEFAULT, 0, &day, _T("MM-dd-yyyy"), text, 32) == 0)
    return CString();
  CString dated(text);
  dated.Replace(_T('/'), _T('-'));
  return dated;
}

}  // namespace

// One kept device's work texts: 0 name, 1 class description, 2 driver date, 3 INF name,
// 4 INF path, 5 service, 6 class GUID, 7 driver key, 8 provider, 9 first hardware id,
// 10 first compatible id, 11 configuration flags.
struct CDeviceScanner::WorkRow {
  CString text[12];
};

CDeviceScanner::CDeviceScanner() {
  WCHAR folder[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, folder, CSIDL_WINDOWS, FALSE);
  m_strWindowsFolder = folder;
  LoadIdLists();
}

CDeviceScanner::CDeviceScanner(ScanProgressFn progress) : CDeviceScanner() {
  m_pRecords = std::make_unique<CDeviceRecordArray>(CDeviceRecordArray::kInitialCapacity);
  m_pfnProgress = progress;
}

CDeviceScanner::~CDeviceScanner() { ReleaseScan(); }

void CDeviceScanner::ReleaseScan() {
  if (m_hDevInfo != INVALID_HANDLE_VALUE) {
    SetupDiDestroyDriverInfoList(m_hDevInfo, nullptr, SPDIT_COMPATDRIVER);
    SetupDiDestroyDeviceInfoList(m_hDevInfo);
  }
  m_hDevInfo = INVALID_HANDLE_VALUE;
  m_signedDrivers.clear();
  m_signerIndex.clear();
  m_infExists.clear();
}

bool CDeviceScanner::StopRequested() const { return GetProcessEngine().GetStepCode() == kStepStopScan; }

int CDeviceScanner::AnswerStop() {
  m_signedDrivers.clear();
  m_signerIndex.clear();
  const bool answered = GetProcessEngine().AcknowledgeStep();
  ReleaseScan();
  m_pRecords.reset();
  return answered ? kStepStopScan : kStepFailed;
}

int CDeviceScanner::ScanDevices() {
  CComThread com;
  ReleaseScan();
  m_nRecordCount = 0;
  m_pRecords = std::make_unique<CDeviceRecordArray>(CDeviceRecordArray::kInitialCapacity);

  m_hDevInfo = SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
  if (m_hDevInfo == INVALID_HANDLE_VALUE) {
    m_pRecords.reset();
    return kStepFailed;
  }
  DWORD total = 0;
  for (SP_DEVINFO_DATA probe = NewDeviceInfo(); SetupDiEnumDeviceInfo(m_hDevInfo, total, &probe);) ++total;
  if (total == 0) {
    ReleaseScan();
    m_pRecords.reset();
    return kStepFailed;
  }

  if (StopRequested()) return AnswerStop();
  const bool signersFromWmi = QuerySignedDrivers();

  DWORD processed = 0;
  for (DWORD index = 0;; ++index) {
    m_devInfo = NewDeviceInfo();
    if (!SetupDiEnumDeviceInfo(m_hDevInfo, index, &m_devInfo)) break;
    ++processed;
    int percent = static_cast<int>(static_cast<ULONGLONG>(processed) * 100 / total);
    if (processed >= total && percent < 100) percent = 100;

    // a. The record to fill, and the class.
    tagDeviceDriverInfo& record = m_pRecords->ElementAtGrow(m_nRecordCount);
    record.Reset();
    const CString classGuidText = GuidText(m_devInfo.ClassGuid);
    if (StopRequested()) return AnswerStop();

    // b. The six properties, first strings only.
    WorkRow row;
    const CString hardwareId = FirstString(m_hDevInfo, m_devInfo, SPDRP_HARDWAREID);
    const CString compatibleId = FirstString(m_hDevInfo, m_devInfo, SPDRP_COMPATIBLEIDS);
    const CString service = FirstString(m_hDevInfo, m_devInfo, SPDRP_SERVICE);
    const CString classGuid = FirstString(m_hDevInfo, m_devInfo, SPDRP_CLASSGUID);
    const CString driverKey = FirstString(m_hDevInfo, m_devInfo, SPDRP_DRIVER);
    const CString configFlags = FirstString(m_hDevInfo, m_devInfo, SPDRP_CONFIGFLAGS);

    // c. Devices of a left-out class or with a left-out first id get no record.
    CString classText = driverKey;
    classText.MakeLower();
    classText = classText.Left(classText.ReverseFind(_T('\\')));
    if (classText.IsEmpty()) classText = classGuidText;
    if (TestHardwareId(classText, hardwareId)) {
      if (m_pfnProgress != nullptr) m_pfnProgress(nullptr, percent);
      continue;
    }

    // d. Class description and name.
    WCHAR description[kClassDescriptionChars] = {};
    if (SetupDiGetClassDescriptionW(&m_devInfo.ClassGuid, description, kClassDescriptionChars, nullptr))
      row.text[1] = description;
    row.text[0] = FirstString(m_hDevInfo, m_devInfo, SPDRP_FRIENDLYNAME);
    if (row.text[0].IsEmpty()) row.text[0] = FirstString(m_hDevInfo, m_devInfo, SPDRP_DEVICEDESC);

    // e. Problem number of the device node.
    ULONG status = 0, problem = 0;
    if (CM_Get_DevNode_Status(&status, &problem, m_devInfo.DevInst, 0) == CR_SUCCESS)
      record.nProblem = static_cast<int>(problem);

    // f, g. The installed driver, and the manufacturer.
    CString manufacturer;
    ReadInstalledDriver(row, record, manufacturer);
    if (manufacturer.IsEmpty()) manufacturer = FirstString(m_hDevInfo, m_devInfo, SPDRP_MFG);

    // h. The driver's Class key.
    CRegKeyAccess classKey(HKEY_LOCAL_MACHINE, CRegKeyAccess::kReadOnly);
    CString infPath, driverVersion, providerName, driverDate, matchingId;
    if (!driverKey.IsEmpty() && classKey.Open(HKEY_LOCAL_MACHINE, kClassKeyPrefix + driverKey)) {
      classKey.ReadString(_T("InfPath"), infPath);
      // InfPath names a file of the INF folder; a path ("..\\x") would lead elsewhere and is none.
      if (infPath.FindOneOf(_T("\\/:")) >= 0 || CString(infPath).Trim(_T(" .")).IsEmpty()) infPath.Empty();
      classKey.ReadString(_T("DriverVersion"), driverVersion);
      classKey.ReadString(_T("ProviderName"), providerName);
      classKey.ReadString(_T("DriverDate"), driverDate);
      classKey.ReadString(_T("MatchingDeviceId"), matchingId);
      if (row.text[3].IsEmpty()) {
        row.text[4] = infPath;
        row.text[8] = providerName;
      }
    }

    // i.
    row.text[9] = hardwareId;
    row.text[10] = compatibleId;
    row.text[5] = service;
    row.text[6] = classGuid;
    row.text[7] = driverKey;
    row.text[11] = configFlags;

    // j. Drivers that are not Plug and Play get no record.
    if (row.text[1] == _T("Non-Plug and Play Drivers")) {
      if (m_pfnProgress != nullptr) m_pfnProgress(nullptr, percent);
      continue;
    }

    // k. The record.
    record.szText[kSlotDeviceName].Set(row.text[0].IsEmpty() ? _T("Unknown Device") : row.text[0].GetString());
    record.szText[kSlotClassName].Set(row.text[1].IsEmpty() ? _T("Other devices") : row.text[1].GetString());
    record.szText[kSlotProvider].Set(providerName.IsEmpty() ? row.text[8] : providerName);
    m_strInfPath = m_strWindowsFolder + _T("\\inf\\") + infPath;
    const bool infExists = !infPath.IsEmpty() && InfExists(m_strInfPath);
    record.szText[kSlotInfPath].Set(infExists ? m_strInfPath : row.text[4]);
    record.szText[kSlotDriverVersion].Set(driverVersion);
    record.szText[kSlotDriverDate].Set(driverDate);
    record.szText[kSlotManufacturer].Set(manufacturer);
    record.szText[kSlotHardwareId].Set(hardwareId);
    record.szText[kSlotDriverKey].Set(driverKey);
    record.szText[kSlotService].Set(service);

    // l, m. Identifier lists.
    FillIdLists(record, matchingId);

    // n. Signer.
    if (signersFromWmi) record.szText[kSlotSigner].Set(FindSigner(row.text[0]));
    else if (!service.IsEmpty()) record.szText[kSlotSigner].Set(GetServiceCompanyName(service));

    // o.
    record.nValues[0] = record.nValues[1] = record.nValues[2] = 0;
    if (tagDeviceDriverInfo* first = m_pRecords->GetAt(0)) first->pLinked.reset();

    // p.
    if (m_pfnProgress != nullptr) m_pfnProgress(m_pRecords.get(), percent);
    ++m_nRecordCount;
  }

  // 6. The set, its driver lists, the signed-driver list and the records go.
  ReleaseScan();
  m_pRecords.reset();
  return kStepCompleted;
}

bool CDeviceScanner::InfExists(const CString& path) {
  CString key = path;
  key.MakeLower();
  const std::u16string folded(key.GetString(), static_cast<std::size_t>(key.GetLength()));
  const auto known = m_infExists.find(folded);
  if (known != m_infExists.end()) return known->second;
  const bool exists = GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
  m_infExists.emplace(folded, exists);
  return exists;
}

void CDeviceScanner::ReadInstalledDriver(WorkRow& row, tagDeviceDriverInfo& record, CString& manufacturer) {
  SP_DEVINSTALL_PARAMS_W installParams{};
  installParams.cbSize = sizeof installParams;
  SetupDiGetDeviceInstallParamsW(m_hDevInfo, &m_devInfo, &installParams);
  if (!SetupDiBuildDriverInfoList(m_hDevInfo, &m_devInfo, SPDIT_COMPATDRIVER)) return;
  for (DWORD i = 0;; ++i) {
    SP_DRVINFO_DATA_V2_W driver{};
    driver.cbSize = sizeof driver;
    if (!SetupDiEnumDriverInfoW(m_hDevInfo, &m_devInfo, SPDIT_COMPATDRIVER, i, &driver)) break;
    SP_DRVINSTALL_PARAMS params{};
    params.cbSize = sizeof params;
    if (!SetupDiGetDriverInstallParamsW(m_hDevInfo, &m_devInfo, &driver, &params) ||
        (params.Flags & DNF_INSTALLEDDRIVER) == 0)
      continue;
    // The fixed part is what is wanted; a list that does not fit is no failure.
    SP_DRVINFO_DETAIL_DATA_W detail{};
    detail.cbSize = sizeof detail;
    if (!SetupDiGetDriverInfoDetailW(m_hDevInfo, &m_devInfo, &driver, &detail, sizeof detail, nullptr) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER)
      continue;
    record.nDriverRank = static_cast<int>(params.Rank);
    record.nInfSigned = (params.Flags & DNF_INF_IS_SIGNED) != 0 ? 1 : 0;
    row.text[2] = DateText(driver.DriverDate);
    row.text[4] = detail.InfFileName;
    row.text[3] = row.text[4].Mid(row.text[4].ReverseFind(_T('\\')) + 1);
    row.text[8] = driver.ProviderName;
    manufacturer = driver.MfgName;
    break;
  }
  SetupDiDestroyDriverInfoList(m_hDevInfo, &m_devInfo, SPDIT_COMPATDRIVER);
}

void CDeviceScanner::FillIdLists(tagDeviceDriverInfo& record, const CString& matchingId) {
  CString joined;
  if (!TestHardwareId(_T(""), matchingId)) {
    record.szMatchingDeviceId.Set(matchingId);
    joined = matchingId;
  }
  // The device's own lists (its Enum key's HardwareID and CompatibleIDs); a list the
  // device lacks stays empty.
  StringsOf(PropertyBytes(m_hDevInfo, m_devInfo, SPDRP_HARDWAREID), m_arrHardwareIds);
  StringsOf(PropertyBytes(m_hDevInfo, m_devInfo, SPDRP_COMPATIBLEIDS), m_arrCompatibleIds);
  for (INT_PTR i = 0; i < m_arrHardwareIds.GetSize(); ++i) {
    if (i < 2 && !TestHardwareId(_T(""), m_arrHardwareIds[i])) record.arrHardwareIds.Add(m_arrHardwareIds[i]);
    record.arrAllHardwareIds.Add(m_arrHardwareIds[i]);
  }
  for (INT_PTR i = 0; i < m_arrCompatibleIds.GetSize(); ++i) {
    const CString& id = m_arrCompatibleIds[i];
    if (!TestHardwareId(_T(""), id)) {
      record.arrCompatibleIds.Add(id);
      if (!joined.IsEmpty()) joined += _T("|");
      joined += id;
    }
    record.arrAllCompatibleIds.Add(id);
  }
  record.szText[kSlotMatchingIdList].Set(joined);
}

int CDeviceScanner::ReadDeviceDriverDateVersion(const CString& driverKey, const CString& hardwareId,
                                                CString& driverDate, CString& driverVersion, int& problem) {
  CString classPart = driverKey.Left(driverKey.Find(_T('\\')) < 0 ? driverKey.GetLength()
                                                                   : driverKey.Find(_T('\\')));
  classPart.Remove(_T('{'));
  classPart.Remove(_T('}'));
  classPart = _T("{") + classPart + _T("}");
  GUID classGuid{};
  if (FAILED(CLSIDFromString(classPart, &classGuid))) return 0;

  const HDEVINFO set = SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
  if (set == INVALID_HANDLE_VALUE) return 0;
  // Of the devices of that class and hardware id, the one whose own driver key is the one
  // asked about; without such a device, the last of them.
  SP_DEVINFO_DATA chosen{};
  CString chosenKey;
  bool found = false;
  for (DWORD index = 0;; ++index) {
    SP_DEVINFO_DATA device = NewDeviceInfo();
    if (!SetupDiEnumDeviceInfo(set, index, &device)) break;
    if (GuidText(device.ClassGuid).CompareNoCase(classPart) != 0 ||
        FirstString(set, device, SPDRP_HARDWAREID).CompareNoCase(hardwareId) != 0)
      continue;
    const CString key = FirstString(set, device, SPDRP_DRIVER);
    if (key.IsEmpty()) continue;
    chosen = device;
    chosenKey = key;
    found = true;
    if (key.CompareNoCase(driverKey) == 0) break;
  }
  if (found) {
    CRegKeyAccess classKey(HKEY_LOCAL_MACHINE, CRegKeyAccess::kReadOnly);
    if (classKey.Open(HKEY_LOCAL_MACHINE, kClassKeyPrefix + chosenKey)) {
      classKey.ReadString(_T("DriverDate"), driverDate);
      classKey.ReadString(_T("DriverVersion"), driverVersion);
    }
    ULONG status = 0, number = 0;
    if (CM_Get_DevNode_Status(&status, &number, chosen.DevInst, 0) == CR_SUCCESS) problem = static_cast<int>(number);
  }
  SetupDiDestroyDeviceInfoList(set);
  return found ? 1 : 0;
}
