// CDlgScan5Summary: the scan group's last page, the outcome after downloads and installs:
// devices examined, drivers out of date, updated, remaining and excluded by the user.
#pragma once
#include <afxtempl.h>

#include "DlgLeftSideChild.h"
#include "PageValueLabel.h"
#include "HoverButtonWithText.h"
#include "ScanPagesHost.h"

class CDlgScan5Summary : public CDlgLeftSideChild {
  DECLARE_DYNAMIC(CDlgScan5Summary)

 public:
  static constexpr UINT kTemplateId = 5105;
  static constexpr UINT kInstallMoreId = 5102;
  static constexpr UINT kFinishId = 5097;
  static constexpr int kRowCount = 5;
  static constexpr COLORREF kGoodColour = 0x2C8200;
  static constexpr COLORREF kWarningColour = 0x0101A9;
  // The labels of the rows' values, in row order.
  static constexpr UINT kFirstValueId = 5320;

  explicit CDlgScan5Summary(CScanPagesHost& host, CWnd* pParent = nullptr);
  ~CDlgScan5Summary() override;

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Counts the result rows and the exclusions again and rebuilds the rows.
  void ShowSummary();
  // The rows' counts and colours (0 devices, 1 out of date, 2 updated, 3 remaining, 4 excluded).
  int GetCount(int row) const { return m_nCounts[row]; }
  COLORREF GetColour(int row) const { return m_colours.GetSize() > row ? m_colours[row] : 0; }
  // The text a row's value label shows.
  CString GetValueText(int row) const;

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;

  afx_msg void OnFinish();
  afx_msg void OnInstallMore();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);

 private:
  CScanPagesHost& m_host;
  CHoverButtonWithText m_btnInstallMore;
  CHoverButtonWithText m_btnFinish;
  CPageValueLabel m_values[kRowCount];
  HICON m_hGood = nullptr;
  HICON m_hWarning = nullptr;
  int m_nCounts[kRowCount] = {};
  CStringArray m_names;
  CDWordArray m_colours;
  CArray<HICON, HICON> m_icons;

  DECLARE_MESSAGE_MAP()
};
