// Image lists: strips cut into images, the colour key and mask bitmaps leaving pixels
// transparent (checked pixel by pixel), drawing styles, icons, and bad handles.
#include <gtest/gtest.h>

#include <vector>

#include "afxcmn.h"
#include "afxgdi.h"
#include "winresource.h"
#include "commctrl.h"
#include "windraw.h"
#include "zx/gdi.h"

namespace zx::test {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kGround = RGB(0, 0, 200);

// A strip of two 4 x 4 images: red and green, each with its top-left pixel in the key colour.
HBITMAP Strip() {
  std::vector<DWORD> pixels(8 * 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x)
      pixels[y * 8 + x] = (x % 4 == 0 && y == 0) ? 0xFFFF00FFu : (x < 4 ? 0xFFFF0000u : 0xFF00FF00u);
  return CreateBitmap(8, 4, 1, 32, pixels.data());
}

// A memory DC over a 10 x 10 surface filled with the ground colour.
class Canvas {
 public:
  Canvas() : dc_(CreateCompatibleDC(nullptr)), bitmap_(zx::gdi::CreateSurfaceBitmap(10, 10)) {
    old_ = SelectObject(dc_, bitmap_);
    HBRUSH ground = CreateSolidBrush(kGround);
    const RECT all{0, 0, 10, 10};
    FillRect(dc_, &all, ground);
    DeleteObject(ground);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

TEST(ImageList, AStripBecomesImagesOfTheListsSize) {
  HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32 | ILC_MASK, 2, 2);
  ASSERT_NE(list, nullptr);
  HBITMAP strip = Strip();
  EXPECT_EQ(ImageList_AddMasked(list, strip, kKey), 0);
  EXPECT_EQ(ImageList_AddMasked(list, strip, kKey), 2);
  EXPECT_EQ(ImageList_GetImageCount(list), 4);
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
  EXPECT_EQ(cx, 4);
  EXPECT_EQ(cy, 4);
  EXPECT_TRUE(ImageList_Remove(list, 1));
  EXPECT_EQ(ImageList_GetImageCount(list), 3);
  EXPECT_TRUE(ImageList_Remove(list, -1));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  DeleteObject(strip);
  EXPECT_TRUE(ImageList_Destroy(list));
}

TEST(ImageList, TheColourKeyLeavesTheGroundVisible) {
  HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32 | ILC_MASK, 2, 0);
  HBITMAP strip = Strip();
  ASSERT_EQ(ImageList_AddMasked(list, strip, kKey), 0);
  Canvas canvas;
  ASSERT_TRUE(ImageList_Draw(list, 1, canvas.dc(), 2, 3, ILD_NORMAL));
  EXPECT_EQ(canvas.At(2, 3), kGround);            // the key pixel
  EXPECT_EQ(canvas.At(3, 3), RGB(0, 255, 0));     // the image
  EXPECT_EQ(canvas.At(5, 6), RGB(0, 255, 0));
  EXPECT_EQ(canvas.At(6, 6), kGround);            // beyond the image
  EXPECT_EQ(canvas.At(1, 3), kGround);

  // ILD_MASK draws the mask: white where transparent, black where the image is.
  ASSERT_TRUE(ImageList_Draw(list, 0, canvas.dc(), 6, 0, ILD_MASK));
  EXPECT_EQ(canvas.At(6, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.At(7, 0), RGB(0, 0, 0));

  // A background colour fills the transparent pixels unless ILD_TRANSPARENT says no.
  ImageList_SetBkColor(list, RGB(1, 2, 3));
  ASSERT_TRUE(ImageList_Draw(list, 0, canvas.dc(), 0, 6, ILD_NORMAL));
  EXPECT_EQ(canvas.At(0, 6), RGB(1, 2, 3));
  ASSERT_TRUE(ImageList_DrawEx(list, 0, canvas.dc(), 0, 0, 2, 2, CLR_NONE, CLR_DEFAULT, ILD_NORMAL));
  EXPECT_EQ(canvas.At(0, 0), kGround);
  EXPECT_EQ(canvas.At(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(2, 2), kGround);  // clipped to 2 x 2
  DeleteObject(strip);
  ImageList_Destroy(list);
}

TEST(ImageList, WithoutAMaskEveryPixelIsDrawn) {
  HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32, 2, 0);
  HBITMAP strip = Strip();
  ASSERT_EQ(ImageList_AddMasked(list, strip, kKey), 0);
  Canvas canvas;
  ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(canvas.At(0, 0), kKey);
  DeleteObject(strip);
  ImageList_Destroy(list);
}

TEST(ImageList, AMaskBitmapMarksTransparentPixels) {
  HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32 | ILC_MASK, 1, 0);
  HBITMAP strip = Strip();
  std::vector<DWORD> maskPixels(8 * 4, 0xFF000000u);
  maskPixels[3 * 8 + 3] = 0xFFFFFFFFu;  // bottom-right pixel of the first image
  HBITMAP mask = CreateBitmap(8, 4, 1, 32, maskPixels.data());
  ASSERT_EQ(ImageList_Add(list, strip, mask), 0);
  Canvas canvas;
  ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_NORMAL);
  EXPECT_EQ(canvas.At(3, 3), kGround);
  EXPECT_EQ(canvas.At(0, 0), kKey);  // the key colour means nothing here
  DeleteObject(mask);
  DeleteObject(strip);
  ImageList_Destroy(list);
}

