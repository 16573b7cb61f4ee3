// CDlgFontScaler: lays a dialog and its controls out again in the font of its template, at a
// given number of pixels per inch, and gives that font back when restored.
#pragma once
#include "HelperApi.h"
#include <wintypes.h>
#include <wingdi.h>

class ZXHELPER_API CDlgFontScaler {
 public:
  CDlgFontScaler() = default;
  ~CDlgFontScaler();
  CDlgFontScaler(const CDlgFontScaler&) = delete;
  CDlgFontScaler& operator=(const CDlgFontScaler&) = delete;

  // FALSE when the template is missing or damaged, or the font can't be made.
  BOOL Apply(HINSTANCE hInstance, HWND hWnd, int nTemplateId, double dPixelsPerInch);
  void Restore();
  HFONT GetFont() const { return m_hFont; }

 private:
  int m_nTemplateId = 0;
  HINSTANCE m_hInstance = nullptr;
  HWND m_hWnd = nullptr;
  HFONT m_hFont = nullptr;
  HFONT m_hOldFont = nullptr;
};
