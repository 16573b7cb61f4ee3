// Menus: items added, changed, found by command and by position, check and enable states,
// the default item, item information, the system menu, menus from resources (a damaged
// template refused), and popup menus tracked in their own loop: an item picked with the
// mouse or the keys from the idle hook, dismissal, notifications, owner-drawn items measured
// and drawn with real pixels.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "errhandlingapi.h"
#include "menu_resources.h"
#include "user_testing.h"
#include "windraw.h"
#include "wingdi.h"
#include "winmenu.h"
#include "winresource.h"
#include "wininput.h"
#include "zx/gdi.h"
#include "zx/input.h"
#include "zx/menus.h"
#include "zx/modal.h"
#include "zx/resmodule.h"

namespace zx::test {
namespace {

using MenuItems = UserTest;
using MenuResources = UserTest;

class PopupMenus : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    user::ResetInput();
    owner_ = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 400, 300);
    PumpWaiting();
    ClearRecorded();
  }
  void TearDown() override {
    user::SetIdleHook(nullptr);
    user::ResetInput();
    UserTest::TearDown();
  }
  HWND owner_ = nullptr;
};

// A popup of three commands, a separator, a grayed command and a submenu of two.
HMENU SampleMenu() {
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING, 101, u"&Open");
  AppendMenuW(popup, MF_STRING | MF_CHECKED, 102, u"&Save\tCtrl+S");
  AppendMenuW(popup, MF_STRING, 103, u"E&xit");
  AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(popup, MF_STRING | MF_GRAYED, 104, u"&Gone");
  HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 201, u"&First");
  AppendMenuW(sub, MF_STRING, 202, u"Se&cond");
  AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"&More");
  return popup;
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

std::u16string TextOf(HMENU menu, UINT item, UINT flags) {
  WCHAR text[64] = {};
  GetMenuStringW(menu, item, text, 64, flags);
  return text;
}

TEST_F(MenuItems, ItemsAreFoundByPositionAndByCommandThroughSubmenus) {
  HMENU menu = SampleMenu();
  EXPECT_EQ(GetMenuItemCount(menu), 6);
  EXPECT_EQ(GetMenuItemID(menu, 0), 101u);
  EXPECT_EQ(GetMenuItemID(menu, 5), 0xFFFFFFFFu);  // a submenu
  EXPECT_EQ(GetMenuItemID(menu, 9), 0xFFFFFFFFu);
  const HMENU sub = GetSubMenu(menu, 5);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(GetSubMenu(menu, 0), nullptr);
  EXPECT_EQ(TextOf(menu, 202, MF_BYCOMMAND), u"Se&cond");
  EXPECT_EQ(TextOf(menu, 1, MF_BYPOSITION), u"&Save\tCtrl+S");
  EXPECT_EQ(GetMenuStringW(menu, 101, nullptr, 0, MF_BYCOMMAND), 5);
  EXPECT_EQ(GetMenuState(menu, 102, MF_BYCOMMAND), MF_CHECKED);
  EXPECT_EQ(GetMenuState(menu, 104, MF_BYCOMMAND), MF_GRAYED);
  EXPECT_EQ(GetMenuState(menu, 5, MF_BYPOSITION), (2u << 8) | MF_POPUP);
  EXPECT_EQ(GetMenuState(menu, 999, MF_BYCOMMAND), 0xFFFFFFFFu);
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(IsMenu(sub));
  SetLastError(0);
  EXPECT_FALSE(DestroyMenu(menu));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
}

TEST_F(MenuItems, InsertModifyRemoveAndDelete) {
  HMENU menu = SampleMenu();
  const HMENU sub = GetSubMenu(menu, 5);
  ASSERT_TRUE(InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, 100, u"&New"));
  ASSERT_TRUE(InsertMenuW(menu, 202, MF_BYCOMMAND | MF_STRING, 250, u"Between"));
  EXPECT_EQ(GetMenuItemID(sub, 1), 250u);
  EXPECT_FALSE(InsertMenuW(menu, 999, MF_BYCOMMAND, 1, u"x"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MENU_ITEM_NOT_FOUND));
  ASSERT_TRUE(ModifyMenuW(menu, 101, MF_BYCOMMAND | MF_STRING, 111, u"Open &again"));
  EXPECT_EQ(GetMenuItemID(menu, 1), 111u);
  EXPECT_EQ(TextOf(menu, 111, MF_BYCOMMAND), u"Open &again");
  ASSERT_TRUE(RemoveMenu(menu, 6, MF_BYPOSITION));  // the submenu item; the submenu stays
  EXPECT_TRUE(IsMenu(sub));
  EXPECT_EQ(GetMenuItemCount(menu), 6);
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"&More");
  ASSERT_TRUE(DeleteMenu(menu, 6, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(sub));
  EXPECT_FALSE(DeleteMenu(menu, 6, MF_BYPOSITION));
  DestroyMenu(menu);
}

