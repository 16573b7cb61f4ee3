// Image file encoders of the placeholder generator: 24-bit BMP, RGBA PNG, and icons and
// cursors of 32-bit images, each of one flat colour per state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zx::resgen {

struct Rgb {
  std::uint8_t r, g, b;
};

// An image of `states` strips side by side, strip i of `width` x `height` in colours[i].
std::string EncodeBmp(int width, int height, const std::vector<Rgb>& colours);
std::string EncodePng(int width, int height, const std::vector<Rgb>& colours);
// One image per size, all of the first colour; cursors carry the hot spot.
struct Size {
  int width, height;
};
std::string EncodeIcon(const std::vector<Size>& sizes, Rgb colour, bool cursor, int hotX, int hotY);

}  // namespace zx::resgen