TEST(ImageList, IconsAreAddedAndTakenBack) {
  HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32 | ILC_MASK, 1, 0);
  HBITMAP strip = Strip();
  ImageList_AddMasked(list, strip, kKey);
  HICON icon = ImageList_GetIcon(list, 1, ILD_NORMAL);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(ImageList_AddIcon(list, icon), 2);
  EXPECT_EQ(ImageList_ReplaceIcon(list, 0, icon), 0);
  Canvas canvas;
  ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_NORMAL);
  EXPECT_EQ(canvas.At(0, 0), kGround);
  EXPECT_EQ(canvas.At(1, 1), RGB(0, 255, 0));
  EXPECT_EQ(ImageList_ReplaceIcon(list, 9, icon), -1);
  DestroyIcon(icon);
  DeleteObject(strip);
  ImageList_Destroy(list);
}

TEST(ImageList, BadHandlesAndIndexesFailCleanly) {
  EXPECT_EQ(ImageList_Create(0, 4, ILC_MASK, 1, 1), nullptr);
  EXPECT_EQ(ImageList_Create(4, 5000, ILC_MASK, 1, 1), nullptr);
  HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32 | ILC_MASK, 1, 0);
  HBITMAP narrow = CreateBitmap(3, 4, 1, 32, nullptr);
  EXPECT_EQ(ImageList_AddMasked(list, narrow, kKey), -1);  // narrower than one image
  EXPECT_EQ(ImageList_Add(list, nullptr, nullptr), -1);
  Canvas canvas;
  EXPECT_FALSE(ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_NORMAL));
  EXPECT_FALSE(ImageList_Draw(list, -1, canvas.dc(), 0, 0, ILD_NORMAL));
  EXPECT_FALSE(ImageList_GetIconSize(list, nullptr, nullptr));
  EXPECT_TRUE(ImageList_Destroy(list));
  // A destroyed handle stays dead, even when new lists are made.
  HIMAGELIST other = ImageList_Create(4, 4, ILC_MASK, 1, 0);
  EXPECT_FALSE(ImageList_Destroy(list));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  EXPECT_FALSE(ImageList_Remove(list, -1));
  EXPECT_NE(other, list);
  EXPECT_TRUE(ImageList_Destroy(other));
  EXPECT_FALSE(ImageList_Destroy(nullptr));
  DeleteObject(narrow);
}

TEST(ImageList, CImageListOwnsItsList) {
  HIMAGELIST handle = nullptr;
  {
    CImageList images;
    ASSERT_TRUE(images.Create(4, 4, ILC_COLOR32 | ILC_MASK, 1, 1));
    HBITMAP strip = Strip();
    EXPECT_EQ(images.Add(strip, kKey), 0);
    EXPECT_EQ(images.GetImageCount(), 2);
    handle = images;
    EXPECT_EQ(CImageList::FromHandle(handle)->GetImageCount(), 2);
    DeleteObject(strip);
  }
  EXPECT_FALSE(ImageList_Destroy(handle));  // gone with its owner
  CImageList none;
  EXPECT_FALSE(none.Create(9999, 16, 1, kKey));  // no such bitmap resource
}

TEST(ImageList, CImageListTakesTheClassLibrarysBitmapsAndDcs) {
  // Five 15 x 16 state images with a mask, as the tree of check boxes makes them.
  std::vector<DWORD> pixels(75 * 16, 0xFFFF00FFu);
  for (int image = 0; image < 5; ++image)
    for (int y = 2; y < 14; ++y)
      for (int x = 2; x < 13; ++x) pixels[y * 75 + image * 15 + x] = 0xFF000000u | static_cast<DWORD>(image * 40);
  CBitmap strip;
  ASSERT_TRUE(strip.Attach(CreateBitmap(75, 16, 1, 32, pixels.data())));
  CImageList states;
  ASSERT_TRUE(states.Create(15, 16, ILC_COLOR32 | ILC_MASK, 5, 1));
  EXPECT_EQ(states.Add(&strip, kKey), 0);
  EXPECT_EQ(states.GetImageCount(), 5);
  Canvas canvas;
  ASSERT_TRUE(states.Draw(CDC::FromHandle(canvas.dc()), 3, CPoint(0, 0), ILD_NORMAL));
  EXPECT_EQ(canvas.At(0, 0), kGround);
  EXPECT_EQ(canvas.At(5, 5), RGB(0, 0, 120));
  EXPECT_FALSE(states.Draw(static_cast<CDC*>(nullptr), 0, CPoint(0, 0), ILD_NORMAL));
}

TEST(ImageList, CImageListCutsABitmapResource) {
  CImageList states;
  ASSERT_TRUE(states.Create(5147, 15, 1, CLR_NONE));
  EXPECT_EQ(states.GetImageCount(), 5);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(states, &cx, &cy);
  EXPECT_EQ(cx, 15);
  EXPECT_EQ(cy, 16);
  // Each image is one state of the strip, in its own colour.
  HBITMAP strip = LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(5147));
  ASSERT_NE(strip, nullptr);
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(source, strip);
  Canvas canvas;
  for (int image = 0; image < 5; ++image) {
    ASSERT_TRUE(states.Draw(CDC::FromHandle(canvas.dc()), image, CPoint(0, 0), ILD_NORMAL));
    EXPECT_EQ(canvas.At(7, 8), GetPixel(source, image * 15 + 7, 8)) << "image " << image;
  }
  EXPECT_NE(GetPixel(source, 7, 8), GetPixel(source, 22, 8));
  SelectObject(source, old);
  DeleteDC(source);
  DeleteObject(strip);
}

}  // namespace
}  // namespace zx::test
