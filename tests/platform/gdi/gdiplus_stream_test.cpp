// GDI+ bitmaps from a COM stream over a global memory block, as images are read from
// resources: the PNG's pixels, the stream's position honoured, and damaged or failing
// streams answered with a status.
#include "gdi_testing.h"
#include "gdiplus.h"
#include "machine_fixture.h"
#include "objidl.h"
#include "zx/gdi.h"

namespace zx::test {
namespace {

using namespace Gdiplus;

class GdiplusStream : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    GdiplusStartupInput input;
    ASSERT_EQ(GdiplusStartup(&token_, &input, nullptr), Ok);
  }
  void TearDown() override { GdiplusShutdown(token_); }

  // The bytes of a 3 x 1 PNG: red, half-transparent blue, green; after `prefix`.
  std::string PngBytes(const std::string& prefix = "") {
    const DWORD pixels[3] = {0xFFFF0000u, 0x80000080u, 0xFF00FF00u};
    HBITMAP image = CreateBitmap(3, 1, 1, 32, pixels);
    const std::string path = root() + "/strip.png";
    EXPECT_TRUE(zx::gdi::SaveBitmapPng(image, path, true));
    DeleteObject(image);
    return prefix + ReadHostFile(path);
  }

  static IStream* StreamOf(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    EXPECT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
    return stream;
  }

  ULONG_PTR token_ = 0;
};

TEST_F(GdiplusStream, APngInAStreamBecomesABitmap) {
  IStream* stream = StreamOf(PngBytes());
  Bitmap* bitmap = Bitmap::FromStream(stream);
  stream->Release();  // the bitmap keeps its own pixels
  ASSERT_EQ(bitmap->GetLastStatus(), Ok);
  EXPECT_EQ(bitmap->GetWidth(), 3u);
  EXPECT_EQ(bitmap->GetHeight(), 1u);
  Color c;
  ASSERT_EQ(bitmap->GetPixel(0, 0, &c), Ok);
  EXPECT_EQ(c.GetValue(), 0xFFFF0000u);
  ASSERT_EQ(bitmap->GetPixel(1, 0, &c), Ok);
  EXPECT_EQ(c.GetAlpha(), 0x80);
  EXPECT_EQ(c.GetBlue(), 0xFF);
  delete bitmap;
}

TEST_F(GdiplusStream, ReadingStartsAtTheStreamsPosition) {
  IStream* stream = StreamOf(PngBytes("skip"));
  LARGE_INTEGER four{};
  four.QuadPart = 4;
  stream->Seek(four, STREAM_SEEK_SET, nullptr);
  Bitmap bitmap(stream);
  EXPECT_EQ(bitmap.GetLastStatus(), Ok);
  Color c;
  bitmap.GetPixel(2, 0, &c);
  EXPECT_EQ(c.GetValue(), 0xFF00FF00u);
  stream->Release();
}

TEST_F(GdiplusStream, DamagedEmptyAndMissingStreamsGiveAStatus) {
  std::string png = PngBytes();
  png.resize(png.size() / 2);
  IStream* cut = StreamOf(png);
  Bitmap damaged(cut);
  EXPECT_EQ(damaged.GetLastStatus(), UnknownImageFormat);
  cut->Release();
  IStream* empty = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &empty), S_OK);
  Bitmap nothing(empty);
  EXPECT_EQ(nothing.GetLastStatus(), UnknownImageFormat);
  empty->Release();
  Bitmap none(static_cast<IStream*>(nullptr));
  EXPECT_EQ(none.GetLastStatus(), InvalidParameter);
}

}  // namespace
}  // namespace zx::test
