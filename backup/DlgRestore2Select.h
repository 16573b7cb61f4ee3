// CDlgRestore2Select: the restore group's second page, the tree of the drivers held by the
// chosen backup (unpacked into the staging folder on a worker thread) to check for a restore.
#pragma once
#include <afxcoll.h>

#include "DlgLeftSideChild.h"
#include "HoverButtonWithText.h"
#include "RestoreWizardOwner.h"
#include "TreeXCtrl.h"

class CDlgRestore2Select : public CDlgLeftSideChild, public CTreeXCtrlOwner {
  DECLARE_DYNAMIC(CDlgRestore2Select)

 public:
  static constexpr UINT kTemplateId = 5161;
  static constexpr UINT kTreeId = 5207;
  static constexpr UINT kSelectAllId = 5268;
  static constexpr UINT kRestoreId = 5210;  // IDC_BTN_RESTORE
  static constexpr UINT kLoadingTextId = 5215;
  static constexpr UINT_PTR kLoadTimer = 224;
  static constexpr UINT kLoadDelay = 64;

  CDlgRestore2Select(CRestoreWizardOwner& owner, CWnd* pParent = nullptr);
  // Waits for a loading thread still running.
  ~CDlgRestore2Select() override;

  BOOL OnInitDialog() override;
  // Enter, Escape, Space and F4 do nothing on the page.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // The tree the update engine fills as its restore tree.
  CTreeXCtrl& GetTree() { return m_tree; }
  // Sets the select-all box when every class and driver is checked, clears it otherwise.
  void IsBranchChecked();
  // The names of the checked drivers, and the map of the backup's driver names to their ids.
  void GetCheckedDrivers(CStringArray& names) const;
  const CMapStringToString& GetNamesToIds() const { return m_namesToIds; }

  void OnTreeDriverClicked(HTREEITEM) override {}
  void UpdateBranchChecked() override { IsBranchChecked(); }

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;

  afx_msg void OnSelectAll();
  afx_msg void OnRestore();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg LRESULT OnLoaded(WPARAM filled, LPARAM);

 private:
  static DWORD WINAPI LoadMain(LPVOID parameter);
  void StartLoading();
  void WaitForLoader();

  CRestoreWizardOwner& m_owner;
  CTreeXCtrl m_tree;
  CHoverButtonWithText m_btnRestore;
  CMapStringToString m_namesToIds;
  HANDLE m_hLoader = nullptr;

  DECLARE_MESSAGE_MAP()
};
