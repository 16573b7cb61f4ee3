// CDlgAfterInstallWiz: the small popup that runs the first tasks after installation without
// asking: the system-file backup program of the maker's suite run hidden, a first System
// Restore point, and the success value in the registry; then it closes itself. The tasks run
// on a worker that reports each finished step by posting to the wizard's window.
#pragma once
#include <afxcmn.h>

#include "DlgBaseWndPopupNagBase.h"
#include "GdiPlusBitmapResource.h"
#include "GlobalUpdate.h"
#include "HVBitmap.h"
#include "HoverButtonWithText.h"

class ZXHELPER_API CDlgAfterInstallWiz : public CDlgBaseWndPopupNagBase {
  DECLARE_DYNAMIC(CDlgAfterInstallWiz)

 public:
  static constexpr UINT kTemplateId = 1264;
  // Posted by the worker: wParam the step just done (1 system files, 2 restore point), 0 when
  // every task is done, or kWorkerStarted as it starts.
  static constexpr UINT kStepDoneMessage = WM_APP + 0x116;
  static constexpr WPARAM kWorkerStarted = 3;
  static constexpr int kStepCount = 4;
  // States of SetStepStatus.
  static constexpr int kStepRunning = 0;
  static constexpr int kStepComplete = 1;
  static constexpr int kStepNotComplete = 2;
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
  // The complete driver database fetched and checked: 1, else 0.
  BYTE UpdateDatabase();

  // The step operations, for a worker that leads the user through the steps one by one (they
  // wait as such a worker does): the current step's status (running: its status emptied, then
  // after 500 ms the animation and Skip beside it; complete or not: both hidden and the
  // status text given), the controls beside the step, and its icon from the strip of PNG 1364
  // (column the step, row 0 pending or 1 done).
  void SetStepStatus(int nState);
  void LayoutStepControls(BOOL bRunning);
  void DrawStepIcon(Gdiplus::Graphics& graphics, int nStep, BOOL bDone);
  void SetCurrentStep(int nStep) { m_nCurrentStep = nStep; }
  int GetCurrentStep() const { return m_nCurrentStep; }
  int GetStepCount() const { return m_nStepCount; }
  const CString& GetStepHeading(int nStep) const { return m_strStepHeadings[nStep]; }
  const CString& GetStepDescription(int nStep) const { return m_strStepDescriptions[nStep]; }
  const CString& GetStepStatus(int nStep) const { return m_strStepStatuses[nStep]; }
  const CRect& GetStatusRect() const { return m_rcStatus; }
  void StartAnimation();
  void StopAnimation();
  // Always 1: the wizard is there to be asked.
  int IsWizardAvailable() const { return 1; }

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
  void LoadStepTexts();

  CGdiPlusBitmapResource m_bmpStepIcons;
  CHoverButtonWithText m_btnNext;
  CHoverButtonWithText m_btnSkip;
  BYTE m_bNextRequested = FALSE;
  BYTE m_bSkipRequested = FALSE;
  int m_nCurrentStep = 0;
  CString m_strStepHeadings[kStepCount];
  CString m_strStepDescriptions[kStepCount];
  CString m_strStepStatuses[kStepCount];
  int m_nStepCount = kStepCount;
  CRect m_rcStatus;
  CString m_strStatusRunning;
  CString m_strStatusPending[kStepCount];
  CAnimateCtrl m_animation;
  // Bitmap 1142, a piece of which stands beside the heading (the popup base draws backdrop 1118).
  CHVBitmap m_bmpScene;
  CGlobalUpdate m_globalUpdate;
  // The finish timer's first firing stops the animation; its second, 100 ms later, closes.
  BYTE m_bFinishing = FALSE;
  CString m_strHeading;
  CString m_strSteps[2];
  BYTE m_bStep1Done = FALSE;
  BYTE m_bStep2Done = FALSE;

  DECLARE_MESSAGE_MAP()
};
