// CDlgDrvExclusion: the settings group's page listing the drivers the user excluded from
// updates. It lets the user remove one or all of them, keeps them in "exclusion.xml", and keeps
// the scan engine's set of excluded hardware ids equal to the list.
#pragma once
#include <afxcmn.h>

#include "DlgLeftSideChild.h"
#include "DrvExclusionFile.h"
#include "HoverButtonWithText.h"

class CDriverScanUpdate;

class CDlgDrvExclusion : public CDlgLeftSideChild {
  DECLARE_DYNAMIC(CDlgDrvExclusion)

 public:
  static constexpr UINT kTemplateId = 5212;
  static constexpr UINT kListId = 5266;
  static constexpr UINT kRemoveAllId = 1;
  static constexpr UINT kRemoveId = 2;
  static constexpr UINT kMenuRemoveAll = 5289;
  static constexpr UINT kMenuRemove = 5290;
  static constexpr UINT kContextMenu = 5003;

  // The page marks the listed hardware ids in the engine's excluded-id set. The file lies in
  // `dataFolder`, or in the program's data folder when none is given.
  explicit CDlgDrvExclusion(CDriverScanUpdate& engine, LPCTSTR dataFolder = nullptr, CWnd* pParent = nullptr);
  ~CDlgDrvExclusion() override;

  // Called by the results page: 0 without change when the hardware id is listed (case
  // ignored), else the new entry's exclusion id.
  int AddExclusion(LPCTSTR driverName, LPCTSTR hardwareId);
  const CDrvExclusionFile& GetList() const { return m_file; }

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;

  afx_msg void OnRemoveAll();
  afx_msg void OnRemove();
  afx_msg void OnListClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnListRightClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);

 private:
  void LoadList();
  void FillList();
  void UpdateButtons();
  void SelectFirstRow();
  int SelectedRow() const;
  bool AskToRemove();

  CDriverScanUpdate& m_engine;
  CDrvExclusionFile m_file;
  CListCtrl m_list;
  CHoverButtonWithText m_btnRemoveAll;
  CHoverButtonWithText m_btnRemove;

  DECLARE_MESSAGE_MAP()
};
