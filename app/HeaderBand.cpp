// The header band of the pages' lists.
#include "HeaderBand.h"

#include "DlgBaseShared.h"

namespace {

constexpr UINT kBandTile = 5378;
constexpr UINT kBandLeft = 5379;
constexpr UINT kBandRight = 5380;
constexpr UINT kColumnRule = 5381;
constexpr int kBandLeftX = 22;
constexpr int kTextInset = 6;
constexpr int kFirstTextWidth = 200;
constexpr int kColumnTextWidth = 125;

}  // namespace

void DrawHeaderBand(CDC* pDC, BOOL endCaps, int bandWidth, int y, int firstTextX, const std::vector<int>& columns,
                    const std::vector<CString>& texts) {
  const CHVBitmap& tile = SharedBitmap(kBandTile);
  const int right = kBandLeftX + bandWidth;
  int tileFrom = kBandLeftX, tileTo = right;
  if (endCaps) {
    const CHVBitmap& left = SharedBitmap(kBandLeft);
    const CHVBitmap& end = SharedBitmap(kBandRight);
    DrawWhole(pDC, left, kBandLeftX, y);
    DrawWhole(pDC, end, right - end.GetWidth(), y);
    tileFrom += left.GetWidth();
    tileTo -= end.GetWidth();
  }
  TileAcross(pDC, tile, tileFrom, tileTo, y);
  const int height = tile.GetHeight();
  CFont* old = pDC->SelectObject(CFont::FromHandle(GetSharedCaptionFont()));
  pDC->SetBkMode(TRANSPARENT);
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  const int firstX = (firstTextX == -1 ? kBandLeftX : firstTextX) + kTextInset;
  if (!texts.empty()) {
    CRect box(firstX, y, firstX + kFirstTextWidth, y + height);
    pDC->DrawText(texts[0], &box, format);
  }
  for (std::size_t i = 0; i < columns.size(); ++i) {
    DrawWhole(pDC, SharedBitmap(kColumnRule), columns[i], y);
    if (i + 1 >= texts.size()) continue;
    CRect box(columns[i] + kTextInset, y, columns[i] + kTextInset + kColumnTextWidth, y + height);
    pDC->DrawText(texts[i + 1], &box, format);
  }
  pDC->SelectObject(old);
}
