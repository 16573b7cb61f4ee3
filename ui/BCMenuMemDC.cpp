// BCMenuMemDC: the memory bitmap over the item's rectangle and its copy back to the target.
#include "BCMenuMemDC.h"

BCMenuMemDC::BCMenuMemDC(CDC* pDC, LPCRECT pRect) : m_pDC(pDC), m_rect(*pRect) {
  const bool printing = pDC->GetDeviceCaps(TECHNOLOGY) != DT_RASDISPLAY;
  if (!printing && CreateCompatibleDC(pDC) &&
      m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height())) {
    m_bMemDC = TRUE;
    m_oldBitmap = SelectObject(&m_bitmap);
    SetWindowOrg(m_rect.left, m_rect.top);
    return;
  }
  if (m_hDC) DeleteDC();
  m_hDC = pDC->m_hDC;  // drawn straight into the target, which keeps its DC
}

BCMenuMemDC::~BCMenuMemDC() {
  if (m_bMemDC) {
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
    SelectObject(m_oldBitmap);
    DeleteDC();
  } else {
    m_hDC = nullptr;
  }
}
