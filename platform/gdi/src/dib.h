// Decoding of packed DIBs, as BMP files, bitmap resources and icon images hold them
// (GDI-internal). Every read is checked against the size given.
#pragma once
#include <cstddef>
#include <vector>

#include "wingdi.h"

namespace zx::gdi {

struct DibImage {
  int width = 0;
  int height = 0;
  std::vector<DWORD> pixels;  // top-down rows; B, G, R, A (straight alpha) per DWORD
  bool alpha = false;         // 32-bit pixels with any non-zero alpha
};

// A packed DIB of 1, 4, 8, 24 or 32 bits. With `icon` the height holds the colour image and
// its AND mask (1 = transparent) stacked; without per-pixel alpha the mask gives the alpha.
// Without `icon`, pixels without alpha are opaque. False on damaged or unsupported data.
bool DecodeDib(const BYTE* data, std::size_t size, bool icon, DibImage& image);

// Straight alpha to premultiplied, in place.
void Premultiply(std::vector<DWORD>& pixels);

}  // namespace zx::gdi
