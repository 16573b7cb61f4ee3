// CDlgBackup2Home: the backup group's second page, the tree of device classes and their
// drivers to check for a backup, with the details of the driver selected.
#pragma once
#include "BackupWizardOwner.h"
#include "DlgLeftSideChild.h"
#include "HoverButtonWithText.h"
#include "TreeXCtrl.h"

class CDlgBackup2Home : public CDlgLeftSideChild, public CTreeXCtrlOwner {
  DECLARE_DYNAMIC(CDlgBackup2Home)

 public:
  static constexpr UINT kTemplateId = 5109;
  static constexpr UINT kTreeId = 5163;
  static constexpr UINT kSelectAllId = 5265;  // IDC_CHK_SELECT_ALL_FOR_BACKUP
  static constexpr UINT kBackupNowId = 5166;  // IDC_BTN_BACKUP_NOW
  // The detail labels: category, version, date, publisher, signer and hardware id.
  static constexpr UINT kDetailIds[6] = {5168, 5169, 5171, 5173, 5175, 5177};
  static constexpr int kDetailLength = 20;

  CDlgBackup2Home(CBackupWizardOwner& owner, CWnd* pParent = nullptr);
  ~CDlgBackup2Home() override;

  BOOL OnInitDialog() override;
  // Enter, Escape, Space and F4 do nothing on the page.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // The tree the update engine fills as its backup tree.
  CTreeXCtrl& GetTree() { return m_tree; }
  // Sets the select-all box when every class and driver is checked, clears it otherwise.
  void IsBranchChecked();
  // Fills the detail labels from the driver of the item, with its class icon drawn beside
  // them (labels emptied and no icon for a class item).
  void ShowDriverDetails(HTREEITEM hItem);

  void OnTreeDriverClicked(HTREEITEM hItem) override { ShowDriverDetails(hItem); }
  void UpdateBranchChecked() override { IsBranchChecked(); }

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;

  afx_msg void OnSelectAll();
  afx_msg void OnBackupNow();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  // A tree item's state changed: a newly selected one (by mouse or keys) shows its details.
  afx_msg void OnTreeItemChanged(NMHDR* pNMHDR, LRESULT* pResult);

 private:
  CBackupWizardOwner& m_owner;
  CTreeXCtrl m_tree;
  CHoverButtonWithText m_btnBackupNow;
  int m_nDetailImage = -1;  // the class image drawn beside the details, -1 none

  DECLARE_MESSAGE_MAP()
};
