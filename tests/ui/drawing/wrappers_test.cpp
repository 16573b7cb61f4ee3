// The bitmap and font wrappers: CHVBitmap sizes and loading once, CHVFont's font,
// CHVLogFont's overrides of the shared base font.
#include "HVBitmap.h"
#include "HVFont.h"
#include "HVLogFont.h"
#include "HalvoranApp.h"
#include "drawing_support.h"

namespace zx::test {
namespace {

using Wrappers = DrawingTest;

TEST_F(Wrappers, BitmapKeepsItsSize) {
  CHVBitmap strip(1070);
  EXPECT_NE(strip.GetSafeHandle(), nullptr);
  EXPECT_EQ(strip.GetWidth(), 400);
  EXPECT_EQ(strip.GetHeight(), 22);
}

TEST_F(Wrappers, BitmapLoadsOnlyIntoAnEmptyObject) {
  CHVBitmap bitmap;
  EXPECT_EQ(bitmap.GetWidth(), 0);
  ASSERT_TRUE(bitmap.Load(1088));
  EXPECT_EQ(bitmap.GetWidth(), 24);
  EXPECT_FALSE(bitmap.Load(1096));
  EXPECT_EQ(bitmap.GetWidth(), 24);
  EXPECT_EQ(bitmap.GetHeight(), 24);
}

TEST_F(Wrappers, MissingBitmapIsEmptyAndSizeless) {
  CHVBitmap bitmap(9999);
  EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
  EXPECT_EQ(bitmap.GetWidth(), 0);
  EXPECT_EQ(bitmap.GetHeight(), 0);
}

TEST_F(Wrappers, FontIsMadeFromTheRecord) {
  LOGFONTW wanted{};
  wanted.lfHeight = -15;
  wanted.lfWeight = FW_BOLD;
  std::char_traits<char16_t>::copy(wanted.lfFaceName, u"Arial", 6);
  CHVFont font(wanted);
  ASSERT_NE(font.GetSafeHandle(), nullptr);
  LOGFONTW got{};
  ASSERT_NE(font.GetObject(sizeof(got), &got), 0);
  EXPECT_EQ(got.lfHeight, -15);
  EXPECT_EQ(got.lfWeight, FW_BOLD);
}

TEST_F(Wrappers, LogFontStartsFromTheSharedBase) {
  LOGFONTW base{};
  GetBaseLogFont(base);
  CHVLogFont plain;
  EXPECT_EQ(plain.lfHeight, base.lfHeight);
  EXPECT_EQ(plain.lfWeight, base.lfWeight);
  EXPECT_EQ(std::u16string(plain.lfFaceName), std::u16string(base.lfFaceName));
}

TEST_F(Wrappers, LogFontOverrides) {
  CHVLogFont bold(u"Verdana", -13, TRUE, TRUE);
  EXPECT_EQ(std::u16string(bold.lfFaceName), u"Verdana");
  EXPECT_EQ(bold.lfHeight, -13);
  EXPECT_EQ(bold.lfWeight, 700);
  EXPECT_EQ(bold.lfUnderline, 1);
  CHVLogFont normal(u"Verdana", -11, FALSE, FALSE);
  EXPECT_EQ(normal.lfWeight, 400);
  EXPECT_EQ(normal.lfUnderline, 0);
}

TEST_F(Wrappers, LogFontCutsALongFaceName) {
  const std::u16string longFace(80, u'x');
  CHVLogFont font(longFace.c_str(), -12, FALSE, FALSE);
  EXPECT_EQ(std::u16string(font.lfFaceName), std::u16string(LF_FACESIZE - 1, u'x'));
}

}  // namespace
}  // namespace zx::test
