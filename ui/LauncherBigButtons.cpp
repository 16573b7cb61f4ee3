// The launcher's big buttons.
#include "LauncherBigButtons.h"

#include "ButtonPictures.h"
#include "HalvoranApp.h"
#include "XTMemDC.h"

IMPLEMENT_DYNAMIC(CLauncherBigButtons, CHyperLinkBtn)

namespace {
constexpr UINT kHoverPng = 1353, kHighlightPng = 1354;
constexpr int kIconSize = 64;
}  // namespace

CLauncherBigButtons::CLauncherBigButtons() { UsePanelLook(); }
CLauncherBigButtons::~CLauncherBigButtons() = default;

BOOL CLauncherBigButtons::SetIconPng(UINT nID) {
  m_icon.Empty();
  HMODULE module = GetResourceModule();
  return module ? m_icon.Load(nID, u"PNG", module) : FALSE;
}

void CLauncherBigButtons::DrawTexts(CDC* pDC, const CRect& title, const CRect& description) {
  CFont font;
  font.CreateFontIndirect(&m_lfOwn);
  CFont* previous = pDC->SelectObject(&font);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(IsHot() ? m_crHover : m_crNormal);
  CString caption;
  GetWindowText(caption);
  CRect place(title);
  pDC->DrawText(caption, caption.GetLength(), &place, m_nFormat);
  place = description;
  pDC->DrawText(m_strDescription, m_strDescription.GetLength(), &place, m_nFormat);
  pDC->SelectObject(previous);
}

void CLauncherBigButtons::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (!lpDrawItemStruct) return;
  const CRect rect(lpDrawItemStruct->rcItem);
  CXTMemDC dc(CDC::FromHandle(lpDrawItemStruct->hDC), rect, RGB(255, 255, 255));
  if (m_bHighlighted)
    DrawPngOver(&dc, SharedButtonPng(kHighlightPng), rect);
  else if (m_bHovered)
    DrawPngOver(&dc, SharedButtonPng(kHoverPng), rect);
  DrawPngPart(&dc, m_icon.GetBitmap(), 7, 1, 0, 0, kIconSize, kIconSize);
  DrawTexts(&dc, CRect(85, 12, 550, 38), CRect(85, 35, 550, 60));
}
