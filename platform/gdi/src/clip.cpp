// Clipping of a DC: the clip region (device coordinates) and the queries over what can be
// drawn.
#include "dc.h"
#include "errhandlingapi.h"

using namespace zx::gdi;

namespace {

RECT ToDevice(DcObject& dc, int left, int top, int right, int bottom) {
  const POINT o = dc.LogicalOffset();
  return {left + o.x, top + o.y, right + o.x, bottom + o.y};
}

// The clip region, or the whole device when there is none.
Region CurrentClip(DcObject& dc) {
  return dc.state().clip ? *dc.state().clip : Region(dc.DeviceBounds());
}

int Apply(DcObject& dc, std::optional<Region> clip) {
  dc.state().clip = std::move(clip);
  dc.Invalidate();
  return dc.DeviceClip().Complexity();
}

}  // namespace

int ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
  auto object = DcFromHandle(dc);
  if (!object) return ERROR;
  if (!region) {
    if (mode != RGN_COPY) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return ERROR;
    }
    return Apply(*object, std::nullopt);
  }
  auto source = ReferenceAs<RegionObject>(region);
  if (!source) {
    SetLastError(ERROR_INVALID_HANDLE);
    return ERROR;
  }
  Region clip = CurrentClip(*object);
  switch (mode) {
    case RGN_COPY: clip = source->region; break;
    case RGN_AND: clip.Intersect(source->region); break;
    case RGN_OR: clip.Unite(source->region); break;
    case RGN_XOR: clip.Xor(source->region); break;
    case RGN_DIFF: clip.Subtract(source->region); break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return ERROR;
  }
  return Apply(*object, std::move(clip));
}

int SelectClipRgn(HDC dc, HRGN region) { return ExtSelectClipRgn(dc, region, RGN_COPY); }

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
  auto object = DcFromHandle(dc);
  if (!object) return ERROR;
  Region clip = CurrentClip(*object);
  clip.Intersect(Region(ToDevice(*object, left, top, right, bottom)));
  return Apply(*object, std::move(clip));
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
  auto object = DcFromHandle(dc);
  if (!object) return ERROR;
  Region clip = CurrentClip(*object);
  clip.Subtract(Region(ToDevice(*object, left, top, right, bottom)));
  return Apply(*object, std::move(clip));
}

int GetClipBox(HDC dc, LPRECT rect) {
  auto object = DcFromHandle(dc);
  if (!object || !rect) return ERROR;
  const Region clip = object->DeviceClip();
  RECT box = clip.Box();
  const POINT o = object->LogicalOffset();
  if (!clip.Empty()) box = {box.left - o.x, box.top - o.y, box.right - o.x, box.bottom - o.y};
  *rect = box;
  return clip.Complexity();
}

int GetClipRgn(HDC dc, HRGN region) {
  auto object = DcFromHandle(dc);
  auto target = ReferenceAs<RegionObject>(region);
  if (!object || !target) return -1;
  if (!object->state().clip) return 0;
  target->region = *object->state().clip;
  return 1;
}

BOOL PtVisible(HDC dc, int x, int y) {
  auto object = DcFromHandle(dc);
  if (!object) return FALSE;
  const POINT p = object->ToSurface(x, y);
  return object->Drawable().Contains(p.x, p.y);
}

BOOL RectVisible(HDC dc, const RECT* rect) {
  auto object = DcFromHandle(dc);
  if (!object || !rect) return FALSE;
  const POINT a = object->ToSurface(rect->left, rect->top);
  const POINT b = object->ToSurface(rect->right, rect->bottom);
  return object->Drawable().Overlaps(RECT{a.x, a.y, b.x, b.y});
}
