// BCMenu from menu resources: every item owner-drawn with its own record, sub-menus made as
// BCMenu objects, items found by command id across sub-menus, and a missing resource refused
// with the menu left as it was (damaged templates: menu_template_test.cpp; the resource
// modules already refuse to open with one).
#include <gtest/gtest.h>

#include "BCMenu.h"
#include "cstring_printer.h"
#include "machine_fixture.h"
#include "menu_bytes.h"

namespace zx::test {
namespace {

constexpr WORD kTools = 5003;

class BCMenuLoad : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    module_ = ModuleWithMenus({{kTools, ToolsMenu()}}, folder_.path());
    ASSERT_NE(module_, nullptr);
    previous_ = AfxGetResourceHandle();
    AfxSetResourceHandle(module_);
  }
  void TearDown() override {
    AfxSetResourceHandle(previous_);
    res::CloseResourceModule(module_);
    MachineTest::TearDown();
  }
  static const BCMenuData* DataAt(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return nullptr;
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << position;
    return reinterpret_cast<const BCMenuData*>(info.dwItemData);
  }
  TempFolder folder_;
  HMODULE module_ = nullptr;
  HINSTANCE previous_ = nullptr;
};

TEST_F(BCMenuLoad, EveryItemIsOwnerDrawnWithItsRecord) {
  BCMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kTools));
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  ASSERT_EQ(menu.GetSubMenuCount(), 2);
  BCMenu* file = menu.GetCreatedSubMenu(0);
  EXPECT_TRUE(file->IsCreatedSubMenu());
  EXPECT_FALSE(menu.IsCreatedSubMenu());
  EXPECT_EQ(GetSubMenu(menu, 0), file->GetSafeHmenu());
  EXPECT_EQ(CMenu::FromHandlePermanent(file->GetSafeHmenu()), file);
  const BCMenuData* fileItem = DataAt(menu, 0);
  ASSERT_NE(fileItem, nullptr);
  EXPECT_EQ(std::u16string(fileItem->GetWideString()), u"&File");
  EXPECT_TRUE(fileItem->nFlags & MF_POPUP);

  ASSERT_EQ(GetMenuItemCount(*file), 3);
  const BCMenuData* open = DataAt(*file, 0);
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->nID, 1u);
  EXPECT_EQ(open->menuIconNormal, -1);
  EXPECT_EQ(std::u16string(open->GetWideString()), u"&Open\tCtrl+O");
  EXPECT_TRUE(GetMenuState(*file, 1, MF_BYPOSITION) & MF_SEPARATOR);
  const BCMenuData* exit = DataAt(*file, 2);
  ASSERT_NE(exit, nullptr);
  EXPECT_TRUE(exit->nFlags & MF_GRAYED);
  EXPECT_FALSE(exit->nFlags & MF_END);
  EXPECT_TRUE(GetMenuState(menu, 2, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(menu, 4, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(GetMenuItemID(*file, 0), 1u);
}

TEST_F(BCMenuLoad, ItemsAreFoundByCommandAcrossSubMenus) {
  BCMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kTools));
  CString text;
  ASSERT_TRUE(menu.GetMenuText(3, text));
  EXPECT_EQ(text, CString(u"&About"));
  ASSERT_TRUE(menu.GetMenuText(5, text));
  EXPECT_EQ(text, CString(u"Tips"));
  EXPECT_FALSE(menu.GetMenuText(77, text));
  EXPECT_EQ(menu.FindMenuItem(0), nullptr);  // separators and popups have no command
  ASSERT_TRUE(menu.ModifyODMenu(u"About Tunevo", 3, 0));
  ASSERT_TRUE(menu.GetMenuText(3, text));
  EXPECT_EQ(text, CString(u"About Tunevo"));
  EXPECT_EQ(menu.FindMenuItem(3)->menuIconNormal, 0);
  EXPECT_FALSE(menu.ModifyODMenu(u"Nothing", 77));
}

TEST_F(BCMenuLoad, MissingResourceFailsAndLeavesTheMenu) {
  BCMenu menu;
  EXPECT_FALSE(menu.LoadMenu(4242));
  EXPECT_EQ(menu.GetSafeHmenu(), nullptr);
  ASSERT_TRUE(menu.LoadMenu(kTools));
  const HMENU before = menu.GetSafeHmenu();
  EXPECT_FALSE(menu.LoadMenu(4242));
  EXPECT_EQ(menu.GetSafeHmenu(), before);
  EXPECT_EQ(GetMenuItemCount(before), 2);
  CString text;
  EXPECT_TRUE(menu.GetMenuText(3, text));
}

TEST_F(BCMenuLoad, LoadingAgainReplacesTheItemsAndSubMenus) {
  BCMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kTools));
  const HMENU first = menu.GetSafeHmenu();
  ASSERT_TRUE(menu.LoadMenu(MAKEINTRESOURCEW(kTools)));
  EXPECT_TRUE(!IsMenu(first) || first == menu.GetSafeHmenu());  // the old menu is gone
  EXPECT_EQ(menu.GetSubMenuCount(), 2);
  EXPECT_EQ(GetMenuItemCount(menu), 2);
  CString text;
  EXPECT_TRUE(menu.GetMenuText(4, text));
}

TEST_F(BCMenuLoad, NoModuleHoldingTheMenuFails) {
  AfxSetResourceHandle(previous_);  // the program's module holds no menus
  BCMenu menu;
  EXPECT_FALSE(menu.LoadMenu(kTools));
}

TEST_F(BCMenuLoad, AppendedItemsGetTheirOwnRecords) {
  BCMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  ASSERT_TRUE(menu.AppendODMenu(u"Scan now", MF_OWNERDRAW, 40, -1));
  ASSERT_TRUE(menu.AppendODMenu(nullptr, MF_SEPARATOR));
  ASSERT_TRUE(menu.AppendODMenu(u"Settings", MF_OWNERDRAW | MF_CHECKED, 41, 2));
  EXPECT_EQ(GetMenuItemCount(menu), 3);
  const BCMenuData* settings = menu.FindMenuItem(41);
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(settings->menuIconNormal, 2);
  EXPECT_TRUE(settings->nFlags & MF_CHECKED);
  EXPECT_EQ(settings->xoffset, -1);
  EXPECT_EQ(settings->global_offset, -1);
  CString text;
  EXPECT_TRUE(menu.GetMenuText(40, text));
  EXPECT_EQ(text, CString(u"Scan now"));
}

}  // namespace
}  // namespace zx::test
