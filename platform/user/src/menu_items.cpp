// Menus and their items: creating and destroying menus, adding, changing and removing items,
// and reading and setting their text, state, ids, data and the default item.
#include <algorithm>

#include "errhandlingapi.h"
#include "menu_table.h"
#include "usertext.h"

namespace zx::user::menus {
namespace {

constexpr UINT kNoItem = 0xFFFFFFFFu;

// The smaller record of older callers, without hbmpItem.
constexpr UINT kOldItemInfoSize = offsetof(MENUITEMINFOW, hbmpItem);

bool ValidInfoSize(UINT size) { return size == sizeof(MENUITEMINFOW) || size == kOldItemInfoSize; }

bool ItemNotFound() {
  SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
  return false;
}

// Inserts before the item named by (position, byPosition); past the end appends.
BOOL InsertItem(HMENU menu, UINT position, bool byPosition, Item item) {
  std::lock_guard<std::mutex> guard(MenuLock());
  Menu* m = FindMenuLocked(menu);
  if (!m) return BadMenu();
  if (item.submenu && !FindMenuLocked(item.submenu)) return BadMenu();
  if (byPosition) {
    const std::size_t at = std::min<std::size_t>(position, m->items.size());
    m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    return TRUE;
  }
  Place place;
  if (!LocateLocked(menu, position, false, &place)) return ItemNotFound();
  place.menu->items.insert(place.menu->items.begin() + static_cast<std::ptrdiff_t>(place.index), std::move(item));
  return TRUE;
}

BOOL TakeOut(HMENU menu, UINT position, UINT flags, bool destroySubmenu) {
  std::lock_guard<std::mutex> guard(MenuLock());
  if (!FindMenuLocked(menu)) return BadMenu();
  Place place;
  if (!LocateLocked(menu, position, flags & MF_BYPOSITION, &place)) return ItemNotFound();
  const HMENU submenu = place.menu->items[place.index].submenu;
  place.menu->items.erase(place.menu->items.begin() + static_cast<std::ptrdiff_t>(place.index));
  if (destroySubmenu && submenu) DestroyMenuLocked(submenu);
  return TRUE;
}

// Applies the fields fMask names to an item.
void ApplyInfo(Item& item, const MENUITEMINFOW& info) {
  if (info.fMask & MIIM_TYPE) {
    item.type = info.fType;
    item.text.clear();
    item.bitmap = nullptr;
    if (info.fType & MFT_BITMAP)
      item.bitmap = reinterpret_cast<HBITMAP>(info.dwTypeData);
    else if (!(info.fType & (MFT_SEPARATOR | MFT_OWNERDRAW)) && info.dwTypeData)
      item.text = info.dwTypeData;
  }
  if (info.fMask & MIIM_FTYPE) item.type = (item.type & MFT_BITMAP) | (info.fType & ~MFT_BITMAP);
  if (info.fMask & MIIM_STRING) item.text = info.dwTypeData ? info.dwTypeData : u"";
  if (info.fMask & MIIM_BITMAP && info.cbSize == sizeof(MENUITEMINFOW)) item.bitmap = info.hbmpItem;
  if (info.fMask & MIIM_STATE) item.state = info.fState;
  if (info.fMask & MIIM_ID) item.id = info.wID;
  if (info.fMask & MIIM_SUBMENU) item.submenu = info.hSubMenu;
  if (info.fMask & MIIM_DATA) item.data = info.dwItemData;
}

}  // namespace
}  // namespace zx::user::menus

using namespace zx::user::menus;

HMENU CreateMenu() {
  std::lock_guard<std::mutex> guard(MenuLock());
  return InsertMenuLocked(false);
}

HMENU CreatePopupMenu() {
  std::lock_guard<std::mutex> guard(MenuLock());
  return InsertMenuLocked(true);
}

BOOL DestroyMenu(HMENU menu) {
  std::lock_guard<std::mutex> guard(MenuLock());
  return DestroyMenuLocked(menu) || BadMenu();
}