TEST_F(MenuItems, CheckEnableAndRadioAnswerThePreviousState) {
  HMENU menu = SampleMenu();
  EXPECT_EQ(CheckMenuItem(menu, 102, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(CheckMenuItem(menu, 102, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(CheckMenuItem(menu, 999, MF_CHECKED), 0xFFFFFFFFu);
  EXPECT_EQ(EnableMenuItem(menu, 104, MF_BYCOMMAND | MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
  EXPECT_EQ(EnableMenuItem(menu, 0, MF_BYPOSITION | MF_DISABLED | MF_GRAYED), static_cast<BOOL>(MF_ENABLED));
  EXPECT_EQ(GetMenuState(menu, 101, MF_BYCOMMAND), MF_GRAYED | MF_DISABLED);
  EXPECT_EQ(EnableMenuItem(menu, 999, MF_ENABLED), -1);
  ASSERT_TRUE(CheckMenuRadioItem(menu, 0, 2, 2, MF_BYPOSITION));
  EXPECT_EQ(GetMenuState(menu, 103, MF_BYCOMMAND) & (MF_CHECKED | MFT_RADIOCHECK), MF_CHECKED | MFT_RADIOCHECK);
  EXPECT_EQ(GetMenuState(menu, 102, MF_BYCOMMAND) & MF_CHECKED, 0u);
  DestroyMenu(menu);
}

TEST_F(MenuItems, OneDefaultItemAtATime) {
  HMENU menu = SampleMenu();
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 0xFFFFFFFFu);
  ASSERT_TRUE(SetMenuDefaultItem(menu, 103, FALSE));
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 103u);
  ASSERT_TRUE(SetMenuDefaultItem(menu, 0, TRUE));
  EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), 0u);
  EXPECT_EQ(GetMenuState(menu, 103, MF_BYCOMMAND) & MFS_DEFAULT, 0u);
  EXPECT_FALSE(SetMenuDefaultItem(menu, 777, FALSE));
  ASSERT_TRUE(SetMenuDefaultItem(menu, 4, TRUE));  // grayed
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 0xFFFFFFFFu);
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, GMDI_USEDISABLED), 104u);
  ASSERT_TRUE(SetMenuDefaultItem(menu, 0xFFFFFFFFu, FALSE));
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, GMDI_USEDISABLED), 0xFFFFFFFFu);
  DestroyMenu(menu);
}

TEST_F(MenuItems, ItemInformationReadsAndWritesTheNamedFields) {
  HMENU menu = SampleMenu();
  WCHAR text[4];
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_FTYPE | MIIM_SUBMENU;
  info.dwTypeData = text;
  info.cch = 4;
  ASSERT_TRUE(GetMenuItemInfoW(menu, 1, TRUE, &info));
  EXPECT_EQ(info.wID, 102u);
  EXPECT_EQ(info.fState, MFS_CHECKED);
  EXPECT_EQ(info.cch, 3u);
  EXPECT_EQ(std::u16string(text), u"&Sa");
  EXPECT_EQ(info.hSubMenu, nullptr);
  MENUITEMINFOW change{};
  change.cbSize = sizeof change;
  change.fMask = MIIM_DATA | MIIM_FTYPE;
  change.fType = MFT_OWNERDRAW;
  change.dwItemData = 0xABCD;
  ASSERT_TRUE(SetMenuItemInfoW(menu, 102, FALSE, &change));
  MENUITEMINFOW read{};
  read.cbSize = sizeof read;
  read.fMask = MIIM_DATA | MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoW(menu, 102, FALSE, &read));
  EXPECT_EQ(read.dwItemData, 0xABCDu);
  EXPECT_EQ(read.fType, MFT_OWNERDRAW);
  MENUITEMINFOW bad{};
  bad.cbSize = 12;
  EXPECT_FALSE(GetMenuItemInfoW(menu, 0, TRUE, &bad));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  MENUITEMINFOW added{};
  added.cbSize = sizeof added;
  added.fMask = MIIM_ID | MIIM_STRING;
  added.wID = 900;
  added.dwTypeData = const_cast<LPWSTR>(u"Added");
  ASSERT_TRUE(InsertMenuItemW(menu, 0, TRUE, &added));
  EXPECT_EQ(TextOf(menu, 900, MF_BYCOMMAND), u"Added");
  DestroyMenu(menu);
}

