// The painted frame every popup and the message box share: corners and edges from the
// pictures 1104 to 1111 of the resource library, each edge repeating its picture's first
// column or row.
#pragma once
#include <afxwin.h>

#include "HelperApi.h"

// Widths and heights of the frame's edges (0 while their pictures are missing).
struct PopupFrameEdges {
  int left = 0;    // width of 1107
  int top = 0;     // height of 1110
  int right = 0;   // width of 1108
  int bottom = 0;  // height of 1105
};
ZXHELPER_API PopupFrameEdges GetPopupFrameEdges();

ZXHELPER_API void PaintTitleStrip(CDC* pDC, const CRect& rect);
