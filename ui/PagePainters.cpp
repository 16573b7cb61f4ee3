// The page painters: bars, boxed lists, section panels and rounded boxes.
#include "PagePainters.h"

#include <algorithm>

#include "DlgBaseShared.h"
#include "DrawingHelpers.h"

namespace {

constexpr COLORREF kBandColour = 0xF9F1E0;
constexpr COLORREF kFrameColour = 0xDEDEDE;
constexpr COLORREF kSeparatorColour = 0xEDEDED;
constexpr COLORREF kNameColour = 0x5A5148;
constexpr COLORREF kPanelFill = 0xFBFBFB;
constexpr COLORREF kListTitleShadow = 0xCDC2B2;
constexpr COLORREF kListTitleColour = 0x733A0D;
constexpr COLORREF kSectionTitleColour = 0x323232;
constexpr UINT kLineFormat = DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX;
constexpr UINT kWrapFormat = DT_WORDBREAK | DT_LEFT | DT_TOP | DT_NOPREFIX;
constexpr int kBarLength = 548, kCapWidth = 5, kBarIconWidth = 40, kBarHeight = 50;
constexpr int kListRowHeight = 28, kSectionRowHeight = 30;
constexpr int kTitleBoxWidth = 545;

// The bar's pictures, loaded for one drawing.
struct BarPictures {
  explicit BarPictures(BOOL highlighted)
      : left(highlighted ? 1028 : 1023), middle(highlighted ? 1029 : 1024), right(highlighted ? 1030 : 1025),
        icon(highlighted ? 1027 : 1026) {}
  CHVBitmap left, middle, right, icon;
};

HBITMAP Handle(const CHVBitmap& bitmap) { return static_cast<HBITMAP>(bitmap.GetSafeHandle()); }

void Blit(CDC* pDC, const CHVBitmap& bitmap, int x, int y, int width, int height, DWORD rop = SRCCOPY) {
  if (Handle(bitmap)) DrawBitmap(pDC, x, y, width, height, Handle(bitmap), rop);
}

// The bar from x to right: caps and one-pixel middle columns, the icon at x+15 when asked.
void DrawBar(CDC* pDC, int x, int y, int right, BOOL highlighted, BOOL withIcon) {
  const BarPictures bar(highlighted);
  Blit(pDC, bar.left, x, y, kCapWidth, kBarHeight);
  for (int column = x + kCapWidth; column < right - kCapWidth; ++column) Blit(pDC, bar.middle, column, y, 1, kBarHeight);
  Blit(pDC, bar.right, right - kCapWidth, y, kCapWidth, kBarHeight);
  if (withIcon) Blit(pDC, bar.icon, x + 15, y, kBarIconWidth, kBarHeight);
}

void Line(CDC* pDC, int x0, int x1, int y) {
  pDC->MoveTo(x0, y);
  pDC->LineTo(x1, y);
}

void Text(CDC* pDC, const CString& text, const CRect& rect, COLORREF colour, UINT format) {
  pDC->SetTextColor(colour);
  CRect place(rect);
  pDC->DrawText(text, text.GetLength(), &place, format);
}

// A picture `width` x 1 on every line from top up to (not including) bottom.
void LineEveryRow(CDC* pDC, const CHVBitmap& bitmap, int x, int top, int bottom, int width) {
  if (!Handle(bitmap) || bottom <= top) return;
  StretchBitmap(pDC, x, top, width, bottom - top, 0, 0, width, 1, Handle(bitmap), SRCCOPY);
}

// The number of rows every list holds an entry for.
int RowsHeld(INT_PTR wanted, const CStringArray& names, const CStringArray& values, const CDWordArray& colours) {
  return static_cast<int>(std::min({wanted, names.GetSize(), values.GetSize(), colours.GetSize()}));
}

// A rounded rectangle x to x+width+3 with the frame pen and no fill.
void RoundedFrame(CDC* pDC, int x, int top, int bottom, int width) {
  CPen pen(PS_SOLID, 1, kFrameColour);
  CPen* oldPen = pDC->SelectObject(&pen);
  const HGDIOBJ oldBrush = pDC->SelectObject(::GetStockObject(NULL_BRUSH));
  pDC->RoundRect(x, top, x + width + 3, bottom, 10, 10);
  pDC->SelectObject(oldBrush);
  pDC->SelectObject(oldPen);
}

}  // namespace

void DrawHorizontalBar(CDC* pDC, int x, int y, BOOL bHighlighted, BOOL bWithIcon) {
  if (pDC) DrawBar(pDC, x, y, x + kBarLength, bHighlighted, bWithIcon);
}

void DrawHorizontalBarWidth(CDC* pDC, int x, int y, BOOL bHighlighted, int nWidth) {
  if (pDC) DrawBar(pDC, x, y, x + nWidth, bHighlighted, TRUE);
}

void DrawRoundedTitleBox(CDC* pDC, int x, int nTop, int nBottom, int nWidth) {
  if (!pDC) return;
  RoundedFrame(pDC, x, nTop, nBottom, nWidth);
  LineEveryRow(pDC, SharedBitmap(1128), x + 2, nTop + 2, nBottom - 3, nWidth);
}

void DrawRoundedPanel(CDC* pDC, int x, int nTop, int nBottom, int nWidth) {
  if (!pDC) return;
  RoundedFrame(pDC, x, nTop, nBottom, nWidth);
  pDC->FillSolidRect(CRect(x + 2, nTop + 2, x + nWidth + 2, nBottom - 2), kPanelFill);
}

