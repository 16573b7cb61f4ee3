// CDriverScanUpdate: construction and destruction of the update engine, and the class image
// of a device class.
#include "DriverScanUpdate.h"

#include <objbase.h>

#include "OsVersion.h"

CDriverScanUpdate::CDriverScanUpdate() {
  m_mapExcludedIds.InitHashTable(10);
  m_classImages.cbSize = sizeof(SP_CLASSIMAGELIST_DATA);
  if (!SetupDiGetClassImageList(&m_classImages)) m_classImages.ImageList = nullptr;
  DWORD servicePack = 0, architecture = 0;
  GetOsVersionParts(m_dwOsMajor, m_dwOsMinor, servicePack, architecture, m_dwOsBuild);
  m_strOsVersion.Format(_T("%d.%d.%d"), m_dwOsMajor, m_dwOsMinor, m_dwOsBuild);
}

CDriverScanUpdate::~CDriverScanUpdate() {
  if (m_classImages.ImageList != nullptr) SetupDiDestroyClassImageList(&m_classImages);
}

int CDriverScanUpdate::GetClassImageIndex(const CString& classGuid) const {
  GUID guid{};
  if (m_classImages.ImageList == nullptr || FAILED(CLSIDFromString(classGuid, &guid))) return -1;
  int index = -1;
  return SetupDiGetClassImageIndex(&m_classImages, &guid, &index) ? index : -1;
}

// The class GUID is the part of the driver key before its instance number
// ("{4d36e96e-e325-11ce-bfc1-08002be10318}\0000").
int CDriverScanUpdate::ClassImageOf(const tagDeviceDriverInfo& device) const {
  CString classGuid = device.szText[kSlotDriverKey].Text();
  const int slash = classGuid.Find(_T('\\'));
  if (slash >= 0) classGuid = classGuid.Left(slash);
  return GetClassImageIndex(classGuid);
}
