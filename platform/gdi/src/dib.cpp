// Packed-DIB decoding with bounds checks.
#include "dib.h"

#include <cstring>

namespace zx::gdi {
namespace {

DWORD ReadDword(const BYTE* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (DWORD{p[3]} << 24); }

// The index of pixel x in a row of 1, 4 or 8 bits per pixel.
DWORD PaletteIndex(const BYTE* row, int x, int bits) {
  switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    default: return row[x];
  }
}

}  // namespace

bool DecodeDib(const BYTE* data, std::size_t size, bool icon, DibImage& image) {
  if (!data || size < sizeof(BITMAPINFOHEADER)) return false;
  BITMAPINFOHEADER h;
  std::memcpy(&h, data, sizeof(h));
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > size || h.biPlanes != 1) return false;
  const int bits = h.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  const bool masks = h.biCompression == BI_BITFIELDS;
  if (h.biCompression != BI_RGB && !(masks && bits == 32)) return false;
  if (h.biWidth <= 0 || h.biWidth > 32767 || h.biHeight == 0 || h.biHeight < -32767 ||
      h.biHeight > 32767)
    return false;
  const bool topDown = h.biHeight < 0;
  if (icon && topDown) return false;
  const int rows = topDown ? -h.biHeight : h.biHeight;
  const int width = h.biWidth;
  const int height = icon ? rows / 2 : rows;
  if (height <= 0) return false;

  std::size_t at = h.biSize;
  DWORD channel[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
  if (masks) {
    if (h.biSize == sizeof(BITMAPINFOHEADER)) {
      if (size - at < 12) return false;
      for (int i = 0; i < 3; ++i) channel[i] = ReadDword(data + at + 4 * i);
      at += 12;
    } else {
      if (h.biSize < sizeof(BITMAPINFOHEADER) + 12) return false;
      for (int i = 0; i < 3; ++i) channel[i] = ReadDword(data + sizeof(BITMAPINFOHEADER) + 4 * i);
    }
    if (channel[0] != 0x00FF0000u || channel[1] != 0x0000FF00u || channel[2] != 0x000000FFu)
      return false;  // only the standard layout
  }
  std::size_t colours = 0;
  if (bits <= 8) {
    colours = h.biClrUsed ? h.biClrUsed : (std::size_t{1} << bits);
    if (colours > 256) return false;
  }
  if ((size - at) / 4 < colours) return false;
  const BYTE* palette = data + at;
  at += colours * 4;

  const std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
  const std::size_t maskStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
  const std::size_t needed = stride * height + (icon ? maskStride * height : 0);
  if (size - at < needed) return false;
  const BYTE* pixels = data + at;
  const BYTE* mask = icon ? pixels + stride * height : nullptr;

  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  image.alpha = false;
  for (int y = 0; y < height; ++y) {
    const int source = topDown ? y : height - 1 - y;
    const BYTE* row = pixels + stride * source;
    DWORD* out = image.pixels.data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      DWORD p;
      if (bits == 32) {
        p = ReadDword(row + 4 * x);
        if (p >> 24) image.alpha = true;
      } else if (bits == 24) {
        p = row[3 * x] | (row[3 * x + 1] << 8) | (DWORD{row[3 * x + 2]} << 16);
      } else {
        const DWORD index = PaletteIndex(row, x, bits);
        p = index < colours ? (ReadDword(palette + 4 * index) & 0x00FFFFFFu) : 0;
      }
      out[x] = p;
    }
  }
  if (image.alpha && bits == 32) return true;
  for (int y = 0; y < height; ++y) {
    const BYTE* maskRow = mask ? mask + maskStride * (height - 1 - y) : nullptr;
    DWORD* out = image.pixels.data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      const bool transparent = maskRow && ((maskRow[x >> 3] >> (7 - (x & 7))) & 1);
      out[x] = transparent ? 0 : (out[x] | 0xFF000000u);
    }
  }
  image.alpha = mask != nullptr;
  return true;
}

void Premultiply(std::vector<DWORD>& pixels) {
  for (DWORD& p : pixels) {
    const DWORD a = p >> 24;
    if (a == 255) continue;
    auto scale = [a](DWORD c) { return (c * a + 127) / 255; };
    p = (a << 24) | (scale((p >> 16) & 0xFF) << 16) | (scale((p >> 8) & 0xFF) << 8) | scale(p & 0xFF);
  }
}

}  // namespace zx::gdi
