// Reading dialog templates byte by byte: an extended template with a font, names as strings
// and ordinals, item alignment and extra data; a plain template without a font; a negative
// point size; and every cut-off length refused.
#include <gtest/gtest.h>

#include <vector>

#include "DialogTemplateLayout.h"

namespace {

// Extended: DS_SETFONT | WS_POPUP, menu ordinal 7, class "A", title "Hi", 9 points "Arial"
// weight 700 italic; item 10 (class "Btn", title ordinal) and item 20 (Static, "Ok", 2 extra
// bytes), each on a 4-byte boundary.
const std::vector<BYTE> kExtended = {
    0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x40, 0x00,
    0x00, 0x80, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC8, 0x00, 0x64, 0x00, 0xFF, 0xFF,
    0x07, 0x00, 0x41, 0x00, 0x00, 0x00, 0x48, 0x00, 0x69, 0x00, 0x00, 0x00, 0x09, 0x00,
    0xBC, 0x02, 0x01, 0x01, 0x41, 0x00, 0x72, 0x00, 0x69, 0x00, 0x61, 0x00, 0x6C, 0x00,
    0x00, 0x00, 0x00, 0x00,
    // item 10
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x50, 0x04, 0x00,
    0x08, 0x00, 0x28, 0x00, 0x0A, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x42, 0x00, 0x74, 0x00,
    0x6E, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00,
    // item 20
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x50, 0x32, 0x00,
    0x14, 0x00, 0x3C, 0x00, 0x0C, 0x00, 0x14, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x82, 0x00,
    0x4F, 0x00, 0x6B, 0x00, 0x00, 0x00, 0x02, 0x00, 0xAB, 0xCD};

// Plain: WS_POPUP without a font, 80 x 40, one item 5 (Button ordinal) at 2,3 16 x 8.
const std::vector<BYTE> kPlain = {
    0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x50, 0x00, 0x28, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x50, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x03, 0x00, 0x10, 0x00, 0x08,
    0x00, 0x05, 0x00, 0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00};

// Plain with DS_SETFONT, no items, a point size of -9 and the face "X".
const std::vector<BYTE> kNegativePoints = {
    0x40, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x0A, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF7, 0xFF, 0x58, 0x00,
    0x00, 0x00};

TEST(DialogTemplateLayout, ExtendedTemplateWithFontAndItems) {
  DialogTemplateLayout layout;
  ASSERT_TRUE(ReadDialogTemplateLayout(kExtended.data(), kExtended.size(), layout));
  EXPECT_EQ(layout.style, 0x80000040u);
  EXPECT_EQ(layout.exStyle, 0x80u);
  EXPECT_EQ(layout.cx, 200);
  EXPECT_EQ(layout.cy, 100);
  EXPECT_TRUE(layout.hasMenu);
  EXPECT_EQ(layout.pointSize, 9);
  EXPECT_EQ(layout.weight, 700);
  EXPECT_EQ(layout.italic, 1);
  EXPECT_EQ(layout.face, u"Arial");
  ASSERT_EQ(layout.items.size(), 2u);
  EXPECT_EQ(layout.items[0].id, 10u);
  EXPECT_EQ(layout.items[0].x, 4);
  EXPECT_EQ(layout.items[0].y, 8);
  EXPECT_EQ(layout.items[0].cx, 40);
  EXPECT_EQ(layout.items[0].cy, 10);
  EXPECT_EQ(layout.items[1].id, 20u);
  EXPECT_EQ(layout.items[1].x, 50);
  EXPECT_EQ(layout.items[1].cy, 12);
}

TEST(DialogTemplateLayout, PlainTemplateWithoutFontIsTahomaEight) {
  DialogTemplateLayout layout;
  ASSERT_TRUE(ReadDialogTemplateLayout(kPlain.data(), kPlain.size(), layout));
  EXPECT_EQ(layout.style, 0x80000000u);
  EXPECT_FALSE(layout.hasMenu);
  EXPECT_EQ(layout.cx, 80);
  EXPECT_EQ(layout.cy, 40);
  EXPECT_EQ(layout.face, u"Tahoma");
  EXPECT_EQ(layout.pointSize, 8);
  EXPECT_EQ(layout.weight, 400);
  ASSERT_EQ(layout.items.size(), 1u);
  EXPECT_EQ(layout.items[0].id, 5u);
  EXPECT_EQ(layout.items[0].x, 2);
  EXPECT_EQ(layout.items[0].y, 3);
  EXPECT_EQ(layout.items[0].cx, 16);
  EXPECT_EQ(layout.items[0].cy, 8);
}

TEST(DialogTemplateLayout, NegativePointSizeIsItsMagnitude) {
  DialogTemplateLayout layout;
  ASSERT_TRUE(ReadDialogTemplateLayout(kNegativePoints.data(), kNegativePoints.size(), layout));
  EXPECT_EQ(layout.pointSize, 9);
  EXPECT_EQ(layout.weight, 0);
  EXPECT_EQ(layout.face, u"X");
  EXPECT_TRUE(layout.items.empty());
}

TEST(DialogTemplateLayout, EveryCutOffLengthIsRefused) {
  for (const auto* bytes : {&kExtended, &kPlain, &kNegativePoints}) {
    for (size_t n = 0; n < bytes->size(); ++n) {
      // A copy of exactly n bytes, so that any read past the end is seen by the sanitizer.
      const std::vector<BYTE> cut(bytes->begin(), bytes->begin() + n);
      DialogTemplateLayout layout;
      EXPECT_FALSE(ReadDialogTemplateLayout(cut.data(), cut.size(), layout)) << n;
    }
  }
  DialogTemplateLayout layout;
  EXPECT_FALSE(ReadDialogTemplateLayout(nullptr, 10, layout));
}

TEST(DialogTemplateLayout, ItemCountBeyondTheBytesIsRefused) {
  std::vector<BYTE> bytes = kPlain;
  bytes[8] = 0xFF;  // 0xFF01 items claimed, one present
  bytes[9] = 0xFF;
  DialogTemplateLayout layout;
  EXPECT_FALSE(ReadDialogTemplateLayout(bytes.data(), bytes.size(), layout));
}

}  // namespace
