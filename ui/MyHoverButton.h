// The icon button: a strip button with a caption of its own and an optional three-state
// icon strip drawn at (38,3); without an icon the caption is drawn embossed in bold.
#pragma once
#include "HoverButton.h"

class ZXHELPER_API CMyHoverButton : public CHoverButton {
  DECLARE_DYNAMIC(CMyHoverButton)

 public:
  CMyHoverButton();
  ~CMyHoverButton() override;

  void SetCaption(LPCTSTR lpszCaption);
  const CString& GetCaption() const { return m_strCaption; }
  // The icon strip [normal | pressed | hover], owned by the button; null removes it.
  void SetIconBitmap(HBITMAP hBitmap);
  int GetIconWidth() const { return m_nIconWidth; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 private:
  // 0 normal, 1 pressed, 2 hover.
  int State(const DRAWITEMSTRUCT& item) const;

  CString m_strCaption;
  CBitmap m_bmpIcon;
  int m_nIconWidth = 0;
  int m_nIconHeight = 0;
};
