// What the restore pages need of the main window that holds them beyond what every wizard
// needs: its restore values, its page switch, the left-panel buttons of the tree page, the
// restore's start and the restart of Windows after a restore that needs one.
#pragma once
#include "WizardOwner.h"

// The main window's restore values the pages read and write.
struct tagRestoreWizardState {
  CString archiveName;          // the backup chosen on the first page
  int driversChosen = 0;        // for the running restore
  int driversHandled = 0;       // by the engine in the last restore
  int driversFailed = 0;        // of those handled
  BOOL archiveChosen = FALSE;   // the tree page still has to unpack it
  BOOL restoreStarted = FALSE;
  BOOL restartNeeded = FALSE;   // the last restore went through its whole catalogue
  BOOL noFailure = FALSE;       // the last restore reported success
  BOOL autoRestart = FALSE;     // the first page's choice
  BOOL busy = FALSE;            // a restore thread runs
};

class CRestoreWizardOwner : public CWizardOwner {
 public:
  virtual tagRestoreWizardState& RestoreState() = 0;
  // Posts the page command to the main window.
  virtual void ShowRestorePage(UINT command) = 0;
  // Enables the first `count` left-panel buttons and disables the others.
  virtual void EnableFirstLeftButtons(int count) = 0;
  // Starts the restore of the third page (its timer).
  virtual void StartRestore() = 0;
  // Restarts Windows at once.
  virtual void RestartWindows() = 0;
  // Asks with the restart prompt, showing that text, whether Windows restarts now.
  virtual void AskRestart(const CString& text) = 0;
};
