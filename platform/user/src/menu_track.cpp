// Popup menus tracked in their own modal loop: TrackPopupMenu(Ex), EndMenu, cascading
// submenus, the mouse (through capture) and the keys (arrows, Enter, Escape, mnemonics), and
// what tests read of the open menus (zx/menus.h).
#include <algorithm>
#include <cwctype>

#include "errhandlingapi.h"
#include "geometry.h"
#include "menu_popup.h"
#include "menu_table.h"
#include "processthreadsapi.h"
#include "window.h"
#include "wininput.h"
#include "zx/menus.h"

namespace zx::user::menus {
namespace {

constexpr LPCWSTR kMenuClass = u"#32768";
constexpr LONG kSubmenuOverlap = 3;

struct Level {
  HMENU menu = nullptr;
  HWND window = nullptr;
  PopupLayout layout;
  int selected = -1;
};

struct Tracking {
  HWND owner = nullptr;
  UINT flags = 0;
  std::vector<Level> levels;
  bool done = false;
  UINT chosen = 0;
  // Where the pointer stood as the menu opened, and whether a button went down since: the
  // release of the press that opened the menu, where it went down, chooses nothing.
  POINT openedAt{};
  bool pressed = false;
};

thread_local Tracking* t_tracking = nullptr;

Level* LevelOfWindow(HWND window) {
  if (!t_tracking) return nullptr;
  for (Level& level : t_tracking->levels)
    if (level.window == window) return &level;
  return nullptr;
}

LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (!dc) return 0;
      if (const Level* level = LevelOfWindow(window))
        PaintPopup(dc, level->menu, level->layout, level->selected, t_tracking->owner);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool RegisterMenuClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_SAVEBITS | CS_DROPSHADOW;
    wc.lpfnWndProc = MenuWindowProc;
    wc.lpszClassName = kMenuClass;
    return RegisterClassExW(&wc) != 0;
  }();
  return registered;
}

bool Notifies() { return !(t_tracking->flags & TPM_NONOTIFY); }

UINT ItemId(HMENU menu, int position) {
  std::lock_guard<std::mutex> guard(MenuLock());
  const Menu* m = FindMenuLocked(menu);
  if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return 0;
  return m->items[static_cast<std::size_t>(position)].id;
}

HMENU SubmenuAt(HMENU menu, int position) { return position < 0 ? nullptr : GetSubMenu(menu, position); }

// Where the popup goes: at the point as the alignment flags say, kept on the screen.
POINT PlaceTopLevel(POINT at, SIZE size, UINT flags) {
  if (flags & TPM_CENTERALIGN) at.x -= size.cx / 2;
  else if (flags & TPM_RIGHTALIGN) at.x -= size.cx;
  if (flags & TPM_VCENTERALIGN) at.y -= size.cy / 2;
  else if (flags & TPM_BOTTOMALIGN) at.y -= size.cy;
  const RECT screen = ScreenRect();
  at.x = std::clamp(at.x, screen.left, std::max(screen.left, screen.right - size.cx));
  at.y = std::clamp(at.y, screen.top, std::max(screen.top, screen.bottom - size.cy));
  return at;
}

// Opens a popup for `menu` at a screen point (a submenu of item `position` of its parent).
bool Open(HMENU menu, POINT at, int position, bool cascade) {
  Tracking& t = *t_tracking;
  if (Notifies())
    SendMessageW(t.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(position, FALSE));
  Level level;
  level.menu = menu;
  level.layout = MeasurePopup(menu, t.owner);
  const SIZE size = level.layout.size;
  if (cascade) {
    const RECT screen = ScreenRect();
    if (at.x + size.cx > screen.right) at.x -= size.cx;  // the caller passed the right edge
    at.y = std::clamp(at.y, screen.top, std::max(screen.top, screen.bottom - size.cy));
  } else {
    at = PlaceTopLevel(at, size, t.flags);
  }
  level.window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kMenuClass, u"",
                                 WS_POPUP, at.x, at.y, size.cx, size.cy, t.owner, nullptr, nullptr, nullptr);
  if (!level.window) return false;
  t.levels.push_back(level);
  ShowWindow(level.window, SW_SHOWNA);
  return true;
}

void CloseDeeperThan(std::size_t depth) {
  Tracking& t = *t_tracking;
  while (t.levels.size() > depth + 1) {
    const HWND window = t.levels.back().window;
    t.levels.pop_back();
    DestroyWindow(window);
  }
}

