// CDriverScanUpdate: the update engine of the main program, one object owned by the main
// window. This part holds what the engine decides at construction: its own identifier test
// (a scanner without records), the excluded hardware ids, and the Windows version it runs on.
#pragma once
#include <afx.h>

#include <memory>

#include "DeviceRecord.h"
#include "DeviceScanner.h"

class CDriverScanUpdate {
 public:
  CDriverScanUpdate();
  ~CDriverScanUpdate();
  CDriverScanUpdate(const CDriverScanUpdate&) = delete;
  CDriverScanUpdate& operator=(const CDriverScanUpdate&) = delete;

  // The identifier test the scan request writer asks.
  const CDeviceScanner& GetScanner() const { return m_scanner; }
  // "%d.%d.%d": major, minor and build number of the running Windows.
  const CString& GetOsVersionText() const { return m_strOsVersion; }
  DWORD GetOsMajor() const { return m_dwOsMajor; }
  DWORD GetOsMinor() const { return m_dwOsMinor; }
  DWORD GetOsBuild() const { return m_dwOsBuild; }
  // The scanned devices; null before the first scan.
  CDeviceRecordArray* GetDevices() const { return m_pDevices.get(); }
  CMapStringToString& GetExcludedIds() { return m_mapExcludedIds; }

 private:
  CDeviceScanner m_scanner;
  CMapStringToString m_mapExcludedIds;
  std::unique_ptr<CDeviceRecordArray> m_pDevices;
  DWORD m_dwOsMajor = 0;
  DWORD m_dwOsMinor = 0;
  DWORD m_dwOsBuild = 0;
  CString m_strOsVersion;
};
