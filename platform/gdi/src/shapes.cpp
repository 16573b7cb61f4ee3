// Lines, shapes, pixels and fills: MoveToEx, LineTo, Polyline, Polygon, Rectangle,
// RoundRect, Ellipse, GetPixel, SetPixel, FillRect, FrameRect, InvertRect and FillRgn.
#include <algorithm>
#include <vector>

#include "errhandlingapi.h"
#include "lines.h"
#include "pixels.h"
#include "windraw.h"

using namespace zx::gdi;

namespace {

void SetColour(cairo_t* cr, COLORREF c) {
  cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

RECT Ordered(int left, int top, int right, int bottom) {
  return {std::min(left, right), std::min(top, bottom), std::max(left, right),
          std::max(top, bottom)};
}

// Fills rectangles (logical coordinates) in one colour; the caller finishes the DC.
void FillRects(DcObject& dc, const RECT* rects, int count, COLORREF colour) {
  cairo_t* cr = dc.Cairo();
  if (!cr) return;
  cairo_save(cr);
  SetColour(cr, colour);
  for (int i = 0; i < count; ++i) {
    const RECT& r = rects[i];
    if (r.right > r.left && r.bottom > r.top)
      cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  cairo_fill(cr);
  cairo_restore(cr);
}

void FillArea(DcObject& dc, const RECT& r, COLORREF colour) { FillRects(dc, &r, 1, colour); }

void FillRegion(DcObject& dc, const Region& region, COLORREF colour) {
  std::vector<RECT> rects(static_cast<std::size_t>(region.RectCount()));
  for (int i = 0; i < region.RectCount(); ++i) rects[i] = region.RectAt(i);
  FillRects(dc, rects.data(), static_cast<int>(rects.size()), colour);
}

void Outline(DcObject& dc, const std::vector<POINT>& points, bool close) {
  int phase = 0;
  for (std::size_t i = 0; i + 1 < points.size(); ++i)
    DrawPenLine(dc, points[i], points[i + 1], phase);
  if (close && points.size() > 2) DrawPenLine(dc, points.back(), points.front(), phase);
}

// A rounded rectangle (an ellipse when the corners are as large as the box) inside
// [left, right) x [top, bottom), made of whole pixels row by row as regions are, so that
// the figure is symmetric and matches a region of the same shape: the pen's band along the
// edge, the brush inside. Without a pen the figure is one pixel smaller, as in Windows.
BOOL Figure(HDC dc, RECT box, int ellipseWidth, int ellipseHeight) {
  auto object = DcFromHandle(dc);
  if (!object) return FALSE;
  const auto& pen = object->state().pen;
  const auto& brush = object->state().brush;
  const int band = pen && !pen->hollow() ? pen->width : 0;
  if (band == 0) {
    box.right -= 1;
    box.bottom -= 1;
    ellipseWidth = std::min(ellipseWidth, box.right - box.left);
    ellipseHeight = std::min(ellipseHeight, box.bottom - box.top);
  }
  const Region outer = Region::RoundRect(box, ellipseWidth, ellipseHeight);
  const RECT innerBox{box.left + band, box.top + band, box.right - band, box.bottom - band};
  const Region inner = Region::RoundRect(innerBox, ellipseWidth - 2 * band, ellipseHeight - 2 * band);
  if (brush && !brush->hollow) FillRegion(*object, inner, brush->color);
  if (band > 0) {
    Region edge = outer;
    edge.Subtract(inner);
    FillRegion(*object, edge, pen->color);
  }
  object->Finish();
  return TRUE;
}

}  // namespace

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
  auto object = DcFromHandle(dc);
  if (!object) return FALSE;
  if (previous) *previous = object->state().current;
  object->state().current = {x, y};
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
  auto object = DcFromHandle(dc);
  if (!object) return FALSE;
  int phase = 0;
  DrawPenLine(*object, object->state().current, {x, y}, phase);
  object->state().current = {x, y};
  return TRUE;
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
  auto object = DcFromHandle(dc);
  if (!object || !points || count < 2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Outline(*object, std::vector<POINT>(points, points + count), false);
  return TRUE;
}

BOOL Polygon(HDC dc, const POINT* points, int count) {
  auto object = DcFromHandle(dc);
  if (!object || !points || count < 2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto& brush = object->state().brush;
  cairo_t* cr = object->Cairo();
  if (cr && brush && !brush->hollow) {
    cairo_save(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_move_to(cr, points[0].x, points[0].y);
    for (int i = 1; i < count; ++i) cairo_line_to(cr, points[i].x, points[i].y);
    cairo_close_path(cr);
    SetColour(cr, brush->color);
    cairo_fill(cr);
    cairo_restore(cr);
    object->Finish();
  }
  Outline(*object, std::vector<POINT>(points, points + count), true);
  return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  auto object = DcFromHandle(dc);
  if (!object) return FALSE;
  const RECT r = Ordered(left, top, right, bottom);
  const auto& pen = object->state().pen;
  const auto& brush = object->state().brush;
  const bool stroke = pen && !pen->hollow();
  if (brush && !brush->hollow) {
    const int less = stroke ? 0 : 1;  // no pen: one pixel smaller
    FillArea(*object, {r.left, r.top, r.right - less, r.bottom - less}, brush->color);
    object->Finish();
  }
  if (!stroke || r.right - r.left < 1 || r.bottom - r.top < 1) return TRUE;
  if (pen->width == 1) {
    Outline(*object,
            {{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}},
            true);
    if (r.right - r.left == 1 && r.bottom - r.top == 1) {
      int phase = 0;  // a one-pixel figure still shows its last pixel
      DrawPenLine(*object, {r.right - 1, r.bottom - 1}, {r.right, r.bottom}, phase);
    }
    return TRUE;
  }
  // Wide pens stay inside the rectangle.
  cairo_t* cr = object->Cairo();
  if (!cr) return TRUE;
  const double half = pen->width / 2.0;
  cairo_save(cr);
  SetColour(cr, pen->color);
  cairo_set_line_width(cr, pen->width);
  cairo_rectangle(cr, r.left + half, r.top + half, r.right - r.left - pen->width,
                  r.bottom - r.top - pen->width);
  cairo_stroke(cr);
  cairo_restore(cr);
  object->Finish();
  return TRUE;
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height) {
  return Figure(dc, Ordered(left, top, right, bottom), std::abs(width), std::abs(height));
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
  const RECT box = Ordered(left, top, right, bottom);
  return Figure(dc, box, box.right - box.left, box.bottom - box.top);
}

COLORREF GetPixel(HDC dc, int x, int y) {
  auto object = DcFromHandle(dc);
  if (!object || !object->Bitmap()) return CLR_INVALID;
  const POINT p = object->ToSurface(x, y);
  if (!object->Drawable().Contains(p.x, p.y)) return CLR_INVALID;
  cairo_surface_flush(object->Bitmap()->Surface());
  return PixelColour(object->Bitmap()->Row(p.y)[p.x]);
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  auto object = DcFromHandle(dc);
  if (!object || !object->Bitmap()) return CLR_INVALID;
  const POINT p = object->ToSurface(x, y);
  if (!object->Drawable().Contains(p.x, p.y)) return CLR_INVALID;
  cairo_surface_flush(object->Bitmap()->Surface());
  object->Bitmap()->Row(p.y)[p.x] = OpaquePixel(color);
  object->Finish();
  return color & 0xFFFFFF;
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) {
  return SetPixel(dc, x, y, color) != CLR_INVALID;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  auto object = DcFromHandle(dc);
  auto fill = BrushFromHandle(brush);
  if (!object || !rect || !fill) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!fill->hollow) {
    FillArea(*object, *rect, fill->color);
    object->Finish();
  }
  return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
  auto object = DcFromHandle(dc);
  auto fill = BrushFromHandle(brush);
  if (!object || !rect || !fill) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const RECT r = *rect;
  if (fill->hollow || r.right <= r.left || r.bottom <= r.top) return 1;
  const RECT sides[] = {{r.left, r.top, r.right, r.top + 1},
                        {r.left, r.bottom - 1, r.right, r.bottom},
                        {r.left, r.top, r.left + 1, r.bottom},
                        {r.right - 1, r.top, r.right, r.bottom}};
  FillRects(*object, sides, 4, fill->color);
  object->Finish();
  return 1;
}

BOOL InvertRect(HDC dc, const RECT* rect) {
  if (!rect) return FALSE;
  return PatBlt(dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                DSTINVERT);
}

BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush) {
  auto object = DcFromHandle(dc);
  auto area = ReferenceAs<RegionObject>(region);
  auto fill = BrushFromHandle(brush);
  if (!object || !area || !fill) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (fill->hollow) return TRUE;
  FillRegion(*object, area->region, fill->color);
  object->Finish();
  return TRUE;
}
