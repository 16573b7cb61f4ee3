// Dialog and menu template readers against hand-written bytes.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hex_bytes.h"
#include "zx/restemplates.h"

namespace zx::res {
namespace {

using zx::test::Hex;

// An extended template: DS_SETFONT | WS_POPUP, 2 items, caption "Hi", font 8 "Ta" bold.
const char* const kExtended =
    "01 00 ff ff  07 00 00 00  80 00 00 00  40 00 00 80  02 00"
    " 01 00 02 00 2c 01 a0 00"            // x 1, y 2, cx 300, cy 160
    " 00 00  00 00  48 00 69 00 00 00"    // no menu, no class, "Hi"
    " 08 00 bc 02 01 00  54 00 61 00 00 00"  // 8 points, weight 700, italic, charset 0, "Ta"
    // item 1 at 48: Button "OK", id 1
    " 00 00 00 00  00 00 00 00  0b 00 01 50  f0 00 88 00 32 00 0e 00  01 00 00 00"
    " ff ff 80 00  4f 00 4b 00 00 00  00 00"
    // item 2 at 84: class "X", icon ordinal 1287 as title, id -1, 2 bytes of data
    " 05 00 00 00  00 02 00 00  00 00 00 50  0a 00 0a 00 14 00 14 00  ff ff ff ff"
    " 58 00 00 00  ff ff 07 05  02 00 aa bb";

TEST(DialogTemplate, ExtendedLayoutWithFontAndItems) {
  const std::vector<BYTE> bytes = Hex(kExtended);
  DialogTemplate d;
  std::string error;
  ASSERT_TRUE(ReadDialogTemplate(bytes.data(), bytes.size(), d, error)) << error;
  EXPECT_TRUE(d.extended);
  EXPECT_EQ(d.helpId, 7u);
  EXPECT_EQ(d.exStyle, 0x80u);
  EXPECT_EQ(d.style, 0x80000040u);
  EXPECT_EQ(d.x, 1);
  EXPECT_EQ(d.cx, 300);
  EXPECT_EQ(d.cy, 160);
  EXPECT_EQ(d.menu.kind, NameOrNumber::Kind::None);
  EXPECT_EQ(d.title, u"Hi");
  ASSERT_TRUE(d.hasFont);
  EXPECT_EQ(d.pointSize, 8);
  EXPECT_EQ(d.weight, 700);
  EXPECT_EQ(d.italic, 1);
  EXPECT_EQ(d.face, u"Ta");
  ASSERT_EQ(d.items.size(), 2u);
  const DialogItem& ok = d.items[0];
  EXPECT_EQ(ok.style, 0x5001000Bu);
  EXPECT_EQ(ok.x, 240);
  EXPECT_EQ(ok.cy, 14);
  EXPECT_EQ(ok.id, 1u);
  EXPECT_EQ(ok.windowClass.kind, NameOrNumber::Kind::Number);
  EXPECT_EQ(ok.windowClass.number, 0x80);
  EXPECT_EQ(ok.title.text, u"OK");
  const DialogItem& icon = d.items[1];
  EXPECT_EQ(icon.helpId, 5u);
  EXPECT_EQ(icon.exStyle, 0x200u);
  EXPECT_EQ(icon.id, 0xFFFFFFFFu);
  EXPECT_EQ(icon.windowClass.text, u"X");
  EXPECT_EQ(icon.title.kind, NameOrNumber::Kind::Number);
  EXPECT_EQ(icon.title.number, 1287);
  EXPECT_EQ(icon.extra, (std::vector<BYTE>{0xAA, 0xBB}));
}

TEST(DialogTemplate, EveryShorterTemplateIsRefused) {
  const std::vector<BYTE> bytes = Hex(kExtended);
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    DialogTemplate d;
    std::string error;
    EXPECT_FALSE(ReadDialogTemplate(bytes.data(), n, d, error)) << n;
    EXPECT_FALSE(error.empty());
  }
}

TEST(DialogTemplate, PlainLayoutWithoutFont) {
  // style WS_POPUP, no font, 1 item with a 16-bit id.
  const std::vector<BYTE> bytes = Hex(
      "00 00 00 80  00 00 00 00  01 00  00 00 00 00 64 00 32 00"
      " 00 00  00 00  00 00"
      " 00 00 00 50  00 00 00 00  01 00 01 00 10 00 08 00  e8 03  ff ff 82 00  41 00 00 00  00 00");
  DialogTemplate d;
  std::string error;
  ASSERT_TRUE(ReadDialogTemplate(bytes.data(), bytes.size(), d, error)) << error;
  EXPECT_FALSE(d.extended);
  EXPECT_FALSE(d.hasFont);
  EXPECT_EQ(d.cx, 100);
  ASSERT_EQ(d.items.size(), 1u);
  EXPECT_EQ(d.items[0].id, 1000u);
  EXPECT_EQ(d.items[0].windowClass.number, 0x82);
  EXPECT_EQ(d.items[0].title.text, u"A");
}

TEST(DialogTemplate, ItemCountBeyondTheItemsIsRefused) {
  std::vector<BYTE> bytes = Hex(kExtended);
  bytes[16] = 3;  // three items announced, two present
  DialogTemplate d;
  std::string error;
  EXPECT_FALSE(ReadDialogTemplate(bytes.data(), bytes.size(), d, error));
  EXPECT_EQ(error, "dialog item 3 of 3 runs past the end of the template");
}

// "&File" popup with "&Open" (100), a separator and "E&xit" (101, grayed); then "&Help" (102).
const char* const kMenu =
    "00 00 00 00"
    " 10 00  26 00 46 00 69 00 6c 00 65 00 00 00"
    "   00 00 64 00  26 00 4f 00 70 00 65 00 6e 00 00 00"
    "   00 00 00 00  00 00"
    "   81 00 65 00  45 00 26 00 78 00 69 00 74 00 00 00"
    " 88 00 66 00  26 00 48 00 65 00 6c 00 70 00 00 00";

TEST(MenuTemplate, PopupsItemsSeparatorsAndFlags) {
  const std::vector<BYTE> bytes = Hex(kMenu);
  std::vector<MenuTemplateItem> items;
  std::string error;
  ASSERT_TRUE(ReadMenuTemplate(bytes.data(), bytes.size(), items, error)) << error;
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].text, u"&File");
  EXPECT_EQ(items[0].flags, 0x10);
  ASSERT_EQ(items[0].items.size(), 3u);
  EXPECT_EQ(items[0].items[0].id, 100);
  EXPECT_EQ(items[0].items[1].text, u"");
  EXPECT_EQ(items[0].items[1].id, 0);
  EXPECT_EQ(items[0].items[2].flags, 0x01);  // the end mark is not kept
  EXPECT_EQ(items[1].id, 102);
  EXPECT_EQ(items[1].flags, 0x08);
}

