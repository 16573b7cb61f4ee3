// CVelquorWizards: the backup and restore groups of the main window and the main window's
// side of their pages.
#include "VelquorWizards.h"

#include "BackupCompress.h"
#include "DlgBackup1Type.h"
#include "DlgBackup2Home.h"
#include "DlgBackup3DriverBkp.h"
#include "DlgBackup4Finish.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DlgLeftDlgBase.h"
#include "DlgNagDownloadAndInstall.h"
#include "DlgNagRestart.h"
#include "DlgSetting3Loc.h"
#include "DlgParentTransculent.h"
#include "DlgRestore1Home.h"
#include "DlgRestore2Select.h"
#include "DlgRestore3Driver.h"
#include "DlgRestore4Finish.h"
#include "FileHistory.h"
#include "PackageInstall.h"
#include "PathHelpers.h"
#include "ScanServices.h"
#include "SettingsPageLayout.h"
#include "SettingsStore.h"
#include "VelquorDlg.h"
#include "VelquorResults.h"

namespace {

constexpr UINT kFirstLeftButton = CDlgLeftDlgBase::kFirstButtonCommand;

struct PagePlace {
  CDlgBaseWnd* page;
  UINT templateId;
};

// Places the pages in the group's places from the first on and shows the first page.
void PlacePages(CVelquorDlg& dialog, CDlgLeftDlgBase& group, std::initializer_list<PagePlace> pages) {
  int number = 1;
  // The panel owns its pages from here on, made or not.
  for (const PagePlace& entry : pages) {
    group.SetPage(number++, entry.page);
    dialog.AddPage(&group, entry.page, entry.templateId);
  }
  CDlgBaseWnd* first = group.GetPage(1);
  if (first != nullptr && first->GetSafeHwnd()) {
    first->EnableWindow(TRUE);
    first->ShowWindow(SW_SHOW);
  }
}

}  // namespace

// ---- What every wizard asks

template <class Owner>
int CWizardGroupOwner<Owner>::RelaunchAsAdmin(const CString& text, UINT style) {
  // The style is the start page of a program started again elevated.
  return m_dialog.RelaunchAsAdmin(text, static_cast<int>(style));
}

template <class Owner>
void CWizardGroupOwner<Owner>::EnableOnlyLeftButton(int index) {
  if (m_pGroup == nullptr || !m_pGroup->GetSafeHwnd()) return;
  m_pGroup->EnableButtons(index == 0, index == 1, index == 2, index == 3, index == 4, index == 5, index == 6);
}

template <class Owner>
CDriverScanUpdate& CWizardGroupOwner<Owner>::Engine() {
  return m_dialog.GetScanEngine();
}

template <class Owner>
CString CWizardGroupOwner<Owner>::StagingFolder() {
  return m_dialog.GetTempFolder();
}

template <class Owner>
CMapStringToString& CWizardGroupOwner<Owner>::BackupList() {
  return m_dialog.GetHistory(kBackupHistory);
}

template <class Owner>
void CWizardGroupOwner<Owner>::SaveBackupList() {
  m_dialog.SaveFileList(kBackupHistory);
}

template <class Owner>
void CWizardGroupOwner<Owner>::EnableUi(BOOL enable) {
  m_dialog.EnableUi(enable);
}

template <class Owner>
void CWizardGroupOwner<Owner>::PostToGroup(UINT command) const {
  if (m_pGroup != nullptr && m_pGroup->GetSafeHwnd()) m_pGroup->PostMessage(WM_COMMAND, command);
}

template class CWizardGroupOwner<CBackupWizardOwner>;
template class CWizardGroupOwner<CRestoreWizardOwner>;

// ---- The backup group

void CBackupGroupOwner::ScanBeforeBackup() { m_dialog.ScanForBackup(); }

void CBackupGroupOwner::StartBackup() {
  if (m_pRunPage != nullptr && m_pRunPage->GetSafeHwnd()) m_pRunPage->StartTimer();
}

CString CBackupGroupOwner::BackupFolder() { return m_dialog.GetBackupFolder(); }

void CBackupGroupOwner::StoreBackupFolder(const CString& folder) {
  m_dialog.SetCurrentFolder(CSettingsFolderHost::kBackup, folder);
  SetHkcuValue(BuildSettingsKeyPath(), kSettingBackupPath, folder, kSettingText, true);
}

bool CBackupGroupOwner::ChooseBackupFolder(CString& folder) {
  const CString chosen = m_dialog.BrowseForFolder(&m_dialog, folder);
  if (chosen.IsEmpty()) return false;
  // Chosen as on the folders page: a folder that takes no new folder gives way to the stored
  // backup folder.
  if (CDlgSetting3Loc::CanWriteInto(chosen, _T("Backup"))) {
    folder = chosen;
  } else {
    folder = m_dialog.GetBackupFolder();
    CreateDirectoryTree(folder);
  }
  return true;
}

// ---- The restore group

void CRestoreGroupOwner::EnableFirstLeftButtons(int count) {
  if (m_pGroup == nullptr || !m_pGroup->GetSafeHwnd()) return;
  m_pGroup->EnableButtons(count > 0, count > 1, count > 2, count > 3, count > 4, count > 5, count > 6);
}

