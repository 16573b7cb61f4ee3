// The update engine's install services: the install of a downloaded package for one device,
// the backup of the drivers chosen for an update run, and the restore of ticked drivers of a
// backup.
#include <windows.h>

#include "DriverInstallEngine.h"
#include "DriverRestore.h"
#include "DriverScanUpdate.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "OsVersion.h"
#include "PackageInstall.h"
#include "PathHelpers.h"

namespace {

constexpr int kPackageMissing = -3;
// The restore's answer when the backup has no catalogue.
constexpr int kNoCatalogue = 34;
constexpr UINT kOperationStartMessage = 1026;

// A device chosen for a backup goes into the next selection record with its identity and
// driver texts (slots 4 and 6 stay unset).
void CopyDeviceToSelection(const tagDeviceDriverInfo& device, tagDeviceDriverInfo& selection) {
  for (const int slot : {0, 1, 2, 3, 5, 7, 8, 9, 10, 11}) selection.szText[slot].CopyFrom(device.szText[slot]);
}

// The update's INF path as it lies inside the unpacked package: lower case, and below a folder
// named "extract" only the part after that folder.
CString RelativeInfPath(const CString& updateInfPath) {
  CString path = updateInfPath;
  path.MakeLower();
  const int extract = path.Find(_T("extract"));
  if (extract < 0) return path;
  path = path.Mid(extract);
  const int slash = path.Find(_T('\\'));
  return slash >= 0 ? path.Mid(slash + 1) : CString();
}

// The device index an item map entry holds; -1 when it is no number.
int DeviceIndexOf(const CString& text) {
  if (text.IsEmpty() || text.GetLength() > 9) return -1;
  int index = 0;
  for (int i = 0; i < text.GetLength(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return -1;
    index = index * 10 + (text[i] - u'0');
  }
  return index;
}

}  // namespace

const CString& SelectOsFolder(const tagOsFolders& folders, int osId, DWORD major, DWORD minor, DWORD architecture) {
  constexpr DWORD kArchitectureIa64 = 6, kArchitectureAmd64 = 9;
  switch (osId) {
    case 7: case 8: return folders.strAmd64;
    case 17: case 18: case 19: return folders.strIa64;
    case 6: case 9: case 11: return folders.strVista;
    case 12: return folders.strWin7i386;
    case 21: return folders.strWin7amd64;
    default: break;
  }
  // Systems the identifier does not name: by version and architecture.
  if (architecture == kArchitectureIa64) return folders.strIa64;
  if (major > 6 || (major == 6 && minor >= 1))
    return architecture == kArchitectureAmd64 ? folders.strWin7amd64 : folders.strWin7i386;
  if (major == 6) return folders.strVista;
  return architecture == kArchitectureAmd64 ? folders.strAmd64 : folders.strXp;
}

void CDriverScanUpdate::SetInstallSettings(const tagOsFolders& folders, int silentSwitch) {
  m_osFolders = folders;
  m_nSilentSwitch = silentSwitch;
}

CString CDriverScanUpdate::GetOsFolder() const {
  DWORD major = 0, minor = 0, productType = 0, architecture = 0;
  const int osId = GetOsId(major, minor, productType, architecture);
  return SelectOsFolder(m_osFolders, osId, major, minor, architecture);
}

int CDriverScanUpdate::InstallDownloadedDrivers(int deviceIndex) {
  const tagDeviceDriverInfo* update = GetUpdateRecord(deviceIndex);
  const tagDeviceDriverInfo* device = m_pDevices ? m_pDevices->GetAt(deviceIndex) : nullptr;
  if (update == nullptr || device == nullptr || deviceIndex >= m_nDeviceCount || m_pDownloaded == nullptr) return 0;
  CString key = update->szText[kSlotHardwareId].Text();
  StripFileNameChars(key);
  key.MakeLower();
  CString package;
  if (key.IsEmpty() || !m_pDownloaded->Lookup(key, package)) return 0;
  if (PathExists(package) != 1) return kPackageMissing;
  return InstallDriverPackage(RelativeInfPath(update->szText[kSlotUpdate12].Text()), GetOsFolder(),
                              GetProcessEngine(), package, m_nSilentSwitch, update->szText[kSlotHardwareId].Text(),
                              device->szText[kSlotClassName].Text(), 0, update->szText[kSlotUpdate13].Text(),
                              device->szText[kSlotHardwareId].Text(), m_pDevices.get(), deviceIndex);
}

int CDriverScanUpdate::BackupDriversForUpdate(const CString& backupFolder, const std::vector<int>& selectedItems,
                                              const UpdateBackupProgress& progress) {
  if (selectedItems.empty()) return 0;
  if (m_hProgressWindow != nullptr) PostMessageW(m_hProgressWindow, kOperationStartMessage, 0, 0);
  CDeviceRecordArray selection;
  for (const int item : selectedItems) {
    CString itemKey, value;
    itemKey.Format(_T("%d"), item);
    if (!m_mapItems.Lookup(itemKey, value)) continue;
    const tagDeviceDriverInfo* device = m_pDevices ? m_pDevices->GetAt(DeviceIndexOf(value)) : nullptr;
    if (device == nullptr) continue;
    CopyDeviceToSelection(*device, selection.ElementAtGrow(selection.GetSize()));
  }
  // The engine runs an operation while it backs up, so that a stop request reaches it.
  CDriverInstallEngine& engine = GetProcessEngine();
  CDriverInstallEngine::COperation running(engine);
  engine.SetStepCode(kStepIdle);
  int result = kStepCompleted;
  const INT_PTR count = selection.GetSize();
  for (INT_PTR i = 0; i < count && result == kStepCompleted; ++i) {
    if (progress) progress(selection.GetAt(i)->szText[kSlotDeviceName].Text(), static_cast<int>(i * 100 / count));
    result = BackupDriverAt(backupFolder, selection, static_cast<int>(i));
  }
  if (result == kStepCompleted && progress && count > 0) progress(CString(), 100);
  if (result == kStepCompleted) {
    m_bScanDone = TRUE;
    if (m_hMainWindow != nullptr) PostMessageW(m_hMainWindow, kBackupExistsMessage, 1, 0);
  }
  return result;
}

int CDriverScanUpdate::RestoreSelectedDrivers(const CString& backupFolder, const CStringArray& tickedNames,
                                              const CMapStringToString& namesToIds, tagRestoreOutcome* outcome,
                                              const std::function<void(int percent)>& progress,
                                              const DriverShownFn& shown) {
  int restored = 0;
  tagRestoreOutcome done;
  try {
    CDeviceRecordArray selection;
    for (INT_PTR i = 0; i < tickedNames.GetSize(); ++i) {
      CString hardwareId;
      if (!namesToIds.Lookup(tickedNames[i], hardwareId)) continue;
      tagDeviceDriverInfo& record = selection.ElementAtGrow(selection.GetSize());
      record.szText[kSlotDeviceName].Set(tickedNames[i]);
      record.szText[kSlotHardwareId].Set(hardwareId);
    }
    if (selection.GetSize() == 0) {
      MessageBoxW(nullptr, GetLangString(_T("IDS_CURRPTZIP_BACKUP"), _T("QVX")), GetAppName(), MB_OK | MB_ICONWARNING);
    } else {
      const int lastIndex = static_cast<int>(selection.GetSize()) - 1;
      // The restore reads one entry past the last ticked one.
      selection.ElementAtGrow(selection.GetSize());
      int failures = 0;
      const int result = RestoreDriversFromIndex(backupFolder, GetOsFolder(), selection, lastIndex, failures, progress, shown);
      done.readToEnd = result != kStepStopRestore && result != kStepFailed && result != kNoCatalogue;
      done.handled = lastIndex + 1;
      // A catalogue that could not be used restored nothing: every chosen driver failed.
      done.failed = done.readToEnd ? failures : done.handled;
      restored = done.readToEnd && failures == 0;
    }
  } catch (CException* e) {
    e->Delete();
    restored = 0;
  } catch (...) {
    restored = 0;
  }
  if (!backupFolder.IsEmpty() && IsFolder(backupFolder) == 1) DeleteFolderTree(backupFolder);
  if (outcome != nullptr) *outcome = done;
  return restored;
}
