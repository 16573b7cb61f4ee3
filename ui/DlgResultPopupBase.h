// CDlgResultPopupBase: a framed popup that ends with a result (IDOK, IDCANCEL or what it is
// given). Run over the translucent backdrop (embedded) it ends the backdrop's run as it
// closes; kept open on its own it ends only itself. It comes without a close button, not
// resizable, with the bottom strip, and stays centred over the application's main window.
#pragma once
#include "DlgBaseChildPopUpWndBase.h"

class ZXHELPER_API CDlgResultPopupBase : public CDlgBaseChildPopUpWndBase {
  DECLARE_DYNAMIC(CDlgResultPopupBase)

 public:
  CDlgResultPopupBase();
  CDlgResultPopupBase(UINT nIDTemplate, CWnd* pParentWnd);

  // How the popup closed: IDOK, IDCANCEL, the result it was closed with, or 0 while it has not.
  int GetResult() const { return m_nResult; }
  void OnSizeLayout(UINT nType, int cx, int cy) override;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override { Close(IDOK); }
  void OnCancel() override { Close(IDCANCEL); }
  // Keeps the result, then ends the backdrop's run when embedded, else the dialog itself.
  void Close(int nResult);

  int m_nResult = 0;

  DECLARE_MESSAGE_MAP()

 private:
  void ApplyPopupDefaults();
};
