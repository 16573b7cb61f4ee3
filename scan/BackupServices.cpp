// The update engine's backup services for the backup pages: the backup of all or the checked
// drivers into the staging folder.
#include "BackupRestore.h"
#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"

namespace {

constexpr UINT kOperationStartMessage = 1026;
constexpr int kCheckedImage = 2;

// Copies a device into the next selection record: its identity and driver texts.
void AddToSelection(const tagDeviceDriverInfo& device, CDeviceRecordArray& selection) {
  tagDeviceDriverInfo& record = selection.ElementAtGrow(selection.GetSize());
  for (const int slot : {0, 1, 2, 3, 5, 7, 8, 9, 10, 11}) record.szText[slot].CopyFrom(device.szText[slot]);
}

}  // namespace

int CDriverScanUpdate::BackupSelectedDrivers(LPCTSTR staging, BOOL& backupAll, const BackupProgress& progress,
                                             const DriverShownFn& shown) {
  m_bFinished = m_bAborted = FALSE;
  if (m_hProgressWindow != nullptr) PostMessageW(m_hProgressWindow, kOperationStartMessage, 0, 0);
  CDeviceRecordArray selection;
  if (backupAll) {
    backupAll = FALSE;
    for (int i = 0; m_pDevices && i < m_nDeviceCount; ++i)
      if (const tagDeviceDriverInfo* device = m_pDevices->GetAt(i)) AddToSelection(*device, selection);
  } else if (m_pBackupTree != nullptr) {
    for (HTREEITEM group = m_pBackupTree->GetRootItem(); group; group = m_pBackupTree->GetNextSiblingItem(group)) {
      for (HTREEITEM item = m_pBackupTree->GetChildItem(group); item; item = m_pBackupTree->GetNextSiblingItem(item)) {
        const UINT image = (m_pBackupTree->GetItemState(item, TVIS_STATEIMAGEMASK) & TVIS_STATEIMAGEMASK) >> 12;
        const tagDeviceDriverInfo* device = TreeItemRecord(*m_pBackupTree, item);
        if (image == kCheckedImage && device != nullptr) AddToSelection(*device, selection);
      }
    }
  }
  int result = kStepFailed;
  if (selection.GetSize() > 0) {
    CDriverInstallEngine& engine = GetProcessEngine();
    CDriverInstallEngine::COperation running(engine);
    engine.SetStepCode(kStepIdle);
    CBackupRestore backup;
    backup.SetProgress(progress);
    backup.SetDriverShown(shown);
    result = backup.BackupDriver(staging, selection, static_cast<int>(selection.GetSize()));
  }
  if (result == kStepCompleted) m_bScanDone = TRUE;
  if (result == kStepStopBackup) m_bScanDone = m_bAborted = TRUE;
  m_bFinished = TRUE;
  return result;
}
