// Blits: PatBlt, BitBlt, StretchBlt, TransparentBlt and AlphaBlend. Unscaled SRCCOPY and
// AlphaBlend go through cairo; every other raster operation, stretching (nearest pixel) and
// the transparent colour work on the pixels directly.
#include <vector>

#include "errhandlingapi.h"
#include "pixels.h"

using namespace zx::gdi;

namespace {

constexpr DWORD kOpaque = 0xFF000000u;

// One axis of a blit: where it lands, where it samples and whether it mirrors.
struct Axis {
  int dest = 0;
  int destSize = 0;
  int source = 0;
  int sourceSize = 0;
  bool mirror = false;
  // The source index sampled for destination index i (0 <= i < destSize).
  int Sample(int i) const {
    const long long k =
        (2LL * i + 1) * sourceSize / (2LL * destSize);
    return source + static_cast<int>(mirror ? sourceSize - 1 - k : k);
  }
};

Axis MakeAxis(int dest, int destSize, int source, int sourceSize) {
  Axis a;
  bool destNegative = destSize < 0;
  bool sourceNegative = sourceSize < 0;
  a.dest = destNegative ? dest + destSize + 1 : dest;
  a.destSize = destNegative ? -destSize : destSize;
  a.source = sourceNegative ? source + sourceSize + 1 : source;
  a.sourceSize = sourceNegative ? -sourceSize : sourceSize;
  a.mirror = destNegative != sourceNegative;
  return a;
}

// The source's pixels, copied when they share the destination's surface.
struct SourcePixels {
  const DWORD* pixels = nullptr;
  int width = 0;
  int height = 0;
  std::vector<DWORD> copy;
};

SourcePixels ReadSource(BitmapObject& source, const BitmapObject* destination) {
  SourcePixels s;
  cairo_surface_flush(source.Surface());
  s.width = source.width();
  s.height = source.height();
  s.pixels = source.Row(0);
  if (&source == destination) {
    s.copy.assign(s.pixels, s.pixels + static_cast<std::size_t>(s.width) * s.height);
    s.pixels = s.copy.data();
  }
  return s;
}

// Visits every drawable destination pixel of the blit whose sampled source pixel lies inside
// the source: combine(destination, source) answers the new pixel.
template <class Combine>
void ForEachSampled(DcObject& dc, const Axis& ax, const Axis& ay, const SourcePixels* source,
                    Combine combine) {
  const RECT area{ax.dest, ay.dest, ax.dest + ax.destSize, ay.dest + ay.destSize};
  ForEachDrawable(dc, area, [&](DWORD* row, int left, int right, int y) {
    const int sy = source ? ay.Sample(y - ay.dest) : 0;
    if (source && (sy < 0 || sy >= source->height)) return;
    const DWORD* sourceRow = source ? source->pixels + static_cast<std::size_t>(sy) * source->width : nullptr;
    for (int x = left; x < right; ++x) {
      if (!source) {
        row[x] = combine(row[x], 0);
        continue;
      }
      const int sx = ax.Sample(x - ax.dest);
      if (sx < 0 || sx >= source->width) continue;
      row[x] = combine(row[x], sourceRow[sx]);
    }
  });
}

DWORD PatternOf(DcObject& dc) {
  const auto& brush = dc.state().brush;
  return brush && !brush->hollow ? OpaquePixel(brush->color) : kOpaque;
}

// Unscaled copy through cairo, limited to the source's pixels.
void CairoCopy(DcObject& dc, int x, int y, int width, int height, BitmapObject& source, int sx,
               int sy) {
  // Keep the source rectangle inside the source.
  if (sx < 0) { x -= sx; width += sx; sx = 0; }
  if (sy < 0) { y -= sy; height += sy; sy = 0; }
  width = std::min(width, source.width() - sx);
  height = std::min(height, source.height() - sy);
  if (width <= 0 || height <= 0) return;
  cairo_t* cr = dc.Cairo();
  cairo_surface_t* from = source.Surface();
  cairo_surface_t* copy = nullptr;
  if (&source == dc.Bitmap()) {
    copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* c = cairo_create(copy);
    cairo_set_source_surface(c, from, -sx, -sy);
    cairo_set_operator(c, CAIRO_OPERATOR_SOURCE);
    cairo_paint(c);
    cairo_destroy(c);
    from = copy;
    sx = sy = 0;
  }
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_set_source_surface(cr, from, x - sx, y - sy);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_rectangle(cr, x, y, width, height);
  cairo_fill(cr);
  cairo_restore(cr);
  if (copy) cairo_surface_destroy(copy);
  dc.Finish();
}

BOOL Blit(HDC dc, int x, int y, int width, int height, HDC sourceDc, int sx, int sy,
          int sourceWidth, int sourceHeight, DWORD rop) {
  auto target = DcFromHandle(dc);
  if (!target) return FALSE;
  const BYTE code = static_cast<BYTE>(rop >> 16);
  std::shared_ptr<DcObject> source;
  if (RopUsesSource(code)) {
    source = DcFromHandle(sourceDc);
    if (!source || !source->Bitmap()) return FALSE;
  }
  if (!target->Bitmap() || width == 0 || height == 0) return TRUE;
  const POINT d = target->ToSurface(x, y);
  const POINT s = source ? source->ToSurface(sx, sy) : POINT{0, 0};
  if (code == 0xCC && width == sourceWidth && height == sourceHeight && width > 0 && height > 0) {
    CairoCopy(*target, d.x, d.y, width, height, *source->Bitmap(), s.x, s.y);
    return TRUE;
  }
  if (source && (sourceWidth == 0 || sourceHeight == 0)) return TRUE;
  const Axis ax = MakeAxis(d.x, width, s.x, source ? sourceWidth : width);
  const Axis ay = MakeAxis(d.y, height, s.y, source ? sourceHeight : height);
  const DWORD pattern = PatternOf(*target);
  SourcePixels pixels;
  if (source) pixels = ReadSource(*source->BitmapRef(), target->Bitmap());
  auto combine = [&](DWORD dst, DWORD src) {
    return code == 0xCC ? src : ApplyRop3(code, dst, src, pattern) | kOpaque;
  };
  ForEachSampled(*target, ax, ay, source ? &pixels : nullptr, combine);
  target->Finish();
  return TRUE;
}

bool InsideSource(const DcObject& source, int x, int y, int width, int height) {
  const BitmapObject* b = source.Bitmap();
  return b && x >= 0 && y >= 0 && width > 0 && height > 0 && x + width <= b->width() &&
         y + height <= b->height();
}

}  // namespace

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
  if (RopUsesSource(static_cast<BYTE>(rop >> 16))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return Blit(dc, x, y, width, height, nullptr, 0, 0, width, height, rop);
}

