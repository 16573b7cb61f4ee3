// The driver-information list of a device: its installed driver, as the Class key the
// device's "Driver" value names describes it.
#include <cstring>
#include <string>

#include "devinfoset.h"
#include "errhandlingapi.h"

namespace {

using zx::devices::InstalledDriver;
using zx::devices::SetDevice;

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// Copies text into a fixed field, cut to fit and always terminated.
template <std::size_t N>
void CopyField(WCHAR (&field)[N], const std::u16string& text) {
  const std::size_t length = std::min(text.size(), N - 1);
  std::memcpy(field, text.data(), length * sizeof(WCHAR));
  field[length] = 0;
}

std::u16string InfFullPath(const InstalledDriver& driver) {
  return std::u16string(zx::devices::kInfFolder) + u"\\" + driver.infPath;
}

constexpr DWORD kDriverInfoV1Size = offsetof(SP_DRVINFO_DATA_V2_W, DriverDate);

// The device and entry a driver-information record names; null (last error set) otherwise.
const InstalledDriver* ResolveEntry(SetDevice* device, DWORD driverType, const SP_DRVINFO_DATA_W* data) {
  if (device == nullptr) return nullptr;
  if (driverType != SPDIT_COMPATDRIVER || data == nullptr) {
    Fail(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (data->Reserved == 0 || data->Reserved > device->drivers.size()) {
    Fail(ERROR_NO_DRIVER_SELECTED);
    return nullptr;
  }
  return &device->drivers[data->Reserved - 1];
}

}  // namespace

BOOL SetupDiBuildDriverInfoList(HDEVINFO handle, PSP_DEVINFO_DATA deviceInfo, DWORD driverType) {
  const auto set = zx::devices::ReferenceSet(handle);
  if (!set) return FALSE;
  if (driverType != SPDIT_COMPATDRIVER || deviceInfo == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::lock_guard<std::mutex> lock(set->mutex());
  SetDevice* device = set->Resolve(deviceInfo);
  if (device == nullptr) return FALSE;
  device->drivers.clear();
  InstalledDriver driver;
  if (zx::devices::ReadInstalledDriver(device->node.Text(u"Driver"), driver))
    device->drivers.push_back(std::move(driver));
  return TRUE;
}

BOOL SetupDiEnumDriverInfoW(HDEVINFO handle, PSP_DEVINFO_DATA deviceInfo, DWORD driverType,
                            DWORD memberIndex, PSP_DRVINFO_DATA_W driverInfo) {
  const auto set = zx::devices::ReferenceSet(handle);
  if (!set) return FALSE;
  if (driverType != SPDIT_COMPATDRIVER || deviceInfo == nullptr || driverInfo == nullptr)
    return Fail(ERROR_INVALID_PARAMETER);
  if (driverInfo->cbSize != sizeof(SP_DRVINFO_DATA_V2_W) && driverInfo->cbSize != kDriverInfoV1Size)
    return Fail(ERROR_INVALID_USER_BUFFER);
  std::lock_guard<std::mutex> lock(set->mutex());
  const SetDevice* device = set->Resolve(deviceInfo);
  if (device == nullptr) return FALSE;
  if (memberIndex >= device->drivers.size()) return Fail(ERROR_NO_MORE_ITEMS);
  const InstalledDriver& driver = device->drivers[memberIndex];
  const DWORD size = driverInfo->cbSize;
  std::memset(driverInfo, 0, size);
  driverInfo->cbSize = size;
  driverInfo->DriverType = SPDIT_COMPATDRIVER;
  driverInfo->Reserved = memberIndex + 1;
  CopyField(driverInfo->Description, driver.description);
  CopyField(driverInfo->MfgName, device->node.Text(u"Mfg"));
  CopyField(driverInfo->ProviderName, driver.provider);
  if (size == sizeof(SP_DRVINFO_DATA_V2_W)) {
    driverInfo->DriverDate = driver.dateData;
    zx::devices::PackDriverVersion(driver.version, driverInfo->DriverVersion);
  }
  return TRUE;
}

BOOL SetupDiGetDriverInstallParamsW(HDEVINFO handle, PSP_DEVINFO_DATA deviceInfo,
                                    PSP_DRVINFO_DATA_W driverInfo, PSP_DRVINSTALL_PARAMS params) {
  const auto set = zx::devices::ReferenceSet(handle);
  if (!set) return FALSE;
  if (params == nullptr || params->cbSize != sizeof(SP_DRVINSTALL_PARAMS))
    return Fail(ERROR_INVALID_USER_BUFFER);
  std::lock_guard<std::mutex> lock(set->mutex());
  const InstalledDriver* driver = ResolveEntry(set->Resolve(deviceInfo), SPDIT_COMPATDRIVER, driverInfo);
  if (driver == nullptr) return FALSE;
  std::memset(params, 0, sizeof *params);
  params->cbSize = sizeof(SP_DRVINSTALL_PARAMS);
  params->Rank = driver->rank;
  params->Flags = DNF_INSTALLEDDRIVER | (driver->signer.empty() ? 0u : DNF_INF_IS_SIGNED);
  return TRUE;
}

BOOL SetupDiGetDriverInfoDetailW(HDEVINFO handle, PSP_DEVINFO_DATA deviceInfo,
                                 PSP_DRVINFO_DATA_W driverInfo, PSP_DRVINFO_DETAIL_DATA_W detail,
                                 DWORD detailSize, PDWORD requiredSize) {
  const auto set = zx::devices::ReferenceSet(handle);
  if (!set) return FALSE;
  std::lock_guard<std::mutex> lock(set->mutex());
  const InstalledDriver* driver = ResolveEntry(set->Resolve(deviceInfo), SPDIT_COMPATDRIVER, driverInfo);
  if (driver == nullptr) return FALSE;
  // The id list: the matching id, then (none kept) the compatible ids, double-terminated.
  const DWORD listChars = static_cast<DWORD>(driver->matchingId.size() + 2);
  const DWORD needed = static_cast<DWORD>(offsetof(SP_DRVINFO_DETAIL_DATA_W, HardwareID) +
                                          listChars * sizeof(WCHAR));
  if (requiredSize != nullptr) *requiredSize = needed;
  if (detail == nullptr) return Fail(detailSize == 0 ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_PARAMETER);
  if (detail->cbSize != sizeof(SP_DRVINFO_DETAIL_DATA_W) || detailSize < sizeof(SP_DRVINFO_DETAIL_DATA_W))
    return Fail(ERROR_INVALID_USER_BUFFER);
  std::memset(detail, 0, sizeof *detail);
  detail->cbSize = sizeof(SP_DRVINFO_DETAIL_DATA_W);
  detail->InfDate = driver->dateData;
  CopyField(detail->SectionName, driver->infSection);
  CopyField(detail->InfFileName, InfFullPath(*driver));
  CopyField(detail->DrvDescription, driver->description);
  if (detailSize < needed) return Fail(ERROR_INSUFFICIENT_BUFFER);
  WCHAR* list = detail->HardwareID;
  std::memcpy(list, driver->matchingId.data(), driver->matchingId.size() * sizeof(WCHAR));
  list[driver->matchingId.size()] = 0;
  list[driver->matchingId.size() + 1] = 0;
  return TRUE;
}

BOOL SetupDiDestroyDriverInfoList(HDEVINFO handle, PSP_DEVINFO_DATA deviceInfo, DWORD driverType) {
  const auto set = zx::devices::ReferenceSet(handle);
  if (!set) return FALSE;
  if (driverType != SPDIT_COMPATDRIVER && driverType != SPDIT_CLASSDRIVER)
    return Fail(ERROR_INVALID_PARAMETER);
  std::lock_guard<std::mutex> lock(set->mutex());
  if (deviceInfo == nullptr) {
    for (SetDevice& device : set->devices()) {
      device.drivers.clear();
    }
    return TRUE;
  }
  SetDevice* device = set->Resolve(deviceInfo);
  if (device == nullptr) return FALSE;
  device->drivers.clear();
  return TRUE;
}
