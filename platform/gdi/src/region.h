// A set of pixels as a list of rectangles (GDI-internal), and the region object behind HRGN.
#pragma once
#include <cairo.h>

#include "objects.h"

namespace zx::gdi {

class Region {
 public:
  Region();
  explicit Region(const RECT& rect);
  Region(const Region& other);
  Region& operator=(const Region& other);
  ~Region();

  // The pixels of [left, right) x [top, bottom) cut by corner ellipses of the given size.
  static Region RoundRect(const RECT& box, int ellipseWidth, int ellipseHeight);

  void Intersect(const Region& other);
  void Unite(const Region& other);
  void Subtract(const Region& other);
  void Xor(const Region& other);
  void Translate(int dx, int dy);
  bool Contains(int x, int y) const;
  bool Overlaps(const RECT& rect) const;
  bool Equals(const Region& other) const;
  bool Empty() const;
  int RectCount() const;
  RECT RectAt(int index) const;
  RECT Box() const;  // all zeros when empty
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Complexity() const;
  const cairo_region_t* get() const { return region_; }

 private:
  cairo_region_t* region_;
};

class RegionObject : public GdiObject {
 public:
  explicit RegionObject(Region region) : GdiObject(OBJ_REGION), region(std::move(region)) {}
  Region region;
};

}  // namespace zx::gdi