BOOL IsMenu(HMENU menu) {
  std::lock_guard<std::mutex> guard(MenuLock());
  return FindMenuLocked(menu) != nullptr;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR text) {
  return InsertItem(menu, kNoItem, true, ItemFromFlags(flags, idOrSubmenu, text));
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR text) {
  return InsertItem(menu, position, flags & MF_BYPOSITION, ItemFromFlags(flags, idOrSubmenu, text));
}

BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
  if (!info || !ValidInfoSize(info->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Item fresh;
  ApplyInfo(fresh, *info);
  return InsertItem(menu, item, byPosition != FALSE, std::move(fresh));
}

BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR text) {
  Item fresh = ItemFromFlags(flags, idOrSubmenu, text);
  std::lock_guard<std::mutex> guard(MenuLock());
  if (!FindMenuLocked(menu)) return BadMenu();
  Place place;
  if (!LocateLocked(menu, position, flags & MF_BYPOSITION, &place)) return ItemNotFound();
  Item& item = place.menu->items[place.index];
  // A submenu that the item no longer opens is destroyed with it.
  if (item.submenu && item.submenu != fresh.submenu) DestroyMenuLocked(item.submenu);
  item = std::move(fresh);
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return TakeOut(menu, position, flags, false); }

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return TakeOut(menu, position, flags, true); }

int GetMenuItemCount(HMENU menu) {
  std::lock_guard<std::mutex> guard(MenuLock());
  const Menu* m = FindMenuLocked(menu);
  if (!m) {
    BadMenu();
    return -1;
  }
  return static_cast<int>(m->items.size());
}

UINT GetMenuItemID(HMENU menu, int position) {
  std::lock_guard<std::mutex> guard(MenuLock());
  const Menu* m = FindMenuLocked(menu);
  if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return kNoItem;
  const Item& item = m->items[static_cast<std::size_t>(position)];
  return item.submenu ? kNoItem : item.id;
}

HMENU GetSubMenu(HMENU menu, int position) {
  std::lock_guard<std::mutex> guard(MenuLock());
  const Menu* m = FindMenuLocked(menu);
  if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return nullptr;
  return m->items[static_cast<std::size_t>(position)].submenu;
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR text, int capacity, UINT flags) {
  std::u16string value;
  {
    std::lock_guard<std::mutex> guard(MenuLock());
    Place place;
    if (!LocateLocked(menu, item, flags & MF_BYPOSITION, &place)) return 0;
    value = place.menu->items[place.index].text;
  }
  if (!text || capacity <= 0) return static_cast<int>(value.size());
  return zx::user::CopyOut(value, text, capacity);
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  std::lock_guard<std::mutex> guard(MenuLock());
  Place place;
  if (!LocateLocked(menu, item, flags & MF_BYPOSITION, &place)) return kNoItem;
  const Item& it = place.menu->items[place.index];
  const UINT own = (it.type | it.state) & 0xFFFF & ~MF_POPUP;
  if (!it.submenu) return own;
  const Menu* sub = FindMenuLocked(it.submenu);
  const UINT count = sub ? static_cast<UINT>(std::min<std::size_t>(sub->items.size(), 0xFF)) : 0;
  return (count << 8) | (own & 0xFF) | MF_POPUP;
}

BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info) {
  if (!info || !ValidInfoSize(info->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Item it;
  {
    std::lock_guard<std::mutex> guard(MenuLock());
    if (!FindMenuLocked(menu)) return BadMenu();
    Place place;
    if (!LocateLocked(menu, item, byPosition != FALSE, &place)) return ItemNotFound();
    it = place.menu->items[place.index];
  }
  if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = it.type;
  if (info->fMask & MIIM_STATE) info->fState = it.state;
  if (info->fMask & MIIM_ID) info->wID = it.id;
  if (info->fMask & MIIM_SUBMENU) info->hSubMenu = it.submenu;
  if (info->fMask & MIIM_DATA) info->dwItemData = it.data;
  if (info->fMask & MIIM_BITMAP && info->cbSize == sizeof(MENUITEMINFOW)) info->hbmpItem = it.bitmap;
  const bool wantsText = (info->fMask & MIIM_STRING) ||
                         ((info->fMask & MIIM_TYPE) && !(it.type & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW)));
  if (wantsText) {
    if (info->dwTypeData && info->cch > 0)
      info->cch = static_cast<UINT>(zx::user::CopyOut(it.text, info->dwTypeData, static_cast<int>(std::min<UINT>(info->cch, 0x7FFFFFFF))));
    else
      info->cch = static_cast<UINT>(it.text.size());
  }
  return TRUE;
}

BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
  if (!info || !ValidInfoSize(info->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> guard(MenuLock());
  if (!FindMenuLocked(menu)) return BadMenu();
  if ((info->fMask & MIIM_SUBMENU) && info->hSubMenu && !FindMenuLocked(info->hSubMenu)) return BadMenu();
  Place place;
  if (!LocateLocked(menu, item, byPosition != FALSE, &place)) return ItemNotFound();
  ApplyInfo(place.menu->items[place.index], *info);
  return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  std::lock_guard<std::mutex> guard(MenuLock());
  Place place;
  if (!LocateLocked(menu, item, check & MF_BYPOSITION, &place)) return kNoItem;
  UINT& state = place.menu->items[place.index].state;
  const DWORD previous = state & MF_CHECKED;
  state = (state & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  std::lock_guard<std::mutex> guard(MenuLock());
  Place place;
  if (!LocateLocked(menu, item, enable & MF_BYPOSITION, &place)) return -1;
  UINT& state = place.menu->items[place.index].state;
  const UINT previous = state & (MF_GRAYED | MF_DISABLED);
  state = (state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return static_cast<BOOL>(previous);
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
  std::lock_guard<std::mutex> guard(MenuLock());
  Place from, to;
  const bool byPosition = flags & MF_BYPOSITION;
  if (!LocateLocked(menu, first, byPosition, &from) || !LocateLocked(menu, last, byPosition, &to) ||
      from.menu != to.menu) {
    return ItemNotFound();
  }
  Place chosen;
  if (!LocateLocked(menu, check, byPosition, &chosen) || chosen.menu != from.menu) return ItemNotFound();
  for (std::size_t i = std::min(from.index, to.index); i <= std::max(from.index, to.index); ++i) {
    Item& item = from.menu->items[i];
    item.state &= ~MF_CHECKED;
    if (i == chosen.index) {
      item.state |= MF_CHECKED;
      item.type |= MFT_RADIOCHECK;
    }
  }
  return TRUE;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
  std::lock_guard<std::mutex> guard(MenuLock());
  Menu* m = FindMenuLocked(menu);
  if (!m) return BadMenu();
  std::size_t chosen = m->items.size();
  if (item != kNoItem) {
    for (std::size_t i = 0; i < m->items.size(); ++i) {
      const bool match = byPosition ? i == item : (m->items[i].id == item && !(m->items[i].type & MFT_SEPARATOR));
      if (match) {
        chosen = i;
        break;
      }
    }
    if (chosen == m->items.size()) return ItemNotFound();
  }
  for (std::size_t i = 0; i < m->items.size(); ++i) {
    UINT& state = m->items[i].state;
    state = i == chosen ? (state | MFS_DEFAULT) : (state & ~MFS_DEFAULT);
  }
  return TRUE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags) {
  std::lock_guard<std::mutex> guard(MenuLock());
  const Menu* m = FindMenuLocked(menu);
  if (!m) {
    BadMenu();
    return kNoItem;
  }
  for (std::size_t i = 0; i < m->items.size(); ++i) {
    const Item& item = m->items[i];
    if (!(item.state & MFS_DEFAULT)) continue;
    if ((item.state & (MF_GRAYED | MF_DISABLED)) && !(flags & GMDI_USEDISABLED)) return kNoItem;
    return byPosition ? static_cast<UINT>(i) : item.id;
  }
  return kNoItem;
}
