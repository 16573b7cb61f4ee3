// The GDI+ subset: start-up, PNG bitmaps as straight ARGB, and DrawImage with a source
// rectangle blending over a DC.
#include "gdi_testing.h"
#include "gdiplus.h"
#include "machine_fixture.h"
#include "zx/gdi.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

using namespace Gdiplus;

class GdiplusTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    GdiplusStartupInput input;
    ASSERT_EQ(GdiplusStartup(&token_, &input, nullptr), Ok);
  }
  void TearDown() override { GdiplusShutdown(token_); }

  // A 4 x 2 PNG: left half opaque red, right half half-transparent blue.
  std::u16string WritePng() {
    DWORD pixels[8];
    for (int i = 0; i < 8; ++i) pixels[i] = (i % 4) < 2 ? 0xFFFF0000u : 0x80000080u;
    HBITMAP image = CreateBitmap(4, 2, 1, 32, pixels);
    const std::string path = root() + "/image.png";
    EXPECT_TRUE(zx::gdi::SaveBitmapPng(image, path, true));
    DeleteObject(image);
    return zx::path::HostToWindows(path);
  }

  ULONG_PTR token_ = 0;
};

TEST_F(GdiplusTest, BitmapFromPngFileReadsStraightArgb) {
  Bitmap bitmap(WritePng().c_str());
  ASSERT_EQ(bitmap.GetLastStatus(), Ok);
  EXPECT_EQ(bitmap.GetWidth(), 4u);
  EXPECT_EQ(bitmap.GetHeight(), 2u);
  Color c;
  ASSERT_EQ(bitmap.GetPixel(0, 0, &c), Ok);
  EXPECT_EQ(c.GetValue(), 0xFFFF0000u);
  ASSERT_EQ(bitmap.GetPixel(3, 1, &c), Ok);
  EXPECT_EQ(c.GetA(), 0x80);
  EXPECT_EQ(c.GetB(), 0xFF);
  EXPECT_EQ(c.GetR(), 0);
  EXPECT_EQ(bitmap.GetPixel(4, 0, &c), InvalidParameter);
}

TEST_F(GdiplusTest, DrawImageWithASourceRectangleBlendsOver) {
  Bitmap bitmap(WritePng().c_str());
  Canvas target(10, 4, kWhite);
  Graphics graphics(target.dc());
  // Only the right half (the half-transparent blue) at 5, 1.
  ASSERT_EQ(graphics.DrawImage(&bitmap, Rect(5, 1, 2, 2), 2, 0, 2, 2, UnitPixel), Ok);
  EXPECT_EQ(target.At(4, 1), kWhite);
  const COLORREF mixed = target.At(5, 1);
  EXPECT_EQ(GetBValue(mixed), 255);
  EXPECT_NEAR(GetRValue(mixed), 127, 1);
  EXPECT_EQ(target.At(7, 1), kWhite);
  ASSERT_EQ(graphics.DrawImage(&bitmap, 0, 0), Ok);
  EXPECT_EQ(target.At(0, 0), kRed);
  EXPECT_EQ(graphics.DrawImage(&bitmap, Rect(0, 0, 2, 2), 0, 0, 2, 2, UnitInch), NotImplemented);
}

TEST_F(GdiplusTest, SourceRectanglePastTheImageIsCut) {
  Bitmap bitmap(WritePng().c_str());
  Canvas target(10, 4, kBlack);
  Graphics graphics(target.dc());
  ASSERT_EQ(graphics.DrawImage(&bitmap, Rect(0, 0, 8, 2), -4, 0, 8, 2, UnitPixel), Ok);
  EXPECT_EQ(target.At(3, 0), kBlack);
  EXPECT_EQ(target.At(4, 0), kRed);
}

TEST_F(GdiplusTest, MissingOrDamagedFilesGiveAStatus) {
  Bitmap missing(u"C:\\nowhere\\image.png");
  EXPECT_NE(missing.GetLastStatus(), Ok);
  EXPECT_EQ(missing.GetWidth(), 0u);
  WriteHostFile(root() + "/bad.png", "\x89PNG\r\n\x1a\nnot really");
  Bitmap damaged(zx::path::HostToWindows(root() + "/bad.png").c_str());
  EXPECT_EQ(damaged.GetLastStatus(), UnknownImageFormat);
  Graphics graphics(static_cast<HDC>(nullptr));
  EXPECT_EQ(graphics.DrawImage(&damaged, 0, 0), InvalidParameter);
}

TEST_F(GdiplusTest, BitmapFromMemoryAndHbitmap) {
  Canvas source(3, 3, kGreen);
  Bitmap* copy = Bitmap::FromHBITMAP(source.bitmap(), nullptr);
  ASSERT_EQ(copy->GetLastStatus(), Ok);
  Color c;
  copy->GetPixel(2, 2, &c);
  EXPECT_EQ(c.GetValue(), 0xFF00FF00u);
  HBITMAP back = nullptr;
  ASSERT_EQ(copy->GetHBITMAP(Color(255, 0, 0, 0), &back), Ok);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, back);
  EXPECT_EQ(GetPixel(dc, 1, 1), kGreen);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(back);
  delete copy;
  const unsigned char junk[] = {1, 2, 3};
  Bitmap* bad = zx::gdiplus::BitmapFromMemory(junk, sizeof(junk));
  EXPECT_EQ(bad->GetLastStatus(), UnknownImageFormat);
  delete bad;
}

TEST(GdiplusStartup, ObjectsMadeBeforeStartUpAreRefused) {
  Bitmap early(2, 2);
  EXPECT_EQ(early.GetLastStatus(), GdiplusNotInitialized);
  ULONG_PTR token = 0;
  GdiplusStartupInput wrong;
  wrong.GdiplusVersion = 2;
  EXPECT_EQ(GdiplusStartup(&token, &wrong, nullptr), UnsupportedGdiplusVersion);
}

TEST_F(GdiplusTest, GraphicsOnAnImageAndClear) {
  Bitmap canvas(4, 4);
  Graphics graphics(&canvas);
  ASSERT_EQ(graphics.Clear(Color(255, 0, 0, 255)), Ok);
  Color c;
  canvas.GetPixel(3, 3, &c);
  EXPECT_EQ(c.GetValue(), 0xFF0000FFu);
  ASSERT_EQ(graphics.Clear(Color(0, 0, 0, 0)), Ok);
  canvas.GetPixel(0, 0, &c);
  EXPECT_EQ(c.GetA(), 0);
}

}  // namespace
}  // namespace zx::test
