// The picture button's drawing.
#include "HoverButtonTextPng.h"

#include "ButtonPictures.h"
#include "HalvoranApp.h"

IMPLEMENT_DYNAMIC(CHoverButtonTextPng, CHoverButton)

CHoverButtonTextPng::CHoverButtonTextPng() = default;
CHoverButtonTextPng::~CHoverButtonTextPng() = default;

BOOL CHoverButtonTextPng::LoadPng(UINT nID) {
  m_nPngId = nID;
  HMODULE module = GetResourceModule();
  if (!module) {
    m_png.Empty();
    return FALSE;
  }
  return m_png.Load(nID, u"PNG", module);
}

void CHoverButtonTextPng::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (!lpDrawItemStruct) return;
  CHoverButton::DrawItem(lpDrawItemStruct);
  const CRect item(lpDrawItemStruct->rcItem);
  DrawPngPart(CDC::FromHandle(lpDrawItemStruct->hDC), m_png.GetBitmap(), 0, 0, 0, 0, item.Width() - 1, item.Height());
}
