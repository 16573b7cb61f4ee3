// The left panel's numbered buttons: a slice of the panel background, a backdrop while
// hovered or highlighted, a 24 x 24 number picture and the caption, drawn off-screen.
#pragma once
#include "GdiPlusBitmapResource.h"
#include "HyperLinkBtn.h"

class ZXHELPER_API CLeftSideBtns : public CHyperLinkBtn {
  DECLARE_DYNAMIC(CLeftSideBtns)

 public:
  CLeftSideBtns();
  ~CLeftSideBtns() override;

  // A number strip of its own ("PNG" of the language resource library) and the number to
  // show (-1: none).
  void SetNumberImage(UINT nImageId, int nIndex);
  void SetNumberIndex(int nIndex) { m_nNumberIndex = nIndex; }
  int GetNumberIndex() const { return m_nNumberIndex; }
  // The button's place in its parent's client area, found at the first drawing.
  const CRect& GetRectInParent() const { return m_rcInParent; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 private:
  UINT m_nNumberImageId = 0;
  CGdiPlusBitmapResource m_numberImage;
  int m_nNumberIndex = 0;
  CRect m_rcInParent;
  BOOL m_bPlaced = FALSE;
  int m_nTextLeft = 45;
};
