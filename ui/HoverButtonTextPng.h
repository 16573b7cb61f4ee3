// The picture button: a strip button with a "PNG" image of the language resource library
// drawn over the strip.
#pragma once
#include "GdiPlusBitmapResource.h"
#include "HoverButton.h"

class ZXHELPER_API CHoverButtonTextPng : public CHoverButton {
  DECLARE_DYNAMIC(CHoverButtonTextPng)

 public:
  CHoverButtonTextPng();
  ~CHoverButtonTextPng() override;

  // Keeps the id and loads that "PNG"; whether it loaded.
  BOOL LoadPng(UINT nID);
  UINT GetPngId() const { return m_nPngId; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 private:
  CGdiPlusBitmapResource m_png;
  UINT m_nPngId = 0;
};
