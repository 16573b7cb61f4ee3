// CXTMemDC: drawing lands on the target at the rectangle's place only when the object goes
// away; discard, the clip box for an empty rectangle, a null target and copying the
// background in.
#include "XTMemDC.h"
#include "drawing_support.h"

namespace zx::test {
namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

using MemoryDC = DrawingTest;

TEST_F(MemoryDC, ReachesTheTargetOnlyWhenDestroyed) {
  Surface target(60, 40, kGrey);
  {
    CXTMemDC mem(&target.dc, CRect(0, 0, 30, 20), kWhite);
    ASSERT_TRUE(mem.IsValid());
    mem.FillSolidRect(5, 5, 4, 4, kRed);
    EXPECT_EQ(target.At(6, 6), kGrey);  // nothing on the target yet
    EXPECT_EQ(mem.GetPixel(6, 6), kRed);
    EXPECT_EQ(mem.GetPixel(0, 0), kWhite);
  }
  EXPECT_EQ(target.At(6, 6), kRed);
  EXPECT_EQ(target.At(0, 0), kWhite);
  EXPECT_EQ(target.At(29, 19), kWhite);
  EXPECT_EQ(target.At(30, 19), kGrey);  // outside the rectangle: untouched
  EXPECT_EQ(target.At(29, 20), kGrey);
}

TEST_F(MemoryDC, SurfaceOriginIsTheRectangleCornerAndAllOfItIsFilled) {
  Surface target(60, 40, kGrey);
  {
    CXTMemDC mem(&target.dc, CRect(20, 10, 50, 30), kWhite);
    mem.FillSolidRect(0, 0, 2, 2, kBlue);
    EXPECT_EQ(mem.GetPixel(29, 19), kWhite);
  }
  EXPECT_EQ(target.At(20, 10), kBlue);
  EXPECT_EQ(target.At(22, 12), kWhite);
  EXPECT_EQ(target.At(49, 29), kWhite);
  EXPECT_EQ(target.At(19, 10), kGrey);
  EXPECT_EQ(target.At(50, 30), kGrey);
}

TEST_F(MemoryDC, DiscardLeavesTheTargetUnchanged) {
  Surface target(40, 40, kGrey);
  {
    CXTMemDC mem(&target.dc, CRect(0, 0, 40, 40), kWhite);
    mem.FillSolidRect(0, 0, 40, 40, kRed);
    mem.Discard();
    EXPECT_FALSE(mem.IsValid());
  }
  EXPECT_EQ(target.At(0, 0), kGrey);
  EXPECT_EQ(target.At(39, 39), kGrey);
}

TEST_F(MemoryDC, EmptyRectangleCoversTheClipBoxUnfilled) {
  Surface target(50, 30, kGrey);
  CRect clip;
  target.dc.GetClipBox(&clip);
  ASSERT_EQ(clip, CRect(0, 0, 50, 30));
  {
    CXTMemDC mem(&target.dc, CRect(), kWhite);
    ASSERT_TRUE(mem.IsValid());
    BITMAP info{};
    ASSERT_NE(mem.GetBitmap().GetBitmap(&info), 0);
    EXPECT_EQ(info.bmWidth, 50);
    EXPECT_EQ(info.bmHeight, 30);
    EXPECT_NE(mem.GetPixel(10, 10), kWhite);  // the background colour was not used
    mem.FillSolidRect(48, 28, 2, 2, kRed);
  }
  EXPECT_EQ(target.At(49, 29), kRed);
}

TEST_F(MemoryDC, NullTargetDrawsNowhere) {
  CXTMemDC mem(nullptr, CRect(0, 0, 10, 10), kWhite);
  EXPECT_FALSE(mem.IsValid());
  EXPECT_EQ(mem.GetSafeHdc(), nullptr);
  mem.FromDC();  // nothing to copy from
}

TEST_F(MemoryDC, FromDCCopiesWhatTheTargetShows) {
  Surface target(40, 40, kGrey);
  target.dc.FillSolidRect(12, 12, 3, 3, kBlue);
  {
    CXTMemDC mem(&target.dc, CRect(10, 10, 30, 30), kWhite);
    EXPECT_EQ(mem.GetPixel(2, 2), kWhite);
    mem.FromDC();
    EXPECT_EQ(mem.GetPixel(2, 2), kBlue);
    EXPECT_EQ(mem.GetPixel(5, 5), kGrey);
  }
  EXPECT_EQ(target.At(12, 12), kBlue);
  EXPECT_EQ(target.At(20, 20), kGrey);
}

}  // namespace
}  // namespace zx::test
