// The popup frame painter.
#include "PopupFrame.h"

#include "DlgBaseShared.h"

namespace {
constexpr UINT kBottomLeft = 1104, kBottomEdge = 1105, kBottomRight = 1106, kLeftEdge = 1107,
               kRightEdge = 1108, kTopLeft = 1109, kTopEdge = 1110, kTopRight = 1111;
}  // namespace

PopupFrameEdges GetPopupFrameEdges() {
  return {SharedBitmap(kLeftEdge).GetWidth(), SharedBitmap(kTopEdge).GetHeight(), SharedBitmap(kRightEdge).GetWidth(),
          SharedBitmap(kBottomEdge).GetHeight()};
}

void PaintTitleStrip(CDC* pDC, const CRect& rect) {
  const CHVBitmap& topLeft = SharedBitmap(kTopLeft);
  const CHVBitmap& topRight = SharedBitmap(kTopRight);
  const CHVBitmap& bottomLeft = SharedBitmap(kBottomLeft);
  const CHVBitmap& bottomRight = SharedBitmap(kBottomRight);
  const CHVBitmap& leftEdge = SharedBitmap(kLeftEdge);
  const CHVBitmap& rightEdge = SharedBitmap(kRightEdge);
  const CHVBitmap& bottomEdge = SharedBitmap(kBottomEdge);
  DrawWhole(pDC, topLeft, rect.left, rect.top);
  DrawColumns(pDC, SharedBitmap(kTopEdge), rect.left + topLeft.GetWidth(), rect.right - topRight.GetWidth(), rect.top);
  DrawWhole(pDC, topRight, rect.right - topRight.GetWidth(), rect.top);
  DrawRows(pDC, leftEdge, rect.left, rect.top + topLeft.GetHeight(), rect.bottom - bottomLeft.GetHeight());
  DrawWhole(pDC, bottomLeft, rect.left, rect.bottom - bottomLeft.GetHeight());
  DrawRows(pDC, rightEdge, rect.right - rightEdge.GetWidth(), rect.top + topRight.GetHeight(),
           rect.bottom - bottomRight.GetHeight());
  DrawWhole(pDC, bottomRight, rect.right - bottomRight.GetWidth(), rect.bottom - bottomRight.GetHeight());
  DrawColumns(pDC, bottomEdge, rect.left + bottomLeft.GetWidth(), rect.right - bottomRight.GetWidth(),
              rect.bottom - bottomEdge.GetHeight());
}
