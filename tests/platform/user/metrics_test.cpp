// The desktop's non-client metrics (SPI_GETNONCLIENTMETRICS in its old and new record sizes),
// the largest drag size of windows and DCs of the whole screen.
#include <gtest/gtest.h>

#include <cstring>

#include "errhandlingapi.h"
#include "user_testing.h"
#include "winmetrics.h"

namespace zx::test {
namespace {

using NonClientMetrics = UserTest;

TEST_F(NonClientMetrics, TheFullRecordCarriesSizesAndFonts) {
  NONCLIENTMETRICSW m{};
  m.cbSize = sizeof m;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
  EXPECT_EQ(m.cbSize, 504u);
  EXPECT_EQ(m.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(m.iPaddedBorderWidth, GetSystemMetrics(SM_CXPADDEDBORDER));
  EXPECT_GT(m.iMenuHeight, 0);
  EXPECT_EQ(m.lfMenuFont.lfHeight, -12);
  EXPECT_EQ(m.lfMenuFont.lfWeight, FW_NORMAL);
  EXPECT_EQ(std::u16string(m.lfMessageFont.lfFaceName), u"Segoe UI");
  // The menu font makes a font that measures text.
  HFONT font = CreateFontIndirectW(&m.lfMenuFont);
  ASSERT_NE(font, nullptr);
  HDC dc = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  EXPECT_TRUE(GetTextExtentPoint32W(dc, u"Exclusion", 9, &size));
  EXPECT_GT(size.cx, 20);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
}

TEST_F(NonClientMetrics, AnOldCallersRecordEndsBeforeThePaddedBorder) {
  unsigned char bytes[504];
  std::memset(bytes, 0xAB, sizeof bytes);
  const UINT size = 500;
  std::memcpy(bytes, &size, sizeof size);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, bytes, 0));
  for (int i = 500; i < 504; ++i) EXPECT_EQ(bytes[i], 0xAB) << i;
  NONCLIENTMETRICSW m{};
  std::memcpy(&m, bytes, 500);
  EXPECT_EQ(m.iScrollHeight, GetSystemMetrics(SM_CYHSCROLL));
}

TEST_F(NonClientMetrics, SizesThatDisagreeAreRefused) {
  NONCLIENTMETRICSW m{};
  m.cbSize = 500;
  SetLastError(0);
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  m.cbSize = 100;
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 100, &m, 0));
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, nullptr, 0));
}

TEST_F(NonClientMetrics, TheLargestDragSizeExceedsTheScreenByTheFrames) {
  const int frames = 2 * (GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER));
  EXPECT_EQ(GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CXSCREEN) + frames);
  EXPECT_EQ(GetSystemMetrics(SM_CYMAXTRACK), GetSystemMetrics(SM_CYSCREEN) + frames);
}

using ScreenDC = UserTest;

TEST_F(ScreenDC, NullAndTheDesktopGiveADisplayDCReleasedOnce) {
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE, 0);  // a full-colour display
  EXPECT_NE(GetDeviceCaps(screen, RASTERCAPS) & RC_BITBLT, 0);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 0);
  HDC desktop = GetWindowDC(GetDesktopWindow());
  ASSERT_NE(desktop, nullptr);
  EXPECT_EQ(WindowFromDC(desktop), nullptr);
  EXPECT_EQ(ReleaseDC(GetDesktopWindow(), desktop), 1);
}

}  // namespace
}  // namespace zx::test