BOOL BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop) {
  return Blit(dc, x, y, width, height, source, sourceX, sourceY, width, height, rop);
}

BOOL StretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, DWORD rop) {
  return Blit(dc, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, rop);
}

int SetStretchBltMode(HDC dc, int mode) {
  auto target = DcFromHandle(dc);
  if (!target || mode < BLACKONWHITE || mode > HALFTONE) return 0;
  const int previous = target->state().stretchMode;
  target->state().stretchMode = mode;
  return previous;
}

int GetStretchBltMode(HDC dc) {
  auto target = DcFromHandle(dc);
  return target ? target->state().stretchMode : 0;
}

BOOL TransparentBlt(HDC dc, int x, int y, int width, int height, HDC sourceDc, int sourceX,
                    int sourceY, int sourceWidth, int sourceHeight, UINT transparent) {
  auto target = DcFromHandle(dc);
  auto source = DcFromHandle(sourceDc);
  if (!target || !source) return FALSE;
  const POINT s = source->ToSurface(sourceX, sourceY);
  if (width <= 0 || height <= 0 || !InsideSource(*source, s.x, s.y, sourceWidth, sourceHeight)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!target->Bitmap()) return TRUE;
  const POINT d = target->ToSurface(x, y);
  const SourcePixels pixels = ReadSource(*source->BitmapRef(), target->Bitmap());
  const DWORD key = OpaquePixel(transparent) & 0x00FFFFFFu;
  ForEachSampled(*target, MakeAxis(d.x, width, s.x, sourceWidth),
                 MakeAxis(d.y, height, s.y, sourceHeight), &pixels, [key](DWORD dst, DWORD src) {
                   return (src & 0x00FFFFFFu) == key ? dst : src | kOpaque;
                 });
  target->Finish();
  return TRUE;
}

BOOL AlphaBlend(HDC dc, int x, int y, int width, int height, HDC sourceDc, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, BLENDFUNCTION blend) {
  auto target = DcFromHandle(dc);
  auto source = DcFromHandle(sourceDc);
  if (!target || !source) return FALSE;
  const POINT s = source->ToSurface(sourceX, sourceY);
  if (blend.BlendOp != AC_SRC_OVER || width <= 0 || height <= 0 ||
      !InsideSource(*source, s.x, s.y, sourceWidth, sourceHeight)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  cairo_t* cr = target->Cairo();
  if (!cr) return TRUE;
  BitmapObject& from = *source->Bitmap();
  cairo_surface_t* fromSurface = from.Surface();
  cairo_surface_flush(fromSurface);
  // Without AC_SRC_ALPHA the source counts as opaque: read it as 24-bit colour.
  const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
  std::vector<DWORD> copy;
  const DWORD* pixels = from.Row(0);
  if (&from == target->Bitmap()) {
    copy.assign(pixels, pixels + static_cast<std::size_t>(from.width()) * from.height());
    pixels = copy.data();
  }
  cairo_surface_t* view = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<DWORD*>(pixels)),
      perPixel ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, from.width(), from.height(),
      from.width() * 4);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(view);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  const POINT d = target->ToSurface(x, y);
  const double scaleX = static_cast<double>(sourceWidth) / width;
  const double scaleY = static_cast<double>(sourceHeight) / height;
  cairo_matrix_t m;
  cairo_matrix_init(&m, scaleX, 0, 0, scaleY, s.x - d.x * scaleX, s.y - d.y * scaleY);
  cairo_pattern_set_matrix(pattern, &m);
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_rectangle(cr, d.x, d.y, width, height);
  cairo_clip(cr);
  cairo_set_source(cr, pattern);
  cairo_paint_with_alpha(cr, blend.SourceConstantAlpha / 255.0);
  cairo_restore(cr);
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(view);
  target->Finish();
  return TRUE;
}
