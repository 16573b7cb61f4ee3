// BCMenuMemDC: the off-screen drawing context of the owner-drawn menu. Over a screen DC it
// draws into a memory bitmap of the item's rectangle and copies it back when it goes away;
// over a printer it draws straight into the target.
#pragma once
#include "HelperApi.h"
#include "afxwin.h"

class ZXHELPER_API BCMenuMemDC : public CDC {
 public:
  BCMenuMemDC(CDC* pDC, LPCRECT pRect);
  ~BCMenuMemDC() override;
  BCMenuMemDC(const BCMenuMemDC&) = delete;
  BCMenuMemDC& operator=(const BCMenuMemDC&) = delete;

  // False when it draws straight into the target.
  BOOL IsMemDC() const { return m_bMemDC; }

 private:
  CDC* m_pDC;
  CRect m_rect;
  BOOL m_bMemDC = FALSE;
  CBitmap m_bitmap;
  CBitmap* m_oldBitmap = nullptr;
};
