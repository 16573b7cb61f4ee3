// The compositor: the screen built from the top-level windows' retained surfaces in z-order,
// with window regions, colour keys and constant alpha, and saved as a PNG file.
#include <algorithm>
#include <vector>

#include "compositor.h"
#include "geometry.h"
#include "windowdc.h"
#include "wingdi.h"
#include "zx/gdi.h"
#include "zx/windowpaint.h"

namespace zx::user {
namespace {

constexpr DWORD kOpaque = 0xFF000000u;

DWORD PixelOf(COLORREF colour) {
  return kOpaque | (static_cast<DWORD>(GetRValue(colour)) << 16) |
         (static_cast<DWORD>(GetGValue(colour)) << 8) | GetBValue(colour);
}

// Which pixels of a width x height window its region covers (all when it has none).
std::vector<bool> RegionMask(HWND window, SIZE size) {
  std::vector<bool> mask(static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy), true);
  HRGN region = CopyWindowRegion(window, 0, 0);
  if (!region) return mask;
  HBITMAP bitmap = gdi::CreateSurfaceBitmap(size.cx, size.cy);
  HDC dc = bitmap ? gdi::CreateSurfaceDC(bitmap) : nullptr;
  std::vector<DWORD> pixels;
  SIZE got{};
  if (dc) {
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRgn(dc, region, white);
    DeleteObject(white);
    DeleteDC(dc);
    gdi::CopyBitmapPixels(bitmap, pixels, got);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteObject(region);
  for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = i < pixels.size() && (pixels[i] & 0xFF) != 0;
  return mask;
}

DWORD Blend(DWORD over, DWORD under, unsigned alpha) {
  DWORD out = kOpaque;
  for (int shift = 0; shift < 24; shift += 8) {
    const unsigned a = (over >> shift) & 0xFF;
    const unsigned b = (under >> shift) & 0xFF;
    out |= static_cast<DWORD>((a * alpha + b * (255 - alpha) + 127) / 255) << shift;
  }
  return out;
}

// Draws one window's surface into the screen picture (which covers `area`).
void Compose(const TopLevelView& layer, const RECT& area, std::vector<DWORD>& screen) {
  std::vector<DWORD> pixels;
  SIZE size{};
  if (!CopySurface(layer.handle, pixels, size, nullptr)) return;
  const std::vector<bool> mask = RegionMask(layer.handle, size);
  const Layering layering = LayeringOf(layer.handle);
  const bool keyed = layering.set && (layering.flags & LWA_COLORKEY);
  const unsigned alpha = layering.set && (layering.flags & LWA_ALPHA) ? layering.alpha : 255;
  const DWORD key = PixelOf(layering.key) & 0xFFFFFF;
  const LONG areaWidth = area.right - area.left;
  for (LONG y = 0; y < size.cy; ++y) {
    const LONG sy = layer.screen.top + y;
    if (sy < area.top || sy >= area.bottom) continue;
    for (LONG x = 0; x < size.cx; ++x) {
      const LONG sx = layer.screen.left + x;
      if (sx < area.left || sx >= area.right) continue;
      const std::size_t from = static_cast<std::size_t>(y) * static_cast<std::size_t>(size.cx) + static_cast<std::size_t>(x);
      if (!mask[from]) continue;
      const DWORD pixel = pixels[from] | kOpaque;
      if (keyed && (pixel & 0xFFFFFF) == key) continue;
      DWORD& to = screen[static_cast<std::size_t>(sy - area.top) * static_cast<std::size_t>(areaWidth) +
                         static_cast<std::size_t>(sx - area.left)];
      to = alpha == 255 ? pixel : Blend(pixel, to, alpha);
    }
  }
}

}  // namespace

std::vector<TopLevelView> VisibleTopLevels() {
  std::vector<TopLevelView> views;
  std::lock_guard<std::mutex> guard(TableLock());
  for (HWND h : TopLevelLocked())
    if (const Window* w = FindLocked(h); w && (w->style & WS_VISIBLE))
      views.push_back(TopLevelView{h, WindowRectOnScreenLocked(*w), w->style, w->exStyle, w->owner});
  std::reverse(views.begin(), views.end());
  return views;
}

HBITMAP ComposeScreen(const RECT* area) {
  const RECT part = area ? *area : ScreenRect();
  const LONG width = part.right - part.left;
  const LONG height = part.bottom - part.top;
  if (width <= 0 || height <= 0) return nullptr;
  std::vector<DWORD> screen(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                            PixelOf(gdi::SystemColour(COLOR_DESKTOP)));
  for (const TopLevelView& layer : VisibleTopLevels()) Compose(layer, part, screen);
  HBITMAP bitmap = gdi::CreateSurfaceBitmap(width, height);
  if (!bitmap) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC dc = CreateCompatibleDC(nullptr);
  const bool set = SetDIBits(dc, bitmap, 0, static_cast<UINT>(height), screen.data(), &info, DIB_RGB_COLORS) == height;
  DeleteDC(dc);
  if (set) return bitmap;
  DeleteObject(bitmap);
  return nullptr;
}

bool SaveScreenPng(const std::string& hostPath, const RECT* area) {
  HBITMAP screen = ComposeScreen(area);
  if (!screen) return false;
  const bool saved = gdi::SaveBitmapPng(screen, hostPath);
  DeleteObject(screen);
  return saved;
}

}  // namespace zx::user
