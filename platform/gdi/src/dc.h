// The device-context object behind HDC (GDI-internal): its target surface, its selected
// objects and modes, its coordinate origins and clipping, and a cairo context kept prepared
// for drawing in logical coordinates.
#pragma once
#include <cairo.h>

#include <memory>
#include <optional>
#include <vector>

#include "bitmap.h"
#include "font.h"
#include "region.h"
#include "tools.h"

namespace zx::gdi {

struct DcState {
  std::shared_ptr<BitmapObject> bitmap;  // memory DCs
  std::shared_ptr<PenObject> pen;
  std::shared_ptr<BrushObject> brush;
  std::shared_ptr<FontObject> font;
  HGDIOBJ bitmapHandle = nullptr;
  HGDIOBJ penHandle = nullptr;
  HGDIOBJ brushHandle = nullptr;
  HGDIOBJ fontHandle = nullptr;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  UINT textAlign = TA_LEFT | TA_TOP;
  int stretchMode = BLACKONWHITE;
  POINT windowOrg{0, 0};
  POINT viewportOrg{0, 0};
  POINT current{0, 0};
  std::optional<Region> clip;  // device coordinates
};

class DcObject : public GdiObject {
 public:
  enum class Target { Memory, Display, Surface };
  DcObject(Target target, std::shared_ptr<BitmapObject> surface);
  ~DcObject() override;

  Target target() const { return target_; }
  DcState& state() { return state_; }
  std::vector<DcState>& saved() { return saved_; }

  // The bitmap drawn into: the selected bitmap, or the fixed surface.
  BitmapObject* Bitmap() const;
  std::shared_ptr<BitmapObject> BitmapRef() const;
  // Where a surface DC's device (0,0) lies on its surface and what it may touch.
  void SetArea(POINT origin, std::optional<Region> visible);

  // Logical point to surface pixel.
  POINT ToSurface(int x, int y) const;
  POINT LogicalOffset() const;  // add to logical to get device
  // Pixels that may be drawn, in surface coordinates.
  const Region& Drawable();
  // The device-coordinate clip in effect (surface bounds, visible area, clip region).
  Region DeviceClip();
  // Device-coordinate bounds of the DC without a clip region.
  RECT DeviceBounds() const;

  // The cairo context, clipped to Drawable() and translated so that logical coordinates
  // apply; callers bracket their changes with cairo_save/cairo_restore. Null when there is
  // nothing to draw into. Call Finish() after drawing.
  cairo_t* Cairo();
  void Finish();
  // Origins, clip or target changed.
  void Invalidate();

 private:
  Target target_;
  std::shared_ptr<BitmapObject> surface_;  // Display and Surface DCs
  POINT origin_{0, 0};
  std::optional<Region> visible_;  // device coordinates
  DcState state_;
  std::vector<DcState> saved_;
  std::optional<Region> drawable_;
  cairo_t* cairo_ = nullptr;
  cairo_surface_t* cairoSurface_ = nullptr;
  bool prepared_ = false;
};

std::shared_ptr<DcObject> DcFromHandle(HDC dc);

}  // namespace zx::gdi
