// A small square button that shows the information sign over its button picture. Its caption
// is not drawn (no caption fits 27 pixels); the page gives it as the button's tooltip.
#pragma once
#include "HoverButton.h"

class CInfoSignButton : public CHoverButton {
 public:
  // The light four-state button picture, then the button at its place.
  void Place(CWnd& parent, UINT nID, const CRect& place);
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 private:
  HICON m_hSign = nullptr;  // a resource icon, shared: never destroyed
};
