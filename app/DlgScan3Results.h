// CDlgScan3Results: the scan wizard's results page. It lists the found updates in the main
// program's owner-drawn list, lets the user check drivers, exclude one, and hands the checked
// rows (or the one row an action link names) to the download-and-install dialog.
#pragma once
#include <afxcmn.h>

#include <vector>

#include "DlgLeftSideChild.h"
#include "FancyResultView.h"
#include "HoverButtonWithText.h"
#include "HyperLinkBtn.h"
#include "InfoSignButton.h"
#include "ResultsPageHost.h"
#include "VelquorFancyList.h"

class CDlgScan3Results : public CDlgLeftSideChild {
  DECLARE_DYNAMIC(CDlgScan3Results)

 public:
  static constexpr UINT kTemplateId = 5098;
  static constexpr UINT kContextMenu = 5002;
  static constexpr UINT kListId = 5090;
  static constexpr UINT kDownloadId = 5085;
  static constexpr UINT kInstallId = 5086;
  static constexpr UINT kExclusionLinkId = 5087;
  static constexpr UINT kFeedbackId = 5088;
  static constexpr UINT kSummaryId = 5267;
  static constexpr UINT kAgeInfoId = 5268;
  static constexpr UINT kCheckAllCommand = 5008;
  static constexpr UINT kUncheckAllCommand = 5009;
  static constexpr UINT kExcludeCommand = 5293;
  static constexpr UINT kExclusionListCommand = 5294;
  // The download-and-install dialog tells the page it has closed.
  static constexpr UINT kRunClosedCommand = 1201;
  // The row columns: the action links answer clicks in column 2.
  static constexpr int kActionColumn = 2;
  static constexpr UINT kDetailLabels[6] = {5117, 5123, 5126, 5120, 5131, 5129};

  explicit CDlgScan3Results(CResultsPageHost& host, CWnd* pParent = nullptr);
  ~CDlgScan3Results() override;

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  velquor::CFancyListCtrl& GetList() { return m_list; }
  // The view the scan engine writes its rows into.
  IResultListView& GetResultView() { return m_view; }
  int GetPageMode() const { return m_nPageMode; }
  const std::vector<int>& GetChosenRows() const { return m_chosenRows; }
  // Rows of state 0 or 1 that are checked.
  bool AnyUpdateChecked() const;

  // The registered "QVX_DRIVER_ITEMCHANGE" message.
  static UINT GetItemChangeMessage();

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;

  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDownloadSelected();
  afx_msg void OnGoToExclusionList();
  afx_msg void OnSendFeedback();
  afx_msg void OnViewSummary();
  afx_msg void OnAgeInfo();
  afx_msg void OnCheckAll();
  afx_msg void OnUncheckAll();
  afx_msg void OnExclude();
  afx_msg void OnRunClosed();
  afx_msg void OnResultClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnResultRightClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnResultDoubleClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg LRESULT OnItemChange(WPARAM wParam, LPARAM lParam);

 private:
  void Layout();
  void SetAllChecks(BOOL bCheck);
  void UpdateInstallButtonState();
  // The row's result (device) index through the engine's row map; -1 when it has none.
  int ResultIndexOf(int nRow) const;
  static bool IsUpdateState(LONG_PTR state) { return state == 0 || state == 1; }
  LONG_PTR RowState(int nRow) const { return static_cast<LONG_PTR>(m_list.GetItemData(nRow)); }
  void RunOne(int nRow, int nMode);
  void InstallDownloaded(int nRow);
  // Copies the list's checks into the engine's rows, so a rebuild keeps them.
  void KeepChecks();

  CResultsPageHost& m_host;
  velquor::CFancyListCtrl m_list;
  CFancyResultView m_view{m_list};
  CHoverButtonWithText m_btnDownload;
  CHoverButtonWithText m_btnSummary;
  CHyperLinkBtn m_btnFeedback;
  CHyperLinkBtn m_btnExclusionLink;
  CInfoSignButton m_btnAgeInfo;
  std::vector<int> m_chosenRows;
  int m_nPageMode = CResultsPageHost::kModeNone;
  int m_nCurrentRow = -1;
  int m_nCurrentResult = -1;

  DECLARE_MESSAGE_MAP()
};
