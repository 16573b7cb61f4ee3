// BCMenuMemDC: drawing over a DC's rectangle goes to a memory bitmap in the target's
// coordinates and reaches the target only when the memory DC goes away.
#include <gtest/gtest.h>

#include "BCMenuMemDC.h"
#include "machine_fixture.h"

namespace zx::test {
namespace {

TEST(BCMenuMemDC, DrawingReachesTheTargetWhenItGoesAway) {
  const HDC screen = GetDC(nullptr);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 30);
  ReleaseDC(nullptr, screen);
  const HDC target = CreateCompatibleDC(nullptr);
  const HGDIOBJ old = SelectObject(target, bitmap);
  RECT all{0, 0, 40, 30};
  FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const RECT item{10, 5, 30, 25};
  {
    BCMenuMemDC memory(CDC::FromHandle(target), &item);
    EXPECT_TRUE(memory.IsMemDC());
    const HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT inner{12, 7, 20, 15};  // the target's coordinates
    FillRect(memory.GetSafeHdc(), &inner, red);
    DeleteObject(red);
    EXPECT_EQ(GetPixel(target, 13, 8) & 0xFFFFFF, 0xFFFFFFu);  // not yet
  }
  EXPECT_EQ(GetPixel(target, 13, 8) & 0xFFFFFF, static_cast<COLORREF>(RGB(255, 0, 0)));
  EXPECT_EQ(GetPixel(target, 5, 5) & 0xFFFFFF, 0xFFFFFFu);  // outside the item: untouched
  SelectObject(target, old);
  DeleteDC(target);
  DeleteObject(bitmap);
}

}  // namespace
}  // namespace zx::test
