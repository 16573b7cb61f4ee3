// CDlgBackup4Finish: the backup group's last page, the outcome of the backup just made.
#pragma once
#include "BackupWizardOwner.h"
#include "DlgWizardFinishPage.h"

class CDlgBackup4Finish : public CDlgWizardFinishPage {
  DECLARE_DYNAMIC(CDlgBackup4Finish)

 public:
  static constexpr UINT kTemplateId = 5116;
  static constexpr UINT kDevicesId = 5199;
  static constexpr UINT kChosenId = 5202;
  static constexpr UINT kResultId = 5206;
  static constexpr UINT kFailureId = 5209;
  static constexpr UINT kBackId = 5179;
  static constexpr COLORREF kFailureColour = 0x0000AB;

  CDlgBackup4Finish(CBackupWizardOwner& owner, CWnd* pParent = nullptr);

  BOOL OnInitDialog() override;
  void ShowOutcome() override;

 protected:
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;
  COLORREF CountColour(UINT id) const override;
  void ShowFirstPage() override;

 private:
  bool Failed() const;

  CBackupWizardOwner& m_owner;

  DECLARE_MESSAGE_MAP()
};
