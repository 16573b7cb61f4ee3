// CDriverScanUpdate: construction and destruction of the update engine.
#include "DriverScanUpdate.h"

#include "OsVersion.h"

CDriverScanUpdate::CDriverScanUpdate() {
  m_mapExcludedIds.InitHashTable(10);
  DWORD servicePack = 0, architecture = 0;
  GetOsVersionParts(m_dwOsMajor, m_dwOsMinor, servicePack, architecture, m_dwOsBuild);
  m_strOsVersion.Format(_T("%d.%d.%d"), m_dwOsMajor, m_dwOsMinor, m_dwOsBuild);
}

CDriverScanUpdate::~CDriverScanUpdate() = default;
