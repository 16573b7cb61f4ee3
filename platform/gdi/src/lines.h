// Lines drawn with a DC's pen (GDI-internal): one-pixel pens step from pixel to pixel with
// Windows' dash patterns, wider pens are stroked by cairo with round ends.
#pragma once
#include "dc.h"

namespace zx::gdi {

// From a to b (logical), the end point excluded. `phase` carries the dash pattern from one
// segment to the next.
void DrawPenLine(DcObject& dc, POINT a, POINT b, int& phase);

}  // namespace zx::gdi
