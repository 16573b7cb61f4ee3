// The pictures the generator draws: 32-bit pixels, straight (not premultiplied) alpha, with
// the colour words of the lists.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zx::resgen {

struct Rgb {
  std::uint8_t r, g, b;
};

struct Size {
  int width, height;
};

// Rows from the top, each pixel 0xAARRGGBB.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// #RRGGBB; throws std::invalid_argument on anything else.
Rgb ParseRgb(const std::string& text);

}  // namespace zx::resgen
