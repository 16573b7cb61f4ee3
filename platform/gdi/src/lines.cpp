// Pen lines.
#include "lines.h"

#include <cstdlib>

namespace zx::gdi {
namespace {

// Dash patterns of one-pixel pens, as runs of on and off pixels.
struct Dashes {
  const int* runs;
  int count;
  int length;
};

Dashes DashesOf(int style) {
  static const int kDash[] = {18, 6};
  static const int kDot[] = {3, 3};
  static const int kDashDot[] = {9, 6, 3, 6};
  static const int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  switch (style) {
    case PS_DASH: return {kDash, 2, 24};
    case PS_DOT: return {kDot, 2, 6};
    case PS_DASHDOT: return {kDashDot, 4, 24};
    case PS_DASHDOTDOT: return {kDashDotDot, 6, 24};
    default: return {nullptr, 0, 0};
  }
}

// Whether pixel number `phase` of the pattern is on.
bool On(const Dashes& d, int phase) {
  if (!d.runs) return true;
  int at = phase % d.length;
  for (int i = 0; i < d.count; ++i) {
    if (at < d.runs[i]) return i % 2 == 0;
    at -= d.runs[i];
  }
  return true;
}

void StrokeWide(DcObject& dc, const PenObject& pen, POINT a, POINT b) {
  cairo_t* cr = dc.Cairo();
  if (!cr) return;
  cairo_save(cr);
  cairo_set_line_width(cr, pen.width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_source_rgb(cr, GetRValue(pen.color) / 255.0, GetGValue(pen.color) / 255.0,
                       GetBValue(pen.color) / 255.0);
  cairo_move_to(cr, a.x + 0.5, a.y + 0.5);
  cairo_line_to(cr, b.x + 0.5, b.y + 0.5);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace

void DrawPenLine(DcObject& dc, POINT a, POINT b, int& phase) {
  const auto& pen = dc.state().pen;
  BitmapObject* bitmap = dc.Bitmap();
  if (!pen || pen->hollow() || !bitmap) return;
  if (pen->width > 1) {
    StrokeWide(dc, *pen, a, b);
    dc.Finish();
    return;
  }
  const Dashes dashes = DashesOf(pen->style);
  const DWORD ink = OpaquePixel(pen->color);
  const bool fillGaps = dashes.runs && dc.state().bkMode == OPAQUE;
  const DWORD gap = OpaquePixel(dc.state().bkColor);
  const POINT p = dc.ToSurface(a.x, a.y);
  const POINT q = dc.ToSurface(b.x, b.y);
  cairo_surface_flush(bitmap->Surface());
  const Region& drawable = dc.Drawable();
  // Bresenham from p towards q, q itself excluded.
  const int dx = std::abs(q.x - p.x);
  const int dy = -std::abs(q.y - p.y);
  const int stepX = p.x < q.x ? 1 : -1;
  const int stepY = p.y < q.y ? 1 : -1;
  int error = dx + dy;
  int x = p.x;
  int y = p.y;
  while (x != q.x || y != q.y) {
    const bool on = On(dashes, phase++);
    if ((on || fillGaps) && drawable.Contains(x, y)) bitmap->Row(y)[x] = on ? ink : gap;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += stepX;
    }
    if (twice <= dx) {
      error += dx;
      y += stepY;
    }
  }
  dc.Finish();
}

}  // namespace zx::gdi