void CRestoreGroupOwner::StartRestore() {
  if (m_pRunPage != nullptr && m_pRunPage->GetSafeHwnd()) m_pRunPage->StartTimer();
}

void CRestoreGroupOwner::RestartWindows() { RestartComputer(); }

void CRestoreGroupOwner::AskRestart(const CString& text) {
  CDlgNagRestart prompt(&m_dialog);
  prompt.SetMessageText(text);
  RunModalWithBackdrop(&m_dialog, &prompt, CDlgNagRestart::kTemplateId);
}

// ---- The groups

CVelquorWizards::CVelquorWizards(CVelquorDlg& dialog) : m_dialog(dialog), m_backup(dialog), m_restore(dialog) {}

CVelquorWizards::~CVelquorWizards() { m_dialog.GetScanEngine().SetTrees(nullptr, nullptr); }

void CVelquorWizards::BuildWizardGroups(CDlgLeftDlgBase* backupGroup, CDlgLeftDlgBase* restoreGroup) {
  m_backup.SetGroup(backupGroup);
  m_restore.SetGroup(restoreGroup);
  if (backupGroup != nullptr) {
    m_pBackupTree = new CDlgBackup2Home(m_backup);
    auto* run = new CDlgBackup3DriverBkp(m_backup);
    m_backup.SetRunPage(run);
    PlacePages(m_dialog, *backupGroup,
               {{new CDlgBackup1Type(m_backup), CDlgBackup1Type::kTemplateId},
                {m_pBackupTree, CDlgBackup2Home::kTemplateId},
                {run, CDlgBackup3DriverBkp::kTemplateId},
                {new CDlgBackup4Finish(m_backup), CDlgBackup4Finish::kTemplateId}});
  }
  if (restoreGroup != nullptr) {
    m_pRestoreHome = new CDlgRestore1Home(m_restore);
    m_pRestoreTree = new CDlgRestore2Select(m_restore);
    auto* run = new CDlgRestore3Driver(m_restore, *m_pRestoreTree);
    m_restore.SetRunPage(run);
    PlacePages(m_dialog, *restoreGroup,
               {{m_pRestoreHome, CDlgRestore1Home::kTemplateId},
                {m_pRestoreTree, CDlgRestore2Select::kTemplateId},
                {run, CDlgRestore3Driver::kTemplateId},
                {new CDlgRestore4Finish(m_restore), CDlgRestore4Finish::kTemplateId}});
  }
  m_dialog.GetScanEngine().SetTrees(
      m_pBackupTree != nullptr && m_pBackupTree->GetSafeHwnd() ? &m_pBackupTree->GetTree() : nullptr,
      m_pRestoreTree != nullptr && m_pRestoreTree->GetSafeHwnd() ? &m_pRestoreTree->GetTree() : nullptr);
}

void CVelquorWizards::OnBackupTab() {
  m_backup.BackupState().devicesFound = m_dialog.GetScanEngine().GetDeviceCount();
  m_dialog.GetScanEngine().FillClassTree();
  if (CDlgLeftDlgBase* group = m_backup.GetGroup(); group != nullptr && group->GetSafeHwnd())
    group->PostMessage(WM_COMMAND, kFirstLeftButton);
}

void CVelquorWizards::OnRestoreTab() {
  if (CDlgLeftDlgBase* group = m_restore.GetGroup(); group != nullptr && group->GetSafeHwnd())
    group->PostMessage(WM_COMMAND, kFirstLeftButton);
  if (m_pRestoreHome != nullptr && m_pRestoreHome->GetSafeHwnd()) m_pRestoreHome->RefreshList();
}

int CVelquorWizards::PackUpdateBackup() {
  // The drivers were copied into the staging folder; they are packed as the backup pages pack
  // theirs. There is no second try from here.
  BackupCompressJob job;
  job.staging = m_dialog.GetTempFolder();
  job.backupFolder = m_dialog.GetBackupFolder();
  GetLocalTime(&job.time);
  CString archive;
  const int result = CompressBackup(job, &archive);
  DeleteFolderTree(job.staging);
  if (result == kCompressDone) {
    {
      std::lock_guard<std::mutex> hold(m_packedLock);
      m_packed.push_back(archive);
    }
    // The engine's word came before the packing: it is said again now the archive is there.
    ::PostMessageW(m_dialog.GetSafeHwnd(), CDriverScanUpdate::kBackupExistsMessage, 1, 0);
  }
  return result;
}

void CVelquorWizards::OnBackupMade() {
  std::vector<CString> packed;
  {
    std::lock_guard<std::mutex> hold(m_packedLock);
    packed.swap(m_packed);
  }
  if (packed.empty()) return;
  CMapStringToString& list = m_restore.BackupList();
  for (const CString& path : packed) {
    const CString name = path.Mid(path.ReverseFind(_T('\\')) + 1);
    CString known;
    if (!list.Lookup(name, known)) list.SetAt(name, path);
  }
  m_restore.SaveBackupList();
  if (m_pRestoreHome != nullptr && m_pRestoreHome->GetSafeHwnd()) m_pRestoreHome->RefreshList();
}
