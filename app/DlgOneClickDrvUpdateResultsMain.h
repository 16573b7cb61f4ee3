// CDlgOneClickDrvUpdateResultsMain: the results page in a framed popup of its own, shown when
// the main program works for the launcher. While it is open the scan engine writes its rows
// into the popup's list, every row checked; the main window's list takes them back after.
#pragma once
#include <memory>

#include "DlgBaseChildPopUpWndBase.h"
#include "ResultsPageHost.h"

class CDlgScan3Results;
class IResultListView;

class CDlgOneClickDrvUpdateResultsMain : public CDlgBaseChildPopUpWndBase {
 public:
  static constexpr UINT kTemplateId = 5192;
  static constexpr int kWidth = 750;
  static constexpr int kHeight = 570;
  static constexpr UINT_PTR kFrontTimer = 101;
  static constexpr UINT kFrontMs = 1024;

  // restoreList: the list the engine writes into again once the popup is gone (may be null).
  CDlgOneClickDrvUpdateResultsMain(CResultsPageHost& host, IResultListView* restoreList, CWnd* pParent = nullptr);
  ~CDlgOneClickDrvUpdateResultsMain() override;

  BOOL OnInitDialog() override;
  CDlgScan3Results* GetResultsPage() const { return m_pPage.get(); }

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();

 private:
  CResultsPageHost& m_host;
  IResultListView* m_pRestoreList;
  std::unique_ptr<CDlgScan3Results> m_pPage;

  DECLARE_MESSAGE_MAP()
};
