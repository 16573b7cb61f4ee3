// Menu objects inside the window system: the handle table and the items of each menu, shared
// by the item calls (menu_items.cpp), the loaders (menu_load.cpp) and the popup loop
// (menu_track.cpp).
#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "winmenu.h"

namespace zx::user::menus {

struct Item {
  UINT type = MFT_STRING;  // MFT_ bits
  UINT state = 0;          // MFS_ bits
  UINT id = 0;
  HMENU submenu = nullptr;
  std::u16string text;
  ULONG_PTR data = 0;
  HBITMAP bitmap = nullptr;
};

struct Menu {
  bool popup = false;
  std::vector<Item> items;
};

// Guards every menu; no window procedure is called while it is held.
std::mutex& MenuLock();
HMENU InsertMenuLocked(bool popup);
Menu* FindMenuLocked(HMENU menu);
// Destroys a menu and, through its items, its submenus. MenuLock() held.
bool DestroyMenuLocked(HMENU menu);

// Where an item lives: by position in this menu, or by command id here or in any submenu.
struct Place {
  Menu* menu = nullptr;
  std::size_t index = 0;
};
bool LocateLocked(HMENU menu, UINT item, bool byPosition, Place* out);

// The item AppendMenu/InsertMenu/ModifyMenu describe by their flags.
Item ItemFromFlags(UINT flags, UINT_PTR idOrSubmenu, LPCWSTR text);

// Sets ERROR_INVALID_MENU_HANDLE and answers false.
bool BadMenu();

}  // namespace zx::user::menus
