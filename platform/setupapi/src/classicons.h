// The small icons of the class image list, drawn in code: one 16 x 16 picture per device
// setup class, side by side in one strip. Platform-internal.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zx::devices {

constexpr int kClassIconSize = 16;
// The strip's transparent pixels (magenta, 0x00RRGGBB).
constexpr std::uint32_t kClassIconKey = 0xFF00FFu;

// A strip of `count` icons (32-bit pixels 0xAARRGGBB, rows top-down, count * 16 wide):
// every icon a framed tile of its own colour with its own pattern of dots; the icon at
// `unknownIndex` is a grey tile with a question mark.
std::vector<std::uint32_t> DrawClassIconStrip(std::size_t count, std::size_t unknownIndex);

}  // namespace zx::devices
