// CDlg_ChildHtm: the child pane that shows HTML page 1404 of the resource library and hands
// its two texts and its number to the page's "SetText" function once the page has loaded.
#pragma once
#include "ChildHtmlDialog.h"
#include "WebPage.h"

class ZXHELPER_API CDlg_ChildHtm : public CChildHtmlDialog {
  DECLARE_DYNCREATE(CDlg_ChildHtm)

 public:
  static constexpr UINT kTemplateId = 1268;
  static constexpr UINT kHtmlId = 1404;

  CDlg_ChildHtm();
  explicit CDlg_ChildHtm(CWnd* pParentWnd);
  ~CDlg_ChildHtm() override;

  BOOL OnInitDialog() override;
  void OnDocumentComplete(LPDISPATCH pDisp, LPCTSTR szUrl) override;

  // Filled by the creator before the window is made.
  CString m_strFirst;
  CString m_strSecond;
  int m_nNumber = 0;

  const CWebPage& GetWebPage() const { return m_webPage; }

 protected:
  DECLARE_DHTML_EVENT_MAP()

  CWebPage m_webPage;
};
