// The region API: making, combining, moving and testing regions.
#include <algorithm>

#include "errhandlingapi.h"
#include "region.h"
#include "zx/gdi.h"

using namespace zx::gdi;

namespace {

HRGN NewRegion(Region region) { return Insert<HRGN>(std::make_shared<RegionObject>(std::move(region))); }

std::shared_ptr<RegionObject> Find(HRGN region) {
  auto object = ReferenceAs<RegionObject>(region);
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

RECT Ordered(int left, int top, int right, int bottom) {
  return {std::min(left, right), std::min(top, bottom), std::max(left, right),
          std::max(top, bottom)};
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return NewRegion(Region(Ordered(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse,
                        int heightEllipse) {
  return NewRegion(
      Region::RoundRect(Ordered(left, top, right, bottom), widthEllipse, heightEllipse));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  const RECT box = Ordered(left, top, right, bottom);
  return NewRegion(Region::RoundRect(box, box.right - box.left, box.bottom - box.top));
}

int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
  auto target = Find(destination);
  auto first = Find(source1);
  if (!target || !first) return ERROR;
  Region result = first->region;
  if (mode != RGN_COPY) {
    auto second = Find(source2);
    if (!second) return ERROR;
    switch (mode) {
      case RGN_AND: result.Intersect(second->region); break;
      case RGN_OR: result.Unite(second->region); break;
      case RGN_XOR: result.Xor(second->region); break;
      case RGN_DIFF: result.Subtract(second->region); break;
      default: SetLastError(ERROR_INVALID_PARAMETER); return ERROR;
    }
  }
  target->region = std::move(result);
  return target->region.Complexity();
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
  auto target = Find(region);
  if (!target) return FALSE;
  target->region = Region(Ordered(left, top, right, bottom));
  return TRUE;
}

int OffsetRgn(HRGN region, int x, int y) {
  auto target = Find(region);
  if (!target) return ERROR;
  target->region.Translate(x, y);
  return target->region.Complexity();
}

BOOL EqualRgn(HRGN region1, HRGN region2) {
  auto a = Find(region1);
  auto b = Find(region2);
  if (!a || !b) return ERROR;
  return a->region.Equals(b->region) ? TRUE : FALSE;
}

BOOL PtInRegion(HRGN region, int x, int y) {
  auto target = Find(region);
  return target && target->region.Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN region, const RECT* rect) {
  auto target = Find(region);
  if (!target || !rect) return FALSE;
  return target->region.Overlaps(Ordered(rect->left, rect->top, rect->right, rect->bottom))
             ? TRUE
             : FALSE;
}

int GetRgnBox(HRGN region, LPRECT rect) {
  auto target = Find(region);
  if (!target || !rect) return ERROR;
  *rect = target->region.Box();
  return target->region.Complexity();
}

bool zx::gdi::CopyRegionRects(HRGN region, std::vector<RECT>& rects) {
  auto target = Find(region);
  if (!target) return false;
  const int count = target->region.RectCount();
  rects.clear();
  rects.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) rects.push_back(target->region.RectAt(i));
  return true;
}