void DrawListFrame(CDC* pDC, int x, int y, int nRows, LPCTSTR lpszTitle, const CStringArray& names,
                   const CStringArray& values, const CDWordArray& valueColours) {
  if (!pDC || nRows <= 0) return;
  const int bottom = y + 31 + kListRowHeight * nRows;
  CPen wide(PS_SOLID, 2, kBandColour);
  CPen thin(PS_SOLID, 1, kFrameColour);
  CPen separator(PS_SOLID, 1, kSeparatorColour);
  CBrush band(kBandColour);
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  CPen* oldPen = pDC->SelectObject(&thin);
  const HGDIOBJ oldBrush = pDC->SelectObject(::GetStockObject(NULL_BRUSH));

  pDC->RoundRect(x, y, x + 548, bottom, 10, 10);
  pDC->SelectObject(&wide);
  pDC->SelectObject(&band);
  pDC->RoundRect(x + 2, y + 2, x + 547, y + 31, 6, 4);
  Line(pDC, x + 1, x + 546, y + 29);
  pDC->SelectObject(&thin);
  Line(pDC, x, x + 547, y + 30);
  LineEveryRow(pDC, SharedBitmap(1089), x + 2, y + 31, bottom - 3, 545);
  pDC->SelectObject(&separator);
  for (int row = 1; row < nRows; ++row) Line(pDC, x + 1, x + 547, y + 30 + kListRowHeight * row);
  pDC->SelectObject(oldBrush);
  pDC->SelectObject(oldPen);

  const COLORREF oldColour = pDC->GetTextColor();
  DrawShadowedText(pDC, lpszTitle ? lpszTitle : _T(""), CRect(x + 12, y + 5, x + 512, y + 30), GetSharedCaptionFont(),
                   kListTitleShadow, kListTitleColour, kLineFormat);
  const HGDIOBJ oldFont = pDC->SelectObject(static_cast<HGDIOBJ>(GetSharedDialogFont()));
  const int rows = RowsHeld(nRows, names, values, valueColours);
  for (int i = 0; i < rows; ++i) {
    const int top = y + 37 + kListRowHeight * i;
    Text(pDC, names[i], CRect(x + 12, top, x + 237, top + 20), kNameColour, kLineFormat);
    Text(pDC, values[i], CRect(x + 237, top, x + 547, top + 20), valueColours[i], kLineFormat);
  }
  pDC->SelectObject(oldFont);
  pDC->SetTextColor(oldColour);
  pDC->SetBkMode(oldMode);
}

void DrawSectionPanel(CDC* pDC, int x, int y, int nHeight, LPCTSTR lpszTitle, UINT nHeaderBitmap,
                      const CArray<HICON, HICON>& icons, const CStringArray& names, const CStringArray& values,
                      const CDWordArray& valueColours, int nWidth) {
  if (!pDC) return;
  const bool titleBox = nWidth == kTitleBoxWidth;
  if (titleBox)
    DrawRoundedTitleBox(pDC, x, y, y + nHeight, kTitleBoxWidth);
  else
    DrawRoundedPanel(pDC, x, y, y + nHeight, nWidth);

  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF oldColour = pDC->GetTextColor();
  HGDIOBJ oldFont = pDC->SelectObject(static_cast<HGDIOBJ>(GetSharedTitleFont(-15, FW_BOLD)));
  const CString title(lpszTitle ? lpszTitle : _T(""));
  Text(pDC, title, CRect(x + 16, y + 17, x + 556, y + 37), kSectionTitleColour, kWrapFormat);

  if (titleBox) {
    Blit(pDC, SharedBitmap(1090), x + 16, y + 43, 516, 2, SRCAND);
  } else {
    const CHVBitmap& rule = SharedBitmap(1091);
    for (int column = x + 16; column < x + nWidth - 13; ++column) Blit(pDC, rule, column, y + 43, 1, rule.GetHeight());
  }
  if (nHeaderBitmap) {
    const CHVBitmap& header = SharedBitmap(nHeaderBitmap);
    Blit(pDC, header, x + 16, y + 51, header.GetWidth(), header.GetHeight(), SRCAND);
  }

  pDC->SelectObject(static_cast<HGDIOBJ>(GetSharedCaptionFont()));
  CPen separator(PS_SOLID, 1, kSeparatorColour);
  CPen* oldPen = pDC->SelectObject(&separator);
  const int rows = RowsHeld(icons.GetSize(), names, values, valueColours);
  for (int i = 0; i < rows; ++i) {
    const int top = y + 56 + kSectionRowHeight * i;
    if (icons[i]) ::DrawIconEx(pDC->GetSafeHdc(), x + 128, y + 57 + kSectionRowHeight * i, icons[i], 16, 16, 0, nullptr,
                               DI_NORMAL);
    Text(pDC, names[i], CRect(x + 150, top, x + 360, top + 20), kNameColour, kWrapFormat);
    Text(pDC, values[i], CRect(x + 360, top, x + 570, top + 20), valueColours[i], kWrapFormat);
    if (i > 0) Line(pDC, x + 123, x + nWidth - 13, y + 50 + kSectionRowHeight * i);
  }
  pDC->SelectObject(oldPen);
  pDC->SelectObject(oldFont);
  pDC->SetTextColor(oldColour);
  pDC->SetBkMode(oldMode);
}
