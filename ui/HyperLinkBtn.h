// The link-style text button: its caption drawn over a plain or see-through background,
// underlined while hovered or pressed, in the shared link fonts or a font of its own.
#pragma once
#include "BaseGUIButton.h"

class ZXHELPER_API CHyperLinkBtn : public CBaseGUIButton {
  DECLARE_DYNAMIC(CHyperLinkBtn)

 public:
  CHyperLinkBtn();
  ~CHyperLinkBtn() override;

  void SetTransparent(BOOL bOn) { m_bTransparent = bOn ? TRUE : FALSE; }
  void SetUnderlineAlways(BOOL bOn) { m_bUnderlineAlways = bOn ? TRUE : FALSE; }
  void UseSharedFonts() { m_bUseSharedFonts = TRUE; }
  void SetBold() { m_bBold = TRUE; }
  void SetNormal() { m_bBold = FALSE; }
  // Copies the font in; the shared fonts are no longer used.
  void SetOwnFont(const LOGFONTW& font);
  void SetBackgroundColour(COLORREF colour) { m_crBackground = colour; }
  void SetNormalColour(COLORREF colour) { m_crNormal = colour; }
  void SetHoverColour(COLORREF colour) { m_crHover = colour; }
  void SetPressedColour(COLORREF colour) { m_crPressed = colour; }
  void SetDisabledColour(COLORREF colour) { m_crDisabled = colour; }
  // The caption (window text); measured again at the next drawing.
  void SetLinkText(LPCTSTR lpszText);

  // The caption's size as last drawn (0 x 0 before the first drawing).
  int GetTextWidth() const { return m_nTextWidth; }
  int GetTextHeight() const { return m_nTextHeight; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 protected:
  // The left panel's look: base font 13 pixels high, caption 0x362D12 (hover 0x993F09),
  // see-through, own font.
  void UsePanelLook();

  BYTE m_bTransparent = FALSE;
  BYTE m_bUnderlineAlways = FALSE;
  BYTE m_bUseSharedFonts = TRUE;
  BYTE m_bBold = FALSE;
  BYTE m_bSizeDirty = TRUE;
  int m_nTextWidth = 0;
  int m_nTextHeight = 0;
  COLORREF m_crBackground = 0xFFFFFF;
  COLORREF m_crNormal = 0x1B1209;
  COLORREF m_crHover = 0x6C482D;
  COLORREF m_crPressed = 0x5A361B;
  COLORREF m_crDisabled = 0x7E7575;
  CString m_strLinkText;
  LOGFONTW m_lfOwn{};
  UINT m_nFormat = DT_VCENTER | DT_SINGLELINE;
};
