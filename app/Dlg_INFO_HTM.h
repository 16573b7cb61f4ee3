// CDlg_INFO_HTM: the dialog that explains the driver-age levels of the scan pages. Its body is
// HTML page 5375 of the program's resources; once loaded, the page's "settext" function gets
// the level texts in the current language. Only the page's "ButtonCancel" and "btnclose"
// elements close it, and closing it also ends its parent: the backdrop it runs over
// (RunModalWithBackdrop), never the window under that.
#pragma once
#include <vector>

#include "ChildHtmlDialognew.h"
#include "WebPage.h"

class CDlg_INFO_HTM : public CChildHtmlDialognew {
 public:
  static constexpr UINT kTemplateId = 5366;
  static constexpr UINT kHtmlId = 5375;
  static constexpr int kWidth = 584;
  static constexpr int kHeight = 478;

  // The dialog is centred on pMainWnd; its parent is the dialog it ends when closed.
  CDlg_INFO_HTM(CWnd* pParentWnd, CWnd* pMainWnd);
  ~CDlg_INFO_HTM() override;

  BOOL OnInitDialog() override;
  void OnDocumentComplete(LPDISPATCH pDisp, LPCTSTR szUrl) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // The thirteen texts handed to the page, in the order of "settext"'s parameters.
  static std::vector<CString> LevelTexts();

  const CWebPage& GetWebPage() const { return m_webPage; }

 protected:
  DECLARE_DHTML_EVENT_MAP()

  HRESULT OnButtonCancel(IHTMLElement* pElement);
  HRESULT OnBtnClose(IHTMLElement* pElement);

  CWnd* m_pMainWnd;
  CWebPage m_webPage;
};
