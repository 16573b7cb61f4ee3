// CDlgScan1ScanHome: the scan group's first page. It shows the last scan's date and counts
// from the last-scan status and starts a scan with Scan now.
#pragma once
#include "DlgLeftSideChild.h"
#include "PageValueLabel.h"
#include "HoverButtonWithText.h"
#include "LastScanStatus.h"
#include "ScanPagesHost.h"

class CDlgScan2Scanning;

class CDlgScan1ScanHome : public CDlgLeftSideChild {
  DECLARE_DYNAMIC(CDlgScan1ScanHome)

 public:
  static constexpr UINT kTemplateId = 5092;
  static constexpr UINT kScanNowId = 5083;
  // The labels of the four values, in row order.
  static constexpr UINT kFirstValueId = 5330;

  CDlgScan1ScanHome(CScanPagesHost& host, CDlgScan2Scanning& scanning, CWnd* pParent = nullptr);
  ~CDlgScan1ScanHome() override;

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // The row texts: date, devices, out of date, up to date.
  const CString& GetRowValue(int row) const { return m_strValues[row]; }
  // Reads the four values again (the text of IDS_NOTSCAN_YET for each that cannot be read).
  void ReadValues();
  // The text a value's label shows.
  CString GetValueText(int row) const;

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;

  afx_msg void OnScanNow();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);

 private:
  CScanPagesHost& m_host;
  CDlgScan2Scanning& m_scanning;
  CHoverButtonWithText m_btnScanNow;
  CString m_strValues[kLastScanValueCount];
  CPageValueLabel m_values[kLastScanValueCount];

  DECLARE_MESSAGE_MAP()
};
