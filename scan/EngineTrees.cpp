// The update engine's trees of the backup and restore pages: devices grouped by class name
// under their class icons, the identity text of an item, and the restore tree filled from the
// catalogue of an unpacked backup archive.
#include <windows.h>

#include "DriverRestore.h"
#include "DriverScanUpdate.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "PackageInstall.h"
#include "PathHelpers.h"
#include "ZipExtract.h"

namespace {

constexpr DWORD_PTR kGroupItem = static_cast<DWORD_PTR>(-1);

// The root item whose text is the class name exactly; null when there is none.
HTREEITEM FindGroup(const CTreeCtrl& tree, const CString& className) {
  for (HTREEITEM item = tree.GetRootItem(); item != nullptr; item = tree.GetNextSiblingItem(item))
    if (tree.GetItemText(item) == className) return item;
  return nullptr;
}

}  // namespace

void CDriverScanUpdate::SetTrees(CTreeCtrl* backupTree, CTreeCtrl* restoreTree) {
  m_pBackupTree = backupTree;
  m_pRestoreTree = restoreTree;
}

void CDriverScanUpdate::FillTree(CTreeCtrl& tree, const CDeviceRecordArray& records, int count,
                                 CMapStringToString* namesToInfPaths) const {
  tree.DeleteAllItems();
  for (int i = 0; i < count; ++i) {
    const tagDeviceDriverInfo* device = records.GetAt(i);
    if (device == nullptr) continue;
    const CString className = device->szText[kSlotClassName].Text();
    HTREEITEM group = FindGroup(tree, className);
    if (group == nullptr) {
      group = tree.InsertItem(className);
      if (group == nullptr) continue;
      tree.SetItemData(group, kGroupItem);
      tree.Expand(group, TVE_EXPAND);
    }
    const int image = ClassImageOf(*device);
    HTREEITEM item = tree.InsertItem(device->szText[kSlotDeviceName].Text(), image, image, group);
    if (item == nullptr) continue;
    tree.SetItemData(item, static_cast<DWORD_PTR>(i));
    if (namesToInfPaths != nullptr)
      namesToInfPaths->SetAt(device->szText[kSlotDeviceName].Text(), device->szText[kSlotHardwareId].Text());
  }
}

void CDriverScanUpdate::FillClassTree() {
  if (m_pBackupTree == nullptr) return;
  m_pBackupTree->DeleteAllItems();
  if (m_bScanDone && m_pDevices) FillTree(*m_pBackupTree, *m_pDevices, m_nDeviceCount, nullptr);
}

const tagDeviceDriverInfo* CDriverScanUpdate::TreeItemRecord(const CTreeCtrl& tree, HTREEITEM item) const {
  if (item == nullptr) return nullptr;
  const DWORD_PTR data = tree.GetItemData(item);
  if (data == kGroupItem) return nullptr;
  const bool restore = &tree == m_pRestoreTree;
  const CDeviceRecordArray* records = restore ? m_pRestoreRecords.get() : m_pDevices.get();
  const int count = restore ? m_nRestoreCount : m_nDeviceCount;
  if (records == nullptr || data >= static_cast<DWORD_PTR>(count)) return nullptr;
  return records->GetAt(static_cast<INT_PTR>(data));
}

int CDriverScanUpdate::GetClassImageIndex(CTreeCtrl& tree, HTREEITEM item) {
  const tagDeviceDriverInfo* device = TreeItemRecord(tree, item);
  return device != nullptr ? ClassImageOf(*device) : -1;
}

CString CDriverScanUpdate::GetTreeItemKey(CTreeCtrl& tree, HTREEITEM item) const {
  const tagDeviceDriverInfo* device = TreeItemRecord(tree, item);
  if (device == nullptr) return CString();
  CString key;
  for (const int slot : {kSlotClassName, kSlotDriverDate, kSlotProvider, kSlotDriverVersion, kSlotHardwareId}) {
    if (*device->szText[slot].Text() == 0) continue;
    key += device->szText[slot].Text();
    key += _T('|');
  }
  key += device->szText[kSlotSigner].Text();
  return key;
}

bool CDriverScanUpdate::FillRestoreTree(const CString& backupName, const CMapStringToString& backupFiles,
                                        const CString& backupFolder, CMapStringToString& namesToInfPaths) {
  namesToInfPaths.RemoveAll();
  m_pRestoreRecords.reset();
  m_nRestoreCount = 0;
  if (m_pRestoreTree != nullptr) m_pRestoreTree->DeleteAllItems();
  CString archive;
  if (!backupFiles.Lookup(backupName, archive) || PathExists(archive) != 1) return false;
  // The folder is the restore's own: what an earlier restore left there (its catalogue above
  // all) must not be taken for this backup's.
  if (IsFolder(backupFolder) == 1) DeleteFolderTree(backupFolder);
  int entries = 0;
  const bool whole = ExtractWholeZip(archive, backupFolder, entries);
  if (whole && entries == 0) return false;
  int count = 0;
  std::unique_ptr<CDeviceRecordArray> records = whole ? ReadBackupIndex(backupFolder, count) : nullptr;
  if (records == nullptr || count == 0) {
    MessageBoxW(nullptr, GetLangString(_T("IDS_CURRPT_ZIP_FILE"), _T("QVX")), GetAppName(), MB_OK | MB_ICONWARNING);
    return false;
  }
  m_pRestoreRecords = std::move(records);
  m_nRestoreCount = count;
  if (m_pRestoreTree != nullptr) FillTree(*m_pRestoreTree, *m_pRestoreRecords, m_nRestoreCount, &namesToInfPaths);
  return true;
}
