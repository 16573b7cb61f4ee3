// CTransparentCheckRadio: a check box or radio button drawn on white with the system's text
// colour; its parent's WM_CTLCOLOR* comes back to it by reflection.
#pragma once
#include "HelperApi.h"
#include "afxwin.h"

class ZXHELPER_API CTransparentCheckRadio : public CButton {
 public:
  CTransparentCheckRadio() = default;

  // The white brush all check boxes and radio buttons share (made on first use).
  static HBRUSH WhiteBrush();

 protected:
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()
};
