// The text button: a strip button with its window text drawn over the picture in the
// caption colours (normal 0x1B1209, hover 0x6C482D, pressed 0x5A361B), and the two looks
// (light and dark) every program's dialogs give their buttons.
#pragma once
#include "HoverButton.h"

class ZXHELPER_API CHoverButtonWithText : public CHoverButton {
  DECLARE_DYNAMIC(CHoverButtonWithText)

 public:
  CHoverButtonWithText();
  ~CHoverButtonWithText() override;

  void SetShadow(BOOL bOn) { m_bShadow = bOn ? TRUE : FALSE; }
  // The colour of the caption's shadow (0xCFC6BD unless a look sets its own).
  void SetShadowColour(COLORREF colour) { m_crShadow = colour; }
  COLORREF GetShadowColour() const { return m_crShadow; }
  void SetBoldOnHover(BOOL bOn) { m_bBoldOnHover = bOn ? TRUE : FALSE; }
  void SetBoldAlways(BOOL bOn) { m_bBoldAlways = bOn ? TRUE : FALSE; }
  void SetUnderlineOnHover(BOOL bOn) { m_bUnderlineOnHover = bOn ? TRUE : FALSE; }
  void SetUseDisabledColour(BOOL bOn) { m_bUseDisabledColour = bOn ? TRUE : FALSE; }
  void SetMediumWeight(BOOL bOn) { m_bMediumWeight = bOn ? TRUE : FALSE; }
  void SetColours(COLORREF normal, COLORREF hover, COLORREF pressed);
  void SetDisabledColour(COLORREF colour) { m_crDisabled = colour; }
  // Left-aligned from this x; -1 centres the caption.
  void SetTextLeft(int nLeft) { m_nTextLeft = nLeft; }
  // The caption's font height in place of the shared one.
  void SetOwnFontHeight(int nHeight);
  // Pixels kept free at the right and bottom (-1: none).
  void SetInsets(int nRight, int nBottom);

  COLORREF GetNormalColour() const { return m_crNormal; }
  COLORREF GetHoverColour() const { return m_crHover; }
  COLORREF GetPressedColour() const { return m_crPressed; }
  COLORREF GetDisabledColour() const { return m_crDisabled; }
  const LOGFONTW& GetCaptionFont() const { return m_lfCaption; }

  // The light or dark look of a text button: caption colours, weight, disabled colour
  // (with four states) and the strip 1021/1074 (light) or 1059/1076 (dark); the caption
  // font goes back to the shared base font in bold.
  static void SetStyle(CHoverButtonWithText& button, BOOL bFourState, BOOL bLight, BOOL bAlternateStrip);

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 private:

  BYTE m_bShadow = FALSE;
  COLORREF m_crShadow = 0xCFC6BD;
  BYTE m_bBoldOnHover = FALSE;
  BYTE m_bBoldAlways = FALSE;
  BYTE m_bUnderlineOnHover = FALSE;
  BYTE m_bUseDisabledColour = TRUE;
  LOGFONTW m_lfCaption{};
  COLORREF m_crNormal = 0x1B1209;
  COLORREF m_crHover = 0x6C482D;
  COLORREF m_crPressed = 0x5A361B;
  COLORREF m_crDisabled = 0xE4EDF6;
  int m_nTextLeft = -1;
  BYTE m_bMediumWeight = FALSE;
  BYTE m_bOwnHeight = FALSE;
  int m_nOwnFontHeight = -12;
  int m_nRightInset = -1;
  int m_nBottomInset = -1;
};
