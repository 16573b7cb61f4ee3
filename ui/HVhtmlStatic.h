// CHVhtmlStatic: a static control whose window text is HTML, drawn through the HTML text
// control, over its parent's background when transparent.
#pragma once
#include "HelperApi.h"
#include <afxctrls.h>

class ZXHELPER_API CHVhtmlStatic : public CStatic {
 public:
  CHVhtmlStatic() = default;
  void SetTransparent(BOOL bTransparent) { m_bTransparent = bTransparent ? 1 : 0; }
  BOOL IsTransparent() const { return m_bTransparent != 0; }

 protected:
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  BYTE m_bTransparent = 0;
};
