// Regions as rectangle lists on cairo's region type.
#include "region.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zx::gdi {
namespace {

cairo_rectangle_int_t ToCairo(const RECT& r) {
  return {r.left, r.top, std::max(0, r.right - r.left), std::max(0, r.bottom - r.top)};
}

// Left inset of a row of an ellipse quadrant: the ellipse of radii rx, ry centred ry below
// (or above) the band's outer edge, sampled at the row's middle.
int Inset(double rx, double ry, double distanceFromCentre) {
  if (distanceFromCentre >= ry) return static_cast<int>(std::lround(rx));
  const double t = distanceFromCentre / ry;
  return static_cast<int>(std::floor(rx - rx * std::sqrt(1.0 - t * t) + 0.5));
}

}  // namespace

Region::Region() : region_(cairo_region_create()) {}

Region::Region(const RECT& rect) {
  const cairo_rectangle_int_t r = ToCairo(rect);
  region_ = cairo_region_create_rectangle(&r);
}

Region::Region(const Region& other) : region_(cairo_region_copy(other.region_)) {}

Region& Region::operator=(const Region& other) {
  if (this != &other) {
    cairo_region_t* copy = cairo_region_copy(other.region_);
    cairo_region_destroy(region_);
    region_ = copy;
  }
  return *this;
}

Region::~Region() { cairo_region_destroy(region_); }

Region Region::RoundRect(const RECT& box, int ellipseWidth, int ellipseHeight) {
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  if (width <= 0 || height <= 0) return Region();
  const double rx = std::min(std::abs(ellipseWidth), width) / 2.0;
  const double ry = std::min(std::abs(ellipseHeight), height) / 2.0;
  const double topCentre = box.top + ry;
  const double bottomCentre = box.bottom - ry;
  std::vector<cairo_rectangle_int_t> rows;
  for (int y = box.top; y < box.bottom; ++y) {
    const double middle = y + 0.5;
    int inset = 0;
    if (ry > 0 && middle < topCentre) inset = Inset(rx, ry, topCentre - middle);
    else if (ry > 0 && middle > bottomCentre) inset = Inset(rx, ry, middle - bottomCentre);
    if (width - 2 * inset > 0) rows.push_back({box.left + inset, y, width - 2 * inset, 1});
  }
  Region result;
  cairo_region_destroy(result.region_);
  result.region_ = cairo_region_create_rectangles(rows.data(), static_cast<int>(rows.size()));
  return result;
}

void Region::Intersect(const Region& other) { cairo_region_intersect(region_, other.region_); }
void Region::Unite(const Region& other) { cairo_region_union(region_, other.region_); }
void Region::Subtract(const Region& other) { cairo_region_subtract(region_, other.region_); }
void Region::Xor(const Region& other) { cairo_region_xor(region_, other.region_); }
void Region::Translate(int dx, int dy) { cairo_region_translate(region_, dx, dy); }

bool Region::Contains(int x, int y) const {
  return cairo_region_contains_point(region_, x, y) != 0;
}

bool Region::Overlaps(const RECT& rect) const {
  const cairo_rectangle_int_t r = ToCairo(rect);
  return cairo_region_contains_rectangle(region_, &r) != CAIRO_REGION_OVERLAP_OUT;
}

bool Region::Equals(const Region& other) const {
  return cairo_region_equal(region_, other.region_) != 0;
}

bool Region::Empty() const { return cairo_region_is_empty(region_) != 0; }

int Region::RectCount() const { return cairo_region_num_rectangles(region_); }

RECT Region::RectAt(int index) const {
  cairo_rectangle_int_t r;
  cairo_region_get_rectangle(region_, index, &r);
  return {r.x, r.y, r.x + r.width, r.y + r.height};
}

RECT Region::Box() const {
  if (Empty()) return {0, 0, 0, 0};
  cairo_rectangle_int_t r;
  cairo_region_get_extents(region_, &r);
  return {r.x, r.y, r.x + r.width, r.y + r.height};
}

int Region::Complexity() const {
  const int count = RectCount();
  return count == 0 ? NULLREGION : count == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace zx::gdi
