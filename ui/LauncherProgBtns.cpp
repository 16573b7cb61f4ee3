// The launcher's program buttons.
#include "LauncherProgBtns.h"

#include "ButtonPictures.h"
#include "HalvoranApp.h"
#include "XTMemDC.h"

IMPLEMENT_DYNAMIC(CLauncherProgBtns, CHyperLinkBtn)

namespace {
constexpr UINT kNormalPng = 1348, kHoverPng = 1353, kPressedPng = 1352, kHighlightPng = 1374;
constexpr COLORREF kHotCaption = 0x296C09, kCaption = 0x5A5148, kEngraving = 0xD8CFC6;
constexpr int kIconLeft = 4, kIconGap = 6;
}  // namespace

CLauncherProgBtns::CLauncherProgBtns() { UsePanelLook(); }
CLauncherProgBtns::~CLauncherProgBtns() = default;

BOOL CLauncherProgBtns::SetIconPng(UINT nID) {
  m_icon.Empty();
  HMODULE module = GetResourceModule();
  return module ? m_icon.Load(nID, u"PNG", module) : FALSE;
}

void CLauncherProgBtns::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (!lpDrawItemStruct) return;
  const DRAWITEMSTRUCT& item = *lpDrawItemStruct;
  const CRect rect(item.rcItem);
  CXTMemDC dc(CDC::FromHandle(item.hDC), rect, RGB(255, 255, 255));
  const UINT backdrop = (item.itemState & ODS_SELECTED) ? kPressedPng
                        : m_bHighlighted                ? kHighlightPng
                        : m_bHovered                    ? kHoverPng
                                                        : kNormalPng;
  DrawPngOver(&dc, SharedButtonPng(backdrop), rect);

  int textLeft = kIconLeft;
  if (Gdiplus::Bitmap* icon = m_icon.GetBitmap()) {
    const int width = static_cast<int>(icon->GetWidth()), height = static_cast<int>(icon->GetHeight());
    DrawPngPart(&dc, icon, kIconLeft, (rect.Height() - height) / 2, 0, 0, width, height);
    textLeft += width + kIconGap;
  }
  CFont font;
  font.CreateFontIndirect(&m_lfOwn);
  CFont* previous = dc.SelectObject(&font);
  dc.SetBkMode(TRANSPARENT);
  CString caption;
  GetWindowText(caption);
  CRect text(rect);
  text.left = textLeft + 1;
  text.OffsetRect(0, 1);
  dc.SetTextColor(kEngraving);
  dc.DrawText(caption, caption.GetLength(), &text, m_nFormat);
  text.OffsetRect(-1, -1);
  dc.SetTextColor(IsHot() ? kHotCaption : kCaption);
  dc.DrawText(caption, caption.GetLength(), &text, m_nFormat);
  dc.SelectObject(previous);
}