TEST_F(MenuItems, TheSystemMenuIsMadeOnceAndPutBack) {
  const HWND top = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"", 0, 0, 200, 100);
  const HMENU system = GetSystemMenu(top, FALSE);
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(GetSystemMenu(top, FALSE), system);
  EXPECT_EQ(GetMenuItemCount(system), 7);
  EXPECT_EQ(GetMenuDefaultItem(system, FALSE, 0), static_cast<UINT>(SC_CLOSE));
  DeleteMenu(system, SC_MOVE, MF_BYCOMMAND);
  EXPECT_EQ(GetSystemMenu(top, TRUE), nullptr);
  const HMENU fresh = GetSystemMenu(top, FALSE);
  EXPECT_EQ(GetMenuItemCount(fresh), 7);
  const HWND plain = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 10, 10);
  EXPECT_EQ(GetSystemMenu(plain, FALSE), nullptr);
  DestroyWindow(top);
  EXPECT_FALSE(IsMenu(fresh));
}

// ---- Menus from resources ---------------------------------------------------------------

TEST_F(MenuResources, ATemplateBecomesAMenuBarWithPopups) {
  TempFolder folder;
  const HMODULE module = ModuleWithMenu(MenuTemplate(), folder.path());
  ASSERT_NE(module, nullptr);
  const HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(5003));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 2);
  const HMENU file = GetSubMenu(menu, 0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(GetMenuItemCount(file), 3);
  EXPECT_EQ(GetMenuItemID(file, 0), 1u);
  EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_EQ(GetMenuState(file, 2, MF_BYCOMMAND), MF_GRAYED);
  EXPECT_EQ(TextOf(menu, 3, MF_BYCOMMAND), u"&About");
  EXPECT_EQ(LoadMenuW(module, MAKEINTRESOURCEW(5004)), nullptr);
  DestroyMenu(menu);
  res::CloseResourceModule(module);
}

TEST_F(MenuResources, ADamagedTemplateGivesNoMenu) {
  TempFolder folder;
  std::vector<BYTE> damaged = MenuTemplate();
  damaged.resize(damaged.size() - 5);  // the last item's text runs past the end
  const HMODULE module = ModuleWithMenu(damaged, folder.path());
  EXPECT_EQ(module, nullptr);  // the file is refused whole
  EXPECT_EQ(LoadMenuW(module, MAKEINTRESOURCEW(5003)), nullptr);
  std::vector<BYTE> version = MenuTemplate();
  version[0] = 7;  // not the standard layout
  EXPECT_EQ(ModuleWithMenu(version, folder.path()), nullptr);
}

// ---- Popup menus --------------------------------------------------------------------------

TEST_F(PopupMenus, TheIdleHookPicksAnItemWithTheMouse) {
  HMENU menu = SampleMenu();
  int step = 0;
  user::SetIdleHook([&step] {
    RECT item{};
    if (step++ != 0 || !user::TrackedMenuItemRect(2, &item)) return;
    user::InjectMouse(Centre(item), WM_MOUSEMOVE);
    user::InjectMouse(Centre(item), WM_LBUTTONDOWN);
    user::InjectMouse(Centre(item), WM_LBUTTONUP);
  });
  EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 50, 40, owner_, nullptr), 103);
  EXPECT_EQ(user::TrackedMenuWindow(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  PumpWaiting();
  const std::vector<UINT> got = RecordedFor(owner_);
  EXPECT_NE(std::find(got.begin(), got.end(), WM_ENTERMENULOOP), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), WM_INITMENUPOPUP), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), WM_MENUSELECT), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), WM_EXITMENULOOP), got.end());
  EXPECT_EQ(std::find(got.begin(), got.end(), WM_COMMAND), got.end());  // answered, not posted
  DestroyMenu(menu);
}

