// CXTMemDC: an off-screen DC standing for a rectangle of a target DC; everything drawn into it
// reaches the target in one SRCCOPY blit when the object goes away.
#pragma once
#include "HelperApi.h"
#include <afxwin.h>

class ZXHELPER_API CXTMemDC : public CDC {
 public:
  // An empty rectangle stands for the target's clip box. A null target draws nowhere.
  CXTMemDC(CDC* pDC, const CRect& rect, COLORREF clrColor);
  ~CXTMemDC() override;

  CBitmap& GetBitmap() { return m_bitmap; }
  // Nothing is copied back to the target when the object goes away.
  void Discard() { m_bValid = FALSE; }
  BOOL IsValid() const { return m_bValid; }
  // Copies what the target shows under the rectangle into the memory surface.
  void FromDC();

 protected:
  CDC* m_pDC;
  CRect m_rc;
  BOOL m_bValid = FALSE;
  CBitmap m_bitmap;
  HBITMAP m_hOldBitmap = nullptr;
};
