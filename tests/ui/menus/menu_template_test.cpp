// The menu template reader: items with their levels from hand-written bytes, and damaged
// templates (cut short, a text without its end, a level never ended, nesting too deep, an
// offset past the end) refused whole.
#include <gtest/gtest.h>

#include "BCMenuTemplate.h"
#include "menu_bytes.h"

namespace zx::test {
namespace {

TEST(MenuTemplate, ItemsComeInOrderWithTheirLevels) {
  const std::vector<BYTE> bytes = ToolsMenu();
  std::vector<BCMenuTemplateItem> items;
  ASSERT_TRUE(ReadMenuTemplate(bytes.data(), static_cast<DWORD>(bytes.size()), items));
  ASSERT_EQ(items.size(), 9u);
  const int levels[] = {0, 1, 1, 1, 0, 1, 2, 2, 1};
  for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].level, levels[i]) << i;
  EXPECT_EQ(items[1].text, u"&Open\tCtrl+O");
  EXPECT_EQ(items[1].id, 1);
  EXPECT_EQ(items[2].text, u"");
  EXPECT_EQ(items[3].flags, MF_GRAYED | MF_END);
  EXPECT_EQ(items[7].id, 4);
  EXPECT_EQ(items[8].text, u"Tips");
}

TEST(MenuTemplate, ExactBytesOfAOneItemMenu) {
  // version 0, offset 0; flags MF_END, id 7, "A".
  const BYTE bytes[] = {0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x07, 0x00, 0x41, 0x00, 0x00, 0x00};
  std::vector<BCMenuTemplateItem> items;
  ASSERT_TRUE(ReadMenuTemplate(bytes, sizeof bytes, items));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].id, 7);
  EXPECT_EQ(items[0].text, u"A");
  // The header's offset word skips bytes before the first item.
  const BYTE skipped[] = {0x00, 0x00, 0x02, 0x00, 0xEE, 0xEE, 0x80, 0x00, 0x07, 0x00, 0x41, 0x00, 0x00, 0x00};
  ASSERT_TRUE(ReadMenuTemplate(skipped, sizeof skipped, items));
  EXPECT_EQ(items.size(), 1u);
}

TEST(MenuTemplate, EveryCutOfAGoodTemplateIsRefused) {
  const std::vector<BYTE> bytes = ToolsMenu();
  std::vector<BCMenuTemplateItem> items;
  for (std::size_t size = 0; size < bytes.size(); ++size)
    EXPECT_FALSE(ReadMenuTemplate(bytes.data(), static_cast<DWORD>(size), items)) << size;
  EXPECT_FALSE(ReadMenuTemplate(nullptr, 10, items));
}

TEST(MenuTemplate, LevelNeverEndedIsRefused) {
  std::vector<BYTE> t;
  Put16(t, 0);
  Put16(t, 0);
  Put16(t, 0);
  Put16(t, 1);
  PutText(t, u"One");
  Put16(t, 0);
  Put16(t, 2);
  PutText(t, u"Two");  // no MF_END anywhere
  std::vector<BCMenuTemplateItem> items;
  EXPECT_FALSE(ReadMenuTemplate(t.data(), static_cast<DWORD>(t.size()), items));
}

TEST(MenuTemplate, NestingDeeperThanTheLimitIsRefused) {
  std::vector<BYTE> t;
  Put16(t, 0);
  Put16(t, 0);
  for (int i = 0; i < kMaxMenuDepth + 1; ++i) {
    Put16(t, MF_POPUP | MF_END);
    PutText(t, u"P");
  }
  Put16(t, MF_END);
  Put16(t, 9);
  PutText(t, u"Leaf");
  std::vector<BCMenuTemplateItem> items;
  EXPECT_FALSE(ReadMenuTemplate(t.data(), static_cast<DWORD>(t.size()), items));
}

TEST(MenuTemplate, OffsetPastTheEndIsRefused) {
  const BYTE bytes[] = {0x00, 0x00, 0xFF, 0xFF, 0x80, 0x00, 0x07, 0x00, 0x00, 0x00};
  std::vector<BCMenuTemplateItem> items;
  EXPECT_FALSE(ReadMenuTemplate(bytes, sizeof bytes, items));
}

}  // namespace
}  // namespace zx::test
