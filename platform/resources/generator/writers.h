// Image file encoders of the generator: 24-bit BMP, RGBA PNG, and icons and cursors of 32-bit
// images with their transparency mask.
#pragma once
#include <string>
#include <vector>

#include "image.h"

namespace zx::resgen {

// BMP keeps the colours only: the pictures it holds are opaque.
std::string EncodeBmp(const Image& image);
std::string EncodePng(const Image& image);
// One entry per image; cursors carry the hot spot.
std::string EncodeIcon(const std::vector<Image>& images, bool cursor, int hotX, int hotY);

}  // namespace zx::resgen
