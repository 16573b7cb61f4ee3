// CDlgViewAllSchedules: the list of every scheduled tool with its next run, shown over the
// scheduler's window; a click on a row's "Edit" link opens that tool's schedule pane.
#pragma once
#include "DlgBaseWnd.h"
#include "HoverButton.h"
#include "HoverButtonWithText.h"
#include "SchedulerListCtrl.h"

class CDlgViewAllSchedules : public CDlgBaseWnd {
  DECLARE_DYNAMIC(CDlgViewAllSchedules)

 public:
  static constexpr UINT kTemplateId = 5089;
  static constexpr UINT kListId = 5090;
  static constexpr UINT kBottomCloseId = 1057;
  static constexpr UINT kCloseId = 1184;
  static constexpr UINT kProductIconId = 5094;
  static constexpr UINT kOtherIconId = 5093;
  static constexpr int kProductRowData = 3;

  // The tool commands of an "Edit" click go to the pane (the scheduler's left pane).
  CDlgViewAllSchedules(CWnd* pToolPane, CWnd* pParent = nullptr);
  ~CDlgViewAllSchedules() override;

  BOOL OnInitDialog() override;
  CSchedulerListCtrl& GetList() { return m_list; }

 protected:
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnClose();
  afx_msg void OnListClick(NMHDR* pNMHDR, LRESULT* pResult);

 private:
  void FillList();

  CWnd* m_pToolPane;
  CImageList m_images;
  CSchedulerListCtrl m_list;
  CHoverButton m_btnClose;
  CHoverButtonWithText m_btnBottomClose;

  DECLARE_MESSAGE_MAP()
};
