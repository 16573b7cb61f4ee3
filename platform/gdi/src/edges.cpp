// DrawEdge and DrawFocusRect.
#include "pixels.h"
#include "windraw.h"
#include "zx/gdi.h"

using namespace zx::gdi;

namespace {

// System colour indexes used by the edges.
constexpr int kWindowFrame = 6;
constexpr int kWindow = 5;
constexpr int kButtonFace = 15;
constexpr int kButtonShadow = 16;
constexpr int kButtonHighlight = 20;
constexpr int kDarkShadow = 21;
constexpr int kLight = 22;

void Line(HDC dc, int left, int top, int right, int bottom, int colourIndex) {
  HBRUSH brush = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(colourIndex + 1));
  const RECT r{left, top, right, bottom};
  FillRect(dc, &r, brush);
}

// One ring of the edge: top and left in one colour, then bottom and right in the other.
void Ring(HDC dc, const RECT& r, UINT flags, int topLeft, int bottomRight) {
  if (flags & BF_LEFT) Line(dc, r.left, r.top, r.left + 1, r.bottom, topLeft);
  if (flags & BF_TOP) Line(dc, r.left, r.top, r.right, r.top + 1, topLeft);
  if (flags & BF_RIGHT) Line(dc, r.right - 1, r.top, r.right, r.bottom, bottomRight);
  if (flags & BF_BOTTOM) Line(dc, r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
}

RECT Shrink(const RECT& r, UINT flags) {
  return {r.left + ((flags & BF_LEFT) ? 1 : 0), r.top + ((flags & BF_TOP) ? 1 : 0),
          r.right - ((flags & BF_RIGHT) ? 1 : 0), r.bottom - ((flags & BF_BOTTOM) ? 1 : 0)};
}

}  // namespace

BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags) {
  constexpr UINT kDiagonal = 0x0010;
  if (!DcFromHandle(dc) || !rect || (flags & kDiagonal)) return FALSE;
  RECT r = *rect;
  const bool mono = (flags & BF_MONO) != 0;
  const bool flat = (flags & BF_FLAT) != 0;
  if (edge & BDR_OUTER) {
    if (mono || flat) {
      const int colour = mono ? kWindowFrame : kButtonShadow;
      Ring(dc, r, flags, colour, colour);
    } else if (edge & BDR_RAISEDOUTER) {
      Ring(dc, r, flags, kLight, kDarkShadow);
    } else {
      Ring(dc, r, flags, kButtonShadow, kButtonHighlight);
    }
    r = Shrink(r, flags);
  }
  if (edge & BDR_INNER) {
    if (mono || flat) {
      const int colour = mono ? kWindow : kButtonFace;
      Ring(dc, r, flags, colour, colour);
    } else if (edge & BDR_RAISEDINNER) {
      Ring(dc, r, flags, kButtonHighlight, kButtonShadow);
    } else {
      Ring(dc, r, flags, kDarkShadow, kLight);
    }
    r = Shrink(r, flags);
  }
  if (flags & BF_MIDDLE) Line(dc, r.left, r.top, r.right, r.bottom, mono ? kWindow : kButtonFace);
  if (flags & BF_ADJUST) *rect = r;
  return TRUE;
}

BOOL DrawFocusRect(HDC dc, const RECT* rect) {
  auto object = DcFromHandle(dc);
  if (!object || !rect) return FALSE;
  if (rect->right <= rect->left || rect->bottom <= rect->top || !object->Bitmap()) return TRUE;
  const POINT a = object->ToSurface(rect->left, rect->top);
  const POINT b = object->ToSurface(rect->right, rect->bottom);
  // Every other pixel of the frame, each visited once, is inverted.
  auto invert = [&](DWORD* row, int left, int right, int y) {
    for (int x = left; x < right; ++x) {
      const bool edge = y == a.y || y == b.y - 1 || x == a.x || x == b.x - 1;
      if (edge && ((x + y) & 1) == 0) row[x] ^= 0x00FFFFFFu;
    }
  };
  ForEachDrawable(*object, {a.x, a.y, b.x, a.y + 1}, invert);
  if (b.y - 1 > a.y) ForEachDrawable(*object, {a.x, b.y - 1, b.x, b.y}, invert);
  ForEachDrawable(*object, {a.x, a.y + 1, a.x + 1, b.y - 1}, invert);
  if (b.x - 1 > a.x) ForEachDrawable(*object, {b.x - 1, a.y + 1, b.x, b.y - 1}, invert);
  object->Finish();
  return TRUE;
}
