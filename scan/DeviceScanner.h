// CDeviceScanner: finds the present devices, leaves out those the built-in lists name, and
// fills one device record per kept device with its installed driver, handing each at once
// to the engine's progress callback. It also reads back a device's driver date and version
// after an install.
#pragma once
#include <afx.h>
#include <setupapi.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "DeviceRecord.h"

// Progress of a scan: the records (null when the device was left out) and the percentage
// done. The answer is ignored.
using ScanProgressFn = BOOL (*)(CDeviceRecordArray* records, int percent);

class CDeviceScanner {
 public:
  // The identifier test only (the update engine keeps one for the scan request writer).
  CDeviceScanner();
  // A scanner that fills records and reports each to the callback.
  explicit CDeviceScanner(ScanProgressFn progress);
  ~CDeviceScanner();
  CDeviceScanner(const CDeviceScanner&) = delete;
  CDeviceScanner& operator=(const CDeviceScanner&) = delete;

  // 32 the scan ran to the end, 18 it stopped at a stop request, 33 it failed (no devices,
  // or the stop could not be answered).
  int ScanDevices();
  // True means leave out: the device, asked with its class text; the identifier otherwise.
  bool TestHardwareId(const CString& classText, const CString& id) const;
  // The identifier test alone, as TestHardwareId asks it with an empty class text (no device
  // class is empty).
  bool TestIdentifier(std::u16string_view id) const;
  // Refills the four identifier lists from the built-in sections.
  void LoadIdLists();
  // Fills the signed-driver list from WMI's Win32_PnPSignedDriver; false when WMI gave nothing.
  bool QuerySignedDrivers();
  // Makes sure the WMI service ("winmgmt") runs, starting it when stopped.
  bool StartWmiService();
  // The driver date, version and problem number of the present device with this hardware id
  // in the driver key's class; the device whose own driver key matches wins over others.
  // 1 when a device was found, else 0.
  int ReadDeviceDriverDateVersion(const CString& driverKey, const CString& hardwareId, CString& driverDate,
                                  CString& driverVersion, int& problem);
  // The CompanyName of the service's program file; empty when it has none.
  CString GetServiceCompanyName(const CString& service) const;

 private:
  struct SignedDriver {
    CString deviceName;
    CString signer;
    CString friendlyName;
  };
  // One device's work texts (see the scan's steps).
  struct WorkRow;

  // A built-in list: its texts as they stand (case counts), pointing into the built-in tables.
  // A text longer than the longest of the list is known to be absent without a lookup.
  class IdentifierSet {
   public:
    void Clear() {
      m_texts.clear();
      m_longest = 0;
    }
    void Add(std::u16string_view text) {
      m_texts.insert(text);
      m_longest = std::max(m_longest, text.size());
    }
    bool Contains(std::u16string_view text) const { return text.size() <= m_longest && m_texts.count(text) != 0; }

   private:
    std::unordered_set<std::u16string_view> m_texts;
    std::size_t m_longest = 0;
  };

  void GetBuiltInSection(LPCTSTR section, IdentifierSet& list) const;
  bool StopRequested() const;
  int AnswerStop();
  void ReleaseScan();
  void ReadInstalledDriver(WorkRow& row, tagDeviceDriverInfo& record, CString& manufacturer);
  void FillIdLists(tagDeviceDriverInfo& record, const CString& matchingId);
  CString FindSigner(const CString& deviceName) const;
  // Whether an INF file exists, asked of the file system once per file and scan (many
  // devices share one INF).
  bool InfExists(const CString& path);

  HDEVINFO m_hDevInfo = INVALID_HANDLE_VALUE;
  SP_DEVINFO_DATA m_devInfo{};
  std::unique_ptr<CDeviceRecordArray> m_pRecords;
  int m_nRecordCount = 0;
  ScanProgressFn m_pfnProgress = nullptr;
  CString m_strWindowsFolder;
  IdentifierSet m_mapCategory;
  IdentifierSet m_mapGenericIdentifiers;
  IdentifierSet m_mapIncludes;
  IdentifierSet m_mapHardwareIds;
  std::vector<SignedDriver> m_signedDrivers;
  // Lower-cased device and friendly names to the first row that has them.
  std::unordered_map<std::u16string, std::size_t> m_signerIndex;
  CStringArray m_arrHardwareIds;
  CStringArray m_arrCompatibleIds;
  CString m_strInfPath;
  std::unordered_map<std::u16string, bool> m_infExists;
};
