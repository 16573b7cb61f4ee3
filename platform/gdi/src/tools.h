// Pens and brushes (GDI-internal).
#pragma once
#include "objects.h"

namespace zx::gdi {

class BrushObject : public GdiObject {
 public:
  BrushObject(bool hollow, COLORREF color) : GdiObject(OBJ_BRUSH), hollow(hollow), color(color) {}
  const bool hollow;
  const COLORREF color;
};

class PenObject : public GdiObject {
 public:
  PenObject(int style, int width, COLORREF color)
      : GdiObject(OBJ_PEN), style(style), width(width < 1 ? 1 : width), color(color) {}
  bool hollow() const { return style == PS_NULL; }
  const int style;
  const int width;
  const COLORREF color;
};

// The brush a handle stands for: a brush object, or a system colour index plus one.
std::shared_ptr<BrushObject> BrushFromHandle(HBRUSH brush);

// Pixel value (B, G, R, A in one DWORD) of an opaque colour.
inline DWORD OpaquePixel(COLORREF color) {
  return 0xFF000000u | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}
inline COLORREF PixelColour(DWORD pixel) {
  return ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
}

}  // namespace zx::gdi
