// CXTMemDC: the memory surface is made compatible with the target, filled with the background
// colour and copied back to the target in one blit when the object goes away.
#include "XTMemDC.h"

CXTMemDC::CXTMemDC(CDC* pDC, const CRect& rect, COLORREF clrColor) : m_pDC(pDC) {
  if (m_pDC == nullptr) return;
  if (rect.IsRectEmpty())
    m_pDC->GetClipBox(&m_rc);
  else
    m_rc = rect;
  if (!CreateCompatibleDC(m_pDC)) return;
  SetMapMode(m_pDC->GetMapMode());
  if (!m_bitmap.CreateCompatibleBitmap(m_pDC, m_rc.Width(), m_rc.Height())) {
    DeleteDC();
    return;
  }
  m_hOldBitmap = static_cast<HBITMAP>(SelectObject(m_bitmap.GetSafeHandle()));
  // The whole surface stands for the rectangle, wherever it lies on the target; an empty
  // rectangle (the clip box) is left unfilled.
  if (!rect.IsRectEmpty()) FillSolidRect(0, 0, m_rc.Width(), m_rc.Height(), clrColor);
  m_bValid = TRUE;
}

CXTMemDC::~CXTMemDC() {
  if (m_hDC == nullptr) return;
  if (m_bValid)
    m_pDC->BitBlt(m_rc.left, m_rc.top, m_rc.Width(), m_rc.Height(), this, 0, 0, SRCCOPY);
  SelectObject(m_hOldBitmap);
  m_bitmap.DeleteObject();
  DeleteDC();
}

void CXTMemDC::FromDC() {
  if (m_hDC == nullptr) return;
  BitBlt(0, 0, m_rc.Width(), m_rc.Height(), m_pDC, m_rc.left, m_rc.top, SRCCOPY);
}
