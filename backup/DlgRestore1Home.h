// CDlgRestore1Home: the restore group's first page, the list of backup archives to restore
// from or delete, and the choice whether Windows restarts by itself after a restore.
#pragma once
#include "DlgLeftSideChild.h"
#include "FancyListCtrl.h"
#include "HoverButtonWithText.h"
#include "RestoreWizardOwner.h"

class CDlgRestore1Home : public CDlgLeftSideChild {
  DECLARE_DYNAMIC(CDlgRestore1Home)

 public:
  static constexpr UINT kTemplateId = 5122;
  static constexpr UINT kListId = 5203;
  static constexpr UINT kRestoreId = 5190;
  static constexpr UINT kDeleteId = 5269;
  // Restart by hand / restart by itself after a restore that needs it.
  static constexpr UINT kManualRestartId = 5236;
  static constexpr UINT kAutoRestartId = 5238;

  CDlgRestore1Home(CRestoreWizardOwner& owner, CWnd* pParent = nullptr);
  ~CDlgRestore1Home() override;

  BOOL OnInitDialog() override;
  // Enter, Escape, Space and F4 do nothing on the page.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Refills the list from the backup list, keeping only archives that still exist.
  void RefreshList();
  // Restore and Delete are enabled exactly when the list has rows.
  void UpdateButtons();
  CFancyListCtrl& GetList() { return m_list; }

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;

  afx_msg void OnRestore();
  afx_msg void OnDelete();
  afx_msg void OnListClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);

 private:
  // The selected row, else the last row selected; -1 when the list is empty.
  int ChosenRow();
  // Deletes the archive of the row: true when it is gone (also when the backup list no longer
  // names one). Only a ".zip" file is ever deleted.
  bool DeleteArchive(const CString& name);

  CRestoreWizardOwner& m_owner;
  CFancyListCtrl m_list;
  CImageList m_images;
  CHoverButtonWithText m_btnRestore;
  CHoverButtonWithText m_btnDelete;

  DECLARE_MESSAGE_MAP()
};
