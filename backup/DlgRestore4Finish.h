// CDlgRestore4Finish: the restore group's last page, the outcome of the restore just made,
// and the restart of Windows it may need.
#pragma once
#include "DlgWizardFinishPage.h"
#include "RestoreWizardOwner.h"

class CDlgRestore4Finish : public CDlgWizardFinishPage {
  DECLARE_DYNAMIC(CDlgRestore4Finish)

 public:
  static constexpr UINT kTemplateId = 5133;
  static constexpr UINT kChosenId = 5216;
  static constexpr UINT kRestoredId = 5242;
  static constexpr UINT kFailedId = 5244;
  static constexpr UINT kBackId = 5187;
  static constexpr UINT_PTR kRestartTimer = 2260021;
  static constexpr UINT kRestartDelay = 64;
  static constexpr COLORREF kSuccessColour = 0x2C8200;
  static constexpr COLORREF kFailureColour = 0x0101A9;

  CDlgRestore4Finish(CRestoreWizardOwner& owner, CWnd* pParent = nullptr);

  BOOL OnInitDialog() override;
  void ShowOutcome() override;

 protected:
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;
  COLORREF CountColour(UINT id) const override;
  void ShowFirstPage() override;

  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);

 private:
  // A restart after the restore: at once with the first page's choice, else asked for.
  void HandleRestart();

  CRestoreWizardOwner& m_owner;

  DECLARE_MESSAGE_MAP()
};
