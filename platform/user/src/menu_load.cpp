// Menus from resources (LoadMenuW over the template reader), each window's menu bar and its
// system menu, destroyed with the window.
#include <mutex>
#include <unordered_map>

#include "errhandlingapi.h"
#include "menu_table.h"
#include "window.h"
#include "winresource.h"
#include "zx/restemplates.h"
#include "zx/windowstate.h"

namespace zx::user::menus {
namespace {

struct WindowMenus {
  std::unordered_map<HWND, HMENU> bars;
  std::unordered_map<HWND, HMENU> system;
};

// Under MenuLock().
WindowMenus& TheWindowMenus() {
  static WindowMenus* menus = [] {
    auto* m = new WindowMenus;
    AddDestroyObserver([m](HWND window) {
      std::lock_guard<std::mutex> guard(MenuLock());
      for (auto* map : {&m->bars, &m->system}) {
        const auto found = map->find(window);
        if (found == map->end()) continue;
        DestroyMenuLocked(found->second);
        map->erase(found);
      }
    });
    return m;
  }();
  return *menus;
}

void Fill(HMENU menu, const std::vector<res::MenuTemplateItem>& items) {
  Menu* m = FindMenuLocked(menu);
  for (const res::MenuTemplateItem& t : items) {
    Item item;
    item.state = t.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE);
    item.type = t.flags & (MF_MENUBARBREAK | MF_MENUBREAK | MF_RIGHTJUSTIFY | MF_OWNERDRAW);
    item.text = t.text;
    item.id = t.id;
    if (t.flags & MF_POPUP) {
      item.submenu = InsertMenuLocked(true);
      item.id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(item.submenu));
      Fill(item.submenu, t.items);
    } else if (t.id == 0 && t.text.empty()) {
      item.type |= MFT_SEPARATOR;
    }
    m->items.push_back(std::move(item));
  }
}

bool ValidWindow(HWND window) {
  std::lock_guard<std::mutex> guard(TableLock());
  return FindLocked(window) != nullptr;
}

DWORD StyleOf(HWND window) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  return w ? w->style : 0;
}

HMENU StandardSystemMenuLocked() {
  const HMENU menu = InsertMenuLocked(true);
  Menu* m = FindMenuLocked(menu);
  const struct {
    UINT id;
    const char16_t* text;
  } items[] = {{SC_RESTORE, u"&Restore"}, {SC_MOVE, u"&Move"},         {SC_SIZE, u"&Size"},
               {SC_MINIMIZE, u"Mi&nimize"}, {SC_MAXIMIZE, u"Ma&ximize"}, {0, nullptr},
               {SC_CLOSE, u"&Close\tAlt+F4"}};
  for (const auto& i : items) {
    Item item;
    if (i.text) {
      item.id = i.id;
      item.text = i.text;
    } else {
      item.type = MFT_SEPARATOR;
    }
    if (i.id == SC_CLOSE) item.state = MFS_DEFAULT;
    m->items.push_back(std::move(item));
  }
  return menu;
}

}  // namespace
}  // namespace zx::user::menus

using namespace zx::user::menus;

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name) {
  const HRSRC found = FindResourceW(instance, name, RT_MENU);
  if (!found) return nullptr;
  const void* bytes = LockResource(LoadResource(instance, found));
  const DWORD size = SizeofResource(instance, found);
  std::vector<zx::res::MenuTemplateItem> items;
  std::string error;
  if (!bytes || !zx::res::ReadMenuTemplate(bytes, size, items, error)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  std::lock_guard<std::mutex> guard(MenuLock());
  const HMENU menu = InsertMenuLocked(false);
  Fill(menu, items);
  return menu;
}

HMENU GetMenu(HWND window) {
  std::lock_guard<std::mutex> guard(MenuLock());
  const auto& bars = TheWindowMenus().bars;
  const auto found = bars.find(window);
  return found == bars.end() ? nullptr : found->second;
}

BOOL SetMenu(HWND window, HMENU menu) {
  if (!ValidWindow(window)) return zx::user::BadWindow();
  if (StyleOf(window) & WS_CHILD) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> guard(MenuLock());
  if (menu && !FindMenuLocked(menu)) return BadMenu();
  // The menu it had is the caller's again.
  if (menu)
    TheWindowMenus().bars[window] = menu;
  else
    TheWindowMenus().bars.erase(window);
  return TRUE;
}

BOOL DrawMenuBar(HWND window) { return ValidWindow(window) ? TRUE : zx::user::BadWindow(); }

HMENU GetSystemMenu(HWND window, BOOL revert) {
  if (!ValidWindow(window)) {
    zx::user::BadWindow();
    return nullptr;
  }
  const bool hasSystemMenu = (StyleOf(window) & WS_SYSMENU) != 0;
  std::lock_guard<std::mutex> guard(MenuLock());
  auto& system = TheWindowMenus().system;
  const auto found = system.find(window);
  if (revert) {
    if (found != system.end()) {
      DestroyMenuLocked(found->second);
      system.erase(found);
    }
    return nullptr;
  }
  if (found != system.end()) return found->second;
  if (!hasSystemMenu) return nullptr;
  const HMENU menu = StandardSystemMenuLocked();
  system[window] = menu;
  return menu;
}
