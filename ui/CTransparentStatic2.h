// CTransparentStatic2: a static text that shows its parent's picture behind it. The parent's
// pixels under the control are copied at the first erase and painted at every later one.
#pragma once
#include "HelperApi.h"
#include "afxwin.h"

class ZXHELPER_API CTransparentStatic2 : public CStatic {
 public:
  CTransparentStatic2() = default;
  ~CTransparentStatic2() override;

  // True once the parent's pixels have been copied.
  BOOL HasBackground() const { return m_bmpBackground.GetSafeHandle() != nullptr; }

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSetText(LPCTSTR lpszText);
  DECLARE_MESSAGE_MAP()

 private:
  CBitmap m_bmpBackground;
};
