// CDlgAfterInstallWiz: the small popup that runs the first tasks after installation without
// asking: the system-file backup program of the maker's suite run hidden, a first System
// Restore point, and the success value in the registry; then it closes itself. The tasks run
// on a worker that reports each finished step by posting to the wizard's window.
#pragma once
#include <afxcmn.h>

#include "DlgBaseWndPopupNagBase.h"
#include "HoverButtonWithText.h"

class ZXHELPER_API CDlgAfterInstallWiz : public CDlgBaseWndPopupNagBase {
  DECLARE_DYNAMIC(CDlgAfterInstallWiz)

 public:
  static constexpr UINT kTemplateId = 1264;
  // Posted by the worker: wParam the step just done (1 system files, 2 restore point), or 0
  // when every task is done.
  static constexpr UINT kStepDoneMessage = WM_APP + 0x116;
  // The longest the worker waits for the backup program.
  static constexpr DWORD kBackupWaitMs = 30 * 60 * 1000;

  explicit CDlgAfterInstallWiz(CWnd* pParentWnd);

  // 1 when the program of that name in the folder was started hidden (with the folder as its
  // current folder) and ended within kBackupWaitMs, else 0.
  static int RunHiddenProgram(LPCTSTR lpszFolder, LPCTSTR lpszFile, LPCTSTR lpszParameters);
  // Runs the backup program from the folder; true when it ran and recorded that it finished.
  static bool RunSystemFileBackup(LPCTSTR lpszFolder);
  static void ResetSystemFileBackupFlag();
  static bool IsSystemFileBackupFinished();
  static int CreateFirstInstallRestorePoint();
  static bool ReadSysBackupSuccess();
  static void WriteSysBackupSuccess(DWORD dwValue);

  BOOL IsStepDone(int nStep) const { return nStep == 1 ? m_bStep1Done : m_bStep2Done; }
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Closes the wizard (its backdrop run ends).
  void Finish();

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnPaint();
  afx_msg void OnMinimise();
  afx_msg void OnNext();
  afx_msg void OnSkip();
  afx_msg LRESULT OnStepDone(WPARAM wParam, LPARAM lParam);

  void PlaceAnimation(int y);
  void StartAnimation();

  CHoverButtonWithText m_btnNext;
  CHoverButtonWithText m_btnSkip;
  BYTE m_bNextRequested = FALSE;
  BYTE m_bSkipRequested = FALSE;
  CAnimateCtrl m_animation;
  CString m_strHeading;
  CString m_strSteps[2];
  BYTE m_bStep1Done = FALSE;
  BYTE m_bStep2Done = FALSE;

  DECLARE_MESSAGE_MAP()
};