// Makes `position` the selection of level `depth`; with `open` (the pointer resting on it)
// its submenu opens too.
void Select(std::size_t depth, int position, bool open) {
  Tracking& t = *t_tracking;
  Level& level = t.levels[depth];
  const HMENU menu = level.menu;
  const HMENU submenu = SubmenuAt(menu, position);
  if (level.selected == position) {
    if (!open || t.levels.size() > depth + 1) return;
  } else {
    CloseDeeperThan(depth);
    level.selected = position;
    InvalidateRect(level.window, nullptr, FALSE);
    if (Notifies() && position >= 0) {
      const UINT state = GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & 0xFFFF;
      const UINT idOrPosition = submenu ? static_cast<UINT>(position) : ItemId(menu, position);
      SendMessageW(t.owner, WM_MENUSELECT, MAKEWPARAM(idOrPosition, state | (submenu ? MF_POPUP : 0u)),
                   reinterpret_cast<LPARAM>(menu));
    }
  }
  if (!open || !submenu || !Selectable(menu, position)) return;
  RECT item = t.levels[depth].layout.items[static_cast<std::size_t>(position)];
  RECT window{};
  GetWindowRect(t.levels[depth].window, &window);
  Open(submenu, POINT{window.right - kSubmenuOverlap, window.top + item.top - kSubmenuOverlap}, position, true);
}

// The next selectable item of a level after `from` (none: -1), going down or up and wrapping.
int Step(const Level& level, int from, bool down) {
  const int count = static_cast<int>(level.layout.items.size());
  int at = from < 0 ? (down ? -1 : count) : from;
  for (int n = 0; n < count; ++n) {
    at = ((down ? at + 1 : at - 1) + count) % count;
    if (Selectable(level.menu, at)) return at;
  }
  return -1;
}

// Chooses the item (or opens its submenu).
void Choose(std::size_t depth, int position) {
  Tracking& t = *t_tracking;
  if (!Selectable(t.levels[depth].menu, position)) return;
  if (SubmenuAt(t.levels[depth].menu, position)) {
    Select(depth, position, true);
    if (t.levels.size() > depth + 1) Select(depth + 1, Step(t.levels[depth + 1], -1, true), false);
    return;
  }
  t.chosen = ItemId(t.levels[depth].menu, position);
  t.done = true;
}

// The deepest level and item under a screen point; false when it is over no popup.
bool HitLevel(POINT screen, std::size_t* depth, int* position) {
  Tracking& t = *t_tracking;
  for (std::size_t d = t.levels.size(); d-- > 0;) {
    RECT r{};
    GetWindowRect(t.levels[d].window, &r);
    if (!PtInRect(&r, screen)) continue;
    *depth = d;
    *position = -1;
    const POINT local{screen.x - r.left, screen.y - r.top};
    const auto& items = t.levels[d].layout.items;
    for (std::size_t i = 0; i < items.size(); ++i)
      if (PtInRect(&items[i], local)) *position = static_cast<int>(i);
    return true;
  }
  return false;
}

void OnMouse(const MSG& msg) {
  Tracking& t = *t_tracking;
  POINT screen{static_cast<SHORT>(LOWORD(msg.lParam)), static_cast<SHORT>(HIWORD(msg.lParam))};
  if (msg.message != WM_MOUSEWHEEL) ClientToScreen(msg.hwnd, &screen);
  std::size_t depth = 0;
  int position = -1;
  const bool over = HitLevel(screen, &depth, &position);
  switch (msg.message) {
    case WM_MOUSEMOVE:
      if (over && position >= 0) Select(depth, position, true);
      break;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
      t.pressed = true;
      if (!over) t.done = true;
      else if (position >= 0) Select(depth, position, true);
      break;
    case WM_LBUTTONUP: case WM_RBUTTONUP:
      if (msg.message == WM_RBUTTONUP && !(t.flags & TPM_RIGHTBUTTON)) break;
      if (!t.pressed && screen.x == t.openedAt.x && screen.y == t.openedAt.y) break;
      if (over && position >= 0) Choose(depth, position);
      break;
    default:
      break;
  }
}

// The item whose mnemonic (the letter after '&') is the character, or -1.
int Mnemonic(HMENU menu, char16_t ch) {
  std::lock_guard<std::mutex> guard(MenuLock());
  const Menu* m = FindMenuLocked(menu);
  if (!m) return -1;
  const auto fold = [](char16_t c) { return static_cast<char16_t>(std::towlower(c)); };
  for (std::size_t i = 0; i < m->items.size(); ++i) {
    const std::u16string& text = m->items[i].text;
    const auto amp = text.find(u'&');
    if (amp != std::u16string::npos && amp + 1 < text.size() && fold(text[amp + 1]) == fold(ch))
      return static_cast<int>(i);
  }
  return -1;
}

