// Test helpers for the GDI: a memory DC over a fresh bitmap, and pixel queries.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>

#include "windraw.h"
#include "wingdi.h"
#include "zx/gdi.h"

namespace zx::test {

// A memory DC with a width x height bitmap filled with `fill`.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255)) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(dc_, width, height);
    previous_ = SelectObject(dc_, bitmap_);
    HBRUSH brush = CreateSolidBrush(fill);
    const RECT all{0, 0, width, height};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
    reader_ = zx::gdi::CreateSurfaceDC(bitmap_);
  }
  ~Canvas() {
    DeleteDC(reader_);
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // The pixel of the bitmap, whatever the DC's origins and clipping.
  COLORREF At(int x, int y) const { return GetPixel(reader_, x, y); }
  // Pixels of that colour in [left, right) x [top, bottom).
  int Count(COLORREF colour, RECT area) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) n += At(x, y) == colour;
    return n;
  }
  int Count(COLORREF colour) const { return Count(colour, {0, 0, width_, height_}); }
  // Bounding box of the pixels that differ from `background`; empty when none.
  RECT InkBox(COLORREF background) const {
    RECT box{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (At(x, y) != background) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    if (box.right == 0) box = {0, 0, 0, 0};
    return box;
  }

 private:
  int width_;
  int height_;
  HDC dc_;
  HDC reader_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kGreen = RGB(0, 255, 0);
inline constexpr COLORREF kBlue = RGB(0, 0, 255);

}  // namespace zx::test
