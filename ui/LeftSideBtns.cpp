// The left panel's numbered buttons.
#include "LeftSideBtns.h"

#include "ButtonPictures.h"
#include "HalvoranApp.h"
#include "XTMemDC.h"

IMPLEMENT_DYNAMIC(CLeftSideBtns, CHyperLinkBtn)

namespace {
constexpr UINT kNumbersPng = 1364, kHoverPng = 1357, kSelectedPng = 1358;
constexpr int kNumberSize = 24, kNumberX = 11, kNumberY = 1;
}  // namespace

CLeftSideBtns::CLeftSideBtns() { UsePanelLook(); }

CLeftSideBtns::~CLeftSideBtns() = default;

void CLeftSideBtns::SetNumberImage(UINT nImageId, int nIndex) {
  m_nNumberImageId = nImageId;
  m_numberImage.Empty();
  if (HMODULE module = GetResourceModule()) m_numberImage.Load(nImageId, u"PNG", module);
  m_nNumberIndex = nIndex;
}

void CLeftSideBtns::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (!lpDrawItemStruct) return;
  const DRAWITEMSTRUCT& item = *lpDrawItemStruct;
  const CRect rect(item.rcItem);
  CXTMemDC dc(CDC::FromHandle(item.hDC), rect, RGB(255, 255, 255));
  if (!m_bPlaced) {
    m_rcInParent = RectInParent(this);
    m_bPlaced = TRUE;
  }
  DrawPanelSlice(&dc, m_rcInParent, rect.Size());

  const BOOL hot = IsHot();
  if (hot) {
    const bool selected = (item.itemState & ODS_SELECTED) || m_bHighlighted;
    DrawPngOver(&dc, SharedButtonPng(selected ? kSelectedPng : kHoverPng), rect);
  }
  if (m_nNumberIndex != -1) {
    Gdiplus::Bitmap* numbers = m_numberImage.GetBitmap();
    if (!m_nNumberImageId || !numbers) numbers = SharedButtonPng(kNumbersPng);
    DrawPngPart(&dc, numbers, kNumberX, kNumberY, m_nNumberIndex * kNumberSize, m_bHighlighted ? kNumberSize : 0,
                kNumberSize, kNumberSize);
  }

  dc.SetBkMode(TRANSPARENT);
  LOGFONTW description = m_lfOwn;
  description.lfWeight = m_bHighlighted ? FW_BOLD : FW_NORMAL;
  CFont font;
  font.CreateFontIndirect(&description);
  CFont* previous = dc.SelectObject(&font);
  dc.SetTextColor(hot ? m_crHover : m_crNormal);
  CString caption;
  GetWindowText(caption);
  CRect text(m_nTextLeft - 1, -1, 163, 26);
  dc.DrawText(caption, caption.GetLength(), &text, m_nFormat);
  dc.SelectObject(previous);
}
