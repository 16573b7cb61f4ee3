// The pages' layout defaults and text painter.
#include "PageLayout.h"

namespace {

constexpr RECT kPage{0, 0, 592, 477};
constexpr RECT kListArea{0, 0, 565, 400};
constexpr int kContentTop = 130;
constexpr int kSpacing = 3;
// The page's texts end this far short of its right edge.
constexpr int kRightMargin = 22;

}  // namespace

void InitPageRect(tagPageGeometry& geometry) {
  for (CRect& rect : geometry.rcPage) rect = kPage;
  geometry.rcList = kListArea;
  geometry.nContentTop = kContentTop;
  geometry.nSpacing = kSpacing;
}

const tagPageGeometry& DefaultPageGeometry() {
  static const tagPageGeometry geometry = [] {
    tagPageGeometry made;
    InitPageRect(made);
    return made;
  }();
  return geometry;
}

int DrawTextInBox(CDC* pDC, const CString& text, const CRect& box, HFONT font, COLORREF colour, UINT format) {
  const HGDIOBJ oldFont = ::SelectObject(pDC->GetSafeHdc(), font);
  const COLORREF oldColour = pDC->SetTextColor(colour);
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  CRect place(box);
  const int height = pDC->DrawText(text, text.GetLength(), &place, format);
  pDC->SetBkMode(oldMode);
  pDC->SetTextColor(oldColour);
  ::SelectObject(pDC->GetSafeHdc(), oldFont);
  return height;
}

int DrawPageText(CDC* pDC, const CString& text, int x, int y, HFONT font, COLORREF colour, UINT format,
                 CRect* drawn) {
  const CRect& page = DefaultPageGeometry().rcPage[0];
  const CRect box(x, y, page.right - kRightMargin, page.bottom);
  const int height = DrawTextInBox(pDC, text, box, font, colour, format);
  if (drawn != nullptr) *drawn = CRect(box.left, box.top, box.right, box.top + height);
  return height;
}
