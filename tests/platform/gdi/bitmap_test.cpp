// Bitmaps: DIB sections shared with the caller, row transfers, device-dependent bitmaps,
// packed DIBs from hand-written bytes, and PNG files written and read back.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "gdi_testing.h"
#include "hex_bytes.h"
#include "machine_fixture.h"
#include "zx/gdi.h"

namespace zx::test {
namespace {

std::vector<DWORD> PixelsOf(HBITMAP bitmap, SIZE& size) {
  std::vector<DWORD> pixels;
  EXPECT_TRUE(zx::gdi::CopyBitmapPixels(bitmap, pixels, size));
  return pixels;
}

// 2 x 2, 8 bits, two palette entries (red, green), bottom-up rows.
const char* const kEightBit =
    "28 00 00 00  02 00 00 00  02 00 00 00  01 00 08 00  00 00 00 00  00 00 00 00"
    " 00 00 00 00  00 00 00 00  02 00 00 00  00 00 00 00"
    " 00 00 ff 00  00 ff 00 00"
    " 01 00 00 00  00 01 00 00";

TEST(PackedDib, EightBitPaletteRowsBottomUp) {
  const std::vector<BYTE> dib = Hex(kEightBit);
  HBITMAP bitmap = zx::gdi::CreateBitmapFromPackedDib(dib.data(), dib.size());
  ASSERT_NE(bitmap, nullptr);
  SIZE size{};
  const std::vector<DWORD> p = PixelsOf(bitmap, size);
  EXPECT_EQ(size.cx, 2);
  EXPECT_EQ(p[0], 0xFFFF0000u);  // top left red
  EXPECT_EQ(p[1], 0xFF00FF00u);
  EXPECT_EQ(p[2], 0xFF00FF00u);
  EXPECT_EQ(p[3], 0xFFFF0000u);
  DeleteObject(bitmap);
}

TEST(PackedDib, EveryShorterLengthIsRefused) {
  const std::vector<BYTE> dib = Hex(kEightBit);
  for (std::size_t n = 0; n < dib.size(); ++n) {
    EXPECT_EQ(zx::gdi::CreateBitmapFromPackedDib(dib.data(), n), nullptr) << n;
  }
}

TEST(PackedDib, OneTwentyFourAndThirtyTwoBits) {
  const std::vector<BYTE> mono = Hex(
      "28 00 00 00  03 00 00 00  01 00 00 00  01 00 01 00  00 00 00 00  00 00 00 00"
      " 00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00"
      " 00 00 00 00  ff ff ff 00  a0 00 00 00");
  HBITMAP bitmap = zx::gdi::CreateBitmapFromPackedDib(mono.data(), mono.size());
  ASSERT_NE(bitmap, nullptr);
  SIZE size{};
  std::vector<DWORD> p = PixelsOf(bitmap, size);
  EXPECT_EQ(p[0], 0xFFFFFFFFu);
  EXPECT_EQ(p[1], 0xFF000000u);
  EXPECT_EQ(p[2], 0xFFFFFFFFu);
  DeleteObject(bitmap);

  const std::vector<BYTE> rgb = Hex(
      "28 00 00 00  01 00 00 00  01 00 00 00  01 00 18 00  00 00 00 00  00 00 00 00"
      " 00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00  10 20 30 00");
  bitmap = zx::gdi::CreateBitmapFromPackedDib(rgb.data(), rgb.size());
  ASSERT_NE(bitmap, nullptr);
  p = PixelsOf(bitmap, size);
  EXPECT_EQ(p[0], 0xFF302010u);
  DeleteObject(bitmap);

  // 32 bits keep their alpha; top-down rows.
  const std::vector<BYTE> argb = Hex(
      "28 00 00 00  02 00 00 00  ff ff ff ff  01 00 20 00  00 00 00 00  00 00 00 00"
      " 00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00  10 20 30 80  01 02 03 04");
  bitmap = zx::gdi::CreateBitmapFromPackedDib(argb.data(), argb.size());
  ASSERT_NE(bitmap, nullptr);
  p = PixelsOf(bitmap, size);
  EXPECT_EQ(p[0], 0x80302010u);
  EXPECT_EQ(p[1], 0x04030201u);
  DeleteObject(bitmap);
}

TEST(PackedDib, UnsupportedOrHostileHeadersAreRefused) {
  std::vector<BYTE> dib = Hex(kEightBit);
  std::vector<BYTE> sixteen = dib;
  sixteen[14] = 16;  // 16 bits per pixel
  EXPECT_EQ(zx::gdi::CreateBitmapFromPackedDib(sixteen.data(), sixteen.size()), nullptr);
  std::vector<BYTE> palette = dib;
  palette[32] = 0x2C;  // 300 colours
  palette[33] = 0x01;
  EXPECT_EQ(zx::gdi::CreateBitmapFromPackedDib(palette.data(), palette.size()), nullptr);
  std::vector<BYTE> wide = dib;
  wide[6] = 0x7F;  // 8 million pixels wide, far past the bytes
  EXPECT_EQ(zx::gdi::CreateBitmapFromPackedDib(wide.data(), wide.size()), nullptr);
  std::vector<BYTE> headerSize = dib;
  headerSize[0] = 0xFF;  // header larger than the data
  EXPECT_EQ(zx::gdi::CreateBitmapFromPackedDib(headerSize.data(), headerSize.size()), nullptr);
}

TEST(DibSection, TopDownRowsAreSharedWithTheCaller) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, -2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  auto* pixels = static_cast<DWORD*>(bits);
  EXPECT_EQ(pixels[3], 0u);  // starts zeroed
  pixels[1] = 0xFF0000FFu;   // top right blue
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  EXPECT_EQ(GetPixel(dc, 1, 0), kBlue);
  SetPixelV(dc, 0, 1, kRed);
  EXPECT_EQ(pixels[2], 0xFFFF0000u);
  DIBSECTION ds{};
  ASSERT_EQ(GetObjectW(dib, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
  EXPECT_EQ(ds.dsBm.bmBits, bits);
  EXPECT_EQ(ds.dsBmih.biHeight, -2);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
}

TEST(DibSection, BottomUpRowsAreTurnedAround) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  auto* pixels = static_cast<DWORD*>(bits);
  pixels[0] = 0xFF00FF00u;  // first row in memory is the bottom row
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  EXPECT_EQ(GetPixel(dc, 0, 1), kGreen);
  EXPECT_EQ(GetPixel(dc, 0, 0), kBlack);
  SetPixelV(dc, 1, 0, kRed);  // top row
  EXPECT_EQ(pixels[3], 0xFFFF0000u);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
}

TEST(DibSection, OnlyThirtyTwoBitsAreMade) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = reinterpret_cast<void*>(1);
  EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(bits, nullptr);
}

TEST(DibRows, GetAndSetDIBitsMoveRows) {
  Canvas c(3, 2, kRed);
  SetPixelV(c.dc(), 0, 1, kBlue);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  ASSERT_EQ(GetDIBits(c.dc(), c.bitmap(), 0, 0, nullptr, &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(info.bmiHeader.biWidth, 3);
  EXPECT_EQ(info.bmiHeader.biBitCount, 32);
  std::vector<DWORD> rows(6);
  ASSERT_EQ(GetDIBits(c.dc(), c.bitmap(), 0, 2, rows.data(), &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(rows[0] & 0xFFFFFF, 0x0000FFu);  // bottom-up: the bottom row comes first
  rows[5] = 0xFF00FF00u;                     // top right
  ASSERT_EQ(SetDIBits(c.dc(), c.bitmap(), 0, 2, rows.data(), &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(c.At(2, 0), kGreen);
  // Asking beyond the last row moves what exists.
  EXPECT_EQ(GetDIBits(c.dc(), c.bitmap(), 1, 5, rows.data(), &info, DIB_RGB_COLORS), 1);
}

TEST(DeviceBitmaps, CompatibleBitmapsStartBlackAndMonochromeRowsAreWordAligned) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP black = CreateCompatibleBitmap(dc, 2, 2);
  SIZE size{};
  EXPECT_EQ(PixelsOf(black, size)[3], 0xFF000000u);
  HBITMAP empty = CreateCompatibleBitmap(dc, 0, 0);
  PixelsOf(empty, size);
  EXPECT_EQ(size.cx, 1);
  EXPECT_EQ(CreateCompatibleBitmap(dc, -1, 2), nullptr);
  const BYTE rows[] = {0x80, 0x00, 0x40, 0x00};  // two rows of 2 bytes
  HBITMAP mono = CreateBitmap(3, 2, 1, 1, rows);
  const std::vector<DWORD> p = PixelsOf(mono, size);
  EXPECT_EQ(p[0], 0xFFFFFFFFu);
  EXPECT_EQ(p[1], 0xFF000000u);
  EXPECT_EQ(p[4], 0xFFFFFFFFu);
  EXPECT_EQ(CreateBitmap(2, 2, 1, 8, rows), nullptr);
  DeleteObject(black);
  DeleteObject(empty);
  DeleteObject(mono);
  DeleteDC(dc);
}

TEST(PngFiles, SavedPicturesReadBack) {
  TempFolder folder;
  Canvas c(5, 3, kBlue);
  SetPixelV(c.dc(), 4, 2, RGB(1, 2, 3));
  const std::string path = folder.path() + "/picture.png";
  ASSERT_TRUE(zx::gdi::SaveBitmapPng(c.bitmap(), path));
  HBITMAP back = zx::gdi::LoadPngBitmap(path);
  ASSERT_NE(back, nullptr);
  SIZE size{};
  const std::vector<DWORD> p = PixelsOf(back, size);
  EXPECT_EQ(size.cx, 5);
  EXPECT_EQ(size.cy, 3);
  EXPECT_EQ(p[0], 0xFF0000FFu);
  EXPECT_EQ(p[14], 0xFF010203u);
  DeleteObject(back);
  EXPECT_TRUE(zx::gdi::SaveDcPng(c.dc(), folder.path() + "/dc.png"));
  EXPECT_FALSE(zx::gdi::SaveBitmapPng(c.bitmap(), folder.path() + "/missing/dir.png"));
  EXPECT_FALSE(std::ifstream(folder.path() + "/missing/dir.png").good());
}

TEST(PngFiles, DamagedPicturesAreRefused) {
  TempFolder folder;
  Canvas c(16, 16, kGreen);
  const std::string path = folder.path() + "/good.png";
  ASSERT_TRUE(zx::gdi::SaveBitmapPng(c.bitmap(), path));
  std::ifstream in(path, std::ios::binary);
  const std::vector<BYTE> png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (std::size_t n = 0; n + 1 < png.size(); n += 7)
    EXPECT_EQ(zx::gdi::DecodePngBitmap(png.data(), n), nullptr) << n;
  std::vector<BYTE> broken = png;
  for (std::size_t i = 40; i < broken.size() - 12; i += 3) broken[i] ^= 0x5A;
  EXPECT_EQ(zx::gdi::DecodePngBitmap(broken.data(), broken.size()), nullptr);
  std::vector<BYTE> huge = png;
  huge[16] = 0x7F;  // width in the header far past what is accepted
  EXPECT_EQ(zx::gdi::DecodePngBitmap(huge.data(), huge.size()), nullptr);
  EXPECT_EQ(zx::gdi::LoadPngBitmap(folder.path() + "/absent.png"), nullptr);
}

}  // namespace
}  // namespace zx::test
