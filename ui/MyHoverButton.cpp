// The icon button's drawing.
#include "MyHoverButton.h"

#include <algorithm>
#include <iterator>

#include "DrawingHelpers.h"
#include "HalvoranApp.h"

IMPLEMENT_DYNAMIC(CMyHoverButton, CHoverButton)

namespace {
constexpr int kIconX = 38, kIconY = 3;
constexpr COLORREF kIconCaption = 0x483F36;
constexpr COLORREF kIconCaptionPressed = 0xFFFFFF;
constexpr COLORREF kEmbossDark = 0x2D6F2D;
constexpr COLORREF kEmbossLight = 0xF5F5F5;
constexpr UINT kCentredFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

}  // namespace

CMyHoverButton::CMyHoverButton() = default;
CMyHoverButton::~CMyHoverButton() = default;

void CMyHoverButton::SetCaption(LPCTSTR lpszCaption) {
  m_strCaption = lpszCaption ? lpszCaption : u"";
  if (m_hWnd) Invalidate(FALSE);
}

void CMyHoverButton::SetIconBitmap(HBITMAP hBitmap) {
  m_bmpIcon.DeleteObject();
  m_nIconWidth = m_nIconHeight = 0;
  if (!hBitmap) return;
  m_bmpIcon.Attach(hBitmap);
  BITMAP info{};
  if (m_bmpIcon.GetBitmap(&info)) {
    m_nIconWidth = info.bmWidth / 3;
    m_nIconHeight = info.bmHeight;
  }
}

int CMyHoverButton::State(const DRAWITEMSTRUCT& item) const {
  if ((item.itemState & ODS_SELECTED) || m_bStickyPressed) return 1;
  if (IsHot() || (item.itemState & ODS_FOCUS)) return 2;
  return 0;
}

void CMyHoverButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (!lpDrawItemStruct) return;
  const DRAWITEMSTRUCT& item = *lpDrawItemStruct;
  CDC* dc = CDC::FromHandle(item.hDC);
  const int state = State(item);
  // The disabled image exists only in strips cut in four.
  const int sourceX = (HasDisabledImage() && !IsWindowEnabled()) ? 3 * m_nStateWidth : state * m_nStateWidth;
  if (m_bmpStrip.GetSafeHandle())
    DrawBitmapPart(dc, 0, 0, sourceX, 0, m_nStateWidth, m_nStateHeight, m_bmpStrip, SRCCOPY);
  const bool icon = m_bmpIcon.GetSafeHandle() != nullptr;
  if (icon)
    DrawBitmapPart(dc, kIconX, kIconY, m_nIconWidth * state, 0, m_nIconWidth, m_nIconHeight, m_bmpIcon, SRCCOPY);

  LOGFONTW description{};
  GetBaseLogFont(description);
  description.lfHeight = -12;
  description.lfWeight = FW_BOLD;
  description.lfQuality = 5;
  if (icon) {
    const char16_t face[] = u"arial";
    std::copy(std::begin(face), std::end(face), description.lfFaceName);
  }
  CFont font;
  font.CreateFontIndirect(&description);
  CFont* previous = dc->SelectObject(&font);
  dc->SetBkMode(TRANSPARENT);
  CRect rect(item.rcItem);
  if (icon) {
    dc->SetTextColor(state == 1 ? kIconCaptionPressed : kIconCaption);
    dc->DrawText(m_strCaption, m_strCaption.GetLength(), &rect, kCentredFormat);
  } else {
    if (state == 1) rect.OffsetRect(1, 1);
    dc->SetTextColor(kEmbossDark);
    dc->DrawText(m_strCaption, m_strCaption.GetLength(), &rect, kCentredFormat);
    rect.left -= 1;
    rect.top -= 1;
    dc->SetTextColor(kEmbossLight);
    dc->DrawText(m_strCaption, m_strCaption.GetLength(), &rect, kCentredFormat);
  }
  dc->SelectObject(previous);
}
