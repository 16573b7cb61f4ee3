// IUpdateCheckView: what the check and apply of the update checker report to, and ask of, the
// update checker window. The window implements it; the engine calls it from its worker thread.
#pragma once
#include <afx.h>

// The results of a check, as the worker hands them to the window.
enum UpdateCheckResult { kCheckNothing = 0, kCheckFound = 1, kCheckNoConnection = 3 };

class IUpdateCheckView {
 public:
  virtual ~IUpdateCheckView() = default;

  // The language text of a string id in the checker's section (empty when missing).
  virtual CString GetText(LPCTSTR stringId) = 0;
  // The own message box with the MB_ buttons, icon and modality of type, owned by the checker
  // window (by the parent window when ownerIsParent); the button pressed.
  virtual int ShowMessage(const CString& text, UINT type, BOOL ownerIsParent = FALSE) = 0;
  // Progress of the running download: the download library's status text (may be empty),
  // percent of the current file, bytes received and total.
  virtual void ShowProgress(const CString& status, int percent, ULONGLONG received, ULONGLONG total) = 0;
  virtual BOOL IsStopping() = 0;
  virtual BOOL IsCancelled() = 0;
  // Closes the window after the elapse (ms), stopping a running download first.
  virtual void CloseChecker(UINT elapse) = 0;
  // Ends the program at once (quit code 18, exit code 0).
  virtual void EndProgram() = 0;
  // Sends a code to the parent window (sibling mode only); TRUE when it was taken.
  virtual BOOL NotifyParentWindow(int code) = 0;

  // The worker's steps.
  virtual int GetStage() = 0;
  virtual void ArmForcedEnd() = 0;
  virtual void StopCheckingAnimation() = 0;
  // A newer program was found: shown (when waiting for one), up from the notification area,
  // the balloon "IDS_APP_UPDATES_AVAILABLE_TXT" outside sibling mode.
  virtual void ShowUpdateFound() = 0;
  // The check's outcome: the failure page (result 0), "no update found" (neither update), or
  // the updates as rows of the list (stage 1, or 5 when the list stays empty).
  virtual void ShowCheckResults(int result, BOOL program, BOOL database) = 0;
  virtual void MakeVisible() = 0;
  // The user's choice from the list (rows of item data 1 and 2 that are ticked); the stage
  // moves to downloading when the list has rows, else to ready-to-install.
  virtual void ReadChosenUpdates(BOOL& program, BOOL& database) = 0;
  // The download's outcome: ready to install (done) or the failure page, with its balloon.
  virtual void ShowDownloadResult(BOOL done) = 0;
  // The confirmed setup is about to start: the installing page.
  virtual void ShowInstalling() = 0;
  // Refreshes the stage page and runs AskAndInstall on the window's thread shortly.
  virtual void StartInstallTimer() = 0;
  // The window's Cancel.
  virtual void OnBtnCancel() = 0;
};
