// CDlgAbout: the product's About box, a popup over the translucent backdrop showing the
// product name, description, version, trademark and warning notes and the rights notice,
// with links to the product's web page and to support mail, and the frame's close button.
// ShowAboutDialog runs it.
#pragma once
#include "DlgBaseWndPopupNagBase.h"
#include "HoverButtonWithText.h"
#include "HyperLinkBtn.h"

class ZXHELPER_API CDlgAbout : public CDlgBaseWndPopupNagBase {
  DECLARE_DYNAMIC(CDlgAbout)

 public:
  static constexpr UINT kTemplateId = 1267;
  static constexpr int kWidth = 630;
  static constexpr int kHeight = 406;

  explicit CDlgAbout(CWnd* pParentWnd);

  BOOL OnInitDialog() override;
  // Ends the run over the backdrop.
  void OnCloseRequest() override;

  const CString& GetDescription() const { return m_strDescription; }
  const CString& GetVersionText() const { return m_strVersion; }

 protected:
  void OnOK() override;
  afx_msg void OnPaint();
  afx_msg void OnWebsite();
  afx_msg void OnSupport();

  CHoverButtonWithText m_btnOk;
  CHyperLinkBtn m_btnWebsite;
  CHyperLinkBtn m_btnSupport;
  CString m_strDescription;
  CString m_strVersion;
  CString m_strTrademark;
  CString m_strWarning;
  CString m_strLegal;
  CString m_strVersionBlock;

  DECLARE_MESSAGE_MAP()
};

// Shows the About box modally over a backdrop on the parent.
ZXHELPER_API void ShowAboutDialog(CWnd* pParentWnd);
