// Icons and cursors: made from resource bytes (DIB with its AND mask), from bitmaps, drawn
// blended and scaled, and taken apart again.
#include <sstream>
#include <string>
#include <vector>

#include "hex_bytes.h"
#include "gdi_testing.h"
#include "zx/gdi.h"

namespace zx::test {
namespace {

// 2 x 2, 32 bits without alpha: rows bottom-up (blue, green), (red, white); the mask makes
// the bottom right transparent.
const char* const kIcon =
    "28 00 00 00  02 00 00 00  04 00 00 00  01 00 20 00  00 00 00 00  00 00 00 00"
    " 00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00"
    " ff 00 00 00  00 ff 00 00  00 00 ff 00  ff ff ff 00"
    " 40 00 00 00  00 00 00 00";

TEST(Icons, FromResourceBytesDrawsWithItsMask) {
  const std::vector<BYTE> bytes = Hex(kIcon);
  HICON icon = CreateIconFromResource(bytes.data(), static_cast<DWORD>(bytes.size()), TRUE, 0x00030000);
  ASSERT_NE(icon, nullptr);
  Canvas c(2, 2, kBlack);
  ASSERT_TRUE(DrawIconEx(c.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(c.At(0, 0), kRed);
  EXPECT_EQ(c.At(1, 0), kWhite);
  EXPECT_EQ(c.At(0, 1), kBlue);
  EXPECT_EQ(c.At(1, 1), kBlack);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  EXPECT_TRUE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 1u);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, info.hbmMask);
  EXPECT_EQ(GetPixel(dc, 1, 1), kWhite);
  EXPECT_EQ(GetPixel(dc, 0, 0), kBlack);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
  EXPECT_FALSE(DeleteObject(icon));  // icons are destroyed with DestroyIcon
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
}

TEST(Icons, CursorBytesStartWithTheHotSpot) {
  std::vector<BYTE> bytes = Hex("03 00 01 00");
  const std::vector<BYTE> image = Hex(kIcon);
  bytes.insert(bytes.end(), image.begin(), image.end());
  HCURSOR cursor = CreateIconFromResource(bytes.data(), static_cast<DWORD>(bytes.size()), FALSE, 0x00030000);
  ASSERT_NE(cursor, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 3u);
  EXPECT_EQ(info.yHotspot, 1u);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
  EXPECT_TRUE(DestroyCursor(cursor));
}

TEST(Icons, DamagedBytesAreRefusedAtEveryLength) {
  const std::vector<BYTE> bytes = Hex(kIcon);
  for (std::size_t n = 0; n < bytes.size(); ++n)
    EXPECT_EQ(CreateIconFromResource(bytes.data(), static_cast<DWORD>(n), TRUE, 0x00030000), nullptr) << n;
  EXPECT_EQ(CreateIconFromResource(bytes.data(), 3, FALSE, 0x00030000), nullptr);
}

TEST(Icons, DrawIconExScalesAndFillsWithTheBrush) {
  const std::vector<BYTE> bytes = Hex(kIcon);
  HICON icon = CreateIconFromResource(bytes.data(), static_cast<DWORD>(bytes.size()), TRUE, 0x00030000);
  Canvas c(6, 6, kBlack);
  HBRUSH green = CreateSolidBrush(kGreen);
  ASSERT_TRUE(DrawIconEx(c.dc(), 1, 1, icon, 4, 4, 0, green, DI_NORMAL));
  EXPECT_EQ(c.At(1, 1), kRed);
  EXPECT_EQ(c.At(2, 2), kRed);
  EXPECT_EQ(c.At(3, 1), kWhite);
  EXPECT_EQ(c.At(4, 4), kGreen);  // transparent part shows the brush
  EXPECT_EQ(c.At(0, 0), kBlack);
  DeleteObject(green);
  DestroyIcon(icon);
}

TEST(Icons, IndirectIconFromColourAndMask) {
  Canvas colour(2, 1, kRed);
  Canvas mask(2, 1, kBlack);
  SetPixelV(mask.dc(), 1, 0, kWhite);
  ICONINFO info{TRUE, 0, 0, mask.bitmap(), colour.bitmap()};
  HICON icon = CreateIconIndirect(&info);
  ASSERT_NE(icon, nullptr);
  SIZE size{};
  EXPECT_TRUE(zx::gdi::GetIconSize(icon, size));
  EXPECT_EQ(size.cx, 2);
  Canvas target(2, 1, kBlue);
  DrawIcon(target.dc(), 0, 0, icon);
  EXPECT_EQ(target.At(0, 0), kRed);
  EXPECT_EQ(target.At(1, 0), kBlue);
  HICON copy = CopyIcon(icon);
  DestroyIcon(icon);
  Canvas again(2, 1, kBlue);
  DrawIcon(again.dc(), 0, 0, copy);
  EXPECT_EQ(again.At(0, 0), kRed);
  DestroyIcon(copy);
  ICONINFO missing{TRUE, 0, 0, nullptr, nullptr};
  EXPECT_EQ(CreateIconIndirect(&missing), nullptr);
}

}  // namespace
}  // namespace zx::test