TEST_F(PopupMenus, TheReleaseOfThePressThatOpenedItChoosesNothing) {
  // A press opens the menu under the pointer (as a window's icon opens its system menu); the
  // button goes up where it went down, on the first item: the menu stays, a later click chooses.
  HMENU menu = SampleMenu();
  user::InjectMouse(POINT{52, 42}, WM_MOUSEMOVE);
  int step = 0;
  user::SetIdleHook([&step] {
    RECT item{};
    if (step == 0) {
      EXPECT_TRUE(user::TrackedMenuItemRect(0, &item) && PtInRect(&item, POINT{52, 42})) << "the pointer is on the first item";
      user::InjectMouse(POINT{52, 42}, WM_LBUTTONUP);
    }
    if (step == 1 && user::TrackedMenuWindow() != nullptr && user::TrackedMenuItemRect(2, &item)) {
      user::InjectMouse(Centre(item), WM_MOUSEMOVE);
      user::InjectMouse(Centre(item), WM_LBUTTONDOWN);
      user::InjectMouse(Centre(item), WM_LBUTTONUP);
    }
    ++step;
  });
  EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 40, 36, owner_, nullptr), 103);
  user::SetIdleHook(nullptr);
  DestroyMenu(menu);
}

TEST_F(PopupMenus, WithoutReturnCmdTheCommandIsPostedToTheOwner) {
  HMENU menu = SampleMenu();
  user::SetIdleHook([] {
    user::InjectKey(VK_DOWN, true);
    user::InjectKey(VK_DOWN, true);
    user::InjectKey(VK_RETURN, true);
  });
  EXPECT_TRUE(TrackPopupMenu(menu, 0, 10, 10, 0, owner_, nullptr));
  user::SetIdleHook(nullptr);
  PumpWaiting();
  WPARAM command = 0;
  for (const Delivered& d : Recorded())
    if (d.window == owner_ && d.message == WM_COMMAND) command = d.wParam;
  EXPECT_EQ(command, 102u);
  DestroyMenu(menu);
}

TEST_F(PopupMenus, KeysWalkPastSeparatorsAndGrayedItemsIntoSubmenus) {
  HMENU menu = SampleMenu();
  user::SetIdleHook([] {
    user::InjectKey(VK_UP, true);      // wraps to the submenu item, skipping the grayed one
    user::InjectKey(VK_RIGHT, true);   // opens it with its first item selected
    user::InjectKey(VK_DOWN, true);
    user::InjectKey(VK_RETURN, true);
  });
  EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 10, 10, owner_, nullptr), 202);
  DestroyMenu(menu);
}

TEST_F(PopupMenus, EscapeAClickElsewhereAndEndMenuDismissWithoutACommand) {
  HMENU menu = SampleMenu();
  user::SetIdleHook([] { user::InjectKey(VK_ESCAPE, true); });
  EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 10, 10, owner_, nullptr), 0);
  user::SetIdleHook([] { user::InjectMouse(POINT{390, 290}, WM_LBUTTONDOWN); });
  EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 10, 10, owner_, nullptr), 0);
  user::SetIdleHook([] { EndMenu(); });
  EXPECT_TRUE(TrackPopupMenu(menu, 0, 10, 10, 0, owner_, nullptr));
  user::SetIdleHook(nullptr);
  PumpWaiting();
  for (const Delivered& d : Recorded()) EXPECT_NE(d.message, WM_COMMAND);
  DestroyMenu(menu);
}

TEST_F(PopupMenus, GrayedItemsAreNotChosenAndMnemonicsAre) {
  HMENU menu = SampleMenu();
  int step = 0;
  user::SetIdleHook([&step] {
    RECT grayed{};
    if (step++ == 0 && user::TrackedMenuItemRect(4, &grayed)) {
      user::InjectMouse(Centre(grayed), WM_LBUTTONUP);
      return;
    }
    PostMessageW(user::TrackedMenuWindow(), WM_CHAR, u'x', 0);
  });
  EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 10, 10, owner_, nullptr), 103);
  DestroyMenu(menu);
}

TEST_F(PopupMenus, QuitEndsTheLoopAndIsPostedAgain) {
  HMENU menu = SampleMenu();
  user::SetIdleHook([] { PostQuitMessage(9); });
  EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 10, 10, owner_, nullptr), 0);
  user::SetIdleHook(nullptr);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 9u);
  DestroyMenu(menu);
}

