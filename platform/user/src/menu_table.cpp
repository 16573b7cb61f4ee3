// The menu handle table, item lookup and the items that menu flags describe.
#include "menu_table.h"

#include <unordered_map>

#include "errhandlingapi.h"

namespace zx::user::menus {
namespace {

struct Table {
  std::unordered_map<HMENU, std::unique_ptr<Menu>> menus;
  std::uintptr_t next = 0x1000;
};

Table& TheTable() {
  static auto* table = new Table;
  return *table;
}

}  // namespace

std::mutex& MenuLock() {
  static auto* lock = new std::mutex;
  return *lock;
}

HMENU InsertMenuLocked(bool popup) {
  Table& t = TheTable();
  // Handle values are small, even-tagged numbers that fit 32 bits.
  const auto handle = reinterpret_cast<HMENU>((t.next++ << 4) | 0x6);
  auto menu = std::make_unique<Menu>();
  menu->popup = popup;
  t.menus[handle] = std::move(menu);
  return handle;
}

Menu* FindMenuLocked(HMENU menu) {
  Table& t = TheTable();
  const auto found = t.menus.find(menu);
  return found == t.menus.end() ? nullptr : found->second.get();
}

bool DestroyMenuLocked(HMENU menu) {
  Table& t = TheTable();
  const auto found = t.menus.find(menu);
  if (found == t.menus.end()) return false;
  std::unique_ptr<Menu> gone = std::move(found->second);
  t.menus.erase(found);
  for (const Item& item : gone->items)
    if (item.submenu) DestroyMenuLocked(item.submenu);
  return true;
}

bool LocateLocked(HMENU menu, UINT item, bool byPosition, Place* out) {
  Menu* m = FindMenuLocked(menu);
  if (!m) return false;
  if (byPosition) {
    if (item >= m->items.size()) return false;
    *out = Place{m, item};
    return true;
  }
  for (std::size_t i = 0; i < m->items.size(); ++i) {
    const Item& it = m->items[i];
    if (it.submenu && LocateLocked(it.submenu, item, false, out)) return true;
    if (it.id == item && !(it.type & MFT_SEPARATOR)) {
      *out = Place{m, i};
      return true;
    }
  }
  return false;
}

Item ItemFromFlags(UINT flags, UINT_PTR idOrSubmenu, LPCWSTR text) {
  Item item;
  item.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
  item.type = flags & (MF_MENUBARBREAK | MF_MENUBREAK | MF_RIGHTJUSTIFY);
  if (flags & MF_POPUP) {
    item.submenu = reinterpret_cast<HMENU>(idOrSubmenu);
    item.id = static_cast<UINT>(idOrSubmenu);
  } else {
    item.id = static_cast<UINT>(idOrSubmenu);
  }
  if (flags & MF_SEPARATOR) {
    item.type |= MFT_SEPARATOR;
    item.id = 0;
  } else if (flags & MF_OWNERDRAW) {
    item.type |= MFT_OWNERDRAW;
    item.data = reinterpret_cast<ULONG_PTR>(text);
  } else if (flags & MF_BITMAP) {
    item.type |= MFT_BITMAP;
    item.bitmap = reinterpret_cast<HBITMAP>(const_cast<WCHAR*>(text));
  } else if (text) {
    item.text = text;
  }
  return item;
}

bool BadMenu() {
  SetLastError(ERROR_INVALID_MENU_HANDLE);
  return false;
}

}  // namespace zx::user::menus
