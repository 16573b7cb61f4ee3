// The link-style text button and the four link fonts the process shares.
#include "HyperLinkBtn.h"

#include "HalvoranApp.h"

IMPLEMENT_DYNAMIC(CHyperLinkBtn, CBaseGUIButton)

namespace {

// Bold, bold underlined, normal and normal underlined, from the base font; made once.
class LinkFonts {
 public:
  static const LinkFonts& Shared() {
    static const LinkFonts fonts;
    return fonts;
  }
  HFONT Get(bool bold, bool underline) const { return fonts_[(bold ? 0 : 2) + (underline ? 1 : 0)]; }

 private:
  LinkFonts() {
    for (int i = 0; i < 4; ++i) {
      LOGFONTW font{};
      GetBaseLogFont(font);
      font.lfWeight = i < 2 ? FW_BOLD : FW_NORMAL;
      font.lfUnderline = (i % 2) ? TRUE : FALSE;
      fonts_[i] = ::CreateFontIndirectW(&font);
    }
  }
  HFONT fonts_[4]{};
};

}  // namespace

CHyperLinkBtn::CHyperLinkBtn() {
  LinkFonts::Shared();
  GetBaseLogFont(m_lfOwn);
}

CHyperLinkBtn::~CHyperLinkBtn() = default;

void CHyperLinkBtn::UsePanelLook() {
  m_lfOwn.lfHeight = -13;
  m_crNormal = 0x362D12;
  m_crHover = 0x993F09;
  m_crPressed = 0x362D12;
  m_bTransparent = TRUE;
  m_bUseSharedFonts = FALSE;
}

void CHyperLinkBtn::SetOwnFont(const LOGFONTW& font) {
  m_lfOwn = font;
  m_bUseSharedFonts = FALSE;
  m_bSizeDirty = TRUE;
}

void CHyperLinkBtn::SetLinkText(LPCTSTR lpszText) {
  SetWindowText(lpszText);
  m_bSizeDirty = TRUE;
}

void CHyperLinkBtn::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (!lpDrawItemStruct) return;
  const DRAWITEMSTRUCT& item = *lpDrawItemStruct;
  CDC* dc = CDC::FromHandle(item.hDC);
  GetWindowText(m_strLinkText);
  dc->SetBkColor(m_crBackground);
  CRect rect(item.rcItem);
  if (m_bTransparent)
    DrawParentBackground(this, dc, &rect);
  else
    dc->FillSolidRect(&rect, m_crBackground);

  COLORREF colour = m_crNormal;
  dc->SetBkMode(TRANSPARENT);
  BOOL underline = m_bUnderlineAlways;
  if (m_bHovered) {
    colour = m_crHover;
    underline = TRUE;
  }
  if (item.itemState & ODS_SELECTED) {
    colour = m_crPressed;
    underline = TRUE;
    rect.OffsetRect(1, 1);
  }
  if (item.itemState & ODS_DISABLED) colour = m_crDisabled;
  dc->SetTextColor(colour);

  CFont own;
  HFONT font = LinkFonts::Shared().Get(m_bBold, underline);
  if (!m_bUseSharedFonts) {
    LOGFONTW description = m_lfOwn;
    description.lfWeight = m_bBold ? FW_BOLD : FW_NORMAL;
    description.lfUnderline = underline ? TRUE : FALSE;
    own.CreateFontIndirect(&description);
    font = own;
  }
  const HGDIOBJ previous = dc->SelectObject(static_cast<HGDIOBJ>(font));
  dc->DrawText(m_strLinkText, m_strLinkText.GetLength(), &rect, m_nFormat);
  if (m_bSizeDirty) {
    const CSize size = dc->GetTextExtent(m_strLinkText);
    m_nTextWidth = size.cx;
    m_nTextHeight = size.cy;
    m_bSizeDirty = FALSE;
  }
  dc->SelectObject(previous);
}
