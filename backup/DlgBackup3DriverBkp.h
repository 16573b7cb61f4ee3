// CDlgBackup3DriverBkp: the backup group's third page, where the backup runs: the drivers
// copied into the staging folder and packed into the dated archive on worker threads, with
// progress, the driver being copied, an animation, a Stop button (for the copy) and the
// outcome handed to the last page.
#pragma once
#include <afxcmn.h>

#include <atomic>

#include "BackupWizardOwner.h"
#include "DriverLabels.h"
#include "DlgLeftSideChild.h"
#include "HoverButtonWithText.h"

class CDlgBackup3DriverBkp : public CDlgLeftSideChild {
  DECLARE_DYNAMIC(CDlgBackup3DriverBkp)

 public:
  static constexpr UINT kTemplateId = 5112;
  static constexpr UINT kStopId = 5181;  // IDC_BACKUPTAB2_STOP_BKP
  static constexpr UINT kProgressId = 5182;
  static constexpr UINT kStatusId = 5183;
  static constexpr UINT kWaitId = 5184;
  static constexpr UINT kStatusLineId = 5185;
  static constexpr UINT kAnimationId = 5186;
  static constexpr UINT_PTR kStartTimer = 222;
  static constexpr UINT kStartDelay = 10;
  static constexpr COLORREF kStatusColour = 0x2D2D2D;
  static constexpr COLORREF kWaitColour = 0x0000AB;

  CDlgBackup3DriverBkp(CBackupWizardOwner& owner, CWnd* pParent = nullptr);
  // Waits for a worker still running.
  ~CDlgBackup3DriverBkp() override;

  BOOL OnInitDialog() override;
  // Enter, Escape, Space and F4 do nothing on the page.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Starts the backup when the start timer has run out.
  void StartTimer() { SetTimer(kStartTimer, kStartDelay, nullptr); }

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;

  afx_msg void OnStop();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg LRESULT OnCopied(WPARAM result, LPARAM);
  afx_msg LRESULT OnCompressed(WPARAM result, LPARAM);
  afx_msg LRESULT OnDriverShown(WPARAM, LPARAM);
  afx_msg LRESULT OnRemovingStaging(WPARAM, LPARAM);

 private:
  // Runs the job on a worker thread that posts its answer to the page as `doneMessage`.
  void RunOnWorker(int (*job)(CDlgBackup3DriverBkp&), UINT doneMessage);
  static int CopyDrivers(CDlgBackup3DriverBkp& page);
  static int Compress(CDlgBackup3DriverBkp& page);
  static DWORD WINAPI WorkerMain(LPVOID parameter);
  static DWORD WINAPI StopMain(LPVOID parameter);
  void WaitForThreads();
  void SetTexts(LPCTSTR statusId, LPCTSTR waitId);
  // The end of every backup: the outcome texts, the last page, the main window enabled.
  void Finish(bool failed, LPCTSTR textId);

  CBackupWizardOwner& m_owner;
  CHoverButtonWithText m_btnStop;
  CProgressCtrl m_progress;
  CAnimateCtrl m_animation;
  std::atomic<int> m_nStop{0};
  // The folder the archive goes to (another one after too little space), and whether that
  // was the second try.
  CString m_strTargetFolder;
  // The archive the last packing wrote, and its name.
  CString m_strArchive;
  CString m_strArchiveName;
  bool m_bSecondTry = false;
  HANDLE m_hWorker = nullptr;
  HANDLE m_hStopper = nullptr;
  int (*m_pJob)(CDlgBackup3DriverBkp&) = nullptr;
  UINT m_nDoneMessage = 0;
  // The driver the copy has come to, shown in the status and wait texts.
  CDriverLabels m_labels;

  DECLARE_MESSAGE_MAP()
};