TEST_F(PopupMenus, BadArgumentsAndNestedTrackingAreRefused) {
  HMENU menu = SampleMenu();
  EXPECT_FALSE(TrackPopupMenuEx(reinterpret_cast<HMENU>(0x1234), 0, 0, 0, owner_, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  EXPECT_FALSE(TrackPopupMenuEx(menu, 0, 0, 0, nullptr, nullptr));
  BOOL nested = TRUE;
  DWORD nestedError = 0;
  user::SetIdleHook([&] {
    nested = TrackPopupMenuEx(menu, 0, 0, 0, owner_, nullptr);
    nestedError = GetLastError();
    EndMenu();
  });
  TrackPopupMenuEx(menu, 0, 0, 0, owner_, nullptr);
  EXPECT_FALSE(nested);
  EXPECT_EQ(nestedError, static_cast<DWORD>(ERROR_POPUP_ALREADY_ACTIVE));
  DestroyMenu(menu);
}

TEST_F(PopupMenus, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner) {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_OWNERDRAW, 301, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(0x51)));
  AppendMenuW(menu, MF_OWNERDRAW | MF_CHECKED, 302, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(0x52)));
  std::vector<MEASUREITEMSTRUCT> measured;
  std::vector<DRAWITEMSTRUCT> drawn;
  OnMessage(WM_MEASUREITEM, [&](HWND, UINT, WPARAM, LPARAM l) -> LRESULT {
    auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    measured.push_back(*m);
    m->itemWidth = 120;
    m->itemHeight = 30;
    return TRUE;
  });
  OnMessage(WM_DRAWITEM, [&](HWND, UINT, WPARAM, LPARAM l) -> LRESULT {
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(l);
    drawn.push_back(*d);
    HBRUSH brush = CreateSolidBrush(d->itemData == 0x51 ? RGB(0, 128, 255) : RGB(255, 128, 0));
    FillRect(d->hDC, &d->rcItem, brush);
    DeleteObject(brush);
    return TRUE;
  });
  COLORREF first = 0, second = 0;
  RECT firstRect{}, secondRect{};
  user::SetIdleHook([&] {
    const HWND window = user::TrackedMenuWindow();
    if (!window || !user::TrackedMenuItemRect(0, &firstRect) || !user::TrackedMenuItemRect(1, &secondRect)) return;
    RECT at{};
    GetWindowRect(window, &at);
    HDC dc = GetWindowDC(window);
    first = GetPixel(dc, Centre(firstRect).x - at.left, Centre(firstRect).y - at.top);
    second = GetPixel(dc, Centre(secondRect).x - at.left, Centre(secondRect).y - at.top);
    ReleaseDC(window, dc);
    EndMenu();
  });
  TrackPopupMenuEx(menu, TPM_RETURNCMD, 30, 30, owner_, nullptr);
  ASSERT_EQ(measured.size(), 2u);
  EXPECT_EQ(measured[0].CtlType, static_cast<UINT>(ODT_MENU));
  EXPECT_EQ(measured[0].itemID, 301u);
  EXPECT_EQ(measured[1].itemData, 0x52u);
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].CtlType, static_cast<UINT>(ODT_MENU));
  EXPECT_EQ(drawn[0].hwndItem, reinterpret_cast<HWND>(menu));
  EXPECT_EQ(drawn[0].itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
  EXPECT_EQ(drawn[1].itemState & ODS_CHECKED, static_cast<UINT>(ODS_CHECKED));
  EXPECT_EQ(drawn[0].rcItem.right - drawn[0].rcItem.left, 120);
  EXPECT_EQ(firstRect.bottom - firstRect.top, 30);
  EXPECT_EQ(first, RGB(0, 128, 255));
  EXPECT_EQ(second, RGB(255, 128, 0));
  DestroyMenu(menu);
}

TEST_F(PopupMenus, TextItemsArePaintedWithTheSelectionHighlighted) {
  HMENU menu = SampleMenu();
  COLORREF selected = 0, plain = 0;
  int step = 0;
  user::SetIdleHook([&] {
    RECT item0{}, item2{};
    if (!user::TrackedMenuItemRect(0, &item0) || !user::TrackedMenuItemRect(2, &item2)) return;
    if (step++ == 0) {
      user::InjectMouse(POINT{item0.left + 4, Centre(item0).y}, WM_MOUSEMOVE);
      return;
    }
    const HWND window = user::TrackedMenuWindow();
    RECT at{};
    GetWindowRect(window, &at);
    HDC dc = GetWindowDC(window);
    selected = GetPixel(dc, item0.left + 4 - at.left, Centre(item0).y - at.top);
    plain = GetPixel(dc, item2.left + 4 - at.left, Centre(item2).y - at.top);
    ReleaseDC(window, dc);
    EndMenu();
  });
  TrackPopupMenuEx(menu, TPM_RETURNCMD, 30, 30, owner_, nullptr);
  EXPECT_EQ(selected, GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(plain, GetSysColor(COLOR_MENU));
  DestroyMenu(menu);
}

}  // namespace
}  // namespace zx::test