TEST(MenuTemplate, ShortOrEndlessMenusAreRefused) {
  const std::vector<BYTE> bytes = Hex(kMenu);
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    std::vector<MenuTemplateItem> items;
    std::string error;
    EXPECT_FALSE(ReadMenuTemplate(bytes.data(), n, items, error)) << n;
  }
  std::vector<MenuTemplateItem> items;
  std::string error;
  const std::vector<BYTE> extended = Hex("01 00 04 00 00 00 00 00");
  EXPECT_FALSE(ReadMenuTemplate(extended.data(), extended.size(), items, error));
  EXPECT_NE(error.find("version 1"), std::string::npos);
}

TEST(MenuTemplate, DeepNestingIsRefusedWithoutExhaustingTheStack) {
  std::vector<BYTE> bytes = {0, 0, 0, 0};
  for (int i = 0; i < 5000; ++i) {  // popups inside popups, each with an empty name
    bytes.insert(bytes.end(), {0x10, 0x00, 0x00, 0x00});
  }
  std::vector<MenuTemplateItem> items;
  std::string error;
  EXPECT_FALSE(ReadMenuTemplate(bytes.data(), bytes.size(), items, error));
  EXPECT_NE(error.find("nest deeper"), std::string::npos) << error;
}

}  // namespace
}  // namespace zx::res
