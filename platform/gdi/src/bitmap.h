// The bitmap object behind HBITMAP (GDI-internal): a 32-bit premultiplied ARGB cairo image
// surface. A bottom-up DIB section keeps the caller's rows apart from the surface's top-down
// rows and copies between them around every use.
#pragma once
#include <cairo.h>

#include <atomic>
#include <memory>

#include "objects.h"

namespace zx::gdi {

class BitmapObject : public GdiObject {
 public:
  // Pixels all `fill` (B, G, R, A in one DWORD). Null when the size is refused.
  static std::shared_ptr<BitmapObject> Create(int width, int height, DWORD fill);
  // A zeroed DIB section whose rows the caller reaches through dibBits().
  static std::shared_ptr<BitmapObject> CreateDib(int width, int height, bool bottomUp);
  ~BitmapObject() override;

  int width() const { return width_; }
  int height() const { return height_; }
  bool isDib() const { return dib_; }
  bool bottomUp() const { return bottomUp_; }
  void* dibBits() const { return dib_ ? (bottomUp_ ? callerRows_.get() : pixels_.get()) : nullptr; }

  // The surface, up to date with the caller's rows, for reading or drawing.
  cairo_surface_t* Surface();
  // Top-down rows of the surface for direct access (after Surface()).
  DWORD* Row(int y) { return pixels_.get() + static_cast<std::size_t>(y) * width_; }
  // After drawing into the surface or writing rows: tells cairo and the caller's rows.
  void Changed();

  // The memory DC holding this bitmap, if any (a bitmap is selected into one DC at a time).
  std::atomic<const void*> selectedIn{nullptr};

 private:
  BitmapObject(int width, int height, bool dib, bool bottomUp);
  int width_;
  int height_;
  bool dib_;
  bool bottomUp_;
  std::unique_ptr<DWORD[]> pixels_;
  std::unique_ptr<DWORD[]> callerRows_;  // bottom-up DIB sections only
  cairo_surface_t* surface_ = nullptr;
};

// Largest side accepted for a bitmap (cairo's limit).
inline constexpr int kMaxBitmapSide = 32767;

}  // namespace zx::gdi
