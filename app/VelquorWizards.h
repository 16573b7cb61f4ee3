// CVelquorWizards: the main window's backup and restore page groups. It makes their pages,
// places them in the groups' left panels and answers, for each group, what its pages ask of
// the main window: its histories and folders, its engines, the group's left-panel buttons,
// its elevation prompt and the restart of Windows.
#pragma once
#include <mutex>
#include <vector>

#include "BackupWizardOwner.h"
#include "RestoreWizardOwner.h"

class CVelquorDlg;
class CDlgLeftDlgBase;
class CDlgBackup2Home;
class CDlgBackup3DriverBkp;
class CDlgRestore1Home;
class CDlgRestore2Select;
class CDlgRestore3Driver;

// What the pages of one group ask that every wizard asks, answered for that group.
template <class Owner>
class CWizardGroupOwner : public Owner {
 public:
  explicit CWizardGroupOwner(CVelquorDlg& dialog) : m_dialog(dialog) {}
  void SetGroup(CDlgLeftDlgBase* group) { m_pGroup = group; }
  CDlgLeftDlgBase* GetGroup() const { return m_pGroup; }

  int RelaunchAsAdmin(const CString& text, UINT style) override;
  void EnableOnlyLeftButton(int index) override;
  CDriverScanUpdate& Engine() override;
  CString StagingFolder() override;
  CMapStringToString& BackupList() override;
  void SaveBackupList() override;
  void EnableUi(BOOL enable) override;

 protected:
  // Posts a page command to the group.
  void PostToGroup(UINT command) const;

  CVelquorDlg& m_dialog;
  CDlgLeftDlgBase* m_pGroup = nullptr;
};

class CBackupGroupOwner : public CWizardGroupOwner<CBackupWizardOwner> {
 public:
  using CWizardGroupOwner::CWizardGroupOwner;
  void SetRunPage(CDlgBackup3DriverBkp* page) { m_pRunPage = page; }

  tagBackupWizardState& BackupState() override { return m_state; }
  void ShowBackupPage(UINT command) override { PostToGroup(command); }
  void ScanBeforeBackup() override;
  void StartBackup() override;
  CString BackupFolder() override;
  void StoreBackupFolder(const CString& folder) override;
  bool ChooseBackupFolder(CString& folder) override;

 private:
  tagBackupWizardState m_state;
  CDlgBackup3DriverBkp* m_pRunPage = nullptr;
};

class CRestoreGroupOwner : public CWizardGroupOwner<CRestoreWizardOwner> {
 public:
  using CWizardGroupOwner::CWizardGroupOwner;
  void SetRunPage(CDlgRestore3Driver* page) { m_pRunPage = page; }

  tagRestoreWizardState& RestoreState() override { return m_state; }
  void ShowRestorePage(UINT command) override { PostToGroup(command); }
  void EnableFirstLeftButtons(int count) override;
  void StartRestore() override;
  void RestartWindows() override;
  void AskRestart(const CString& text) override;

 private:
  tagRestoreWizardState m_state;
  CDlgRestore3Driver* m_pRunPage = nullptr;
};

class CVelquorWizards {
 public:
  explicit CVelquorWizards(CVelquorDlg& dialog);
  ~CVelquorWizards();

  // Makes the pages of both groups in their panels (either may be absent); each group shows
  // its first page.
  void BuildWizardGroups(CDlgLeftDlgBase* backupGroup, CDlgLeftDlgBase* restoreGroup);
  // The header tab of a group was chosen: its first page comes back with fresh values.
  void OnBackupTab();
  void OnRestoreTab();
  // The update engine made a whole backup into the staging folder before an install: on the
  // download-and-install popup's run thread, before any driver is replaced, it is packed into
  // a dated archive of the backup folder (the staging folder goes in every case). Answers
  // BackupCompress's result; the popup tells a failure.
  int PackUpdateBackup();
  // On the window's thread, as the engine says a backup exists: the archives packed since join
  // the stored backup history and the restore group's list.
  void OnBackupMade();

  CBackupGroupOwner& Backup() { return m_backup; }
  CRestoreGroupOwner& Restore() { return m_restore; }

 private:
  CVelquorDlg& m_dialog;
  std::mutex m_packedLock;
  std::vector<CString> m_packed;  // archives packed on the popup's thread, not listed yet
  CBackupGroupOwner m_backup;
  CRestoreGroupOwner m_restore;
  // The pages the wizards reach; the panels own them.
  CDlgBackup2Home* m_pBackupTree = nullptr;
  CDlgRestore1Home* m_pRestoreHome = nullptr;
  CDlgRestore2Select* m_pRestoreTree = nullptr;
};
