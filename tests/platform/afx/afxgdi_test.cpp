// The class library's drawing objects: owned and temporary objects of handles, selection
// answering the previous object, memory DCs and their drawing, fonts, regions.
#include <gtest/gtest.h>

#include <vector>

#include "afxwin.h"
#include "memory_canvas.h"

namespace {

using MemoryCanvas = zx::afxtest::MemoryCanvas<40, 30>;

TEST_F(MemoryCanvas, SelectingAnswersThePreviousObjectAndTheAttachedOneIsFound) {
  ASSERT_NE(old_, nullptr);
  EXPECT_NE(old_, &bitmap_);
  EXPECT_EQ(dc_.GetCurrentBitmap(), &bitmap_);
  CPen red(PS_SOLID, 1, RGB(255, 0, 0));
  CPen* previous = dc_.SelectObject(&red);
  EXPECT_EQ(dc_.SelectObject(previous), &red);
  EXPECT_EQ(CDC::FromHandle(dc_.GetSafeHdc()), &dc_);
  EXPECT_EQ(CBitmap::FromHandle(static_cast<HBITMAP>(bitmap_.GetSafeHandle())), &bitmap_);
  EXPECT_EQ(bitmap_.GetBitmapDimension(), CSize(40, 30));
}

TEST_F(MemoryCanvas, SolidFillsAndThreeDimensionalFramesLandOnTheirPixels) {
  const CRect all(0, 0, 40, 30);
  dc_.FillSolidRect(&all, RGB(255, 255, 255));
  dc_.FillSolidRect(5, 5, 10, 10, RGB(0x2D, 0x36, 0x48));
  EXPECT_EQ(dc_.GetPixel(5, 5), RGB(0x2D, 0x36, 0x48));
  EXPECT_EQ(dc_.GetPixel(14, 14), RGB(0x2D, 0x36, 0x48));
  EXPECT_EQ(dc_.GetPixel(15, 15), RGB(255, 255, 255));
  // The background colour is put back after a solid fill.
  EXPECT_EQ(dc_.GetBkColor(), RGB(255, 255, 255)) << "the DC's own background colour";
  dc_.Draw3dRect(20, 2, 10, 8, RGB(0, 255, 0), RGB(0, 0, 255));
  EXPECT_EQ(dc_.GetPixel(20, 2), RGB(0, 255, 0));   // top left
  EXPECT_EQ(dc_.GetPixel(28, 2), RGB(0, 255, 0));   // top, before the right edge
  EXPECT_EQ(dc_.GetPixel(29, 2), RGB(0, 0, 255));   // right edge
  EXPECT_EQ(dc_.GetPixel(20, 9), RGB(0, 0, 255));   // bottom edge
  EXPECT_EQ(dc_.GetPixel(25, 5), RGB(255, 255, 255));  // inside untouched
}

TEST_F(MemoryCanvas, BlitsCopyBetweenDCs) {
  CDC source;
  ASSERT_TRUE(source.CreateCompatibleDC(&dc_));
  CBitmap picture;
  std::vector<DWORD> pixels(4 * 4, 0xFF993F09u);
  ASSERT_TRUE(picture.CreateBitmap(4, 4, 1, 32, pixels.data()));
  CBitmap* previous = source.SelectObject(&picture);
  EXPECT_TRUE(dc_.BitBlt(10, 10, 4, 4, &source, 0, 0, SRCCOPY));
  EXPECT_EQ(dc_.GetPixel(13, 13), RGB(0x99, 0x3F, 0x09));
  source.SelectObject(previous);
}

TEST_F(MemoryCanvas, TextIsMeasuredAndDrawnWithTheSelectedFont) {
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(80, u"Tahoma"));
  LOGFONTW described{};
  ASSERT_TRUE(font.GetLogFont(&described));
  EXPECT_EQ(described.lfHeight, -11);  // 8 points at 96 pixels per inch
  CFont* previous = dc_.SelectObject(&font);
  const CSize wide = dc_.GetTextExtent(CString(u"MMMM"));
  const CSize narrow = dc_.GetTextExtent(u"iiii", 4);
  EXPECT_GT(wide.cx, narrow.cx);
  EXPECT_EQ(wide.cy, narrow.cy);
  TEXTMETRICW metrics{};
  EXPECT_TRUE(dc_.GetTextMetrics(&metrics));
  EXPECT_EQ(metrics.tmHeight, wide.cy);
  EXPECT_EQ(dc_.GetCurrentFont(), &font);
  dc_.SelectObject(previous);
}

