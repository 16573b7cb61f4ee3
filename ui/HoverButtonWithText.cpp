// The text button's drawing and its light and dark looks.
#include "HoverButtonWithText.h"

#include "HalvoranApp.h"
#include "OSVersionInfo.h"

IMPLEMENT_DYNAMIC(CHoverButtonWithText, CHoverButton)

namespace {
constexpr UINT kLeftFormat = DT_SINGLELINE;
constexpr UINT kCentredFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
}  // namespace

CHoverButtonWithText::CHoverButtonWithText() { GetBaseLogFont(m_lfCaption); }
CHoverButtonWithText::~CHoverButtonWithText() = default;

void CHoverButtonWithText::SetColours(COLORREF normal, COLORREF hover, COLORREF pressed) {
  m_crNormal = normal;
  m_crHover = hover;
  m_crPressed = pressed;
}

void CHoverButtonWithText::SetOwnFontHeight(int nHeight) {
  m_bOwnHeight = TRUE;
  m_nOwnFontHeight = nHeight;
}

void CHoverButtonWithText::SetInsets(int nRight, int nBottom) {
  m_nRightInset = nRight;
  m_nBottomInset = nBottom;
}

void CHoverButtonWithText::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (!lpDrawItemStruct) return;
  CHoverButton::DrawItem(lpDrawItemStruct);
  const DRAWITEMSTRUCT& item = *lpDrawItemStruct;
  CDC* dc = CDC::FromHandle(item.hDC);

  CRect text(item.rcItem);
  if (m_bOwnHeight) m_lfCaption.lfHeight = m_nOwnFontHeight;
  UINT format = kCentredFormat;
  if (m_nTextLeft != -1) {
    text.left = m_nTextLeft;
    format = kLeftFormat;
  }
  if (m_nRightInset > 0) text.right -= m_nRightInset;
  if (m_nBottomInset > 0) text.bottom -= m_nBottomInset;

  dc->SetBkMode(TRANSPARENT);
  CString caption;
  GetWindowText(caption);

  COLORREF colour = (m_bUseDisabledColour && m_bFourState && IsDisabled(item)) ? m_crDisabled : m_crNormal;
  const LONG storedWeight = m_lfCaption.lfWeight;
  if (m_bBoldAlways) m_lfCaption.lfWeight = FW_BOLD;
  if (m_bMediumWeight && GetOSMajorVersion() > 5) m_lfCaption.lfWeight = FW_MEDIUM;
  LOGFONTW font = m_lfCaption;
  if (IsHot()) {
    colour = m_crHover;
    font.lfUnderline = m_bUnderlineOnHover;
    if (m_bBoldOnHover) font.lfWeight = FW_BOLD;
  }
  m_lfCaption.lfWeight = storedWeight;
  if ((item.itemState & ODS_SELECTED) || m_bStickyPressed) colour = m_crPressed;

  CFont made;
  made.CreateFontIndirect(&font);
  CFont* previous = dc->SelectObject(&made);
  if (m_bShadow) {
    CRect shadow(text);
    shadow.OffsetRect(1, 1);
    dc->SetTextColor(m_crShadow);
    dc->DrawText(caption, caption.GetLength(), &shadow, format);
  }
  dc->SetTextColor(colour);
  dc->DrawText(caption, caption.GetLength(), &text, format);
  dc->SelectObject(previous);
}

void CHoverButtonWithText::SetStyle(CHoverButtonWithText& button, BOOL bFourState, BOOL bLight, BOOL bAlternateStrip) {
  if (bLight) {
    button.SetColours(0xFFFCFC, 0xFFFCFC, 0xFFFCFC);
    button.m_bMediumWeight = FALSE;
  } else {
    button.SetColours(0x361209, 0x3F0912, 0x481212);
    button.m_bBoldAlways = TRUE;
    button.m_bMediumWeight = TRUE;
  }
  if (bFourState) {
    button.m_bUseDisabledColour = TRUE;
    button.m_crDisabled = bLight ? 0xA7A49E : 0xA29990;
  }
  button.SetFourState(bFourState);
  const UINT strip = bLight ? (bAlternateStrip ? 1074 : 1021) : (bAlternateStrip ? 1076 : 1059);
  button.LoadBitmap(strip);
  GetBaseLogFont(button.m_lfCaption);
  button.m_lfCaption.lfWeight = FW_BOLD;
}
