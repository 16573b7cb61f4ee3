// Bitmap objects over cairo image surfaces.
#include "bitmap.h"

#include <algorithm>
#include <cstring>

namespace zx::gdi {

BitmapObject::BitmapObject(int width, int height, bool dib, bool bottomUp)
    : GdiObject(OBJ_BITMAP), width_(width), height_(height), dib_(dib), bottomUp_(bottomUp) {
  const std::size_t count = static_cast<std::size_t>(width) * height;
  pixels_.reset(new DWORD[count]());
  if (bottomUp) callerRows_.reset(new DWORD[count]());
  surface_ = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels_.get()),
                                                 CAIRO_FORMAT_ARGB32, width, height, width * 4);
}

BitmapObject::~BitmapObject() { cairo_surface_destroy(surface_); }

namespace {
bool SizeAccepted(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
         static_cast<std::size_t>(width) * height <= (std::size_t{1} << 28);
}
}  // namespace

std::shared_ptr<BitmapObject> BitmapObject::Create(int width, int height, DWORD fill) {
  if (!SizeAccepted(width, height)) return nullptr;
  std::shared_ptr<BitmapObject> bitmap(new BitmapObject(width, height, false, false));
  if (fill != 0) std::fill_n(bitmap->pixels_.get(), static_cast<std::size_t>(width) * height, fill);
  return bitmap;
}

std::shared_ptr<BitmapObject> BitmapObject::CreateDib(int width, int height, bool bottomUp) {
  if (!SizeAccepted(width, height)) return nullptr;
  return std::shared_ptr<BitmapObject>(new BitmapObject(width, height, true, bottomUp));
}

cairo_surface_t* BitmapObject::Surface() {
  if (dib_) {
    if (bottomUp_) {
      for (int y = 0; y < height_; ++y)
        std::memcpy(Row(y), callerRows_.get() + static_cast<std::size_t>(height_ - 1 - y) * width_,
                    static_cast<std::size_t>(width_) * 4);
    }
    cairo_surface_mark_dirty(surface_);  // the caller may have written its rows
  }
  return surface_;
}

void BitmapObject::Changed() {
  cairo_surface_flush(surface_);
  cairo_surface_mark_dirty(surface_);
  if (bottomUp_) {
    for (int y = 0; y < height_; ++y)
      std::memcpy(callerRows_.get() + static_cast<std::size_t>(height_ - 1 - y) * width_, Row(y),
                  static_cast<std::size_t>(width_) * 4);
  }
}

}  // namespace zx::gdi
