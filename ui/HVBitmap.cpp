// CHVBitmap: loads a bitmap of the resource chain and keeps its size.
#include "HVBitmap.h"

#include "DrawingHelpers.h"

CHVBitmap::CHVBitmap(UINT nID) { Load(nID); }

BOOL CHVBitmap::Load(UINT nID) {
  if (m_hObject != nullptr) return FALSE;
  if (!GetBitmapSize(nID, *this, m_nWidth, m_nHeight)) {
    DeleteObject();
    m_nWidth = m_nHeight = 0;
    return FALSE;
  }
  return TRUE;
}