TEST(GdiObjects, AnOwnedObjectFreesItsHandleAndATemporaryOneDoesNot) {
  HBRUSH kept = CreateSolidBrush(RGB(1, 2, 3));
  CBrush* temporary = CBrush::FromHandle(kept);
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(CBrush::FromHandle(kept), temporary);  // the same object until the thread idles
  CGdiObject::DeleteTempMap();
  EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_BRUSH));
  HGDIOBJ owned = nullptr;
  {
    CBrush brush(RGB(4, 5, 6));
    owned = brush.GetSafeHandle();
    EXPECT_EQ(GetObjectType(owned), static_cast<DWORD>(OBJ_BRUSH));
  }
  EXPECT_EQ(GetObjectType(owned), 0u);
  CBrush adopted;
  EXPECT_TRUE(adopted.Attach(kept));
  EXPECT_EQ(CGdiObject::FromHandle(kept), &adopted);
  EXPECT_EQ(adopted.Detach(), kept);
  EXPECT_FALSE(adopted.DeleteObject());
  DeleteObject(kept);
  EXPECT_EQ(CBrush::FromHandle(nullptr), nullptr);
}

TEST(GdiObjects, RegionsCombineAndTestPoints) {
  CRgn a, b, both;
  ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
  ASSERT_TRUE(b.CreateRectRgn(20, 0, 30, 10));
  ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(both.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
  EXPECT_TRUE(both.PtInRegion(5, 5));
  EXPECT_TRUE(both.PtInRegion(CPoint(25, 5)));
  EXPECT_FALSE(both.PtInRegion(15, 5));
  CRect box;
  EXPECT_EQ(both.GetRgnBox(&box), COMPLEXREGION);
  EXPECT_EQ(box, CRect(0, 0, 30, 10));
  both.OffsetRgn(100, 0);
  EXPECT_TRUE(both.PtInRegion(105, 5));
}

TEST(GdiObjects, ATemporaryDcIsForgottenWithoutDeletingTheHandle) {
  HDC handle = CreateCompatibleDC(nullptr);
  CDC* temporary = CDC::FromHandle(handle);
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(temporary->GetSafeHdc(), handle);
  CDC::DeleteTempMap();
  EXPECT_NE(GetDeviceCaps(handle, LOGPIXELSX), 0);
  EXPECT_TRUE(DeleteDC(handle));
}

TEST(GdiObjects, TemporariesOfDeletedHandlesDoNotPileUp) {
  // Many DCs made, wrapped and deleted without idle time between them, as in a modal loop.
  HDC kept = CreateCompatibleDC(nullptr);
  CDC* keptObject = CDC::FromHandle(kept);
  for (int i = 0; i < 1000; ++i) {
    HDC passing = CreateCompatibleDC(nullptr);
    ASSERT_EQ(CDC::FromHandle(passing)->GetSafeHdc(), passing);
    DeleteDC(passing);
  }
  EXPECT_EQ(CDC::FromHandle(kept), keptObject);  // a live one stays the same object
  CDC::DeleteTempMap();
  DeleteDC(kept);
}

}  // namespace

TEST(GdiObjectsDeathTest, AStaticObjectMadeAfterTheMapsIsDestroyedCleanlyAtExit) {
  // The thread's maps are made first and so go first at exit; the static brush goes later.
  EXPECT_EXIT(
      {
        CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        static CBrush brush;
        brush.CreateSolidBrush(RGB(1, 2, 3));
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}
