// CDlgNagRestart: the restart prompt shown after drivers were installed or restored. OK
// restarts Windows, Cancel leaves the restart to the user; only clicks close it.
#pragma once
#include <afxwin.h>

#include "DlgBaseWndPopupNagBase.h"
#include "HoverButtonWithText.h"

class CDlgNagRestart : public CDlgBaseWndPopupNagBase {
 public:
  static constexpr UINT kTemplateId = 5205;
  static constexpr int kWidth = 464;
  static constexpr int kHeight = 311;

  explicit CDlgNagRestart(CWnd* pParentWnd);

  // An extra line shown above the usual texts (the restore wizard's incomplete restore); empty
  // by default.
  void SetMessageText(const CString& text) { m_strMessage = text; }

  BOOL OnInitDialog() override;
  // Enter, Escape and F4 are swallowed: only clicks answer the prompt.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnSizeLayout(UINT nType, int cx, int cy) override;

 protected:
  void OnOK() override;
  void OnCancel() override;

  afx_msg void OnPaint();

 private:
  void Layout();

  CHoverButtonWithText m_btnOK;
  CHoverButtonWithText m_btnCancel;
  CString m_strMessage;

  DECLARE_MESSAGE_MAP()
};
