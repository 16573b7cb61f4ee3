// The launcher's left panel buttons.
#include "LauncherLeftSideBtns.h"

#include "ButtonPictures.h"
#include "XTMemDC.h"

IMPLEMENT_DYNAMIC(CLauncherLeftSideBtns, CHyperLinkBtn)

namespace {
constexpr UINT kHoverPng = 1355, kHighlightPng = 1356;
constexpr COLORREF kEngraving = 0xD8CFC6, kCaption = 0x1B1209;
constexpr int kTextLeft = 18;
}  // namespace

CLauncherLeftSideBtns::CLauncherLeftSideBtns() { UsePanelLook(); }
CLauncherLeftSideBtns::~CLauncherLeftSideBtns() = default;

void CLauncherLeftSideBtns::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (!lpDrawItemStruct) return;
  const CRect rect(lpDrawItemStruct->rcItem);
  CXTMemDC dc(CDC::FromHandle(lpDrawItemStruct->hDC), rect, RGB(255, 255, 255));
  DrawPanelSlice(&dc, RectInParent(this), rect.Size());
  if (IsHot()) {
    Gdiplus::Bitmap* backdrop = SharedButtonPng(m_bHighlighted ? kHighlightPng : kHoverPng);
    if (backdrop) DrawPngPart(&dc, backdrop, 4, 1, 0, 0, static_cast<int>(backdrop->GetWidth()),
                              static_cast<int>(backdrop->GetHeight()));
  }
  LOGFONTW description = m_lfOwn;
  CFont font;
  font.CreateFontIndirect(&description);
  CFont* previous = dc.SelectObject(&font);
  dc.SetBkMode(TRANSPARENT);
  CString caption;
  GetWindowText(caption);
  CRect text(rect);
  text.left += kTextLeft;
  dc.SetTextColor(kEngraving);
  dc.DrawText(caption, caption.GetLength(), &text, m_nFormat);
  text.OffsetRect(-1, -1);
  dc.SetTextColor(kCaption);
  dc.DrawText(caption, caption.GetLength(), &text, m_nFormat);
  dc.SelectObject(previous);
}
