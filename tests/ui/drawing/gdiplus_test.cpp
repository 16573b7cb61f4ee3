// GDI+ bitmaps from files and from resources: good images, missing ones and damaged bytes.
#include <fstream>

#include "GdiPlusBitmapResource.h"
#include "drawing_support.h"

namespace zx::test {
namespace {

using GdiPlusImages = DrawingTest;

TEST_F(GdiPlusImages, PngResourceOfTheLibrary) {
  CGdiPlusBitmapResource image(1364, u"PNG", library_);
  ASSERT_NE(image.GetBitmap(), nullptr);
  EXPECT_EQ(image.GetBitmap()->GetWidth(), 240u);
  EXPECT_EQ(image.GetBitmap()->GetHeight(), 48u);
}

TEST_F(GdiPlusImages, NameAndTypeInEveryForm) {
  CGdiPlusBitmapResource image;
  EXPECT_TRUE(image.Load(u"#1357", u"PNG", library_));
  EXPECT_EQ(image.GetBitmap()->GetWidth(), 165u);
  EXPECT_FALSE(image.Load(1357, 2u, library_));  // not a bitmap resource
  EXPECT_EQ(image.GetBitmap(), nullptr);
  EXPECT_TRUE(image.Load(1358, u"PNG", library_));
}

TEST_F(GdiPlusImages, MissingResourceLeavesTheObjectEmpty) {
  CGdiPlusBitmapResource image(4321, u"PNG", library_);
  EXPECT_EQ(image.GetBitmap(), nullptr);
  EXPECT_FALSE(image.Load(1364, u"GIF", library_));
}

TEST_F(GdiPlusImages, DamagedBytesLeaveTheObjectEmpty) {
  CGdiPlusBitmapResource image;
  ASSERT_TRUE(image.Load(1364, u"PNG", library_));
  EXPECT_FALSE(image.Load(3001, u"PNG", GetModuleHandleW(nullptr)));
  EXPECT_EQ(image.GetBitmap(), nullptr);
}

TEST_F(GdiPlusImages, FromAFile) {
  TempFolder folder;
  const HRSRC found = FindResourceW(library_, MAKEINTRESOURCEW(1357), u"PNG");
  ASSERT_NE(found, nullptr);
  const auto* bytes = static_cast<const char*>(LockResource(LoadResource(library_, found)));
  const std::string good = folder.path() + "/good.png";
  std::ofstream(good, std::ios::binary).write(bytes, SizeofResource(library_, found));
  CGdiPlusBitmap image(path::HostToWindows(good).c_str());
  ASSERT_NE(image.GetBitmap(), nullptr);
  EXPECT_EQ(image.GetBitmap()->GetHeight(), 31u);

  const std::string bad = folder.path() + "/bad.png";
  std::ofstream(bad, std::ios::binary) << "garbage";
  EXPECT_FALSE(image.Load(path::HostToWindows(bad).c_str()));
  EXPECT_EQ(image.GetBitmap(), nullptr);
  EXPECT_FALSE(image.Load(path::HostToWindows(folder.path() + "/none.png").c_str()));
  EXPECT_FALSE(image.Load(nullptr));
}

}  // namespace
}  // namespace zx::test
