// CGdiPlusBitmap: a GDI+ bitmap read from a file, deleted when emptied.
#include "GdiPlusBitmap.h"

CGdiPlusBitmap::CGdiPlusBitmap(LPCWSTR pFile) { Load(pFile); }

CGdiPlusBitmap::~CGdiPlusBitmap() { CGdiPlusBitmap::Empty(); }

void CGdiPlusBitmap::Empty() {
  delete m_pBitmap;
  m_pBitmap = nullptr;
}

BOOL CGdiPlusBitmap::Load(LPCWSTR pFile) {
  Empty();
  if (pFile == nullptr) return FALSE;
  m_pBitmap = Gdiplus::Bitmap::FromFile(pFile);
  if (m_pBitmap && m_pBitmap->GetLastStatus() == Gdiplus::Ok) return TRUE;
  Empty();
  return FALSE;
}
