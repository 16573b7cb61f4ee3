// BCMenu's toolbar pictures: a hand-written toolbar resource and its bitmap give their button
// pictures to the items with the buttons' command ids, centred in the image cell; damaged or
// missing toolbars change no item.
#include <gtest/gtest.h>

#include "BCMenu.h"
#include "BCMenuTemplate.h"
#include "machine_fixture.h"
#include "menu_bytes.h"

namespace zx::test {
namespace {

constexpr WORD kTools = 5003;
constexpr WORD kMissingBitmap = 5004, kBadVersion = 5005, kCut = 5006, kTooLarge = 5007, kNarrow = 5008;

class BCMenuToolbarTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    std::vector<BYTE> badVersion = ToolsToolbar();
    badVersion[0] = 2;
    std::vector<BYTE> cut = ToolsToolbar();
    cut.resize(cut.size() - 1);
    const std::vector<res::ResourceInput> inputs = {
        Resource(4, kTools, ToolsMenu()),
        Resource(241, kTools, ToolsToolbar()),
        Resource(2, kTools, ToolsStrip(3)),
        Resource(241, kMissingBitmap, ToolsToolbar()),
        Resource(241, kBadVersion, badVersion),
        Resource(2, kBadVersion, ToolsStrip(3)),
        Resource(241, kCut, cut),
        Resource(2, kCut, ToolsStrip(3)),
        Resource(241, kTooLarge, Hex("01 00 14 00 0f 00 01 00  01 00")),
        Resource(2, kTooLarge, ToolsStrip(2)),
        Resource(241, kNarrow, ToolsToolbar()),
        Resource(2, kNarrow, ToolsStrip(2)),
    };
    module_ = ModuleWithResources(inputs, folder_.path());
    ASSERT_NE(module_, nullptr);
    previous_ = AfxGetResourceHandle();
    AfxSetResourceHandle(module_);
  }
  void TearDown() override {
    AfxSetResourceHandle(previous_);
    res::CloseResourceModule(module_);
    MachineTest::TearDown();
  }
  // The pixel of the image list's entry at x, y of the image cell.
  static COLORREF ImagePixel(int image, int x, int y) {
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP cell = CreateCompatibleBitmap(screen, BCMenu::kImageSize, BCMenu::kImageSize);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(dc, cell);
    RECT all{0, 0, BCMenu::kImageSize, BCMenu::kImageSize};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(BCMenu::SharedImageList(), image, dc, 0, 0, ILD_TRANSPARENT);
    const COLORREF pixel = GetPixel(dc, x, y) & 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(cell);
    DeleteDC(dc);
    return pixel;
  }
  TempFolder folder_;
  HMODULE module_ = nullptr;
  HINSTANCE previous_ = nullptr;
};

TEST_F(BCMenuToolbarTest, ButtonPicturesGoToTheItemsWithTheirCommandIds) {
  BCMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kTools));
  ASSERT_TRUE(menu.LoadToolbar(kTools));
  // Items 1, 2 and 3 take the first, second and third picture; 4 and 5 have none.
  const struct {
    UINT id;
    int colour;
  } table[] = {{1, 0}, {2, 1}, {3, 2}, {4, -1}, {5, -1}};
  for (const auto& row : table) {
    const BCMenuData* item = menu.FindMenuItem(row.id);
    ASSERT_NE(item, nullptr) << row.id;
    if (row.colour < 0) {
      EXPECT_EQ(item->menuIconNormal, -1) << row.id;
      continue;
    }
    ASSERT_GE(item->menuIconNormal, 0) << row.id;
    EXPECT_EQ(item->menuIconNormal, BCMenu::FindImage(row.id));
    // The 16 x 15 button lies at 1,2 of the 19 x 19 cell: its square from 4,5 to 13,13.
    EXPECT_EQ(ImagePixel(item->menuIconNormal, 4, 5), kButtonColours[row.colour]) << row.id;
    EXPECT_EQ(ImagePixel(item->menuIconNormal, 13, 13), kButtonColours[row.colour]) << row.id;
    EXPECT_EQ(ImagePixel(item->menuIconNormal, 3, 5), RGB(255, 255, 255)) << "the grey is transparent";
    EXPECT_EQ(ImagePixel(item->menuIconNormal, 14, 13), RGB(255, 255, 255));
  }
  // Loading the toolbar again reuses the pictures already in the shared list.
  const int images = ImageList_GetImageCount(BCMenu::SharedImageList());
  BCMenu again;
  ASSERT_TRUE(again.LoadMenu(kTools));
  ASSERT_TRUE(again.LoadToolbar(kTools));
  EXPECT_EQ(ImageList_GetImageCount(BCMenu::SharedImageList()), images);
  EXPECT_EQ(again.FindMenuItem(2)->menuIconNormal, menu.FindMenuItem(2)->menuIconNormal);
}

TEST_F(BCMenuToolbarTest, DamagedOrMissingToolbarsChangeNoItem) {
  const WORD ids[] = {4242, kMissingBitmap, kBadVersion, kCut, kTooLarge, kNarrow};
  BCMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kTools));
  for (WORD id : ids) {
    EXPECT_FALSE(menu.LoadToolbar(id)) << id;
    for (UINT item = 1; item <= 5; ++item) EXPECT_EQ(menu.FindMenuItem(item)->menuIconNormal, -1) << id;
  }
}

TEST(BCMenuToolbarBytes, TheResourceIsReadWordByWord) {
  BCMenuToolbar toolbar;
  const std::vector<BYTE> bytes = ToolsToolbar();
  ASSERT_TRUE(ReadToolbarTemplate(bytes.data(), static_cast<DWORD>(bytes.size()), toolbar));
  EXPECT_EQ(toolbar.width, 16);
  EXPECT_EQ(toolbar.height, 15);
  EXPECT_EQ(toolbar.ids, (std::vector<WORD>{1, 0, 2, 3}));
  const std::vector<BYTE> empty = Hex("01 00 10 00 0f 00 00 00");
  ASSERT_TRUE(ReadToolbarTemplate(empty.data(), 8, toolbar));
  EXPECT_TRUE(toolbar.ids.empty());
  const char* damaged[] = {"", "01 00 10 00 0f", "01 00 00 00 0f 00 00 00", "01 00 10 00 00 00 00 00",
                           "00 00 10 00 0f 00 00 00", "01 00 10 00 0f 00 02 00  01 00"};
  for (const char* text : damaged) {
    const std::vector<BYTE> b = Hex(text);
    toolbar.ids = {9};
    EXPECT_FALSE(ReadToolbarTemplate(b.data(), static_cast<DWORD>(b.size()), toolbar)) << text;
    EXPECT_EQ(toolbar.ids, (std::vector<WORD>{9})) << "left as it was";
  }
  EXPECT_FALSE(ReadToolbarTemplate(nullptr, 8, toolbar));
}

}  // namespace
}  // namespace zx::test
