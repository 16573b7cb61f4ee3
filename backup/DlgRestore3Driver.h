// CDlgRestore3Driver: the restore group's third page, where the checked drivers of the tree
// page are restored from the unpacked backup on a worker thread, with progress, the name and
// class of the driver being restored, and the outcome handed to the last page.
#pragma once
#include <afxcmn.h>

#include "DlgLeftSideChild.h"
#include "DriverLabels.h"
#include "DriverScanUpdate.h"
#include "RestoreWizardOwner.h"

class CDlgRestore2Select;

class CDlgRestore3Driver : public CDlgLeftSideChild {
  DECLARE_DYNAMIC(CDlgRestore3Driver)

 public:
  static constexpr UINT kTemplateId = 5128;
  static constexpr UINT kProgressId = 5211;
  static constexpr UINT kStatusId = 5213;
  static constexpr UINT kAnimationId = 5240;
  static constexpr UINT kWaitId = 5252;
  static constexpr UINT_PTR kStartTimer = 225;
  static constexpr UINT kStartDelay = 10;
  // The pause before the restore starts and the one before the pages are enabled again.
  static constexpr UINT_PTR kPauseTimer = 226;
  static constexpr UINT_PTR kEndTimer = 227;
  static constexpr UINT kPauseMs = 1000;

  CDlgRestore3Driver(CRestoreWizardOwner& owner, CDlgRestore2Select& selection, CWnd* pParent = nullptr);
  // Waits for a worker still running.
  ~CDlgRestore3Driver() override;

  BOOL OnInitDialog() override;
  // Enter, Escape, Space and F4 do nothing on the page.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Starts the restore when the start timer has run out.
  void StartTimer() { SetTimer(kStartTimer, kStartDelay, nullptr); }

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;

  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg LRESULT OnRestored(WPARAM restored, LPARAM);
  afx_msg LRESULT OnDriverShown(WPARAM, LPARAM);

 private:
  static DWORD WINAPI RestoreMain(LPVOID parameter);
  void StartRestoring();
  void WaitForWorker();

  CRestoreWizardOwner& m_owner;
  CDlgRestore2Select& m_selection;
  CProgressCtrl m_progress;
  CAnimateCtrl m_animation;
  // What the worker restores and what it did.
  CStringArray m_names;
  CDriverScanUpdate::tagRestoreOutcome m_outcome;
  HANDLE m_hWorker = nullptr;
  // The driver the restore has come to: its name in the status text, its class below.
  CDriverLabels m_labels;

  DECLARE_MESSAGE_MAP()
};
