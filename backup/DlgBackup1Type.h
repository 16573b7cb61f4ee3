// CDlgBackup1Type: the backup group's first page, the choice between a backup of all drivers
// and one of chosen drivers.
#pragma once
#include "BackupWizardOwner.h"
#include "DlgLeftSideChild.h"
#include "HoverButtonWithText.h"

class CDlgBackup1Type : public CDlgLeftSideChild {
  DECLARE_DYNAMIC(CDlgBackup1Type)

 public:
  static constexpr UINT kTemplateId = 5164;
  static constexpr UINT kAllDriversId = 5217;
  static constexpr UINT kChosenDriversId = 5219;
  static constexpr UINT kNextId = 5221;  // IDC_BTN_BACKUP_NEXT

  CDlgBackup1Type(CBackupWizardOwner& owner, CWnd* pParent = nullptr);
  ~CDlgBackup1Type() override;

  BOOL OnInitDialog() override;

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;

  afx_msg void OnNext();

 private:
  CBackupWizardOwner& m_owner;
  CHoverButtonWithText m_btnNext;

  DECLARE_MESSAGE_MAP()
};
