// The state images of check boxes: image 0 an empty box, image 1 a ticked box, 16 x 16 each,
// drawn pixel by pixel so every machine shows the same.
#include <vector>

#include "control.h"

namespace zx::comctl {
namespace {

constexpr int kSide = 16;
constexpr DWORD kClear = 0x00000000u;
constexpr DWORD kFrame = 0xFF1C5180u;
constexpr DWORD kInside = 0xFFFFFFFFu;
constexpr DWORD kTick = 0xFF1A1A1Au;

void DrawBox(std::vector<DWORD>& strip, int offset, bool ticked) {
  auto at = [&](int x, int y) -> DWORD& { return strip[static_cast<std::size_t>(y) * kSide * 2 + offset + x]; };
  for (int y = 1; y <= 13; ++y)
    for (int x = 1; x <= 13; ++x) at(x, y) = (x == 1 || x == 13 || y == 1 || y == 13) ? kFrame : kInside;
  if (!ticked) return;
  // A tick from (4, 7) down to (6, 9) and up to (10, 5), three pixels thick.
  for (int i = 0; i <= 2; ++i)
    for (int t = 0; t < 3; ++t) at(4 + i, 7 + i + t) = kTick;
  for (int i = 0; i <= 4; ++i)
    for (int t = 0; t < 3; ++t) at(6 + i, 9 - i + t) = kTick;
}

}  // namespace

HIMAGELIST CreateCheckBoxImages() {
  std::vector<DWORD> strip(static_cast<std::size_t>(kSide) * kSide * 2, kClear);
  DrawBox(strip, 0, false);
  DrawBox(strip, kSide, true);
  HIMAGELIST list = ImageList_Create(kSide, kSide, ILC_COLOR32 | ILC_MASK, 2, 0);
  HBITMAP bitmap = CreateBitmap(kSide * 2, kSide, 1, 32, strip.data());
  if (!list || !bitmap || ImageList_Add(list, bitmap, nullptr) != 0) {
    if (list) ImageList_Destroy(list);
    list = nullptr;
  }
  if (bitmap) DeleteObject(bitmap);
  return list;
}

}  // namespace zx::comctl
