// Direct pixel work on a DC's surface through its clipping (GDI-internal): ternary raster
// operations and visiting the drawable pixels of an area.
#pragma once
#include <algorithm>

#include "dc.h"

namespace zx::gdi {

// The ternary raster operation `code` (bits 16 to 23 of a raster-operation value) on
// destination, source and pattern pixels.
DWORD ApplyRop3(BYTE code, DWORD destination, DWORD source, DWORD pattern);
inline bool RopUsesSource(BYTE code) { return ((code >> 2) & 0x33) != (code & 0x33); }
inline bool RopUsesPattern(BYTE code) { return ((code >> 4) & 0x0F) != (code & 0x0F); }

// Calls visit(row, left, right, y) for every run of drawable pixels of `area` (surface
// coordinates) on each line; row points at pixel 0 of line y. The surface is brought up to
// date first; the caller calls dc.Finish() after writing.
template <class Visit>
void ForEachDrawable(DcObject& dc, const RECT& area, Visit visit) {
  BitmapObject* bitmap = dc.Bitmap();
  if (!bitmap || area.left >= area.right || area.top >= area.bottom) return;
  cairo_surface_flush(bitmap->Surface());
  const Region& drawable = dc.Drawable();
  for (int i = 0; i < drawable.RectCount(); ++i) {
    const RECT r = drawable.RectAt(i);
    const int left = std::max(r.left, area.left);
    const int right = std::min(r.right, area.right);
    const int top = std::max(r.top, area.top);
    const int bottom = std::min(r.bottom, area.bottom);
    if (left >= right) continue;
    for (int y = top; y < bottom; ++y) visit(bitmap->Row(y), left, right, y);
  }
}

}  // namespace zx::gdi