void OnKey(const MSG& msg) {
  Tracking& t = *t_tracking;
  const std::size_t depth = t.levels.size() - 1;
  Level& level = t.levels[depth];
  if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
    const int found = Mnemonic(level.menu, static_cast<char16_t>(msg.wParam));
    if (found >= 0) Choose(depth, found);
    return;
  }
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return;
  switch (msg.wParam) {
    case VK_ESCAPE:
      if (depth == 0) t.done = true;
      else CloseDeeperThan(depth - 1);
      break;
    case VK_LEFT:
      if (depth > 0) CloseDeeperThan(depth - 1);
      break;
    case VK_UP: case VK_DOWN:
      Select(depth, Step(level, level.selected, msg.wParam == VK_DOWN), false);
      break;
    case VK_RIGHT:
      if (SubmenuAt(level.menu, level.selected)) Choose(depth, level.selected);
      break;
    case VK_RETURN:
      Choose(depth, level.selected);
      break;
    case VK_MENU: case VK_F10:
      t.done = true;
      break;
    default: {
      MSG copy = msg;
      TranslateMessage(&copy);
      break;
    }
  }
}

bool IsMouse(UINT message) {
  return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

bool IsKey(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

// The loop: until an item is chosen, the menu is dismissed, the owner goes or WM_QUIT.
void RunLoop() {
  Tracking& t = *t_tracking;
  MSG msg;
  while (!t.done && IsWindow(t.owner)) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK) {
      // The non-client forms carry screen points.
      POINT p{static_cast<SHORT>(LOWORD(msg.lParam)), static_cast<SHORT>(HIWORD(msg.lParam))};
      ScreenToClient(msg.hwnd, &p);
      msg.lParam = MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
      msg.message = msg.message - WM_NCMOUSEMOVE + WM_MOUSEMOVE;
    }
    if (IsMouse(msg.message)) OnMouse(msg);
    else if (IsKey(msg.message)) OnKey(msg);
    else DispatchMessageW(&msg);
  }
}

bool OwnedByCaller(HWND window) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  return w && w->threadId == GetCurrentThreadId();
}

}  // namespace
}  // namespace zx::user::menus

namespace zx::user {

HWND TrackedMenuWindow(int level) {
  using menus::t_tracking;
  if (!t_tracking || level < 0 || static_cast<std::size_t>(level) >= t_tracking->levels.size()) return nullptr;
  return t_tracking->levels[static_cast<std::size_t>(level)].window;
}

HMENU TrackedMenu(int level) {
  if (!TrackedMenuWindow(level)) return nullptr;
  return menus::t_tracking->levels[static_cast<std::size_t>(level)].menu;
}

bool TrackedMenuItemRect(UINT position, RECT* screen, int level) {
  const HWND window = TrackedMenuWindow(level);
  if (!window || !screen) return false;
  const auto& items = menus::t_tracking->levels[static_cast<std::size_t>(level)].layout.items;
  if (position >= items.size()) return false;
  RECT r{};
  GetWindowRect(window, &r);
  *screen = items[position];
  OffsetRect(screen, r.left, r.top);
  return true;
}

}  // namespace zx::user

using namespace zx::user::menus;

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS) {
  if (!IsMenu(menu)) return BadMenu();
  if (!OwnedByCaller(owner)) return zx::user::BadWindow();
  if (t_tracking && !(flags & TPM_RECURSE)) {
    SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
    return FALSE;
  }
  if (!RegisterMenuClass()) return FALSE;
  Tracking tracking;
  tracking.owner = owner;
  tracking.flags = flags;
  GetCursorPos(&tracking.openedAt);
  Tracking* const outer = t_tracking;
  t_tracking = &tracking;
  const bool notify = !(flags & TPM_NONOTIFY);
  if (notify) SendMessageW(owner, WM_ENTERMENULOOP, TRUE, 0);
  if (Open(menu, POINT{x, y}, 0, false)) {
    SetCapture(tracking.levels.front().window);
    RunLoop();
    if (GetCapture() == tracking.levels.front().window) ReleaseCapture();
    CloseDeeperThan(0);
    DestroyWindow(tracking.levels.front().window);
  }
  t_tracking = outer;
  if (notify && IsWindow(owner)) {
    SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(0, MENU_CLOSED_FLAGS), 0);
    SendMessageW(owner, WM_EXITMENULOOP, TRUE, 0);
  }
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(tracking.chosen);
  if (tracking.chosen) PostMessageW(owner, WM_COMMAND, MAKEWPARAM(tracking.chosen, 0), 0);
  return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
  if (!t_tracking) return TRUE;
  t_tracking->done = true;
  // Wakes the loop if it waits.
  PostMessageW(t_tracking->levels.empty() ? nullptr : t_tracking->levels.front().window, WM_NULL, 0, 0);
  return TRUE;
}
