// CDlgBaseWndPopupNagBase: a framed popup run over the translucent backdrop
// (RunModalWithBackdrop); OK answers 1, Cancel 2, EndWithResult what it is given, and each
// ends the backdrop's run.
#pragma once
#include "DlgBaseChildPopUpWndBase.h"

class ZXHELPER_API CDlgBaseWndPopupNagBase : public CDlgBaseChildPopUpWndBase {
  DECLARE_DYNAMIC(CDlgBaseWndPopupNagBase)

 public:
  CDlgBaseWndPopupNagBase();
  CDlgBaseWndPopupNagBase(UINT nIDTemplate, CWnd* pParentWnd);

  void EndWithResult(int nResult);
  int GetResult() const { return m_nResult; }
  void OnSizeLayout(UINT nType, int cx, int cy) override;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  int m_nResult = 0;

  DECLARE_MESSAGE_MAP()

 private:
  void ApplyNagDefaults();
};
