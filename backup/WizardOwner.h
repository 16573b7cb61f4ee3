// What the backup and the restore pages both need of the main window that holds them: its
// elevation prompt, its left-panel buttons, its update engine, the staging folder, the backup
// list and the switch that disables its pages while a wizard's thread runs.
#pragma once
#include <afx.h>
#include <afxcoll.h>
#include <windows.h>

class CDriverScanUpdate;

class CWizardOwner {
 public:
  // Page commands of a wizard group: 1199 first page to 1202 fourth.
  static constexpr UINT kFirstPage = 1199;
  static constexpr UINT kSecondPage = 1200;
  static constexpr UINT kThirdPage = 1201;
  static constexpr UINT kFourthPage = 1202;

  virtual ~CWizardOwner() = default;
  // The elevation prompt with that text and style: 1 granted, -1 refused, other answers none.
  virtual int RelaunchAsAdmin(const CString& text, UINT style) = 0;
  // Enables the left-panel button of that index (0 first) and disables the others.
  virtual void EnableOnlyLeftButton(int index) = 0;
  // The update engine that backs the drivers up and restores them.
  virtual CDriverScanUpdate& Engine() = 0;
  // The staging folder: backups are copied there before packing, archives unpacked there
  // before a restore.
  virtual CString StagingFolder() = 0;
  // The backup list (archive name to path) and its saving.
  virtual CMapStringToString& BackupList() = 0;
  virtual void SaveBackupList() = 0;
  // Disables (while a wizard's thread runs) or enables again the main window's pages.
  virtual void EnableUi(BOOL enable) = 0;
};
