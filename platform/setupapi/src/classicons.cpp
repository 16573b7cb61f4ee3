// The class image list's icons: framed tiles with a colour and a dot pattern per class, and a
// question mark for the Unknown class.
#include "classicons.h"

#include <algorithm>
#include <array>

namespace zx::devices {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFu;
constexpr std::uint32_t kGrey = 0x808080u;

// A saturated colour around the hue circle, `step` of `steps`.
std::uint32_t HueColour(std::size_t step, std::size_t steps) {
  const unsigned hue = static_cast<unsigned>(step * 1536 / std::max<std::size_t>(steps, 1));
  const unsigned ramp = hue % 256, sector = hue / 256;
  const unsigned hi = 0xD0, lo = 0x30;
  const unsigned up = lo + (hi - lo) * ramp / 255, down = hi - (hi - lo) * ramp / 255;
  unsigned r = 0, g = 0, b = 0;
  switch (sector) {
    case 0: r = hi, g = up, b = lo; break;
    case 1: r = down, g = hi, b = lo; break;
    case 2: r = lo, g = hi, b = up; break;
    case 3: r = lo, g = down, b = hi; break;
    case 4: r = up, g = lo, b = hi; break;
    default: r = hi, g = lo, b = down; break;
  }
  return r << 16 | g << 8 | b;
}

std::uint32_t Darker(std::uint32_t colour) { return colour >> 1 & 0x7F7F7Fu; }

// The question mark of the Unknown class, 6 columns by 9 rows, drawn from (5, 3).
constexpr std::array<const char*, 9> kQuestion = {
    " #### ", "##  ##", "    ##", "   ## ", "  ##  ", "  ##  ", "      ", "  ##  ", "  ##  "};

class Tile {
 public:
  Tile(std::vector<std::uint32_t>& strip, std::size_t stripWidth, std::size_t left)
      : strip_(strip), stripWidth_(stripWidth), left_(left) {}

  void Put(int x, int y, std::uint32_t colour) {
    strip_[static_cast<std::size_t>(y) * stripWidth_ + left_ + x] = kOpaque | colour;
  }

  // A frame with cut corners around a filled inside.
  void Frame(std::uint32_t fill) {
    const int last = kClassIconSize - 1;
    for (int y = 0; y <= last; ++y)
      for (int x = 0; x <= last; ++x) {
        const bool edgeX = x == 0 || x == last, edgeY = y == 0 || y == last;
        if (edgeX && edgeY) continue;
        Put(x, y, edgeX || edgeY ? Darker(fill) : fill);
      }
  }

  // A 2 x 2 dot for each set bit of `pattern`, in a grid of three columns by three rows.
  void Dots(std::size_t pattern) {
    for (int bit = 0; bit < 9; ++bit) {
      if ((pattern >> bit & 1) == 0) continue;
      const int x = 3 + bit % 3 * 4, y = 3 + bit / 3 * 4;
      for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) Put(x + dx, y + dy, kWhite);
    }
  }

  void Question() {
    for (int row = 0; row < static_cast<int>(kQuestion.size()); ++row)
      for (int col = 0; kQuestion[row][col] != '\0'; ++col)
        if (kQuestion[row][col] == '#') Put(5 + col, 3 + row, kWhite);
  }

 private:
  std::vector<std::uint32_t>& strip_;
  std::size_t stripWidth_;
  std::size_t left_;
};

}  // namespace

std::vector<std::uint32_t> DrawClassIconStrip(std::size_t count, std::size_t unknownIndex) {
  const std::size_t width = count * kClassIconSize;
  std::vector<std::uint32_t> strip(width * kClassIconSize, kOpaque | kClassIconKey);
  for (std::size_t i = 0; i < count; ++i) {
    Tile tile(strip, width, i * kClassIconSize);
    if (i == unknownIndex) {
      tile.Frame(kGrey);
      tile.Question();
    } else {
      tile.Frame(HueColour(i, count));
      tile.Dots(i + 1);
    }
  }
  return strip;
}

}  // namespace zx::devices
